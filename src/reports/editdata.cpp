#include "editdata.h"

#include <QAction>
#include <QCalendarWidget>
#include <QStyle>

#include "platform/clock.h"
#include "tfrelfiscais.h"

EditData::EditData(QWidget* parent) : QLineEdit(parent), calendario_(new QCalendarWidget(this)) {
    setInputMask(QStringLiteral("00/00/00; "));
    calendario_->setWindowFlags(Qt::Popup);
    calendario_->setAccessibleName(QStringLiteral("Calendário"));
    // Two-digit years: the calendar offers the century they stand for.
    calendario_->setDateRange(QDate(2000, 1, 1), QDate(2099, 12, 31));
    calendario_->setGridVisible(true);
    connect(calendario_, &QCalendarWidget::clicked, this, &EditData::escolhe);
    connect(calendario_, &QCalendarWidget::activated, this, &EditData::escolhe);

    QAction* abre = addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    abre->setToolTip(QStringLiteral("Calendário"));
    connect(abre, &QAction::triggered, this, &EditData::abreCalendario);
}

void EditData::abreCalendario() {
    const auto dia = URelFiscais::converteData(texto());
    calendario_->setSelectedDate(dia ? *dia : platform::clock::now().date());
    calendario_->adjustSize();
    calendario_->move(mapToGlobal(QPoint(0, height())));
    calendario_->show();
    calendario_->setFocus();
}

void EditData::escolhe(const QDate& dia) {
    calendario_->hide();
    setText(dia.toString(QStringLiteral("dd/MM/yy")));
    setFocus();
}
