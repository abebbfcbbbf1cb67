#include "memoria.h"

#include <sqlite3.h>

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string_view>

namespace kesafi {
namespace {

const char* const kSchema = R"sql(
CREATE TABLE estado(
  id INTEGER PRIMARY KEY CHECK (id = 1),
  serie TEXT NOT NULL, semente INTEGER NOT NULL,
  coo INTEGER NOT NULL, crz INTEGER NOT NULL, cro INTEGER NOT NULL, gnf INTEGER NOT NULL,
  ccf INTEGER NOT NULL, grg INTEGER NOT NULL, cdc INTEGER NOT NULL, cfc INTEGER NOT NULL,
  cnc INTEGER NOT NULL, cfd INTEGER NOT NULL, gt INTEGER NOT NULL,
  deslocamento INTEGER NOT NULL, fixo INTEGER, verao INTEGER NOT NULL,
  movimento INTEGER NOT NULL, bloqueado INTEGER NOT NULL, gaveta_ate INTEGER NOT NULL,
  guilhotina INTEGER NOT NULL, corte_total INTEGER NOT NULL,
  espaco_linhas INTEGER NOT NULL, linhas_cupons INTEGER NOT NULL, offline INTEGER NOT NULL,
  bytes_mfd INTEGER NOT NULL, relatorio_aberto INTEGER NOT NULL,
  ultimo_doc_hora INTEGER NOT NULL, ultimo_doc_tipo TEXT NOT NULL,
  acumulados TEXT NOT NULL);
CREATE TABLE aliquotas(slot INTEGER PRIMARY KEY, valor INTEGER NOT NULL, iss INTEGER NOT NULL);
CREATE TABLE formas(indice INTEGER PRIMARY KEY, nome BLOB NOT NULL, vinculada INTEGER NOT NULL);
CREATE TABLE totalizadores(indice INTEGER PRIMARY KEY, nome BLOB NOT NULL);
CREATE TABLE relatorios(indice INTEGER PRIMARY KEY, nome BLOB NOT NULL);
CREATE TABLE documentos(id INTEGER PRIMARY KEY, coo INTEGER NOT NULL, tipo TEXT NOT NULL,
  data_hora INTEGER NOT NULL, texto BLOB NOT NULL);
CREATE TABLE reducoes(crz INTEGER PRIMARY KEY, coo INTEGER NOT NULL, data_movimento INTEGER NOT NULL,
  data_hora INTEGER NOT NULL, dados BLOB NOT NULL);
CREATE INDEX reducoes_data ON reducoes(data_movimento);
)sql";

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

[[noreturn]] void falha(sqlite3* db, const char* what) {
    lanca(db && ilegivel(sqlite3_extended_errcode(db)),
          std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "sqlite"));
}

[[noreturn]] void malformado(sqlite3_stmt* s, int col) {
    throw MemoriaIlegivel(std::string("valor malformado na coluna ") + sqlite3_column_name(s, col));
}

// Steps a query: true on a row, false at its end; a failure resets the
// statement (ending its read) and throws.
bool proxima(sqlite3_stmt* s) {
    const int rc = sqlite3_step(s);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    sqlite3* db = sqlite3_db_handle(s);
    const std::string msg = std::string("leitura: ") + sqlite3_errmsg(db);
    sqlite3_reset(s);
    lanca(ilegivel(rc), msg);
}

// Stored values are read back with their types checked: a value of another
// type (SQLite would silently convert it) means a damaged memory.
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

void liga(sqlite3_stmt* s, int i, const std::string& v) {
    sqlite3_bind_blob(s, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
}

std::string serializa(const std::map<std::string, int64_t>& m) {
    std::string out;
    for (const auto& [k, v] : m) {
        if (v == 0) continue;
        out += k;
        out += '=';
        out += std::to_string(v);
        out += ';';
    }
    return out;
}

std::map<std::string, int64_t> desserializa(const std::string& s) {
    std::map<std::string, int64_t> m;
    size_t start = 0;
    while (start < s.size()) {
        size_t end = s.find(';', start);
        if (end == std::string::npos) end = s.size();
        const std::string_view item(s.data() + start, end - start);
        const size_t eq = item.find('=');
        int64_t v = 0;
        const char* fim = item.data() + item.size();
        if (eq == std::string_view::npos || eq == 0) throw MemoriaIlegivel("acumulados malformados");
        const auto [p, ec] = std::from_chars(item.data() + eq + 1, fim, v);
        if (ec != std::errc() || p != fim) throw MemoriaIlegivel("acumulados malformados");
        m[std::string(item.substr(0, eq))] = v;
        start = end + 1;
    }
    return m;
}

// First column of the first row of a query (a pragma, a count).
int64_t primeiroInteiro(sqlite3* db, const char* sql) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) falha(db, sql);
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> dono(s, sqlite3_finalize);
    if (!proxima(s)) throw MemoriaIlegivel(std::string(sql) + ": sem resposta");
    return inteiro(s, 0);
}

std::string primeiroTexto(sqlite3* db, const char* sql) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) falha(db, sql);
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> dono(s, sqlite3_finalize);
    return proxima(s) ? texto(s, 0) : std::string();
}

// The tables and indexes of a memory as SQLite keeps their definitions.
std::vector<std::string> desenho(sqlite3* db) {
    sqlite3_stmt* s = nullptr;
    const char* sql = "SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY type, name";
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) falha(db, "esquema");
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> dono(s, sqlite3_finalize);
    std::vector<std::string> out;
    while (proxima(s)) {
        std::string linha;
        for (int c = 0; c < 4; ++c) {
            const auto* t = sqlite3_column_text(s, c);
            linha += t ? reinterpret_cast<const char*>(t) : "";
            linha += '\n';
        }
        out.push_back(std::move(linha));
    }
    return out;
}

// The layout of the current version, as a new memory gets it.
const std::vector<std::string>& desenhoAtual() {
    static const std::vector<std::string> d = [] {
        sqlite3* db = nullptr;
        sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr);
        auto out = desenho(db);
        sqlite3_close(db);
        return out;
    }();
    return d;
}

const std::string kCarimbo = "PRAGMA user_version = " + std::to_string(Memoria::kVersao);

// kPassos[v] turns a memory of version v into one of version v + 1.
const char* const kPassos[Memoria::kVersao] = {
    "",  // memories made before versions were kept already have the first layout
};

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

}  // namespace

Memoria::~Memoria() {
    for (auto& [sql, stmt] : cache_) sqlite3_finalize(stmt);
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
    if (desenho(db_) != desenhoAtual()) throw MemoriaIlegivel("tabelas desconhecidas");
    carregaEstado();
    carregaTabelas();
    ultimaReducao();
}

// Upgrades in one transaction, committed only when the result reads back.
void Memoria::atualiza(int versao) {
    Transacao tx(*this);
    for (int v = versao; v < kVersao; ++v) executa(kPassos[v]);
    executa(kCarimbo.c_str());
    confere();
    tx.confirma();
}

void Memoria::executa(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) falha(db_, "sqlite");
}

sqlite3_stmt* Memoria::prepara(const char* sql) {
    auto it = cache_.find(sql);
    if (it != cache_.end()) {
        sqlite3_reset(it->second);
        sqlite3_clear_bindings(it->second);
        return it->second;
    }
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &s, nullptr) != SQLITE_OK) falha(db_, "prepare");
    cache_[sql] = s;
    return s;
}

void Memoria::inicia() {
    executa("BEGIN IMMEDIATE");
    if (esquemaPendente_) {
        executa(kSchema);
        executa(kCarimbo.c_str());
    }
}

void Memoria::confirma() {
    executa("COMMIT");
    esquemaPendente_ = false;
}

void Memoria::desfaz() { sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr); }

Estado Memoria::carregaEstado() {
    sqlite3_stmt* s = prepara(
        "SELECT serie, semente, coo, crz, cro, gnf, ccf, grg, cdc, cfc, cnc, cfd, gt, deslocamento, fixo, verao,"
        " movimento, bloqueado, gaveta_ate, guilhotina, corte_total, espaco_linhas, linhas_cupons, offline,"
        " bytes_mfd, relatorio_aberto, ultimo_doc_hora, ultimo_doc_tipo, acumulados FROM estado WHERE id = 1");
    if (!proxima(s)) throw MemoriaIlegivel("a memória não guarda o estado da impressora");
    Estado e;
    int c = 0;
    e.serie = texto(s, c++);
    e.semente = inteiro32(s, c++);
    for (int64_t* p : {&e.coo, &e.crz, &e.cro, &e.gnf, &e.ccf, &e.grg, &e.cdc, &e.cfc, &e.cnc, &e.cfd, &e.gt}) {
        *p = inteiro(s, c);
        if (*p < 0) malformado(s, c);  // counters and the grand total never go below zero
        ++c;
    }
    e.deslocamento = inteiro(s, c++);
    if (sqlite3_column_type(s, c) != SQLITE_NULL) e.fixo = inteiro(s, c);
    ++c;
    e.verao = inteiro(s, c++) != 0;
    e.movimento = inteiro32(s, c++);
    e.bloqueado = inteiro32(s, c++);
    e.gavetaAte = inteiro(s, c++);
    e.guilhotina = inteiro(s, c++) != 0;
    e.corteTotal = inteiro(s, c++) != 0;
    e.espacoLinhas = inteiro32(s, c++);
    e.linhasCupons = inteiro32(s, c++);
    e.offline = inteiro32(s, c++);
    e.bytesMfd = inteiro(s, c++);
    e.relatorioAberto = inteiro(s, c++);
    e.ultimoDocHora = inteiro(s, c++);
    e.ultimoDocTipo = texto(s, c++);
    e.acumulados = desserializa(texto(s, c++));
    sqlite3_reset(s);
    return e;
}

void Memoria::gravaEstado(const Estado& e) {
    sqlite3_stmt* s = prepara(
        "INSERT OR REPLACE INTO estado(id, serie, semente, coo, crz, cro, gnf, ccf, grg, cdc, cfc, cnc, cfd, gt,"
        " deslocamento, fixo, verao, movimento, bloqueado, gaveta_ate, guilhotina, corte_total, espaco_linhas,"
        " linhas_cupons, offline, bytes_mfd, relatorio_aberto, ultimo_doc_hora, ultimo_doc_tipo, acumulados)"
        " VALUES (1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    int c = 1;
    sqlite3_bind_text(s, c++, e.serie.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(s, c++, e.semente);
    for (int64_t v : {e.coo, e.crz, e.cro, e.gnf, e.ccf, e.grg, e.cdc, e.cfc, e.cnc, e.cfd, e.gt, e.deslocamento})
        sqlite3_bind_int64(s, c++, v);
    if (e.fixo)
        sqlite3_bind_int64(s, c++, *e.fixo);
    else
        sqlite3_bind_null(s, c++);
    sqlite3_bind_int(s, c++, e.verao ? 1 : 0);
    sqlite3_bind_int(s, c++, e.movimento);
    sqlite3_bind_int(s, c++, e.bloqueado);
    sqlite3_bind_int64(s, c++, e.gavetaAte);
    sqlite3_bind_int(s, c++, e.guilhotina ? 1 : 0);
    sqlite3_bind_int(s, c++, e.corteTotal ? 1 : 0);
    sqlite3_bind_int(s, c++, e.espacoLinhas);
    sqlite3_bind_int(s, c++, e.linhasCupons);
    sqlite3_bind_int(s, c++, e.offline);
    sqlite3_bind_int64(s, c++, e.bytesMfd);
    sqlite3_bind_int64(s, c++, e.relatorioAberto);
    sqlite3_bind_int64(s, c++, e.ultimoDocHora);
    sqlite3_bind_text(s, c++, e.ultimoDocTipo.c_str(), -1, SQLITE_TRANSIENT);
    const std::string acc = serializa(e.acumulados);
    sqlite3_bind_text(s, c++, acc.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(s) != SQLITE_DONE) falha(db_, "grava estado");
    sqlite3_reset(s);
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
    if (sqlite3_step(s) != SQLITE_DONE) falha(db_, "grava aliquota");
}

void Memoria::gravaForma(int indice, const FormaPagamento& f) {
    sqlite3_stmt* s = prepara("INSERT OR REPLACE INTO formas(indice, nome, vinculada) VALUES (?, ?, ?)");
    sqlite3_bind_int(s, 1, indice);
    liga(s, 2, f.nome);
    sqlite3_bind_int(s, 3, f.vinculada ? 1 : 0);
    if (sqlite3_step(s) != SQLITE_DONE) falha(db_, "grava forma");
}

void Memoria::gravaTotalizador(int indice, const std::string& nome) {
    sqlite3_stmt* s = prepara("INSERT OR REPLACE INTO totalizadores(indice, nome) VALUES (?, ?)");
    sqlite3_bind_int(s, 1, indice);
    liga(s, 2, nome);
    if (sqlite3_step(s) != SQLITE_DONE) falha(db_, "grava totalizador");
}

void Memoria::gravaRelatorio(int indice, const std::string& nome) {
    sqlite3_stmt* s = prepara("INSERT OR REPLACE INTO relatorios(indice, nome) VALUES (?, ?)");
    sqlite3_bind_int(s, 1, indice);
    liga(s, 2, nome);
    if (sqlite3_step(s) != SQLITE_DONE) falha(db_, "grava relatorio");
}

int64_t Memoria::insereDocumento(int64_t coo, const std::string& tipo, int64_t dataHora, const std::string& t) {
    sqlite3_stmt* s = prepara("INSERT INTO documentos(coo, tipo, data_hora, texto) VALUES (?, ?, ?, ?)");
    sqlite3_bind_int64(s, 1, coo);
    sqlite3_bind_text(s, 2, tipo.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(s, 3, dataHora);
    liga(s, 4, t);
    if (sqlite3_step(s) != SQLITE_DONE) falha(db_, "insere documento");
    return sqlite3_last_insert_rowid(db_);
}

void Memoria::atualizaDocumento(int64_t id, const std::string& t) {
    sqlite3_stmt* s = prepara("UPDATE documentos SET texto = ? WHERE id = ?");
    liga(s, 1, t);
    sqlite3_bind_int64(s, 2, id);
    if (sqlite3_step(s) != SQLITE_DONE) falha(db_, "atualiza documento");
}

std::string Memoria::textoDocumento(int64_t id) {
    sqlite3_stmt* s = prepara("SELECT texto FROM documentos WHERE id = ?");
    sqlite3_bind_int64(s, 1, id);
    std::string out;
    if (proxima(s)) out = texto(s, 0);
    sqlite3_reset(s);
    return out;
}

void Memoria::insereReducao(const Reducao& r) {
    sqlite3_stmt* s =
        prepara("INSERT INTO reducoes(crz, coo, data_movimento, data_hora, dados) VALUES (?, ?, ?, ?, ?)");
    sqlite3_bind_int64(s, 1, r.crz);
    sqlite3_bind_int64(s, 2, r.coo);
    sqlite3_bind_int(s, 3, r.dataMovimento);
    sqlite3_bind_int64(s, 4, r.dataHora);
    liga(s, 5, r.dados);
    if (sqlite3_step(s) != SQLITE_DONE) falha(db_, "insere reducao");
}

namespace {
std::vector<Reducao> lista(sqlite3_stmt* s) {
    std::vector<Reducao> out;
    while (proxima(s)) {
        Reducao r;
        r.crz = inteiro(s, 0);
        r.coo = inteiro(s, 1);
        r.dataMovimento = inteiro32(s, 2);
        r.dataHora = inteiro(s, 3);
        r.dados = texto(s, 4);
        if (r.dados.size() != 1279) malformado(s, 4);  // every record has 1279 characters
        out.push_back(std::move(r));
    }
    return out;
}
}  // namespace

std::optional<Reducao> Memoria::ultimaReducao() {
    auto v =
        lista(prepara("SELECT crz, coo, data_movimento, data_hora, dados FROM reducoes ORDER BY crz DESC LIMIT 1"));
    if (v.empty()) return std::nullopt;
    return v.front();
}

std::vector<Reducao> Memoria::reducoesPorNumero(int64_t inicial, int64_t final) {
    sqlite3_stmt* s = prepara(
        "SELECT crz, coo, data_movimento, data_hora, dados FROM reducoes WHERE crz BETWEEN ? AND ? ORDER BY crz");
    sqlite3_bind_int64(s, 1, inicial);
    sqlite3_bind_int64(s, 2, final);
    return lista(s);
}

std::vector<Reducao> Memoria::reducoesPorData(int inicial, int final) {
    sqlite3_stmt* s = prepara(
        "SELECT crz, coo, data_movimento, data_hora, dados FROM reducoes WHERE data_movimento BETWEEN ? AND ?"
        " ORDER BY crz");
    sqlite3_bind_int(s, 1, inicial);
    sqlite3_bind_int(s, 2, final);
    return lista(s);
}

std::vector<Documento> Memoria::ultimosDocumentos(int quantidade) {
    sqlite3_stmt* s = prepara(
        "SELECT id, coo, tipo, data_hora, texto FROM (SELECT * FROM documentos ORDER BY id DESC LIMIT ?) ORDER BY id");
    sqlite3_bind_int(s, 1, quantidade);
    std::vector<Documento> out;
    while (proxima(s)) {
        Documento d;
        d.id = inteiro(s, 0);
        d.coo = inteiro(s, 1);
        d.tipo = texto(s, 2);
        d.dataHora = inteiro(s, 3);
        d.texto = texto(s, 4);
        out.push_back(std::move(d));
    }
    return out;
}

int64_t Memoria::contaDocumentos() { return primeiroInteiro(db_, "SELECT count(*) FROM documentos"); }

int64_t Memoria::contaReducoes() { return primeiroInteiro(db_, "SELECT count(*) FROM reducoes"); }

}  // namespace kesafi
