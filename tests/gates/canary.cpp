// The library never writes past the width of a text buffer.  Every function
// that fills a text buffer gets one of exactly its width, followed by the
// terminating zero and canary bytes; after the call everything from the zero
// on must be as it was.  The same calls on buffers allocated at exactly
// width + 1 bytes let AddressSanitizer catch a write further out.
#include <QByteArray>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "instalacao.h"
#include "kesafi32.h"
#include "kesafi_virtual.h"

namespace {

struct Saida {
    const char* funcao;
    std::vector<int> larguras;  // one per text buffer, in argument order
    std::function<int(std::array<char*, 2>)> chama;
};

const std::vector<Saida>& saidas() {
    static const std::vector<Saida> todas = {
        {"VersaoDll", {KESAFI_LARGURA_VERSAO_DLL}, [](auto b) { return Kestrona_FI_VersaoDll(b[0]); }},
        {"NumeroSerieMFD", {KESAFI_LARGURA_NUMERO_SERIE}, [](auto b) { return Kestrona_FI_NumeroSerieMFD(b[0]); }},
        {"ModeloImpressora", {KESAFI_LARGURA_MODELO}, [](auto b) { return Kestrona_FI_ModeloImpressora(b[0]); }},
        {"VersaoFirmwareMFD",
         {KESAFI_LARGURA_VERSAO_FIRMWARE},
         [](auto b) { return Kestrona_FI_VersaoFirmwareMFD(b[0]); }},
        {"ReducoesRestantesMFD",
         {KESAFI_LARGURA_REDUCOES_RESTANTES},
         [](auto b) { return Kestrona_FI_ReducoesRestantesMFD(b[0]); }},
        {"DataHoraUltimoDocumentoMFD",
         {KESAFI_LARGURA_DATA_HORA_ULTIMO_DOC},
         [](auto b) { return Kestrona_FI_DataHoraUltimoDocumentoMFD(b[0]); }},
        {"DataHoraReducao",
         {KESAFI_LARGURA_DATA, KESAFI_LARGURA_HORA},
         [](auto b) { return Kestrona_FI_DataHoraReducao(b[0], b[1]); }},
        {"DataMovimento", {KESAFI_LARGURA_DATA}, [](auto b) { return Kestrona_FI_DataMovimento(b[0]); }},
        {"PercentualLivreMFD",
         {KESAFI_LARGURA_PERCENTUAL_LIVRE},
         [](auto b) { return Kestrona_FI_PercentualLivreMFD(b[0]); }},
        {"DataHoraImpressora",
         {KESAFI_LARGURA_DATA, KESAFI_LARGURA_HORA},
         [](auto b) { return Kestrona_FI_DataHoraImpressora(b[0], b[1]); }},
        {"NumeroCupom", {KESAFI_LARGURA_COO}, [](auto b) { return Kestrona_FI_NumeroCupom(b[0]); }},
        {"DadosUltimaReducaoMFD",
         {KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO},
         [](auto b) { return Kestrona_FI_DadosUltimaReducaoMFD(b[0]); }},
        {"RetornoAliquotas", {KESAFI_LARGURA_ALIQUOTAS}, [](auto b) { return Kestrona_FI_RetornoAliquotas(b[0]); }},
        {"VerificaIndiceAliquotasIss",
         {KESAFI_LARGURA_INDICES_ISS},
         [](auto b) { return Kestrona_FI_VerificaIndiceAliquotasIss(b[0]); }},
        {"VerificaFormasPagamento",
         {KESAFI_LARGURA_FORMAS_PAGAMENTO},
         [](auto b) { return Kestrona_FI_VerificaFormasPagamento(b[0]); }},
        {"VerificaRecebimentoNaoFiscalMFD",
         {KESAFI_LARGURA_RECEBIMENTOS},
         [](auto b) { return Kestrona_FI_VerificaRecebimentoNaoFiscalMFD(b[0]); }},
        {"VerificaRelatorioGerencialMFD",
         {KESAFI_LARGURA_RELATORIOS_GERENCIAIS},
         [](auto b) { return Kestrona_FI_VerificaRelatorioGerencialMFD(b[0]); }},
    };
    return todas;
}

constexpr int kCanarios = 32;

// `largura` blanks, the zero, then canary bytes that no answer contains.
QByteArray comCanario(int largura) {
    QByteArray b(largura, ' ');
    b.append('\0');
    for (int i = 0; i < kCanarios; ++i) b.append(char(0xA5 ^ i));
    return b;
}

class Canario : public Instalacao {
protected:
    void SetUp() override {
        Instalacao::SetUp();
        criaImpressora(QStringLiteral("USB"));
        gravaIni(QStringLiteral("Sistema"), QStringLiteral("Porta"), QStringLiteral("USB"));
        Kestrona_FI_SelecionaIniLocal();
        Kestrona_FI_ReloadINIFile();
        ASSERT_EQ(Kestrona_FI_AbrePortaSerial(), 1);
    }
    void TearDown() override {
        Kestrona_FI_FechaPortaSerial();
        Instalacao::TearDown();
    }

    // Calls every buffer-filling function with canaries; `antes` runs before
    // each call (a forced answer, a garbage buffer).  Returns the results.
    std::vector<int> chamaTodas(const std::function<void()>& antes = {}) {
        std::vector<int> resultados;
        for (const Saida& s : saidas()) {
            std::vector<QByteArray> buffers;
            for (int largura : s.larguras) buffers.push_back(comCanario(largura));
            std::array<char*, 2> args{};
            for (size_t i = 0; i < buffers.size(); ++i) args[i] = buffers[i].data();
            if (antes) antes();
            resultados.push_back(s.chama(args));
            for (size_t i = 0; i < buffers.size(); ++i) {
                const int largura = s.larguras[i];
                const QByteArray esperado = comCanario(largura).mid(largura);
                EXPECT_EQ(buffers[i].size(), largura + 1 + kCanarios);
                EXPECT_EQ(buffers[i].mid(largura).toHex().toStdString(), esperado.toHex().toStdString())
                    << s.funcao << ": written past buffer " << i + 1 << " of width " << largura;
            }
        }
        return resultados;
    }
};

TEST_F(Canario, RespostasNormaisFicamNaLargura) {
    const std::vector<int> resultados = chamaTodas();
    for (size_t i = 0; i < resultados.size(); ++i) EXPECT_EQ(resultados[i], 1) << saidas()[i].funcao;
}

TEST_F(Canario, BufferDeLixoFicaNaLargura) {
    // Garbage without a zero (a library that forgot the terminator) and with
    // zeros inside, longer than any field.
    for (const std::string& lixo : {std::string(4000, 'X'), std::string("12\0\xff\x01", 5)}) {
        const std::vector<int> resultados =
            chamaTodas([&] { ASSERT_EQ(KesafiVirtual_ForcaBufferLixo(lixo.data(), int(lixo.size())), 1); });
        for (size_t i = 0; i < resultados.size(); ++i) EXPECT_EQ(resultados[i], 1) << saidas()[i].funcao;
    }
}

TEST_F(Canario, RecusaEImpressoraDesligadaNaoEscrevem) {
    const std::vector<int> recusas =
        chamaTodas([] { ASSERT_EQ(KesafiVirtual_ForcaResposta(-27, KESAFI_ACK, 0, 1, 0), 1); });
    for (size_t i = 0; i < recusas.size(); ++i) EXPECT_EQ(recusas[i], -27) << saidas()[i].funcao;

    ASSERT_EQ(KesafiVirtual_Liga(0), 1);
    const std::vector<int> desligada = chamaTodas();
    // The library's own version needs no printer; every other answer fails.
    for (size_t i = 0; i < desligada.size(); ++i) {
        if (saidas()[i].funcao != std::string("VersaoDll")) {
            EXPECT_LT(desligada[i], 1) << saidas()[i].funcao;
        }
    }
}

// Buffers of exactly width + 1 bytes on the heap: one byte further and
// AddressSanitizer stops the test.
TEST_F(Canario, BufferExatoNaoTransborda) {
    const std::string lixo(4000, 'Y');
    for (bool comLixo : {false, true}) {
        for (const Saida& s : saidas()) {
            std::vector<std::vector<char>> buffers;
            std::array<char*, 2> args{};
            for (int largura : s.larguras) {
                buffers.emplace_back(size_t(largura) + 1, ' ');
                buffers.back().back() = '\0';
            }
            for (size_t i = 0; i < buffers.size(); ++i) args[i] = buffers[i].data();
            if (comLixo) {
                ASSERT_EQ(KesafiVirtual_ForcaBufferLixo(lixo.data(), int(lixo.size())), 1);
            }
            EXPECT_EQ(s.chama(args), 1) << s.funcao;
            for (const auto& b : buffers) EXPECT_EQ(b.back(), '\0') << s.funcao;
        }
    }
}

}  // namespace
