// How the memory's tables are made from the field lists of estado.h and how a
// row is read into an object or bound from it.  Internal to the memory (its
// reads and writes and the upgrades of older layouts).
#pragma once

#include <sqlite3.h>

#include <string>
#include <string_view>

#include "memoria.h"

namespace kesafi::sql {

[[noreturn]] void falha(sqlite3* db, const char* what);
[[noreturn]] void malformado(sqlite3_stmt* s, int col);
// Steps a query: true on a row, false at its end; a failure resets the
// statement (ending its read) and throws.
bool proxima(sqlite3_stmt* s);
// Runs a statement that returns no row.
void executa(sqlite3_stmt* s, const char* what);

// Stored values are read back with their types checked: a value of another
// type (SQLite would silently convert it) means a damaged memory.
int64_t inteiro(sqlite3_stmt* s, int col);
int inteiro32(sqlite3_stmt* s, int col);
std::string texto(sqlite3_stmt* s, int col);
void liga(sqlite3_stmt* s, int i, std::string_view v);

inline void le(sqlite3_stmt* s, int c, int64_t& v) { v = inteiro(s, c); }
inline void le(sqlite3_stmt* s, int c, int& v) { v = inteiro32(s, c); }
inline void le(sqlite3_stmt* s, int c, std::string& v) { v = texto(s, c); }
void le(sqlite3_stmt* s, int c, bool& v);
void le(sqlite3_stmt* s, int c, std::optional<int64_t>& v);

inline void liga(sqlite3_stmt* s, int i, int64_t v) { sqlite3_bind_int64(s, i, v); }
inline void liga(sqlite3_stmt* s, int i, int v) { sqlite3_bind_int(s, i, v); }
inline void liga(sqlite3_stmt* s, int i, bool v) { sqlite3_bind_int(s, i, v ? 1 : 0); }
inline void liga(sqlite3_stmt* s, int i, const std::string& v) { liga(s, i, std::string_view(v)); }
void liga(sqlite3_stmt* s, int i, const std::optional<int64_t>& v);

inline const char* tipo(const std::string&) { return "BLOB NOT NULL"; }
inline const char* tipo(const std::optional<int64_t>&) { return "INTEGER"; }
template <class T>
const char* tipo(const T&) {
    return "INTEGER NOT NULL";
}

// The tables made of a field list: name, type, the list, the key.
#define KESAFI_TABELA(Nome, Tabela, TipoObjeto, lista)         \
    struct Nome {                                              \
        static constexpr const char* nome = Tabela;            \
        using Tipo = TipoObjeto;                               \
        static void campos(auto& o, auto&& v) { lista(o, v); } \
    }
KESAFI_TABELA(TabelaEstado, "estado", Estado, camposEstado);
KESAFI_TABELA(TabelaReducoes, "reducoes", Reducao, camposReducao);
KESAFI_TABELA(TabelaCupons, "cupons", Cupom, camposCupom);
KESAFI_TABELA(TabelaItens, "itens", Item, camposItem);
KESAFI_TABELA(TabelaPagamentos, "pagamentos", Pagamento, camposPagamento);
KESAFI_TABELA(TabelaRecebimentos, "recebimentos", Recebimento, camposRecebimento);
#undef KESAFI_TABELA

// "a, b, c": the columns in list order.
template <class T>
const std::string& colunas() {
    static const std::string s = [] {
        std::string out;
        typename T::Tipo o{};
        T::campos(o, [&](std::string_view nome, auto&, const char* = nullptr) {
            if (!out.empty()) out += ", ";
            out += nome;
        });
        return out;
    }();
    return s;
}

// "?, ?, ?": one parameter per column.
template <class T>
const std::string& parametros() {
    static const std::string s = [] {
        std::string out;
        typename T::Tipo o{};
        T::campos(o, [&](std::string_view, auto&, const char* = nullptr) { out += out.empty() ? "?" : ", ?"; });
        return out;
    }();
    return s;
}

// "CREATE TABLE t(a INTEGER NOT NULL, ...)": `chave` is the integer primary
// key (the row's id) or, after a comma, a composite key ("PRIMARY KEY (a, b)").
template <class T>
std::string criacao(std::string_view chave, std::string_view antes = {}, std::string_view depois = {}) {
    std::string out = std::string("CREATE TABLE ") + T::nome + "(";
    out += antes;
    typename T::Tipo o{};
    T::campos(o, [&](std::string_view nome, auto& campo, const char* = nullptr) {
        if (out.back() != '(') out += ", ";
        out += nome;
        out += ' ';
        out += nome == chave ? "INTEGER PRIMARY KEY" : tipo(campo);
    });
    out += depois;
    out += ")";
    return out;
}

// Reads the columns from `primeira` on into `o`, in list order.
template <class T>
void leLinha(sqlite3_stmt* s, int primeira, typename T::Tipo& o) {
    int c = primeira;
    T::campos(o, [&](std::string_view, auto& campo, const char* = nullptr) { le(s, c++, campo); });
}

// Binds the parameters from `primeiro` on from `o`, in list order.
template <class T>
void ligaLinha(sqlite3_stmt* s, int primeiro, const typename T::Tipo& o) {
    int i = primeiro;
    T::campos(o, [&](std::string_view, const auto& campo, const char* = nullptr) { liga(s, i++, campo); });
}

// The tables and indexes of a memory as SQLite keeps their definitions, with
// every run of blanks and line breaks made one blank; and those that a
// layout's statements make.
std::vector<std::string> desenho(sqlite3* db);
std::vector<std::string> desenhoDe(const std::string& ddl);

// The layout of the current version, as a new memory gets it.
const std::string& esquema();
// Parts of it the upgrades build on their own.
std::string criacaoEstado();
std::string criacaoReducoes();
std::string criacaoTabelasDaFita();  // complementos, cupons, itens, pagamentos, recebimentos
extern const char* const kIndices;   // of the tape and of the fiscal memory

}  // namespace kesafi::sql
