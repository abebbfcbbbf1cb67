// Fixture of the signature tests: a temporary folder for the files, and
// helpers to write, read and validate them with the program's key pair.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ead/chaves.h"
#include "ead/ead.h"
#include "kesafi32.h"

namespace assinatura_teste {

class Arquivos : public ::testing::Test {
protected:
    std::filesystem::path caminho(const std::string& nome) const {
        return std::filesystem::path(pasta.path().toStdString()) / nome;
    }

    std::filesystem::path grava(const std::string& nome, const std::string& bytes) const {
        const auto p = caminho(nome);
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }

    static std::string le(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // A file holding `corpo`, signed in place with the program's keys.
    std::filesystem::path assinado(const std::string& nome, const std::string& corpo) const {
        const auto p = grava(nome, corpo);
        EXPECT_TRUE(ead::assinaArquivo(p, ead::kChave1, ead::kChave2)) << nome;
        return p;
    }

    // validateFile as the program calls it.
    static int valida(const std::filesystem::path& p, const char* chave1 = ead::kChave1,
                      const char* chave2 = ead::kChave2) {
        return validateFile(p.string().c_str(), chave1, chave2);
    }

    QTemporaryDir pasta;
};

// Every byte value, and no line break at the end.
inline std::string binario() {
    std::string b;
    for (int volta = 0; volta < 3; ++volta)
        for (int c = 0; c < 256; ++c) b += char(c);
    return b + "fim";
}

}  // namespace assinatura_teste
