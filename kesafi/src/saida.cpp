#include "saida.h"

#include <cstring>
#include <filesystem>
#include <random>

namespace kesafi {

namespace {

std::string nomeTemporario(const std::string& destino) {
    std::random_device aleatorio;
    return destino + ".parcial-" + std::to_string(aleatorio());
}

}  // namespace

ArquivoAssinado::ArquivoAssinado(std::string destino)
    : destino_(std::move(destino)), temporario_(nomeTemporario(destino_)) {
    f_ = std::fopen(temporario_.c_str(), "wbx");
    if (f_) std::setvbuf(f_, nullptr, _IOFBF, 1 << 20);
}

ArquivoAssinado::~ArquivoAssinado() {
    if (!concluido_) descarta();
}

void ArquivoAssinado::descarta() {
    if (f_) std::fclose(f_);
    f_ = nullptr;
    std::error_code ec;
    std::filesystem::remove(temporario_, ec);
}

void ArquivoAssinado::escreve(std::string_view bytes) {
    if (!f_ || falhou_ || bytes.empty()) return;
    assinador_.acrescenta(bytes);
    if (std::fwrite(bytes.data(), 1, bytes.size(), f_) != bytes.size()) falhou_ = true;
}

bool ArquivoAssinado::fecha(std::string_view chave1, std::string_view chave2) {
    if (!f_ || falhou_) return false;
    const std::string fim = assinador_.fecho(chave1, chave2);
    if (fim.empty()) return false;
    escreve(fim);
    const bool fechou = std::fclose(f_) == 0;
    f_ = nullptr;
    fechado_ = fechou && !falhou_;
    return fechado_;
}

bool ArquivoAssinado::publica() {
    if (!fechado_) return false;
    std::error_code ec;
    std::filesystem::rename(temporario_, destino_, ec);
    if (ec) return false;
    concluido_ = true;
    return true;
}

const std::string& ArquivoAssinado::entregaTemporario() {
    if (f_) std::fclose(f_);
    f_ = nullptr;
    return temporario_;
}

bool ArquivoAssinado::fechaArquivo(std::string_view chave1, std::string_view chave2) {
    if (f_) std::fclose(f_);
    f_ = nullptr;
    fechado_ = !falhou_ && ead::assinaArquivo(temporario_, chave1, chave2);
    return fechado_;
}

bool chavesUsaveis(const char* chave1, const char* chave2) {
    if (!chave1 || !chave2) return false;
    // Longer texts are refused without reading all of them.
    const std::string_view k1(chave1, strnlen(chave1, ead::kDigitos + 1)),
        k2(chave2, strnlen(chave2, ead::kDigitos + 1));
    return !ead::Assinador().fecho(k1, k2).empty();
}

}  // namespace kesafi
