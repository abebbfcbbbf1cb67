#include <QApplication>

#include "app/tfprincipal.h"
#include "platform/language.h"

int main(int argc, char* argv[]) {
    QApplication aplicacao(argc, argv);
    aplicacao.setApplicationName(QStringLiteral("Zentora 3.0"));
    platform::language::install();
    uZentora3::Janelas janelas;
    uZentora3::Fprincipal->show();
    return aplicacao.exec();
}
