#include "memoria.h"

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "memoria_sql.h"
#include "relogio.h"

namespace kesafi {

// ---------------------------------------------------------------- rows and layout

namespace sql {

namespace {

// Failures that say the memory cannot be read, as opposed to the system
// refusing (a full disk, no permission, a lock held elsewhere).
bool ilegivel(int codigo) {
    switch (codigo & 0xff) {
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
        case SQLITE_FORMAT:
            return true;
        default:
            return false;
    }
}

[[noreturn]] void lanca(bool conteudo, const std::string& msg) {
    if (conteudo) throw MemoriaIlegivel(msg);
    throw std::runtime_error(msg);
}

}  // namespace

void falha(sqlite3* db, const char* what) {
    lanca(db && ilegivel(sqlite3_extended_errcode(db)),
          std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "sqlite"));
}

void malformado(sqlite3_stmt* s, int col) {
    throw MemoriaIlegivel(std::string("valor malformado na coluna ") + sqlite3_column_name(s, col));
}

bool proxima(sqlite3_stmt* s) {
    const int rc = sqlite3_step(s);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    sqlite3* db = sqlite3_db_handle(s);
    const std::string msg = std::string("leitura: ") + sqlite3_errmsg(db);
    sqlite3_reset(s);
    lanca(ilegivel(rc), msg);
}

void executa(sqlite3_stmt* s, const char* what) {
    if (sqlite3_step(s) != SQLITE_DONE) {
        sqlite3* db = sqlite3_db_handle(s);
        const int rc = sqlite3_extended_errcode(db);
        const std::string msg = std::string(what) + ": " + sqlite3_errmsg(db);
        sqlite3_reset(s);
        lanca(ilegivel(rc), msg);
    }
    sqlite3_reset(s);
}

int64_t inteiro(sqlite3_stmt* s, int col) {
    if (sqlite3_column_type(s, col) != SQLITE_INTEGER) malformado(s, col);
    return sqlite3_column_int64(s, col);
}

int inteiro32(sqlite3_stmt* s, int col) {
    const int64_t v = inteiro(s, col);
    if (v < INT32_MIN || v > INT32_MAX) malformado(s, col);
    return static_cast<int>(v);
}

std::string texto(sqlite3_stmt* s, int col) {
    const int tipo = sqlite3_column_type(s, col);
    if (tipo != SQLITE_TEXT && tipo != SQLITE_BLOB) malformado(s, col);
    const void* p = sqlite3_column_blob(s, col);
    const int n = sqlite3_column_bytes(s, col);
    return p ? std::string(static_cast<const char*>(p), static_cast<size_t>(n)) : std::string();
}

void le(sqlite3_stmt* s, int c, bool& v) {
    const int64_t n = inteiro(s, c);
    if (n != 0 && n != 1) malformado(s, c);
    v = n == 1;
}

void le(sqlite3_stmt* s, int c, std::optional<int64_t>& v) {
    if (sqlite3_column_type(s, c) == SQLITE_NULL)
        v.reset();
    else
        v = inteiro(s, c);
}

void liga(sqlite3_stmt* s, int i, std::string_view v) {
    sqlite3_bind_blob(s, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
}

void liga(sqlite3_stmt* s, int i, const std::optional<int64_t>& v) {
    if (v)
        sqlite3_bind_int64(s, i, *v);
    else
        sqlite3_bind_null(s, i);
}

std::string criacaoEstado() { return criacao<TabelaEstado>("", "id INTEGER PRIMARY KEY CHECK (id = 1)"); }

std::string criacaoReducoes() { return criacao<TabelaReducoes>("crz"); }

std::string criacaoTabelasDaFita() {
    return "CREATE TABLE complementos(documento INTEGER NOT NULL, ordem INTEGER NOT NULL, data_hora INTEGER NOT NULL,"
           " texto BLOB NOT NULL, PRIMARY KEY (documento, ordem)) WITHOUT ROWID;\n" +
           criacao<TabelaCupons>("documento") + ";\n" +
           criacao<TabelaItens>("", {}, ", PRIMARY KEY (documento, numero)") + " WITHOUT ROWID;\n" +
           criacao<TabelaPagamentos>("", {}, ", PRIMARY KEY (documento, ordem)") + " WITHOUT ROWID;\n" +
           criacao<TabelaRecebimentos>("documento") + ";\n";
}

const char* const kIndices =
    "CREATE INDEX documentos_coo ON documentos(coo);\n"
    "CREATE INDEX documentos_data ON documentos(data_hora);\n"
    "CREATE INDEX reducoes_data ON reducoes(data_movimento);\n";

// The tables and indexes of a memory as SQLite keeps their definitions, with
// every run of blanks and line breaks made one blank.
std::vector<std::string> desenho(sqlite3* db) {
    sqlite3_stmt* s = nullptr;
    const char* comando = "SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY type, name";
    if (sqlite3_prepare_v2(db, comando, -1, &s, nullptr) != SQLITE_OK) falha(db, "esquema");
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> dono(s, sqlite3_finalize);
    std::vector<std::string> out;
    while (proxima(s)) {
        std::string linha;
        for (int c = 0; c < 4; ++c) {
            const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
            for (const char* p = t ? t : ""; *p; ++p) {
                const bool branco = *p == ' ' || *p == '\n' || *p == '\r' || *p == '\t';
                if (!branco)
                    linha += *p;
                else if (!linha.empty() && linha.back() != ' ')
                    linha += ' ';
            }
            linha += '\n';
        }
        out.push_back(std::move(linha));
    }
    return out;
}

std::vector<std::string> desenhoDe(const std::string& ddl) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_exec(db, ddl.c_str(), nullptr, nullptr, nullptr);
    auto out = desenho(db);
    sqlite3_close(db);
    return out;
}

const std::string& esquema() {
    static const std::string s =
        criacaoEstado() +
        ";\n"
        "CREATE TABLE aliquotas(slot INTEGER PRIMARY KEY, valor INTEGER NOT NULL, iss INTEGER NOT NULL);\n"
        "CREATE TABLE formas(indice INTEGER PRIMARY KEY, nome BLOB NOT NULL, vinculada INTEGER NOT NULL);\n"
        "CREATE TABLE totalizadores(indice INTEGER PRIMARY KEY, nome BLOB NOT NULL);\n"
        "CREATE TABLE relatorios(indice INTEGER PRIMARY KEY, nome BLOB NOT NULL);\n"
        "CREATE TABLE documentos(id INTEGER PRIMARY KEY, coo INTEGER NOT NULL, tipo TEXT NOT NULL,"
        " data_hora INTEGER NOT NULL, texto BLOB NOT NULL);\n" +
        criacaoTabelasDaFita() + criacaoReducoes() + ";\n" + kIndices;
    return s;
}

}  // namespace sql

using namespace sql;

namespace {

// First column of the first row of a query (a pragma, a count).
int64_t primeiroInteiro(sqlite3* db, const char* comando) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, comando, -1, &s, nullptr) != SQLITE_OK) falha(db, comando);
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> dono(s, sqlite3_finalize);
    if (!proxima(s)) throw MemoriaIlegivel(std::string(comando) + ": sem resposta");
    return inteiro(s, 0);
}

std::string primeiroTexto(sqlite3* db, const char* comando) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, comando, -1, &s, nullptr) != SQLITE_OK) falha(db, comando);
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> dono(s, sqlite3_finalize);
    return proxima(s) ? texto(s, 0) : std::string();
}

const std::string kCarimbo = "PRAGMA user_version = " + std::to_string(Memoria::kVersao);

sqlite3* conecta(const std::string& arquivo, int flags) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(arquivo.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 5000);
    sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    return db;
}

// Size of a file; nothing when it does not exist.
std::optional<uintmax_t> tamanho(const std::string& f) {
    std::error_code ec;
    const auto st = std::filesystem::status(f, ec);
    if (st.type() == std::filesystem::file_type::not_found) return std::nullopt;
    if (ec) throw std::runtime_error(f + ": " + ec.message());
    if (st.type() != std::filesystem::file_type::regular) throw MemoriaIlegivel(f + " não é um arquivo");
    const uintmax_t n = std::filesystem::file_size(f, ec);
    if (ec) throw std::runtime_error(f + ": " + ec.message());
    return n;
}

// Takes the lock of a memory folder (created when missing).
bool trava(Memoria::Abertura& a, const std::string& pasta) {
    std::error_code ec;
    std::filesystem::create_directories(pasta, ec);
    std::string erro;
    const Trava::Resultado r =
        ec ? Trava::Resultado::Falhou : a.trava.obtem((std::filesystem::path(pasta) / "memoria.trava").string(), erro);
    if (r == Trava::Resultado::Obtida) return true;
    a.situacao = r == Trava::Resultado::Ocupada ? Memoria::Situacao::EmUso : Memoria::Situacao::Falhou;
    a.motivo = r == Trava::Resultado::Ocupada ? "em uso por outro processo" : ec ? ec.message() : erro;
    return false;
}

Memoria::Abertura recusa(Memoria::Abertura a, Memoria::Situacao situacao, std::string motivo) {
    a.situacao = situacao;
    a.motivo = std::move(motivo);
    a.memoria.reset();
    if (situacao != Memoria::Situacao::Ilegivel) a.trava = Trava();
    return a;
}

// Counters and the grand total never go below zero.
template <class C>
void confereContadores(const C& c, int64_t gt) {
    auto confere = [](std::string_view nome, int64_t v) {
        if (v < 0) throw MemoriaIlegivel("valor malformado na coluna " + std::string(nome));
    };
    camposContadores(c, [&](std::string_view nome, int64_t v, const char* = nullptr) { confere(nome, v); });
    confere("gt", gt);
}

}  // namespace

// ---------------------------------------------------------------- opening

Memoria::~Memoria() {
    for (auto& [comando, stmt] : cache_) sqlite3_finalize(stmt);
    sqlite3_close(db_);
}

std::string Memoria::arquivo(const std::string& pasta) {
    return (std::filesystem::path(pasta) / "memoria.db").string();
}

Memoria::Abertura Memoria::abre(const std::string& pasta) {
    Abertura a;
    if (!trava(a, pasta)) return a;
    const std::string f = arquivo(pasta);
    std::optional<uintmax_t> banco, registro;
    try {
        banco = tamanho(f);
        registro = tamanho(f + "-wal");
    } catch (const MemoriaIlegivel& e) {
        return recusa(std::move(a), Situacao::Ilegivel, e.what());
    } catch (const std::exception& e) {
        return recusa(std::move(a), Situacao::Falhou, e.what());
    }
    if (banco.value_or(0) == 0 && registro.value_or(0) == 0) return nova(std::move(a), f);
    // SQLite would discard a log found beside an empty database.
    if (banco.value_or(0) == 0) return recusa(std::move(a), Situacao::Ilegivel, "o registro -wal existe sem a memória");

    sqlite3* db = conecta(f, SQLITE_OPEN_READWRITE);  // never creates a file
    if (!db) return recusa(std::move(a), Situacao::Falhou, "não foi possível abrir o arquivo");
    std::unique_ptr<Memoria> m(new Memoria(db));
    // A log with content holds commands not yet copied into the database: a
    // memory turned away leaves it where it is.
    const bool registroCheio = registro.value_or(0) > 0;
    try {
        const int64_t versao = primeiroInteiro(db, "PRAGMA user_version");
        if (versao == 0 && primeiroInteiro(db, "SELECT count(*) FROM sqlite_master") == 0) {
            // An empty database: the creation of a printer stopped before its first commit.
            m.reset();
            return nova(std::move(a), f);
        }
        if (versao < 0 || versao > kVersao)
            throw MemoriaIlegivel("versão " + std::to_string(versao) + " desconhecida (esta biblioteca conhece até a " +
                                  std::to_string(kVersao) + ")");
        if (versao < kVersao)
            m->atualiza(static_cast<int>(versao));
        else
            m->confere();
    } catch (const std::exception& e) {
        if (registroCheio) m->abandona();
        m.reset();  // closed before the lock goes
        const bool conteudo = dynamic_cast<const MemoriaIlegivel*>(&e) != nullptr;
        return recusa(std::move(a), conteudo ? Situacao::Ilegivel : Situacao::Falhou, e.what());
    }
    a.memoria = std::move(m);
    a.situacao = Situacao::Aberta;
    return a;
}

Memoria::Abertura Memoria::substitui(const std::string& pasta) {
    Abertura a;
    if (!trava(a, pasta)) return a;
    const std::string f = arquivo(pasta);
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) std::filesystem::remove(f + suffix, ec);
    return nova(std::move(a), f);
}

Memoria::Abertura Memoria::nova(Abertura a, const std::string& f) {
    sqlite3* db = conecta(f, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (!db) return recusa(std::move(a), Situacao::Falhou, "não foi possível criar o arquivo");
    std::unique_ptr<Memoria> m(new Memoria(db));
    std::string erro;
    try {
        // WAL with full synchronisation: a killed process or a power cut never
        // tears the memory nor loses an acknowledged command.
        if (primeiroTexto(db, "PRAGMA journal_mode=WAL") != "wal") erro = "não foi possível gravar o arquivo";
    } catch (const std::exception& e) {
        erro = e.what();
    }
    if (!erro.empty()) {
        m.reset();  // closed before the lock goes
        return recusa(std::move(a), Situacao::Falhou, erro);
    }
    m->esquemaPendente_ = true;
    a.memoria = std::move(m);
    a.situacao = Situacao::Nova;
    return a;
}

void Memoria::abandona() { sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr); }

// Nothing is accepted that does not read back whole: the layout of the
// current version, the printer's state, its tables and its last reduction.
void Memoria::confere() {
    static const std::vector<std::string> atual = desenhoDe(esquema());
    if (desenho(db_) != atual) throw MemoriaIlegivel("tabelas desconhecidas");
    carregaEstado();
    carregaTabelas();
    ultimaReducao();
}

// Upgrades in one transaction, committed only when the result reads back.
// Step v turns a memory of version v into one of version v + 1; a memory
// without a version has the layout of version 1.
void Memoria::atualiza(int versao) {
    using Passo = void (*)(Memoria&);
    static const Passo kPassos[] = {[](Memoria& m) { m.atualizaDaVersao1(); }};
    static_assert(std::size(kPassos) == kVersao - 1);
    Transacao tx(*this);
    for (int v = std::max(versao, 1); v < kVersao; ++v) kPassos[v - 1](*this);
    executa(kCarimbo.c_str());
    confere();
    tx.confirma();
}

void Memoria::executa(const char* comando) {
    if (sqlite3_exec(db_, comando, nullptr, nullptr, nullptr) != SQLITE_OK) falha(db_, "sqlite");
}

sqlite3_stmt* Memoria::prepara(const std::string& comando) {
    auto it = cache_.find(comando);
    if (it != cache_.end()) {
        sqlite3_reset(it->second);
        sqlite3_clear_bindings(it->second);
        return it->second;
    }
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_, comando.c_str(), -1, &s, nullptr) != SQLITE_OK) falha(db_, "prepare");
    cache_[comando] = s;
    return s;
}

void Memoria::inicia() {
    executa("BEGIN IMMEDIATE");
    if (esquemaPendente_) {
        executa(esquema().c_str());
        executa(kCarimbo.c_str());
    }
}

void Memoria::confirma() {
    executa("COMMIT");
    esquemaPendente_ = false;
}

void Memoria::desfaz() { sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr); }

// ---------------------------------------------------------------- state and tables

Estado Memoria::carregaEstado() {
    static const std::string comando = "SELECT " + colunas<TabelaEstado>() + " FROM estado WHERE id = 1";
    sqlite3_stmt* s = prepara(comando);
    if (!proxima(s)) throw MemoriaIlegivel("a memória não guarda o estado da impressora");
    Estado e;
    leLinha<TabelaEstado>(s, 0, e);
    sqlite3_reset(s);
    confereContadores(e.cont, e.gt);
    return e;
}

void Memoria::gravaEstado(const Estado& e) {
    static const std::string comando = "INSERT OR REPLACE INTO estado(id, " + colunas<TabelaEstado>() +
                                       ") VALUES (1, " + parametros<TabelaEstado>() + ")";
    sqlite3_stmt* s = prepara(comando);
    ligaLinha<TabelaEstado>(s, 1, e);
    sql::executa(s, "grava estado");
}

Tabelas Memoria::carregaTabelas() {
    Tabelas t;
    sqlite3_stmt* s = prepara("SELECT slot, valor, iss FROM aliquotas");
    while (proxima(s)) {
        const int64_t i = inteiro(s, 0);
        if (i >= 1 && i <= 16) t.aliquotas[i - 1] = {inteiro32(s, 1), inteiro(s, 2) != 0};
    }
    s = prepara("SELECT indice, nome, vinculada FROM formas");
    while (proxima(s)) {
        const int64_t i = inteiro(s, 0);
        if (i >= 1 && i <= 20) t.formas[i - 1] = {texto(s, 1), inteiro(s, 2) != 0};
    }
    s = prepara("SELECT indice, nome FROM totalizadores");
    while (proxima(s)) {
        const int64_t i = inteiro(s, 0);
        if (i >= 1 && i <= 30) t.totalizadores[i - 1] = texto(s, 1);
    }
    s = prepara("SELECT indice, nome FROM relatorios");
    while (proxima(s)) {
        const int64_t i = inteiro(s, 0);
        if (i >= 1 && i <= 30) t.relatorios[i - 1] = texto(s, 1);
    }
    return t;
}

void Memoria::gravaTabelas(const Tabelas& t) {
    for (int i = 0; i < 16; ++i) gravaAliquota(i + 1, t.aliquotas[i]);
    for (int i = 0; i < 20; ++i) gravaForma(i + 1, t.formas[i]);
    for (int i = 0; i < 30; ++i) gravaTotalizador(i + 1, t.totalizadores[i]);
    for (int i = 0; i < 30; ++i) gravaRelatorio(i + 1, t.relatorios[i]);
}

void Memoria::gravaAliquota(int slot, const Aliquota& a) {
    sqlite3_stmt* s = prepara("INSERT OR REPLACE INTO aliquotas(slot, valor, iss) VALUES (?, ?, ?)");
    sqlite3_bind_int(s, 1, slot);
    sqlite3_bind_int(s, 2, a.valor);
    sqlite3_bind_int(s, 3, a.iss ? 1 : 0);
    sql::executa(s, "grava aliquota");
}

void Memoria::gravaForma(int indice, const FormaPagamento& f) {
    sqlite3_stmt* s = prepara("INSERT OR REPLACE INTO formas(indice, nome, vinculada) VALUES (?, ?, ?)");
    sqlite3_bind_int(s, 1, indice);
    liga(s, 2, f.nome);
    sqlite3_bind_int(s, 3, f.vinculada ? 1 : 0);
    sql::executa(s, "grava forma");
}

void Memoria::gravaTotalizador(int indice, const std::string& nome) {
    sqlite3_stmt* s = prepara("INSERT OR REPLACE INTO totalizadores(indice, nome) VALUES (?, ?)");
    sqlite3_bind_int(s, 1, indice);
    liga(s, 2, nome);
    sql::executa(s, "grava totalizador");
}

void Memoria::gravaRelatorio(int indice, const std::string& nome) {
    sqlite3_stmt* s = prepara("INSERT OR REPLACE INTO relatorios(indice, nome) VALUES (?, ?)");
    sqlite3_bind_int(s, 1, indice);
    liga(s, 2, nome);
    sql::executa(s, "grava relatorio");
}

// ---------------------------------------------------------------- the tape

int64_t Memoria::insereDocumento(int64_t coo, const std::string& tipo, int64_t dataHora, const std::string& t) {
    sqlite3_stmt* s = prepara("INSERT INTO documentos(coo, tipo, data_hora, texto) VALUES (?, ?, ?, ?)");
    sqlite3_bind_int64(s, 1, coo);
    sqlite3_bind_text(s, 2, tipo.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(s, 3, dataHora);
    liga(s, 4, t);
    sql::executa(s, "insere documento");
    return sqlite3_last_insert_rowid(db_);
}

void Memoria::acrescentaDocumento(int64_t id, int64_t dataHora, const std::string& t) {
    // The next piece's number comes from the key's index: the cost of a piece
    // does not grow with the pieces before it.
    sqlite3_stmt* s = prepara(
        "INSERT INTO complementos(documento, ordem, data_hora, texto) VALUES"
        " (?1, (SELECT coalesce(max(ordem), 0) + 1 FROM complementos WHERE documento = ?1), ?2, ?3)");
    sqlite3_bind_int64(s, 1, id);
    sqlite3_bind_int64(s, 2, dataHora);
    liga(s, 3, t);
    sql::executa(s, "acrescenta documento");
}

void Memoria::gravaPagamentos(const std::vector<Pagamento>& lista) {
    static const std::string comando =
        "INSERT INTO pagamentos(" + colunas<TabelaPagamentos>() + ") VALUES (" + parametros<TabelaPagamentos>() + ")";
    for (const Pagamento& p : lista) {
        sqlite3_stmt* s = prepara(comando);
        ligaLinha<TabelaPagamentos>(s, 1, p);
        sql::executa(s, "grava pagamento");
    }
}

std::vector<Pagamento> Memoria::pagamentos(int64_t documento) {
    static const std::string comando =
        "SELECT " + colunas<TabelaPagamentos>() + " FROM pagamentos WHERE documento = ? ORDER BY ordem";
    sqlite3_stmt* s = prepara(comando);
    sqlite3_bind_int64(s, 1, documento);
    std::vector<Pagamento> out;
    while (proxima(s)) leLinha<TabelaPagamentos>(s, 0, out.emplace_back());
    return out;
}

void Memoria::gravaCupom(const Cupom& c) {
    static const std::string cupom =
        "INSERT INTO cupons(" + colunas<TabelaCupons>() + ") VALUES (" + parametros<TabelaCupons>() + ")";
    static const std::string item =
        "INSERT INTO itens(" + colunas<TabelaItens>() + ") VALUES (" + parametros<TabelaItens>() + ")";
    sqlite3_stmt* s = prepara(cupom);
    ligaLinha<TabelaCupons>(s, 1, c);
    sql::executa(s, "grava cupom");
    for (const Item& i : c.itens) {
        s = prepara(item);
        ligaLinha<TabelaItens>(s, 1, i);
        sql::executa(s, "grava item");
    }
    gravaPagamentos(c.pagamentos);
}

std::optional<Cupom> Memoria::cupom(int64_t documento) {
    static const std::string cupom = "SELECT " + colunas<TabelaCupons>() + " FROM cupons WHERE documento = ?";
    static const std::string itens =
        "SELECT " + colunas<TabelaItens>() + " FROM itens WHERE documento = ? ORDER BY numero";
    sqlite3_stmt* s = prepara(cupom);
    sqlite3_bind_int64(s, 1, documento);
    if (!proxima(s)) return std::nullopt;
    Cupom c;
    leLinha<TabelaCupons>(s, 0, c);
    sqlite3_reset(s);
    s = prepara(itens);
    sqlite3_bind_int64(s, 1, documento);
    while (proxima(s)) leLinha<TabelaItens>(s, 0, c.itens.emplace_back());
    c.pagamentos = pagamentos(documento);
    return c;
}

void Memoria::marcaCupomCancelado(int64_t documento) {
    sqlite3_stmt* s = prepara("UPDATE cupons SET cancelado = 1 WHERE documento = ?");
    sqlite3_bind_int64(s, 1, documento);
    sql::executa(s, "cancela cupom");
}

void Memoria::gravaRecebimento(const Recebimento& r) {
    static const std::string comando = "INSERT INTO recebimentos(" + colunas<TabelaRecebimentos>() + ") VALUES (" +
                                       parametros<TabelaRecebimentos>() + ")";
    sqlite3_stmt* s = prepara(comando);
    ligaLinha<TabelaRecebimentos>(s, 1, r);
    sql::executa(s, "grava recebimento");
    gravaPagamentos(r.pagamentos);
}

std::optional<Recebimento> Memoria::recebimento(int64_t documento) {
    static const std::string comando =
        "SELECT " + colunas<TabelaRecebimentos>() + " FROM recebimentos WHERE documento = ?";
    sqlite3_stmt* s = prepara(comando);
    sqlite3_bind_int64(s, 1, documento);
    if (!proxima(s)) return std::nullopt;
    Recebimento r;
    leLinha<TabelaRecebimentos>(s, 0, r);
    sqlite3_reset(s);
    r.pagamentos = pagamentos(documento);
    return r;
}

void Memoria::marcaRecebimentoCancelado(int64_t documento) {
    sqlite3_stmt* s = prepara("UPDATE recebimentos SET cancelado = 1 WHERE documento = ?");
    sqlite3_bind_int64(s, 1, documento);
    sql::executa(s, "cancela recebimento");
}

namespace {

// The records of a stretch of ids, each with its appended pieces, in tape
// order; `filtro` narrows them (by COO or date, parameters 3 and 4).
std::string leituraDaFita(const char* filtro) {
    return std::string(
               "SELECT d.id, d.coo, d.tipo, d.data_hora, d.texto, c.texto FROM documentos d"
               " LEFT JOIN complementos c ON c.documento = d.id WHERE d.id BETWEEN ?1 AND ?2") +
           filtro + " ORDER BY d.id, c.ordem";
}

// Wall seconds covered by a stretch of days.
std::pair<int64_t, int64_t> segundos(const Faixa& f) {
    return {startOfDay(static_cast<int>(f.inicial)), startOfDay(static_cast<int>(f.final)) + 86399};
}

}  // namespace

std::optional<std::pair<int64_t, int64_t>> Memoria::limites(const Faixa& f) {
    if (f.inicial > f.final) return std::nullopt;
    sqlite3_stmt* s = nullptr;
    if (f.tipo == Faixa::Tipo::Coo) {
        s = prepara("SELECT min(id), max(id) FROM documentos WHERE coo BETWEEN max(?, 1) AND ?");
        sqlite3_bind_int64(s, 1, f.inicial);
        sqlite3_bind_int64(s, 2, f.final);
    } else {
        const auto [de, ate] = segundos(f);
        s = prepara("SELECT min(id), max(id) FROM documentos WHERE data_hora BETWEEN ? AND ?");
        sqlite3_bind_int64(s, 1, de);
        sqlite3_bind_int64(s, 2, ate);
    }
    std::optional<std::pair<int64_t, int64_t>> out;
    if (proxima(s) && sqlite3_column_type(s, 0) != SQLITE_NULL) out = std::pair{inteiro(s, 0), inteiro(s, 1)};
    sqlite3_reset(s);
    return out;
}

std::optional<int64_t> Memoria::primeiroDocumento(const Faixa& f) {
    const auto l = limites(f);
    if (!l) return std::nullopt;
    return l->first;
}

std::optional<std::pair<int64_t, int64_t>> Memoria::periodo(const Faixa& f) {
    const auto l = limites(f);
    if (!l) return std::nullopt;
    sqlite3_stmt* s = prepara(f.tipo == Faixa::Tipo::Coo
                                  ? "SELECT min(data_hora), max(data_hora) FROM documentos WHERE id BETWEEN ? AND ?"
                                    " AND coo BETWEEN max(?, 1) AND ?"
                                  : "SELECT min(data_hora), max(data_hora) FROM documentos WHERE id BETWEEN ? AND ?"
                                    " AND data_hora BETWEEN ? AND ?");
    const auto [de, ate] = f.tipo == Faixa::Tipo::Coo ? std::pair{f.inicial, f.final} : segundos(f);
    sqlite3_bind_int64(s, 1, l->first);
    sqlite3_bind_int64(s, 2, l->second);
    sqlite3_bind_int64(s, 3, de);
    sqlite3_bind_int64(s, 4, ate);
    std::optional<std::pair<int64_t, int64_t>> out;
    if (proxima(s) && sqlite3_column_type(s, 0) != SQLITE_NULL) out = std::pair{inteiro(s, 0), inteiro(s, 1)};
    sqlite3_reset(s);
    return out;
}

std::vector<std::pair<int, Faixa>> Memoria::dias(const Faixa& f) {
    std::vector<std::pair<int, Faixa>> out;
    const auto p = periodo(f);
    if (!p) return out;
    const bool porCoo = f.tipo == Faixa::Tipo::Coo;
    // Day by day through the index of times, from the stretch's first record
    // to its last: the first record of the stretch at or after the day.
    sqlite3_stmt* proximo = prepara(porCoo ? "SELECT min(data_hora) FROM documentos WHERE data_hora >= ?1"
                                             " AND data_hora <= ?2 AND coo BETWEEN max(?3, 1) AND ?4"
                                           : "SELECT min(data_hora) FROM documentos WHERE data_hora >= ?1"
                                             " AND data_hora <= ?2 AND ?3 <= ?4");
    int64_t desde = p->first;
    for (;;) {
        sqlite3_reset(proximo);
        sqlite3_bind_int64(proximo, 1, desde);
        sqlite3_bind_int64(proximo, 2, p->second);
        sqlite3_bind_int64(proximo, 3, f.inicial);
        sqlite3_bind_int64(proximo, 4, f.final);
        if (!proxima(proximo) || sqlite3_column_type(proximo, 0) == SQLITE_NULL) break;
        const int dia = dayOf(inteiro(proximo, 0));
        sqlite3_reset(proximo);
        Faixa parte{Faixa::Tipo::Data, dia, dia};
        if (porCoo) {
            sqlite3_stmt* s = prepara(
                "SELECT min(coo), max(coo) FROM documentos WHERE data_hora BETWEEN ? AND ? AND coo BETWEEN max(?, 1)"
                " AND ?");
            const auto [inicioDia, fimDia] = segundos(parte);
            sqlite3_bind_int64(s, 1, inicioDia);
            sqlite3_bind_int64(s, 2, fimDia);
            sqlite3_bind_int64(s, 3, f.inicial);
            sqlite3_bind_int64(s, 4, f.final);
            if (!proxima(s) || sqlite3_column_type(s, 0) == SQLITE_NULL) break;
            parte = {Faixa::Tipo::Coo, inteiro(s, 0), inteiro(s, 1)};
            sqlite3_reset(s);
        }
        out.emplace_back(dia, parte);
        desde = startOfDay(dia) + 86400;
    }
    return out;
}

int64_t Memoria::percorre(const Faixa& f, const std::function<void(const Documento&)>& cada,
                          const std::function<void(const Cupom&)>& cupomDe) {
    const auto l = limites(f);
    if (!l) return 0;
    static const std::string porCoo = leituraDaFita(" AND d.coo BETWEEN max(?3, 1) AND ?4");
    static const std::string porData = leituraDaFita(" AND d.data_hora BETWEEN ?3 AND ?4");
    // Its own statement, not the cache's: the receipts of the stretch are read
    // while it runs.
    sqlite3_stmt* s = nullptr;
    const std::string& comando = f.tipo == Faixa::Tipo::Coo ? porCoo : porData;
    if (sqlite3_prepare_v2(db_, comando.c_str(), -1, &s, nullptr) != SQLITE_OK) falha(db_, "prepare");
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> dono(s, sqlite3_finalize);
    sqlite3_bind_int64(s, 1, l->first);
    sqlite3_bind_int64(s, 2, l->second);
    const auto [de, ate] = f.tipo == Faixa::Tipo::Coo ? std::pair{f.inicial, f.final} : segundos(f);
    sqlite3_bind_int64(s, 3, de);
    sqlite3_bind_int64(s, 4, ate);

    Documento d;
    int64_t n = 0;
    auto entrega = [&] {
        ++n;
        cada(d);
        if (cupomDe && d.tipo == tipos::kCupom)
            if (const auto c = cupom(d.id)) cupomDe(*c);
    };
    while (proxima(s)) {
        const int64_t id = inteiro(s, 0);
        if (id != d.id) {
            if (d.id) entrega();
            d.id = id;
            d.coo = inteiro(s, 1);
            d.tipo = texto(s, 2);
            d.dataHora = inteiro(s, 3);
            const void* p = sqlite3_column_blob(s, 4);
            if (sqlite3_column_type(s, 4) != SQLITE_BLOB && sqlite3_column_type(s, 4) != SQLITE_TEXT) malformado(s, 4);
            d.texto.assign(static_cast<const char*>(p), static_cast<size_t>(sqlite3_column_bytes(s, 4)));
        }
        if (sqlite3_column_type(s, 5) != SQLITE_NULL) {
            const void* p = sqlite3_column_blob(s, 5);
            d.texto.append(static_cast<const char*>(p), static_cast<size_t>(sqlite3_column_bytes(s, 5)));
        }
    }
    if (d.id) entrega();
    return n;
}

std::vector<Documento> Memoria::pagina(const char* limite, int64_t id, int quantidade) {
    std::vector<Documento> out;
    if (quantidade <= 0) return out;
    sqlite3_stmt* s = prepara(limite);
    sqlite3_bind_int64(s, 1, id);
    sqlite3_bind_int(s, 2, quantidade);
    std::optional<std::pair<int64_t, int64_t>> l;
    if (proxima(s) && sqlite3_column_type(s, 0) != SQLITE_NULL) l = std::pair{inteiro(s, 0), inteiro(s, 1)};
    sqlite3_reset(s);
    if (!l) return out;
    s = prepara(leituraDaFita(""));
    sqlite3_bind_int64(s, 1, l->first);
    sqlite3_bind_int64(s, 2, l->second);
    while (proxima(s)) {
        const int64_t atual = inteiro(s, 0);
        if (out.empty() || out.back().id != atual) {
            Documento& d = out.emplace_back();
            d.id = atual;
            d.coo = inteiro(s, 1);
            d.tipo = texto(s, 2);
            d.dataHora = inteiro(s, 3);
            d.texto = texto(s, 4);
        }
        if (sqlite3_column_type(s, 5) != SQLITE_NULL) out.back().texto += texto(s, 5);
    }
    return out;
}

std::vector<Documento> Memoria::documentosAte(int64_t ultimo, int quantidade) {
    return pagina("SELECT min(id), max(id) FROM (SELECT id FROM documentos WHERE id <= ? ORDER BY id DESC LIMIT ?)",
                  ultimo, quantidade);
}

std::vector<Documento> Memoria::documentosDesde(int64_t primeiro, int quantidade) {
    return pagina("SELECT min(id), max(id) FROM (SELECT id FROM documentos WHERE id >= ? ORDER BY id LIMIT ?)",
                  primeiro, quantidade);
}

std::optional<std::pair<int64_t, int64_t>> Memoria::extensao() {
    // Two aggregates each answered by the table's key (together they would read every row).
    sqlite3_stmt* s = prepara("SELECT (SELECT min(id) FROM documentos), (SELECT max(id) FROM documentos)");
    std::optional<std::pair<int64_t, int64_t>> out;
    if (proxima(s) && sqlite3_column_type(s, 0) != SQLITE_NULL) out = std::pair{inteiro(s, 0), inteiro(s, 1)};
    sqlite3_reset(s);
    return out;
}

int64_t Memoria::contaDocumentos() { return primeiroInteiro(db_, "SELECT count(*) FROM documentos"); }

// ---------------------------------------------------------------- the fiscal memory

void Memoria::insereReducao(const Reducao& r) {
    static const std::string comando =
        "INSERT INTO reducoes(" + colunas<TabelaReducoes>() + ") VALUES (" + parametros<TabelaReducoes>() + ")";
    sqlite3_stmt* s = prepara(comando);
    ligaLinha<TabelaReducoes>(s, 1, r);
    sql::executa(s, "insere reducao");
}

std::vector<Reducao> Memoria::reducoes(sqlite3_stmt* s) {
    std::vector<Reducao> out;
    while (proxima(s)) {
        Reducao& r = out.emplace_back();
        leLinha<TabelaReducoes>(s, 0, r);
        confereContadores(r.cont, r.gt);
    }
    return out;
}

std::optional<Reducao> Memoria::ultimaReducao() {
    static const std::string comando =
        "SELECT " + colunas<TabelaReducoes>() + " FROM reducoes ORDER BY crz DESC LIMIT 1";
    auto v = reducoes(prepara(comando));
    if (v.empty()) return std::nullopt;
    return std::move(v.front());
}

std::vector<Reducao> Memoria::reducoesPorNumero(int64_t inicial, int64_t final) {
    static const std::string comando =
        "SELECT " + colunas<TabelaReducoes>() + " FROM reducoes WHERE crz BETWEEN ? AND ? ORDER BY crz";
    sqlite3_stmt* s = prepara(comando);
    sqlite3_bind_int64(s, 1, inicial);
    sqlite3_bind_int64(s, 2, final);
    return reducoes(s);
}

std::vector<Reducao> Memoria::reducoesPorData(int inicial, int final) {
    static const std::string comando =
        "SELECT " + colunas<TabelaReducoes>() + " FROM reducoes WHERE data_movimento BETWEEN ? AND ? ORDER BY crz";
    sqlite3_stmt* s = prepara(comando);
    sqlite3_bind_int(s, 1, inicial);
    sqlite3_bind_int(s, 2, final);
    return reducoes(s);
}

std::vector<Reducao> Memoria::reducoesPorCoo(int64_t inicial, int64_t final) {
    static const std::string comando =
        "SELECT " + colunas<TabelaReducoes>() + " FROM reducoes WHERE coo BETWEEN ? AND ? ORDER BY crz";
    sqlite3_stmt* s = prepara(comando);
    sqlite3_bind_int64(s, 1, inicial);
    sqlite3_bind_int64(s, 2, final);
    return reducoes(s);
}

std::vector<Reducao> Memoria::reducoesDa(const Faixa& f) {
    if (f.tipo == Faixa::Tipo::Coo) return reducoesPorCoo(f.inicial, f.final);
    return reducoesPorData(static_cast<int>(f.inicial), static_cast<int>(f.final));
}

int64_t Memoria::percorreReducoes(const std::function<void(const Reducao&)>& cada) {
    static const std::string comando = "SELECT " + colunas<TabelaReducoes>() + " FROM reducoes ORDER BY crz";
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_, comando.c_str(), -1, &s, nullptr) != SQLITE_OK) falha(db_, "prepare");
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> dono(s, sqlite3_finalize);
    int64_t n = 0;
    Reducao r;
    while (proxima(s)) {
        leLinha<TabelaReducoes>(s, 0, r);
        confereContadores(r.cont, r.gt);
        cada(r);
        ++n;
    }
    return n;
}

int64_t Memoria::contaReducoes() { return primeiroInteiro(db_, "SELECT count(*) FROM reducoes"); }

}  // namespace kesafi
