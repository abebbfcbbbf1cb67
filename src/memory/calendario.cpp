#include "calendario.h"

#include <QAction>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

#include "intervalo.h"
#include "platform/clock.h"

namespace uDadosMFeMFD {

namespace {

// A small down-pointing triangle for the edit's drop-down button.
QIcon setaAbaixo() {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3a, 0x44, 0x50));
    p.drawPolygon(QPolygonF({QPointF(6, 9), QPointF(18, 9), QPointF(12, 16)}));
    p.end();
    pixmap.setDevicePixelRatio(2.0);
    return QIcon(pixmap);
}

void abreCalendario(QLineEdit* edicao) {
    auto* mes = new QCalendarWidget(edicao);
    mes->setWindowFlags(Qt::Popup);
    mes->setAttribute(Qt::WA_DeleteOnClose);
    mes->setGridVisible(true);
    // Two-digit years in the edit: the calendar offers what they can hold.
    mes->setDateRange(QDate(2000, 1, 1), QDate(2099, 12, 31));
    const auto atual = dataDoTexto(edicao->displayText());
    mes->setSelectedDate(atual ? *atual : platform::clock::now().date());
    const auto escolhe = [edicao, mes](QDate dia) {
        edicao->setText(dia.toString(QStringLiteral("dd/MM/yy")));
        mes->close();
    };
    QObject::connect(mes, &QCalendarWidget::clicked, edicao, escolhe);
    QObject::connect(mes, &QCalendarWidget::activated, edicao, escolhe);
    mes->move(edicao->mapToGlobal(QPoint(0, edicao->height())));
    mes->show();
}

}  // namespace

void instalaCalendario(QLineEdit* edicao) {
    QAction* abrir = edicao->addAction(setaAbaixo(), QLineEdit::TrailingPosition);
    abrir->setObjectName(edicao->objectName() + QStringLiteral("Calendario"));
    QObject::connect(abrir, &QAction::triggered, edicao, [edicao] { abreCalendario(edicao); });
}

}  // namespace uDadosMFeMFD
