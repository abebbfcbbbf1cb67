// The virtual printer's memory: one SQLite database holding the fiscal memory
// (reductions), the tape detail memory (documents, with the data of each
// receipt beside its text), the four tables and the printer's state.  Every
// command that changes the printer runs inside one transaction (Transacao),
// so a process killed at any instant leaves either the state before the
// command or the state after it.
//
// The memory is never deleted, truncated or replaced on the way to opening
// it: a memory that cannot be read stays as it is, and only a folder that
// holds no memory at all receives a new one.  The layout carries a version
// (the database's user_version); a memory of an older version is upgraded in
// one transaction when opened.
//
// The tape is read in pages or streamed, by COO or by date, through indexes:
// no read holds more than one document (or one page) in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "estado.h"
#include "trava.h"

struct sqlite3;
struct sqlite3_stmt;

namespace kesafi {

// The memory cannot be read: a damaged file, a layout or version this
// library does not know, a malformed stored value.  Other failures (a full
// disk, no permission) are plain runtime errors.
struct MemoriaIlegivel : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A stretch of the tape: the documents with a COO from `inicial` to `final`,
// or every record issued from day `inicial` to day `final` (yyyymmdd).
struct Faixa {
    enum class Tipo { Coo, Data } tipo = Tipo::Coo;
    int64_t inicial = 0, final = 0;
};

class Memoria {
public:
    // Version of the layout this library writes.  A memory without one (made
    // before memories carried a version) has the layout of version 1.
    static constexpr int kVersao = 2;

    enum class Situacao {
        Aberta,    // a readable memory at the current version
        Nova,      // the folder held no memory: an empty one, for a new printer
        Ilegivel,  // the memory cannot be read; its files were left as they were
        EmUso,     // another process holds the memory
        Falhou,    // the system refused (a full disk, no permission); nothing changed
    };
    struct Abertura {
        Situacao situacao = Situacao::Falhou;
        Trava trava;                       // held unless EmUso or Falhou; declared first, so released last
        std::unique_ptr<Memoria> memoria;  // Aberta and Nova
        std::string motivo;                // Ilegivel, EmUso and Falhou
    };

    ~Memoria();
    Memoria(const Memoria&) = delete;
    Memoria& operator=(const Memoria&) = delete;

    static std::string arquivo(const std::string& pasta);
    // Takes the folder's lock and opens its memory, upgraded to the current
    // version; an empty memory when the folder holds none.
    static Abertura abre(const std::string& pasta);
    // Takes the folder's lock, removes its memory and starts an empty one: the
    // deliberate replacement of a printer.
    static Abertura substitui(const std::string& pasta);

    // From now on closing leaves the files exactly as they are (no checkpoint
    // of the log into the database).
    void abandona();

    void inicia();    // BEGIN IMMEDIATE
    void confirma();  // COMMIT
    void desfaz();    // ROLLBACK (never throws)

    // State and tables.
    Estado carregaEstado();
    void gravaEstado(const Estado& e);
    Tabelas carregaTabelas();
    void gravaTabelas(const Tabelas& t);
    void gravaAliquota(int slot, const Aliquota& a);
    void gravaForma(int indice, const FormaPagamento& f);
    void gravaTotalizador(int indice, const std::string& nome);
    void gravaRelatorio(int indice, const std::string& nome);

    // The tape.  A document's text is what was printed when it was issued
    // followed by every piece appended to it (in order).
    int64_t insereDocumento(int64_t coo, const std::string& tipo, int64_t dataHora, const std::string& texto);
    void acrescentaDocumento(int64_t id, int64_t dataHora, const std::string& texto);
    void gravaCupom(const Cupom& c);  // with its items and payments
    std::optional<Cupom> cupom(int64_t documento);
    void marcaCupomCancelado(int64_t documento);
    void gravaRecebimento(const Recebimento& r);
    std::optional<Recebimento> recebimento(int64_t documento);
    void marcaRecebimentoCancelado(int64_t documento);

    // Reads of the tape in tape order.  `cada` receives each record of the
    // stretch (documents and, for dates, the traces of commands), streamed:
    // the Documento it gets is reused for the next one.  `cupom` (when given)
    // receives the data of each fiscal receipt of the stretch, after its
    // document.  Returns the number of records.
    int64_t percorre(const Faixa& faixa, const std::function<void(const Documento&)>& cada,
                     const std::function<void(const Cupom&)>& cupom = {});
    // A page: up to `quantidade` records ending at the record `ultimo` (its
    // id; the tape's end for INT64_MAX), oldest first.  primeiroDocumento
    // finds where a COO or a date lies on the tape.
    std::vector<Documento> documentosAte(int64_t ultimo, int quantidade);
    // The same, starting at the record `primeiro` (its id) and going on.
    std::vector<Documento> documentosDesde(int64_t primeiro, int quantidade);
    // Ids of the first and of the last record of the tape; nothing while it is empty.
    std::optional<std::pair<int64_t, int64_t>> extensao();
    // Id of the first record of a stretch; nothing when it holds none.
    std::optional<int64_t> primeiroDocumento(const Faixa& faixa);
    // The times of the first and the last record of a stretch.
    std::optional<std::pair<int64_t, int64_t>> periodo(const Faixa& faixa);
    // The days (yyyymmdd) on which documents of a stretch were issued, each
    // with the part of the stretch issued on it; found through the indexes,
    // a day at a time.
    std::vector<std::pair<int, Faixa>> dias(const Faixa& faixa);

    // The fiscal memory.
    void insereReducao(const Reducao& r);
    std::optional<Reducao> ultimaReducao();
    std::vector<Reducao> reducoesPorNumero(int64_t inicial, int64_t final);
    std::vector<Reducao> reducoesPorData(int inicial, int final);
    std::vector<Reducao> reducoesPorCoo(int64_t inicial, int64_t final);
    // The reductions of a stretch of the tape: by their date of movement, or
    // by their COO.
    std::vector<Reducao> reducoesDa(const Faixa& faixa);
    // Every reduction, oldest first, streamed.
    int64_t percorreReducoes(const std::function<void(const Reducao&)>& cada);

    int64_t contaDocumentos();
    int64_t contaReducoes();

private:
    explicit Memoria(sqlite3* db) : db_(db) {}
    static Abertura nova(Abertura a, const std::string& arquivo);
    sqlite3_stmt* prepara(const std::string& sql);
    void executa(const char* sql);
    void confere();
    void atualiza(int versao);
    void atualizaDaVersao1();
    std::optional<std::pair<int64_t, int64_t>> limites(const Faixa& faixa);
    std::vector<Documento> pagina(const char* sql, int64_t id, int quantidade);
    std::vector<Reducao> reducoes(sqlite3_stmt* s);
    std::vector<Pagamento> pagamentos(int64_t documento);
    void gravaPagamentos(const std::vector<Pagamento>& p);

    sqlite3* db_;
    std::map<std::string, sqlite3_stmt*> cache_;
    bool esquemaPendente_ = false;  // a new memory gets its tables in its first transaction
};

// Runs a change as one transaction: rolled back unless confirmed.
class Transacao {
public:
    explicit Transacao(Memoria& m) : m_(m) { m_.inicia(); }
    ~Transacao() {
        if (!feita_) m_.desfaz();
    }
    void confirma() {
        m_.confirma();
        feita_ = true;
    }

private:
    Memoria& m_;
    bool feita_ = false;
};

}  // namespace kesafi
