// The program's one rule for waiting on the library.  Every call runs on
// the user-interface thread and blocks it, except those that move whole
// memories or files (a download of the whole tape, a mirror, a conversion,
// a signature check): those go through AguardaChamada, which runs the call
// on a worker thread while the windows keep painting and show that it is
// busy.  Either way nothing a timer sends may reach the printer meanwhile:
// every timer that sends commands does nothing while
// platform::dialogs::anyOpen(), which the wait holds as an open box does.
#pragma once

#include <QString>
#include <functional>

class QAbstractButton;

namespace printer {

// Runs `chamada` on a worker thread and returns its result.  Meanwhile this
// thread repaints the windows and runs their timers but takes no user input;
// `botao` carries a busy bar ("PbAguarde") and the cursor shows the wait.
// The wait counts as an open box (platform::dialogs::anyOpen), so a timed
// command waits for its end.
int AguardaChamada(QAbstractButton* botao, const std::function<int()>& chamada);

}  // namespace printer
