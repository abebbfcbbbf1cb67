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

// Joins path pieces with the platform's separator.
QString join(const QString& a, const QString& b);

}  // namespace platform::paths

namespace platform::paths {

// File name of a program shipped beside the executable: "USB_Driver" here,
// "USB_Driver.exe" on Windows.
QString programFile(const QString& stem);

}  // namespace platform::paths
