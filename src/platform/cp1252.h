// Windows-1252, the 8-bit code page of the printer library and of the text
// files the program reads and writes.
#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Characters with no place in the code page become '?'.
QByteArray toCp1252(const QString& text);
QString fromCp1252(const QByteArray& bytes);
QString fromCp1252(const char* bytes, qsizetype length);

}  // namespace platform
