#include "ini_core.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform::ini {
namespace {

std::vector<std::string_view> splitLines(std::string_view content) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string_view::npos) end = content.size();
        std::string_view line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
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

bool keyLine(std::string_view line, std::string_view& key, std::string_view& value) {
    std::string_view t = trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[') return false;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    key = trim(line.substr(0, eq));
    value = trim(line.substr(eq + 1));
    return !key.empty();
}

struct Location {
    long sectionLine = -1;  // header line of the first matching section
    long lastLine = -1;     // last non-blank line of that section
    long keyLine = -1;      // line of the key inside it
    std::string_view value;
};

Location locate(const std::vector<std::string_view>& lines, std::string_view section, std::string_view key) {
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
        std::string_view k, v;
        if (loc.keyLine < 0 && keyLine(lines[i], k, v) && sameName(k, key)) {
            loc.keyLine = long(i);
            loc.value = v;
        }
    }
    return loc;
}

std::string join(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

std::vector<std::string> copyLines(std::string_view content) {
    std::vector<std::string> out;
    for (auto l : splitLines(content)) out.emplace_back(l);
    return out;
}

}  // namespace

std::string valueIn(std::string_view content, std::string_view section, std::string_view key) {
    const auto lines = splitLines(content);
    const Location loc = locate(lines, section, key);
    if (loc.keyLine < 0) return {};
    std::string_view v = loc.value;
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return std::string(v);
}

bool hasKey(std::string_view content, std::string_view section, std::string_view key) {
    return locate(splitLines(content), section, key).keyLine >= 0;
}

std::string withValue(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value) {
    const auto views = splitLines(content);
    const Location loc = locate(views, section, key);
    std::vector<std::string> lines = copyLines(content);
    std::string entry = std::string(key) + "=" + std::string(value);
    if (loc.keyLine >= 0) {
        lines[size_t(loc.keyLine)] = entry;
    } else if (loc.sectionLine >= 0) {
        lines.insert(lines.begin() + loc.lastLine + 1, entry);
    } else {
        if (!lines.empty() && !trim(lines.back()).empty()) lines.emplace_back();
        lines.push_back("[" + std::string(section) + "]");
        lines.push_back(entry);
    }
    return join(lines);
}

std::string withoutKey(std::string_view content, std::string_view section, std::string_view key) {
    const Location loc = locate(splitLines(content), section, key);
    std::vector<std::string> lines = copyLines(content);
    if (loc.keyLine >= 0) lines.erase(lines.begin() + loc.keyLine);
    return join(lines);
}

std::string readFile(const std::string& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) return {};
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool replaceFile(const std::string& path, std::string_view content) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    std::error_code ec;
    if (fs::is_directory(target, ec)) return false;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec)) return false;
#if !defined(_WIN32)
    // A file the system would not let us open for writing is refused as the
    // Windows routines refuse it, even though a rename could replace it.
    if (fs::exists(target, ec) && ::access(path.c_str(), W_OK) != 0) return false;
#endif
    std::random_device rd;
    const fs::path temp = folder / ("." + target.filename().string() + "." + std::to_string(rd()) + ".tmp");
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
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
        int fd = ::open(temp.c_str(), O_RDONLY);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0) ::chmod(temp.c_str(), st.st_mode & 07777);
    }
#endif
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
#if !defined(_WIN32)
    int dir = ::open(folder.c_str(), O_RDONLY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
#endif
    return true;
}

std::string readString(const std::string& path, std::string_view section, std::string_view key) {
    return valueIn(readFile(path), section, key);
}

bool writeString(const std::string& path, std::string_view section, std::string_view key, std::string_view value) {
    return replaceFile(path, withValue(readFile(path), section, key, value));
}

}  // namespace platform::ini
