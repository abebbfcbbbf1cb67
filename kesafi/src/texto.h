// Text helpers of the virtual printer: Windows-1252 conversion, money and
// date formatting, fixed-width fields and the printed lines of a document.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kesafi {

// Characters per printed line of the 80 mm thermal head.
inline constexpr int kColunas = 48;

// UTF-8 (as written in this library's sources) to Windows-1252.  Characters
// without a Windows-1252 form become '?'.
std::string cp1252(std::string_view utf8);

// True when a Windows-1252 text holds only what the printer stores in its
// tables: no control character (below 0x20, DEL) and none of the bytes
// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D).
bool gravavel(std::string_view cp);

// Exactly `width` characters: cut on the right or padded with blanks.
std::string padRight(std::string_view s, size_t width);
// Exactly `width` characters: cut on the left or padded with blanks in front.
std::string padLeft(std::string_view s, size_t width);
// Zero-padded decimal, cut to its last `width` digits.
std::string digits(int64_t value, size_t width);
// Amount in cents as "1.234,56" (negative with a leading minus).
std::string money(int64_t cents);

// The text without blanks at both ends.
std::string_view trimmed(std::string_view s);

// Builds a printed document: every line is at most kColunas characters (longer
// text wraps) and ends with CR LF.  Input texts are UTF-8 and are stored in
// Windows-1252.
class Impresso {
public:
    Impresso& linha(std::string_view utf8 = {});
    Impresso& centro(std::string_view utf8);
    // Left text, right text, blanks between them to fill the line.
    Impresso& colunas(std::string_view esquerda, std::string_view direita);
    Impresso& traco(char c = '-');
    // Raw Windows-1252 text, wrapped at kColunas (its own CR/LF start lines).
    Impresso& bruto(std::string_view cp);
    const std::string& texto() const { return texto_; }

private:
    std::string texto_;
};

}  // namespace kesafi
