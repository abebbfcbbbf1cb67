// Functions of a shared library looked up by name while the program runs:
// for what one library offers and another lacks.
#pragma once

#include <QString>

namespace platform::library {

// The file of the loaded library (or program) that holds `address`, for
// instance one of its functions; empty when the system cannot tell.
QString fileOf(const void* address);

// The exported function `name` of the library file `file` (loaded when it
// is not yet, and kept loaded); null when the library cannot be loaded or
// does not export it.
void* resolve(const QString& file, const char* name);

}  // namespace platform::library
