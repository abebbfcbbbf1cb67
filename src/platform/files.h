// Writing a whole file so that it is either all there or as it was: the
// program's reports, copies and saved files go through here, its profile
// files through Profile over the same routine (profile/ini.h's replaceFile
// has the rules: a temporary file beside it, checked through to the disk,
// then put in its place).
#pragma once

#include <QByteArray>
#include <QString>

namespace platform::files {

// Replaces (or creates) the file `path` with `bytes`.  False when the system
// refused any part of it (a full disk, no permission, a missing folder); the
// file is then as it was, and no other file is left behind.
bool replace(const QString& path, const QByteArray& bytes);

// True when another process holds an exclusive lock of the operating system
// on the file `path` (a program keeping its data open); false when the file
// is missing or nobody holds it.
bool lockedByAnother(const QString& path);

}  // namespace platform::files
