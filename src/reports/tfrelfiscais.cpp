#include "tfrelfiscais.h"

#include "printer/janela.h"
#include "ui_tfrelfiscais.h"

namespace URelFiscais {
TFRelFiscais* FRelFiscais = nullptr;
}

TFRelFiscais::TFRelFiscais(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TFRelFiscais>()) {
    ui->setupUi(this);
    printer::preparaJanela(this, Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    printer::instalaAjuda(this);
}

TFRelFiscais::~TFRelFiscais() = default;
