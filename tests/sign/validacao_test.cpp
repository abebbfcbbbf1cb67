// validateFile through the signature library: what validates, what does not,
// and texts that must not crash it.
#include <algorithm>

#include "apoio.h"

namespace assinatura_teste {
namespace {

using Validacao = Arquivos;

TEST_F(Validacao, SoOModuloEhPrecisoParaValidar) {
    const auto p = assinado("doc.txt", "DOC\r\n");
    EXPECT_EQ(valida(p), 1);
    EXPECT_EQ(valida(p, ead::kChave1, nullptr), 1);
    EXPECT_EQ(valida(p, ead::kChave1, "qualquer coisa"), 1);
    std::string minusculas = ead::kChave1;
    std::transform(minusculas.begin(), minusculas.end(), minusculas.begin(),
                   [](char c) { return char(std::tolower(c)); });
    EXPECT_EQ(valida(p, minusculas.c_str()), 1);
}

// Every single byte of a signed file, the EAD line included, changed in one
// bit: nothing validates.  The byte is changed in place (rewriting a whole
// file thousands of times is slow on some file systems).
TEST_F(Validacao, QualquerByteAlteradoInvalida) {
    for (const std::string& corpo : {std::string("LINHA 1\r\nLINHA 2\r\n"), binario()}) {
        const auto p = assinado("doc.bin", corpo);
        const std::string original = le(p);
        std::fstream arquivo(p, std::ios::binary | std::ios::in | std::ios::out);
        const auto poe = [&](size_t i, char c) {
            arquivo.seekp(std::streamoff(i));
            arquivo.put(c);
            arquivo.flush();
        };
        for (size_t i = 0; i < original.size(); ++i) {
            for (unsigned char bit : {0x01, 0x20}) {
                poe(i, char(original[i] ^ bit));
                ASSERT_EQ(valida(p), 0) << "byte " << i << " bit " << int(bit);
            }
            poe(i, original[i]);
        }
        EXPECT_EQ(valida(p), 1);
    }
}

TEST_F(Validacao, LinhaEadAusenteCortadaOuForaDoLugar) {
    const std::string corpo = "LINHA 1\r\nLINHA 2\r\n";
    const std::string arquivo = le(assinado("doc.txt", corpo));
    const std::string linha = arquivo.substr(corpo.size());
    const std::string casos[] = {
        corpo,                                                // never signed
        "",                                                   // empty file
        arquivo.substr(0, arquivo.size() - 1),                // CR LF cut
        arquivo.substr(0, arquivo.size() - 2),                // no CR LF
        corpo + linha.substr(0, 258) + "\r\n",                // 255 digits
        corpo + linha.substr(0, 259) + "0\r\n",               // 257 digits
        corpo + linha.substr(0, 259) + "\n",                  // LF only
        arquivo + "\r\n",                                     // a line after it
        arquivo + arquivo.substr(arquivo.size() - 1),         // a byte after it
        "LINHA 1\r\nLINHA 2" + linha,                         // not on a line of its own
        arquivo.substr(1),                                    // first byte gone
        corpo + "ead" + linha.substr(3),                      // lower-case mark
        arquivo.substr(arquivo.size() - ead::kTamanhoLinha),  // the line alone
    };
    for (const std::string& caso : casos) EXPECT_EQ(valida(grava("caso.txt", caso)), 0) << caso;

    // The signature digits in lower case are another line.
    std::string minusculas = arquivo;
    std::transform(minusculas.begin() + long(corpo.size()) + 3, minusculas.end(),
                   minusculas.begin() + long(corpo.size()) + 3, [](char c) { return char(std::tolower(c)); });
    EXPECT_EQ(valida(grava("minusculas.txt", minusculas)), 0);
}

TEST_F(Validacao, ArquivoAusentePastaOuCaminhoVazio) {
    EXPECT_EQ(valida(caminho("nao-existe.txt")), 0);
    EXPECT_EQ(valida(caminho("")), 0);
    EXPECT_EQ(validateFile("", ead::kChave1, ead::kChave2), 0);
}

// The program's file and a file signed by another key pair: neither
// validates with the other's key.
TEST_F(Validacao, ChavesErradasOuMalFormadas) {
    const auto p = assinado("doc.txt", "DOC\r\n");
    std::string outroModulo = ead::kChave1;
    outroModulo[100] = outroModulo[100] == '1' ? '3' : '1';
    std::string moduloPar = ead::kChave1;
    moduloPar.back() = 'E';
    const std::string longo(1 << 20, 'A');
    const char lixo[] = {'\x01', '\xFF', '\x80', 'E', 'A', 'D', '\0'};
    const std::string chaves[] = {
        outroModulo,
        moduloPar,
        "7" + std::string(ead::kChave1).substr(1),       // 1023 bits
        std::string(ead::kChave1).substr(1),             // 255 digits
        std::string(ead::kChave1) + "1",                 // 257 digits
        std::string(ead::kChave1).replace(0, 1, "-"),    // a sign
        std::string(ead::kChave1).replace(128, 1, "x"),  // not a digit
        std::string(ead::kChave1).replace(255, 1, "\xC3"),
        std::string(ead::kDigitos, '0'),
        ead::kChave2,
        longo,
        lixo,
        "",
    };
    for (const std::string& chave : chaves) EXPECT_EQ(valida(p, chave.c_str()), 0) << chave.substr(0, 300);

    EXPECT_EQ(validateFile(nullptr, ead::kChave1, ead::kChave2), 0);
    EXPECT_EQ(validateFile(p.string().c_str(), nullptr, ead::kChave2), 0);
    EXPECT_EQ(validateFile(nullptr, nullptr, nullptr), 0);
}

}  // namespace
}  // namespace assinatura_teste
