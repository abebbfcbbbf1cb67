// Paths and the program's own folder.
#pragma once

#include <QString>

namespace platform::paths {

// The platform's path separator ('\\' on Windows, '/' elsewhere).
QChar separator();

// The folder of the executable with a trailing separator; tests may point
// the program at another installation folder.
QString executableFolder();
void setExecutableFolder(const QString& folder);

// `folder` with exactly one trailing separator.
QString withSeparator(const QString& folder);
// `folder` in native separators without a trailing one, a root ("/", "C:\")
// excepted.
QString withoutSeparator(const QString& folder);

// Joins path pieces with the platform's separator.
QString join(const QString& a, const QString& b);

}  // namespace platform::paths

namespace platform::paths {

// File name of a program shipped beside the executable: "USB_Driver" here,
// "USB_Driver.exe" on Windows.
QString programFile(const QString& stem);
// File name of a script shipped beside the executable: "Registra" here,
// "Registra.bat" on Windows.
QString scriptFile(const QString& stem);

}  // namespace platform::paths
