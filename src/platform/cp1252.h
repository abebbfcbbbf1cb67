// Windows-1252, the 8-bit code page of the printer library and of the text
// files the program reads and writes.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace platform {

// Characters with no place in the code page become '?'.
QByteArray toCp1252(const QString& text);
QString fromCp1252(const QByteArray& bytes);
QString fromCp1252(const char* bytes, qsizetype length);

// The characters of `text` a printer cannot store, each once in the order
// they first appear: those outside the code page (sent as '?') and the
// control characters (C0, DEL, and the C1 controls that stand for the five
// undefined positions).  A lone surrogate counts as outside.
std::vector<char32_t> unstorable(const QString& text);
// "Ł (U+0141), ź (U+017A), U+0009": each character and its code point, a
// control character by its code point alone.
QString describeCharacters(const std::vector<char32_t>& characters);

}  // namespace platform
