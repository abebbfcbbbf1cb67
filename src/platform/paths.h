// Paths and the program's own folder.
#pragma once

#include <QString>

namespace platform::paths {

// The platform's path separator ('\\' on Windows, '/' elsewhere).
QChar separator();

// The program's folder (sPastaBase) with a trailing separator: the folder
// named by the environment variable ZENTORA_PASTA_BASE when it is set (the
// package's launcher points it at the user's data folder), else the folder
// of the executable.  Tests may point the program at another folder.
QString executableFolder();
void setExecutableFolder(const QString& folder);
// The folder the running executable lies in, with a trailing separator,
// whatever ZENTORA_PASTA_BASE says: the programs shipped with it are started
// from there, never through the user's data folder, where anybody who can
// write the folder could put another program in their place.  A folder set
// by tests stands for it as well.
QString installationFolder();

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
