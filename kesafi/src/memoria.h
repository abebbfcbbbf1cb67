// The virtual printer's memory: one SQLite database holding the fiscal memory
// (reductions), the tape detail memory (documents), the four tables and the
// printer's state.  Every command that changes the printer runs inside one
// transaction (Transacao), so a process killed at any instant leaves either
// the state before the command or the state after it.
//
// The memory is never deleted, truncated or replaced on the way to opening
// it: a memory that cannot be read stays as it is, and only a folder that
// holds no memory at all receives a new one.  The layout carries a version
// (the database's user_version); a memory of an older version is upgraded in
// one transaction when opened.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "trava.h"

struct sqlite3;
struct sqlite3_stmt;

namespace kesafi {

struct Aliquota {
    int valor = 0;  // hundredths of a percent; 0 is a free slot
    bool iss = false;
};

struct FormaPagamento {
    std::string nome;  // Windows-1252, at most 15 characters; empty is a free position
    bool vinculada = false;
};

struct Tabelas {
    std::array<Aliquota, 16> aliquotas{};
    std::array<FormaPagamento, 20> formas{};
    std::array<std::string, 30> totalizadores{};  // non-fiscal totalizers
    std::array<std::string, 30> relatorios{};     // managerial reports
};

// Everything about the printer that is not a table, a document or a reduction.
struct Estado {
    std::string serie;
    int semente = 0;
    int64_t coo = 0, crz = 0, cro = 1, gnf = 0, ccf = 0, grg = 0, cdc = 0, cfc = 0, cnc = 0, cfd = 0;
    int64_t gt = 0;               // grand total, cents
    int64_t deslocamento = 0;     // printer clock minus computer clock, seconds
    std::optional<int64_t> fixo;  // frozen base of the clock (wall seconds)
    bool verao = false;           // daylight-saving time
    int movimento = 0;            // yyyymmdd of the first movement document since the last reduction
    int bloqueado = 0;            // yyyymmdd of the day closed by a reduction
    int64_t gavetaAte = 0;        // the drawer stays open until this wall time
    bool guilhotina = true, corteTotal = true;
    int espacoLinhas = 30, linhasCupons = 8;
    int offline = 1;
    int64_t bytesMfd = 0;                       // bytes of text on the tape detail memory
    int64_t relatorioAberto = 0;                // document id of the open managerial report
    int64_t ultimoDocHora = 0;                  // wall time of the last document with a COO
    std::string ultimoDocTipo;                  // its kind
    std::map<std::string, int64_t> acumulados;  // totals of the fiscal day and of the last receipts

    int64_t acumulado(const std::string& k) const {
        auto it = acumulados.find(k);
        return it == acumulados.end() ? 0 : it->second;
    }
};

struct Reducao {
    int64_t crz = 0, coo = 0;
    int dataMovimento = 0;  // yyyymmdd
    int64_t dataHora = 0;   // wall time of the reduction
    std::string dados;      // the 1279-character record of the reduction
};

struct Documento {
    int64_t id = 0, coo = 0;
    std::string tipo;
    int64_t dataHora = 0;
    std::string texto;  // Windows-1252, CR LF
};

// The memory cannot be read: a damaged file, a layout or version this
// library does not know, a malformed stored value.  Other failures (a full
// disk, no permission) are plain runtime errors.
struct MemoriaIlegivel : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Memoria {
public:
    // Version of the layout this library writes.  A memory without one (made
    // before memories carried a version) has the layout of version 1.
    static constexpr int kVersao = 1;

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

    Estado carregaEstado();
    Tabelas carregaTabelas();
    std::optional<Reducao> ultimaReducao();

    void gravaEstado(const Estado& e);
    void gravaTabelas(const Tabelas& t);
    void gravaAliquota(int slot, const Aliquota& a);
    void gravaForma(int indice, const FormaPagamento& f);
    void gravaTotalizador(int indice, const std::string& nome);
    void gravaRelatorio(int indice, const std::string& nome);
    int64_t insereDocumento(int64_t coo, const std::string& tipo, int64_t dataHora, const std::string& texto);
    void atualizaDocumento(int64_t id, const std::string& texto);
    std::string textoDocumento(int64_t id);
    void insereReducao(const Reducao& r);

    std::vector<Reducao> reducoesPorNumero(int64_t inicial, int64_t final);
    std::vector<Reducao> reducoesPorData(int inicial, int final);
    std::vector<Documento> ultimosDocumentos(int quantidade);
    int64_t contaDocumentos();
    int64_t contaReducoes();

    sqlite3* db() { return db_; }

private:
    explicit Memoria(sqlite3* db) : db_(db) {}
    static Abertura nova(Abertura a, const std::string& arquivo);
    sqlite3_stmt* prepara(const char* sql);
    void executa(const char* sql);
    int64_t consultaInteiro(const char* sql);
    void confere();
    void atualiza(int versao);

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
