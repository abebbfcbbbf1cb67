#pragma once

#include <QByteArray>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "core/eventos.h"
#include "printer/fita.h"

class QShortcut;
class TFBobina;
namespace uZentora3 {
class RelogioDoECF;
}

namespace Ui {
class TFprincipal;
}

class TFprincipal : public QWidget {
    Q_OBJECT

public:
    explicit TFprincipal(QWidget* parent = nullptr);
    ~TFprincipal() override;

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

    // The tape view (F2): made the first time it is opened; null until then.
    void BtBobinaClick();
    TFBobina* bobina() const { return bobina_.get(); }
    // Looks up the tape functions in the library file `biblioteca` (the
    // printer library when empty); without them the tape button and F2 are gone.
    void ligaBobina(const QString& biblioteca = {});
    // The printer's clock and fiscal day in the information panel.
    uZentora3::RelogioDoECF* relogioDoECF();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The information panel follows what the core reads.
    void ligaPainel();
    QWidget* valorDoPainel(uZentora3::Valor valor) const;
    // The main window as before the printer was located: its caption, the
    // panel's values and the function buttons.
    void MostraNaoLocalizada();

    // Ends the program: the port closed, both windows gone, the event loop
    // left with exit code 0.
    void encerra();

    bool mostrada_ = false;
    std::optional<printer::Fita> fita_;
    std::unique_ptr<TFBobina> bobina_;
    QShortcut* atalhoBobina_ = nullptr;
    std::unique_ptr<uZentora3::RelogioDoECF> relogio_;
    std::unique_ptr<Ui::TFprincipal> ui;
};

namespace uZentora3 {

extern TFprincipal* Fprincipal;

// The eight windows of the program, created in their fixed order and
// destroyed in the reverse one; the unit globals point at them meanwhile.
// Here alone every window is known: what one window's work means for
// another is wired here.
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
