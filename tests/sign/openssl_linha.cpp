#include "openssl_linha.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <fstream>
#include <iterator>

namespace assinatura_teste {
namespace {

constexpr size_t kDigitos = 256, kTamanhoLinha = 3 + kDigitos + 2;

std::string le(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void grava(const std::filesystem::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

// Runs openssl with `argumentos` in `pasta`; true when it ends with status 0.
bool openssl(const std::filesystem::path& pasta, const QStringList& argumentos, std::string* erros) {
    const QString programa = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    if (programa.isEmpty()) {
        if (erros) *erros = "openssl is not installed (scripts/setup installs it)";
        return false;
    }
    QProcess processo;
    processo.setWorkingDirectory(QString::fromStdString(pasta.string()));
    processo.start(programa, argumentos);
    if (!processo.waitForFinished(30000)) return false;
    if (erros) *erros = processo.readAllStandardError().toStdString();
    return processo.exitStatus() == QProcess::NormalExit && processo.exitCode() == 0;
}

}  // namespace

bool blocosOpenssl(const std::filesystem::path& pasta, const std::string& arquivo, const std::string& chave1,
                   std::string& recuperado, std::string& esperado, std::string* erros) {
    if (arquivo.size() < kTamanhoLinha) return false;
    const size_t corpo = arquivo.size() - kTamanhoLinha;

    grava(pasta / "publica.cnf",
          "asn1 = SEQUENCE:chave\n"
          "[chave]\n"
          "algoritmo = SEQUENCE:rsa\n"
          "publica = BITWRAP,SEQUENCE:numeros\n"
          "[rsa]\n"
          "oid = OID:rsaEncryption\n"
          "nada = NULL\n"
          "[numeros]\n"
          "modulo = INTEGER:0x" +
              chave1 + "\nexpoente = INTEGER:65537\n");
    if (!openssl(pasta, {"asn1parse", "-genconf", "publica.cnf", "-noout", "-out", "publica.der"}, erros)) return false;

    // The digits become bytes as the contents of a DER octet string: its
    // last 128 bytes.
    const QString digitos = QString::fromStdString(arquivo.substr(corpo + 3, kDigitos));
    if (!openssl(pasta,
                 {"asn1parse", "-genstr", "FORMAT:HEX,OCTETSTRING:" + digitos, "-noout", "-out", "assinatura.der"},
                 erros))
        return false;
    const std::string der = le(pasta / "assinatura.der");
    if (der.size() < 128) return false;
    grava(pasta / "assinatura.bin", der.substr(der.size() - 128));
    if (!openssl(pasta,
                 {"pkeyutl", "-verifyrecover", "-pubin", "-keyform", "DER", "-inkey", "publica.der", "-pkeyopt",
                  "rsa_padding_mode:none", "-in", "assinatura.bin", "-out", "bloco.bin"},
                 erros))
        return false;
    recuperado = le(pasta / "bloco.bin");

    grava(pasta / "corpo.bin", arquivo.substr(0, corpo));
    if (!openssl(pasta, {"dgst", "-md5", "-binary", "-out", "md5.bin", "corpo.bin"}, erros)) return false;
    esperado = '\x10' + le(pasta / "md5.bin") + std::string(111, '\0');
    return true;
}

}  // namespace assinatura_teste
