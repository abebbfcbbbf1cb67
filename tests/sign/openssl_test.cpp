// A signed file checked with the openssl command line alone, step by step as
// README shows it: the public key built from the first key text, the
// signature turned back with raw RSA, its block compared with the MD5 of the
// bytes before the EAD line.
#include "apoio.h"
#include "openssl_linha.h"

namespace assinatura_teste {
namespace {

class LinhaDeComandoOpenssl : public Arquivos {
protected:
    bool blocos(const std::string& arquivo, std::string& recuperado, std::string& esperado) {
        return blocosOpenssl(caminho(""), arquivo, ead::kChave1, recuperado, esperado, &erros);
    }

    std::string erros;
};

TEST_F(LinhaDeComandoOpenssl, ArquivosAssinadosConferemSoComOpenssl) {
    ead::Assinador continuo;
    continuo.acrescenta(binario());
    const std::string arquivos[] = {
        le(assinado("texto.txt", "LINHA 1\r\nLINHA 2\r\n")),
        binario() + continuo.fecho(ead::kChave1, ead::kChave2),
    };
    for (const std::string& arquivo : arquivos) {
        std::string recuperado, esperado;
        ASSERT_TRUE(blocos(arquivo, recuperado, esperado)) << erros;
        EXPECT_EQ(recuperado.size(), 128u);
        EXPECT_EQ(recuperado, esperado);
    }
}

TEST_F(LinhaDeComandoOpenssl, UmByteAlteradoNaoConfere) {
    const std::string original = le(assinado("texto.txt", "LINHA 1\r\nLINHA 2\r\n"));
    const size_t posicoes[] = {0, 8, original.size() - ead::kTamanhoLinha - 1, original.size() - 100};
    for (size_t i : posicoes) {
        std::string alterado = original;
        alterado[i] = char(alterado[i] == '1' ? '2' : '1');
        std::string recuperado, esperado;
        // A signature past the modulus makes openssl itself refuse.
        if (blocos(alterado, recuperado, esperado)) {
            EXPECT_NE(recuperado, esperado) << i;
        }
    }
}

}  // namespace
}  // namespace assinatura_teste
