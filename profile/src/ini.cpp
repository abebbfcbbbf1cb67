#include "profile/ini.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "profile/system_text.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace profile {
namespace fs = std::filesystem;
namespace {

// CR LF, LF and a lone CR each end a line.
std::vector<std::string_view> splitLines(std::string_view content) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = content.size();
        lines.push_back(content.substr(start, end - start));
        start = end + 1;
        if (end + 1 < content.size() && content[end] == '\r' && content[end + 1] == '\n') ++start;
    }
    return lines;
}

std::string_view trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// True when the line is a section header; its name goes to `name`.
bool sectionHeader(std::string_view line, std::string_view& name) {
    line = trim(line);
    if (line.size() < 2 || line.front() != '[') return false;
    size_t close = line.find(']');
    if (close == std::string_view::npos) return false;
    name = trim(line.substr(1, close - 1));
    return true;
}

// A key line; `head` is the line up to and including its '='.
bool keyLine(std::string_view line, std::string_view& key, std::string_view& value, std::string_view& head) {
    std::string_view t = trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[') return false;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    key = trim(line.substr(0, eq));
    value = trim(line.substr(eq + 1));
    head = line.substr(0, eq + 1);
    return !key.empty();
}

struct Location {
    long sectionLine = -1;  // header line of the first matching section
    long lastLine = -1;     // last non-blank line of that section
    long keyLine = -1;      // line of the key inside it
    std::string_view value;
    std::string_view head;  // the key's line up to its '=', as in the file
};

// An empty key looks for the section only.
Location locate(const std::vector<std::string>& lines, std::string_view section, std::string_view key) {
    Location loc;
    bool inside = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view name;
        if (sectionHeader(lines[i], name)) {
            if (inside) break;  // only the first section of that name counts
            if (sameName(name, section)) {
                inside = true;
                loc.sectionLine = loc.lastLine = long(i);
            }
            continue;
        }
        if (!inside) continue;
        if (!trim(lines[i]).empty()) loc.lastLine = long(i);
        std::string_view k, v, head;
        if (loc.keyLine < 0 && !key.empty() && keyLine(lines[i], k, v, head) && sameName(k, key)) {
            loc.keyLine = long(i);
            loc.value = v;
            loc.head = head;
        }
    }
    return loc;
}

}  // namespace

Document::Document(std::string_view content) {
    for (auto l : splitLines(content)) lines_.emplace_back(l);
}

std::string Document::value(std::string_view section, std::string_view key) const {
    const Location loc = locate(lines_, section, key);
    if (loc.keyLine < 0) return {};
    std::string_view v = loc.value;
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return std::string(v);
}

bool Document::has(std::string_view section, std::string_view key) const {
    return !key.empty() && locate(lines_, section, key).keyLine >= 0;
}

bool Document::hasSection(std::string_view section) const { return locate(lines_, section, {}).sectionLine >= 0; }

void Document::set(std::string_view section, std::string_view key, std::string_view value) {
    const Location loc = locate(lines_, section, key);
    if (loc.keyLine >= 0) {
        lines_[size_t(loc.keyLine)] = std::string(loc.head) + std::string(value);
    } else if (loc.sectionLine >= 0) {
        lines_.insert(lines_.begin() + loc.lastLine + 1, std::string(key) + "=" + std::string(value));
    } else {
        if (!lines_.empty() && !trim(lines_.back()).empty()) lines_.emplace_back();
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(std::string(key) + "=" + std::string(value));
    }
}

void Document::remove(std::string_view section, std::string_view key) {
    const Location loc = locate(lines_, section, key);
    if (loc.keyLine >= 0) lines_.erase(lines_.begin() + loc.keyLine);
}

std::string Document::text() const {
    size_t size = 0;
    for (const auto& l : lines_) size += l.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& l : lines_) {
        out += l;
        out += "\r\n";
    }
    return out;
}

namespace {

// The file a path names, symbolic links followed (a link to a missing file
// names that file).
fs::path resolved(fs::path p) {
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(p, ec)); ++hops) {
        const fs::path target = fs::read_symlink(p, ec);
        if (ec) break;
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    return p;
}

#if !defined(_WIN32)
bool writeAll(int fd, std::string_view content) {
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

// Rewrites an existing file through its own descriptor, for a folder where
// no new file can be made.  The room for the new content is claimed first,
// so a full disk refuses the write before any byte changes.
bool rewriteInPlace(const fs::path& target, std::string_view content) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0;
    if (ok && off_t(content.size()) > st.st_size) {
        const int err = ::posix_fallocate(fd, 0, off_t(content.size()));
        ok = err == 0 || err == EOPNOTSUPP || err == EINVAL;
    }
    ok = ok && writeAll(fd, content) && ::ftruncate(fd, off_t(content.size())) == 0 && ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}
#endif

}  // namespace

std::string valueIn(std::string_view content, std::string_view section, std::string_view key) {
    return Document(content).value(section, key);
}

bool hasKey(std::string_view content, std::string_view section, std::string_view key) {
    return Document(content).has(section, key);
}

std::string withValue(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value) {
    Document document(content);
    document.set(section, key, value);
    return document.text();
}

std::string withoutKey(std::string_view content, std::string_view section, std::string_view key) {
    Document document(content);
    document.remove(section, key);
    return document.text();
}

FileText load(const std::string& path) {
    FileText file;
    std::error_code ec;
    const fs::file_status status = fs::status(fs::path(path), ec);
    if (status.type() == fs::file_type::not_found) return file;
    file.state = FileText::State::Unreadable;
    if (ec || fs::is_directory(status)) return file;
    std::ifstream in(fs::path(path), std::ios::binary);
    if (!in) return file;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) return file;
    file.state = FileText::State::Read;
    file.text = systemText(std::move(bytes).str());
    return file;
}

bool replaceFile(const std::string& path, std::string_view content) {
    const fs::path target = resolved(fs::path(path));
    std::error_code ec;
    if (fs::is_directory(target, ec)) return false;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec)) return false;
    const bool exists = fs::exists(target, ec);
#if !defined(_WIN32)
    // A file the system would not let us open for writing is refused as the
    // Windows routines refuse it, even though a rename could replace it.
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return false;
#endif
    std::random_device rd;
    const fs::path temp = folder / ("." + target.filename().string() + "." + std::to_string(rd()) + ".tmp");
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) {
#if !defined(_WIN32)
            // No new file can be made beside it (a read-only folder): the
            // file itself is rewritten.
            if (exists) return rewriteInPlace(target, content);
#endif
            return false;
        }
        out.write(content.data(), std::streamsize(content.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temp, ec);
            return false;
        }
    }
#if !defined(_WIN32)
    {
        int fd = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
        struct stat st {};
        if (::stat(target.c_str(), &st) == 0) ::chmod(temp.c_str(), st.st_mode & 07777);
    }
#endif
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
#if !defined(_WIN32)
    int dir = ::open(folder.c_str(), O_RDONLY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
#endif
    return true;
}

std::string readString(const std::string& path, std::string_view section, std::string_view key) {
    return valueIn(load(path).text, section, key);
}

bool writeString(const std::string& path, std::string_view section, std::string_view key, std::string_view value) {
    const FileText file = load(path);
    if (file.state == FileText::State::Unreadable) return false;
    return replaceFile(path, withValue(file.text, section, key, value));
}

bool deleteKey(const std::string& path, std::string_view section, std::string_view key) {
    const FileText file = load(path);
    if (file.state == FileText::State::Unreadable) return false;
    if (!hasKey(file.text, section, key)) return true;
    return replaceFile(path, withoutKey(file.text, section, key));
}

}  // namespace profile
