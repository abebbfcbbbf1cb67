// Windows-1252 texts from the library and from files.  Every byte has a
// place: bytes to Unicode and back are the same bytes.  Unicode to bytes
// keeps the length, and what comes back is the original character or '?'.
//
// Input: the bytes, also read as UTF-16 code units.
#include <QByteArray>
#include <QString>
#include <cstring>

#include "fuzz_target.h"
#include "platform/cp1252.h"

ZENTORA_FUZZ_TARGET(cp1252) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = platform::fromCp1252(bytes);
    FUZZ_CHECK(text.size() == bytes.size());
    FUZZ_CHECK(text == platform::fromCp1252(bytes.constData(), bytes.size()));
    FUZZ_CHECK(platform::toCp1252(text) == bytes);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80 || b >= 0xA0) FUZZ_CHECK(text[i].unicode() == b);
    }

    QString unicode(qsizetype(size / 2), QChar());
    if (!unicode.isEmpty()) std::memcpy(unicode.data(), data, size_t(unicode.size()) * 2);
    const QByteArray encoded = platform::toCp1252(unicode);
    FUZZ_CHECK(encoded.size() == unicode.size());
    const QString back = platform::fromCp1252(encoded);
    FUZZ_CHECK(back.size() == unicode.size());
    for (qsizetype i = 0; i < unicode.size(); ++i) {
        FUZZ_CHECK(back[i] == unicode[i] || (back[i] == QLatin1Char('?') && encoded[i] == '?'));
        if (unicode[i].unicode() < 0x80 || (unicode[i].unicode() >= 0xA0 && unicode[i].unicode() <= 0xFF))
            FUZZ_CHECK(back[i] == unicode[i]);
    }
    return 0;
}
