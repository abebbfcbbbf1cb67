// The tape read a page at a time (KesafiVirtual_FitaLimites, FitaLe,
// FitaProcura): the same records as the tape, in both directions, found by
// COO and by day, without touching the printer's status or call counts.
#include <sstream>
#include <string>
#include <vector>

#include "apoio.h"

namespace kesafi_teste {
namespace {

class Fita : public Impressora {
protected:
    struct Pagina {
        int retorno = 0;
        std::string texto;
    };
    Pagina le(long long numero, int sentido, int quantidade, int capacidade = 1 << 20) {
        Pagina p;
        std::string buffer(static_cast<size_t>(capacidade), 'x');
        int bytes = -1;
        p.retorno = KesafiVirtual_FitaLe(numero, sentido, quantidade, buffer.data(), capacidade, &bytes);
        if (p.retorno == 1) {
            EXPECT_EQ(buffer[static_cast<size_t>(bytes)], '\0');
            p.texto = buffer.substr(0, static_cast<size_t>(bytes));
        }
        return p;
    }
    std::pair<long long, long long> limites() {
        long long primeiro = -1, ultimo = -1;
        EXPECT_EQ(KesafiVirtual_FitaLimites(&primeiro, &ultimo), 1);
        return {primeiro, ultimo};
    }
};

// The page as LeFita writes the same records: "COO nnnnnn tipo data hora" over each text.
std::string comoLeFita(const std::string& pagina, std::vector<long long>* numeros = nullptr) {
    std::string out;
    size_t p = 0;
    while (p < pagina.size()) {
        const size_t fim = pagina.find("\r\n", p);
        if (fim == std::string::npos) {
            ADD_FAILURE() << "a heading without its line end";
            break;
        }
        std::istringstream cabecalho(pagina.substr(p, fim - p));
        long long numero = 0;
        std::string coo, tipo, data, hora;
        size_t tamanho = 0;
        cabecalho >> numero >> coo >> tipo >> data >> hora >> tamanho;
        if (numeros) numeros->push_back(numero);
        out += "COO " + coo + " " + tipo + " " + data + " " + hora + "\r\n" + pagina.substr(fim + 2, tamanho);
        p = fim + 2 + tamanho;
    }
    return out;
}

TEST_F(Fita, PagesInBothDirectionsHoldTheTapesRecordsAsPrinted) {
    localiza();
    ASSERT_EQ(Kestrona_FI_LeituraX(), 1);
    const auto [primeiro, ultimo] = limites();
    EXPECT_GE(primeiro, 1);
    EXPECT_EQ(ultimo - primeiro + 1, contador("Documentos"));

    // The last five records end with the Reading X, as LeFita shows them.
    std::vector<long long> numeros;
    const Pagina fim = le(ultimo, -1, 5);
    ASSERT_EQ(fim.retorno, 1);
    EXPECT_EQ(comoLeFita(fim.texto, &numeros), fita(5));
    EXPECT_EQ(numeros, (std::vector<long long>{ultimo - 4, ultimo - 3, ultimo - 2, ultimo - 1, ultimo}));
    EXPECT_NE(fim.texto.find("LEITURA X"), std::string::npos);

    // Forward from four before the end: the same records; past the end, nothing.
    EXPECT_EQ(le(ultimo - 4, 1, 5).texto, fim.texto);
    EXPECT_EQ(le(ultimo - 4, 1, 1000).texto, fim.texto);
    const Pagina depois = le(ultimo + 1, 1, 10);
    EXPECT_EQ(depois.retorno, 1);
    EXPECT_EQ(depois.texto, "");
    // A page that does not fit tells its length and leaves the buffer alone.
    std::string pequeno(16, 'x');
    int bytes = 0;
    EXPECT_EQ(KesafiVirtual_FitaLe(ultimo, -1, 5, pequeno.data(), 16, &bytes), -3);
    EXPECT_EQ(bytes, static_cast<int>(fim.texto.size()));
    EXPECT_EQ(pequeno, std::string(16, 'x'));
    EXPECT_EQ(le(ultimo, -1, 5, static_cast<int>(fim.texto.size())).retorno, -3);
    EXPECT_EQ(le(ultimo, -1, 5, static_cast<int>(fim.texto.size()) + 1).texto, fim.texto);

    for (const auto& [sentido, quantidade] : {std::pair{0, 5}, {2, 5}, {1, 0}, {-1, 1001}})
        EXPECT_EQ(le(ultimo, sentido, quantidade).retorno, -2) << sentido << " " << quantidade;
    EXPECT_EQ(KesafiVirtual_FitaLe(ultimo, 1, 1, nullptr, 10, &bytes), -2);
    long long numero = 0;
    EXPECT_EQ(KesafiVirtual_FitaLimites(nullptr, &numero), -2);
}

TEST_F(Fita, FindsTheFirstRecordOfACooOrADay) {
    localiza();
    ASSERT_EQ(Kestrona_FI_LeituraX(), 1);
    const long long coo = contador("COO");
    const auto [primeiro, ultimo] = limites();
    long long numero = -1;
    ASSERT_EQ(KesafiVirtual_FitaProcura(0, coo, coo, &numero), 1);
    EXPECT_EQ(numero, ultimo);
    EXPECT_EQ(KesafiVirtual_FitaProcura(0, coo + 1, coo + 5, &numero), 1);
    EXPECT_EQ(numero, 0);
    EXPECT_EQ(KesafiVirtual_FitaProcura(0, 1, 1, &numero), 1);
    EXPECT_GE(numero, primeiro);
    EXPECT_EQ(comoLeFita(le(numero, 1, 1).texto).rfind("COO 000001 ", 0), 0u);

    // Today's first record, and a day without any.
    const std::string hoje = diaDdmmyyyy();
    const long long dia = std::stoll(hoje.substr(4, 4) + hoje.substr(2, 2) + hoje.substr(0, 2));
    ASSERT_EQ(KesafiVirtual_FitaProcura(1, dia, dia, &numero), 1);
    EXPECT_GE(numero, primeiro);
    EXPECT_LE(numero, ultimo);
    EXPECT_NE(comoLeFita(le(numero, 1, 1).texto).find(" " + hoje + " "), std::string::npos);
    if (numero > primeiro) {
        EXPECT_EQ(comoLeFita(le(numero - 1, 1, 1).texto).find(" " + hoje + " "), std::string::npos);
    }
    EXPECT_EQ(KesafiVirtual_FitaProcura(1, 19990101, 19990101, &numero), 1);
    EXPECT_EQ(numero, 0);
    EXPECT_EQ(KesafiVirtual_FitaProcura(2, 1, 1, &numero), -2);
    EXPECT_EQ(KesafiVirtual_FitaProcura(0, 1, 1, nullptr), -2);
}

TEST_F(Fita, ReadingTheTapeSendsNothingAndAnswersLikeThePrinter) {
    long long primeiro = 0, ultimo = 0;
    // Port closed.
    EXPECT_EQ(KesafiVirtual_FitaLimites(&primeiro, &ultimo), -5);
    localiza();
    ASSERT_EQ(Kestrona_FI_LeituraX(), 1);
    const Status antes = status();
    int chamadas = 0;
    ASSERT_EQ(KesafiVirtual_ContaChamadas(nullptr, &chamadas), 1);
    // A forced answer waits for the next printer call, not for a read of the tape.
    ASSERT_EQ(KesafiVirtual_ForcaResposta(-27, KESAFI_ACK, 0, 1, 7), 1);
    ASSERT_EQ(KesafiVirtual_FitaLimites(&primeiro, &ultimo), 1);
    EXPECT_EQ(le(ultimo, -1, 3).retorno, 1);
    long long numero = 0;
    EXPECT_EQ(KesafiVirtual_FitaProcura(0, 1, 1, &numero), 1);
    int depois = 0;
    ASSERT_EQ(KesafiVirtual_ContaChamadas(nullptr, &depois), 1);
    EXPECT_EQ(depois, chamadas);
    const Status agora = status();
    EXPECT_EQ(agora.ack, antes.ack);
    EXPECT_EQ(agora.st1, antes.st1);
    EXPECT_EQ(Kestrona_FI_LeituraX(), -27);

    // Switched off, nothing answers.
    ASSERT_EQ(KesafiVirtual_Liga(0), 1);
    EXPECT_EQ(KesafiVirtual_FitaLimites(&primeiro, &ultimo), 0);
    EXPECT_EQ(le(ultimo, -1, 3).retorno, 0);
    EXPECT_EQ(KesafiVirtual_FitaProcura(0, 1, 1, &numero), 0);
    ASSERT_EQ(KesafiVirtual_Liga(1), 1);

    // A memory that cannot be read.
    alteraMemoria("UPDATE documentos SET data_hora = 'x' WHERE id = (SELECT max(id) FROM documentos)");
    localiza();
    EXPECT_EQ(le(ultimo, -1, 3).retorno, -1);
}

}  // namespace
}  // namespace kesafi_teste
