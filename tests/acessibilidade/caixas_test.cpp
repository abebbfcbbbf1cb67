// The program's message and password boxes, really shown, as a screen reader
// reads them: the title, the text with its line breaks, what the icon means,
// a name for every control.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "../reports/impressao.h"
#include "leitor.h"
#include "platform/accessibility.h"
#include "platform/dialogs.h"

namespace {

struct Lida {
    QString nome;
    QString descricao;
    QStringList faltas;
    QStringList rotulos;  // the names of its labels and pictures
    QString campo;        // the name of its edit, if any
};

// Reads the box that `abre` shows, then closes it with Escape.
Lida leCaixa(const std::function<void()>& abre) {
    platform::dialogs::Unscripted real;  // the boxes themselves, as a person sees them
    platform::accessibility::install();
    LeitorDeTela leitor;
    Lida lida;
    QTimer::singleShot(0, [&lida] {
        QWidget* caixa = QApplication::activeModalWidget();
        if (!caixa) {
            ADD_FAILURE() << "no box open";
            return;
        }
        lida.nome = nome(caixa);
        lida.descricao = descricao(caixa);
        lida.faltas = controlesSemNome(caixa);
        for (QLabel* rotulo : caixa->findChildren<QLabel*>())
            if (rotulo->isVisible()) lida.rotulos << nome(rotulo);
        if (auto* campo = caixa->findChild<QLineEdit*>()) lida.campo = nome(campo);
        caixa->close();
    });
    abre();
    return lida;
}

TEST(CaixasLidas, MensagemDizTituloTextoEmLinhasEIcone) {
    const Lida informacao = leCaixa([] {
        platform::dialogs::information(QStringLiteral("REDUÇÃO"),
                                       QStringLiteral("Primeira Linha\rSegunda Linha\r\nTerceira"));
    });
    EXPECT_EQ(informacao.nome, QStringLiteral("REDUÇÃO"));
    EXPECT_EQ(informacao.descricao, QStringLiteral("Primeira Linha\nSegunda Linha\nTerceira"));
    EXPECT_TRUE(informacao.rotulos.contains(QStringLiteral("Informação")))
        << informacao.rotulos.join('|').toStdString();
    EXPECT_TRUE(informacao.rotulos.contains(QStringLiteral("Primeira Linha\nSegunda Linha\nTerceira")));
    EXPECT_EQ(informacao.faltas, QStringList());

    const Lida pergunta = leCaixa([] {
        EXPECT_FALSE(platform::dialogs::question(QStringLiteral("CONFIGURAÇÃO"), QStringLiteral("Deseja?"),
                                                 platform::dialogs::Default::Yes));
    });
    EXPECT_TRUE(pergunta.rotulos.contains(QStringLiteral("Pergunta")));
    EXPECT_EQ(pergunta.faltas, QStringList());

    const Lida simples = leCaixa([] { platform::dialogs::plain(QStringLiteral("Comando Cancelado")); });
    EXPECT_EQ(simples.nome, platform::dialogs::applicationTitle());
    EXPECT_EQ(simples.descricao, QStringLiteral("Comando Cancelado"));
    EXPECT_EQ(simples.faltas, QStringList());
}

TEST(CaixasLidas, CampoDaSenhaTemONomeDoPedido) {
    const Lida senha = leCaixa(
        [] { platform::dialogs::password(QStringLiteral("GERENCIADOR"), QStringLiteral("Digite a Senha de Acesso")); });
    EXPECT_EQ(senha.nome, QStringLiteral("GERENCIADOR"));
    EXPECT_EQ(senha.campo, QStringLiteral("Digite a Senha de Acesso"));
    EXPECT_EQ(senha.faltas, QStringList());
}

}  // namespace
