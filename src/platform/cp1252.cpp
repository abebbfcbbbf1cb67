#include "cp1252.h"

#include <QStringList>
#include <algorithm>

namespace platform {
namespace {

// 0x80 to 0x9F; 0 marks the five positions the code page leaves undefined,
// which are kept as the C1 control of the same value.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t decode(unsigned char c) {
    if (c >= 0x80 && c <= 0x9F && kHigh[c - 0x80] != 0) return kHigh[c - 0x80];
    return c;
}

char encode(char16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return char(u);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u || (kHigh[i] == 0 && u == 0x80 + i)) return char(0x80 + i);
    return '?';
}

}  // namespace

QByteArray toCp1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) out.append(encode(ch.unicode()));
    return out;
}

QString fromCp1252(const char* bytes, qsizetype length) {
    QString out;
    out.reserve(length);
    for (qsizetype i = 0; i < length; ++i) out.append(QChar(decode(static_cast<unsigned char>(bytes[i]))));
    return out;
}

QString fromCp1252(const QByteArray& bytes) { return fromCp1252(bytes.constData(), bytes.size()); }

namespace {

bool control(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

bool storable(char32_t c) {
    if (c > 0xFFFF || control(c)) return false;
    const char16_t u = char16_t(c);
    return u < 0x80 || encode(u) != '?';
}

}  // namespace

std::vector<char32_t> unstorable(const QString& text) {
    std::vector<char32_t> out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        char32_t c = ch.unicode();
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            c = QChar::surrogateToUcs4(ch, text.at(++i));
        if (!storable(c) && std::find(out.begin(), out.end(), c) == out.end()) out.push_back(c);
    }
    return out;
}

QString describeCharacters(const std::vector<char32_t>& characters) {
    QStringList parts;
    for (char32_t c : characters) {
        const QString code = QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
        const bool visible = !control(c) && !(c >= 0xD800 && c <= 0xDFFF);
        parts << (visible ? QString::fromUcs4(&c, 1) + QStringLiteral(" (") + code + QLatin1Char(')') : code);
    }
    return parts.join(QStringLiteral(", "));
}

}  // namespace platform
