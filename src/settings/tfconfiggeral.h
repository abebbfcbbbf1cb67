#pragma once

#include <QWidget>
#include <memory>

#include "skinmanager.h"

namespace Ui {
class TFConfigGeral;
}

class TFConfigGeral : public QWidget {
    Q_OBJECT

public:
    explicit TFConfigGeral(QWidget* parent = nullptr);
    ~TFConfigGeral() override;

    std::unique_ptr<Ui::TFConfigGeral> ui;
    // The skin engine every window of the program uses.
    SkinManager skinManager;

    void RbHabilitaOFFLineClick();
    void RbDesabilitaOFFLineClick();
    void CbAutorizaComandoOFFLineClick();
    void RbTXTNotepadClick();
    void RbTXTWordpadClick();
};

namespace UConfig {
extern TFConfigGeral* FConfigGeral;
}
