#include "editdata.h"

#include <QAction>
#include <QCalendarWidget>
#include <QHeaderView>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <algorithm>

#include "datas.h"
#include "platform/clock.h"

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
    // The size hint leaves out what a skin adds to the days (paddings,
    // fonts): grown until every week and weekday shows whole.
    if (auto* dias = calendario_->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"))) {
        const int falta = dias->verticalHeader()->length() - dias->viewport()->height();
        const int faltaLargura = dias->horizontalHeader()->length() - dias->viewport()->width();
        if (falta > 0 || faltaLargura > 0)
            calendario_->resize(calendario_->size() + QSize(std::max(faltaLargura, 0), std::max(falta, 0)));
    }
    // Above the edit when there is no room under it.
    if (const QScreen* tela = screen()) {
        const QRect livre = tela->availableGeometry();
        if (calendario_->frameGeometry().bottom() > livre.bottom())
            calendario_->move(mapToGlobal(QPoint(0, -calendario_->frameGeometry().height())));
    }
    calendario_->setFocus();
}

void EditData::escolhe(const QDate& dia) {
    calendario_->hide();
    setText(dia.toString(QStringLiteral("dd/MM/yy")));
    setFocus();
}
