#pragma once

#include <QByteArray>
#include <QWidget>
#include <memory>
#include <vector>

namespace Ui {
class TFprincipal;
}

class TFprincipal : public QWidget {
    Q_OBJECT

public:
    explicit TFprincipal(QWidget* parent = nullptr);
    ~TFprincipal() override;

    std::unique_ptr<Ui::TFprincipal> ui;

    // Runs when the event loop first shows the window.
    void FormShow();

    void BtInstalaUSBClick();
    void BtConfigClick();
    void BtAdmClick();
    void BtSairClick();
    void BtLocalizarImpressoraClick();
    void BtConfigFiscaisClick();
    void BtRelatoriosFiscaisClick();
    void BtComandosAdicionaisClick();
    void BtDadosDaMFDClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool mostrada_ = false;
};

namespace uZentora3 {

extern TFprincipal* Fprincipal;

// The library's version as its buffer came back: 9 characters, 8-bit.
extern QByteArray sVersaoDll;

// The eight windows of the program, created in their fixed order and
// destroyed in the reverse one; the unit globals point at them meanwhile.
class Janelas {
public:
    Janelas();
    ~Janelas();
    Janelas(const Janelas&) = delete;
    Janelas& operator=(const Janelas&) = delete;

private:
    std::vector<std::unique_ptr<QWidget>> janelas_;
};

}  // namespace uZentora3
