// Reading X, fiscal memory readings, the capture file and the configuration print-out.
#include "apoio.h"

namespace kesafi_teste {
namespace {

class Relatorios : public ImpressoraLocalizada {
protected:
    std::string captura(const std::filesystem::path& pastaPath) { return leArquivo(pastaPath / "Retorno.txt"); }
};

// Windows-1252 text with CR LF line ends only.
void textoDeCaptura(const std::string& t) {
    ASSERT_FALSE(t.empty());
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '\n') {
            EXPECT_TRUE(i > 0 && t[i - 1] == '\r') << "bare LF at " << i;
        }
        if (t[i] == '\r') {
            EXPECT_TRUE(i + 1 < t.size() && t[i + 1] == '\n') << "bare CR at " << i;
        }
        // No UTF-8 sequence of the accented letters.
        const auto c = static_cast<unsigned char>(t[i]);
        if ((c == 0xC2 || c == 0xC3) && i + 1 < t.size()) {
            const auto d = static_cast<unsigned char>(t[i + 1]);
            EXPECT_FALSE(d >= 0x80 && d <= 0xBF) << "UTF-8 at " << i;
        }
    }
}

TEST_F(Relatorios, ReadingXIsADocumentOnTheTape) {
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(3), 1);
    const long long coo = contador("COO"), gnf = contador("GNF");
    ASSERT_EQ(Kestrona_FI_LeituraX(), 1);
    EXPECT_EQ(contador("COO"), coo + 1);
    EXPECT_EQ(contador("GNF"), gnf + 1);
    const std::string x = fita(1);
    EXPECT_EQ(x.rfind("COO " + std::to_string(coo + 1).insert(0, 6 - std::to_string(coo + 1).size(), '0') +
                          " LEITURA_X " + diaDdmmyyyy() + " 100000",
                      0),
              0u);
    EXPECT_NE(x.find("LEITURA X"), std::string::npos);
    EXPECT_NE(x.find("MOVIMENTO DO DIA:"), std::string::npos);
    EXPECT_NE(x.find("Dinheiro"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(pasta / "Retorno.txt"));
}

TEST_F(Relatorios, SerialReadingXGoesToTheFolderNamedByPathAtTheMomentOfTheCall) {
    ASSERT_EQ(Kestrona_FI_LeituraXSerial(), 1);
    const std::string primeira = captura(pasta);
    textoDeCaptura(primeira);
    EXPECT_NE(primeira.find("LEITURA X"), std::string::npos);
    EXPECT_NE(primeira.find("Opera\xE7\xE3o"), std::string::npos);
    // The program points Path elsewhere just before some calls.
    std::filesystem::create_directories(pasta / "Relatorios");
    escreveIni("Sistema", "Path", (pasta / "Relatorios").c_str());
    ASSERT_EQ(Kestrona_FI_LeituraXSerial(), 1);
    EXPECT_EQ(captura(pasta), primeira);
    EXPECT_NE(captura(pasta / "Relatorios"), primeira);
    escreveIni("Sistema", "Path", (pasta.string() + "/").c_str());
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(1), 1);
    ASSERT_EQ(Kestrona_FI_LeituraXSerial(), 1);
    EXPECT_NE(captura(pasta), primeira);  // replaced, not appended
    const std::string terceira = captura(pasta);
    EXPECT_EQ(terceira.find("LEITURA X"), terceira.rfind("LEITURA X"));
}

TEST_F(Relatorios, CaptureThatCannotBeWrittenFails) {
    escreveIni("Sistema", "Path", (pasta / "nao" / "existe").c_str());
    EXPECT_EQ(Kestrona_FI_LeituraXSerial(), -8);
    EXPECT_EQ(Kestrona_FI_LeituraMemoriaFiscalSerialReducaoMFD("0001", "0001", "c"), -8);
}

TEST_F(Relatorios, FiscalMemoryByDatesCompleteAndSimplified) {
    const std::string de = diaDdmmyy(-30), ate = diaDdmmyy(0);
    const std::string ini = de.substr(0, 2) + "/" + de.substr(2, 2) + "/" + de.substr(4, 2);
    const std::string fim = ate.substr(0, 2) + "/" + ate.substr(2, 2) + "/" + ate.substr(4, 2);
    ASSERT_EQ(Kestrona_FI_LeituraMemoriaFiscalSerialDataMFD(ini.c_str(), fim.c_str(), "c"), 1);
    const std::string completa = captura(pasta);
    textoDeCaptura(completa);
    EXPECT_NE(completa.find("LEITURA DA MEM\xD3RIA FISCAL"), std::string::npos);
    EXPECT_NE(completa.find("COMPLETA"), std::string::npos);
    EXPECT_NE(completa.find("CRZ:0001"), std::string::npos);
    EXPECT_NE(completa.find("CRZ:" + std::string(4 - std::to_string(contador("CRZ")).size(), '0') +
                            std::to_string(contador("CRZ"))),
              std::string::npos);
    EXPECT_NE(completa.find("VENDA BRUTA:"), std::string::npos);
    ASSERT_EQ(Kestrona_FI_LeituraMemoriaFiscalSerialDataMFD(ini.c_str(), fim.c_str(), "s"), 1);
    const std::string simplificada = captura(pasta);
    EXPECT_NE(simplificada.find("SIMPLIFICADA"), std::string::npos);
    EXPECT_EQ(simplificada.find("GT FINAL"), std::string::npos);
    EXPECT_LT(simplificada.size(), completa.size());
    // An interval without reductions still prints the reading.
    ASSERT_EQ(Kestrona_FI_LeituraMemoriaFiscalDataMFD("01/01/01", "02/01/01", "c"), 1);
    EXPECT_NE(fita(1).find("N\xC3O H\xC1 REDU\xC7\xD5"
                           "ES"),
              std::string::npos);
}

TEST_F(Relatorios, FiscalMemoryByReductionNumbersAsTyped) {
    ASSERT_EQ(Kestrona_FI_LeituraMemoriaFiscalSerialReducaoMFD("2   ", "0003", "S"), 1);
    const std::string t = captura(pasta);
    EXPECT_NE(t.find("REDU\xC7\xD5"
                     "ES: 0002 A 0003"),
              std::string::npos);
    EXPECT_NE(t.find("\r\n0002  "), std::string::npos);
    EXPECT_NE(t.find("\r\n0003  "), std::string::npos);
    EXPECT_EQ(t.find("\r\n0004  "), std::string::npos);
    ASSERT_EQ(Kestrona_FI_LeituraMemoriaFiscalReducaoMFD("0001", "0001", "c"), 1);
}

TEST_F(Relatorios, FiscalMemoryRangeRefusals) {
    const long long coo = contador("COO");
    EXPECT_EQ(Kestrona_FI_LeituraMemoriaFiscalDataMFD("31/02/24", "01/03/24", "c"), -27);
    st3(KESAFI_ST3_DATA_INICIAL_INVALIDA);
    EXPECT_EQ(status().st1, 1);
    EXPECT_EQ(Kestrona_FI_LeituraMemoriaFiscalDataMFD("01/03/24", "  /  /  ", "c"), -27);
    st3(KESAFI_ST3_DATA_FINAL_INVALIDA);
    EXPECT_EQ(Kestrona_FI_LeituraMemoriaFiscalDataMFD("02/03/24", "01/03/24", "c"), -27);
    st3(KESAFI_ST3_INTERVALO_INVALIDO);
    EXPECT_EQ(Kestrona_FI_LeituraMemoriaFiscalReducaoMFD("    ", "0002", "c"), -27);
    st3(KESAFI_ST3_REDUCAO_INICIAL_INVALIDA);
    EXPECT_EQ(Kestrona_FI_LeituraMemoriaFiscalReducaoMFD("0001", "12a4", "c"), -27);
    st3(KESAFI_ST3_REDUCAO_FINAL_INVALIDA);
    EXPECT_EQ(Kestrona_FI_LeituraMemoriaFiscalReducaoMFD("0005", "0002", "c"), -27);
    st3(KESAFI_ST3_INTERVALO_INVALIDO);
    EXPECT_EQ(Kestrona_FI_LeituraMemoriaFiscalReducaoMFD("0001", "0002", "x"), -2);
    EXPECT_EQ(Kestrona_FI_LeituraMemoriaFiscalSerialDataMFD(nullptr, "01/03/24", "c"), -2);
    EXPECT_EQ(contador("COO"), coo);
}

TEST_F(Relatorios, ConfigurationPrintOutListsTheTables) {
    ASSERT_EQ(Kestrona_FI_ImprimeConfiguracoesImpressora(), 1);
    const std::string t = fita(1);
    EXPECT_NE(t.find("CONFIGURACAO"), std::string::npos);
    EXPECT_NE(t.find("CONFIGURA\xC7\xD5"
                     "ES DO ECF"),
              std::string::npos);
    EXPECT_NE(t.find("18,00%"), std::string::npos);
    EXPECT_NE(t.find("Cartao Credito"), std::string::npos);
    EXPECT_NE(t.find("Relatorio Geral"), std::string::npos);
}

}  // namespace
}  // namespace kesafi_teste
