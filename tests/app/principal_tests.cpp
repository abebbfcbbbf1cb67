#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include "auxiliares.h"
#include "core/sessao.h"
#include "fiscalconfig/tfconfigecf.h"
#include "instalacao.h"
#include "kesafi32.h"
#include "memory/tfdadosmfemfd.h"
#include "printer/buffer.h"
#include "printer/tfstatus.h"
#include "printer/ustatus.h"
#include "reports/tfrelfiscais.h"
#include "settings/tfconfiggeral.h"
#include "usuario_comum.h"

using platform::dialogs::Kind;

class TFprincipalTest : public Instalacao {
protected:
    template <class T>
    static T* configuracao(const char* nome) {
        return controle<T>(UConfig::FConfigGeral.get(), nome);
    }
};

TEST_F(TFprincipalTest, AFileWithoutTheProgramsSectionGetsEveryDefault) {
    gravaIni(QStringLiteral("Sistema"), QStringLiteral("Porta"), QStringLiteral("USB"));
    criaJanelas();
    EXPECT_EQ(leIni(QStringLiteral("Zentora3"), QStringLiteral("Interface")), QStringLiteral("Aluminium"));
    EXPECT_EQ(leIni(QStringLiteral("Zentora3"), QStringLiteral("Cadastro")), pasta() + QStringLiteral("Cadastro"));
    EXPECT_EQ(leIni(QStringLiteral("Zentora3"), QStringLiteral("AbreTXT")), QStringLiteral("Notepad"));
    EXPECT_EQ(leIni(QStringLiteral("Zentora3"), QStringLiteral("EnviaComandoOFFline")), QStringLiteral("Nao"));
    EXPECT_EQ(leIni(QStringLiteral("Zentora3"), QStringLiteral("TrataOFFLine")), QStringLiteral("Nao"));
    EXPECT_EQ(leIni(QStringLiteral("Sistema"), QStringLiteral("Porta")), QStringLiteral("USB"));
    EXPECT_EQ(UStatus::sPastaBase, pasta());
    EXPECT_EQ(UStatus::sPastaCadastro, pasta() + QStringLiteral("Cadastro"));
    EXPECT_EQ(UStatus::sInterface, QStringLiteral("Aluminium"));
    EXPECT_TRUE(configuracao<QRadioButton>("RbTXTNotepad")->isChecked());
    EXPECT_TRUE(configuracao<QRadioButton>("RbDesabilitaOFFLine")->isChecked());
    EXPECT_FALSE(configuracao<QRadioButton>("RbDesabilitaOFFLine")->isEnabled());
    EXPECT_EQ(UStatus::sChaveAssinatura1.size(), 256);
    EXPECT_EQ(UStatus::sChaveAssinatura2.size(), 256);
    EXPECT_TRUE(caixas().empty());
}

TEST_F(TFprincipalTest, TheLibrarysKeysAreForcedAtEveryStart) {
    for (const char* chave : {"Retorno", "Log", "LogDiario", "Status", "ControlePorta"})
        gravaIni(QStringLiteral("Sistema"), QString::fromLatin1(chave), QStringLiteral("1"));
    gravaIni(QStringLiteral("Sistema"), QStringLiteral("Path"), QStringLiteral("C:\\outra\\"));
    gravaIni(QStringLiteral("MFD"), QStringLiteral("Impressora"), QStringLiteral("7"));
    gravaIni(QStringLiteral("Zentora3"), QStringLiteral("Status"), QStringLiteral("0101"));
    gravaIni(QStringLiteral("Virtual"), QStringLiteral("Outra"), QStringLiteral("fica"));
    criaJanelas();
    for (const char* chave : {"Retorno", "Log", "LogDiario", "Status", "ControlePorta"})
        EXPECT_EQ(leIni(QStringLiteral("Sistema"), QString::fromLatin1(chave)), QStringLiteral("0")) << chave;
    EXPECT_EQ(leIni(QStringLiteral("Sistema"), QStringLiteral("Path")), pasta());
    EXPECT_EQ(leIni(QStringLiteral("MFD"), QStringLiteral("Impressora")), QStringLiteral("1"));
    // The same key name in the program's section keeps its own meaning, and
    // keys the program never names stay as they were.
    EXPECT_EQ(leIni(QStringLiteral("Zentora3"), QStringLiteral("Status")), QStringLiteral("0101"));
    EXPECT_EQ(leIni(QStringLiteral("Virtual"), QStringLiteral("Outra")), QStringLiteral("fica"));
}

TEST_F(TFprincipalTest, AnEmptyValueIsTreatedAsAbsent) {
    gravaIni(QStringLiteral("Zentora3"), QStringLiteral("AbreTXT"), QString());
    gravaIni(QStringLiteral("Zentora3"), QStringLiteral("Interface"), QString());
    criaJanelas();
    EXPECT_EQ(leIni(QStringLiteral("Zentora3"), QStringLiteral("AbreTXT")), QStringLiteral("Notepad"));
    EXPECT_EQ(leIni(QStringLiteral("Zentora3"), QStringLiteral("Interface")), QStringLiteral("Aluminium"));
}

TEST_F(TFprincipalTest, SettingsAreComparedExactly) {
    gravaIni(QStringLiteral("Zentora3"), QStringLiteral("AbreTXT"), QStringLiteral("notepad"));
    gravaIni(QStringLiteral("Zentora3"), QStringLiteral("TrataOFFLine"), QStringLiteral("sim"));
    criaJanelas();
    EXPECT_TRUE(configuracao<QRadioButton>("RbTXTWordpad")->isChecked());
    EXPECT_EQ(leIni(QStringLiteral("Zentora3"), QStringLiteral("AbreTXT")), QStringLiteral("Wordpad"));
    EXPECT_EQ(UStatus::sAbreTXT, QStringLiteral("Wordpad"));
    EXPECT_TRUE(configuracao<QRadioButton>("RbDesabilitaOFFLine")->isChecked());
    EXPECT_EQ(leIni(QStringLiteral("Zentora3"), QStringLiteral("TrataOFFLine")), QStringLiteral("Nao"));
}

TEST_F(TFprincipalTest, KeysDifferingOnlyInCaseAreOneKey) {
    // The settings window writes EnviaComandoOFFLine; the start reads EnviaComandoOFFline.
    gravaIni(QStringLiteral("Zentora3"), QStringLiteral("EnviaComandoOFFLine"), QStringLiteral("Sim"));
    gravaIni(QStringLiteral("Zentora3"), QStringLiteral("TrataOFFLine"), QStringLiteral("Sim"));
    criaJanelas();
    EXPECT_EQ(UStatus::sEnviaComandoOFFline, QStringLiteral("Sim"));
    EXPECT_TRUE(configuracao<QCheckBox>("CbAutorizaComandoOFFLine")->isChecked());
    EXPECT_TRUE(configuracao<QRadioButton>("RbHabilitaOFFLine")->isEnabled());
    EXPECT_TRUE(configuracao<QRadioButton>("RbHabilitaOFFLine")->isChecked());
}

TEST_F(TFprincipalTest, ShowsEveryCaptionAndTheInitialState) {
    criaImpressora();
    criaJanelas();
    auto* p = uZentora3::Fprincipal;
    EXPECT_EQ(p->windowTitle(), QStringLiteral("Zentora 3.0 - Impressoras Fiscais Kestrona - Exclusivo Para Térmicas") +
                                    QString(44, QLatin1Char(' ')) + QStringLiteral("Help/Ajuda = F1"));
    EXPECT_EQ(p->size(), QSize(792, 450));
    EXPECT_EQ(p->minimumSize(), p->maximumSize());
    const std::pair<QAbstractButton*, const char*> botoes[] = {
        {naPrincipal<QPushButton>("BtInstalaUSB"), "Instalar Driver USB"},
        {naPrincipal<QPushButton>("BtConfig"), "Configuração do Zentora"},
        {naPrincipal<QPushButton>("BtAdm"), "Gerenciador de Comandos"},
        {naPrincipal<QPushButton>("BtSair"), "Finalizar Programa"},
        {naPrincipal<QPushButton>("BtConfigFiscais"), "Configurações do ECF"},
        {naPrincipal<QPushButton>("BtRelatoriosFiscais"), "Relatórios Fiscais"},
        {naPrincipal<QPushButton>("BtComandosAdicionais"), "Comandos Adicionais"},
        {naPrincipal<QPushButton>("BtDadosDaMFD"), "MF - MFD e Informações do ECF"},
        {naPrincipal<QToolButton>("BtLocalizarImpressora"), "Localizar Impressora"}};
    for (const auto& [botao, legenda] : botoes) EXPECT_EQ(botao->text(), QString::fromUtf8(legenda));
    for (auto* b : {naPrincipal<QPushButton>("BtConfigFiscais"), naPrincipal<QPushButton>("BtRelatoriosFiscais"),
                    naPrincipal<QPushButton>("BtComandosAdicionais"), naPrincipal<QPushButton>("BtDadosDaMFD")})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_TRUE(naPrincipal<QPushButton>("BtInstalaUSB")->isEnabled());
    const std::pair<QLabel*, const char*> rotulos[] = {{naPrincipal<QLabel>("LbInfo1"), "Número de Série"},
                                                       {naPrincipal<QLabel>("LbInfo2"), "Versão Atual"},
                                                       {naPrincipal<QLabel>("LbInfo3"), "Reduções Restantes"},
                                                       {naPrincipal<QLabel>("LbInfo4"), "Último Doc. na MFD"},
                                                       {naPrincipal<QLabel>("LbInfo5"), "Última Redução"},
                                                       {naPrincipal<QLabel>("LbInfo6"), "Horário de Verão"},
                                                       {naPrincipal<QLabel>("LbInfo7"), "Versão da Kesafi32.dll"},
                                                       {naPrincipal<QLabel>("LbInfo8"), "MFD Livre"}};
    for (const auto& [rotulo, legenda] : rotulos) EXPECT_EQ(rotulo->text(), QString::fromUtf8(legenda));
    for (auto* valor : {naPrincipal<QLabel>("LbNumeroSerie"), naPrincipal<QLabel>("LbVersao"),
                        naPrincipal<QLabel>("LbZRestantes"), naPrincipal<QLabel>("LbUltimoDocMFD"),
                        naPrincipal<QLabel>("LbUltimaZ"), naPrincipal<QLabel>("LbStatusVerao")})
        EXPECT_EQ(valor->text(), QStringLiteral("*"));
    EXPECT_EQ(naPrincipal<QProgressBar>("Gstatus")->maximum(), 10);
    EXPECT_EQ(naPrincipal<QProgressBar>("Gstatus")->value(), 0);
    EXPECT_EQ(naPrincipal<QProgressBar>("GMfd")->maximum(), 100);
    // The library's version as its buffer came back, at its full width.
    EXPECT_EQ(uZentora3::sVersaoDll.size(), KESAFI_LARGURA_VERSAO_DLL);
    EXPECT_EQ(naPrincipal<QLabel>("LbVersaoDll")->text().size(), KESAFI_LARGURA_VERSAO_DLL);
    EXPECT_NE(naPrincipal<QLabel>("LbVersaoDll")->text(), QString(KESAFI_LARGURA_VERSAO_DLL, QLatin1Char(' ')));
}

TEST_F(TFprincipalTest, TheStatusStripSitsUnderTheMainWindow) {
    criaJanelas();
    EXPECT_TRUE(UStatus::Fstatus->isVisible());
    // Placed before it is shown; the monitor's tick keeps it there for good.
    UStatus::Fstatus->TimerMonitorGeralTimer();
    EXPECT_EQ(UStatus::Fstatus->pos(), uZentora3::Fprincipal->pos() + QPoint(0, 479));
}

// The program ends when asked, in the real event loop: "Finalizar Programa"
// and a close of the main window from the window system both leave exec()
// with 0, take the status strip along and give the port back.
TEST_F(TFprincipalTest, FinishingOrClosingTheMainWindowEndsTheEventLoop) {
    criaImpressora();
    for (bool pelaJanela : {false, true}) {
        SCOPED_TRACE(pelaJanela ? "window closed" : "Finalizar Programa");
        criaJanelas();
        uZentora3::Fprincipal->BtLocalizarImpressoraClick();
        caixas();
        ASSERT_TRUE(UStatus::Fstatus->isVisible());
        const int fechamentos = chamadas("FechaPortaSerial");
        QTimer::singleShot(0, uZentora3::Fprincipal, [pelaJanela] {
            if (pelaJanela) {
                QCloseEvent fecha;
                QCoreApplication::sendEvent(uZentora3::Fprincipal->windowHandle(), &fecha);
            } else {
                QTest::mouseClick(naPrincipal<QPushButton>("BtSair"), Qt::LeftButton);
            }
        });
        // A program that does not end is stopped here with another code.
        QTimer guarda;
        guarda.setSingleShot(true);
        QObject::connect(&guarda, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        guarda.start(5000);
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_FALSE(uZentora3::Fprincipal->isVisible());
        EXPECT_FALSE(UStatus::Fstatus->isVisible());
        EXPECT_EQ(chamadas("FechaPortaSerial"), fechamentos + 1);
        QByteArray cupom = printer::bufferEmBranco(KESAFI_LARGURA_COO);
        EXPECT_EQ(Kestrona_FI_NumeroCupom(cupom.data()), -5);
        EXPECT_TRUE(caixas().empty());
    }
}

TEST_F(TFprincipalTest, TheChosenSkinStylesTheWholeProgram) {
    gravaIni(QStringLiteral("Zentora3"), QStringLiteral("Interface"), QStringLiteral("Aluminium"));
    criaJanelas();
    QFile skin(arquivo(QStringLiteral("Skins/Aluminium.qss")));
    ASSERT_TRUE(skin.open(QIODevice::ReadOnly));
    EXPECT_EQ(qApp->styleSheet(), QString::fromUtf8(skin.readAll()));
}

TEST_F(TFprincipalTest, AnUnknownSkinNameFallsBackToTheDefaultAndIsWrittenBack) {
    QFile skin(arquivo(QStringLiteral("Skins/Aluminium.qss")));
    ASSERT_TRUE(skin.open(QIODevice::ReadOnly));
    const QString aluminium = QString::fromUtf8(skin.readAll());
    // Names are compared exactly: another letter case is no skin either.
    for (const char* nome : {"NaoExiste", "darkglass"}) {
        SCOPED_TRACE(nome);
        gravaIni(QStringLiteral("Zentora3"), QStringLiteral("Interface"), QString::fromLatin1(nome));
        criaJanelas();
        EXPECT_EQ(leIni(QStringLiteral("Zentora3"), QStringLiteral("Interface")), QStringLiteral("Aluminium"));
        EXPECT_EQ(UStatus::sInterface, QStringLiteral("Aluminium"));
        EXPECT_EQ(qApp->styleSheet(), aluminium);
        EXPECT_TRUE(caixas().empty());
    }
}

TEST_F(TFprincipalTest, ASkinWhoseFileIsMissingLeavesThePlainStyleQuietly) {
    ASSERT_TRUE(QFile::remove(arquivo(QStringLiteral("Skins/Web2.qss"))));
    gravaIni(QStringLiteral("Zentora3"), QStringLiteral("Interface"), QStringLiteral("Web2"));
    criaJanelas();
    EXPECT_EQ(qApp->styleSheet(), QString());
    EXPECT_EQ(leIni(QStringLiteral("Zentora3"), QStringLiteral("Interface")), QStringLiteral("Web2"));
    EXPECT_TRUE(caixas().empty());
}

TEST_F(TFprincipalTest, ARefusedWriteAtStartIsReportedAndStopsTheStart) {
    QDir().mkpath(ini());  // a folder where the settings file should be
    criaJanelas();
    const auto c = caixas();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].kind, Kind::Error);
    EXPECT_EQ(c[0].text, QStringLiteral("Unable to write to ") + ini());
    EXPECT_EQ(naPrincipal<QLabel>("LbVersaoDll")->text(), QStringLiteral("*"));
}

TEST_F(TFprincipalTest, AnUnreadableSettingsFileIsReportedAndKeptAsItWas) {
    gravaIni(QStringLiteral("Sistema"), QStringLiteral("Porta"), QStringLiteral("Default"));
    gravaIni(QStringLiteral("Zentora3"), QStringLiteral("AbreTXT"), QStringLiteral("Wordpad"));
    QFile f(ini());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray antes = f.readAll();
    f.close();
    ComoUsuarioComum::entrega(QFile::encodeName(pasta()).toStdString(), 0755);
    ComoUsuarioComum::entrega(QFile::encodeName(ini()).toStdString(), 0200);
    {
        ComoUsuarioComum usuario;
        criaJanelas();
    }
    const auto c = caixas();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].kind, Kind::Error);
    EXPECT_EQ(c[0].text, QStringLiteral("Unable to write to ") + ini());
    EXPECT_EQ(naPrincipal<QLabel>("LbVersaoDll")->text(), QStringLiteral("*"));
    ASSERT_TRUE(QFile::setPermissions(ini(), QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), antes);
}

// An installation folder whose name is no plain ASCII: the settings file holds
// it exactly and the printer library writes its capture file there.
class PastaAcentuada : public TFprincipalTest {
protected:
    QString subpasta() const override { return QStringLiteral("joão/Łódź/Zentora"); }
};

TEST_F(PastaAcentuada, TheFolderIsStoredExactlyAndTheLibraryWorksInIt) {
    criaImpressora();
    criaJanelas();
    EXPECT_EQ(leIni(QStringLiteral("Sistema"), QStringLiteral("Path")), pasta());
    EXPECT_EQ(leIni(QStringLiteral("Zentora3"), QStringLiteral("Cadastro")), pasta() + QStringLiteral("Cadastro"));
    QFile f(ini());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains(QFile::encodeName(pasta())));

    uZentora3::Fprincipal->BtLocalizarImpressoraClick();
    caixas();
    ASSERT_TRUE(naPrincipal<QPushButton>("BtRelatoriosFiscais")->isEnabled());
    EXPECT_EQ(Kestrona_FI_LeituraXSerial(), 1);
    EXPECT_TRUE(QFile::exists(arquivo(QStringLiteral("Retorno.txt"))));
}

TEST_F(TFprincipalTest, AnsweringNoToTheDriverQuestionStartsNothing) {
    criaJanelas();
    dialogos.no();
    naPrincipal<QPushButton>("BtInstalaUSB")->click();
    const auto c = caixas();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].kind, Kind::Question);
    EXPECT_EQ(c[0].title, QStringLiteral("INSTALAÇÃO DO DRIVE USB"));
    EXPECT_EQ(c[0].text, QStringLiteral("Deseja Instalar o Driver Kestrona USB?"));
    EXPECT_FALSE(c[0].defaultNo);
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(naPrincipal<QPushButton>("BtInstalaUSB")->text(), QStringLiteral("Instalar Driver USB"));
}

TEST_F(TFprincipalTest, TheDriverInstallerIsWaitedForAndItsOutcomeReported) {
    criaJanelas();
    dialogos.yes();
    naPrincipal<QPushButton>("BtInstalaUSB")->click();
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].action, QStringLiteral("wait"));
    EXPECT_EQ(shell.calls[0].target, pasta() + QStringLiteral("USB_Driver"));
    EXPECT_EQ(shell.calls[0].arguments, QStringList{QStringLiteral("0")});
    auto c = caixas();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[1].kind, Kind::Information);
    EXPECT_EQ(c[1].text, QStringLiteral("Instalado com Sucesso!\rRecomendável Desligar e Ligar a Impressora "
                                        "Fiscal\rPara Reconhecimento do Driver"));
    EXPECT_EQ(naPrincipal<QPushButton>("BtInstalaUSB")->text(), QStringLiteral("Instalar Driver USB"));

    // An installer that cannot start, or that fails, is never reported as installed.
    shell.waitResult = platform::shell::Wait::NotStarted;
    dialogos.yes();
    naPrincipal<QPushButton>("BtInstalaUSB")->click();
    c = caixas();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[1].kind, Kind::Error);
    EXPECT_TRUE(c[1].text.endsWith(pasta() + QStringLiteral("USB_Driver")));

    shell.waitResult = platform::shell::Wait::Finished;
    shell.exitCode = 3;
    dialogos.yes();
    naPrincipal<QPushButton>("BtInstalaUSB")->click();
    c = caixas();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[1].kind, Kind::Error);
    EXPECT_TRUE(c[1].text.contains(QStringLiteral("(código 3)")));

    // Still running after the wait: it goes on in its own window.
    shell.waitResult = platform::shell::Wait::TimedOut;
    dialogos.yes();
    naPrincipal<QPushButton>("BtInstalaUSB")->click();
    c = caixas();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[1].kind, Kind::Information);
    EXPECT_EQ(c[1].title, QStringLiteral("INSTALAÇÃO DO DRIVE USB"));
    EXPECT_EQ(c[1].text, QStringLiteral("A Instalação do Driver USB Continua em Sua Própria Janela.\rAo Terminar, "
                                        "Desligue e Ligue a Impressora Fiscal\rPara Reconhecimento do Driver"));
    EXPECT_EQ(naPrincipal<QPushButton>("BtInstalaUSB")->text(), QStringLiteral("Instalar Driver USB"));
}

TEST_F(TFprincipalTest, FunctionWindowsOpenExactlyOverTheMainWindow) {
    criaJanelas();
    naPrincipal<QPushButton>("BtConfig")->click();
    EXPECT_TRUE(UConfig::FConfigGeral.get()->isVisible());
    EXPECT_EQ(UConfig::FConfigGeral.get()->pos(), uZentora3::Fprincipal->pos());
    EXPECT_EQ(UConfig::FConfigGeral.get()->size(), QSize(792, 450));
}

TEST_F(TFprincipalTest, F1OpensTheHelp) {
    criaJanelas();
    QApplication::setActiveWindow(uZentora3::Fprincipal);
    QTest::keyClick(uZentora3::Fprincipal, Qt::Key_F1);
    ASSERT_FALSE(shell.calls.empty());
    EXPECT_EQ(shell.calls.back().action, QStringLiteral("document"));
    EXPECT_EQ(shell.calls.back().target, pasta() + QStringLiteral("Ajuda/index.html"));
}

TEST_F(TFprincipalTest, AClickAnywhereInAnEmptyMaskedEditStartsAtItsFirstPosition) {
    criaJanelas();
    // Rates, dates, COOs and reductions of every window that has them.
    const QList<QWidget*> janelas{UConfigFiscais::FConfigECF.get(), URelFiscais::FRelFiscais.get(),
                                  uDadosMFeMFD::FDadosMFeMFD.get()};
    int mascaras = 0;
    for (QWidget* janela : janelas) {
        janela->show();
        for (QLineEdit* edit : janela->findChildren<QLineEdit*>()) {
            if (edit->inputMask().isEmpty()) continue;
            ++mascaras;
            const std::string nome = edit->objectName().toStdString();
            for (QWidget* w = edit; w; w = w->parentWidget()) w->setEnabled(true);
            edit->clear();
            const QPoint meio(edit->width() / 2, edit->height() / 2);
            QTest::mouseClick(edit, Qt::LeftButton, {}, meio);
            EXPECT_EQ(edit->cursorPosition(), 0) << nome;
            QTest::keyClicks(edit, QStringLiteral("1"));
            EXPECT_TRUE(edit->text().startsWith(QLatin1Char('1'))) << nome << " " << edit->displayText().toStdString();
            // Once something is typed, a click puts the cursor where it falls.
            QTest::mouseClick(edit, Qt::LeftButton, {}, meio);
            EXPECT_GT(edit->cursorPosition(), 0) << nome;
        }
    }
    EXPECT_EQ(mascaras, 9);
}

TEST_F(TFprincipalTest, F1WithoutABrowserSaysSoAndNamesTheHelpPage) {
    criaJanelas();
    caixas();
    shell.result = false;
    QApplication::setActiveWindow(uZentora3::Fprincipal);
    QTest::keyClick(uZentora3::Fprincipal, Qt::Key_F1);
    const auto c = caixas();
    ASSERT_EQ(c.size(), 1u) << todas(c);
    EXPECT_EQ(c[0].kind, Kind::Error);
    EXPECT_EQ(c[0].title, QStringLiteral("AJUDA"));
    EXPECT_TRUE(c[0].text.startsWith(QStringLiteral("Não Foi Possível Abrir a Ajuda no Navegador:\r") + pasta() +
                                     QStringLiteral("Ajuda/index.html")))
        << c[0].text.toStdString();
}
