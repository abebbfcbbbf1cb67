// The printer library exports exactly the functions its two headers declare
// (Kestrona_FI_* and the test control KesafiVirtual_*), and the signature
// library exactly validateFile: nothing of the virtual printer, the profile
// reader, the signing code or the toolchain's instantiations leaks.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

// Names of the functions a library exports, as `nm -D` lists its dynamic
// symbols defined in it.
std::set<std::string> exportados(const std::string& biblioteca) {
    std::set<std::string> nomes;
    FILE* p = popen(("nm -D --defined-only '" + biblioteca + "'").c_str(), "r");
    EXPECT_NE(p, nullptr);
    if (!p) return nomes;
    char linha[4096];
    while (std::fgets(linha, sizeof linha, p)) {
        std::istringstream campos(linha);
        std::string endereco, tipo, nome;
        if (campos >> endereco >> tipo >> nome) nomes.insert(nome);
    }
    EXPECT_EQ(pclose(p), 0) << "nm failed on " << biblioteca;
    return nomes;
}

// Names declared with the export macro `macro` in a header: what follows
// "<macro> int KESAFI_CALL", blanks and line breaks between the words.
std::set<std::string> declarados(const std::string& cabecalho, const std::string& macro) {
    std::ifstream in(cabecalho);
    std::string t, palavra;
    while (in >> palavra) t += palavra + ' ';
    std::set<std::string> nomes;
    const std::string antes = macro + " int KESAFI_CALL ";
    for (size_t p = t.find(antes); p != std::string::npos; p = t.find(antes, p + 1)) {
        const size_t inicio = p + antes.size();
        size_t fim = inicio;
        while (fim < t.size() && (std::isalnum(static_cast<unsigned char>(t[fim])) || t[fim] == '_')) ++fim;
        nomes.insert(t.substr(inicio, fim - inicio));
    }
    return nomes;
}

TEST(Exportados, APrinterLibraryExportsOnlyItsFunctionsAndTheTestControl) {
    std::set<std::string> esperados = declarados(KESAFI_INCLUDE "/kesafi32.h", "KESAFI_API");
    const auto controle = declarados(KESAFI_INCLUDE "/kesafi_virtual.h", "KESAFI_API");
    EXPECT_GT(esperados.size(), 50u);
    EXPECT_GT(controle.size(), 15u);
    esperados.insert(controle.begin(), controle.end());
    EXPECT_EQ(exportados(KESAFI32_ARQUIVO), esperados);
}

TEST(Exportados, TheSignatureLibraryExportsOnlyValidateFile) {
    EXPECT_EQ(declarados(KESAFI_INCLUDE "/kesafi32.h", "SIGN_KESA_API"), std::set<std::string>{"validateFile"});
    EXPECT_EQ(exportados(SIGN_KESA_ARQUIVO), std::set<std::string>{"validateFile"});
}

}  // namespace
