// Profile (INI) files with the semantics of the Windows profile routines.
//
// Plain C++, shared by the program's platform layer and the printer library.
// Names are matched without regard to case; a missing file, section or key
// reads empty; a value that both begins and ends with a double quote is read
// without those quotes; blanks around an unquoted value do not count.  CR LF,
// LF and a lone CR each end a line.  A write replaces the value of the key's
// line in place (the key keeps its spelling in the file), adds a new key at
// the end of its section and a new section at the end of the file, and
// creates a missing file.  Written lines end with CR LF.
//
// Files are text in the system's code page (system_text.h).  A write goes to
// a temporary file beside the file it replaces, so a crash never leaves a
// torn file; it follows a symbolic link to the file it names and keeps that
// file's permission bits.  An existing file that cannot be read is never
// written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace profile {

// A profile file's text split into its lines once, for any number of
// lookups and edits (each of the free functions below parses its text anew).
class Document {
public:
    explicit Document(std::string_view content = {});

    std::string value(std::string_view section, std::string_view key) const;
    bool has(std::string_view section, std::string_view key) const;
    bool hasSection(std::string_view section) const;
    void set(std::string_view section, std::string_view key, std::string_view value);
    void remove(std::string_view section, std::string_view key);
    // The lines, each ended with CR LF.
    std::string text() const;

private:
    std::vector<std::string> lines_;
};

// Value of `key` in `section` of the text `content`; empty when absent.
std::string valueIn(std::string_view content, std::string_view section, std::string_view key);

// True when `section` holds `key` (even with an empty value).
bool hasKey(std::string_view content, std::string_view section, std::string_view key);

// `content` with `key` of `section` set to `value` (verbatim).
std::string withValue(std::string_view content, std::string_view section, std::string_view key, std::string_view value);

// `content` without the line of `key` in `section`.
std::string withoutKey(std::string_view content, std::string_view section, std::string_view key);

// A profile file's text, in the system's code page.
struct FileText {
    enum class State { Read, Missing, Unreadable };
    State state = State::Missing;
    std::string text;  // empty unless Read
};
FileText load(const std::string& path);

// Replaces the file's bytes as they are.  False when the system refuses the
// write; the file is then as it was.
bool replaceFile(const std::string& path, std::string_view content);

// Over a file path.  Reads never fail (a file that cannot be read reads
// empty); writes return false when refused, an unreadable file included.
std::string readString(const std::string& path, std::string_view section, std::string_view key);
bool writeString(const std::string& path, std::string_view section, std::string_view key, std::string_view value);
bool deleteKey(const std::string& path, std::string_view section, std::string_view key);

}  // namespace profile
