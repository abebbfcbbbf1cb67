// The free MFD space gauge from a percentage buffer as the library left it:
// always a percentage from 0 to 100, the leading two digits when the buffer
// starts with them.
//
// Input: the buffer.
#include <QByteArray>

#include "core/sessao.h"
#include "fuzz_target.h"

ZENTORA_FUZZ_TARGET(percentual_livre) {
    const QByteArray buffer(reinterpret_cast<const char*>(data), qsizetype(size));
    const int percent = uZentora3::percentualLivre(buffer);
    FUZZ_CHECK(percent >= 0 && percent <= 100);
    const auto digit = [&](qsizetype i) { return buffer.size() > i && buffer[i] >= '0' && buffer[i] <= '9'; };
    if (digit(0) && digit(1)) FUZZ_CHECK(percent == (buffer[0] - '0') * 10 + (buffer[1] - '0'));
    return 0;
}
