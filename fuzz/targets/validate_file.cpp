// validateFile over any file content and any key texts, null pointers and
// overlong texts included: always 0 or 1, never a crash.  Beyond that: the
// content signed with the program's keys validates with exactly the first
// key text (either case) and no other, one changed byte of it never
// validates, and whatever the signer makes of the fuzzed keys validates with
// the fuzzed first key.
//
// Input: first key text, second key text ("*" for the program's own, "-"
// for a null pointer), the position of the byte to change, one a line; then
// the file's content.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>

#include "ead/chaves.h"
#include "ead/ead.h"
#include "fuzz_target.h"
#include "kesafi32.h"

namespace {

// One file per process, removed at exit: the regression test runs beside
// other test programs.
struct Arquivo {
    Arquivo() {
        std::random_device aleatorio;
        caminho = std::filesystem::temp_directory_path() /
                  ("fuzz_validate_file-" + std::to_string(aleatorio()) + "-" + std::to_string(aleatorio()));
    }
    ~Arquivo() {
        std::error_code erro;
        std::filesystem::remove(caminho, erro);
    }

    // A new file each time: truncating one that was just written makes
    // some file systems flush it to disk.
    const char* com(const std::string& bytes) {
        std::error_code erro;
        std::filesystem::remove(caminho, erro);
        std::ofstream(caminho, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        texto = caminho.string();
        return texto.c_str();
    }

    std::filesystem::path caminho;
    std::string texto;
};

std::optional<std::string> chave(std::string_view peca, const char* propria) {
    if (peca == "-") return std::nullopt;
    if (peca == "*") return std::string(propria);
    return std::string(peca);
}

const char* ponteiro(const std::optional<std::string>& texto) { return texto ? texto->c_str() : nullptr; }

// The text validateFile sees (up to its first zero) is `propria` in either
// case.
bool mesmaChave(const std::optional<std::string>& texto, std::string_view propria) {
    if (!texto) return false;
    const std::string_view visto(texto->c_str());
    return std::equal(visto.begin(), visto.end(), propria.begin(), propria.end(),
                      [](char a, char b) { return (a >= 'a' && a <= 'f' ? char(a - 'a' + 'A') : a) == b; });
}

}  // namespace

ZENTORA_FUZZ_TARGET(validate_file) {
    static Arquivo arquivo;
    zentora::fuzz::Input in(data, size);
    const std::optional<std::string> chave1 = chave(in.piece(), ead::kChave1);
    const std::optional<std::string> chave2 = chave(in.piece(), ead::kChave2);
    const int posicao = in.number();
    const std::string conteudo(in.rest());

    const char* caminho = arquivo.com(conteudo);
    const int resultado = validateFile(caminho, ponteiro(chave1), ponteiro(chave2));
    FUZZ_CHECK(resultado == 0 || resultado == 1);
    FUZZ_CHECK(validateFile(nullptr, ponteiro(chave1), ponteiro(chave2)) == 0);
    if (!chave1) FUZZ_CHECK(resultado == 0);

    ead::Assinador assinador;
    assinador.acrescenta(conteudo);
    const std::string assinado = conteudo + assinador.fecho(ead::kChave1, ead::kChave2);
    FUZZ_CHECK(assinado.size() > conteudo.size());
    caminho = arquivo.com(assinado);
    FUZZ_CHECK(validateFile(caminho, ponteiro(chave1), ponteiro(chave2)) == (mesmaChave(chave1, ead::kChave1) ? 1 : 0));

    std::string alterado = assinado;
    const size_t i = size_t(unsigned(posicao)) % alterado.size();
    alterado[i] = char(alterado[i] ^ (posicao < 0 ? 0x20 : 0x01));
    FUZZ_CHECK(validateFile(arquivo.com(alterado), ead::kChave1, nullptr) == 0);

    if (chave1 && chave2) {
        const std::string fim = assinador.fecho(*chave1, *chave2);
        if (!fim.empty()) FUZZ_CHECK(validateFile(arquivo.com(conteudo + fim), chave1->c_str(), nullptr) == 1);
    }
    return 0;
}
