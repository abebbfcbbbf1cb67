// Every window of the program as a screen reader finds it: a name for every
// control, the status lights' state, the gauges' values, captions with
// carriage returns read as lines.
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "../reports/impressao.h"
#include "app/tfprincipal.h"
#include "auxiliares.h"
#include "bobina/tfbobina.h"
#include "commands/tfcomandosadicionais.h"
#include "core/datahora.h"
#include "fiscalconfig/tfconfigecf.h"
#include "instalacao.h"
#include "kesafi32.h"
#include "kesafi_virtual.h"
#include "leitor.h"
#include "manager/tfgerenciador.h"
#include "memory/tfdadosmfemfd.h"
#include "printer/editdata.h"
#include "printer/tfstatus.h"
#include "printer/ustatus.h"
#include "reports/tfrelfiscais.h"
#include "settings/tfconfiggeral.h"

namespace {

class Acessibilidade : public Instalacao {
protected:
    void SetUp() override {
        Instalacao::SetUp();
        if (HasFatalFailure()) return;
        criaImpressora();
        if (HasFatalFailure()) return;
        criaJanelas();
        leitor_ = std::make_unique<LeitorDeTela>();
    }
    void TearDown() override {
        leitor_.reset();
        Instalacao::TearDown();
    }

    void localiza() {
        uZentora3::Fprincipal->BtLocalizarImpressoraClick();
        UStatus::Fstatus->TimerMonitorGeralTimer();  // the counters of the fiscal configuration
        caixas();
    }

    QStringList semNome() {
        QStringList faltas;
        for (QWidget* janela : janelasDoPrograma()) faltas << controlesSemNome(janela);
        return faltas;
    }

private:
    std::unique_ptr<LeitorDeTela> leitor_;
};

TEST_F(Acessibilidade, TodoControleDeTodaJanelaTemNome) {
    // The eight windows, and the calendars of the date edits, after the
    // status window's first tick (until then the character counters of the
    // fiscal configuration, never shown so early, read their own names).
    const std::initializer_list<QWidget*> oito = {uZentora3::Fprincipal,
                                                  UConfig::FConfigGeral.get(),
                                                  UConfigFiscais::FConfigECF.get(),
                                                  UStatus::Fstatus,
                                                  URelFiscais::FRelFiscais.get(),
                                                  uComandosAdicionais::FComandosAdicionais.get(),
                                                  uDadosMFeMFD::FDadosMFeMFD.get(),
                                                  UGerenciador::FGerenciador};
    UStatus::Fstatus->TimerMonitorGeralTimer();
    const QList<QWidget*> janelas = janelasDoPrograma();
    for (QWidget* janela : oito) EXPECT_TRUE(janelas.contains(janela)) << janela->metaObject()->className();
    EXPECT_EQ(semNome(), QStringList());

    // Located, with every function window opened over the main window.
    localiza();
    auto* principal = uZentora3::Fprincipal;
    principal->BtConfigFiscaisClick();
    principal->BtRelatoriosFiscaisClick();
    principal->BtComandosAdicionaisClick();
    principal->BtDadosDaMFDClick();
    principal->BtConfigClick();
    principal->BtBobinaClick();  // the tape view, made when first opened
    ASSERT_NE(principal->bobina(), nullptr);
    EXPECT_TRUE(janelasDoPrograma().contains(principal->bobina()));
    QApplication::processEvents();
    EXPECT_EQ(semNome(), QStringList());
}

TEST_F(Acessibilidade, ControlesSemLegendaTemNomeDoRotuloAoLadoOuDoPapel) {
    TFRelFiscais* relatorios = URelFiscais::FRelFiscais.get();
    EXPECT_EQ(nome(controle<QPlainTextEdit>(relatorios, "MemoRelFiscal")), QStringLiteral("Texto do Relatório"));
    EXPECT_EQ(nome(controle<EditData>(relatorios, "EdMfDataInicial")), QStringLiteral("Data Inicial"));
    EXPECT_EQ(nome(controle<QRadioButton>(relatorios, "RbMfPorZ")), QStringLiteral("Por Redução"));
    EXPECT_EQ(nome(controle<QCheckBox>(relatorios, "CbHabilitaZ")),
              QStringLiteral("Habilitar o Botão Emitir Redução Z"));
    // The drop-down button of a date edit shows only its arrow.
    auto* dataFinal = controle<EditData>(relatorios, "EdMfDataFinal");
    ASSERT_NE(dataFinal, nullptr);
    const auto botoes = dataFinal->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(botoes.size(), 1);
    EXPECT_EQ(nome(botoes[0]), QStringLiteral("Calendário"));
    EXPECT_EQ(nome(controle<QPlainTextEdit>(UStatus::Fstatus, "MemoStatus")),
              QStringLiteral("Registro de Comandos e Retornos"));
    // An edit takes the label beside it.
    TFConfigECF* configuracao = UConfigFiscais::FConfigECF.get();
    EXPECT_EQ(nome(controle<QLineEdit>(configuracao, "EdFormaPagamento")),
              QStringLiteral("Descrição da Forma de Pagamento"));
    EXPECT_EQ(nome(controle<QTableWidget>(configuracao, "SgAliquotas")),
              QStringLiteral("Alíquotas do Arquivo de Cadastro"));
    EXPECT_EQ(nome(UConfig::FConfigGeral.get()->findChild<QLabel*>(QStringLiteral("ImgAcryl"))),
              QStringLiteral("Interface Acryl"));
}

TEST_F(Acessibilidade, LegendasComRetornoDeCarroSaoLidasComoLinhasEAcompanhamALegenda) {
    TFRelFiscais* janela = URelFiscais::FRelFiscais.get();
    EXPECT_EQ(nome(controle<QLabel>(janela, "LbMsgZ")),
              QStringLiteral("Marque a Caixa e Leia\no Texto Antes de\nHabilitar o Botão"));
    EXPECT_EQ(nome(controle<QLabel>(janela, "LbInfo30Dias")), QStringLiteral("Todas as Reduções\ndos Últimos 30 Dias"));

    // The countdown of a daylight-saving exit writes the Reduction Z
    // button's caption every second; the reader follows it.
    uZentora3::Fprincipal->BtRelatoriosFiscaisClick();
    esperaDoVerao(uComandosAdicionais::momento(QDate(2012, 2, 3), QTime(10, 40, 0)),
                  uComandosAdicionais::momento(QDate(2012, 2, 3), QTime(11, 15, 0)));
    tiqueDoVerao();
    QApplication::processEvents();
    auto* z = controle<QPushButton>(janela, "BtReducaoZ");
    ASSERT_NE(z, nullptr);
    EXPECT_EQ(nome(z), QStringLiteral("Aguarde !!! Hora do ECF  : 10:40:01\nComando Será Enviado as : 11:15:00"));
    tiqueDoVerao();
    QApplication::processEvents();
    EXPECT_EQ(nome(z), QStringLiteral("Aguarde !!! Hora do ECF  : 10:40:02\nComando Será Enviado as : 11:15:00"));

    // Back to a one-line caption, the name is the caption again, also when
    // the change happened while the window was hidden.
    janela->hide();
    z->setText(QStringLiteral("Emitir Redução Z"));
    uZentora3::Fprincipal->BtRelatoriosFiscaisClick();
    EXPECT_EQ(nome(z), QStringLiteral("Emitir Redução Z"));
    z->setText(QStringLiteral("Outra Legenda"));
    EXPECT_EQ(nome(z), QStringLiteral("Outra Legenda"));
}

TEST_F(Acessibilidade, LuzesDoStatusDizemSeEstaoAcesasAcompanhandoCadaRetorno) {
    localiza();
    TFstatus* status = UStatus::Fstatus;
    auto estados = [status] {
        QStringList acesas;
        for (int i = 0; i < 16; ++i) {
            QFrame* luz = status->painel(i);
            const QString d = descricao(luz);
            EXPECT_EQ(d, TFstatus::painelAceso(luz) ? QStringLiteral("Aceso") : QStringLiteral("Apagado"))
                << luz->objectName().toStdString();
            EXPECT_EQ(descricao(luz->findChild<QLabel*>()), d) << luz->objectName().toStdString();
            if (d == QStringLiteral("Aceso")) acesas << nome(luz);
        }
        return acesas;
    };
    EXPECT_EQ(estados(), QStringList());

    // Out of paper (ST1 128) and a command not executed (ST2 1).
    KesafiVirtual_ForcaResposta(-27, KESAFI_ACK, 128, 1, 0);
    uZentora3::Fprincipal->BtRelatoriosFiscaisClick();
    URelFiscais::FRelFiscais.get()->BtLeituraXClick();
    EXPECT_EQ(estados(), (QStringList{QStringLiteral("Fim de Papel"), QStringLiteral("Comando não Exec.")}));

    URelFiscais::FRelFiscais.get()->BtLeituraXClick();
    EXPECT_EQ(estados(), QStringList());
}

TEST_F(Acessibilidade, MedidoresDaoSeuNomeESeuValor) {
    QProgressBar* mfd = naPrincipal<QProgressBar>("GMfd");
    QProgressBar* progresso = naPrincipal<QProgressBar>("Gstatus");
    ASSERT_TRUE(mfd && progresso);
    EXPECT_EQ(nome(mfd), QStringLiteral("MFD Livre"));
    EXPECT_EQ(nome(progresso), QStringLiteral("Progresso da Localização"));
    auto valor = [](QProgressBar* medidor) {
        QAccessibleValueInterface* v = QAccessible::queryAccessibleInterface(medidor)->valueInterface();
        return v ? std::pair(v->currentValue().toInt(), v->maximumValue().toInt()) : std::pair(-1, -1);
    };
    // The location's progress, full while its box is open.
    std::pair<int, int> localizando;
    dialogos.whileOpen([&](const platform::dialogs::Record&) { localizando = valor(progresso); });
    localiza();
    EXPECT_EQ(localizando, std::pair(10, 10));
    EXPECT_EQ(valor(mfd), std::pair(99, 100));
}

}  // namespace
