#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include "auxiliares.h"
#include "printer/tfstatus.h"

class TFstatusTest : public Instalacao {};

TEST_F(TFstatusTest, SixteenPanelsInFourColumnsWithTheirCaptions) {
    criaJanelas();
    auto* s = UStatus::Fstatus;
    EXPECT_EQ(s->windowTitle(), QStringLiteral("Informações de Retorno da Impressora Fiscal - ACK - ST1 - ST2 - ST3"));
    EXPECT_EQ(s->size(), QSize(792, 102));
    EXPECT_FALSE(s->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(s->windowFlags() & Qt::WindowSystemMenuHint);
    const char* const legendas[] = {
        "Fim de Papel",        "Pouco Papel",           "Erro no Relógio",   "Ecf em Erro",
        "Comando sem ESC",     "Comando Inexistente",   "Cupom Aberto",      "Parâmetro Inválido",
        "Erro Tipo Parâmetro", "M.F. Lotada",           "Erro de CMOS",      "Alíquota Não Prog.",
        "Alíquota Esgotada",   "Cancel. não Permitido", "CNPJ/IE não Prog.", "Comando não Exec."};
    const int esquerdas[] = {3, 124, 245, 366};
    const int topos[] = {3, 28, 53, 78};
    for (int i = 0; i < 16; ++i) {
        QFrame* p = s->painel(i);
        EXPECT_EQ(p->geometry(), QRect(esquerdas[i / 4], topos[i % 4], 120, 22)) << p->objectName().toStdString();
        const auto* rotulo = p->findChild<QLabel*>();
        ASSERT_NE(rotulo, nullptr);
        EXPECT_EQ(rotulo->text(), QString::fromUtf8(legendas[i]));
        EXPECT_FALSE(TFstatus::painelAceso(p));
    }
    auto* memo = controle<QPlainTextEdit>(s, "MemoStatus");
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->geometry(), QRect(488, 3, 300, 97));
    EXPECT_TRUE(memo->toPlainText().isEmpty());
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(s->TimerMonitorGeral.interval(), 100);
    EXPECT_TRUE(s->TimerMonitorGeral.isActive());
}

TEST_F(TFstatusTest, FollowsTheMainWindowAtTheNextTick) {
    criaJanelas();
    uZentora3::Fprincipal->move(40, 30);
    UStatus::Fstatus->TimerMonitorGeralTimer();
    EXPECT_EQ(UStatus::Fstatus->pos(), QPoint(40, 30 + 479));
}

TEST_F(TFstatusTest, OwnsTheSharedFileDialogs) {
    criaJanelas();
    EXPECT_EQ(UStatus::Fstatus->JanelaSalvar.title, QStringLiteral("Arquivo de Configuração"));
    EXPECT_EQ(UStatus::Fstatus->JanelaSalvar.mode(), platform::dialogs::FileDialog::Mode::Save);
    EXPECT_EQ(UStatus::Fstatus->JanelaAbrir.mode(), platform::dialogs::FileDialog::Mode::Open);
}

TEST_F(TFstatusTest, StaysOpenWhenAskedToCloseOnItsOwn) {
    criaJanelas();
    auto* s = UStatus::Fstatus;
    ASSERT_TRUE(s->isVisible());
    EXPECT_FALSE(s->close());
    QCloseEvent pedido;  // as the window manager sends it
    QApplication::sendEvent(s, &pedido);
    EXPECT_FALSE(pedido.isAccepted());
    EXPECT_TRUE(s->isVisible());
}

TEST_F(TFstatusTest, LongMemoLinesWrapWithoutAHorizontalScrollBar) {
    criaJanelas();
    auto* memo = controle<QPlainTextEdit>(UStatus::Fstatus, "MemoStatus");
    ASSERT_NE(memo, nullptr);
    UStatus::Fstatus->acrescentaMemo({QStringLiteral("Retorno Extendido: ") +
                                      QStringLiteral("SEM RELATÓRIO GERENCIAL OU COMPROVANTE DE CRÉDITO OU DÉBITO "
                                                     "ABERTO E MAIS TEXTO ATÉ PASSAR DA LARGURA DO MEMO")});
    QApplication::processEvents();
    EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(memo->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(memo->document()->lastBlock().layout()->lineCount(), 1);
}
