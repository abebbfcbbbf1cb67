#include "configuracao.h"

#include <filesystem>

#include "profile/ini.h"
#include "texto.h"

namespace kesafi {

namespace fs = std::filesystem;

namespace {

// The path with every link and ".." of its existing part resolved.
fs::path resolvido(const fs::path& p) {
    std::error_code ec;
    fs::path r = fs::weakly_canonical(fs::absolute(p, ec), ec);
    return ec ? fs::absolute(p, ec).lexically_normal() : r;
}

bool mesmoLugar(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return a == b || fs::equivalent(a, b, ec);
}

bool mesmoNomeSemCaixa(std::string_view a, std::string_view b) { return maiusculas(a) == maiusculas(b); }

}  // namespace

std::string maiusculas(std::string_view v) {
    std::string out(trimmed(v));
    for (char& ch : out)
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
    return out;
}

std::string caminhoDoSistema(std::string_view caminho) {
    std::string out(caminho);
#if !defined(_WIN32)
    for (char& ch : out)
        if (ch == '\\') ch = '/';
#endif
    return out;
}

std::string comBarra(std::string pasta) {
    pasta = caminhoDoSistema(pasta);
    if (!pasta.empty() && pasta.back() != '/' && pasta.back() != '\\') pasta.push_back('/');
    return pasta;
}

bool Configuracao::existe() const {
    std::error_code ec;
    return std::filesystem::is_regular_file(arquivo(), ec);
}

std::string Configuracao::le(const char* secao, const char* chave) const {
    return profile::readString(arquivo(), secao, chave);
}

std::string Configuracao::portaSistema() const { return le("Sistema", "Porta"); }

Porta Configuracao::portaConectada() const {
    const std::string conteudo = profile::load(arquivo()).text;
    if (!profile::hasKey(conteudo, "Virtual", "Porta")) return Porta::Usb;
    const std::string v = maiusculas(profile::valueIn(conteudo, "Virtual", "Porta"));
    if (v.empty() || v == "NENHUMA") return Porta::Nenhuma;
    if (v == "USB") return Porta::Usb;
    return Porta::Serial;
}

bool Configuracao::conecta(std::string_view valor) const {
    return profile::writeString(arquivo(), "Virtual", "Porta", valor);
}

std::string Configuracao::pastaMemoria() const {
    const std::string v = caminhoDoSistema(le("Virtual", "Memoria"));
    if (v.empty()) return base_ + "Impressora Virtual";
    if (std::filesystem::path(v).is_absolute()) return v;
    return base_ + v;
}

int Configuracao::semente() const {
    const std::string v = le("Virtual", "Semente");
    try {
        return v.empty() ? 0 : std::stoi(v);
    } catch (const std::exception&) {
        return 0;
    }
}

std::string Configuracao::documentoAberto() const { return le("Virtual", "DocumentoAberto"); }

bool Configuracao::arquivoProprio(const std::string& caminho) const {
    const fs::path destino = resolvido(caminho);
    const std::string nome = destino.filename().string();
    struct Protegidos {
        fs::path pasta;
        std::initializer_list<const char*> nomes;
    };
    const Protegidos protegidos[] = {
        {resolvido(base_), {"KESAFI32.ini"}},
        {resolvido(pastaMemoria()),
         {"memoria.db", "memoria.db-wal", "memoria.db-shm", "memoria.db-journal", "memoria.trava"}},
    };
    for (const Protegidos& p : protegidos) {
        for (const char* n : p.nomes) {
            std::error_code ec;
            if (fs::equivalent(destino, p.pasta / n, ec)) return true;
            if (mesmoNomeSemCaixa(nome, n) && mesmoLugar(destino.parent_path(), p.pasta)) return true;
        }
    }
    return false;
}

std::string Configuracao::pastaDeSaida() const {
    const std::string path = le("Sistema", "Path");
    return path.empty() ? base_ : comBarra(path);
}

}  // namespace kesafi
