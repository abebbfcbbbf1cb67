// The drop-down calendar of the window's date edits: a button at the edit's
// right end opens a month under the edit; the chosen day is written into the
// edit as dd/mm/yy.
#pragma once

class QLineEdit;

namespace uDadosMFeMFD {

void instalaCalendario(QLineEdit* edicao);

}  // namespace uDadosMFeMFD
