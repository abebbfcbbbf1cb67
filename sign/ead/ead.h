// The EAD signature line that ends every file the printer library generates,
// text or binary, and its check.
//
// The file's last line is "EAD", 256 upper-case hexadecimal digits and CR LF.
// The digits are the raw RSA (no padding) with the private key of a 128-byte
// block: byte 0 = 0x10 (the digest's length), bytes 1 to 16 the MD5 digest of
// every byte before the EAD line (the line break ending the body included),
// bytes 17 to 127 zeros.  A body that does not end in a line break gets CR LF
// before the EAD line; an empty body is signed as it stands.
//
// Keys are texts of 256 hexadecimal digits (either case): the first the
// 1024-bit modulus, the second the private exponent.  The public exponent is
// 65537.  This program's pair is in chaves.h.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "linha.h"

struct evp_md_ctx_st;

namespace ead {

// Signs a file while it is written: every byte written to the file goes
// through `acrescenta`, in order; `fecho` then gives the bytes that end the
// file.  Nothing is kept but the running digest and the last byte.
class Assinador {
public:
    Assinador();
    ~Assinador();
    Assinador(const Assinador&) = delete;
    Assinador& operator=(const Assinador&) = delete;

    void acrescenta(const void* bytes, size_t tamanho);
    void acrescenta(std::string_view bytes) { acrescenta(bytes.data(), bytes.size()); }

    // What the file must end with: CR LF when the bytes so far are neither
    // empty nor end in a line break, then the EAD line.  Empty when the key
    // texts are unusable (not 256 hexadecimal digits, not a 1024-bit modulus,
    // a private exponent that does not match the modulus).  The signer is
    // left as it was: more bytes may follow and `fecho` be asked again.
    std::string fecho(std::string_view chave1, std::string_view chave2) const;

private:
    friend bool validaArquivo(const std::filesystem::path&, std::string_view);
    // True when nothing came yet or the last byte ends a line.
    bool terminaEmLinha() const { return vazio_ || ultimo_ == '\n'; }
    // The digest of the bytes so far followed by `depois`.
    bool digesto(unsigned char (&md5)[16], std::string_view depois = {}) const;

    evp_md_ctx_st* md5_;
    bool vazio_ = true;
    char ultimo_ = 0;
};

// Signs a finished file in place: reads it through an Assinador and appends
// what its `fecho` gives.  False, and the file left as it was, when the file
// cannot be read or written or the keys are unusable.
bool assinaArquivo(const std::filesystem::path& caminho, std::string_view chave1, std::string_view chave2);

// True when the file ends with an EAD line (upper-case digits, CR LF) whose
// signature the public key (modulus `chave1`, exponent 65537) turns back into
// the block of the bytes before it; false for a missing or unreadable file,
// no EAD line or one of another length, an unusable key, or any changed byte.
bool validaArquivo(const std::filesystem::path& caminho, std::string_view chave1);

}  // namespace ead
