#include "memoria.h"

#include <sqlite3.h>

#include <filesystem>
#include <sstream>
#include <stdexcept>

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

[[noreturn]] void falha(sqlite3* db, const char* what) {
    throw std::runtime_error(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "sqlite"));
}

std::string texto(sqlite3_stmt* s, int col) {
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
        const std::string item = s.substr(start, end - start);
        const size_t eq = item.find('=');
        if (eq != std::string::npos) m[item.substr(0, eq)] = std::stoll(item.substr(eq + 1));
        start = end + 1;
    }
    return m;
}

sqlite3* conecta(const std::string& arquivo, int flags) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(arquivo.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 5000);
    // WAL with full synchronisation: a killed process or a power cut never
    // tears the memory nor loses an acknowledged command.
    sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;", nullptr, nullptr, nullptr);
    return db;
}

}  // namespace

Memoria::~Memoria() {
    for (auto& [sql, stmt] : cache_) sqlite3_finalize(stmt);
    sqlite3_close(db_);
}

std::string Memoria::arquivo(const std::string& pasta) {
    return (std::filesystem::path(pasta) / "memoria.db").string();
}

std::unique_ptr<Memoria> Memoria::abre(const std::string& pasta) {
    const std::string f = arquivo(pasta);
    std::error_code ec;
    if (!std::filesystem::exists(f, ec)) return nullptr;
    sqlite3* db = conecta(f, SQLITE_OPEN_READWRITE);
    if (!db) return nullptr;
    std::unique_ptr<Memoria> m(new Memoria(db));
    // A memory whose creation was interrupted holds no printer.
    sqlite3_stmt* s = nullptr;
    bool ok = sqlite3_prepare_v2(db, "SELECT count(*) FROM estado", -1, &s, nullptr) == SQLITE_OK &&
              sqlite3_step(s) == SQLITE_ROW && sqlite3_column_int(s, 0) == 1;
    sqlite3_finalize(s);
    if (!ok) return nullptr;
    return m;
}

std::unique_ptr<Memoria> Memoria::criaVazia(const std::string& pasta) {
    std::error_code ec;
    std::filesystem::create_directories(pasta, ec);
    const std::string f = arquivo(pasta);
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) std::filesystem::remove(f + suffix, ec);
    sqlite3* db = conecta(f, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (!db) return nullptr;
    std::unique_ptr<Memoria> m(new Memoria(db));
    m->esquemaPendente_ = true;
    return m;
}

void Memoria::executa(const char* sql) {
    char* err = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : "sqlite";
        sqlite3_free(err);
        throw std::runtime_error(msg);
    }
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
    if (esquemaPendente_) executa(kSchema);
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
    if (sqlite3_step(s) != SQLITE_ROW) falha(db_, "estado");
    Estado e;
    int c = 0;
    e.serie = texto(s, c++);
    e.semente = sqlite3_column_int(s, c++);
    for (int64_t* p :
         {&e.coo, &e.crz, &e.cro, &e.gnf, &e.ccf, &e.grg, &e.cdc, &e.cfc, &e.cnc, &e.cfd, &e.gt, &e.deslocamento})
        *p = sqlite3_column_int64(s, c++);
    if (sqlite3_column_type(s, c) != SQLITE_NULL) e.fixo = sqlite3_column_int64(s, c);
    ++c;
    e.verao = sqlite3_column_int(s, c++) != 0;
    e.movimento = sqlite3_column_int(s, c++);
    e.bloqueado = sqlite3_column_int(s, c++);
    e.gavetaAte = sqlite3_column_int64(s, c++);
    e.guilhotina = sqlite3_column_int(s, c++) != 0;
    e.corteTotal = sqlite3_column_int(s, c++) != 0;
    e.espacoLinhas = sqlite3_column_int(s, c++);
    e.linhasCupons = sqlite3_column_int(s, c++);
    e.offline = sqlite3_column_int(s, c++);
    e.bytesMfd = sqlite3_column_int64(s, c++);
    e.relatorioAberto = sqlite3_column_int64(s, c++);
    e.ultimoDocHora = sqlite3_column_int64(s, c++);
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
    while (sqlite3_step(s) == SQLITE_ROW) {
        const int i = sqlite3_column_int(s, 0);
        if (i >= 1 && i <= 16) t.aliquotas[i - 1] = {sqlite3_column_int(s, 1), sqlite3_column_int(s, 2) != 0};
    }
    s = prepara("SELECT indice, nome, vinculada FROM formas");
    while (sqlite3_step(s) == SQLITE_ROW) {
        const int i = sqlite3_column_int(s, 0);
        if (i >= 1 && i <= 20) t.formas[i - 1] = {texto(s, 1), sqlite3_column_int(s, 2) != 0};
    }
    s = prepara("SELECT indice, nome FROM totalizadores");
    while (sqlite3_step(s) == SQLITE_ROW) {
        const int i = sqlite3_column_int(s, 0);
        if (i >= 1 && i <= 30) t.totalizadores[i - 1] = texto(s, 1);
    }
    s = prepara("SELECT indice, nome FROM relatorios");
    while (sqlite3_step(s) == SQLITE_ROW) {
        const int i = sqlite3_column_int(s, 0);
        if (i >= 1 && i <= 30) t.relatorios[i - 1] = texto(s, 1);
    }
    sqlite3_reset(s);
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
    if (sqlite3_step(s) == SQLITE_ROW) out = texto(s, 0);
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
    while (sqlite3_step(s) == SQLITE_ROW) {
        Reducao r;
        r.crz = sqlite3_column_int64(s, 0);
        r.coo = sqlite3_column_int64(s, 1);
        r.dataMovimento = sqlite3_column_int(s, 2);
        r.dataHora = sqlite3_column_int64(s, 3);
        r.dados = texto(s, 4);
        out.push_back(std::move(r));
    }
    sqlite3_reset(s);
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
    while (sqlite3_step(s) == SQLITE_ROW) {
        Documento d;
        d.id = sqlite3_column_int64(s, 0);
        d.coo = sqlite3_column_int64(s, 1);
        d.tipo = texto(s, 2);
        d.dataHora = sqlite3_column_int64(s, 3);
        d.texto = texto(s, 4);
        out.push_back(std::move(d));
    }
    sqlite3_reset(s);
    return out;
}

int64_t Memoria::contaDocumentos() {
    sqlite3_stmt* s = prepara("SELECT count(*) FROM documentos");
    int64_t n = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : 0;
    sqlite3_reset(s);
    return n;
}

int64_t Memoria::contaReducoes() {
    sqlite3_stmt* s = prepara("SELECT count(*) FROM reducoes");
    int64_t n = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : 0;
    sqlite3_reset(s);
    return n;
}

}  // namespace kesafi
