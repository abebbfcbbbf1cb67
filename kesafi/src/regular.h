// Opening a file the library reads: only a regular file.  A FIFO, a device
// or a folder would block the reader or feed it without end; it is refused
// at once, without waiting for anything on its other side.
#pragma once

#include <cstdio>
#include <string>

namespace kesafi {

// The file open for reading in binary, or null (missing, unreadable, or
// not a regular file).
std::FILE* abreRegular(const std::string& arquivo);

}  // namespace kesafi
