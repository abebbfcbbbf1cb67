#include "impressora.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "relogio.h"
#include "texto.h"

namespace kesafi {
namespace {

// Deterministic generator of the printer's past and of its sales.
struct Sorteio {
    uint64_t s;
    uint64_t proximo() {
        s += 0x9E3779B97F4A7C15ULL;
        uint64_t z = s;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int faixa(int a, int b) { return a + static_cast<int>(proximo() % static_cast<uint64_t>(b - a + 1)); }
};

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

std::string nomeTotal(int slot) { return "T" + digits(slot, 2); }
std::string chave(const char* prefixo, int i) { return prefixo + digits(i, 2); }
std::string taxa(int valor) { return digits(valor / 100, 2) + "," + digits(valor % 100, 2) + "%"; }

// Blank-padded stored name: first 15 characters, trailing blanks removed.
std::string nomeGuardado(std::string_view nome) {
    std::string s(nome.substr(0, 15));
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

bool vazio(std::string_view nome) { return trimmed(nome).empty(); }

bool mesmoNome(std::string_view a, std::string_view b) {
    a = trimmed(a);
    b = trimmed(b);
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto low = [](unsigned char ch) { return (ch >= 'A' && ch <= 'Z') ? ch + 32 : ch; };
        if (low(static_cast<unsigned char>(a[i])) != low(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

// Day-state keys holding the document id of a receipt in progress.
const char* const kCupomAberto = "CF_ABERTO";
const char* const kNaoFiscalAberto = "NF_ABERTO";

int64_t agoraDe(const Estado& e) { return (e.fixo ? *e.fixo : wallNow()) + e.deslocamento; }

bool pendente(const Estado& e, int64_t agora) { return e.movimento != 0 && e.movimento < dayOf(agora); }
bool fechado(const Estado& e, int64_t agora) { return e.bloqueado != 0 && dayOf(agora) <= e.bloqueado; }

int64_t emite(Contexto& c, const char* tipo, const std::string& texto, bool abreMovimento) {
    const int64_t id = c.mem.insereDocumento(c.e.coo, tipo, c.agora, texto);
    c.e.ultimoDocHora = c.agora;
    c.e.ultimoDocTipo = tipo;
    c.e.bytesMfd += static_cast<int64_t>(texto.size());
    if (abreMovimento && c.e.movimento == 0) c.e.movimento = dayOf(c.agora);
    return id;
}

std::string serieDe(int semente) {
    const int64_t n = 10247 + static_cast<int64_t>(semente < 0 ? -semente : semente) * 7919;
    return "VF08" + digits(n, 16);
}

// The items of a receipt, registered one by one.
struct Itens {
    Impresso p;
    int64_t total = 0, totalIcms = 0, totalIss = 0;
    std::map<std::string, int64_t> parciais;
};

Sorteio sorteioDoCupom(const Contexto& c) {
    return {static_cast<uint64_t>(c.e.semente) * 1000003ULL + static_cast<uint64_t>(c.e.ccf) * 7919ULL +
            static_cast<uint64_t>(c.e.coo)};
}

Itens registraItens(const Contexto& c, Sorteio& rng) {
    std::vector<int> icms, iss;
    for (int i = 0; i < 16; ++i) {
        if (c.t.aliquotas[i].valor == 0) continue;
        (c.t.aliquotas[i].iss ? iss : icms).push_back(i + 1);
    }
    const int itens = rng.faixa(1, 4);
    Itens r;
    Impresso& p = r.p;
    p.centro("CUPOM FISCAL");
    p.linha("ITEM CÓDIGO        DESCRIÇÃO");
    p.linha("QTD.UN.VL UNIT(R$)  ST              VL ITEM(R$)");
    p.traco();
    for (int n = 1; n <= itens; ++n) {
        const Produto* pr = &kProdutos[rng.proximo() % std::size(kProdutos)];
        if (pr->tributo == 'S' && iss.empty()) pr = &kProdutos[0];
        const int qtd = rng.faixa(1, 3);
        const int64_t valor = static_cast<int64_t>(pr->preco) * qtd;
        std::string st, key;
        switch (pr->tributo) {
            case 'T':
                if (icms.empty()) {
                    st = "F1";
                    key = "F";
                } else {
                    const int slot = icms[static_cast<size_t>(pr->preco) % icms.size()];
                    st = nomeTotal(slot);
                    key = nomeTotal(slot);
                }
                break;
            case 'S': {
                const int slot = iss.front();
                st = "S" + digits(slot, 2);
                key = nomeTotal(slot);
                break;
            }
            case 'F':
                st = "F1";
                key = "F";
                break;
            default:
                st = "I1";
                key = "I";
                break;
        }
        r.parciais[key] += valor;
        (pr->tributo == 'S' ? r.totalIss : r.totalIcms) += valor;
        r.total += valor;
        p.linha(digits(n, 3) + " " + pr->codigo + " " + pr->descricao);
        p.colunas("     " + std::to_string(qtd) + pr->unidade + " X " + money(pr->preco) + "  " + st, money(valor));
    }
    return r;
}

// What the items add to the day as they are registered, and the data a
// cancellation of the receipt takes back.
void acumulaItens(Contexto& c, const Itens& it) {
    auto& a = c.e.acumulados;
    for (const auto& [k, v] : it.parciais) a[k] += v;
    a["VB"] += it.total;
    c.e.gt += it.total;
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

void acumulaNaoFiscal(Contexto& c, int totalizador, int64_t valor) {
    auto& a = c.e.acumulados;
    a[chave("NF", totalizador)] += valor;
    a[chave("NQ", totalizador)] += 1;
    a["UN_IDX"] = totalizador;
    a["UN_V"] = valor;
}

// A document in progress ends on its own paper: the cancellation and the
// footer are printed below what it holds.
void terminaAberto(Contexto& c, int64_t id, const std::string& fim) {
    c.mem.atualizaDocumento(id, c.mem.textoDocumento(id) + fim);
    c.e.bytesMfd += static_cast<int64_t>(fim.size());
}

}  // namespace

// ---------------------------------------------------------------- operations

namespace op {

Resposta semDocumentoAberto(const Contexto& c) {
    if (c.e.acumulado(kCupomAberto)) return recusa(kSt1CupomAberto, 0, 7);
    if (c.e.acumulado(kNaoFiscalAberto) || c.e.relatorioAberto) return recusa(kSt1CupomAberto, 0, 48);
    return {};
}

Resposta diaAberto(const Contexto& c) {
    if (auto r = semDocumentoAberto(c); r.retorno != 1) return r;
    if (pendente(c.e, c.agora)) return recusa(0, kSt2ComandoNaoExecutado, 66);
    if (fechado(c.e, c.agora)) return recusa(0, kSt2ComandoNaoExecutado, 63);
    return {};
}

void rastro(Contexto& c, const char* tipo, std::string_view utf8) {
    Impresso p;
    p.colunas(dataBarra(c.agora) + " " + horaDois(c.agora), tipo);
    p.linha(utf8);
    c.mem.insereDocumento(0, tipo, c.agora, p.texto());
    c.e.bytesMfd += static_cast<int64_t>(p.texto().size());
}

Resposta venda(Contexto& c) {
    if (auto r = diaAberto(c); r.retorno != 1) return r;
    Sorteio rng = sorteioDoCupom(c);
    Itens it = registraItens(c, rng);
    Impresso& p = it.p;
    const int64_t total = it.total, totalIcms = it.totalIcms, totalIss = it.totalIss;
    p.traco();
    int64_t desconto = 0;
    if (totalIss == 0 && rng.faixa(1, 7) == 1) desconto = total * 5 / 100;
    if (desconto) {
        p.colunas("SUBTOTAL R$", money(total));
        p.colunas("DESCONTO R$", "-" + money(desconto));
    }
    const int64_t liquido = total - desconto;
    p.colunas("TOTAL R$", money(liquido));
    std::vector<int> vinculadas;
    for (int i = 1; i < 20; ++i)
        if (!c.t.formas[i].nome.empty()) vinculadas.push_back(i + 1);
    int forma = 1;
    if (!vinculadas.empty() && (liquido > 5000 || rng.faixa(1, 3) == 1))
        forma = vinculadas[rng.proximo() % vinculadas.size()];
    int64_t pago = liquido;
    if (forma == 1) {
        const int64_t notas[] = {1000, 2000, 5000, 10000, 20000};
        pago = liquido;
        for (int64_t n : notas) {
            if (n >= liquido) {
                pago = rng.faixa(0, 1) ? n : liquido;
                break;
            }
        }
    }
    p.bruto(padRight(c.t.formas[forma - 1].nome, 30) + padLeft(money(pago), kColunas - 30));
    if (pago > liquido) p.colunas("TROCO R$", money(pago - liquido));

    c.e.coo++;
    c.e.ccf++;
    emite(c, "CUPOM", doc::cupom(c, p.texto()), true);
    acumulaItens(c, it);
    auto& a = c.e.acumulados;
    if (desconto) a["DT"] += desconto;
    a[chave("FP", forma)] += liquido;
    a["UC_ICMS"] = totalIcms - desconto;
    a["UC_ISS"] = totalIss;
    a["UC_FP"] = forma;
    a["UC_V"] = liquido;
    return {};
}

Resposta abreCupom(Contexto& c) {
    if (auto r = diaAberto(c); r.retorno != 1) return r;
    Sorteio rng = sorteioDoCupom(c);
    const Itens it = registraItens(c, rng);
    c.e.coo++;
    c.e.ccf++;
    const std::string texto = doc::cabecalho(c, c.e.coo, {}, c.e.ccf) + it.p.texto();
    const int64_t id = emite(c, "CUPOM", texto, true);
    acumulaItens(c, it);
    auto& a = c.e.acumulados;
    a["UC_ICMS"] = it.totalIcms;
    a["UC_ISS"] = it.totalIss;
    a["UC_FP"] = 0;
    a["UC_V"] = it.total;
    a[kCupomAberto] = id;
    return {};
}

Resposta recebimento(Contexto& c, int totalizador, int64_t valor) {
    if (auto r = diaAberto(c); r.retorno != 1) return r;
    c.e.coo++;
    c.e.gnf++;
    Impresso p = itemNaoFiscal(c, totalizador, valor);
    p.colunas("TOTAL R$", money(valor));
    p.bruto(padRight(c.t.formas[0].nome, 30) + padLeft(money(valor), kColunas - 30));
    const std::string texto = doc::cabecalho(c, c.e.coo, {}) + p.texto() + doc::rodape(c);
    emite(c, "NAO_FISCAL", texto, true);
    acumulaNaoFiscal(c, totalizador, valor);
    // A withdrawal takes money out of the drawer; every other receipt brings it in.
    c.e.acumulados["FP01"] += totalizador == 29 ? -valor : valor;
    return {};
}

Resposta abreRecebimento(Contexto& c, int totalizador, int64_t valor) {
    if (auto r = diaAberto(c); r.retorno != 1) return r;
    c.e.coo++;
    c.e.gnf++;
    const std::string texto = doc::cabecalho(c, c.e.coo, {}) + itemNaoFiscal(c, totalizador, valor).texto();
    const int64_t id = emite(c, "NAO_FISCAL", texto, true);
    acumulaNaoFiscal(c, totalizador, valor);
    c.e.acumulados[kNaoFiscalAberto] = id;
    return {};
}

Resposta leituraX(Contexto& c, std::string* texto) {
    if (auto r = semDocumentoAberto(c); r.retorno != 1) return r;
    c.e.coo++;
    c.e.gnf++;
    const std::string t = doc::relatorioDia(c, false, c.e.movimento);
    emite(c, "LEITURA_X", t, false);
    if (texto) *texto = t;
    return {};
}

Resposta reducao(Contexto& c) {
    if (auto r = semDocumentoAberto(c); r.retorno != 1) return r;
    const int hoje = dayOf(c.agora);
    if (!pendente(c.e, c.agora) && fechado(c.e, c.agora)) return recusa(0, kSt2ComandoNaoExecutado, 63);
    if (kCapacidadeReducoes - c.e.crz <= 0) return recusa(0, kSt2MfLotada, 51);
    const int dataMovimento = c.e.movimento ? c.e.movimento : hoje;
    c.e.coo++;
    c.e.crz++;
    emite(c, "REDUCAO_Z", doc::relatorioDia(c, true, dataMovimento), false);
    Reducao r;
    r.crz = c.e.crz;
    r.coo = c.e.coo;
    r.dataMovimento = dataMovimento;
    r.dataHora = c.agora;
    r.dados = doc::registroReducao(c, dataMovimento);
    c.mem.insereReducao(r);
    c.ultima = r;
    // The day's totals start again; the counters of the reports and the data
    // of the last receipts stay.
    for (auto it = c.e.acumulados.begin(); it != c.e.acumulados.end();) {
        if (it->first.rfind("RG", 0) == 0)
            ++it;
        else
            it = c.e.acumulados.erase(it);
    }
    // A reduction of today's movement (or of no movement) closes today; a late
    // reduction of an earlier day leaves today open.
    if (c.e.movimento == 0 || c.e.movimento == hoje) c.e.bloqueado = hoje;
    c.e.movimento = 0;
    return {};
}

Resposta cancelaCupom(Contexto& c) {
    auto& a = c.e.acumulados;
    if (const int64_t aberto = c.e.acumulado(kCupomAberto)) {
        const int64_t valor = c.e.acumulado("UC_V");
        c.e.cfc++;
        Impresso p;
        p.traco();
        p.centro("CUPOM FISCAL CANCELADO");
        p.colunas("VALOR CANCELADO R$", money(valor));
        terminaAberto(c, aberto, p.texto() + doc::rodape(c));
        a["CT"] += c.e.acumulado("UC_ICMS");
        a["CS"] += c.e.acumulado("UC_ISS");
        a.erase(kCupomAberto);
        c.e.ultimoDocHora = c.agora;
        c.e.ultimoDocTipo = "CANCELAMENTO";
        return {};
    }
    if (auto r = diaAberto(c); r.retorno != 1) return r;
    if (c.e.ultimoDocTipo != "CUPOM")
        return recusa(0, kSt2CancelamentoNaoPermitido, c.e.ultimoDocTipo == "CANCELAMENTO" ? 27 : 26);
    const int64_t valor = c.e.acumulado("UC_V");
    const int64_t cooCupom = c.e.coo, ccf = c.e.ccf;
    c.e.coo++;
    c.e.cfc++;
    Impresso p;
    p.centro("CUPOM FISCAL CANCELADO");
    p.colunas("COO DO CUPOM CANCELADO:", digits(cooCupom, 6));
    p.colunas("CCF DO CUPOM CANCELADO:", digits(ccf, 6));
    p.colunas("VALOR DA OPERAÇÃO R$", money(valor));
    p.colunas("VALOR CANCELADO R$", money(valor));
    emite(c, "CANCELAMENTO", doc::cabecalho(c, c.e.coo, {}) + p.texto() + doc::rodape(c), true);
    a["CT"] += c.e.acumulado("UC_ICMS");
    a["CS"] += c.e.acumulado("UC_ISS");
    a[chave("FP", static_cast<int>(std::max<int64_t>(1, c.e.acumulado("UC_FP"))))] -= valor;
    return {};
}

Resposta abreRelatorio(Contexto& c, int indice) {
    if (indice < 1 || indice > 30) return recusa(kSt1ParametroInvalido, 0, 105);
    if (auto r = diaAberto(c); r.retorno != 1) return r;
    if (c.t.relatorios[indice - 1].empty()) return recusa(0, kSt2ComandoNaoExecutado, 41);
    c.e.coo++;
    c.e.gnf++;
    c.e.grg++;
    c.e.acumulados[chave("RG", indice)] += 1;
    Impresso p;
    p.centro("RELATÓRIO GERENCIAL");
    p.bruto(cp1252("RELATÓRIO: ") + digits(indice, 2) + " " + c.t.relatorios[indice - 1]);
    p.traco();
    const std::string texto = doc::cabecalho(c, c.e.coo, {}) + p.texto();
    c.e.relatorioAberto = emite(c, "GERENCIAL", texto, true);
    return {};
}

Resposta usaRelatorio(Contexto& c, std::string_view texto) {
    if (!c.e.relatorioAberto) return recusa(0, kSt2ComandoNaoExecutado, 101);
    Impresso p;
    p.bruto(texto);
    c.mem.atualizaDocumento(c.e.relatorioAberto, c.mem.textoDocumento(c.e.relatorioAberto) + p.texto());
    c.e.bytesMfd += static_cast<int64_t>(p.texto().size());
    return {};
}

Resposta fechaRelatorio(Contexto& c) {
    if (!c.e.relatorioAberto) return recusa(0, kSt2ComandoNaoExecutado, 101);
    const std::string fim = doc::rodape(c);
    c.mem.atualizaDocumento(c.e.relatorioAberto, c.mem.textoDocumento(c.e.relatorioAberto) + fim);
    c.e.bytesMfd += static_cast<int64_t>(fim.size());
    c.e.relatorioAberto = 0;
    return {};
}

}  // namespace op

// ---------------------------------------------------------------- printer

Acesso Impressora::abre(const std::string& pasta, int semente, int64_t hoje, std::unique_ptr<Impressora>& saida) {
    return monta(pasta, Memoria::abre(pasta), semente, hoje, saida);
}

Acesso Impressora::substitui(const std::string& pasta, int semente, int64_t hoje, std::unique_ptr<Impressora>& saida) {
    return monta(pasta, Memoria::substitui(pasta), semente, hoje, saida);
}

Acesso Impressora::monta(const std::string& pasta, Memoria::Abertura a, int semente, int64_t hoje,
                         std::unique_ptr<Impressora>& saida) {
    const std::string arquivo = Memoria::arquivo(pasta);
    if (a.situacao == Memoria::Situacao::EmUso) {
        std::fprintf(stderr, "KESAFI32: memória em uso por outro processo: %s\n", arquivo.c_str());
        return Acesso::EmUso;
    }
    std::unique_ptr<Impressora> p(new Impressora());
    p->pasta_ = pasta;
    p->trava_ = std::move(a.trava);
    p->mem_ = std::move(a.memoria);
    try {
        switch (a.situacao) {
            case Memoria::Situacao::Aberta:
                p->recarrega();
                break;
            case Memoria::Situacao::Nova:
                p->fabrica(semente, hoje);
                break;
            case Memoria::Situacao::Ilegivel:
                p->danifica(a.motivo);
                break;
            default:
                throw std::runtime_error(a.motivo);
        }
    } catch (const MemoriaIlegivel& e) {
        p->danifica(e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "KESAFI32: não foi possível abrir a memória: %s: %s\n", arquivo.c_str(), e.what());
        return Acesso::Falhou;
    }
    saida = std::move(p);
    return Acesso::Pronta;
}

void Impressora::danifica(const std::string& motivo) {
    std::fprintf(stderr, "KESAFI32: memória fiscal ilegível: %s: %s\n", Memoria::arquivo(pasta_).c_str(),
                 motivo.c_str());
    if (mem_) mem_->abandona();
    mem_.reset();
    e_ = {};
    t_ = {};
    ultima_.reset();
}

void Impressora::recarrega() {
    e_ = mem_->carregaEstado();
    t_ = mem_->carregaTabelas();
    ultima_ = mem_->ultimaReducao();
}

void Impressora::fabrica(int semente, int64_t hoje) {
    Memoria* mem = mem_.get();
    Estado e;
    Tabelas t;
    std::optional<Reducao> u;
    {
        Transacao tx(*mem);
        e.serie = serieDe(semente);
        e.semente = semente;
        Contexto c{*mem, e, t, u, 0};
        Sorteio rng{static_cast<uint64_t>(semente) * 2654435761ULL + 17};
        const int dias = 5 + static_cast<int>(static_cast<unsigned>(semente) % 3);
        const int64_t inicio = startOfDay(dayOf(hoje)) - static_cast<int64_t>(dias) * 86400;

        // Factory tables, then the tables programmed at the printer's first intervention.
        t.formas[0] = {"Dinheiro", false};
        t.relatorios[0] = "Relatorio Geral";
        t.totalizadores[28] = "Sangria";
        t.totalizadores[29] = "Suprimento";
        c.agora = inicio - 86400 + 15 * 3600;
        t.aliquotas[0] = {semente % 2 ? 1700 : 1800, false};
        t.aliquotas[1] = {1200, false};
        t.aliquotas[2] = {500, true};
        t.formas[1] = {"Cartao Credito", true};
        t.formas[2] = {"Cartao Debito", true};
        t.totalizadores[0] = "Crediario";
        t.relatorios[1] = "Fechamento Cx";
        mem->gravaTabelas(t);
        op::rastro(c, "PROGRAMACAO", "PROGRAMAÇÃO INICIAL DAS TABELAS (INTERVENÇÃO TÉCNICA)");

        for (int k = 0; k < dias; ++k) {
            const int64_t dia = inicio + static_cast<int64_t>(k) * 86400;
            c.agora = dia + 8 * 3600 + rng.faixa(0, 20) * 60 + rng.faixa(0, 59);
            op::leituraX(c, nullptr);
            c.agora += rng.faixa(3, 9) * 60;
            op::recebimento(c, 30, 10000);
            const int vendas = rng.faixa(6, 12);
            for (int v = 0; v < vendas; ++v) {
                c.agora = dia + 8 * 3600 + 1800 + (v + 1) * (12 * 3600 / (vendas + 1)) + rng.faixa(0, 900);
                op::venda(c);
                if (k == 1 && v == 2) {
                    c.agora += rng.faixa(30, 200);
                    op::cancelaCupom(c);
                }
            }
            if (k == dias - 2) {
                c.agora = dia + 20 * 3600 + 45 * 60;
                op::abreRelatorio(c, 2);
                c.agora += 20;
                op::usaRelatorio(c, cp1252("CONFERÊNCIA DE CAIXA\r\nOPERADOR: 001\r\nFUNDO DE TROCO: 100,00\r\n"
                                           "DIFERENÇA APURADA: 0,00"));
                c.agora += 10;
                op::fechaRelatorio(c);
            }
            c.agora = dia + 21 * 3600 + rng.faixa(0, 15) * 60;
            const int64_t caixa = e.acumulado("FP01");
            if (caixa > 5000) op::recebimento(c, 29, (caixa - 5000) / 1000 * 1000);
            c.agora = dia + 22 * 3600 + rng.faixa(0, 40) * 60 + rng.faixa(0, 59);
            op::reducao(c);
        }
        mem->gravaEstado(e);
        tx.confirma();
    }
    e_ = std::move(e);
    t_ = std::move(t);
    ultima_ = std::move(u);
}

template <class F>
Resposta Impressora::muda(F&& f) {
    if (danificada()) return memoriaDanificada();
    Estado e = e_;
    Tabelas t = t_;
    std::optional<Reducao> u = ultima_;
    try {
        Transacao tx(*mem_);
        Contexto c{*mem_, e, t, u, agoraDe(e)};
        Resposta r = f(c);
        if (r.retorno != 1) return r;
        mem_->gravaEstado(e);
        tx.confirma();
    } catch (const MemoriaIlegivel& ex) {
        // Found while the command ran (a page or a record read for the first
        // time): the command is undone and the memory is not touched again.
        danifica(ex.what());
        return memoriaDanificada();
    } catch (const std::exception&) {
        return {-1, 0, 0, 0};
    }
    e_ = std::move(e);
    t_ = std::move(t);
    ultima_ = std::move(u);
    return {};
}

int64_t Impressora::agora() const { return agoraDe(e_); }

int Impressora::flags() const {
    int f = 0;
    if (cupomAberto()) f |= 1;
    if (e_.verao) f |= 4;
    if (fechado(e_, agora()) && !pendente(e_, agora())) f |= 8;
    if (e_.ultimoDocTipo == "CUPOM") f |= 32;
    if (reducoesRestantes() == 0) f |= 128;
    return f;
}

int Impressora::reducoesRestantes() const {
    return static_cast<int>(std::max<int64_t>(0, kCapacidadeReducoes - e_.crz));
}

int Impressora::estadoGaveta() const { return agora() >= e_.gavetaAte ? 1 : 0; }

bool Impressora::cupomAberto() const { return e_.acumulado(kCupomAberto) != 0; }

Resposta Impressora::programaAliquota(int valor, bool iss) {
    return muda([&](Contexto& c) -> Resposta {
        if (valor == 0) return recusa(kSt1ParametroInvalido, 0, 195);
        if (c.e.movimento) return recusa(0, kSt2ComandoNaoExecutado, 62);
        for (int i = 0; i < 16; ++i) {
            if (c.t.aliquotas[i].valor != 0) continue;
            c.t.aliquotas[i] = {valor, iss};
            c.mem.gravaAliquota(i + 1, c.t.aliquotas[i]);
            op::rastro(c, "PROGRAMACAO",
                       "ALÍQUOTA " + digits(i + 1, 2) + ": " + taxa(valor) + (iss ? " ISS" : " ICMS"));
            return {};
        }
        return recusa(0, kSt2AliquotaEsgotada, 5);
    });
}

Resposta Impressora::programaForma(std::string_view nome, bool vinculada) {
    return muda([&](Contexto& c) -> Resposta {
        if (vazio(nome)) return recusa(kSt1ParametroInvalido, 0, 111);
        if (c.e.movimento) return recusa(0, kSt2ComandoNaoExecutado, 62);
        const std::string guardado = nomeGuardado(nome);
        for (const auto& f : c.t.formas)
            if (!f.nome.empty() && mesmoNome(f.nome, guardado)) return recusa(0, kSt2ComandoNaoExecutado, 155);
        for (int i = 0; i < 20; ++i) {
            if (!c.t.formas[i].nome.empty()) continue;
            c.t.formas[i] = {guardado, vinculada};
            c.mem.gravaForma(i + 1, c.t.formas[i]);
            op::rastro(c, "PROGRAMACAO", "FORMA DE PAGAMENTO " + digits(i + 1, 2) + (vinculada ? " (V)" : " (N)"));
            return {};
        }
        return recusa(0, kSt2ComandoNaoExecutado, 19);
    });
}

Resposta Impressora::nomeiaTotalizador(int indice, std::string_view nome) {
    return muda([&](Contexto& c) -> Resposta {
        if (indice < 1 || indice > 30) return recusa(kSt1ParametroInvalido, 0, 102);
        if (vazio(nome)) return recusa(kSt1ParametroInvalido, 0, 111);
        if (c.e.movimento) return recusa(0, kSt2ComandoNaoExecutado, 62);
        if (!c.t.totalizadores[indice - 1].empty()) return recusa(0, kSt2ComandoNaoExecutado, 6);
        const std::string guardado = nomeGuardado(nome);
        if (mesmoNome(guardado, "Sangria") || mesmoNome(guardado, "Suprimento"))
            return recusa(0, kSt2ComandoNaoExecutado, 78);
        c.t.totalizadores[indice - 1] = guardado;
        c.mem.gravaTotalizador(indice, guardado);
        op::rastro(c, "PROGRAMACAO", "TOTALIZADOR NÃO FISCAL " + digits(indice, 2));
        return {};
    });
}

Resposta Impressora::nomeiaRelatorio(int indice, std::string_view nome) {
    return muda([&](Contexto& c) -> Resposta {
        if (indice < 1 || indice > 30) return recusa(kSt1ParametroInvalido, 0, 105);
        if (vazio(nome)) return recusa(kSt1ParametroInvalido, 0, 111);
        if (c.e.movimento) return recusa(0, kSt2ComandoNaoExecutado, 62);
        if (!c.t.relatorios[indice - 1].empty()) return recusa(0, kSt2ComandoNaoExecutado, 40);
        c.t.relatorios[indice - 1] = nomeGuardado(nome);
        c.mem.gravaRelatorio(indice, c.t.relatorios[indice - 1]);
        op::rastro(c, "PROGRAMACAO", "RELATÓRIO GERENCIAL " + digits(indice, 2));
        return {};
    });
}

Resposta Impressora::leituraX(std::string* texto) {
    return muda([&](Contexto& c) { return op::leituraX(c, texto); });
}

Resposta Impressora::reducaoZ(std::optional<int64_t> horaInformada) {
    return muda([&](Contexto& c) -> Resposta {
        if (horaInformada) {
            // The printer follows the given clock by at most five minutes and
            // never goes back before its last document.
            int64_t ajuste = std::clamp<int64_t>(*horaInformada - c.agora, -300, 300);
            if (c.agora + ajuste < c.e.ultimoDocHora) ajuste = std::min<int64_t>(0, c.e.ultimoDocHora - c.agora);
            c.e.deslocamento += ajuste;
            c.agora += ajuste;
        }
        return op::reducao(c);
    });
}

Resposta Impressora::leituraMemoriaPorData(int inicial, int final, bool simplificada, std::string* texto) {
    return muda([&](Contexto& c) -> Resposta {
        if (auto r = op::semDocumentoAberto(c); r.retorno != 1) return r;
        if (inicial > final) return recusa(kSt1ParametroInvalido, 0, 214);
        const auto lista = c.mem.reducoesPorData(inicial, final);
        c.e.coo++;
        c.e.gnf++;
        const std::string t =
            doc::leituraMemoria(c, lista, simplificada, "PERÍODO: " + diaBarra(inicial) + " A " + diaBarra(final));
        emite(c, "LEITURA_MF", t, false);
        if (texto) *texto = t;
        return {};
    });
}

Resposta Impressora::leituraMemoriaPorReducao(int inicial, int final, bool simplificada, std::string* texto) {
    return muda([&](Contexto& c) -> Resposta {
        if (auto r = op::semDocumentoAberto(c); r.retorno != 1) return r;
        if (inicial > final) return recusa(kSt1ParametroInvalido, 0, 214);
        const auto lista = c.mem.reducoesPorNumero(inicial, final);
        c.e.coo++;
        c.e.gnf++;
        const std::string t =
            doc::leituraMemoria(c, lista, simplificada, "REDUÇÕES: " + digits(inicial, 4) + " A " + digits(final, 4));
        emite(c, "LEITURA_MF", t, false);
        if (texto) *texto = t;
        return {};
    });
}

Resposta Impressora::horarioVerao() {
    return muda([&](Contexto& c) -> Resposta {
        if (auto r = op::semDocumentoAberto(c); r.retorno != 1) return r;
        if (!c.ultima || c.e.coo != c.ultima->coo) return recusa(0, kSt2ComandoNaoExecutado, 156);
        if (!c.e.verao) {
            c.e.deslocamento += 3600;
            c.agora += 3600;
            c.e.verao = true;
            op::rastro(c, "AJUSTE", "ENTRADA NO HORÁRIO DE VERÃO: RELÓGIO ADIANTADO 1 HORA");
        } else {
            if (c.agora - 3600 < c.e.ultimoDocHora) return recusa(0, kSt2ComandoNaoExecutado, 112);
            c.e.deslocamento -= 3600;
            c.agora -= 3600;
            c.e.verao = false;
            op::rastro(c, "AJUSTE", "SAÍDA DO HORÁRIO DE VERÃO: RELÓGIO ATRASADO 1 HORA");
        }
        return {};
    });
}

Resposta Impressora::acionaGaveta() {
    return muda([&](Contexto& c) -> Resposta {
        c.e.gavetaAte = c.agora + 10;
        op::rastro(c, "GAVETA", "ACIONAMENTO DA GAVETA");
        return {};
    });
}

Resposta Impressora::ativaGuilhotina(bool ativa) {
    return muda([&](Contexto& c) -> Resposta {
        c.e.guilhotina = ativa;
        op::rastro(c, "AJUSTE", ativa ? "GUILHOTINA ATIVADA" : "GUILHOTINA DESATIVADA");
        return {};
    });
}

Resposta Impressora::ativaCorteTotal(bool ativa) {
    return muda([&](Contexto& c) -> Resposta {
        c.e.corteTotal = ativa;
        op::rastro(c, "AJUSTE", ativa ? "CORTE TOTAL ATIVADO" : "CORTE TOTAL DESATIVADO");
        return {};
    });
}

Resposta Impressora::corta(int tipo) {
    return muda([&](Contexto& c) -> Resposta {
        if (!c.e.guilhotina) return recusa(0, kSt2ComandoNaoExecutado, 18);
        const bool total = tipo == 0 && c.e.corteTotal;
        const std::string marca = cp1252(total ? "- - - - - - - - - - CORTE TOTAL - - - - - - - -\r\n"
                                               : "- - - - - - - - - CORTE PARCIAL - - - - - - - -\r\n");
        if (c.e.relatorioAberto) {
            c.mem.atualizaDocumento(c.e.relatorioAberto, c.mem.textoDocumento(c.e.relatorioAberto) + marca);
            c.e.bytesMfd += static_cast<int64_t>(marca.size());
        } else {
            op::rastro(c, "CORTE", total ? "CORTE TOTAL DO PAPEL" : "CORTE PARCIAL DO PAPEL");
        }
        return {};
    });
}

Resposta Impressora::abreRelatorio(int indice) {
    return muda([&](Contexto& c) { return op::abreRelatorio(c, indice); });
}

Resposta Impressora::usaRelatorio(std::string_view texto) {
    return muda([&](Contexto& c) { return op::usaRelatorio(c, texto); });
}

Resposta Impressora::fechaRelatorio() {
    return muda([&](Contexto& c) { return op::fechaRelatorio(c); });
}

Resposta Impressora::espacoEntreLinhas(int pontos) {
    return muda([&](Contexto& c) -> Resposta {
        if (pontos < 0 || pontos > 127) return recusa(kSt1ParametroInvalido, 0, 193);
        c.e.espacoLinhas = pontos;
        op::rastro(c, "AJUSTE", "ESPAÇO ENTRE LINHAS: " + std::to_string(pontos) + " PONTOS");
        return {};
    });
}

Resposta Impressora::linhasEntreCupons(int linhas) {
    return muda([&](Contexto& c) -> Resposta {
        if (linhas < 5 || linhas > 30) return recusa(kSt1ParametroInvalido, 0, 193);
        c.e.linhasCupons = linhas;
        op::rastro(c, "AJUSTE", "LINHAS ENTRE CUPONS: " + std::to_string(linhas));
        return {};
    });
}

Resposta Impressora::cancelaCupom() {
    return muda([&](Contexto& c) { return op::cancelaCupom(c); });
}

Resposta Impressora::cancelaNaoFiscal() {
    return muda([&](Contexto& c) -> Resposta {
        if (const int64_t aberto = c.e.acumulado(kNaoFiscalAberto)) {
            const int64_t valor = c.e.acumulado("UN_V");
            c.e.cnc++;
            Impresso p;
            p.traco();
            p.centro("COMPROVANTE NÃO-FISCAL CANCELADO");
            p.colunas("VALOR CANCELADO R$", money(valor));
            terminaAberto(c, aberto, p.texto() + doc::rodape(c));
            c.e.acumulados["NC"] += valor;
            c.e.acumulados.erase(kNaoFiscalAberto);
            c.e.ultimoDocHora = c.agora;
            c.e.ultimoDocTipo = "CANCELAMENTO_NF";
            return {};
        }
        if (auto r = op::diaAberto(c); r.retorno != 1) return r;
        if (c.e.ultimoDocTipo != "NAO_FISCAL")
            return recusa(0, kSt2CancelamentoNaoPermitido, c.e.ultimoDocTipo == "CANCELAMENTO_NF" ? 27 : 26);
        const int indice = static_cast<int>(std::clamp<int64_t>(c.e.acumulado("UN_IDX"), 1, 30));
        const int64_t valor = c.e.acumulado("UN_V");
        const int64_t cooOriginal = c.e.coo;
        c.e.coo++;
        c.e.gnf++;
        c.e.cnc++;
        Impresso p;
        p.centro("COMPROVANTE NÃO-FISCAL CANCELADO");
        p.colunas("COO DO COMPROVANTE CANCELADO:", digits(cooOriginal, 6));
        p.bruto(padRight(digits(indice, 2) + " " + c.t.totalizadores[indice - 1], 30) +
                padLeft(money(valor), kColunas - 30));
        p.colunas("VALOR CANCELADO R$", money(valor));
        emite(c, "CANCELAMENTO_NF", doc::cabecalho(c, c.e.coo, {}) + p.texto() + doc::rodape(c), true);
        auto& a = c.e.acumulados;
        a["NC"] += valor;
        a["FP01"] -= indice == 29 ? -valor : valor;
        return {};
    });
}

Resposta Impressora::deixaAberto(Aberto documento) {
    return muda([&](Contexto& c) -> Resposta {
        switch (documento) {
            case Aberto::Cupom:
                return op::abreCupom(c);
            case Aberto::NaoFiscal:
                return op::abreRecebimento(c, 30, 5000);
            case Aberto::Gerencial:
                if (auto r = op::abreRelatorio(c, 1); r.retorno != 1) return r;
                return op::usaRelatorio(c, cp1252("CONFERÊNCIA DE CAIXA EM ANDAMENTO"));
        }
        return {-2, 0, 0, 0};
    });
}

Resposta Impressora::imprimeConfiguracao() {
    return muda([&](Contexto& c) -> Resposta {
        if (auto r = op::semDocumentoAberto(c); r.retorno != 1) return r;
        c.e.coo++;
        c.e.gnf++;
        emite(c, "CONFIGURACAO", doc::configuracao(c), false);
        return {};
    });
}

Resposta Impressora::tratamentoOffLine(int modo) {
    return muda([&](Contexto& c) -> Resposta {
        c.e.offline = modo;
        op::rastro(c, "AJUSTE", "TRATAMENTO OFF-LINE: MODO " + std::to_string(modo));
        return {};
    });
}

Resposta Impressora::vendas(int quantidade) {
    return muda([&](Contexto& c) -> Resposta {
        for (int i = 0; i < quantidade; ++i) {
            Resposta r = op::venda(c);
            if (r.retorno != 1) return r;
            c.agora += 1;
        }
        return {};
    });
}

Resposta Impressora::recebimentos(int quantidade) {
    return muda([&](Contexto& c) -> Resposta {
        for (int i = 0; i < quantidade; ++i) {
            Resposta r = op::recebimento(c, 30, 5000);
            if (r.retorno != 1) return r;
        }
        return {};
    });
}

Resposta Impressora::defineDeslocamento(int64_t segundos) {
    return muda([&](Contexto& c) -> Resposta {
        c.e.deslocamento = segundos;
        return {};
    });
}

Resposta Impressora::fixaRelogio(std::optional<int64_t> hora) {
    return muda([&](Contexto& c) -> Resposta {
        if (hora)
            c.e.fixo = *hora - c.e.deslocamento;
        else
            c.e.fixo.reset();
        return {};
    });
}

// ---------------------------------------------------------------- answers

std::string Impressora::respostaFormas() const {
    std::string out;
    for (int i = 0; i < 20; ++i) {
        const auto& f = t_.formas[i];
        const int64_t acumulado = e_.acumulado(chave("FP", i + 1));
        out += padRight(f.nome, 16);
        out += ',';
        out += digits(std::max<int64_t>(0, acumulado), 20);
        out += ',';
        out += digits(0, 17);
        out += ',';
        out += f.nome.empty() ? '0' : (f.vinculada ? '1' : '0');
        out += ',';
    }
    return padRight(out, 3016);
}

std::string Impressora::respostaAliquotas() const {
    std::string out;
    for (int i = 0; i < 16; ++i) {
        if (i) out += ',';
        out += digits(t_.aliquotas[i].valor, 4);
    }
    return out;
}

std::string Impressora::respostaIndicesIss() const {
    std::string out;
    for (int i = 0; i < 16; ++i)
        if (t_.aliquotas[i].valor != 0 && t_.aliquotas[i].iss) out += digits(i + 1, 2) + ",";
    return padRight(out, 48);
}

std::string Impressora::respostaTotalizadores() const {
    std::string out;
    for (int i = 0; i < 30; ++i) {
        out += padRight(t_.totalizadores[i], 19);
        out += ',';
        out += digits(e_.acumulado(chave("NQ", i + 1)), 4);
        out += ',';
        out += digits(std::max<int64_t>(0, e_.acumulado(chave("NF", i + 1))), 8);
        out += ',';
    }
    return padRight(out, 1077);
}

std::string Impressora::respostaRelatorios() const {
    std::string out;
    for (int i = 0; i < 30; ++i) {
        if (i) out += ',';
        out += digits(e_.acumulado(chave("RG", i + 1)), 4);
        out += padRight(t_.relatorios[i], 17);
    }
    return padRight(out, 659);
}

std::string Impressora::respostaUltimaReducao() const {
    if (ultima_) return padRight(ultima_->dados, 1279);
    // No reduction yet: every counter and total is zero.
    std::string r(1279, '0');
    for (int pos : {3, 8, 13, 20, 27, 34, 41, 48, 53, 58, 300, 305, 310, 315, 334, 559, 1132, 1207, 1272})
        r[static_cast<size_t>(pos - 1)] = ',';
    r[1278] = ' ';
    return r;
}

std::string Impressora::respostaPercentualLivre() const {
    const int64_t livre = std::max<int64_t>(0, kCapacidadeMfd - e_.bytesMfd);
    int64_t centesimos = livre * 10000 / kCapacidadeMfd;
    centesimos = std::min<int64_t>(centesimos, 9999);
    return digits(centesimos / 100, 2) + "," + digits(centesimos % 100, 2) + "%";
}

}  // namespace kesafi
