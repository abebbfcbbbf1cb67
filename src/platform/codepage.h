// The system's code page: UTF-8 on Linux, the ANSI code page on Windows.  The
// settings file, the registration files and the folder names the printer
// library receives are in it; texts for the printer itself stay Windows-1252
// (cp1252.h).
#pragma once

#include <QByteArray>
#include <QString>
#include <string_view>

namespace platform {

QByteArray toSystemCodePage(const QString& text);
QString fromSystemCodePage(std::string_view bytes);

}  // namespace platform
