#include <QCoreApplication>

#include <QLocale>
#include "cli/comandos.h"

int main(int argc, char* argv[]) {
    QCoreApplication aplicacao(argc, argv);
    aplicacao.setApplicationName(QStringLiteral("zentora-cli"));
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    const QStringList argumentos = aplicacao.arguments().mid(1);
    const cli::Resultado resultado = cli::executa(argumentos);
    cli::imprime(resultado, argumentos.contains(QStringLiteral("--json")));
    return resultado.codigo;
}
