// A date typed as dd/mm/yy over a mask whose blanks read as spaces, with a
// drop-down calendar: the date edits of the report windows.
#pragma once

#include <QLineEdit>

class QCalendarWidget;

class EditData : public QLineEdit {
    Q_OBJECT

public:
    explicit EditData(QWidget* parent = nullptr);

    // The text as the user sees it, slashes and blanks included: "  /  /  "
    // when nothing has been typed.
    QString texto() const { return displayText(); }

    // Drops the calendar down under the edit, on the edit's date (today's
    // when it holds none); choosing a day writes it as dd/mm/yy.  The button
    // at the edit's right end does the same.
    void abreCalendario();
    QCalendarWidget* calendario() const { return calendario_; }

private:
    void escolhe(const QDate& dia);

    QCalendarWidget* calendario_;
};
