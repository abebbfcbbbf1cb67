// The virtual fiscal printer: its commands, refusals and answers, run over
// its memory.  Every command that changes the printer is one transaction.
// It knows nothing of the library's calls: the C interface (kestrona.cpp)
// checks and converts their arguments and lays out the answers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "kesafi32.h"
#include "memoria.h"

namespace kesafi {

// Result of a command: the library result and the printer's status bytes.
struct Resposta {
    int retorno = 1;
    int st1 = 0, st2 = 0, st3 = 0;
};

inline Resposta recusa(int st1, int st2, int st3) { return {-27, st1, st2, st3}; }

// The answer of a printer whose fiscal memory cannot be read, to every
// command that needs it: "ERRO NA MEMÓRIA FISCAL CHAMAR CREDENCIADO".
inline Resposta memoriaDanificada() {
    return recusa(KESAFI_ST1_ECF_EM_ERRO, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_ERRO_NA_MEMORIA_FISCAL);
}

// A refusal found deep inside a command (the tape is full, the clock is
// behind the last document): the command is undone and answers `resposta`.
struct Recusa : std::runtime_error {
    explicit Recusa(Resposta r) : std::runtime_error("recusa"), resposta(r) {}
    Resposta resposta;
};

// How opening the printer of a memory folder went.
enum class Acesso {
    Pronta,  // the printer answers: from its memory, a new one, or one whose memory is damaged
    EmUso,   // another process has the memory open
    Falhou,  // the system refused (a full disk, no permission); the memory stays as it was
};

inline constexpr const char* kModelo = "VF-80 TH";
inline constexpr const char* kMarca = "KESTRONA";
inline constexpr const char* kTipoEcf = "ECF-IF";
inline constexpr const char* kFirmware = "010200";
inline constexpr const char* kVersaoSb = "01.02.00";

// The printer's user (the taxpayer), as its documents print it.
struct Contribuinte {
    const char* razaoSocial;
    const char* nomeFantasia;
    const char* endereco;
    const char* cidade;
    const char* cnpj;  // digits
    const char* inscricaoEstadual;
    const char* inscricaoMunicipal;
};
inline constexpr Contribuinte kContribuinte{"COMERCIAL DEMONSTRAÇÃO LTDA",
                                            "LOJA VIRTUAL",
                                            "AV. DAS NAÇÕES, 1000 - CENTRO",
                                            "SÃO PAULO - SP",
                                            "12345678000195",
                                            "123456789110",
                                            "9876543"};
inline constexpr int kCapacidadeReducoes = 3650;
inline constexpr int64_t kCapacidadeMfd = int64_t{1} << 30;

// Free space of the tape detail memory in hundredths of a percent (0 to
// 9999), rounded down: at 0 the tape takes no new document.
int64_t centesimosLivres(const Estado& e);

// What a command works on: copies of the printer's state, written back only
// when the command's transaction commits.
struct Contexto {
    Memoria& mem;
    Estado& e;
    Tabelas& t;
    std::optional<Reducao>& ultima;
    int64_t agora;  // printer clock for this command
};

class Impressora {
public:
    // The printer whose memory lives in `pasta`, into `saida`.  A folder with
    // no memory at all gets a brand new printer (see substitui); a memory that
    // cannot be read gives a printer with a damaged fiscal memory, its files
    // left as they were.  The printer holds the memory's lock while it lives;
    // failures and a damaged memory are told on the standard error output.
    static Acesso abre(const std::string& pasta, int semente, int64_t hoje, std::unique_ptr<Impressora>& saida);
    // Replaces the memory of `pasta` by a brand new printer with its factory
    // tables and a deterministic past ending with a reduction on the day
    // before `hoje` (printer wall time).
    static Acesso substitui(const std::string& pasta, int semente, int64_t hoje, std::unique_ptr<Impressora>& saida);

    // The fiscal memory cannot be read: every command is refused with
    // memoriaDanificada() and the state below is empty.
    bool danificada() const { return !mem_; }

    const std::string& pasta() const { return pasta_; }
    const Estado& estado() const { return e_; }
    const Tabelas& tabelas() const { return t_; }
    const std::optional<Reducao>& ultimaReducao() const { return ultima_; }
    Memoria& memoria() { return *mem_; }
    // Runs a reading of the memory that changes nothing (the MF/MFD data
    // functions): a record it finds unreadable damages the printer as a
    // command would.
    Resposta consulta(const std::function<Resposta(Memoria&)>& leitura);

    int64_t agora() const;
    int flags() const;
    int reducoesRestantes() const;
    int estadoGaveta() const;  // 1 closed, 0 open
    bool cupomAberto() const;  // a fiscal receipt is in progress
    // The clock reads earlier than the last document stored ("Erro no
    // Relógio"): no document is issued until it is right again.
    bool relogioInvalido() const;

    // Answers laid out for the library's callers.
    std::string respostaFormas() const;           // KESAFI_LARGURA_FORMAS_PAGAMENTO
    std::string respostaAliquotas() const;        // KESAFI_LARGURA_ALIQUOTAS
    std::string respostaIndicesIss() const;       // KESAFI_LARGURA_INDICES_ISS
    std::string respostaTotalizadores() const;    // KESAFI_LARGURA_RECEBIMENTOS
    std::string respostaRelatorios() const;       // KESAFI_LARGURA_RELATORIOS_GERENCIAIS
    std::string respostaUltimaReducao() const;    // KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO
    std::string respostaPercentualLivre() const;  // KESAFI_LARGURA_PERCENTUAL_LIVRE

    // Commands.  Text results (readings) go to `texto` when given.
    Resposta programaAliquota(int valor, bool iss);
    Resposta programaForma(std::string_view nome, bool vinculada);
    Resposta nomeiaTotalizador(int indice, std::string_view nome);
    Resposta nomeiaRelatorio(int indice, std::string_view nome);
    Resposta leituraX(std::string* texto);
    Resposta reducaoZ(std::optional<int64_t> horaInformada);
    Resposta leituraMemoriaPorData(int inicial, int final, bool simplificada, std::string* texto);
    Resposta leituraMemoriaPorReducao(int inicial, int final, bool simplificada, std::string* texto);
    Resposta horarioVerao();
    Resposta acionaGaveta();
    Resposta ativaGuilhotina(bool ativa);
    Resposta ativaCorteTotal(bool ativa);
    Resposta corta(int tipo);
    Resposta abreRelatorio(int indice);
    Resposta usaRelatorio(std::string_view texto);
    Resposta fechaRelatorio();
    Resposta espacoEntreLinhas(int pontos);
    Resposta linhasEntreCupons(int linhas);
    Resposta cancelaCupom();
    Resposta cancelaNaoFiscal();
    // Leaves a document open, as a point-of-sale program that stopped in the
    // middle of it: a fiscal receipt with its items, a non-fiscal receipt not
    // paid, or managerial report 1 with a line of text.
    enum class Aberto { Cupom, NaoFiscal, Gerencial };
    Resposta deixaAberto(Aberto documento);
    Resposta imprimeConfiguracao();
    Resposta tratamentoOffLine(int modo);
    Resposta vendas(int quantidade);
    Resposta recebimentos(int quantidade);
    Resposta defineDeslocamento(int64_t segundos);
    Resposta fixaRelogio(std::optional<int64_t> hora);
    // A technical intervention: the operation restarts (CRO); refused while a
    // day's movement waits for its reduction.
    Resposta intervencaoTecnica();

private:
    Impressora() = default;
    static Acesso monta(const std::string& pasta, Memoria::Abertura a, int semente, int64_t hoje,
                        std::unique_ptr<Impressora>& saida);
    template <class F>
    Resposta muda(F&& f);
    void recarrega();
    void fabrica(int semente, int64_t hoje);
    void danifica(const std::string& motivo);

    std::string pasta_;
    Trava trava_;  // declared before the memory, so released after it closes
    std::unique_ptr<Memoria> mem_;
    Estado e_;
    Tabelas t_;
    std::optional<Reducao> ultima_;
};

// Operations over a context, shared by the commands and the printer's past.
namespace op {
// Refused while a receipt, a non-fiscal receipt or a managerial report is open.
Resposta semDocumentoAberto(const Contexto& c);
Resposta diaAberto(const Contexto& c);
// Documents and traces on the tape; each throws Recusa when the tape cannot
// take it.  `emite` gives the document's id.
int64_t emite(Contexto& c, const char* tipo, const std::string& texto, bool abreMovimento);
void rastro(Contexto& c, const char* tipo, std::string_view utf8);
void acrescenta(Contexto& c, int64_t documento, const std::string& texto);
Resposta venda(Contexto& c);
Resposta abreCupom(Contexto& c);
Resposta recebimento(Contexto& c, int totalizador, int64_t valor);
Resposta abreRecebimento(Contexto& c, int totalizador, int64_t valor);
Resposta leituraX(Contexto& c, std::string* texto);
Resposta reducao(Contexto& c);
Resposta cancelaCupom(Contexto& c);
Resposta cancelaNaoFiscal(Contexto& c);
Resposta abreRelatorio(Contexto& c, int indice);
Resposta usaRelatorio(Contexto& c, std::string_view texto);
Resposta fechaRelatorio(Contexto& c);
}  // namespace op

// Document texts.
namespace doc {
std::string relatorioDia(const Contexto& c, bool reducao, int dataMovimento);
std::string leituraMemoria(const Contexto& c, const std::vector<Reducao>& reducoes, bool simplificada,
                           std::string_view faixaUtf8);
std::string configuracao(const Contexto& c);
std::string cabecalho(const Contexto& c, int64_t coo, std::string_view tituloUtf8, int64_t ccf = -1);
std::string rodape(const Contexto& c);
std::string taxa(int valor);  // "18,00%"
}  // namespace doc

// The answer record of a reduction (KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO
// characters), as DadosUltimaReducaoMFD gives it; a printer without
// reductions answers zeros.
std::string registroReducao(const Reducao* r);

}  // namespace kesafi
