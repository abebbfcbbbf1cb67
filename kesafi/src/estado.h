// The printer's data as named types, and for each type the one list of its
// fields: the column that keeps it in the memory and, where the test control
// reads it, the name KesafiVirtual_LeContador knows it by.  The memory's
// layout, its reads and writes and the test control all walk these lists, so
// a field is added in one place.
//
// A list is a function template `campos...(object, visitor)` calling
// `visitor(column, field)` or `visitor(column, field, counterName)` once per
// field, in column order.  Fields are int64_t, int, bool, std::string
// (Windows-1252 bytes) or std::optional<int64_t>.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kesafi {

// "prefixo_NN": the column of element NN (from 1) of a list of fields.
inline std::string colunaNumerada(std::string_view prefixo, size_t n, std::string_view sufixo = {}) {
    std::string s(prefixo);
    s += '_';
    s += static_cast<char>('0' + n / 10 % 10);
    s += static_cast<char>('0' + n % 10);
    s += sufixo;
    return s;
}

template <class A, class V>
void camposLista(A& lista, std::string_view prefixo, V&& v, std::string_view sufixo = {}) {
    for (size_t i = 0; i < lista.size(); ++i) v(colunaNumerada(prefixo, i + 1, sufixo), lista[i]);
}

// ------------------------------------------------------------------ tables

struct Aliquota {
    int valor = 0;  // hundredths of a percent; 0 is a free slot
    bool iss = false;
};

template <class A, class V>
void camposAliquotas(A& aliquotas, V&& v) {
    for (size_t i = 0; i < aliquotas.size(); ++i) {
        v(colunaNumerada("aliquota", i + 1), aliquotas[i].valor);
        v(colunaNumerada("aliquota", i + 1, "_iss"), aliquotas[i].iss);
    }
}

struct FormaPagamento {
    std::string nome;  // Windows-1252, at most 15 characters; empty is a free position
    bool vinculada = false;
};

struct Tabelas {
    std::array<Aliquota, 16> aliquotas{};
    std::array<FormaPagamento, 20> formas{};
    std::array<std::string, 30> totalizadores{};  // non-fiscal totalizers (29 "Sangria", 30 "Suprimento")
    std::array<std::string, 30> relatorios{};     // managerial reports
};

// ------------------------------------------------------------------ counters

// The counters the printer prints on its documents and records with every
// reduction in its fiscal memory.
struct Contadores {
    int64_t coo = 0;  // operation order: one per document
    int64_t crz = 0;  // reductions Z
    int64_t cro = 1;  // restarts of operation: one per technical intervention, the printer's first one included
    int64_t gnf = 0;  // non-fiscal operations: readings, non-fiscal receipts, managerial reports, vouchers, print-outs
    int64_t ccf = 0;  // fiscal receipts
    int64_t grg = 0;  // managerial reports
    int64_t cdc = 0;  // credit or debit vouchers, issued after each receipt paid with a linked payment method
    int64_t cfc = 0;  // fiscal receipts cancelled
    int64_t cnc = 0;  // non-fiscal receipts cancelled
    // Detail tapes printed.  The virtual printer has no command that prints
    // its tape on paper (the mirror and the downloads read the memory through
    // the port, which no printer counts), so this stays at 0.
    int64_t cfd = 0;
    int64_t cdcCancelados = 0;  // vouchers reversed by the cancellation of their receipt
};

template <class C, class V>
void camposContadores(C& c, V&& v) {
    v("coo", c.coo, "COO");
    v("crz", c.crz, "CRZ");
    v("cro", c.cro, "CRO");
    v("gnf", c.gnf, "GNF");
    v("ccf", c.ccf, "CCF");
    v("grg", c.grg, "GRG");
    v("cdc", c.cdc, "CDC");
    v("cfc", c.cfc, "CFC");
    v("cnc", c.cnc, "CNC");
    v("cfd", c.cfd, "CFD");
    v("cdc_cancelados", c.cdcCancelados, "CDCCancelados");
}

// ------------------------------------------------------------------ totals

// The three untaxed totals of one tax.
struct NaoTributados {
    int64_t substituicao = 0;   // tax substitution (F1, FS1)
    int64_t isencao = 0;        // exemption (I1, IS1)
    int64_t naoIncidencia = 0;  // non-incidence (N1, NS1)
};

// What changes the sales of one kind after they were registered.
struct Ajustes {
    int64_t descontos = 0;
    int64_t acrescimos = 0;
    int64_t cancelamentos = 0;  // the net amount of what was cancelled
};

// Amounts in cents of one fiscal day; a reduction records them and the next
// day starts from zero.  The partial totals (per rate and untaxed) are net:
// a discount is shared among the rates of its receipt and a cancellation
// takes its receipt's net amounts back, so they add up to the net sales.
struct TotaisDia {
    int64_t vendaBruta = 0;               // every item registered, as registered
    std::array<int64_t, 16> aliquotas{};  // per programmed rate, by slot
    NaoTributados icms, iss;              // untaxed totals
    Ajustes ajustesIcms, ajustesIss, ajustesNaoFiscais;
    std::array<int64_t, 30> naoFiscais{};           // per non-fiscal totalizer
    std::array<int64_t, 30> operacoesNaoFiscais{};  // receipts per non-fiscal totalizer
    std::array<int64_t, 20> formas{};               // received per payment method, net of change and cancellations

    int64_t vendaLiquida() const {
        return vendaBruta - ajustesIcms.descontos - ajustesIss.descontos - ajustesIcms.cancelamentos -
               ajustesIss.cancelamentos + ajustesIcms.acrescimos + ajustesIss.acrescimos;
    }
    int64_t somaParciais() const {
        int64_t s =
            icms.substituicao + icms.isencao + icms.naoIncidencia + iss.substituicao + iss.isencao + iss.naoIncidencia;
        for (int64_t v : aliquotas) s += v;
        return s;
    }
};

template <class T, class V>
void camposTotais(T& t, V&& v) {
    v("venda_bruta", t.vendaBruta);
    camposLista(t.aliquotas, "parcial", v);
    v("icms_substituicao", t.icms.substituicao);
    v("icms_isencao", t.icms.isencao);
    v("icms_nao_incidencia", t.icms.naoIncidencia);
    v("iss_substituicao", t.iss.substituicao);
    v("iss_isencao", t.iss.isencao);
    v("iss_nao_incidencia", t.iss.naoIncidencia);
    for (auto [prefixo, a] : {std::pair{"icms", &t.ajustesIcms}, std::pair{"iss", &t.ajustesIss},
                              std::pair{"nao_fiscal", &t.ajustesNaoFiscais}}) {
        v(std::string(prefixo) + "_descontos", a->descontos);
        v(std::string(prefixo) + "_acrescimos", a->acrescimos);
        v(std::string(prefixo) + "_cancelamentos", a->cancelamentos);
    }
    camposLista(t.naoFiscais, "nao_fiscal", v);
    camposLista(t.operacoesNaoFiscais, "nao_fiscal", v, "_operacoes");
    camposLista(t.formas, "forma", v);
}

// ------------------------------------------------------------------ printer state

// Everything about the printer that is not a table, a document or a reduction.
struct Estado {
    std::string serie;
    int semente = 0;
    Contadores cont;
    int64_t gt = 0;  // grand total: every sale registered, cents
    TotaisDia dia;
    std::array<int64_t, 30> relatoriosEmitidos{};  // per managerial report, since the printer was made

    int64_t deslocamento = 0;     // printer clock minus computer clock, seconds
    std::optional<int64_t> fixo;  // frozen base of the clock (wall seconds)
    bool verao = false;           // daylight-saving time
    int movimento = 0;            // yyyymmdd of the first movement document since the last reduction
    int bloqueado = 0;            // yyyymmdd of the day closed by a reduction
    int64_t gavetaAte = 0;        // the drawer stays open until this wall time
    bool guilhotina = true, corteTotal = true;
    int espacoLinhas = 30, linhasCupons = 8;
    int offline = 1;
    int64_t bytesMfd = 0;  // bytes of text on the tape detail memory

    // Documents by their id in the memory; 0 for none.
    int64_t cupomAberto = 0;          // a fiscal receipt in progress
    int64_t naoFiscalAberto = 0;      // a non-fiscal receipt in progress
    int64_t relatorioAberto = 0;      // an open managerial report
    int64_t cupomCancelavel = 0;      // the last receipt, while nothing but its voucher came after it
    int64_t naoFiscalCancelavel = 0;  // the last non-fiscal receipt, while it is the last document
    int64_t ultimoDocHora = 0;        // wall time of the last document with a COO
    std::string ultimoDocTipo;        // its kind
    int64_t cadastro = 0;             // wall time the current user was registered (the first intervention)
};

template <class E, class V>
void camposEstado(E& e, V&& v) {
    v("serie", e.serie);
    v("semente", e.semente);
    camposContadores(e.cont, v);
    v("gt", e.gt);
    camposTotais(e.dia, v);
    camposLista(e.relatoriosEmitidos, "relatorio", v, "_emitidos");
    v("deslocamento", e.deslocamento, "RelogioDeslocamento");
    v("fixo", e.fixo);
    v("verao", e.verao);
    v("movimento", e.movimento);
    v("bloqueado", e.bloqueado);
    v("gaveta_ate", e.gavetaAte);
    v("guilhotina", e.guilhotina, "Guilhotina");
    v("corte_total", e.corteTotal, "CorteTotal");
    v("espaco_linhas", e.espacoLinhas, "EspacoEntreLinhas");
    v("linhas_cupons", e.linhasCupons, "LinhasEntreCupons");
    v("offline", e.offline, "TratamentoOffLine");
    v("bytes_mfd", e.bytesMfd);
    v("cupom_aberto", e.cupomAberto);
    v("nao_fiscal_aberto", e.naoFiscalAberto);
    v("relatorio_aberto", e.relatorioAberto);
    v("cupom_cancelavel", e.cupomCancelavel);
    v("nao_fiscal_cancelavel", e.naoFiscalCancelavel);
    v("ultimo_doc_hora", e.ultimoDocHora);
    v("ultimo_doc_tipo", e.ultimoDocTipo);
    v("cadastro", e.cadastro);
}

// ------------------------------------------------------------------ fiscal memory

// A reduction as the fiscal memory records it.
struct Reducao {
    Contadores cont;        // as they stood after it: cont.crz and cont.coo are its own
    int dataMovimento = 0;  // yyyymmdd
    int64_t dataHora = 0;   // wall time of the reduction
    int64_t gt = 0;         // grand total after it
    TotaisDia totais;
    std::array<Aliquota, 16> aliquotas{};  // the rates as programmed then
};

template <class R, class V>
void camposReducao(R& r, V&& v) {
    camposContadores(r.cont, v);
    v("data_movimento", r.dataMovimento);
    v("data_hora", r.dataHora);
    v("gt", r.gt);
    camposTotais(r.totais, v);
    camposAliquotas(r.aliquotas, v);
}

// ------------------------------------------------------------------ tape detail memory

// Kinds of the records on the tape: documents (with a COO) and traces of
// commands that print no document.
namespace tipos {
inline constexpr char kCupom[] = "CUPOM";
inline constexpr char kComprovante[] = "COMPROVANTE_CD";  // credit or debit voucher
inline constexpr char kCancelamento[] = "CANCELAMENTO";
inline constexpr char kNaoFiscal[] = "NAO_FISCAL";
inline constexpr char kCancelamentoNaoFiscal[] = "CANCELAMENTO_NF";
inline constexpr char kGerencial[] = "GERENCIAL";
inline constexpr char kLeituraX[] = "LEITURA_X";
inline constexpr char kReducaoZ[] = "REDUCAO_Z";
inline constexpr char kLeituraMf[] = "LEITURA_MF";
inline constexpr char kConfiguracao[] = "CONFIGURACAO";
// Traces (COO 0).
inline constexpr char kProgramacao[] = "PROGRAMACAO";
inline constexpr char kAjuste[] = "AJUSTE";
inline constexpr char kGaveta[] = "GAVETA";
inline constexpr char kCorte[] = "CORTE";
inline constexpr char kIntervencao[] = "INTERVENCAO";
}  // namespace tipos

// A record of the tape as printed: the text of its issue and of everything
// printed into it afterwards (lines of a report, a cut, its end).
struct Documento {
    int64_t id = 0, coo = 0;
    std::string tipo;
    int64_t dataHora = 0;
    std::string texto;  // Windows-1252, CR LF
};

// An item of a fiscal receipt, as the journal memory keeps it beside the text.
struct Item {
    int64_t documento = 0;
    int numero = 0;
    std::string codigo, descricao, unidade;  // Windows-1252
    int64_t quantidade = 0;                  // thousandths
    int64_t unitario = 0;                    // cents
    int64_t desconto = 0, acrescimo = 0;     // on the item, cents
    int64_t total = 0;                       // quantity times unit price, less discount, plus surcharge
    std::string totalizador;                 // "01T1800", "03S0500", "F1", "I1", "N1", "FS1", "IS1", "NS1"
    bool cancelado = false;
};

template <class I, class V>
void camposItem(I& i, V&& v) {
    v("documento", i.documento);
    v("numero", i.numero);
    v("codigo", i.codigo);
    v("descricao", i.descricao);
    v("unidade", i.unidade);
    v("quantidade", i.quantidade);
    v("unitario", i.unitario);
    v("desconto", i.desconto);
    v("acrescimo", i.acrescimo);
    v("total", i.total);
    v("totalizador", i.totalizador);
    v("cancelado", i.cancelado);
}

struct Pagamento {
    int64_t documento = 0;
    int ordem = 0;
    int forma = 1;      // payment method, 1 to 20
    std::string nome;   // its name then
    int64_t valor = 0;  // cents handed over (change included)
};

template <class P, class V>
void camposPagamento(P& p, V&& v) {
    v("documento", p.documento);
    v("ordem", p.ordem);
    v("forma", p.forma);
    v("nome", p.nome);
    v("valor", p.valor);
}

// A fiscal receipt's data.
struct Cupom {
    int64_t documento = 0;
    int64_t ccf = 0, coo = 0;
    int64_t subtotal = 0;   // items' total
    int64_t desconto = 0;   // on the subtotal
    int64_t acrescimo = 0;  // on the subtotal
    int64_t liquido = 0;    // subtotal less discount plus surcharge
    bool cancelado = false;
    int64_t comprovante = 0;  // COO of its credit or debit voucher, 0 when none
    std::vector<Item> itens;
    std::vector<Pagamento> pagamentos;
};

template <class C, class V>
void camposCupom(C& c, V&& v) {
    v("documento", c.documento);
    v("ccf", c.ccf);
    v("coo", c.coo);
    v("subtotal", c.subtotal);
    v("desconto", c.desconto);
    v("acrescimo", c.acrescimo);
    v("liquido", c.liquido);
    v("cancelado", c.cancelado);
    v("comprovante", c.comprovante);
}

// A non-fiscal receipt's data.
struct Recebimento {
    int64_t documento = 0;
    int64_t coo = 0;
    int totalizador = 0;  // 1 to 30
    int64_t valor = 0;
    bool cancelado = false;
    std::vector<Pagamento> pagamentos;
};

template <class R, class V>
void camposRecebimento(R& r, V&& v) {
    v("documento", r.documento);
    v("coo", r.coo);
    v("totalizador", r.totalizador);
    v("valor", r.valor);
    v("cancelado", r.cancelado);
}

}  // namespace kesafi
