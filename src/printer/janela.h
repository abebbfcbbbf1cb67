// What every window of the program shares: the fixed frame, the caption of
// the function windows, placement over the main window and F1 help.
#pragma once

#include <QString>
#include <QWidget>

namespace printer {

// Caption of the function windows.
QString legendaPadrao();

// Fixed dialog border with the given title-bar buttons; the client area
// keeps the size the layout gives it.
void preparaJanela(QWidget* janela, Qt::WindowFlags botoes);

// F1 opens the help's start page in the default browser.
void instalaAjuda(QWidget* janela);
void abreAjuda();

// Places `janela` exactly over `principal`, repaints it and shows it, not modal.
void mostraSobre(QWidget* janela, const QWidget* principal);

}  // namespace printer
