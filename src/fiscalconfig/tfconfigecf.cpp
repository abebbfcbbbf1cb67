#include "tfconfigecf.h"

#include "printer/janela.h"
#include "ui_tfconfigecf.h"

namespace UConfigFiscais {
TFConfigECF* FConfigECF = nullptr;
}

TFConfigECF::TFConfigECF(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TFConfigECF>()) {
    ui->setupUi(this);
    printer::preparaJanela(this, Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    printer::instalaAjuda(this);
}

TFConfigECF::~TFConfigECF() = default;
