// Calendar arithmetic of the virtual printer.  Times are "wall seconds": the
// local civil time of the computer counted as if it were UTC, so that a day
// always has 86400 seconds and no time-zone rule shifts a document.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kesafi {

struct Civil {
    int ano, mes, dia, hora, minuto, segundo;
};

// Local civil time of the computer now, in wall seconds.
int64_t wallNow();

Civil civil(int64_t wall);
int64_t wallOf(const Civil& c);
// Day number yyyymmdd of a wall time.
int dayOf(int64_t wall);
// Wall time of 00:00:00 of a yyyymmdd day.
int64_t startOfDay(int day);

// Fixed formats of the printer's answers and documents.
std::string ddmmyy(int64_t wall);
std::string hhmmss(int64_t wall);
std::string ddmmyyyy(int64_t wall);
std::string dataBarra(int64_t wall);  // dd/mm/yyyy
std::string horaDois(int64_t wall);   // hh:mm:ss
std::string diaDdmmyy(int day);       // yyyymmdd as ddmmyy, "000000" for 0
std::string diaBarra(int day);        // yyyymmdd as dd/mm/yyyy

// Parsers; nullopt when the text is no valid date or time.  Dates accept
// "ddmmyy", "ddmmyyyy", "dd/mm/yy" and "dd/mm/yyyy" (two-digit years are
// 2000-2099); the result is yyyymmdd.
std::optional<int> parseDate(std::string_view text);
// "hhmmss" or "hh:mm:ss": seconds into the day.
std::optional<int> parseTime(std::string_view text);
// "ddmmyyyyhhmmss".
std::optional<int64_t> parseStamp(std::string_view text);

}  // namespace kesafi
