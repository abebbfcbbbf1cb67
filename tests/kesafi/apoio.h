// Fixture of the library tests: a fresh installation folder with its own
// KESAFI32.ini and a new virtual printer whose clock stands still.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "kesafi32.h"
#include "kesafi_virtual.h"

namespace kesafi_teste {

struct Status {
    int ack = -1, st1 = -1, st2 = -1, st3 = -1;
};

Status status();
// A buffer of `largura` blanks, as the program hands it to the library.
std::string espacos(size_t largura);
long long contador(const char* nome);
std::string fita(int documentos);
std::string leArquivo(const std::filesystem::path& p);

// Today's date of the computer as ddmmyyyy.
std::string hojeDdmmyyyy();

class Impressora : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Selects the port named in [Sistema] Porta and opens it, extended return on.
    void localiza(const char* porta = "USB");
    void escreveIni(const char* secao, const char* chave, const char* valor);
    // Freezes the printer clock today at hh:mm:ss.
    void relogioHoje(const char* hhmmss);

    std::filesystem::path pasta;
    std::filesystem::path ini;
};

}  // namespace kesafi_teste
