// The signature line that ends every generated file, text or binary: "EAD",
// 256 upper-case hexadecimal digits and CR LF.  Header only, so that a
// program that only tells whether a file carries one needs no signing code.
#pragma once

#include <cstddef>
#include <string_view>

namespace ead {

// Hexadecimal digits of a key text and of the signature.
inline constexpr size_t kDigitos = 256;
// "EAD", the digits, CR LF.
inline constexpr size_t kTamanhoLinha = 3 + kDigitos + 2;

// True when `fim` (a file's last kTamanhoLinha bytes) stands where a
// signature line does: "EAD" at its start, CR LF at its end.  Whether the
// digits between are a signature is for the check to say.
inline bool lugarDeLinhaEad(std::string_view fim) {
    return fim.size() == kTamanhoLinha && fim.substr(0, 3) == "EAD" && fim.substr(3 + kDigitos) == "\r\n";
}

// True when `linha` is an EAD line: upper-case digits only, so that a
// changed letter case is a changed file.
inline bool linhaEad(std::string_view linha) {
    if (!lugarDeLinhaEad(linha)) return false;
    for (const char c : linha.substr(3, kDigitos))
        if ((c < '0' || c > '9') && (c < 'A' || c > 'F')) return false;
    return true;
}

}  // namespace ead
