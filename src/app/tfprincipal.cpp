#include "tfprincipal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <functional>
#include <optional>
#include <type_traits>

#include "bobina/tfbobina.h"
#include "commands/tfcomandosadicionais.h"
#include "core/sessao.h"
#include "fiscalconfig/tfconfigecf.h"
#include "kesafi32.h"
#include "manager/tfgerenciador.h"
#include "memory/tfdadosmfemfd.h"
#include "platform/accessibility.h"
#include "platform/captions.h"
#include "platform/dialogs.h"
#include "platform/masks.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "platform/widget_dialogs.h"
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

}  // namespace uZentora3

namespace {

const QString kTituloUSB = QStringLiteral("INSTALAÇÃO DO DRIVE USB");
// The installer has this long to finish before the program stops waiting for
// it (it goes on by itself).
constexpr int kEsperaInstalador = 10000;

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
    ligaPainel();
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
    // 1. and 2. The program's folder, and the library's keys forced at every
    //    start, in one write of the file.
    if (!uZentora3::PreparaArquivoIni()) return;

    // 3. The skin.
    const QString interfacePadrao = QStringLiteral("Aluminium");
    auto interface_ = uZentora3::LeAjuste(QStringLiteral("Interface"), interfacePadrao);
    if (!interface_) return;
    // A name that is none of the skins (typed by hand) becomes the default,
    // written back as a missing one is.
    if (!UConfig::Interfaces().contains(*interface_)) {
        if (!uZentora3::GravaAjuste(QStringLiteral("Interface"), interfacePadrao)) return;
        interface_ = interfacePadrao;
    }
    sInterface = *interface_;
    SkinManager& skins = UConfig::Skins();
    skins.setSkinName(sInterface);
    skins.setSkinsDirectory(sPastaBase + QStringLiteral("Skins") + platform::paths::separator());
    skins.setActive(true);

    // 4. The library's version, shown as its buffer came back.
    uZentora3::LeVersaoDll();
    ui->LbVersaoDll->setText(printer::texto(uZentora3::sVersaoDll));
    ligaBobina();

    // 5. The status strip under the main window.
    UStatus::Fstatus->segue(this);

    // 6. to 10. The signing keys, the registration folder, the text viewer
    //    and the off-line handling.
    if (!uZentora3::CarregaAjustes()) return;

    // 8. and 11. Mirrored into the settings window: its radios write the
    //    values back, so that anything but "Notepad" becomes "Wordpad"; the
    //    check box writes only when it becomes checked, one of the radios
    //    always.  That window is made when first opened and shows the
    //    settings then.
    UConfig::GravaAbreTXT(sAbreTXT == QLatin1String("Notepad") ? QStringLiteral("Notepad") : QStringLiteral("Wordpad"));
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

void TFprincipal::BtConfigClick() { printer::mostraSobre(UConfig::FConfigGeral.get(), this); }
void TFprincipal::BtAdmClick() { UGerenciador::FGerenciador->Entra(this); }
void TFprincipal::BtConfigFiscaisClick() { printer::mostraSobre(UConfigFiscais::FConfigECF.get(), this); }
void TFprincipal::BtRelatoriosFiscaisClick() { printer::mostraSobre(URelFiscais::FRelFiscais.get(), this); }
void TFprincipal::BtComandosAdicionaisClick() {
    printer::mostraSobre(uComandosAdicionais::FComandosAdicionais.get(), this);
}
void TFprincipal::BtDadosDaMFDClick() { printer::mostraSobre(uDadosMFeMFD::FDadosMFeMFD.get(), this); }

namespace uZentora3 {

Janelas::Janelas() {
    // Captions break their lines at a carriage return, and screen readers
    // read every control.
    platform::captions::install();
    platform::accessibility::install();
    // Boxes a person answers.
    platform::dialogs::useWidgets();
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
    auto sobDemanda = [this](auto& global, std::function<void()> depois = {}) {
        using T = std::remove_pointer_t<decltype(global.existente())>;
        const auto feita = [this, depois](T* janela) {
            janelas_.emplace_back(janela);
            platform::accessibility::installOn(janela);
            if (UGerenciador::FGerenciador) UGerenciador::FGerenciador->AplicaStatusNaNovaJanela(janela);
            if (depois) depois();
        };
        global.defineCriacao([] { return new T; }, feita);
    };
    cria(Fprincipal, new TFprincipal);
    sobDemanda(UConfig::FConfigGeral);
    sobDemanda(UConfigFiscais::FConfigECF);
    cria(UStatus::Fstatus, new TFstatus);
    // Made while a daylight-saving exit waits, it shows the countdown at once.
    sobDemanda(URelFiscais::FRelFiscais, [] {
        if (TFComandosAdicionais* comandos = uComandosAdicionais::FComandosAdicionais.existente())
            comandos->MostraEspera();
    });
    sobDemanda(uComandosAdicionais::FComandosAdicionais);
    sobDemanda(uDadosMFeMFD::FDadosMFeMFD);
    cria(UGerenciador::FGerenciador, new TFGerenciador);
    UGerenciador::FGerenciador->defineJanelaPrincipal(Fprincipal);
    UStatus::Fstatus->segue(Fprincipal);

    // A daylight-saving exit that has to wait for its moment is counted by
    // the additional commands window, made for it when not open before (a
    // Reduction Z asks for the exit too).
    QObject::connect(&core::eventos(), &core::Eventos::esperaSaidaPedida, Fprincipal, [](const QDateTime& horaECF) {
        if (uComandosAdicionais::FComandosAdicionais.existente()) return;  // it counts already
        uComandosAdicionais::FComandosAdicionais.get()->EsperaSaida(horaECF);
    });
    // The fiscal configuration's counters follow the printer at the strip's pace.
    QObject::connect(UStatus::Fstatus, &TFstatus::monitorou, Fprincipal, [] {
        if (TFConfigECF* config = UConfigFiscais::FConfigECF.existente()) config->AtualizaContadores();
    });
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
