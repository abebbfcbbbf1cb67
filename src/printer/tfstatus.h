#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

#include "platform/dialogs.h"

class QFrame;
#include <QStringList>

namespace Ui {
class TFstatus;
}

class TFstatus : public QWidget {
    Q_OBJECT

public:
    explicit TFstatus(QWidget* parent = nullptr);
    ~TFstatus() override;

    std::unique_ptr<Ui::TFstatus> ui;

    // The save and open dialogs every window borrows.
    platform::dialogs::FileDialog JanelaSalvar{platform::dialogs::FileDialog::Mode::Save};
    platform::dialogs::FileDialog JanelaAbrir{platform::dialogs::FileDialog::Mode::Open};

    QTimer TimerMonitorGeral;
    void TimerMonitorGeralTimer();

    // The sixteen status panels: ST1 from bit 128 to bit 1, then ST2 alike.
    QFrame* painel(int posicao) const;
    // A lit panel shows its own red; otherwise the skin's panel look.  True
    // when the panel changed.
    bool acendePainel(int posicao, bool aceso);
    static bool painelAceso(const QFrame* painel);

    // Appends lines to the status memo, unchanged.
    void acrescentaMemo(const QStringList& linhas);

signals:
    // A command's answer was analysed (VerificaRetorno): what shows the
    // printer's state elsewhere reads it again once the handler is done.
    void comandoVerificado();

protected:
    // The strip stays for the whole run: a request to close it alone is refused.
    void closeEvent(QCloseEvent* event) override;

private:
    std::array<QFrame*, 16> paineis_{};
};

namespace UStatus {
extern TFstatus* Fstatus;
}
