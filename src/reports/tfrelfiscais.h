// The fiscal reports window: Reading X, Reduction Z and the fiscal memory
// reading.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include "core/relatorios.h"
#include "printer/janela.h"

class QPlainTextEdit;

namespace Ui {
class TFRelFiscais;
}

class TFRelFiscais : public QWidget {
    Q_OBJECT

public:
    explicit TFRelFiscais(QWidget* parent = nullptr);
    ~TFRelFiscais() override;

    void BtLeituraXClick();
    void CbHabilitaZClick();
    void BtReducaoZClick();

    void RbMfPorDataClick();
    void RbMfPorZClick();
    void RbMf30DiasClick();
    void BtLeituraMFClick();

private:
    // The daylight-saving state read last, on the Z's option.
    void mostraHorarioVerao();
    std::unique_ptr<Ui::TFRelFiscais> ui;
};

namespace URelFiscais {

// Made the first time it is used.
extern printer::JanelaSobDemanda<TFRelFiscais> FRelFiscais;

// Clears `memo` and shows the capture file in it, `primeiraLinha` first.
// When `captura` was not written anew the memo says, under `primeiraLinha`,
// that nothing was received.  A capture file that cannot be opened leaves
// the memo empty and shows an error box with `titulo` naming the file.
// False when no capture was shown.
bool mostraCaptura(QPlainTextEdit* memo, const QString& primeiraLinha, const QString& titulo, const Captura& captura);

}  // namespace URelFiscais
