// Dates and times of the printer's clock as this window shows and compares
// them: always dd/mm/yy and hh:mm:ss, whatever the machine's locale.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

namespace uComandosAdicionais {

// Characters inicio..inicio+5 (1-based) of a printer buffer holding ddmmyy,
// as "dd/mm/yy"; the pieces are taken as they are, blanks included.
QString dataDoBuffer(const QByteArray& buffer, int inicio = 1);
// The same for hhmmss, as "hh:mm:ss".
QString horaDoBuffer(const QByteArray& buffer, int inicio = 1);

// "dd/mm/yy" (years 2000 to 2099) as a date; nothing unless it is exactly
// that shape, all digits, and a day of the calendar.
std::optional<QDate> dataDeTexto(const QString& texto);
// "hh:mm:ss" (24-hour) as a time; nothing unless exactly that shape and valid.
std::optional<QTime> horaDeTexto(const QString& texto);

QString textoData(const QDate& data);  // dd/mm/yy
QString textoHora(const QTime& hora);  // hh:mm:ss

// A date and time of the wall clock, free of any time-zone rule, so that
// every day has 86400 seconds and adding a second never skips an hour.
QDateTime momento(const QDate& data, const QTime& hora);

// The difference label of the clock comparison for a difference of
// `segundos` (its sign ignored): days (at least two digits), hours, minutes,
// seconds.
QString textoDiferenca(qint64 segundos);

}  // namespace uComandosAdicionais
