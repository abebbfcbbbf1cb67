// A signed file checked with the openssl command line alone, step by step as
// README shows it: the public key built from the first key text, the
// signature turned back with raw RSA, its block compared with the MD5 of the
// bytes before the EAD line.  Shared by the tests of the signature and of
// the files the printer library generates.
#pragma once

#include <filesystem>
#include <string>

namespace assinatura_teste {

// The block recovered from the file's EAD line with the public key whose
// modulus is `chave1`, and the block the MD5 of the file's body makes (0x10,
// the digest, zeros), both as openssl computes them in `pasta`; false when a
// step fails (openssl itself refuses a signature past the modulus).
// `erros` receives what openssl said on its error output.
bool blocosOpenssl(const std::filesystem::path& pasta, const std::string& arquivo, const std::string& chave1,
                   std::string& recuperado, std::string& esperado, std::string* erros = nullptr);

}  // namespace assinatura_teste
