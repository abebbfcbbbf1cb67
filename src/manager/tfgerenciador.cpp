#include "tfgerenciador.h"

#include <QCheckBox>
#include <QtGlobal>

#include "commands/tfcomandosadicionais.h"
#include "core/disponibilidade.h"
#include "fiscalconfig/tfconfigecf.h"
#include "memory/tfdadosmfemfd.h"
#include "platform/dialogs.h"
#include "platform/profile.h"
#include "printer/janela.h"
#include "printer/ustatus.h"
#include "reports/tfrelfiscais.h"
#include "ui_tfgerenciador.h"

namespace UGerenciador {
TFGerenciador* FGerenciador = nullptr;
}

using namespace UGerenciador;

namespace {

const QString kSecao = QStringLiteral("Zentora3");
const QString kStatus = QStringLiteral("Status");
const QString kUsaCodigo = QStringLiteral("UsaCodigo");
const QString kCodigo = QStringLiteral("Codigo");
const QString kTitulo = QStringLiteral("GERENCIADOR");

// The four function check boxes that stand for the main window's function
// buttons: always available, never stored nor applied.
const char* const kSempreDisponiveis[] = {"CbConfigECF", "CbRelFiscais", "CbCmdAdicionais", "CbMFMFD"};

platform::Profile ajustes() { return platform::Profile(UStatus::sPastaBase + QStringLiteral("KESAFI32.ini")); }

// The stored password; nothing (after an error box) when `Codigo` is not
// hexadecimal text.
std::optional<QString> senhaGravada() {
    const auto senha = HexParaTexto(ajustes().readString(kSecao, kCodigo));
    if (!senha)
        platform::dialogs::error(kTitulo, QStringLiteral("Senha Gravada Inválida!\rA chave Codigo de KESAFI32.ini "
                                                         "não é um texto hexadecimal."));
    return senha;
}

}  // namespace

QWidget* TFGerenciador::janelaDe(Janela janela) const {
    switch (janela) {
        case Janela::Principal:
            return principal_;
        case Janela::ConfigECF:
            return UConfigFiscais::FConfigECF.existente();
        case Janela::RelFiscais:
            return URelFiscais::FRelFiscais.existente();
        case Janela::ComandosAdicionais:
            return uComandosAdicionais::FComandosAdicionais.existente();
        case Janela::DadosMFeMFD:
            return uDadosMFeMFD::FDadosMFeMFD.existente();
    }
    return nullptr;
}

void TFGerenciador::defineJanelaPrincipal(QWidget* principal) { principal_ = principal; }

TFGerenciador::TFGerenciador(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFGerenciador>()) {
    ui->setupUi(this);
    printer::preparaJanela(this, Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // Nearly forty check boxes side by side: a condensed face keeps every
    // caption whole, whatever font the skin gives them.
    for (QWidget* filho : findChildren<QWidget*>()) {
        QFont fonte = filho->font();
        fonte.setStretch(QFont::Condensed);
        filho->setFont(fonte);
    }

    connect(ui->BtHabilitaTodos, &QPushButton::clicked, this, &TFGerenciador::BtHabilitaTodosClick);
    connect(ui->BtDesabilitaTodos, &QPushButton::clicked, this, &TFGerenciador::BtDesabilitaTodosClick);
    // Checked by the program as by a click: the handler runs either way.
    connect(ui->CbHabilitaSenha, &QCheckBox::toggled, this, &TFGerenciador::CbHabilitaSenhaClick);
    connect(ui->MeSenha1, &QLineEdit::textEdited, this, &TFGerenciador::MeSenhaKeyUp);
    connect(ui->MeSenha2, &QLineEdit::textEdited, this, &TFGerenciador::MeSenhaKeyUp);
    connect(ui->BtSalvarSenha, &QPushButton::clicked, this, &TFGerenciador::BtSalvarSenhaClick);
}

TFGerenciador::~TFGerenciador() = default;

QCheckBox* TFGerenciador::caixa(const char* nome) const {
    return findChild<QCheckBox*>(QLatin1String(nome), Qt::FindChildrenRecursively);
}

void TFGerenciador::CarregaStatus() {
    const QString status = ajustes().readString(kSecao, kStatus);
    aStatus = LeFlags(status);
    if (status.isEmpty()) {
        BtHabilitaTodosClick();
        return;
    }
    for (const Funcao& funcao : Funcoes())
        caixa(funcao.caixa)->setChecked(aStatus[funcao.posicao - 1] != QLatin1String("0"));
}

void TFGerenciador::AplicaStatus() {
    aplicado_ = true;
    aplica(nullptr);
}

void TFGerenciador::AplicaStatusNaNovaJanela(QWidget* janela) {
    if (aplicado_) aplica(janela);
}

void TFGerenciador::aplica(const QWidget* somente) {
    for (const Funcao& funcao : Funcoes()) {
        QWidget* janela = janelaDe(funcao.janela);
        if (!janela || (somente && janela != somente)) continue;
        QWidget* controle = janela->findChild<QWidget*>(QLatin1String(funcao.controle), Qt::FindChildrenRecursively);
        if (!controle) {
            qWarning("command manager: %s has no control %s (flag %d); left alone", NomeDaJanela(funcao.janela),
                     funcao.controle, funcao.posicao);
            continue;
        }
        controle->setEnabled(caixa(funcao.caixa)->isChecked());
    }
}

void TFGerenciador::SalvaStatus() {
    for (const Funcao& funcao : Funcoes())
        aStatus[funcao.posicao - 1] = caixa(funcao.caixa)->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    ajustes().writeString(kSecao, kStatus, JuntaFlags(aStatus));
}

void TFGerenciador::BtHabilitaTodosClick() {
    for (const Funcao& funcao : Funcoes()) caixa(funcao.caixa)->setChecked(true);
    for (const char* nome : kSempreDisponiveis) caixa(nome)->setChecked(true);
}

void TFGerenciador::BtDesabilitaTodosClick() {
    for (const Funcao& funcao : Funcoes()) caixa(funcao.caixa)->setChecked(false);
    // Shown unchecked too, with no effect: those functions stay available.
    for (const char* nome : kSempreDisponiveis) caixa(nome)->setChecked(false);
}

void TFGerenciador::CbHabilitaSenhaClick() {
    const bool marcado = ui->CbHabilitaSenha->isChecked();
    ui->MeSenha1->setEnabled(marcado);
    ui->MeSenha2->setEnabled(marcado);
    if (marcado) return;  // the password is switched on by saving one
    ui->BtSalvarSenha->setEnabled(false);
    ui->MeSenha1->clear();
    ui->MeSenha2->clear();
    platform::Profile ini = ajustes();
    if (ini.writeString(kSecao, kUsaCodigo, QStringLiteral("Nao"))) ini.writeString(kSecao, kCodigo, QString());
}

void TFGerenciador::MeSenhaKeyUp() {
    ui->BtSalvarSenha->setEnabled(!ui->MeSenha1->text().isEmpty() && ui->MeSenha1->text() == ui->MeSenha2->text());
}

void TFGerenciador::BtSalvarSenhaClick() {
    const QString senha = ui->MeSenha1->text();
    if (!SenhaGravavel(senha)) {
        // Stored two digits per character, a wider character would not read back.
        platform::dialogs::error(kTitulo, QStringLiteral("Senha Não Salva!\rA senha só pode conter letras, números, "
                                                         "acentos e símbolos do teclado (códigos até 255)."));
        return;
    }
    platform::Profile ini = ajustes();
    if (ini.writeString(kSecao, kCodigo, TextoParaHex(senha)))
        ini.writeString(kSecao, kUsaCodigo, QStringLiteral("Sim"));
}

void TFGerenciador::Entra(const QWidget* principal) {
    platform::Profile ini = ajustes();
    if (ini.readString(kSecao, kUsaCodigo).isEmpty() && !ini.writeString(kSecao, kUsaCodigo, QStringLiteral("Nao")))
        return;
    if (ini.readString(kSecao, kUsaCodigo) != QLatin1String("Nao")) {
        const auto senha = senhaGravada();
        if (!senha) return;
        ui->CbHabilitaSenha->setChecked(true);
        ui->MeSenha1->setText(*senha);
        ui->MeSenha2->setText(*senha);
        const QString digitada = platform::dialogs::password(QStringLiteral("Senha Gerenciador"),
                                                             QStringLiteral("Digite a Senha de Configuração"));
        const auto gravada = senhaGravada();
        if (!gravada) return;
        if (digitada != *gravada) {
            platform::dialogs::information(kTitulo, QStringLiteral("Senha de Configuração Inválida!"));
            return;
        }
    }
    move(principal->pos());
    repaint();
    exec();
}

void TFGerenciador::FormClose() {
    AplicaStatus();
    SalvaStatus();
}

void TFGerenciador::done(int resultado) {
    FormClose();
    QDialog::done(resultado);
}
