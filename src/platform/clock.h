// The current date and time of the computer, through one function that
// tests can set.
#pragma once

#include <QDateTime>

namespace platform::clock {

QDateTime now();

// Tests: the clock stands at `moment` until advanced, released or set again.
void set(const QDateTime& moment);
void advance(qint64 milliseconds);
void release();

}  // namespace platform::clock
