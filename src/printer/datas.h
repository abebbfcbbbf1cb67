// Dates as the program and the printer write them: dd/mm/yy, whatever the
// machine's locale.
#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace URelFiscais {

// True when `texto` is a day of the calendar written dd/mm/yy, the way the
// program writes and reads dates whatever the machine's locale: day, month
// and year separated by '/', blanks around the numbers allowed, a
// two-digit year in 2000 to 2099 (a four-digit one as it stands).  Reports
// nothing.
bool DataValida(const QString& texto);
// The day of such a text; nothing when DataValida fails.
std::optional<QDate> converteData(const QString& texto);

}  // namespace URelFiscais
