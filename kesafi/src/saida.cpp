#include "saida.h"

#include <cstring>
#include <filesystem>
#include <iostream>
#include <random>
#include <vector>

namespace kesafi {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kParcial = ".parcial-";

std::string nomeTemporario(const std::string& destino) {
    std::random_device aleatorio;
    return destino + std::string(kParcial) + std::to_string(aleatorio());
}

// "<name>.parcial-<number>", as nomeTemporario makes them.
bool eTemporario(std::string_view nome) {
    const size_t p = nome.rfind(kParcial);
    if (p == std::string_view::npos || p == 0) return false;
    const std::string_view numero = nome.substr(p + kParcial.size());
    if (numero.empty() || numero.size() > 10) return false;
    for (char ch : numero)
        if (ch < '0' || ch > '9') return false;
    return true;
}

// A second name for the file at `destino`, locked as a temporary is: a hard
// link, or a copy where the file system has none.  A symbolic link is kept
// as a link (no cleanup takes one away).
bool guarda(const std::string& destino, const std::string& nome, Trava& trava) {
    std::error_code ec;
    const bool link = fs::is_symlink(fs::symlink_status(destino, ec));
    fs::create_hard_link(destino, nome, ec);
    if (!ec) {
        if (link || trava.obtemExistente(nome)) return true;
        fs::remove(nome, ec);  // taken for a leftover by another process: the file is still in place
        return false;
    }
    if (link) return false;
    std::FILE* copia = trava.cria(nome);
    std::FILE* origem = copia ? std::fopen(destino.c_str(), "rb") : nullptr;
    bool bom = origem != nullptr;
    std::vector<char> bloco(1 << 20);
    while (bom) {
        const size_t n = std::fread(bloco.data(), 1, bloco.size(), origem);
        if (n && std::fwrite(bloco.data(), 1, n, copia) != n) bom = false;
        if (n < bloco.size()) {
            bom = bom && !std::ferror(origem);
            break;
        }
    }
    if (origem) std::fclose(origem);
    if (copia && std::fclose(copia) != 0) bom = false;
    if (!bom && copia) fs::remove(nome, ec);
    return bom;
}

}  // namespace

void removeTemporariosAbandonados(const std::string& pasta) {
    std::error_code ec;
    for (fs::directory_iterator it(pasta.empty() ? fs::path(".") : fs::path(pasta), ec), fim; !ec && it != fim;
         it.increment(ec)) {
        std::error_code tipo;
        if (!eTemporario(it->path().filename().string()) || !fs::is_regular_file(it->symlink_status(tipo))) continue;
        Trava t;
        std::error_code remocao;
        if (t.obtemExistente(it->path().string())) fs::remove(it->path(), remocao);
    }
}

ArquivoAssinado::ArquivoAssinado(std::string destino)
    : destino_(std::move(destino)), temporario_(nomeTemporario(destino_)) {
    removeTemporariosAbandonados(fs::path(destino_).parent_path().string());
    f_ = trava_.cria(temporario_);
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

bool publicaTodos(std::span<ArquivoAssinado* const> arquivos) {
    struct Anterior {
        std::string nome;
        Trava trava;
    };
    // Indexed as `arquivos`; empty names where nothing was in place.
    std::vector<Anterior> anteriores(arquivos.size());
    bool pronto = true;
    for (size_t i = 0; pronto && i < arquivos.size(); ++i) {
        const ArquivoAssinado& a = *arquivos[i];
        std::error_code ec;
        const fs::file_status st = fs::symlink_status(a.destino_, ec);
        if (!a.fechado_) {
            pronto = false;
        } else if (fs::exists(st) && !fs::is_directory(st)) {  // a folder of that name fails below
            anteriores[i].nome = nomeTemporario(a.destino_);
            if (!guarda(a.destino_, anteriores[i].nome, anteriores[i].trava)) {
                anteriores[i].nome.clear();
                pronto = false;
            }
        }
    }
    size_t postos = 0;
    while (pronto && postos < arquivos.size() && arquivos[postos]->publica()) ++postos;
    const bool todos = pronto && postos == arquivos.size();
    for (size_t i = 0; !todos && i < postos; ++i) {
        std::error_code ec;
        if (anteriores[i].nome.empty()) {
            fs::remove(arquivos[i]->destino_, ec);
            continue;
        }
        fs::rename(anteriores[i].nome, arquivos[i]->destino_, ec);
        if (ec)
            std::cerr << "KESAFI32: " << arquivos[i]->destino_ << " ficou em " << anteriores[i].nome << ": "
                      << ec.message() << '\n';
    }
    // The second names go, but for an old file that could not be taken back:
    // it lives on only there.
    for (size_t i = 0; i < anteriores.size(); ++i) {
        std::error_code ec;
        if (!anteriores[i].nome.empty() && (todos || i >= postos)) fs::remove(anteriores[i].nome, ec);
    }
    return todos;
}

bool chavesUsaveis(const char* chave1, const char* chave2) {
    if (!chave1 || !chave2) return false;
    // Longer texts are refused without reading all of them.
    const std::string_view k1(chave1, strnlen(chave1, ead::kDigitos + 1)),
        k2(chave2, strnlen(chave2, ead::kDigitos + 1));
    return !ead::Assinador().fecho(k1, k2).empty();
}

}  // namespace kesafi
