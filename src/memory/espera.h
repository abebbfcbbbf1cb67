// Library calls that may take long (a download of the whole tape, a mirror,
// a conversion): the call runs on a worker thread while the window keeps
// painting and shows that it is busy.
#pragma once

#include <QString>
#include <functional>

class QAbstractButton;

namespace uDadosMFeMFD {

// Runs `chamada` on a worker thread and returns its result.  Meanwhile this
// thread repaints the windows and runs their timers but takes no user input;
// `botao` carries a busy bar ("PbAguarde") and the cursor shows the wait.
// The wait counts as an open box (platform::dialogs::anyOpen), so a timed
// command waits for its end.
int AguardaChamada(QAbstractButton* botao, const std::function<int()>& chamada);

}  // namespace uDadosMFeMFD
