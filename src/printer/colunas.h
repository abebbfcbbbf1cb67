// A text box that shows what the printer printed, line for line.
#pragma once

class QPlainTextEdit;

namespace printer {

// Characters on a line of the printer's paper.
inline constexpr int kColunasDaBobina = 48;

// From now on `caixa` shows each line on one screen line: it never wraps,
// and its font (fixed-pitch, at most the size its window gives it) shrinks
// by half points until `colunas` characters fit the visible width, whatever
// the skin's borders and scroll bar.  A longer line scrolls sideways.
void mostraEmColunas(QPlainTextEdit* caixa, int colunas);

}  // namespace printer
