// Answer buffers of the printer library: 8-bit text pre-filled with blanks
// to the field width, cut by 1-based position after the call.
#pragma once

#include <QByteArray>
#include <QString>

namespace printer {

// `width` blanks followed by the terminating zero (not counted in size()).
QByteArray bufferEmBranco(int width);

// Characters `first` to `first + length - 1` (1-based) of `buffer` as
// Unicode text; positions beyond its end yield a shorter or empty text.  A
// zero byte a library left inside the field reads as a blank.
QString campo(const QByteArray& buffer, int first, int length);

// The whole buffer as Unicode text (zero bytes read as blanks).
QString texto(const QByteArray& buffer);

// True when `texto` is all digits, at least one.
bool soDigitos(const QString& texto);

// Unicode text as a zero-terminated 8-bit text for a library argument.
QByteArray argumento(const QString& text);

}  // namespace printer
