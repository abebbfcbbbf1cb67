#include "tfgerenciador.h"

#include "printer/janela.h"
#include "ui_tfgerenciador.h"

namespace UGerenciador {
TFGerenciador* FGerenciador = nullptr;
}

TFGerenciador::TFGerenciador(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFGerenciador>()) {
    ui->setupUi(this);
    printer::preparaJanela(this, Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

TFGerenciador::~TFGerenciador() = default;
