#include "tfcomandosadicionais.h"

#include "printer/janela.h"
#include "ui_tfcomandosadicionais.h"

namespace uComandosAdicionais {
TFComandosAdicionais* FComandosAdicionais = nullptr;
}

TFComandosAdicionais::TFComandosAdicionais(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TFComandosAdicionais>()) {
    ui->setupUi(this);
    printer::preparaJanela(this, Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    printer::instalaAjuda(this);
}

TFComandosAdicionais::~TFComandosAdicionais() = default;
