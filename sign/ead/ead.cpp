#include "ead.h"

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>
#include <openssl/rsa.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <system_error>
#include <vector>

namespace ead {
namespace {

constexpr size_t kBloco = 128;  // bytes of the RSA block: 1024 bits
constexpr size_t kMd5 = 16;
constexpr unsigned char kTamanhoDigesto = 0x10;
constexpr unsigned long kExpoentePublico = 65537;
constexpr size_t kPedaco = 64 * 1024;  // bytes read from a file at a time

struct Libera {
    void operator()(BIGNUM* p) const { BN_free(p); }
    void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
    void operator()(EVP_PKEY_CTX* p) const { EVP_PKEY_CTX_free(p); }
    void operator()(EVP_MD_CTX* p) const { EVP_MD_CTX_free(p); }
    void operator()(OSSL_PARAM_BLD* p) const { OSSL_PARAM_BLD_free(p); }
    void operator()(OSSL_PARAM* p) const { OSSL_PARAM_free(p); }
};
template <typename T>
using Ptr = std::unique_ptr<T, Libera>;

using Bloco = std::array<unsigned char, kBloco>;

// A failed OpenSSL call leaves its reasons in the thread's error queue; they
// are of no use to the caller, who only learns "unusable" or "invalid".
template <typename T>
T falha(T valor) {
    ERR_clear_error();
    return valor;
}

// An upper-case hexadecimal digit's value, -1 for anything else.
int valorHex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool digitoHex(char c) { return valorHex(c) >= 0 || (c >= 'a' && c <= 'f'); }

// A key text: exactly kDigitos hexadecimal digits, either case.
Ptr<BIGNUM> numero(std::string_view texto) {
    if (texto.size() != kDigitos) return nullptr;
    for (char c : texto)
        if (!digitoHex(c)) return nullptr;
    const std::string terminado(texto);
    BIGNUM* n = nullptr;
    if (BN_hex2bn(&n, terminado.c_str()) != int(kDigitos)) return falha(Ptr<BIGNUM>(n));
    return Ptr<BIGNUM>(n);
}

// The modulus of the first key text: 1024 bits, odd.
Ptr<BIGNUM> modulo(std::string_view chave1) {
    Ptr<BIGNUM> n = numero(chave1);
    if (!n || BN_num_bits(n.get()) != int(kBloco * 8) || !BN_is_odd(n.get())) return nullptr;
    return n;
}

// The RSA key of modulus `n`, exponent 65537 and, when given, private
// exponent `d`.
Ptr<EVP_PKEY> chaveRsa(const BIGNUM* n, const BIGNUM* d) {
    Ptr<BIGNUM> e(BN_new());
    Ptr<OSSL_PARAM_BLD> construtor(OSSL_PARAM_BLD_new());
    if (!e || !construtor || !BN_set_word(e.get(), kExpoentePublico) ||
        !OSSL_PARAM_BLD_push_BN(construtor.get(), OSSL_PKEY_PARAM_RSA_N, n) ||
        !OSSL_PARAM_BLD_push_BN(construtor.get(), OSSL_PKEY_PARAM_RSA_E, e.get()) ||
        (d && !OSSL_PARAM_BLD_push_BN(construtor.get(), OSSL_PKEY_PARAM_RSA_D, d)))
        return falha(Ptr<EVP_PKEY>());
    Ptr<OSSL_PARAM> parametros(OSSL_PARAM_BLD_to_param(construtor.get()));
    Ptr<EVP_PKEY_CTX> contexto(EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr));
    EVP_PKEY* chave = nullptr;
    if (!parametros || !contexto || EVP_PKEY_fromdata_init(contexto.get()) <= 0 ||
        EVP_PKEY_fromdata(contexto.get(), &chave, d ? EVP_PKEY_KEYPAIR : EVP_PKEY_PUBLIC_KEY, parametros.get()) <= 0)
        return falha(Ptr<EVP_PKEY>(chave));
    return Ptr<EVP_PKEY>(chave);
}

// Raw RSA of a whole block: with the private key (`privada`) or back with the
// public one.
bool rsa(EVP_PKEY* chave, bool privada, const Bloco& entrada, Bloco& saida) {
    Ptr<EVP_PKEY_CTX> contexto(EVP_PKEY_CTX_new_from_pkey(nullptr, chave, nullptr));
    if (!contexto) return falha(false);
    const int inicio = privada ? EVP_PKEY_sign_init(contexto.get()) : EVP_PKEY_verify_recover_init(contexto.get());
    if (inicio <= 0 || EVP_PKEY_CTX_set_rsa_padding(contexto.get(), RSA_NO_PADDING) <= 0) return falha(false);
    size_t tamanho = saida.size();
    const int feito =
        privada ? EVP_PKEY_sign(contexto.get(), saida.data(), &tamanho, entrada.data(), entrada.size())
                : EVP_PKEY_verify_recover(contexto.get(), saida.data(), &tamanho, entrada.data(), entrada.size());
    if (feito <= 0 || tamanho != saida.size()) return falha(false);
    return true;
}

Bloco blocoDoDigesto(const unsigned char (&md5)[kMd5]) {
    Bloco bloco{};
    bloco[0] = kTamanhoDigesto;
    std::memcpy(bloco.data() + 1, md5, kMd5);
    return bloco;
}

// The signature digits of an EAD line.
bool assinaturaDaLinha(std::string_view linha, Bloco& assinatura) {
    if (!linhaEad(linha)) return false;
    for (size_t i = 0; i < kBloco; ++i)
        assinatura[i] = static_cast<unsigned char>(valorHex(linha[3 + 2 * i]) * 16 + valorHex(linha[4 + 2 * i]));
    return true;
}

bool arquivoComum(const std::filesystem::path& caminho) {
    std::error_code erro;
    return std::filesystem::is_regular_file(caminho, erro);
}

}  // namespace

Assinador::Assinador() : md5_(EVP_MD_CTX_new()) {
    if (md5_ && EVP_DigestInit_ex(md5_, EVP_md5(), nullptr) <= 0) {
        EVP_MD_CTX_free(md5_);
        md5_ = falha<evp_md_ctx_st*>(nullptr);
    }
}

Assinador::~Assinador() { EVP_MD_CTX_free(md5_); }

void Assinador::acrescenta(const void* bytes, size_t tamanho) {
    if (tamanho == 0) return;
    if (md5_ && EVP_DigestUpdate(md5_, bytes, tamanho) <= 0) {
        EVP_MD_CTX_free(md5_);
        md5_ = falha<evp_md_ctx_st*>(nullptr);
    }
    vazio_ = false;
    ultimo_ = static_cast<const char*>(bytes)[tamanho - 1];
}

bool Assinador::digesto(unsigned char (&md5)[kMd5], std::string_view depois) const {
    Ptr<EVP_MD_CTX> copia(EVP_MD_CTX_new());
    unsigned int tamanho = 0;
    if (!md5_ || !copia || EVP_MD_CTX_copy_ex(copia.get(), md5_) <= 0 ||
        (!depois.empty() && EVP_DigestUpdate(copia.get(), depois.data(), depois.size()) <= 0) ||
        EVP_DigestFinal_ex(copia.get(), md5, &tamanho) <= 0 || tamanho != kMd5)
        return falha(false);
    return true;
}

std::string Assinador::fecho(std::string_view chave1, std::string_view chave2) const {
    const Ptr<BIGNUM> n = modulo(chave1);
    const Ptr<BIGNUM> d = numero(chave2);
    if (!n || !d || BN_is_zero(d.get()) || BN_cmp(d.get(), n.get()) >= 0) return {};
    const Ptr<EVP_PKEY> chave = chaveRsa(n.get(), d.get());
    if (!chave) return {};

    const std::string_view quebra = terminaEmLinha() ? "" : "\r\n";
    unsigned char md5[kMd5];
    if (!digesto(md5, quebra)) return {};

    // A private exponent that is not the modulus's partner would sign files
    // that never validate: the signature must come back to the block.
    const Bloco bloco = blocoDoDigesto(md5);
    Bloco assinatura, devolvido;
    if (!rsa(chave.get(), true, bloco, assinatura) || !rsa(chave.get(), false, assinatura, devolvido) ||
        devolvido != bloco)
        return {};

    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string fim(quebra);
    fim.reserve(quebra.size() + kTamanhoLinha);
    fim += "EAD";
    for (unsigned char b : assinatura) {
        fim += kHex[b >> 4];
        fim += kHex[b & 0x0F];
    }
    return fim + "\r\n";
}

bool assinaArquivo(const std::filesystem::path& caminho, std::string_view chave1, std::string_view chave2) {
    if (!arquivoComum(caminho)) return false;
    Assinador assinador;
    uintmax_t tamanho = 0;
    {
        std::ifstream entrada(caminho, std::ios::binary);
        if (!entrada) return false;
        std::vector<char> pedaco(kPedaco);
        while (entrada) {
            entrada.read(pedaco.data(), std::streamsize(pedaco.size()));
            assinador.acrescenta(pedaco.data(), size_t(entrada.gcount()));
            tamanho += uintmax_t(entrada.gcount());
        }
        if (entrada.bad()) return false;
    }
    const std::string fim = assinador.fecho(chave1, chave2);
    if (fim.empty()) return false;

    std::ofstream saida(caminho, std::ios::binary | std::ios::app);
    if (saida && saida.write(fim.data(), std::streamsize(fim.size())) && saida.flush()) return true;
    // Cut away whatever part of the end reached the file: it keeps the bytes
    // it had.
    saida.close();
    std::error_code erro;
    std::filesystem::resize_file(caminho, tamanho, erro);
    return false;
}

bool validaArquivo(const std::filesystem::path& caminho, std::string_view chave1) {
    const Ptr<BIGNUM> n = modulo(chave1);
    if (!n || !arquivoComum(caminho)) return false;
    std::ifstream entrada(caminho, std::ios::binary);
    if (!entrada) return false;

    // Everything but the last kTamanhoLinha bytes goes into the digest; those
    // are held back at the front of the buffer until more bytes follow.
    Assinador corpo;
    std::vector<char> buffer(kTamanhoLinha + kPedaco);
    size_t guardados = 0;
    while (entrada) {
        entrada.read(buffer.data() + guardados, std::streamsize(kPedaco));
        const size_t total = guardados + size_t(entrada.gcount());
        if (total > kTamanhoLinha) {
            corpo.acrescenta(buffer.data(), total - kTamanhoLinha);
            std::memmove(buffer.data(), buffer.data() + total - kTamanhoLinha, kTamanhoLinha);
            guardados = kTamanhoLinha;
        } else {
            guardados = total;
        }
    }
    if (entrada.bad()) return false;

    Bloco assinatura, devolvido;
    unsigned char md5[kMd5];
    if (!assinaturaDaLinha({buffer.data(), guardados}, assinatura)) return false;
    if (!corpo.terminaEmLinha()) return false;
    if (!corpo.digesto(md5)) return false;
    const Ptr<EVP_PKEY> chave = chaveRsa(n.get(), nullptr);
    return chave && rsa(chave.get(), false, assinatura, devolvido) && devolvido == blocoDoDigesto(md5);
}

}  // namespace ead
