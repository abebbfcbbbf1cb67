// Upgrades of memories made by earlier versions of the library.  What each
// step knows of the layout it reads is frozen here, as that version left it.
#include <charconv>
#include <map>

#include "kesafi32.h"
#include "memoria.h"
#include "memoria_sql.h"

namespace kesafi {
namespace {

using namespace sql;

// ---------------------------------------------------------------- version 1

// The layout of version 1.  The day's totals were one text column of
// "code=value;" pairs; a reduction kept its answer record
// (KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO characters).
const char* const kEsquemaV1 = R"sql(
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

// The "code=value;" pairs of version 1's day totals.
std::map<std::string, int64_t> acumuladosV1(const std::string& s) {
    std::map<std::string, int64_t> m;
    size_t inicio = 0;
    while (inicio < s.size()) {
        size_t fim = s.find(';', inicio);
        if (fim == std::string::npos) fim = s.size();
        const std::string_view item(s.data() + inicio, fim - inicio);
        const size_t igual = item.find('=');
        int64_t v = 0;
        const char* ultimo = item.data() + item.size();
        if (igual == std::string_view::npos || igual == 0) throw MemoriaIlegivel("acumulados malformados");
        const auto [p, ec] = std::from_chars(item.data() + igual + 1, ultimo, v);
        if (ec != std::errc() || p != ultimo) throw MemoriaIlegivel("acumulados malformados");
        m[std::string(item.substr(0, igual))] = v;
        inicio = fim + 1;
    }
    return m;
}

// Moves version 1's day totals, by their codes, into the named fields.
// What is left over is a code version 1 never wrote.
struct Acumulados {
    std::map<std::string, int64_t> m;
    int64_t toma(const std::string& codigo) {
        const auto it = m.find(codigo);
        if (it == m.end()) return 0;
        const int64_t v = it->second;
        m.erase(it);
        return v;
    }
    template <class A>
    void tomaLista(A& lista, const char* prefixo) {
        for (size_t i = 0; i < lista.size(); ++i) {
            std::string codigo = prefixo;
            codigo += static_cast<char>('0' + (i + 1) / 10);
            codigo += static_cast<char>('0' + (i + 1) % 10);
            lista[i] = toma(codigo);
        }
    }
};

void totaisV1(Acumulados& a, TotaisDia& t) {
    t.vendaBruta = a.toma("VB");
    a.tomaLista(t.aliquotas, "T");
    t.icms = {a.toma("F"), a.toma("I"), a.toma("N")};
    t.iss = {a.toma("FS"), a.toma("IS"), a.toma("NS")};
    t.ajustesIcms = {a.toma("DT"), a.toma("AT"), a.toma("CT")};
    t.ajustesIss = {a.toma("DS"), a.toma("AS"), a.toma("CS")};
    t.ajustesNaoFiscais = {a.toma("DN"), a.toma("AN"), a.toma("NC")};
    a.tomaLista(t.naoFiscais, "NF");
    a.tomaLista(t.operacoesNaoFiscais, "NQ");
    a.tomaLista(t.formas, "FP");
}

// A field of version 1's reduction record by its 1-based position.
int64_t campoV1(const std::string& r, int posicao, int largura) {
    int64_t v = 0;
    for (int i = 0; i < largura; ++i) {
        const char ch = r[static_cast<size_t>(posicao - 1 + i)];
        if (ch >= '0' && ch <= '9') v = v * 10 + (ch - '0');
    }
    return v;
}

// A reduction of version 1: its record cut at the positions version 1 wrote.
Reducao reducaoV1(sqlite3_stmt* s) {
    Reducao r;
    r.cont.crz = inteiro(s, 0);
    r.cont.coo = inteiro(s, 1);
    r.dataMovimento = inteiro32(s, 2);
    r.dataHora = inteiro(s, 3);
    const std::string d = texto(s, 4);
    if (d.size() != KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO) malformado(s, 4);
    r.cont.cro = campoV1(d, 4, 4);
    r.cont.gnf = campoV1(d, 21, 6);
    r.cont.ccf = campoV1(d, 28, 6);
    r.cont.grg = campoV1(d, 35, 6);
    r.cont.cfd = campoV1(d, 42, 6);
    r.cont.cnc = campoV1(d, 49, 4);
    r.cont.cfc = campoV1(d, 54, 4);
    r.cont.cdc = campoV1(d, 301, 4);
    for (int i = 0; i < 16; ++i) {
        r.aliquotas[i].valor = static_cast<int>(campoV1(d, 59 + 4 * i, 4));
        r.aliquotas[i].iss = d[static_cast<size_t>(123 + i)] == 'S';
    }
    TotaisDia& t = r.totais;
    t.vendaBruta = campoV1(d, 141, 18);
    r.gt = campoV1(d, 316, 18);
    for (int i = 0; i < 16; ++i) t.aliquotas[i] = campoV1(d, 335 + 14 * i, 14);
    int64_t* emOrdem[] = {&t.icms.substituicao,
                          &t.icms.isencao,
                          &t.icms.naoIncidencia,
                          &t.iss.substituicao,
                          &t.iss.isencao,
                          &t.iss.naoIncidencia,
                          &t.ajustesIcms.descontos,
                          &t.ajustesIss.descontos,
                          &t.ajustesIcms.acrescimos,
                          &t.ajustesIss.acrescimos,
                          &t.ajustesIcms.cancelamentos,
                          &t.ajustesIss.cancelamentos};
    for (int i = 0; i < 12; ++i) *emOrdem[i] = campoV1(d, 560 + 15 * i, 14);
    for (int i = 0; i < 28; ++i) t.naoFiscais[i] = campoV1(d, 740 + 14 * i, 14);
    t.naoFiscais[28] = campoV1(d, 1133, 14);
    t.naoFiscais[29] = campoV1(d, 1148, 14);
    t.ajustesNaoFiscais = {campoV1(d, 1163, 14), campoV1(d, 1178, 14), campoV1(d, 1193, 14)};
    return r;
}

// Columns of a version 1 row by name.
class Linha {
public:
    explicit Linha(sqlite3_stmt* s) : s_(s) {
        for (int c = 0; c < sqlite3_column_count(s); ++c) col_[sqlite3_column_name(s, c)] = c;
    }
    int64_t inteiro(const char* nome) const { return sql::inteiro(s_, col_.at(nome)); }
    int inteiro32(const char* nome) const { return sql::inteiro32(s_, col_.at(nome)); }
    bool logico(const char* nome) const { return inteiro(nome) != 0; }
    std::string texto(const char* nome) const { return sql::texto(s_, col_.at(nome)); }
    std::optional<int64_t> opcional(const char* nome) const {
        std::optional<int64_t> v;
        le(s_, col_.at(nome), v);
        return v;
    }

private:
    sqlite3_stmt* s_;
    std::map<std::string, int> col_;
};

}  // namespace

// Version 1 to 2: the day's totals and the last receipts' data move from
// their text codes into named columns; a reduction's record becomes its
// counters and totals, each in a column (the answer record is made from them,
// at the positions readers cut); the tape gets the data of each receipt
// beside its text, pieces appended to a document, and indexes by COO and by
// date.  Receipts issued before the upgrade have no item data: the last one
// can still be cancelled (its whole amount then counts as ICMS, as version 1
// counted it).
void Memoria::atualizaDaVersao1() {
    static const std::vector<std::string> v1 = desenhoDe(kEsquemaV1);
    if (desenho(db_) != v1) throw MemoriaIlegivel("tabelas desconhecidas");

    Estado e;
    std::map<std::string, int64_t> codigos;
    {
        sqlite3_stmt* s = prepara("SELECT * FROM estado WHERE id = 1");
        if (!proxima(s)) throw MemoriaIlegivel("a memória não guarda o estado da impressora");
        const Linha l(s);
        e.serie = l.texto("serie");
        e.semente = l.inteiro32("semente");
        camposContadores(e.cont, [&](std::string_view nome, int64_t& v, const char* = nullptr) {
            if (nome != "cdc_cancelados") v = l.inteiro(std::string(nome).c_str());
        });
        e.gt = l.inteiro("gt");
        e.deslocamento = l.inteiro("deslocamento");
        e.fixo = l.opcional("fixo");
        e.verao = l.logico("verao");
        e.movimento = l.inteiro32("movimento");
        e.bloqueado = l.inteiro32("bloqueado");
        e.gavetaAte = l.inteiro("gaveta_ate");
        e.guilhotina = l.logico("guilhotina");
        e.corteTotal = l.logico("corte_total");
        e.espacoLinhas = l.inteiro32("espaco_linhas");
        e.linhasCupons = l.inteiro32("linhas_cupons");
        e.offline = l.inteiro32("offline");
        e.bytesMfd = l.inteiro("bytes_mfd");
        e.relatorioAberto = l.inteiro("relatorio_aberto");
        e.ultimoDocHora = l.inteiro("ultimo_doc_hora");
        e.ultimoDocTipo = l.texto("ultimo_doc_tipo");
        codigos = acumuladosV1(l.texto("acumulados"));
        sqlite3_reset(s);
    }
    Acumulados a{std::move(codigos)};
    totaisV1(a, e.dia);
    a.tomaLista(e.relatoriosEmitidos, "RG");
    e.cupomAberto = a.toma("CF_ABERTO");
    e.naoFiscalAberto = a.toma("NF_ABERTO");
    const int64_t liquidoCupom = a.toma("UC_V"), formaCupom = a.toma("UC_FP");
    a.toma("UC_ICMS");
    a.toma("UC_ISS");
    const int64_t totalizadorNaoFiscal = a.toma("UN_IDX"), valorNaoFiscal = a.toma("UN_V");
    if (!a.m.empty()) throw MemoriaIlegivel("acumulados malformados: " + a.m.begin()->first);

    // Id and COO of the last document of a kind.
    auto ultimo = [&](const char* tipo) -> std::pair<int64_t, int64_t> {
        sqlite3_stmt* s = prepara("SELECT id, coo FROM documentos WHERE tipo = ? ORDER BY id DESC LIMIT 1");
        sqlite3_bind_text(s, 1, tipo, -1, SQLITE_STATIC);
        std::pair<int64_t, int64_t> r{0, 0};
        if (proxima(s)) r = {sql::inteiro(s, 0), sql::inteiro(s, 1)};
        sqlite3_reset(s);
        return r;
    };
    {
        sqlite3_stmt* s = prepara("SELECT coalesce(min(data_hora), 0) FROM documentos");
        if (proxima(s)) e.cadastro = sql::inteiro(s, 0);
        sqlite3_reset(s);
    }

    executa("DROP TABLE estado; DROP INDEX reducoes_data; ALTER TABLE reducoes RENAME TO reducoes_v1");
    executa((criacaoEstado() + ";\n" + criacaoReducoes() + ";\n" + criacaoTabelasDaFita() + kIndices).c_str());
    {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_, "SELECT crz, coo, data_movimento, data_hora, dados FROM reducoes_v1 ORDER BY crz",
                               -1, &s, nullptr) != SQLITE_OK)
            falha(db_, "prepare");
        std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> dono(s, sqlite3_finalize);
        while (proxima(s)) insereReducao(reducaoV1(s));
    }
    executa("DROP TABLE reducoes_v1");

    // The last receipt, while it may still be cancelled, and the one left open.
    const bool cupomCancelavel = e.ultimoDocTipo == tipos::kCupom;
    if (e.cupomAberto || cupomCancelavel) {
        Cupom c;
        const auto [id, coo] = ultimo(tipos::kCupom);
        c.documento = e.cupomAberto ? e.cupomAberto : id;
        c.coo = coo;
        c.ccf = e.cont.ccf;
        c.subtotal = c.liquido = liquidoCupom;
        if (formaCupom > 0) c.pagamentos.push_back({c.documento, 1, static_cast<int>(formaCupom), {}, liquidoCupom});
        gravaCupom(c);
        if (!e.cupomAberto) e.cupomCancelavel = c.documento;
    }
    const bool naoFiscalCancelavel = e.ultimoDocTipo == tipos::kNaoFiscal;
    if (e.naoFiscalAberto || naoFiscalCancelavel) {
        Recebimento r;
        const auto [id, coo] = ultimo(tipos::kNaoFiscal);
        r.documento = e.naoFiscalAberto ? e.naoFiscalAberto : id;
        r.coo = coo;
        r.totalizador = static_cast<int>(std::clamp<int64_t>(totalizadorNaoFiscal, 1, 30));
        r.valor = valorNaoFiscal;
        if (!e.naoFiscalAberto) r.pagamentos.push_back({r.documento, 1, 1, {}, valorNaoFiscal});
        gravaRecebimento(r);
        if (!e.naoFiscalAberto) e.naoFiscalCancelavel = r.documento;
    }
    gravaEstado(e);
}

}  // namespace kesafi
