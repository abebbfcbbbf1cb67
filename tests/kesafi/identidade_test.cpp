// Port and attachment, identity, status bytes, forced answers, a printer
// switched off and garbage buffers.
#include <cstring>
#include <functional>

#include "apoio.h"

namespace kesafi_teste {
namespace {

TEST_F(Impressora, LocatesOnUsbAndReadsIdentity) {
    localiza();
    std::string serie = espacos(KESAFI_LARGURA_NUMERO_SERIE), modelo = espacos(KESAFI_LARGURA_MODELO),
                firmware = espacos(KESAFI_LARGURA_VERSAO_FIRMWARE), versao = espacos(KESAFI_LARGURA_VERSAO_DLL);
    EXPECT_EQ(Kestrona_FI_NumeroSerieMFD(serie.data()), 1);
    EXPECT_EQ(serie, "VF080000000000010247");
    EXPECT_EQ(Kestrona_FI_ModeloImpressora(modelo.data()), 1);
    EXPECT_EQ(modelo, "VF-80 TH   ");
    EXPECT_EQ(Kestrona_FI_VersaoFirmwareMFD(firmware.data()), 1);
    EXPECT_EQ(firmware.substr(0, 6), "010200");
    EXPECT_EQ(Kestrona_FI_VersaoDll(versao.data()), 1);
    EXPECT_EQ(versao.find(' '), std::string::npos);
    std::string restantes = espacos(KESAFI_LARGURA_REDUCOES_RESTANTES),
                livre = espacos(KESAFI_LARGURA_PERCENTUAL_LIVRE);
    EXPECT_EQ(Kestrona_FI_ReducoesRestantesMFD(restantes.data()), 1);
    EXPECT_EQ(std::stoi(restantes), 3650 - contador("CRZ"));
    EXPECT_EQ(Kestrona_FI_PercentualLivreMFD(livre.data()), 1);
    EXPECT_EQ(livre.substr(0, 2), "99");
    EXPECT_EQ(status(), (Status{KESAFI_ACK, 0, 0, 0}));
}

TEST_F(Impressora, SerialPrinterIsFoundOnlyAfterTheUsbAttemptFails) {
    ASSERT_EQ(KesafiVirtual_Conecta("Serial"), 1);
    escreveIni("Sistema", "Porta", "USB");
    Kestrona_FI_SelecionaIniLocal();
    Kestrona_FI_ReloadINIFile();
    EXPECT_EQ(Kestrona_FI_AbrePortaSerial(), -5);
    Kestrona_FI_FechaPortaSerial();
    localiza("Default");
    EXPECT_EQ(contador("PortaAberta"), 1);
}

TEST_F(Impressora, PortIsTakenFromTheIniOnlyWhenReloaded) {
    localiza("USB");
    Kestrona_FI_FechaPortaSerial();
    // Changed without SelecionaIniLocal/ReloadINIFile: the USB port is still the one tried.
    escreveIni("Sistema", "Porta", "Default");
    EXPECT_EQ(Kestrona_FI_AbrePortaSerial(), 1);
    Kestrona_FI_FechaPortaSerial();
    Kestrona_FI_ReloadINIFile();
    EXPECT_EQ(Kestrona_FI_AbrePortaSerial(), -5);
}

TEST_F(Impressora, PrinterAttachedNowhereOrMissingIniFailsToOpen) {
    ASSERT_EQ(KesafiVirtual_Conecta(""), 1);
    Kestrona_FI_ReloadINIFile();
    EXPECT_EQ(Kestrona_FI_AbrePortaSerial(), -5);
    escreveIni("Sistema", "Porta", "Default");
    Kestrona_FI_ReloadINIFile();
    EXPECT_EQ(Kestrona_FI_AbrePortaSerial(), -5);
    std::filesystem::remove(ini);
    EXPECT_EQ(Kestrona_FI_SelecionaIniLocal(), -4);
    EXPECT_EQ(Kestrona_FI_AbrePortaSerial(), -4);
}

TEST_F(Impressora, CallsBeforeThePortIsOpenFailAndLeaveBuffersAlone) {
    EXPECT_EQ(le(Kestrona_FI_NumeroSerieMFD, KESAFI_LARGURA_NUMERO_SERIE, -5), espacos(KESAFI_LARGURA_NUMERO_SERIE));
    EXPECT_EQ(Kestrona_FI_LeituraX(), -5);
    EXPECT_EQ(status().ack, 0);
    // The library's own version needs no printer.
    le(Kestrona_FI_VersaoDll, KESAFI_LARGURA_VERSAO_DLL);
}

TEST_F(Impressora, PrinterSwitchedOffAnswersNoCall) {
    localiza();
    ASSERT_EQ(KesafiVirtual_Liga(0), 1);
    EXPECT_EQ(le(Kestrona_FI_NumeroCupom, KESAFI_LARGURA_COO, 0), espacos(KESAFI_LARGURA_COO));
    EXPECT_EQ(Kestrona_FI_LeituraX(), 0);
    EXPECT_EQ(status().ack, 0);
    EXPECT_EQ(KesafiVirtual_AdicionaVendas(1), 0);
    // The library itself still answers.
    le(Kestrona_FI_VersaoDll, KESAFI_LARGURA_VERSAO_DLL);
    Kestrona_FI_FechaPortaSerial();
    EXPECT_EQ(Kestrona_FI_AbrePortaSerial(), -6);
    ASSERT_EQ(KesafiVirtual_Liga(1), 1);
    EXPECT_EQ(Kestrona_FI_AbrePortaSerial(), 1);
    EXPECT_EQ(std::stoll(le(Kestrona_FI_NumeroCupom, KESAFI_LARGURA_COO)), contador("COO"));
}

TEST_F(Impressora, ExtendedCodeStaysZeroUntilSwitchedOn) {
    escreveIni("Sistema", "Porta", "USB");
    Kestrona_FI_ReloadINIFile();
    ASSERT_EQ(Kestrona_FI_AbrePortaSerial(), 1);
    EXPECT_EQ(Kestrona_FI_ProgramaAliquota("0000", 0), -27);
    Status s = status();
    EXPECT_EQ(s.ack, KESAFI_ACK);
    EXPECT_EQ(s.st1, 1);
    EXPECT_EQ(s.st3, 0);
    EXPECT_EQ(Kestrona_FI_HabilitaDesabilitaRetornoEstendidoMFD("1"), 1);
    EXPECT_EQ(Kestrona_FI_ProgramaAliquota("0000", 0), -27);
    EXPECT_EQ(status().st3, 195);
    EXPECT_EQ(Kestrona_FI_HabilitaDesabilitaRetornoEstendidoMFD("2"), -2);
    EXPECT_EQ(Kestrona_FI_HabilitaDesabilitaRetornoEstendidoMFD(nullptr), -2);
}

TEST_F(Impressora, ForcedAnswersServeOneCallEachIncludingNak) {
    localiza();
    const long long coo = contador("COO");
    ASSERT_EQ(KesafiVirtual_ForcaResposta(0, KESAFI_NAK, 0, 0, 0), 1);
    ASSERT_EQ(KesafiVirtual_ForcaResposta(-27, KESAFI_ACK, 64, 8, 5), 1);
    EXPECT_EQ(Kestrona_FI_LeituraX(), 0);
    EXPECT_EQ(status().ack, KESAFI_NAK);
    EXPECT_EQ(le(Kestrona_FI_NumeroSerieMFD, KESAFI_LARGURA_NUMERO_SERIE, -27), espacos(KESAFI_LARGURA_NUMERO_SERIE));
    EXPECT_EQ(status(), (Status{KESAFI_ACK, 64, 8, 5}));
    EXPECT_EQ(contador("COO"), coo);  // the forced Reading X did nothing
    EXPECT_EQ(Kestrona_FI_LeituraX(), 1);
    EXPECT_EQ(contador("COO"), coo + 1);
}

TEST_F(Impressora, GarbageFillsOnlyTheNextTextBufferWithinItsWidth) {
    localiza();
    const char lixo[] = {'\xff', '\0', 'Z'};
    ASSERT_EQ(KesafiVirtual_ForcaBufferLixo(lixo, 3), 1);
    int flags = -1;
    EXPECT_EQ(Kestrona_FI_FlagsFiscais(&flags), 1);  // no text buffer: not consumed
    char data[10], hora[10];
    std::memset(data, '#', sizeof data);
    std::memset(hora, '#', sizeof hora);
    std::memset(data, ' ', 6);
    std::memset(hora, ' ', 6);
    data[6] = hora[6] = '\0';
    EXPECT_EQ(Kestrona_FI_DataHoraImpressora(data, hora), 1);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(data[i], lixo[i % 3]) << i;
        EXPECT_EQ(hora[i], lixo[i % 3]) << i;
    }
    EXPECT_EQ(data[6], '\0');
    EXPECT_EQ(data[7], '#');
    EXPECT_EQ(status(), (Status{KESAFI_ACK, 0, 0, 0}));
    EXPECT_EQ(le(Kestrona_FI_DataMovimento, KESAFI_LARGURA_DATA), "000000");
    EXPECT_EQ(KesafiVirtual_ForcaBufferLixo(lixo, 0), -2);
}

// Every text answer: exactly its width, never beyond, whatever the buffer holds.
struct Leitura {
    const char* nome;
    size_t largura;
    std::function<int(char*)> chama;
};

TEST_F(Impressora, AnswersNeverWritePastTheCallersWidth) {
    localiza();
    const std::vector<Leitura> leituras = {
        {"VersaoDll", KESAFI_LARGURA_VERSAO_DLL, Kestrona_FI_VersaoDll},
        {"NumeroSerieMFD", KESAFI_LARGURA_NUMERO_SERIE, Kestrona_FI_NumeroSerieMFD},
        {"ModeloImpressora", KESAFI_LARGURA_MODELO, Kestrona_FI_ModeloImpressora},
        {"VersaoFirmwareMFD", KESAFI_LARGURA_VERSAO_FIRMWARE, Kestrona_FI_VersaoFirmwareMFD},
        {"ReducoesRestantesMFD", KESAFI_LARGURA_REDUCOES_RESTANTES, Kestrona_FI_ReducoesRestantesMFD},
        {"DataHoraUltimoDocumentoMFD", KESAFI_LARGURA_DATA_HORA_ULTIMO_DOC, Kestrona_FI_DataHoraUltimoDocumentoMFD},
        {"DataMovimento", KESAFI_LARGURA_DATA, Kestrona_FI_DataMovimento},
        {"PercentualLivreMFD", KESAFI_LARGURA_PERCENTUAL_LIVRE, Kestrona_FI_PercentualLivreMFD},
        {"NumeroCupom", KESAFI_LARGURA_COO, Kestrona_FI_NumeroCupom},
        {"DadosUltimaReducaoMFD", KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO, Kestrona_FI_DadosUltimaReducaoMFD},
        {"RetornoAliquotas", KESAFI_LARGURA_ALIQUOTAS, Kestrona_FI_RetornoAliquotas},
        {"VerificaIndiceAliquotasIss", KESAFI_LARGURA_INDICES_ISS, Kestrona_FI_VerificaIndiceAliquotasIss},
        {"VerificaFormasPagamento", KESAFI_LARGURA_FORMAS_PAGAMENTO, Kestrona_FI_VerificaFormasPagamento},
        {"VerificaRecebimentoNaoFiscalMFD", KESAFI_LARGURA_RECEBIMENTOS, Kestrona_FI_VerificaRecebimentoNaoFiscalMFD},
        {"VerificaRelatorioGerencialMFD", KESAFI_LARGURA_RELATORIOS_GERENCIAIS,
         Kestrona_FI_VerificaRelatorioGerencialMFD},
        {"DataHoraReducao(data)", KESAFI_LARGURA_DATA,
         [](char* b) {
             std::string h = espacos(KESAFI_LARGURA_HORA);
             return Kestrona_FI_DataHoraReducao(b, h.data());
         }},
        {"DataHoraImpressora(hora)", KESAFI_LARGURA_HORA,
         [](char* b) {
             std::string d = espacos(KESAFI_LARGURA_DATA);
             return Kestrona_FI_DataHoraImpressora(d.data(), b);
         }},
    };
    for (const Leitura& l : leituras) {
        for (size_t dada : {l.largura, l.largura / 2, size_t{0}}) {
            std::string buf = espacos(dada) + std::string(1, '\0') + std::string(64, '#');
            EXPECT_EQ(l.chama(buf.data()), 1) << l.nome;
            EXPECT_EQ(buf[dada], '\0') << l.nome << " width " << dada;
            EXPECT_EQ(buf.substr(dada + 1), std::string(64, '#')) << l.nome << " width " << dada;
            EXPECT_EQ(std::strlen(buf.c_str()), dada) << l.nome;
        }
        // A buffer of the full width comes back filled to its last position.
        std::string cheio = espacos(l.largura);
        l.chama(cheio.data());
        EXPECT_EQ(cheio.size(), l.largura);
        EXPECT_NE(cheio, espacos(l.largura)) << l.nome;
    }
    EXPECT_EQ(Kestrona_FI_NumeroSerieMFD(nullptr), -2);
    EXPECT_EQ(Kestrona_FI_FlagsFiscais(nullptr), -2);
    EXPECT_EQ(Kestrona_FI_DataHoraReducao(nullptr, nullptr), -2);
}

TEST_F(Impressora, CallsAreCountedAndTheBaseFolderForgetsSessionState) {
    localiza();
    Kestrona_FI_LeituraX();
    Kestrona_FI_LeituraX();
    int n = 0;
    ASSERT_EQ(KesafiVirtual_ContaChamadas("LeituraX", &n), 1);
    EXPECT_EQ(n, 2);
    ASSERT_EQ(KesafiVirtual_ContaChamadas("Kestrona_FI_AbrePortaSerial", &n), 1);
    EXPECT_EQ(n, 1);
    KesafiVirtual_ForcaResposta(0, KESAFI_NAK, 0, 0, 0);
    ASSERT_EQ(KesafiVirtual_DefinePastaBase(pasta.c_str()), 1);
    EXPECT_EQ(status().ack, 0);
    ASSERT_EQ(KesafiVirtual_ContaChamadas(nullptr, &n), 1);
    EXPECT_EQ(n, 1);  // the status read just made
    EXPECT_EQ(contador("PortaAberta"), 0);
    localiza();  // the forced NAK is gone
    EXPECT_EQ(status().ack, KESAFI_ACK);
}

TEST_F(Impressora, MemoryFolderComesFromTheVirtualSection) {
    escreveIni("Virtual", "Memoria", "outra");
    localiza();
    EXPECT_TRUE(std::filesystem::exists(pasta / "outra" / "memoria.db"));
    EXPECT_EQ(KesafiVirtual_CriaImpressora("", 3), 1);
    EXPECT_EQ(le(Kestrona_FI_NumeroSerieMFD, KESAFI_LARGURA_NUMERO_SERIE), "VF080000000000034004");
}

}  // namespace
}  // namespace kesafi_teste
