// Texts the virtual printer prints: receipts, readings, the reduction and the
// configuration print-out, and the 1279-character record of a reduction.
#include <algorithm>

#include "impressora.h"
#include "relogio.h"
#include "texto.h"

namespace kesafi::doc {
namespace {

std::string taxa(int valor) { return digits(valor / 100, 2) + "," + digits(valor % 100, 2) + "%"; }
std::string k2(const char* prefixo, int i) { return prefixo + digits(i, 2); }

// Positions of the reduction record (1-based), as its readers cut it.
constexpr int kPosTributados = 335, kPosNaoFiscais = 740;
constexpr int kPosVendaBruta = 141;

}  // namespace

std::string cabecalho(const Contexto& c, int64_t coo, std::string_view titulo, int64_t ccf) {
    Impresso p;
    p.centro("COMERCIAL DEMONSTRAÇÃO LTDA");
    p.centro("LOJA VIRTUAL");
    p.centro("AV. DAS NAÇÕES, 1000 - CENTRO");
    p.centro("SÃO PAULO - SP");
    p.linha("CNPJ:12.345.678/0001-95   IE:123.456.789.110");
    p.linha("IM:9876543");
    p.traco();
    std::string direita = "COO:" + digits(coo, 6);
    if (ccf >= 0) direita = "CCF:" + digits(ccf, 6) + " " + direita;
    p.colunas(dataBarra(c.agora) + " " + horaDois(c.agora), direita);
    if (!titulo.empty()) p.centro(titulo);
    return p.texto();
}

std::string rodape(const Contexto& c) {
    Impresso p;
    p.traco();
    p.colunas(std::string(kModelo) + " ECF-IF", "VERSÃO:01.02.00 ECF:001");
    p.colunas("LJ:0001 OPR:0001", dataBarra(c.agora) + " " + horaDois(c.agora));
    p.colunas("FAB:" + c.e.serie, "BR");
    p.linha();
    return p.texto();
}

std::string cupom(const Contexto& c, std::string_view corpoCp) {
    return cabecalho(c, c.e.coo, {}, c.e.ccf) + std::string(corpoCp) + rodape(c);
}

std::string relatorioDia(const Contexto& c, bool reducao, int dataMovimento) {
    const Estado& e = c.e;
    Impresso p;
    p.centro(reducao ? "REDUÇÃO Z" : "LEITURA X");
    if (dataMovimento)
        p.colunas("MOVIMENTO DO DIA:", diaBarra(dataMovimento));
    else
        p.centro("SEM MOVIMENTO NO DIA");
    p.traco();
    p.centro("CONTADORES");
    p.colunas("Geral de Operação Não Fiscal", "GNF:" + digits(e.gnf, 6));
    p.colunas("Cupom Fiscal", "CCF:" + digits(e.ccf, 6));
    p.colunas("Comprovante de Crédito ou Débito", "CDC:" + digits(e.cdc, 4));
    p.colunas("Relatório Gerencial", "GRG:" + digits(e.grg, 6));
    p.colunas("Cupom Fiscal Cancelado", "CFC:" + digits(e.cfc, 4));
    p.colunas("Operação Não Fiscal Cancelada", "CNC:" + digits(e.cnc, 4));
    p.colunas("Reinício de Operação", "CRO:" + digits(e.cro, 4));
    p.colunas("Redução Z", "CRZ:" + digits(e.crz, 4));
    p.colunas("Fita Detalhe Emitida", "CFD:" + digits(e.cfd, 6));
    p.traco();
    p.centro("TOTALIZADORES");
    const int64_t vb = e.acumulado("VB");
    const int64_t canc = e.acumulado("CT") + e.acumulado("CS");
    const int64_t desc = e.acumulado("DT") + e.acumulado("DS");
    const int64_t acr = e.acumulado("AT") + e.acumulado("AS");
    p.colunas("TOTALIZADOR GERAL:", money(e.gt));
    p.colunas("VENDA BRUTA DIÁRIA:", money(vb));
    p.colunas("CANCELAMENTO ICMS:", money(e.acumulado("CT")));
    p.colunas("DESCONTO ICMS:", money(e.acumulado("DT")));
    p.colunas("ACRÉSCIMO ICMS:", money(e.acumulado("AT")));
    p.colunas("CANCELAMENTO ISSQN:", money(e.acumulado("CS")));
    p.colunas("DESCONTO ISSQN:", money(e.acumulado("DS")));
    p.colunas("VENDA LÍQUIDA:", money(vb - canc - desc + acr));
    p.traco();
    p.centro("ICMS");
    p.linha("TOTALIZADOR          BASE CÁLC.(R$)  IMPOSTO(R$)");
    int64_t impostoIcms = 0, impostoIss = 0;
    for (int i = 0; i < 16; ++i) {
        const Aliquota& a = c.t.aliquotas[i];
        if (a.valor == 0 || a.iss) continue;
        const int64_t base = e.acumulado(k2("T", i + 1));
        const int64_t imposto = base * a.valor / 10000;
        impostoIcms += imposto;
        p.bruto(padRight(digits(i + 1, 2) + "T" + taxa(a.valor), 18) + padLeft(money(base), 17) +
                padLeft(money(imposto), 13));
    }
    p.colunas("SUBSTITUIÇÃO TRIBUTÁRIA  F1", money(e.acumulado("F")));
    p.colunas("ISENTO                   I1", money(e.acumulado("I")));
    p.colunas("NÃO INCIDÊNCIA           N1", money(e.acumulado("N")));
    p.colunas("TOTAL ICMS:", money(impostoIcms));
    p.traco();
    p.centro("ISSQN");
    for (int i = 0; i < 16; ++i) {
        const Aliquota& a = c.t.aliquotas[i];
        if (a.valor == 0 || !a.iss) continue;
        const int64_t base = e.acumulado(k2("T", i + 1));
        const int64_t imposto = base * a.valor / 10000;
        impostoIss += imposto;
        p.bruto(padRight(digits(i + 1, 2) + "S" + taxa(a.valor), 18) + padLeft(money(base), 17) +
                padLeft(money(imposto), 13));
    }
    p.colunas("SUBSTITUIÇÃO TRIBUTÁRIA  FS1", money(e.acumulado("FS")));
    p.colunas("ISENTO                   IS1", money(e.acumulado("IS")));
    p.colunas("NÃO INCIDÊNCIA           NS1", money(e.acumulado("NS")));
    p.colunas("TOTAL ISSQN:", money(impostoIss));
    p.traco();
    p.centro("TOTALIZADORES NÃO FISCAIS");
    for (int i = 0; i < 30; ++i) {
        if (c.t.totalizadores[i].empty()) continue;
        p.bruto(padRight(digits(i + 1, 2) + " " + c.t.totalizadores[i], 24) +
                padLeft(digits(e.acumulado(k2("NQ", i + 1)), 4), 6) + padLeft(money(e.acumulado(k2("NF", i + 1))), 18));
    }
    p.colunas("CANCELAMENTO NÃO FISCAL:", money(e.acumulado("NC")));
    p.traco();
    p.centro("MEIOS DE PAGAMENTO");
    for (int i = 0; i < 20; ++i) {
        if (c.t.formas[i].nome.empty()) continue;
        p.bruto(padRight(digits(i + 1, 2) + " " + c.t.formas[i].nome, 30) +
                padLeft(money(e.acumulado(k2("FP", i + 1))), kColunas - 30));
    }
    p.traco();
    p.centro("RELATÓRIO GERENCIAL");
    for (int i = 0; i < 30; ++i) {
        if (c.t.relatorios[i].empty()) continue;
        p.bruto(padRight(digits(i + 1, 2) + " " + c.t.relatorios[i], 30) +
                padLeft(digits(e.acumulado(k2("RG", i + 1)), 4), kColunas - 30));
    }
    return cabecalho(c, e.coo, {}) + p.texto() + rodape(c);
}

std::string registroReducao(const Contexto& c, int dataMovimento) {
    const Estado& e = c.e;
    std::string r(1279, ' ');
    auto put = [&](int pos, const std::string& v) { r.replace(static_cast<size_t>(pos - 1), v.size(), v); };
    put(1, "00,");
    put(4, digits(e.cro, 4) + ",");
    put(9, digits(e.crz, 4) + ",");
    put(14, digits(e.coo, 6) + ",");
    put(21, digits(e.gnf, 6) + ",");
    put(28, digits(e.ccf, 6) + ",");
    put(35, digits(e.grg, 6) + ",");
    put(42, digits(e.cfd, 6) + ",");
    put(49, digits(e.cnc, 4) + ",");
    put(54, digits(e.cfc, 4) + ",");
    // 59-122 the programmed rates, 124-139 their kinds, 141-158 the day's gross sales.
    std::string aliq, tipos;
    for (const Aliquota& a : c.t.aliquotas) {
        aliq += digits(a.valor, 4);
        tipos += a.valor == 0 ? '0' : (a.iss ? 'S' : 'T');
    }
    put(59, aliq + ",");
    put(124, tipos + ",");
    put(kPosVendaBruta, digits(e.acumulado("VB"), 18) + ",");
    put(160, std::string(140, '0') + ",");
    put(301, digits(e.cdc, 4) + ",");
    put(306, digits(0, 4) + ",");
    put(311, digits(0, 4) + ",");
    put(316, digits(e.gt, 18) + ",");
    std::string parciais;
    for (int i = 1; i <= 16; ++i) parciais += digits(e.acumulado(k2("T", i)), 14);
    put(kPosTributados, parciais + ",");
    int pos = 560;
    for (const char* k : {"F", "I", "N", "FS", "IS", "NS", "DT", "DS", "AT", "AS", "CT", "CS"}) {
        put(pos, digits(std::max<int64_t>(0, e.acumulado(k)), 14) + ",");
        pos += 15;
    }
    std::string naoFiscais;
    for (int i = 1; i <= 28; ++i) naoFiscais += digits(std::max<int64_t>(0, e.acumulado(k2("NF", i))), 14);
    put(kPosNaoFiscais, naoFiscais + ",");
    pos = 1133;
    for (const std::string& k : {k2("NF", 29), k2("NF", 30), std::string("DN"), std::string("AN"), std::string("NC")}) {
        put(pos, digits(std::max<int64_t>(0, e.acumulado(k)), 14) + ",");
        pos += 15;
    }
    // 1208-1271: time and date of the reduction, then reserved zeros.
    put(1208, hhmmss(c.agora) + "," + ddmmyy(c.agora) + "," + std::string(50, '0') + ",");
    put(1273, diaDdmmyy(dataMovimento));
    return r;
}

int64_t campo(const std::string& registro, int posicao, int largura) {
    int64_t v = 0;
    for (int i = 0; i < largura; ++i) {
        const size_t at = static_cast<size_t>(posicao - 1 + i);
        if (at >= registro.size()) break;
        const char ch = registro[at];
        if (ch >= '0' && ch <= '9') v = v * 10 + (ch - '0');
    }
    return v;
}

std::string leituraMemoria(const Contexto& c, const std::vector<Reducao>& reducoes, bool simplificada,
                           std::string_view faixa) {
    Impresso p;
    p.centro("LEITURA DA MEMÓRIA FISCAL");
    p.centro(simplificada ? "SIMPLIFICADA" : "COMPLETA");
    p.linha(faixa);
    p.traco();
    p.centro("IDENTIFICAÇÃO DO ECF");
    p.colunas("NÚMERO DE FABRICAÇÃO:", c.e.serie);
    p.colunas("MODELO:", kModelo);
    p.colunas("VERSÃO DO SOFTWARE BÁSICO:", "01.02.00");
    p.colunas("REINÍCIOS DE OPERAÇÃO:", "CRO:" + digits(c.e.cro, 4));
    p.traco();
    p.centro("ALÍQUOTAS PROGRAMADAS");
    for (int i = 0; i < 16; ++i) {
        const Aliquota& a = c.t.aliquotas[i];
        if (a.valor) p.colunas(digits(i + 1, 2) + (a.iss ? " ISSQN" : " ICMS"), taxa(a.valor));
    }
    p.traco();
    int64_t somaBruta = 0, somaCanc = 0, somaDesc = 0;
    std::array<int64_t, 16> somaParcial{};
    if (reducoes.empty()) {
        p.centro("NÃO HÁ REDUÇÕES NO INTERVALO");
    } else if (simplificada) {
        p.linha("CRZ   COO     MOVIMENTO         VENDA BRUTA(R$)");
    }
    for (const Reducao& r : reducoes) {
        const int64_t bruta = campo(r.dados, kPosVendaBruta, 18);
        const int64_t canc = campo(r.dados, 710, 14) + campo(r.dados, 725, 14);
        const int64_t desc = campo(r.dados, 650, 14) + campo(r.dados, 665, 14);
        somaBruta += bruta;
        somaCanc += canc;
        somaDesc += desc;
        for (int i = 0; i < 16; ++i) somaParcial[static_cast<size_t>(i)] += campo(r.dados, kPosTributados + 14 * i, 14);
        if (simplificada) {
            p.bruto(digits(r.crz, 4) + "  " + digits(r.coo, 6) + "  " + cp1252(diaBarra(r.dataMovimento)) +
                    padLeft(money(bruta), kColunas - 24));
            continue;
        }
        p.colunas("CRZ:" + digits(r.crz, 4) + "  COO:" + digits(r.coo, 6), "CRO:" + digits(campo(r.dados, 4, 4), 4));
        p.colunas("DATA DO MOVIMENTO:", diaBarra(r.dataMovimento));
        p.colunas("EMITIDA EM:", dataBarra(r.dataHora) + " " + horaDois(r.dataHora));
        p.colunas("GT FINAL:", money(campo(r.dados, 316, 18)));
        p.colunas("VENDA BRUTA:", money(bruta));
        for (int i = 0; i < 16; ++i) {
            const int64_t v = campo(r.dados, kPosTributados + 14 * i, 14);
            const int valor = static_cast<int>(campo(r.dados, 59 + 4 * i, 4));
            const bool iss =
                r.dados.size() > static_cast<size_t>(123 + i) && r.dados[static_cast<size_t>(123 + i)] == 'S';
            if (v) p.colunas(digits(i + 1, 2) + (iss ? "S" : "T") + taxa(valor), money(v));
        }
        const char* nomes[] = {"SUBST. TRIBUTÁRIA F1", "ISENTO I1", "NÃO INCIDÊNCIA N1"};
        for (int i = 0; i < 3; ++i) {
            const int64_t v = campo(r.dados, 560 + 15 * i, 14);
            if (v) p.colunas(nomes[i], money(v));
        }
        if (canc) p.colunas("CANCELAMENTOS:", money(canc));
        if (desc) p.colunas("DESCONTOS:", money(desc));
        p.traco('.');
    }
    p.traco();
    p.centro("TOTAL DO INTERVALO");
    p.colunas("REDUÇÕES:", std::to_string(reducoes.size()));
    p.colunas("VENDA BRUTA:", money(somaBruta));
    p.colunas("CANCELAMENTOS:", money(somaCanc));
    p.colunas("DESCONTOS:", money(somaDesc));
    p.colunas("VENDA LÍQUIDA:", money(somaBruta - somaCanc - somaDesc));
    if (!simplificada) {
        for (int i = 0; i < 16; ++i)
            if (somaParcial[static_cast<size_t>(i)])
                p.colunas("TOTALIZADOR " + digits(i + 1, 2) + ":", money(somaParcial[static_cast<size_t>(i)]));
    }
    return cabecalho(c, c.e.coo, {}) + p.texto() + rodape(c);
}

std::string configuracao(const Contexto& c) {
    const Estado& e = c.e;
    Impresso p;
    p.centro("CONFIGURAÇÕES DO ECF");
    p.traco();
    p.centro("IDENTIFICAÇÃO");
    p.colunas("NÚMERO DE FABRICAÇÃO:", e.serie);
    p.colunas("MODELO:", kModelo);
    p.colunas("SOFTWARE BÁSICO:", "01.02.00");
    p.colunas("HORÁRIO DE VERÃO:", e.verao ? "ATIVO" : "INATIVO");
    p.traco();
    p.centro("ALÍQUOTAS");
    for (int i = 0; i < 16; ++i) {
        const Aliquota& a = c.t.aliquotas[i];
        p.colunas(digits(i + 1, 2), a.valor ? (a.iss ? "ISSQN " : "ICMS ") + taxa(a.valor) : std::string("LIVRE"));
    }
    p.traco();
    p.centro("FORMAS DE PAGAMENTO");
    for (int i = 0; i < 20; ++i) {
        const FormaPagamento& f = c.t.formas[i];
        if (f.nome.empty()) continue;
        p.bruto(padRight(digits(i + 1, 2) + " " + f.nome, 40) + padLeft(f.vinculada ? "VINC." : "", kColunas - 40));
    }
    p.traco();
    p.centro("TOTALIZADORES NÃO FISCAIS");
    for (int i = 0; i < 30; ++i)
        if (!c.t.totalizadores[i].empty()) p.bruto(digits(i + 1, 2) + " " + c.t.totalizadores[i]);
    p.traco();
    p.centro("RELATÓRIOS GERENCIAIS");
    for (int i = 0; i < 30; ++i)
        if (!c.t.relatorios[i].empty()) p.bruto(digits(i + 1, 2) + " " + c.t.relatorios[i]);
    p.traco();
    p.centro("PARÂMETROS");
    p.colunas("GUILHOTINA:", e.guilhotina ? "ATIVADA" : "DESATIVADA");
    p.colunas("CORTE TOTAL:", e.corteTotal ? "ATIVADO" : "DESATIVADO");
    p.colunas("ESPAÇO ENTRE LINHAS:", std::to_string(e.espacoLinhas) + " PONTOS");
    p.colunas("LINHAS ENTRE CUPONS:", std::to_string(e.linhasCupons));
    p.colunas("TRATAMENTO OFF-LINE:", "MODO " + std::to_string(e.offline));
    p.colunas("REDUÇÕES RESTANTES:", std::to_string(std::max<int64_t>(0, kCapacidadeReducoes - e.crz)));
    return cabecalho(c, e.coo, {}) + p.texto() + rodape(c);
}

}  // namespace kesafi::doc
