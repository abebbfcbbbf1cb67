#include "profile/system_text.h"

#include <cstdint>

namespace profile {
namespace {

// 0x80 to 0x9F; 0 marks the positions the code page leaves undefined.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

}  // namespace

bool validUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<uint8_t>(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        size_t length;
        char32_t c, least;
        if ((b & 0xE0) == 0xC0) {
            length = 2, c = b & 0x1F, least = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3, c = b & 0x0F, least = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4, c = b & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (bytes.size() - i < length) return false;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<uint8_t>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3F);
        }
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

std::string utf8FromCp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<uint8_t>(ch);
        const char32_t c = (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80] != 0) ? kHigh[b - 0x80] : b;
        appendUtf8(out, c);
    }
    return out;
}

std::string systemTextFromCp1252(std::string_view bytes) {
#if defined(_WIN32)
    return std::string(bytes);
#else
    return utf8FromCp1252(bytes);
#endif
}

std::string systemText(std::string bytes) {
#if defined(_WIN32)
    return bytes;
#else
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
    if (validUtf8(bytes)) return bytes;
    // One line saved by a Windows editor must not turn the others into
    // mojibake: each line is judged on its own.  CR and LF never occur
    // inside a character of either encoding.
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    const std::string_view all(bytes);
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = all.size();
        const std::string_view line = all.substr(start, end - start);
        if (validUtf8(line))
            out += line;
        else
            out += utf8FromCp1252(line);
        const size_t next = all.find_first_not_of("\r\n", end);
        const size_t stop = next == std::string_view::npos ? all.size() : next;
        out += all.substr(end, stop - end);
        start = stop;
    }
    return out;
#endif
}

}  // namespace profile
