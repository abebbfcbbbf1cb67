#include "tela.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVariant>
#include <QWidget>

LegendaDesenhada diferenca(const QImage& com, const QImage& sem) {
    LegendaDesenhada d;
    bool naLinha = false;
    for (int y = 0; y < com.height() && y < sem.height(); ++y) {
        bool tinta = false;
        for (int x = 0; x < com.width() && x < sem.width(); ++x) {
            if (com.pixel(x, y) == sem.pixel(x, y)) continue;
            tinta = true;
            ++d.pontos;
            d.area |= QRect(x, y, 1, 1);
        }
        if (tinta && !naLinha) ++d.linhas;
        naLinha = tinta;
    }
    return d;
}

LegendaDesenhada legendaDesenhada(QWidget* controle) {
    const QVariant texto = controle->property("text");
    const QImage com = controle->grab().toImage();
    controle->setProperty("text", QString());
    const QImage sem = controle->grab().toImage();
    controle->setProperty("text", texto);
    return diferenca(com, sem);
}

LegendaDesenhada tituloDesenhado(QTableWidget* grade, int coluna) {
    QTableWidgetItem* item = grade->horizontalHeaderItem(coluna);
    const QString texto = item->text();
    const QImage com = grade->horizontalHeader()->grab().toImage();
    item->setText(QString());
    const QImage sem = grade->horizontalHeader()->grab().toImage();
    item->setText(texto);
    return diferenca(com, sem);
}
