// What the eye reads on a window, a screen reader reads.  Qt names most
// controls by their captions, labels and buddies; while a reader is attached
// this module mends what it would read wrongly or not at all:
// - a caption or buddy label with carriage returns ("...\rComando Será
//   Enviado as : ...") reads as lines, not as control characters, and keeps
//   reading as the caption changes;
// - a button that shows only an icon reads its tip ("Calendário");
// - a message box reads its text and what its icon means.
// Controls without any caption (edits, grids, memos, gauges) are named by
// their windows, after the label beside them or their role.
#pragma once

#include <QString>

class QWidget;

namespace platform::accessibility {

// From now on, whenever accessibility is active (a screen reader attached,
// or QAccessible::setActive(true) in tests), the names above are kept.
// Needs the application object; installed once per process.
void install();

// A window made while the program runs, with its controls, named at once as
// the windows that were there when accessibility became active.
void installOn(QWidget* window);

// The name a caption gives: each carriage return, alone or before a line
// feed, read as a line break.
QString spoken(const QString& caption);

// A light of a panel of lights: `lit` as its and its labels' description,
// "Aceso" or "Apagado".
void setLit(QWidget* light, bool lit);

}  // namespace platform::accessibility
