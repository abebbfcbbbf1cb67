// The printer's clock and fiscal day in the main window's information panel:
// read from the printer after it is located and again after every command
// of the program, the clock then ticking on screen without asking the
// printer anything.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <optional>

#include "core/sessao.h"

class QLabel;

namespace uZentora3 {

// The printer's date (ddmmyy) and time (hhmmss) buffers as one moment;
// nothing when they do not read as one.
std::optional<QDateTime> dataHoraDoECF(const QByteArray& data, const QByteArray& hora);

class RelogioDoECF : public QObject {
public:
    RelogioDoECF(QLabel* relogio, QLabel* dia, QObject* parent);

    // The printer was located: from now on it is read once each handler
    // that sent commands is done (and no box is open).
    void inicia();
    // The printer is no longer located: nothing more is read or shown.
    void para();

    // Reads the printer's date and time, movement date and fiscal flags and
    // what printing changes in the panel (answers not analysed) and shows
    // them.  While a box is open it tries again a little later.
    void Le();
    // Advances the clock on screen by the computer's clock; sends nothing,
    // but asks for a read once the printer's clock has passed midnight.
    void TimerRelogioTimer();

    QTimer TimerRelogio;  // a second
    QTimer TimerLeitura;  // the pending read

private:
    void pedeLeitura();

    QLabel* relogio_;
    QLabel* dia_;
    bool ativo_ = false;
    std::optional<QDateTime> lido_;  // the printer's clock as read
    QDateTime aoLer_;                // the computer's clock then
};

}  // namespace uZentora3
