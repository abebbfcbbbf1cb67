// What a window looks like on screen: the caption of a label or button, or
// of a grid's column, as Qt draws it, found by grabbing the control offscreen.
#pragma once

#include <QImage>
#include <QRect>

class QTableWidget;
class QWidget;

// Where the caption of `controle` (a label or a button: its "text") draws.
struct LegendaDesenhada {
    int linhas = 0;  // bands of rows with ink, separated by blank rows
    QRect area;      // the pixels it touches, in the control's coordinates
    int pontos = 0;  // how many pixels it touches
};

// The pixels that differ between two grabs of one control.
LegendaDesenhada diferenca(const QImage& com, const QImage& sem);

// Grabs the control as it is and with an empty caption; the rows and
// columns that differ are the caption's.
LegendaDesenhada legendaDesenhada(QWidget* controle);
// Where the caption of column `coluna` of the grid draws, in its header's
// coordinates: the header grabbed as it is and with that caption empty.
LegendaDesenhada tituloDesenhado(QTableWidget* grade, int coluna);
