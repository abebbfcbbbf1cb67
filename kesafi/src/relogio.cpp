#include "relogio.h"

#include <ctime>

namespace kesafi {
namespace {

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
int64_t daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

int64_t floorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

bool allDigits(std::string_view s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return !s.empty();
}

int num(std::string_view s) {
    int v = 0;
    for (char c : s) v = v * 10 + (c - '0');
    return v;
}

bool validDate(int y, int m, int d) {
    if (m < 1 || m > 12 || d < 1) return false;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int limit = days[m - 1];
    if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0)) limit = 29;
    return d <= limit;
}

std::string two(int v) { return std::string{static_cast<char>('0' + v / 10 % 10), static_cast<char>('0' + v % 10)}; }

}  // namespace

int64_t wallNow() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return static_cast<int64_t>(t) + tm.tm_gmtoff;
}

Civil civil(int64_t wall) {
    const int64_t days = floorDiv(wall, 86400);
    const int64_t secs = wall - days * 86400;
    Civil c{};
    civilFromDays(days, c.ano, c.mes, c.dia);
    c.hora = static_cast<int>(secs / 3600);
    c.minuto = static_cast<int>(secs / 60 % 60);
    c.segundo = static_cast<int>(secs % 60);
    return c;
}

int64_t wallOf(const Civil& c) {
    return daysFromCivil(c.ano, c.mes, c.dia) * 86400 + c.hora * 3600 + c.minuto * 60 + c.segundo;
}

int dayOf(int64_t wall) {
    const Civil c = civil(wall);
    return c.ano * 10000 + c.mes * 100 + c.dia;
}

int64_t startOfDay(int day) { return daysFromCivil(day / 10000, day / 100 % 100, day % 100) * 86400; }

std::string ddmmyy(int64_t wall) {
    const Civil c = civil(wall);
    return two(c.dia) + two(c.mes) + two(c.ano % 100);
}
std::string hhmmss(int64_t wall) {
    const Civil c = civil(wall);
    return two(c.hora) + two(c.minuto) + two(c.segundo);
}
std::string ddmmyyyy(int64_t wall) {
    const Civil c = civil(wall);
    return two(c.dia) + two(c.mes) + two(c.ano / 100) + two(c.ano % 100);
}
std::string dataBarra(int64_t wall) {
    const Civil c = civil(wall);
    return two(c.dia) + "/" + two(c.mes) + "/" + two(c.ano / 100) + two(c.ano % 100);
}
std::string horaDois(int64_t wall) {
    const Civil c = civil(wall);
    return two(c.hora) + ":" + two(c.minuto) + ":" + two(c.segundo);
}
std::string diaDdmmyy(int day) {
    if (day <= 0) return "000000";
    return two(day % 100) + two(day / 100 % 100) + two(day / 10000 % 100);
}
std::string diaBarra(int day) {
    if (day <= 0) return "00/00/0000";
    return two(day % 100) + "/" + two(day / 100 % 100) + "/" + two(day / 1000000) + two(day / 10000 % 100);
}

std::optional<int> parseDate(std::string_view text) {
    std::string compact;
    if (text.size() == 8 && text[2] == '/' && text[5] == '/') {
        compact = std::string(text.substr(0, 2)) + std::string(text.substr(3, 2)) + std::string(text.substr(6, 2));
    } else if (text.size() == 10 && text[2] == '/' && text[5] == '/') {
        compact = std::string(text.substr(0, 2)) + std::string(text.substr(3, 2)) + std::string(text.substr(6, 4));
    } else {
        compact = std::string(text);
    }
    if (!allDigits(compact) || (compact.size() != 6 && compact.size() != 8)) return std::nullopt;
    const int d = num(compact.substr(0, 2)), m = num(compact.substr(2, 2));
    int y = num(compact.substr(4));
    if (compact.size() == 6) y += 2000;
    if (!validDate(y, m, d)) return std::nullopt;
    return y * 10000 + m * 100 + d;
}

std::optional<int> parseTime(std::string_view text) {
    std::string compact;
    if (text.size() == 8 && text[2] == ':' && text[5] == ':')
        compact = std::string(text.substr(0, 2)) + std::string(text.substr(3, 2)) + std::string(text.substr(6, 2));
    else
        compact = std::string(text);
    if (compact.size() != 6 || !allDigits(compact)) return std::nullopt;
    const int h = num(compact.substr(0, 2)), mi = num(compact.substr(2, 2)), s = num(compact.substr(4, 2));
    if (h > 23 || mi > 59 || s > 59) return std::nullopt;
    return h * 3600 + mi * 60 + s;
}

std::optional<int64_t> parseStamp(std::string_view text) {
    if (text.size() != 14) return std::nullopt;
    const auto day = parseDate(text.substr(0, 8));
    const auto time = parseTime(text.substr(8, 6));
    if (!day || !time) return std::nullopt;
    return startOfDay(*day) + *time;
}

}  // namespace kesafi
