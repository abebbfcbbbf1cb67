#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

#include <QStringList>

#include "platform/dialogs.h"

class QFrame;

namespace Ui {
class TFstatus;
}

class TFstatus : public QWidget {
    Q_OBJECT

public:
    explicit TFstatus(QWidget* parent = nullptr);
    ~TFstatus() override;

    // The save and open dialogs every window borrows.
    platform::dialogs::FileDialog JanelaSalvar{platform::dialogs::FileDialog::Mode::Save};
    platform::dialogs::FileDialog JanelaAbrir{platform::dialogs::FileDialog::Mode::Open};

    // Keeps the strip under the main window (segue) as it moves; the fiscal
    // configuration window refreshes its counters at the same pace.
    QTimer TimerMonitorGeral;
    void TimerMonitorGeralTimer();

    // The window the strip sits under, this far below its top.
    static constexpr int kDistanciaDaPrincipal = 479;
    void segue(const QWidget* principal);

    // The sixteen status panels: ST1 from bit 128 to bit 1, then ST2 alike.
    QFrame* painel(int posicao) const;
    // A lit panel shows its own red; otherwise the skin's panel look.  True
    // when the panel changed.
    bool acendePainel(int posicao, bool aceso);
    static bool painelAceso(const QFrame* painel);

    // Appends lines to the status memo, unchanged.
    void acrescentaMemo(const QStringList& linhas);

signals:
    // Each tick of TimerMonitorGeral, once the strip has followed the main
    // window: what refreshes at this pace elsewhere.
    void monitorou();

protected:
    // The strip stays for the whole run: a request to close it alone is refused.
    void closeEvent(QCloseEvent* event) override;

private:
    void posiciona();

    std::array<QFrame*, 16> paineis_{};
    const QWidget* principal_ = nullptr;
    std::unique_ptr<Ui::TFstatus> ui;
};

namespace UStatus {
extern TFstatus* Fstatus;
// Sets the sixteen status panels and appends the memo block.
void AtualizaPainelStatus();
}  // namespace UStatus
