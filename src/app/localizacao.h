// The main window's side of the printer session: its information panel.
#pragma once

class QWidget;

namespace uZentora3 {

// A value of the panel as read just now, or kept from before: greyed, with
// a tip that says so.
void marcaAtualizado(QWidget* valor, bool atualizado);

}  // namespace uZentora3
