// What the printer does inside a command: documents on the tape, receipts and
// their totals, reports and the reduction.  Shared by the commands and by the
// printer's fabricated past.
#include <algorithm>

#include "impressora.h"
#include "relogio.h"
#include "sorteio.h"
#include "texto.h"
#include "totalizadores.h"

namespace kesafi {
namespace {

struct Produto {
    const char* codigo;
    const char* descricao;
    int preco;     // cents
    char tributo;  // 'T' ICMS, 'F' tax substitution, 'I' exempt, 'S' service (ISS)
    const char* unidade;
};

const Produto kProdutos[] = {
    {"7896006711117", "ARROZ TIPO 1 5KG", 2490, 'T', "UN"},
    {"7896079900012", "FEIJÃO CARIOCA 1KG", 789, 'I', "UN"},
    {"7891107101621", "ÓLEO DE SOJA 900ML", 699, 'T', "UN"},
    {"7896005800027", "CAFÉ TORRADO 500G", 1590, 'T', "UN"},
    {"7896019607261", "AÇÚCAR CRISTAL 5KG", 1899, 'T', "UN"},
    {"7891000100103", "LEITE INTEGRAL 1L", 489, 'I', "UN"},
    {"7891024134702", "SABÃO EM PÓ 1KG", 1249, 'T', "UN"},
    {"7894900011517", "REFRIGERANTE COLA 2L", 899, 'F', "UN"},
    {"2000000000015", "PÃO FRANCÊS", 1599, 'I', "KG"},
    {"7891022100037", "DETERGENTE 500ML", 229, 'T', "UN"},
    {"7896036090244", "BISCOITO RECHEADO 140G", 259, 'T', "UN"},
    {"7891910000197", "CERVEJA LATA 350ML", 349, 'F', "UN"},
    {"0000000000901", "SERVIÇO DE ENTREGA", 800, 'S', "SV"},
};

bool pendente(const Estado& e, int64_t agora) { return e.movimento != 0 && e.movimento < dayOf(agora); }
bool fechado(const Estado& e, int64_t agora) { return e.bloqueado != 0 && dayOf(agora) <= e.bloqueado; }

Sorteio sorteioDoCupom(const Contexto& c) {
    return {static_cast<uint64_t>(c.e.semente) * 1000003ULL + static_cast<uint64_t>(c.e.cont.ccf) * 7919ULL +
            static_cast<uint64_t>(c.e.cont.coo)};
}

// The items a cashier registers, chosen by the generator among the products
// the printer's rates allow.
Cupom registraItens(const Contexto& c, Sorteio& rng) {
    std::vector<int> icms, iss;
    for (int i = 0; i < 16; ++i) {
        if (c.t.aliquotas[i].valor == 0) continue;
        (c.t.aliquotas[i].iss ? iss : icms).push_back(i + 1);
    }
    Cupom cp;
    const int itens = rng.faixa(1, 4);
    for (int n = 1; n <= itens; ++n) {
        const Produto* pr = &kProdutos[rng.proximo() % std::size(kProdutos)];
        if (pr->tributo == 'S' && iss.empty()) pr = &kProdutos[0];
        Item& it = cp.itens.emplace_back();
        it.numero = n;
        it.codigo = pr->codigo;
        it.descricao = cp1252(pr->descricao);
        it.unidade = pr->unidade;
        it.quantidade = rng.faixa(1, 3) * 1000;
        it.unitario = pr->preco;
        it.total = it.unitario * it.quantidade / 1000;
        switch (pr->tributo) {
            case 'T':
                it.totalizador = icms.empty() ? codigoNaoTributado(Parcial::SubstituicaoIcms)
                                              : codigoAliquota(c.t, icms[static_cast<size_t>(pr->preco) % icms.size()]);
                break;
            case 'S':
                it.totalizador = codigoAliquota(c.t, iss.front());
                break;
            case 'F':
                it.totalizador = codigoNaoTributado(Parcial::SubstituicaoIcms);
                break;
            default:
                it.totalizador = codigoNaoTributado(Parcial::IsencaoIcms);
                break;
        }
        cp.subtotal += it.total;
    }
    cp.liquido = cp.subtotal;
    return cp;
}

// The printed lines of the items.
Impresso textoItens(const Cupom& cp) {
    Impresso p;
    p.centro("CUPOM FISCAL");
    p.linha("ITEM CÓDIGO        DESCRIÇÃO");
    p.linha("QTD.UN.VL UNIT(R$)  ST              VL ITEM(R$)");
    p.traco();
    for (const Item& it : cp.itens) {
        p.bruto(digits(it.numero, 3) + " " + it.codigo + " " + it.descricao);
        p.colunas("     " + std::to_string(it.quantidade / 1000) + it.unidade + " X " + money(it.unitario) + "  " +
                      situacaoTributaria(it.totalizador),
                  money(it.total));
    }
    return p;
}

// The receipt's net amount per partial total, in the order the totals first
// appear: each item's total, less its share of the discount on the subtotal
// (plus its share of the surcharge), shared in proportion to the items'
// totals; the cents the division leaves go to the largest remainders.  The
// parts add up to the receipt's net amount exactly.
std::vector<std::pair<std::string, int64_t>> liquidoPorTotalizador(const Cupom& cp) {
    std::vector<std::pair<std::string, int64_t>> partes;
    for (const Item& it : cp.itens) {
        if (it.cancelado) continue;
        auto p = std::find_if(partes.begin(), partes.end(), [&](const auto& x) { return x.first == it.totalizador; });
        if (p == partes.end())
            partes.emplace_back(it.totalizador, it.total);
        else
            p->second += it.total;
    }
    int64_t bruto = 0;
    for (const auto& p : partes) bruto += p.second;
    auto reparte = [&](int64_t ajuste, int sinal) {
        if (ajuste == 0 || bruto == 0) return;
        std::vector<std::pair<int64_t, size_t>> restos;
        int64_t repartido = 0;
        std::vector<int64_t> quotas(partes.size());
        for (size_t i = 0; i < partes.size(); ++i) {
            quotas[i] = ajuste * partes[i].second / bruto;
            repartido += quotas[i];
            restos.emplace_back(ajuste * partes[i].second % bruto, i);
        }
        std::stable_sort(restos.begin(), restos.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        for (size_t k = 0; repartido < ajuste; ++k, ++repartido) quotas[restos[k % restos.size()].second] += 1;
        for (size_t i = 0; i < partes.size(); ++i) partes[i].second += sinal * quotas[i];
    };
    const int64_t base = bruto;
    reparte(cp.desconto, -1);
    bruto = base;
    reparte(cp.acrescimo, +1);
    return partes;
}

// The net amounts of a receipt enter the day's partial totals (sinal +1) or
// leave them (-1); gives the ISSQN part of the amount.
int64_t lancaParciais(Contexto& c, const Cupom& cp, int sinal) {
    int64_t iss = 0;
    for (const auto& [codigo, valor] : liquidoPorTotalizador(cp)) {
        parcial(c.e.dia, codigo) += sinal * valor;
        if (ehIss(codigo)) iss += valor;
    }
    return iss;
}

// What the items add to the day as they are registered: the gross sales and
// the grand total take them as registered, the partial totals net.
void acumulaItens(Contexto& c, const Cupom& cp) {
    lancaParciais(c, cp, +1);
    c.e.dia.vendaBruta += cp.subtotal;
    c.e.gt += cp.subtotal;
}

// A cancelled receipt's net amounts leave the partial totals and count as
// cancelled (ICMS and ISSQN apart), and what it was paid with leaves the
// drawer.  A receipt kept without its items (one a memory of the first
// layout had) counts whole as ICMS.
void tomaDeVolta(Contexto& c, const Cupom& cp) {
    const int64_t iss = cp.itens.empty() ? 0 : lancaParciais(c, cp, -1);
    c.e.dia.ajustesIcms.cancelamentos += cp.liquido - iss;
    c.e.dia.ajustesIss.cancelamentos += iss;
    if (!cp.pagamentos.empty()) c.e.dia.formas[static_cast<size_t>(cp.pagamentos.front().forma - 1)] -= cp.liquido;
}

// A non-fiscal receipt up to its one item.
Impresso itemNaoFiscal(const Contexto& c, int totalizador, int64_t valor) {
    Impresso p;
    p.centro("COMPROVANTE NÃO-FISCAL");
    p.traco();
    p.bruto(padRight(digits(totalizador, 2) + " " + c.t.totalizadores[totalizador - 1], 30) +
            padLeft(money(valor), kColunas - 30));
    return p;
}

// A withdrawal takes money out of the drawer; every other receipt brings it in.
int64_t efeitoNaGaveta(int totalizador, int64_t valor) { return totalizador == 29 ? -valor : valor; }

void acumulaNaoFiscal(Contexto& c, int totalizador, int64_t valor) {
    c.e.dia.naoFiscais[static_cast<size_t>(totalizador - 1)] += valor;
    c.e.dia.operacoesNaoFiscais[static_cast<size_t>(totalizador - 1)] += 1;
}

// The tape takes a record only while the clock is not behind its last
// document and, for a new record, while it has room.
void confereFita(const Contexto& c, bool novo) {
    if (c.agora < c.e.ultimoDocHora)
        throw Recusa(recusa(KESAFI_ST1_ERRO_NO_RELOGIO, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
                            KESAFI_ST3_RELOGIO_ANTERIOR_AO_ULTIMO_DOC));
    if (novo && centesimosLivres(c.e) == 0)
        throw Recusa(recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_MFD_LOTADA));
}

}  // namespace

namespace op {

Resposta semDocumentoAberto(const Contexto& c) {
    if (c.e.cupomAberto) return recusa(KESAFI_ST1_CUPOM_ABERTO, 0, KESAFI_ST3_CUPOM_FISCAL_ABERTO);
    if (c.e.naoFiscalAberto || c.e.relatorioAberto)
        return recusa(KESAFI_ST1_CUPOM_ABERTO, 0, KESAFI_ST3_CUPOM_NAO_FISCAL_ABERTO);
    return {};
}

Resposta diaAberto(const Contexto& c) {
    if (auto r = semDocumentoAberto(c); r.retorno != 1) return r;
    if (pendente(c.e, c.agora)) return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_AGUARDANDO_RZ);
    if (fechado(c.e, c.agora)) return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_BLOQUEIO_POR_RZ);
    return {};
}

int64_t emite(Contexto& c, const char* tipo, const std::string& texto, bool abreMovimento) {
    confereFita(c, true);
    const int64_t id = c.mem.insereDocumento(c.e.cont.coo, tipo, c.agora, texto);
    c.e.ultimoDocHora = c.agora;
    c.e.ultimoDocTipo = tipo;
    c.e.bytesMfd += static_cast<int64_t>(texto.size());
    c.e.cupomCancelavel = c.e.naoFiscalCancelavel = 0;
    if (abreMovimento && c.e.movimento == 0) c.e.movimento = dayOf(c.agora);
    return id;
}

void rastro(Contexto& c, const char* tipo, std::string_view utf8) {
    confereFita(c, true);
    Impresso p;
    p.colunas(dataBarra(c.agora) + " " + horaDois(c.agora), tipo);
    p.linha(utf8);
    c.mem.insereDocumento(0, tipo, c.agora, p.texto());
    c.e.bytesMfd += static_cast<int64_t>(p.texto().size());
}

// What completes a document already on the tape (its lines, its end, its
// cancellation) still goes in when the tape has no room for new ones.
void acrescenta(Contexto& c, int64_t documento, const std::string& texto) {
    confereFita(c, false);
    c.mem.acrescentaDocumento(documento, c.agora, texto);
    c.e.bytesMfd += static_cast<int64_t>(texto.size());
}

Resposta venda(Contexto& c) {
    if (auto r = diaAberto(c); r.retorno != 1) return r;
    Sorteio rng = sorteioDoCupom(c);
    Cupom cp = registraItens(c, rng);
    Impresso p = textoItens(cp);
    p.traco();
    int64_t iss = 0;
    for (const Item& it : cp.itens)
        if (ehIss(it.totalizador)) iss += it.total;
    if (iss == 0 && rng.faixa(1, 7) == 1) cp.desconto = cp.subtotal * 5 / 100;
    if (cp.desconto) {
        p.colunas("SUBTOTAL R$", money(cp.subtotal));
        p.colunas("DESCONTO R$", "-" + money(cp.desconto));
    }
    cp.liquido = cp.subtotal - cp.desconto;
    p.colunas("TOTAL R$", money(cp.liquido));
    std::vector<int> vinculadas;
    for (int i = 1; i < 20; ++i)
        if (!c.t.formas[i].nome.empty()) vinculadas.push_back(i + 1);
    int forma = 1;
    if (!vinculadas.empty() && (cp.liquido > 5000 || rng.faixa(1, 3) == 1))
        forma = vinculadas[rng.proximo() % vinculadas.size()];
    int64_t pago = cp.liquido;
    if (forma == 1) {
        for (int64_t nota : {1000, 2000, 5000, 10000, 20000}) {
            if (nota >= cp.liquido) {
                pago = rng.faixa(0, 1) ? nota : cp.liquido;
                break;
            }
        }
    }
    p.bruto(padRight(c.t.formas[forma - 1].nome, 30) + padLeft(money(pago), kColunas - 30));
    if (pago > cp.liquido) p.colunas("TROCO R$", money(pago - cp.liquido));

    c.e.cont.coo++;
    c.e.cont.ccf++;
    cp.coo = c.e.cont.coo;
    cp.ccf = c.e.cont.ccf;
    cp.documento = emite(c, tipos::kCupom, doc::cabecalho(c, cp.coo, {}, cp.ccf) + p.texto() + doc::rodape(c), true);
    for (Item& it : cp.itens) it.documento = cp.documento;
    cp.pagamentos.push_back({cp.documento, 1, forma, c.t.formas[forma - 1].nome, pago});
    // A linked payment method (a card) has its credit or debit voucher
    // printed right after the receipt.
    if (c.t.formas[forma - 1].vinculada) {
        c.e.cont.coo++;
        c.e.cont.gnf++;
        c.e.cont.cdc++;
        cp.comprovante = c.e.cont.coo;
        Impresso v;
        v.centro("COMPROVANTE CRÉDITO OU DÉBITO");
        v.traco();
        v.colunas("COO DO DOCUMENTO VINCULADO:", digits(cp.coo, 6));
        v.bruto(padRight(c.t.formas[forma - 1].nome, 30) + padLeft(money(cp.liquido), kColunas - 30));
        v.colunas("VALOR DA COMPRA R$", money(cp.liquido));
        v.linha();
        v.centro("RECONHEÇO E PAGAREI A IMPORTÂNCIA ACIMA");
        emite(c, tipos::kComprovante, doc::cabecalho(c, cp.comprovante, {}) + v.texto() + doc::rodape(c), true);
    }
    c.mem.gravaCupom(cp);
    acumulaItens(c, cp);
    c.e.dia.ajustesIcms.descontos += cp.desconto;
    c.e.dia.formas[static_cast<size_t>(forma - 1)] += cp.liquido;
    c.e.cupomCancelavel = cp.documento;
    return {};
}

Resposta abreCupom(Contexto& c) {
    if (auto r = diaAberto(c); r.retorno != 1) return r;
    Sorteio rng = sorteioDoCupom(c);
    Cupom cp = registraItens(c, rng);
    c.e.cont.coo++;
    c.e.cont.ccf++;
    cp.coo = c.e.cont.coo;
    cp.ccf = c.e.cont.ccf;
    cp.documento = emite(c, tipos::kCupom, doc::cabecalho(c, cp.coo, {}, cp.ccf) + textoItens(cp).texto(), true);
    for (Item& it : cp.itens) it.documento = cp.documento;
    c.mem.gravaCupom(cp);
    acumulaItens(c, cp);
    c.e.cupomAberto = cp.documento;
    return {};
}

Resposta recebimento(Contexto& c, int totalizador, int64_t valor) {
    if (auto r = diaAberto(c); r.retorno != 1) return r;
    c.e.cont.coo++;
    c.e.cont.gnf++;
    Impresso p = itemNaoFiscal(c, totalizador, valor);
    p.colunas("TOTAL R$", money(valor));
    p.bruto(padRight(c.t.formas[0].nome, 30) + padLeft(money(valor), kColunas - 30));
    Recebimento r;
    r.coo = c.e.cont.coo;
    r.totalizador = totalizador;
    r.valor = valor;
    r.documento = emite(c, tipos::kNaoFiscal, doc::cabecalho(c, r.coo, {}) + p.texto() + doc::rodape(c), true);
    r.pagamentos.push_back({r.documento, 1, 1, c.t.formas[0].nome, valor});
    c.mem.gravaRecebimento(r);
    acumulaNaoFiscal(c, totalizador, valor);
    c.e.dia.formas[0] += efeitoNaGaveta(totalizador, valor);
    c.e.naoFiscalCancelavel = r.documento;
    return {};
}

Resposta abreRecebimento(Contexto& c, int totalizador, int64_t valor) {
    if (auto r = diaAberto(c); r.retorno != 1) return r;
    c.e.cont.coo++;
    c.e.cont.gnf++;
    Recebimento r;
    r.coo = c.e.cont.coo;
    r.totalizador = totalizador;
    r.valor = valor;
    r.documento =
        emite(c, tipos::kNaoFiscal, doc::cabecalho(c, r.coo, {}) + itemNaoFiscal(c, totalizador, valor).texto(), true);
    c.mem.gravaRecebimento(r);
    acumulaNaoFiscal(c, totalizador, valor);
    c.e.naoFiscalAberto = r.documento;
    return {};
}

Resposta leituraX(Contexto& c, std::string* texto) {
    if (auto r = semDocumentoAberto(c); r.retorno != 1) return r;
    c.e.cont.coo++;
    c.e.cont.gnf++;
    const std::string t = doc::relatorioDia(c, false, c.e.movimento);
    emite(c, tipos::kLeituraX, t, false);
    if (texto) *texto = t;
    return {};
}

Resposta reducao(Contexto& c) {
    if (auto r = semDocumentoAberto(c); r.retorno != 1) return r;
    const int hoje = dayOf(c.agora);
    if (!pendente(c.e, c.agora) && fechado(c.e, c.agora))
        return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_BLOQUEIO_POR_RZ);
    if (kCapacidadeReducoes - c.e.cont.crz <= 0)
        return recusa(0, KESAFI_ST2_MEMORIA_FISCAL_LOTADA, KESAFI_ST3_MEMORIA_FISCAL_LOTADA);
    const int dataMovimento = c.e.movimento ? c.e.movimento : hoje;
    c.e.cont.coo++;
    c.e.cont.crz++;
    emite(c, tipos::kReducaoZ, doc::relatorioDia(c, true, dataMovimento), false);
    Reducao r;
    r.cont = c.e.cont;
    r.dataMovimento = dataMovimento;
    r.dataHora = c.agora;
    r.gt = c.e.gt;
    r.totais = c.e.dia;
    r.aliquotas = c.t.aliquotas;
    c.mem.insereReducao(r);
    c.ultima = std::move(r);
    // The day's totals start again; the counters of the reports stay.
    c.e.dia = {};
    // A reduction of today's movement (or of no movement) closes today; a late
    // reduction of an earlier day leaves today open.
    if (c.e.movimento == 0 || c.e.movimento == hoje) c.e.bloqueado = hoje;
    c.e.movimento = 0;
    return {};
}

Resposta cancelaCupom(Contexto& c) {
    if (const int64_t aberto = c.e.cupomAberto) {
        // A receipt in progress ends on its own paper: no new COO.
        const auto cp = c.mem.cupom(aberto);
        if (!cp) throw MemoriaIlegivel("o cupom em andamento não está na memória");
        c.e.cont.cfc++;
        Impresso p;
        p.traco();
        p.centro("CUPOM FISCAL CANCELADO");
        p.colunas("VALOR CANCELADO R$", money(cp->liquido));
        acrescenta(c, aberto, p.texto() + doc::rodape(c));
        tomaDeVolta(c, *cp);
        c.mem.marcaCupomCancelado(aberto);
        c.e.cupomAberto = 0;
        c.e.ultimoDocHora = c.agora;
        c.e.ultimoDocTipo = tipos::kCancelamento;
        return {};
    }
    if (auto r = diaAberto(c); r.retorno != 1) return r;
    if (!c.e.cupomCancelavel)
        return recusa(0, KESAFI_ST2_CANCELAMENTO_NAO_PERMITIDO,
                      c.e.ultimoDocTipo == tipos::kCancelamento ? KESAFI_ST3_CANCELAMENTO_JA_EFETUADO
                                                                : KESAFI_ST3_NAO_IMEDIATAMENTE_APOS_O_CUPOM);
    const auto cp = c.mem.cupom(c.e.cupomCancelavel);
    if (!cp) throw MemoriaIlegivel("o último cupom não está na memória");
    c.e.cont.coo++;
    c.e.cont.cfc++;
    Impresso p;
    p.centro("CUPOM FISCAL CANCELADO");
    p.colunas("COO DO CUPOM CANCELADO:", digits(cp->coo, 6));
    p.colunas("CCF DO CUPOM CANCELADO:", digits(cp->ccf, 6));
    p.colunas("VALOR DA OPERAÇÃO R$", money(cp->liquido));
    p.colunas("VALOR CANCELADO R$", money(cp->liquido));
    if (cp->comprovante) {
        // Its voucher is reversed with it.
        c.e.cont.cdcCancelados++;
        p.colunas("ESTORNO DO COMPROVANTE COO:", digits(cp->comprovante, 6));
    }
    emite(c, tipos::kCancelamento, doc::cabecalho(c, c.e.cont.coo, {}) + p.texto() + doc::rodape(c), true);
    tomaDeVolta(c, *cp);
    c.mem.marcaCupomCancelado(cp->documento);
    return {};
}

Resposta cancelaNaoFiscal(Contexto& c) {
    if (const int64_t aberto = c.e.naoFiscalAberto) {
        const auto r = c.mem.recebimento(aberto);
        if (!r) throw MemoriaIlegivel("o comprovante em andamento não está na memória");
        c.e.cont.cnc++;
        Impresso p;
        p.traco();
        p.centro("COMPROVANTE NÃO-FISCAL CANCELADO");
        p.colunas("VALOR CANCELADO R$", money(r->valor));
        acrescenta(c, aberto, p.texto() + doc::rodape(c));
        c.e.dia.ajustesNaoFiscais.cancelamentos += r->valor;
        c.mem.marcaRecebimentoCancelado(aberto);
        c.e.naoFiscalAberto = 0;
        c.e.ultimoDocHora = c.agora;
        c.e.ultimoDocTipo = tipos::kCancelamentoNaoFiscal;
        return {};
    }
    if (auto r = diaAberto(c); r.retorno != 1) return r;
    if (!c.e.naoFiscalCancelavel)
        return recusa(0, KESAFI_ST2_CANCELAMENTO_NAO_PERMITIDO,
                      c.e.ultimoDocTipo == tipos::kCancelamentoNaoFiscal ? KESAFI_ST3_CANCELAMENTO_JA_EFETUADO
                                                                         : KESAFI_ST3_NAO_IMEDIATAMENTE_APOS_O_CUPOM);
    const auto r = c.mem.recebimento(c.e.naoFiscalCancelavel);
    if (!r) throw MemoriaIlegivel("o último comprovante não está na memória");
    c.e.cont.coo++;
    c.e.cont.gnf++;
    c.e.cont.cnc++;
    Impresso p;
    p.centro("COMPROVANTE NÃO-FISCAL CANCELADO");
    p.colunas("COO DO COMPROVANTE CANCELADO:", digits(r->coo, 6));
    p.bruto(padRight(digits(r->totalizador, 2) + " " + c.t.totalizadores[static_cast<size_t>(r->totalizador - 1)], 30) +
            padLeft(money(r->valor), kColunas - 30));
    p.colunas("VALOR CANCELADO R$", money(r->valor));
    emite(c, tipos::kCancelamentoNaoFiscal, doc::cabecalho(c, c.e.cont.coo, {}) + p.texto() + doc::rodape(c), true);
    c.e.dia.ajustesNaoFiscais.cancelamentos += r->valor;
    c.e.dia.formas[0] -= efeitoNaGaveta(r->totalizador, r->valor);
    c.mem.marcaRecebimentoCancelado(r->documento);
    return {};
}

Resposta abreRelatorio(Contexto& c, int indice) {
    if (indice < 1 || indice > 30)
        return recusa(KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_NUMERO_DO_RELATORIO_INVALIDO);
    if (auto r = diaAberto(c); r.retorno != 1) return r;
    if (c.t.relatorios[indice - 1].empty())
        return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_RELATORIO_GERENCIAL_NAO_PROGRAMADO);
    c.e.cont.coo++;
    c.e.cont.gnf++;
    c.e.cont.grg++;
    c.e.relatoriosEmitidos[static_cast<size_t>(indice - 1)] += 1;
    Impresso p;
    p.centro("RELATÓRIO GERENCIAL");
    p.bruto(cp1252("RELATÓRIO: ") + digits(indice, 2) + " " + c.t.relatorios[indice - 1]);
    p.traco();
    c.e.relatorioAberto = emite(c, tipos::kGerencial, doc::cabecalho(c, c.e.cont.coo, {}) + p.texto(), true);
    return {};
}

Resposta usaRelatorio(Contexto& c, std::string_view texto) {
    if (!c.e.relatorioAberto)
        return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_SEM_RELATORIO_GERENCIAL_ABERTO);
    Impresso p;
    p.bruto(texto);
    acrescenta(c, c.e.relatorioAberto, p.texto());
    return {};
}

Resposta fechaRelatorio(Contexto& c) {
    if (!c.e.relatorioAberto)
        return recusa(0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_SEM_RELATORIO_GERENCIAL_ABERTO);
    acrescenta(c, c.e.relatorioAberto, doc::rodape(c));
    c.e.relatorioAberto = 0;
    return {};
}

}  // namespace op
}  // namespace kesafi
