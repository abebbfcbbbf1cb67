// The main window's information panel as the printer changes under it: a
// location that fails, a printer switched off during a reduction, documents
// printed, and the printer's clock passing midnight.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "app/relogio_ecf.h"
#include "auxiliares.h"
#include "core/sessao.h"
#include "kesafi_virtual.h"
#include "platform/clock.h"
#include "printer/tfstatus.h"
#include "printer/ustatus.h"
#include "reports/tfrelfiscais.h"

using platform::dialogs::Kind;

namespace {

// The printer's clock standing at a moment of `dia`.
void relogioECF(const QDate& dia, const QTime& hora) {
    ASSERT_EQ(
        KesafiVirtual_FixaRelogio((dia.toString(QStringLiteral("ddMMyyyy")) + hora.toString(QStringLiteral("HHmmss")))
                                      .toLatin1()
                                      .constData()),
        1);
}

class PainelTest : public Instalacao {
protected:
    template <class T>
    static T* relatorios(const char* nome) {
        return controle<T>(URelFiscais::FRelFiscais.get(), nome);
    }
    uZentora3::RelogioDoECF* relogio() const { return uZentora3::Fprincipal->relogioDoECF(); }
    QList<QPushButton*> funcoes() const {
        return {naPrincipal<QPushButton>("BtConfigFiscais"), naPrincipal<QPushButton>("BtRelatoriosFiscais"),
                naPrincipal<QPushButton>("BtComandosAdicionais"), naPrincipal<QPushButton>("BtDadosDaMFD")};
    }
    QList<QLabel*> valores() const {
        return {naPrincipal<QLabel>("LbNumeroSerie"), naPrincipal<QLabel>("LbVersao"),
                naPrincipal<QLabel>("LbZRestantes"),  naPrincipal<QLabel>("LbUltimoDocMFD"),
                naPrincipal<QLabel>("LbUltimaZ"),     naPrincipal<QLabel>("LbStatusVerao")};
    }
    QStringList textos() const {
        QStringList t;
        for (QLabel* l : valores()) t << l->text();
        return t;
    }
    // The printer located on USB, its first panel read done.
    void localiza() {
        naPrincipal<QToolButton>("BtLocalizarImpressora")->click();
        QApplication::processEvents();
        caixas();
    }
    // A day after the virtual printer's last reduction.
    static QDate dia() { return QDate::currentDate().addDays(1); }
};

}  // namespace

TEST_F(PainelTest, ALocationThatFailsAfterASuccessfulOneLeavesNothingOfThePrinterOnScreen) {
    criaImpressora(QStringLiteral("USB"));
    criaJanelas();
    localiza();
    ASSERT_TRUE(naPrincipal<QPushButton>("BtRelatoriosFiscais")->isEnabled());
    ASSERT_NE(naPrincipal<QLabel>("LbNumeroSerie")->text(), QStringLiteral("*"));

    KesafiVirtual_Conecta("");  // the printer taken away
    naPrincipal<QToolButton>("BtLocalizarImpressora")->click();
    const auto c = caixas();
    ASSERT_EQ(c.size(), 1u) << todas(c);
    EXPECT_EQ(c[0].title, QStringLiteral("RETORNO DO ECF"));
    EXPECT_EQ(naPrincipal<QToolButton>("BtLocalizarImpressora")->text(), QStringLiteral("Localizar Impressora"));
    EXPECT_TRUE(naPrincipal<QToolButton>("BtLocalizarImpressora")->icon().isNull());
    for (auto* b : funcoes()) EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_EQ(textos(), QStringList(6, QStringLiteral("*")));
    EXPECT_EQ(naPrincipal<QProgressBar>("GMfd")->value(), 0);
    EXPECT_EQ(naPrincipal<QProgressBar>("Gstatus")->value(), 0);
    EXPECT_EQ(naPrincipal<QLabel>("LbRelogioECF")->text(), QStringLiteral("*"));

    // Found again: everything back.
    KesafiVirtual_Conecta("USB");
    localiza();
    for (auto* b : funcoes()) EXPECT_TRUE(b->isEnabled());
    EXPECT_TRUE(naPrincipal<QToolButton>("BtLocalizarImpressora")
                    ->text()
                    .endsWith(QStringLiteral(" na USB - Localizar Novamente?")));
}

TEST_F(PainelTest, AReductionWithThePrinterSwitchedOffKeepsThePanelMarkedAsNotRefreshed) {
    criaImpressora(QStringLiteral("USB"));
    abrePorta(QStringLiteral("USB"));
    ASSERT_EQ(Kestrona_FI_ProgramaHorarioVerao(), 1);  // right after the last reduction
    Kestrona_FI_FechaPortaSerial();
    criaJanelas();
    localiza();
    const QStringList antes = textos();
    const int livre = naPrincipal<QProgressBar>("GMfd")->value();
    ASSERT_EQ(naPrincipal<QLabel>("LbStatusVerao")->text(), QStringLiteral("Ativo"));
    for (QLabel* l : valores()) ASSERT_TRUE(l->isEnabled());

    uZentora3::Fprincipal->BtRelatoriosFiscaisClick();
    relatorios<QCheckBox>("CbHabilitaZ")->click();
    caixas();
    KesafiVirtual_Liga(0);
    dialogos.yes();
    relatorios<QPushButton>("BtReducaoZ")->click();
    QApplication::processEvents();  // the panel's own read after the handler

    // The reduction's failure and one box for the reads that follow it.
    const auto c = caixas();
    int retornos = 0;
    for (const auto& caixa : c) retornos += caixa.title == QLatin1String("RETORNO DO ECF");
    EXPECT_EQ(retornos, 2) << todas(c);
    EXPECT_LE(c.size(), 4u) << todas(c);
    EXPECT_EQ(textos(), antes);
    EXPECT_EQ(naPrincipal<QProgressBar>("GMfd")->value(), livre);
    EXPECT_EQ(UStatus::sHorarioVerao, QStringLiteral("ATIVO"));
    for (QLabel* l : valores()) {
        EXPECT_FALSE(l->isEnabled()) << l->objectName().toStdString();
        EXPECT_FALSE(l->toolTip().isEmpty());
    }
    EXPECT_FALSE(naPrincipal<QProgressBar>("GMfd")->isEnabled());
    EXPECT_EQ(naPrincipal<QLabel>("LbRelogioECF")->text(), QStringLiteral("Sem Resposta"));

    // On again: the next reading refreshes and unmarks every value.
    KesafiVirtual_Liga(1);
    EXPECT_TRUE(uZentora3::LeInformacoesECF());
    for (QLabel* l : valores()) {
        EXPECT_TRUE(l->isEnabled()) << l->objectName().toStdString();
        EXPECT_TRUE(l->toolTip().isEmpty());
    }
    EXPECT_TRUE(naPrincipal<QProgressBar>("GMfd")->isEnabled());
}

TEST_F(PainelTest, ADocumentPrintedIsShownAsTheLastOneOnceTheHandlerIsDone) {
    criaImpressora(QStringLiteral("USB"));
    relogioECF(dia(), QTime(9, 0, 0));
    criaJanelas();
    localiza();
    const int restantes = chamadas("ReducoesRestantesMFD");
    const int livres = chamadas("PercentualLivreMFD");

    relogioECF(dia(), QTime(10, 20, 30));
    uZentora3::Fprincipal->BtRelatoriosFiscaisClick();
    relatorios<QRadioButton>("RbImprimirX")->setChecked(true);
    relatorios<QPushButton>("BtLeituraX")->click();
    const auto c = caixas();
    ASSERT_EQ(c.size(), 1u) << todas(c);  // the answer; the panel's reads show nothing
    EXPECT_NE(naPrincipal<QLabel>("LbUltimoDocMFD")->text().right(8),
              QStringLiteral("10:20:30"));  // not in the handler
    QApplication::processEvents();
    EXPECT_EQ(naPrincipal<QLabel>("LbUltimoDocMFD")->text(),
              dia().toString(QStringLiteral("dd/MM/yy")) + QStringLiteral(" - 10:20:30"));
    EXPECT_EQ(chamadas("ReducoesRestantesMFD"), restantes + 1);
    EXPECT_EQ(chamadas("PercentualLivreMFD"), livres + 1);
    EXPECT_TRUE(caixas().empty());
}

TEST_F(PainelTest, ThePrintersMidnightJudgesTheFiscalDayAgain) {
    criaImpressora(QStringLiteral("USB"));
    relogioECF(dia(), QTime(23, 59, 50));
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(1), 1);
    platform::clock::set(QDateTime(QDate::currentDate(), QTime(12, 0, 0)));
    criaJanelas();
    localiza();
    ASSERT_EQ(naPrincipal<QLabel>("LbDiaFiscal")->text(), QStringLiteral("Aberto"));

    // The clock ticks on screen: before midnight nothing is asked.
    const int antes = chamadas(nullptr);
    platform::clock::advance(9000);
    relogio()->TimerRelogioTimer();
    QApplication::processEvents();
    EXPECT_EQ(chamadas(nullptr), antes);

    // Past it, the day is read again: the day's sales wait for their reduction.
    relogioECF(dia().addDays(1), QTime(0, 0, 12));
    platform::clock::advance(13000);
    relogio()->TimerRelogioTimer();
    EXPECT_TRUE(relogio()->TimerLeitura.isActive());
    QApplication::processEvents();
    EXPECT_EQ(naPrincipal<QLabel>("LbDiaFiscal")->text(), QStringLiteral("Redução Z Pendente"));
    EXPECT_EQ(naPrincipal<QLabel>("LbRelogioECF")->text(),
              dia().addDays(1).toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" 00:00:12"));
    EXPECT_TRUE(caixas().empty());
}
