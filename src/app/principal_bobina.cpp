// The main window's tape button (F2) and the printer's clock in its
// information panel.
#include <QShortcut>

#include "bobina/tfbobina.h"
#include "relogio_ecf.h"
#include "tfprincipal.h"
#include "ui_tfprincipal.h"

void TFprincipal::ligaBobina(const QString& biblioteca) {
    fita_ = printer::Fita::daBiblioteca(biblioteca);
    if (!atalhoBobina_) {
        atalhoBobina_ = new QShortcut(QKeySequence(Qt::Key_F2), this);
        atalhoBobina_->setContext(Qt::WindowShortcut);
        connect(atalhoBobina_, &QShortcut::activated, this, &TFprincipal::BtBobinaClick);
        connect(ui->BtBobina, &QToolButton::clicked, this, &TFprincipal::BtBobinaClick);
    }
    atalhoBobina_->setEnabled(fita_.has_value());
    ui->BtBobina->setVisible(fita_.has_value());
    if (!fita_) bobina_.reset();
}

void TFprincipal::BtBobinaClick() {
    if (!fita_ || !ui->BtBobina->isEnabled()) return;
    if (!bobina_) bobina_ = std::make_unique<TFBobina>(*fita_);
    bobina_->Abre(this);
}

uZentora3::RelogioDoECF* TFprincipal::relogioDoECF() {
    if (!relogio_) relogio_ = std::make_unique<uZentora3::RelogioDoECF>(ui->LbRelogioECF, ui->LbDiaFiscal, nullptr);
    return relogio_.get();
}
