// Profile files read from disk: any content, any names.  Beyond not
// crashing: a written value reads back (under any case of its names), a
// second identical write changes nothing, other keys keep their values
// through a write and a removal, and the result has CR LF line ends; any
// bytes read from a file become valid UTF-8.
//
// Input: section, key, value, probe section, probe key (one a line), then
// the file's content.
#include <string>

#include "fuzz_target.h"
#include "profile/ini.h"
#include "profile/system_text.h"

namespace ini = profile;

namespace {

bool blank(char c) { return c == ' ' || c == '\t'; }

std::string trimmed(std::string_view s) {
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return std::string(s);
}

// The text with the characters that cannot stand in it removed, trimmed.
std::string without(std::string_view s, std::string_view banned) {
    std::string out;
    for (char c : s)
        if (banned.find(c) == std::string_view::npos) out += c;
    return trimmed(out);
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

std::string mapped(std::string s, char (*f)(char)) {
    for (char& c : s) c = f(c);
    return s;
}

bool sameName(const std::string& a, const std::string& b) { return mapped(a, lower) == mapped(b, lower); }

// What reading back a written value gives: blanks around it do not count,
// and a pair of enclosing double quotes is dropped.
std::string readBack(std::string_view value) {
    std::string v = trimmed(value);
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return v;
}

bool crlfOnly(const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) return false;
    return s.empty() || (s.size() >= 2 && s.compare(s.size() - 2, 2, "\r\n") == 0);
}

}  // namespace

ZENTORA_FUZZ_TARGET(ini_profile) {
    zentora::fuzz::Input in(data, size);
    const std::string_view rawSection = in.piece(), rawKey = in.piece(), rawValue = in.piece();
    const std::string_view rawProbeSection = in.piece(), rawProbeKey = in.piece();
    const std::string_view content = in.rest();

    FUZZ_CHECK(profile::validUtf8(profile::systemText(std::string(content))));

    // Whatever the names, nothing breaks.
    (void)ini::valueIn(content, rawSection, rawKey);
    (void)ini::hasKey(content, rawProbeSection, rawProbeKey);
    (void)ini::withValue(content, rawSection, rawKey, rawValue);
    (void)ini::withoutKey(content, rawSection, rawKey);

    // Names a program writes: one line, no brackets or '=' where they would
    // end the name, no comment mark in front of a key.
    const std::string section = without(rawSection, "\r\n]");
    std::string key = without(rawKey, "\r\n=");
    while (!key.empty() && (key.front() == ';' || key.front() == '[' || blank(key.front()))) key.erase(0, 1);
    const std::string value = without(rawValue, "\r\n");
    const std::string probeSection = without(rawProbeSection, "\r\n]");
    const std::string probeKey = without(rawProbeKey, "\r\n=");
    if (key.empty()) return 0;
    const bool probeIsOther = !(sameName(section, probeSection) && sameName(key, probeKey));

    const std::string written = ini::withValue(content, section, key, value);
    FUZZ_CHECK(crlfOnly(written));
    FUZZ_CHECK(ini::hasKey(written, section, key));
    FUZZ_CHECK(ini::valueIn(written, section, key) == readBack(value));
    FUZZ_CHECK(ini::valueIn(written, mapped(section, upper), mapped(key, lower)) == readBack(value));
    FUZZ_CHECK(ini::withValue(written, section, key, value) == written);
    if (probeIsOther)
        FUZZ_CHECK(ini::valueIn(written, probeSection, probeKey) == ini::valueIn(content, probeSection, probeKey));

    const std::string removed = ini::withoutKey(written, section, key);
    FUZZ_CHECK(crlfOnly(removed));
    if (!ini::hasKey(content, section, key)) FUZZ_CHECK(!ini::hasKey(removed, section, key));
    if (probeIsOther)
        FUZZ_CHECK(ini::valueIn(removed, probeSection, probeKey) == ini::valueIn(written, probeSection, probeKey));
    return 0;
}
