#include "clock.h"

namespace platform::clock {
namespace {
QDateTime gFixed;
}

QDateTime now() { return gFixed.isValid() ? gFixed : QDateTime::currentDateTime(); }

void set(const QDateTime& moment) { gFixed = moment; }

void advance(qint64 milliseconds) {
    if (gFixed.isValid()) gFixed = gFixed.addMSecs(milliseconds);
}

void release() { gFixed = QDateTime(); }

}  // namespace platform::clock
