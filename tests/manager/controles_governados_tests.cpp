// Every function the command manager offers is a control of one of the
// program's windows: a name missing here is a function the manager cannot
// take away from the users.
#include <QApplication>
#include <QStringList>

#include "core/disponibilidade.h"
#include "instalacao.h"
#include "janelas.h"

using namespace UGerenciador;

namespace {

class ControlesGovernados : public Instalacao {};

TEST_F(ControlesGovernados, TodosOs33ControlesExistemNasSuasJanelas) {
    criaJanelas();
    QStringList faltando;
    for (const Funcao& funcao : Funcoes()) {
        QWidget* janela = janelaDoPrograma(funcao.janela);
        if (!janela || QLatin1String(janela->metaObject()->className()) != QLatin1String(NomeDaJanela(funcao.janela)) ||
            !janela->findChild<QWidget*>(QLatin1String(funcao.controle)))
            faltando << QStringLiteral("%1 %2.%3")
                            .arg(funcao.posicao)
                            .arg(QLatin1String(NomeDaJanela(funcao.janela)), QLatin1String(funcao.controle));
    }
    EXPECT_TRUE(faltando.isEmpty()) << "missing: " << faltando.join(QStringLiteral(", ")).toStdString();
}

}  // namespace
