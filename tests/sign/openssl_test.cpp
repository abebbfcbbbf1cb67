// A signed file checked with the openssl command line alone, step by step as
// README shows it: the public key built from the first key text, the
// signature turned back with raw RSA, its block compared with the MD5 of the
// bytes before the EAD line.
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include "apoio.h"

namespace assinatura_teste {
namespace {

class LinhaDeComandoOpenssl : public Arquivos {
protected:
    // Runs openssl with `argumentos` in the test folder; true when it ends
    // with status 0.
    bool openssl(const QStringList& argumentos) {
        const QString programa = QStandardPaths::findExecutable(QStringLiteral("openssl"));
        EXPECT_FALSE(programa.isEmpty()) << "openssl is not installed (scripts/setup installs it)";
        QProcess processo;
        processo.setWorkingDirectory(pasta.path());
        processo.start(programa, argumentos);
        if (!processo.waitForFinished(30000)) return false;
        erros = processo.readAllStandardError().toStdString();
        return processo.exitStatus() == QProcess::NormalExit && processo.exitCode() == 0;
    }

    // The block recovered from the file's signature and the one made of the
    // MD5 of its body, as openssl computes them; false when a step fails.
    bool blocos(const std::string& arquivo, std::string& recuperado, std::string& esperado) {
        if (arquivo.size() < ead::kTamanhoLinha) return false;
        const size_t corpo = arquivo.size() - ead::kTamanhoLinha;

        grava("publica.cnf", std::string("asn1 = SEQUENCE:chave\n"
                                         "[chave]\n"
                                         "algoritmo = SEQUENCE:rsa\n"
                                         "publica = BITWRAP,SEQUENCE:numeros\n"
                                         "[rsa]\n"
                                         "oid = OID:rsaEncryption\n"
                                         "nada = NULL\n"
                                         "[numeros]\n"
                                         "modulo = INTEGER:0x") +
                                 ead::kChave1 + "\nexpoente = INTEGER:65537\n");
        if (!openssl({"asn1parse", "-genconf", "publica.cnf", "-noout", "-out", "publica.der"})) return false;

        // The digits become bytes as the contents of a DER octet string: its
        // last 128 bytes.
        const QString digitos = QString::fromStdString(arquivo.substr(corpo + 3, ead::kDigitos));
        if (!openssl({"asn1parse", "-genstr", "FORMAT:HEX,OCTETSTRING:" + digitos, "-noout", "-out", "assinatura.der"}))
            return false;
        const std::string der = le(caminho("assinatura.der"));
        if (der.size() < 128) return false;
        grava("assinatura.bin", der.substr(der.size() - 128));
        if (!openssl({"pkeyutl", "-verifyrecover", "-pubin", "-keyform", "DER", "-inkey", "publica.der", "-pkeyopt",
                      "rsa_padding_mode:none", "-in", "assinatura.bin", "-out", "bloco.bin"}))
            return false;
        recuperado = le(caminho("bloco.bin"));

        grava("corpo.bin", arquivo.substr(0, corpo));
        if (!openssl({"dgst", "-md5", "-binary", "-out", "md5.bin", "corpo.bin"})) return false;
        esperado = '\x10' + le(caminho("md5.bin")) + std::string(111, '\0');
        return true;
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
