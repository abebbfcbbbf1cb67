// Masked edits (rates, dates, COOs, reductions): a click anywhere in one that
// holds nothing typed puts the cursor at its first position, so that the
// digits typed next fill the field from its start instead of landing after
// the blanks.
#pragma once

class QLineEdit;
class QString;

namespace platform::masks {

// The number of literal characters (separators) of an input mask such as
// "00/00/00; " or "00,00%;_".
int literals(const QString& inputMask);
// True when `edit` has an input mask and no position of it is filled.
bool empty(const QLineEdit& edit);

// From now on, for every QLineEdit of the program.  Needs the application
// object; installed once per process.
void install();

}  // namespace platform::masks
