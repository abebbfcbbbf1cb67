#include "texto.h"

#include <cstdlib>

namespace kesafi {

std::string cp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        unsigned cp = 0;
        size_t len = 0;
        if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            len = 4;
        } else {
            out.push_back('?');
            ++i;
            continue;
        }
        if (i + len > utf8.size()) {
            out.push_back('?');
            break;
        }
        for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += len;
        if (cp >= 0xA0 && cp <= 0xFF) {
            out.push_back(static_cast<char>(cp));
        } else {
            switch (cp) {
                case 0x20AC:
                    out.push_back('\x80');
                    break;
                case 0x201C:
                case 0x201D:
                    out.push_back('"');
                    break;
                case 0x2018:
                case 0x2019:
                    out.push_back('\'');
                    break;
                case 0x2013:
                    out.push_back('\x96');
                    break;
                case 0x2014:
                    out.push_back('\x97');
                    break;
                case 0x2022:
                    out.push_back('\x95');
                    break;
                default:
                    out.push_back('?');
                    break;
            }
        }
    }
    return out;
}

bool gravavel(std::string_view cp) {
    for (const char ch : cp) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) return false;
    }
    return true;
}

std::string padRight(std::string_view s, size_t width) {
    std::string out(s.substr(0, width));
    out.resize(width, ' ');
    return out;
}

std::string padLeft(std::string_view s, size_t width) {
    if (s.size() >= width) return std::string(s.substr(s.size() - width));
    return std::string(width - s.size(), ' ') + std::string(s);
}

std::string digits(int64_t value, size_t width) {
    std::string s = std::to_string(value < 0 ? -value : value);
    if (s.size() > width) s = s.substr(s.size() - width);
    return std::string(width - s.size(), '0') + s;
}

std::string money(int64_t cents) {
    const bool negative = cents < 0;
    const uint64_t v = negative ? static_cast<uint64_t>(-cents) : static_cast<uint64_t>(cents);
    std::string whole = std::to_string(v / 100);
    std::string grouped;
    for (size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) grouped.push_back('.');
        grouped.push_back(whole[i]);
    }
    const unsigned frac = static_cast<unsigned>(v % 100);
    return (negative ? "-" : "") + grouped + "," + static_cast<char>('0' + frac / 10) +
           static_cast<char>('0' + frac % 10);
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

Impresso& Impresso::bruto(std::string_view cp) {
    size_t start = 0;
    while (start <= cp.size()) {
        size_t end = cp.find_first_of("\r\n", start);
        std::string_view line = cp.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        do {
            texto_.append(line.substr(0, kColunas));
            texto_.append("\r\n");
            line.remove_prefix(std::min<size_t>(line.size(), kColunas));
        } while (!line.empty());
        if (end == std::string_view::npos) break;
        if (cp[end] == '\r' && end + 1 < cp.size() && cp[end + 1] == '\n') ++end;
        start = end + 1;
        if (start == cp.size()) break;
    }
    return *this;
}

Impresso& Impresso::linha(std::string_view utf8) { return bruto(cp1252(utf8)); }

Impresso& Impresso::centro(std::string_view utf8) {
    const std::string cp = cp1252(utf8);
    if (cp.size() >= static_cast<size_t>(kColunas)) return bruto(cp);
    return bruto(std::string((kColunas - cp.size()) / 2, ' ') + cp);
}

Impresso& Impresso::colunas(std::string_view esquerda, std::string_view direita) {
    const std::string l = cp1252(esquerda), r = cp1252(direita);
    if (l.size() + r.size() + 1 > static_cast<size_t>(kColunas)) return bruto(l).bruto(padLeft(r, kColunas));
    return bruto(l + std::string(kColunas - l.size() - r.size(), ' ') + r);
}

Impresso& Impresso::traco(char c) { return bruto(std::string(kColunas, c)); }

}  // namespace kesafi
