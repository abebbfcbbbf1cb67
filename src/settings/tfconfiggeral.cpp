#include "tfconfiggeral.h"

#include "platform/profile.h"
#include "printer/janela.h"
#include "printer/ustatus.h"
#include "ui_tfconfiggeral.h"

namespace UConfig {
TFConfigGeral* FConfigGeral = nullptr;
}

namespace {

const QString kSecao = QStringLiteral("Zentora3");

bool gravaAjuste(const QString& chave, const QString& valor) {
    return platform::Profile(UStatus::sPastaBase + QStringLiteral("KESAFI32.ini")).writeString(kSecao, chave, valor);
}

}  // namespace

TFConfigGeral::TFConfigGeral(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TFConfigGeral>()) {
    ui->setupUi(this);
    printer::preparaJanela(this, Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    printer::instalaAjuda(this);

    // Setting a check box or radio from the program runs its handler as a
    // click does; a control already in the requested state is not clicked again.
    connect(ui->RbHabilitaOFFLine, &QRadioButton::toggled, this, [this](bool on) {
        if (on) RbHabilitaOFFLineClick();
    });
    connect(ui->RbDesabilitaOFFLine, &QRadioButton::toggled, this, [this](bool on) {
        if (on) RbDesabilitaOFFLineClick();
    });
    connect(ui->CbAutorizaComandoOFFLine, &QCheckBox::toggled, this, &TFConfigGeral::CbAutorizaComandoOFFLineClick);
    connect(ui->RbTXTNotepad, &QRadioButton::toggled, this, [this](bool on) {
        if (on) RbTXTNotepadClick();
    });
    connect(ui->RbTXTWordpad, &QRadioButton::toggled, this, [this](bool on) {
        if (on) RbTXTWordpadClick();
    });
}

TFConfigGeral::~TFConfigGeral() = default;

void TFConfigGeral::RbHabilitaOFFLineClick() {
    if (gravaAjuste(QStringLiteral("TrataOFFLine"), QStringLiteral("Sim")))
        UStatus::sTrataOFFLine = QStringLiteral("Sim");
}

void TFConfigGeral::RbDesabilitaOFFLineClick() {
    if (gravaAjuste(QStringLiteral("TrataOFFLine"), QStringLiteral("Nao")))
        UStatus::sTrataOFFLine = QStringLiteral("Nao");
}

void TFConfigGeral::CbAutorizaComandoOFFLineClick() {
    const bool marcado = ui->CbAutorizaComandoOFFLine->isChecked();
    ui->RbHabilitaOFFLine->setEnabled(marcado);
    ui->RbDesabilitaOFFLine->setEnabled(marcado);
    const QString valor = marcado ? QStringLiteral("Sim") : QStringLiteral("Nao");
    if (gravaAjuste(QStringLiteral("EnviaComandoOFFLine"), valor)) UStatus::sEnviaComandoOFFline = valor;
}

void TFConfigGeral::RbTXTNotepadClick() {
    if (gravaAjuste(QStringLiteral("AbreTXT"), QStringLiteral("Notepad")))
        UStatus::sAbreTXT = QStringLiteral("Notepad");
}

void TFConfigGeral::RbTXTWordpadClick() {
    if (gravaAjuste(QStringLiteral("AbreTXT"), QStringLiteral("Wordpad")))
        UStatus::sAbreTXT = QStringLiteral("Wordpad");
}
