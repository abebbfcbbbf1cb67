#include "codepage.h"

namespace platform {

// Qt's local 8-bit encoding is UTF-8 on Unix and the ANSI code page on Windows.
QByteArray toSystemCodePage(const QString& text) { return text.toLocal8Bit(); }

QString fromSystemCodePage(std::string_view bytes) {
    return QString::fromLocal8Bit(bytes.data(), qsizetype(bytes.size()));
}

}  // namespace platform
