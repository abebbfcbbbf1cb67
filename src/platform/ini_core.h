// Profile (INI) files with the semantics of the Windows profile routines.
//
// Plain C++ on 8-bit text, so that the printer library can share it with the
// program.  Names are matched without regard to case; a missing file, section
// or key reads empty; a value that both begins and ends with a double quote
// is read without those quotes; blanks around an unquoted value do not count.
// A write replaces the key's line in place, adds a new key at the end of its
// section and a new section at the end of the file, and creates a missing
// file.  Lines end with CR LF.  Every write goes to a temporary file in the
// same folder that then replaces the original, so a crash never leaves a torn
// file.
#pragma once

#include <string>
#include <string_view>

namespace platform::ini {

// Value of `key` in `section` of the text `content`; empty when absent.
std::string valueIn(std::string_view content, std::string_view section, std::string_view key);

// True when `section` holds `key` (even with an empty value).
bool hasKey(std::string_view content, std::string_view section, std::string_view key);

// `content` with `key` of `section` set to `value` (verbatim).
std::string withValue(std::string_view content, std::string_view section, std::string_view key, std::string_view value);

// `content` without the line of `key` in `section`.
std::string withoutKey(std::string_view content, std::string_view section, std::string_view key);

// Whole file as bytes; empty when it cannot be read.
std::string readFile(const std::string& path);

// Replaces the file atomically.  False when the system refuses the write.
bool replaceFile(const std::string& path, std::string_view content);

// Convenience over a file path.
std::string readString(const std::string& path, std::string_view section, std::string_view key);
bool writeString(const std::string& path, std::string_view section, std::string_view key, std::string_view value);

}  // namespace platform::ini
