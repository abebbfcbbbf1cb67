// Fields cut by position out of a library answer buffer whose bytes are
// anything the library left there, at any position and length.  The field
// holds exactly the characters of the buffer in that range (a zero byte read
// as a blank), never more than asked and never past the buffer's end.
//
// Input: first position, length (one a line), then the buffer.
#include <QByteArray>
#include <QString>
#include <algorithm>

#include "fuzz_target.h"
#include "platform/cp1252.h"
#include "printer/buffer.h"

ZENTORA_FUZZ_TARGET(buffer_campo) {
    zentora::fuzz::Input in(data, size);
    const int first = in.number();
    const int length = in.number();
    const std::string_view rest = in.rest();
    const QByteArray buffer(rest.data(), qsizetype(rest.size()));

    const QString field = printer::campo(buffer, first, length);
    const long long available = first >= 1 && first <= buffer.size() ? buffer.size() - first + 1 : 0;
    const long long expected = std::max(0LL, std::min<long long>(length, available));
    FUZZ_CHECK(field.size() == expected);
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char byte = buffer[qsizetype(first) - 1 + i];
        const QString one = byte == '\0' ? QStringLiteral(" ") : platform::fromCp1252(&byte, 1);
        FUZZ_CHECK(field[i] == one[0]);
    }

    const QString whole = printer::texto(buffer);
    FUZZ_CHECK(whole.size() == buffer.size());
    FUZZ_CHECK(!whole.contains(QChar(0)));
    return 0;
}
