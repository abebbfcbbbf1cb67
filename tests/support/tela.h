// What a window looks like on screen: the caption of a label or button as
// Qt draws it, found by grabbing the control offscreen.
#pragma once

#include <QRect>

class QWidget;

// Where the caption of `controle` (a label or a button: its "text") draws.
struct LegendaDesenhada {
    int linhas = 0;  // bands of rows with ink, separated by blank rows
    QRect area;      // the pixels it touches, in the control's coordinates
};

// Grabs the control as it is and with an empty caption; the rows and
// columns that differ are the caption's.
LegendaDesenhada legendaDesenhada(QWidget* controle);
