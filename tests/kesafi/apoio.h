// Fixture of the library tests: a fresh installation folder with its own
// KESAFI32.ini and a new virtual printer whose clock stands still.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "kesafi32.h"
#include "kesafi_virtual.h"

namespace kesafi_teste {

struct Status {
    int ack = -1, st1 = -1, st2 = -1, st3 = -1;
    bool operator==(const Status&) const = default;
};
inline void PrintTo(const Status& s, std::ostream* os) {
    *os << "{ack " << s.ack << ", " << s.st1 << ", " << s.st2 << ", " << s.st3 << "}";
}

Status status();
// A buffer of `largura` blanks, as the program hands it to the library.
std::string espacos(size_t largura);
long long contador(const char* nome);
// What a reading function writes into a buffer of `largura` blanks; a test
// failure unless it returns `esperado`.
template <class Funcao>
std::string le(Funcao funcao, size_t largura, int esperado = 1) {
    std::string b = espacos(largura);
    EXPECT_EQ(funcao(b.data()), esperado);
    return b;
}
std::string fita(int documentos);
std::string leArquivo(const std::filesystem::path& p);
// A file the library generated checks with validateFile and with the openssl
// command line alone (working in `trabalho`); with one byte changed, with neither.
void confereAssinatura(const std::filesystem::path& arquivo, const std::filesystem::path& trabalho);

// The computer's date `dias` days from today as ddmmyyyy (and ddmmyy).
std::string diaDdmmyyyy(int dias = 0);
std::string diaDdmmyy(int dias = 0);
// The last command refused: result -27 with ACK 6 and the given status
// bytes (the third one the extended code).
void recusado(int retorno, int st1, int st2, int st3);
// ACK 6 and the extended code `esperado`.
void st3(int esperado);

// Fixed-position slice of an answer, positions counted from 1.
inline std::string fatia(const std::string& b, size_t posicao, size_t largura) {
    return b.substr(posicao - 1, largura);
}

class Impressora : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Selects the port named in [Sistema] Porta and opens it, extended return on.
    void localiza(const char* porta = "USB");
    void escreveIni(const char* secao, const char* chave, const char* valor);
    // Freezes the printer clock `dias` days from today at hh:mm:ss.
    void relogio(const char* hhmmss, int dias = 0);
    // Runs SQL statements on the printer's memory, as a technician with the
    // database at hand would: the library lets go of it first (the port
    // closes); locate the printer again afterwards.
    void alteraMemoria(const std::string& comandos);
    std::filesystem::path arquivoMemoria() const { return pasta / "Impressora Virtual" / "memoria.db"; }

    std::filesystem::path pasta;
    std::filesystem::path ini;
};

// The same with the printer located on USB.
class ImpressoraLocalizada : public Impressora {
protected:
    void SetUp() override {
        Impressora::SetUp();
        if (HasFatalFailure()) return;
        localiza();
    }
};

// Located on USB, with the generated files going to a reports folder of
// its own ([Sistema] Path).
class ImpressoraComRelatorios : public Impressora {
protected:
    void SetUp() override;

    // dd/mm/yy of the day `dias` from today.
    static std::string data(int dias = 0);
    // The files of the reports folder whose names start with `prefixo`, sorted.
    std::vector<std::filesystem::path> arquivos(const std::string& prefixo) const;

    std::filesystem::path relatorios;
};

}  // namespace kesafi_teste
