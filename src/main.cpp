#include <QApplication>

#include "app/tfprincipal.h"

int main(int argc, char* argv[]) {
    QApplication aplicacao(argc, argv);
    aplicacao.setApplicationName(QStringLiteral("Zentora 3.0"));
    uZentora3::Janelas janelas;
    uZentora3::Fprincipal->show();
    return aplicacao.exec();
}
