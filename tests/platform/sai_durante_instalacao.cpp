// Starts a program as the driver installation does, stops waiting for it at
// once and ends, as the program does when it is closed during an
// installation.  Arguments: the program, then its arguments.
#include <QCoreApplication>
#include <QStringList>

#include "platform/shell.h"

int main(int argc, char** argv) {
    QCoreApplication aplicacao(argc, argv);
    const QStringList argumentos = aplicacao.arguments();
    if (argumentos.size() < 2) return 2;
    const auto espera = platform::shell::runAndWait(argumentos.at(1), argumentos.mid(2), 0);
    return espera == platform::shell::Wait::TimedOut ? 0 : 1;
}
