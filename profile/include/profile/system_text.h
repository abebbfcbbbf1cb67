// The system's code page, in which the settings file, the registration files
// and the folder names the printer library receives are written: UTF-8 on
// Linux, the ANSI code page on Windows.
#pragma once

#include <string>
#include <string_view>

namespace profile {

// A file's bytes as text of the system's code page.  On Linux each line that
// is valid UTF-8 is read as UTF-8 and any other line (one saved on Windows)
// as Windows-1252, and a leading byte-order mark is dropped; on Windows the
// bytes are the text.
std::string systemText(std::string bytes);

bool validUtf8(std::string_view bytes);
// Windows-1252 text as text of the system's code page: UTF-8 on Linux; on
// Windows the bytes as they are.
std::string systemTextFromCp1252(std::string_view bytes);
// Windows-1252 to UTF-8; the five positions the code page leaves undefined
// become the C1 control of the same value.
std::string utf8FromCp1252(std::string_view bytes);

}  // namespace profile
