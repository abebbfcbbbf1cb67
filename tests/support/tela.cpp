#include "tela.h"

#include <QImage>
#include <QVariant>
#include <QWidget>

LegendaDesenhada legendaDesenhada(QWidget* controle) {
    const QVariant texto = controle->property("text");
    const QImage com = controle->grab().toImage();
    controle->setProperty("text", QString());
    const QImage sem = controle->grab().toImage();
    controle->setProperty("text", texto);

    LegendaDesenhada d;
    bool naLinha = false;
    for (int y = 0; y < com.height() && y < sem.height(); ++y) {
        bool tinta = false;
        for (int x = 0; x < com.width() && x < sem.width(); ++x) {
            if (com.pixel(x, y) == sem.pixel(x, y)) continue;
            tinta = true;
            d.area |= QRect(x, y, 1, 1);
        }
        if (tinta && !naLinha) ++d.linhas;
        naLinha = tinta;
    }
    return d;
}
