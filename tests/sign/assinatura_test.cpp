// Signing: the layout of the end of a signed file, the streaming signer, and
// keys the signer refuses.
#include <algorithm>

#include "apoio.h"

namespace assinatura_teste {
namespace {

// The EAD line at the end of `arquivo`, empty when the file has none of the
// right shape.
std::string linhaEad(const std::string& arquivo) {
    if (arquivo.size() < ead::kTamanhoLinha) return {};
    const std::string linha = arquivo.substr(arquivo.size() - ead::kTamanhoLinha);
    const std::string digitos = linha.substr(3, ead::kDigitos);
    const bool maiusculas = std::all_of(digitos.begin(), digitos.end(),
                                        [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
    return linha.starts_with("EAD") && linha.ends_with("\r\n") && maiusculas ? linha : std::string();
}

using Assinatura = Arquivos;

TEST_F(Assinatura, AcrescentaSoALinhaEadAoCorpoQueTerminaEmQuebra) {
    for (const std::string_view corpo : {"LINHA 1\r\nLINHA 2\r\n", "só LF\n", "\n"}) {
        const auto p = assinado("texto.txt", std::string(corpo));
        const std::string arquivo = le(p);
        ASSERT_EQ(arquivo.size(), corpo.size() + ead::kTamanhoLinha) << corpo;
        EXPECT_EQ(arquivo.substr(0, corpo.size()), corpo);
        EXPECT_FALSE(linhaEad(arquivo).empty()) << arquivo;
        EXPECT_EQ(valida(p), 1) << corpo;
    }
}

TEST_F(Assinatura, CorpoSemQuebraFinalGanhaCrLfAntesDaLinha) {
    for (const std::string& corpo :
         {binario(), std::string("texto sem fim de linha"), std::string("termina em CR\r")}) {
        const auto p = assinado("dados.bin", corpo);
        const std::string arquivo = le(p);
        ASSERT_EQ(arquivo.size(), corpo.size() + 2 + ead::kTamanhoLinha);
        EXPECT_EQ(arquivo.substr(0, corpo.size() + 2), corpo + "\r\n");
        EXPECT_FALSE(linhaEad(arquivo).empty());
        EXPECT_EQ(valida(p), 1);
    }
}

TEST_F(Assinatura, ArquivoVazioFicaSoComALinha) {
    const auto p = assinado("vazio.txt", "");
    EXPECT_EQ(le(p).size(), ead::kTamanhoLinha);
    EXPECT_FALSE(linhaEad(le(p)).empty());
    EXPECT_EQ(valida(p), 1);
}

// The checker holds back the last bytes of a file while it reads it in
// pieces: files around the size of a piece must validate as well.
TEST_F(Assinatura, ArquivosGrandesEmVoltaDoTamanhoDeLeitura) {
    for (size_t tamanho : {65536 - 263, 65536 - 262, 65536 - 261, 65536 - 260, 65536, 65537, 3 * 65536 + 7}) {
        std::string corpo(tamanho - 2, 'x');
        for (size_t i = 0; i < corpo.size(); i += 97) corpo[i] = char(i);
        corpo += "\r\n";
        const auto p = assinado("grande.txt", corpo);
        EXPECT_EQ(valida(p), 1) << tamanho;
        std::string alterado = le(p);
        alterado[tamanho - 3] ^= 1;
        EXPECT_EQ(valida(grava("grande.txt", alterado)), 0) << tamanho;
    }
}

// The later writer of mirrors and data files feeds the signer as it writes:
// in pieces of any size, with the end asked for only once it is done.
TEST_F(Assinatura, AssinadorContinuoIgualAoDoArquivoPronto) {
    for (const std::string& corpo : {std::string("DOC 1\r\nDOC 2\r\n"), binario(), std::string()}) {
        ead::Assinador assinador;
        for (size_t i = 0, passo = 1; i < corpo.size(); i += passo, passo = passo % 7 + 1)
            assinador.acrescenta(corpo.substr(i, passo));
        const std::string fim = assinador.fecho(ead::kChave1, ead::kChave2);
        EXPECT_EQ(corpo + fim, le(assinado("pronto.bin", corpo)));
        // Asking again changes nothing, and the signer still takes bytes.
        EXPECT_EQ(assinador.fecho(ead::kChave1, ead::kChave2), fim);
    }

    ead::Assinador assinador;
    assinador.acrescenta("DOC 1\r\n");
    (void)assinador.fecho(ead::kChave1, ead::kChave2);
    assinador.acrescenta("DOC 2\r\n");
    EXPECT_EQ("DOC 1\r\nDOC 2\r\n" + assinador.fecho(ead::kChave1, ead::kChave2),
              le(assinado("dois.txt", "DOC 1\r\nDOC 2\r\n")));
}

TEST_F(Assinatura, ChavesInutilizaveisNaoAssinamENaoTocamOArquivo) {
    std::string outroExpoente = ead::kChave2;
    outroExpoente[200] = outroExpoente[200] == '1' ? '2' : '1';
    std::string moduloPar = ead::kChave1;
    moduloPar.back() = 'E';
    const std::string modulo1023Bits = "7" + std::string(ead::kChave1).substr(1);
    const std::string expoenteMaiorQueModulo(ead::kDigitos, 'F');
    const std::pair<std::string, std::string> chaves[] = {
        {ead::kChave1, outroExpoente},           // not the modulus's partner
        {ead::kChave2, ead::kChave1},            // the texts swapped
        {moduloPar, ead::kChave2},               // an even modulus
        {modulo1023Bits, ead::kChave2},          // a short modulus
        {ead::kChave1, expoenteMaiorQueModulo},  // exponent past the modulus
        {ead::kChave1, std::string(ead::kDigitos, '0')},
        {std::string(ead::kChave1).substr(1), ead::kChave2},
        {ead::kChave1, std::string(ead::kChave2) + "0"},
        {std::string(ead::kChave1).replace(10, 1, "G"), ead::kChave2},
        {std::string(ead::kChave1).replace(10, 1, " "), ead::kChave2},
        {"", ""},
    };
    for (const auto& [chave1, chave2] : chaves) {
        ead::Assinador assinador;
        assinador.acrescenta("DOC\r\n");
        EXPECT_EQ(assinador.fecho(chave1, chave2), "") << chave1 << " / " << chave2;

        const auto p = grava("doc.txt", "DOC\r\n");
        EXPECT_FALSE(ead::assinaArquivo(p, chave1, chave2));
        EXPECT_EQ(le(p), "DOC\r\n");
    }
}

TEST_F(Assinatura, ChavesEmMinusculasAssinamIgual) {
    std::string chave1 = ead::kChave1, chave2 = ead::kChave2;
    std::transform(chave1.begin(), chave1.end(), chave1.begin(), [](char c) { return char(std::tolower(c)); });
    std::transform(chave2.begin(), chave2.end(), chave2.begin(), [](char c) { return char(std::tolower(c)); });
    ead::Assinador assinador;
    assinador.acrescenta("DOC\r\n");
    EXPECT_EQ(assinador.fecho(chave1, chave2), assinador.fecho(ead::kChave1, ead::kChave2));
}

TEST_F(Assinatura, ArquivoAusenteOuPastaNaoSaoAssinados) {
    EXPECT_FALSE(ead::assinaArquivo(caminho("nao-existe.txt"), ead::kChave1, ead::kChave2));
    EXPECT_FALSE(std::filesystem::exists(caminho("nao-existe.txt")));
    EXPECT_FALSE(ead::assinaArquivo(caminho(""), ead::kChave1, ead::kChave2));
}

}  // namespace
}  // namespace assinatura_teste
