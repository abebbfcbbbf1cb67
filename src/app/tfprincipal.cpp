#include "tfprincipal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <optional>
#include <type_traits>

#include "bobina/tfbobina.h"
#include "chaves.h"
#include "commands/tfcomandosadicionais.h"
#include "fiscalconfig/tfconfigecf.h"
#include "kesafi32.h"
#include "localizacao.h"
#include "manager/tfgerenciador.h"
#include "memory/tfdadosmfemfd.h"
#include "platform/accessibility.h"
#include "platform/captions.h"
#include "platform/dialogs.h"
#include "platform/masks.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "printer/buffer.h"
#include "printer/janela.h"
#include "printer/tfstatus.h"
#include "printer/ustatus.h"
#include "relogio_ecf.h"
#include "reports/tfrelfiscais.h"
#include "settings/tfconfiggeral.h"
#include "ui_tfprincipal.h"

using namespace UStatus;

namespace uZentora3 {

TFprincipal* Fprincipal = nullptr;
QByteArray sVersaoDll;

}  // namespace uZentora3

namespace {

const QString kZentora3 = QStringLiteral("Zentora3");
const QString kTituloUSB = QStringLiteral("INSTALAÇÃO DO DRIVE USB");
// The installer has this long to finish before the program stops waiting for
// it (it goes on by itself).
constexpr int kEsperaInstalador = 10000;

QString arquivoIni() { return sPastaBase + QStringLiteral("KESAFI32.ini"); }

// Reads a program setting; when absent or empty writes its default and reads
// it again.  Nothing when the default could not be written.
std::optional<QString> leAjuste(platform::Profile& ini, const QString& chave, const QString& padrao) {
    if (ini.readString(kZentora3, chave).isEmpty() && !ini.writeString(kZentora3, chave, padrao)) return std::nullopt;
    return ini.readString(kZentora3, chave);
}

}  // namespace

TFprincipal::TFprincipal(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TFprincipal>()) {
    ui->setupUi(this);
    printer::preparaJanela(this, Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    printer::instalaAjuda(this);
    if (const QScreen* tela = QGuiApplication::primaryScreen())
        move(tela->availableGeometry().center() - rect().center());

    connect(ui->BtInstalaUSB, &QPushButton::clicked, this, &TFprincipal::BtInstalaUSBClick);
    connect(ui->BtConfig, &QPushButton::clicked, this, &TFprincipal::BtConfigClick);
    connect(ui->BtAdm, &QPushButton::clicked, this, &TFprincipal::BtAdmClick);
    connect(ui->BtSair, &QPushButton::clicked, this, &TFprincipal::BtSairClick);
    connect(ui->BtLocalizarImpressora, &QToolButton::clicked, this, &TFprincipal::BtLocalizarImpressoraClick);
    connect(ui->BtConfigFiscais, &QPushButton::clicked, this, &TFprincipal::BtConfigFiscaisClick);
    connect(ui->BtRelatoriosFiscais, &QPushButton::clicked, this, &TFprincipal::BtRelatoriosFiscaisClick);
    connect(ui->BtComandosAdicionais, &QPushButton::clicked, this, &TFprincipal::BtComandosAdicionaisClick);
    connect(ui->BtDadosDaMFD, &QPushButton::clicked, this, &TFprincipal::BtDadosDaMFDClick);
}

TFprincipal::~TFprincipal() = default;

void TFprincipal::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (mostrada_) return;
    mostrada_ = true;
    FormShow();
}

void TFprincipal::closeEvent(QCloseEvent* event) {
    event->accept();
    encerra();
}

void TFprincipal::encerra() {
    // The port is given back at once, so that a new start finds the printer
    // free.  The status strip refuses closes of its own, and a window that
    // refuses would make QApplication::quit() give up: the event loop is
    // ended directly instead.
    if (relogio_) relogio_->para();
    Kestrona_FI_FechaPortaSerial();
    if (UStatus::Fstatus) UStatus::Fstatus->hide();
    hide();
    QCoreApplication::exit(0);
}

void TFprincipal::FormShow() {
    // 1. The program's folder.
    sPastaBase = platform::paths::executableFolder();

    // 2. The library's keys, forced at every start, in one write of the file.
    platform::Profile ini(arquivoIni());
    const QString sistema = QStringLiteral("Sistema");
    const QString zero = QStringLiteral("0");
    if (!ini.writeStrings({{QStringLiteral("MFD"), QStringLiteral("Impressora"), QStringLiteral("1")},
                           {sistema, QStringLiteral("Path"), sPastaBase},
                           {sistema, QStringLiteral("Retorno"), zero},
                           {sistema, QStringLiteral("Log"), zero},
                           {sistema, QStringLiteral("LogDiario"), zero},
                           {sistema, QStringLiteral("Status"), zero},
                           {sistema, QStringLiteral("ControlePorta"), zero}}))
        return;

    // 3. The skin.
    const QString interfacePadrao = QStringLiteral("Aluminium");
    auto interface_ = leAjuste(ini, QStringLiteral("Interface"), interfacePadrao);
    if (!interface_) return;
    // A name that is none of the skins (typed by hand) becomes the default,
    // written back as a missing one is.
    if (!UConfig::Interfaces().contains(*interface_)) {
        if (!ini.writeString(kZentora3, QStringLiteral("Interface"), interfacePadrao)) return;
        interface_ = interfacePadrao;
    }
    sInterface = *interface_;
    SkinManager& skins = UConfig::Skins();
    skins.setSkinName(sInterface);
    skins.setSkinsDirectory(sPastaBase + QStringLiteral("Skins") + platform::paths::separator());
    skins.setActive(true);

    // 4. The library's version, shown as its buffer came back.
    sComando = QStringLiteral("Verificando Versão da DLL");
    uZentora3::sVersaoDll = printer::bufferEmBranco(9);
    iRetorno = Kestrona_FI_VersaoDll(uZentora3::sVersaoDll.data());
    ui->LbVersaoDll->setText(printer::texto(uZentora3::sVersaoDll));
    ligaBobina();

    // 5. The status strip under the main window.
    UStatus::Fstatus->move(x(), y() + 479);
    UStatus::Fstatus->repaint();

    // 6. The signing keys.
    sChaveAssinatura1 = uZentora3::ChaveAssinatura1();
    sChaveAssinatura2 = uZentora3::ChaveAssinatura2();

    // 7. The registration folder.
    const auto cadastro = leAjuste(ini, QStringLiteral("Cadastro"), sPastaBase + QStringLiteral("Cadastro"));
    if (!cadastro) return;
    sPastaCadastro = *cadastro;

    // 8. The text viewer, mirrored into the settings window: its radios write
    //    the value back, so anything but "Notepad" becomes "Wordpad".  That
    //    window is made when first opened and shows the settings then.
    const auto abreTxt = leAjuste(ini, QStringLiteral("AbreTXT"), QStringLiteral("Notepad"));
    if (!abreTxt) return;
    sAbreTXT = *abreTxt;
    UConfig::GravaAbreTXT(sAbreTXT == QLatin1String("Notepad") ? QStringLiteral("Notepad") : QStringLiteral("Wordpad"));

    // 9. and 10. Off-line handling.
    const auto enviaOffline = leAjuste(ini, QStringLiteral("EnviaComandoOFFline"), QStringLiteral("Nao"));
    if (!enviaOffline) return;
    sEnviaComandoOFFline = *enviaOffline;
    const auto trataOffline = leAjuste(ini, QStringLiteral("TrataOFFLine"), QStringLiteral("Nao"));
    if (!trataOffline) return;
    sTrataOFFLine = *trataOffline;

    // 11. Mirrored the same way: the check box writes only when it becomes
    //     checked, one of the radios always.
    if (sEnviaComandoOFFline == QLatin1String("Sim")) UConfig::GravaEnviaComandoOFFline(sEnviaComandoOFFline);
    UConfig::GravaTrataOFFLine(sTrataOFFLine == QLatin1String("Sim") ? QStringLiteral("Sim") : QStringLiteral("Nao"));
    if (TFConfigGeral* configuracao = UConfig::FConfigGeral.existente()) configuracao->MostraAjustes();

    // 12. The status strip stays visible for the whole run.
    UStatus::Fstatus->show();

    // 13. The functions the command manager offers to users, on every window.
    UGerenciador::FGerenciador->CarregaStatus();
    UGerenciador::FGerenciador->AplicaStatus();
}

void TFprincipal::BtInstalaUSBClick() {
    if (!platform::dialogs::question(kTituloUSB, QStringLiteral("Deseja Instalar o Driver Kestrona USB?"),
                                     platform::dialogs::Default::Yes))
        return;
    ui->BtInstalaUSB->setText(QStringLiteral("Aguarde!! Instalando..."));
    ui->BtInstalaUSB->repaint();

    // Run as the administrator: only ever the installation's own copy.
    const QString instalador =
        platform::paths::installationFolder() + platform::paths::programFile(QStringLiteral("USB_Driver"));
    int codigo = 0;
    const auto espera = platform::shell::runAndWait(instalador, {QStringLiteral("0")}, kEsperaInstalador, &codigo);
    if (espera == platform::shell::Wait::NotStarted)
        platform::dialogs::error(
            kTituloUSB, QStringLiteral("Não Foi Possível Executar o Instalador do Driver USB:\r") + instalador);
    else if (espera == platform::shell::Wait::Finished && codigo != 0)
        platform::dialogs::error(
            kTituloUSB,
            QStringLiteral("O Instalador do Driver USB Terminou com Erro (código %1):\r").arg(codigo) + instalador);
    else if (espera == platform::shell::Wait::TimedOut)
        platform::dialogs::information(kTituloUSB, QStringLiteral("A Instalação do Driver USB Continua em Sua Própria "
                                                                  "Janela.\rAo Terminar, Desligue e Ligue a "
                                                                  "Impressora Fiscal\rPara Reconhecimento do Driver"));
    else
        platform::dialogs::information(kTituloUSB,
                                       QStringLiteral("Instalado com Sucesso!\rRecomendável Desligar e Ligar "
                                                      "a Impressora Fiscal\rPara Reconhecimento do Driver"));
    ui->BtInstalaUSB->setText(QStringLiteral("Instalar Driver USB"));
}

void TFprincipal::BtSairClick() { encerra(); }

void TFprincipal::BtConfigClick() { printer::mostraSobre(UConfig::FConfigGeral, this); }
void TFprincipal::BtAdmClick() { UGerenciador::FGerenciador->Entra(this); }
void TFprincipal::BtConfigFiscaisClick() { printer::mostraSobre(UConfigFiscais::FConfigECF, this); }
void TFprincipal::BtRelatoriosFiscaisClick() { printer::mostraSobre(URelFiscais::FRelFiscais, this); }
void TFprincipal::BtComandosAdicionaisClick() { printer::mostraSobre(uComandosAdicionais::FComandosAdicionais, this); }
void TFprincipal::BtDadosDaMFDClick() { printer::mostraSobre(uDadosMFeMFD::FDadosMFeMFD, this); }

namespace uZentora3 {

Janelas::Janelas() {
    // Captions break their lines at a carriage return, and screen readers
    // read every control.
    platform::captions::install();
    platform::accessibility::install();
    // A click in an empty masked edit starts typing at its first position.
    platform::masks::install();
    // The main window, the status strip under it and the command manager,
    // which holds the flags of every window, are made at once, in this order;
    // the function windows are made when first used (opened, or reached by
    // another window) and then look as if made at start: screen readers name
    // them, the manager's flags and the daylight-saving state read last are
    // applied to them.
    auto cria = [this](auto*& global, auto* janela) {
        global = janela;
        janelas_.emplace_back(janela);
    };
    auto sobDemanda = [this](auto& global) {
        using T = std::remove_pointer_t<decltype(global.existente())>;
        const auto feita = [this](T* janela) {
            janelas_.emplace_back(janela);
            platform::accessibility::installOn(janela);
            if (UGerenciador::FGerenciador) UGerenciador::FGerenciador->AplicaStatusNaNovaJanela(janela);
            MostraHorarioVerao(janela);
        };
        global.defineCriacao([] { return new T; }, feita);
    };
    cria(Fprincipal, new TFprincipal);
    sobDemanda(UConfig::FConfigGeral);
    sobDemanda(UConfigFiscais::FConfigECF);
    cria(UStatus::Fstatus, new TFstatus);
    sobDemanda(URelFiscais::FRelFiscais);
    sobDemanda(uComandosAdicionais::FComandosAdicionais);
    sobDemanda(uDadosMFeMFD::FDadosMFeMFD);
    cria(UGerenciador::FGerenciador, new TFGerenciador);
}

Janelas::~Janelas() {
    // No window is made any more, then all go, the latest made first.
    UConfig::FConfigGeral.defineCriacao({});
    UConfigFiscais::FConfigECF.defineCriacao({});
    URelFiscais::FRelFiscais.defineCriacao({});
    uComandosAdicionais::FComandosAdicionais.defineCriacao({});
    uDadosMFeMFD::FDadosMFeMFD.defineCriacao({});
    while (!janelas_.empty()) janelas_.pop_back();
    Fprincipal = nullptr;
    UConfig::FConfigGeral.esquece();
    UConfigFiscais::FConfigECF.esquece();
    UStatus::Fstatus = nullptr;
    URelFiscais::FRelFiscais.esquece();
    uComandosAdicionais::FComandosAdicionais.esquece();
    uDadosMFeMFD::FDadosMFeMFD.esquece();
    UGerenciador::FGerenciador = nullptr;
}

}  // namespace uZentora3
