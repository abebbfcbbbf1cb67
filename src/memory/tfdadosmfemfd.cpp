#include "tfdadosmfemfd.h"

#include "printer/janela.h"
#include "ui_tfdadosmfemfd.h"

namespace uDadosMFeMFD {
TFDadosMFeMFD* FDadosMFeMFD = nullptr;
}

TFDadosMFeMFD::TFDadosMFeMFD(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TFDadosMFeMFD>()) {
    ui->setupUi(this);
    printer::preparaJanela(this, Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    printer::instalaAjuda(this);
}

TFDadosMFeMFD::~TFDadosMFeMFD() = default;
