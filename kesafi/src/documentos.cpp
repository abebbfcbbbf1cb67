// Texts the virtual printer prints: the header and footer of every document,
// readings, the reduction and the configuration print-out.
#include <algorithm>

#include "impressora.h"
#include "relogio.h"
#include "texto.h"

namespace kesafi::doc {

std::string taxa(int valor) { return digits(valor / 100, 2) + "," + digits(valor % 100, 2) + "%"; }

std::string cabecalho(const Contexto& c, int64_t coo, std::string_view titulo, int64_t ccf) {
    Impresso p;
    const Contribuinte& u = kContribuinte;
    const std::string_view cnpj = u.cnpj, ie = u.inscricaoEstadual;
    p.centro(u.razaoSocial);
    p.centro(u.nomeFantasia);
    p.centro(u.endereco);
    p.centro(u.cidade);
    p.linha("CNPJ:" + std::string(cnpj.substr(0, 2)) + "." + std::string(cnpj.substr(2, 3)) + "." +
            std::string(cnpj.substr(5, 3)) + "/" + std::string(cnpj.substr(8, 4)) + "-" +
            std::string(cnpj.substr(12, 2)) + "   IE:" + std::string(ie.substr(0, 3)) + "." +
            std::string(ie.substr(3, 3)) + "." + std::string(ie.substr(6, 3)) + "." + std::string(ie.substr(9, 3)));
    p.linha(std::string("IM:") + u.inscricaoMunicipal);
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
    p.colunas(std::string(kModelo) + " " + kTipoEcf, std::string("VERSÃO:") + kVersaoSb + " ECF:001");
    p.colunas("LJ:0001 OPR:0001", dataBarra(c.agora) + " " + horaDois(c.agora));
    p.colunas("FAB:" + c.e.serie, "BR");
    p.linha();
    return p.texto();
}

std::string relatorioDia(const Contexto& c, bool reducao, int dataMovimento) {
    const Estado& e = c.e;
    const TotaisDia& d = e.dia;
    Impresso p;
    p.centro(reducao ? "REDUÇÃO Z" : "LEITURA X");
    if (dataMovimento)
        p.colunas("MOVIMENTO DO DIA:", diaBarra(dataMovimento));
    else
        p.centro("SEM MOVIMENTO NO DIA");
    p.traco();
    p.centro("CONTADORES");
    p.colunas("Geral de Operação Não Fiscal", "GNF:" + digits(e.cont.gnf, 6));
    p.colunas("Cupom Fiscal", "CCF:" + digits(e.cont.ccf, 6));
    p.colunas("Comprovante de Crédito ou Débito", "CDC:" + digits(e.cont.cdc, 4));
    p.colunas("Relatório Gerencial", "GRG:" + digits(e.cont.grg, 6));
    p.colunas("Cupom Fiscal Cancelado", "CFC:" + digits(e.cont.cfc, 4));
    p.colunas("Operação Não Fiscal Cancelada", "CNC:" + digits(e.cont.cnc, 4));
    p.colunas("Reinício de Operação", "CRO:" + digits(e.cont.cro, 4));
    p.colunas("Redução Z", "CRZ:" + digits(e.cont.crz, 4));
    p.colunas("Fita Detalhe Emitida", "CFD:" + digits(e.cont.cfd, 6));
    p.traco();
    p.centro("TOTALIZADORES");
    p.colunas("TOTALIZADOR GERAL:", money(e.gt));
    p.colunas("VENDA BRUTA DIÁRIA:", money(d.vendaBruta));
    p.colunas("CANCELAMENTO ICMS:", money(d.ajustesIcms.cancelamentos));
    p.colunas("DESCONTO ICMS:", money(d.ajustesIcms.descontos));
    p.colunas("ACRÉSCIMO ICMS:", money(d.ajustesIcms.acrescimos));
    p.colunas("CANCELAMENTO ISSQN:", money(d.ajustesIss.cancelamentos));
    p.colunas("DESCONTO ISSQN:", money(d.ajustesIss.descontos));
    p.colunas("VENDA LÍQUIDA:", money(d.vendaLiquida()));
    p.traco();
    p.centro("ICMS");
    p.linha("TOTALIZADOR          BASE CÁLC.(R$)  IMPOSTO(R$)");
    int64_t impostoIcms = 0, impostoIss = 0;
    for (int i = 0; i < 16; ++i) {
        const Aliquota& a = c.t.aliquotas[i];
        if (a.valor == 0 || a.iss) continue;
        const int64_t base = d.aliquotas[static_cast<size_t>(i)];
        const int64_t imposto = base * a.valor / 10000;
        impostoIcms += imposto;
        p.bruto(padRight(digits(i + 1, 2) + "T" + taxa(a.valor), 18) + padLeft(money(base), 17) +
                padLeft(money(imposto), 13));
    }
    p.colunas("SUBSTITUIÇÃO TRIBUTÁRIA  F1", money(d.icms.substituicao));
    p.colunas("ISENTO                   I1", money(d.icms.isencao));
    p.colunas("NÃO INCIDÊNCIA           N1", money(d.icms.naoIncidencia));
    p.colunas("TOTAL ICMS:", money(impostoIcms));
    p.traco();
    p.centro("ISSQN");
    for (int i = 0; i < 16; ++i) {
        const Aliquota& a = c.t.aliquotas[i];
        if (a.valor == 0 || !a.iss) continue;
        const int64_t base = d.aliquotas[static_cast<size_t>(i)];
        const int64_t imposto = base * a.valor / 10000;
        impostoIss += imposto;
        p.bruto(padRight(digits(i + 1, 2) + "S" + taxa(a.valor), 18) + padLeft(money(base), 17) +
                padLeft(money(imposto), 13));
    }
    p.colunas("SUBSTITUIÇÃO TRIBUTÁRIA  FS1", money(d.iss.substituicao));
    p.colunas("ISENTO                   IS1", money(d.iss.isencao));
    p.colunas("NÃO INCIDÊNCIA           NS1", money(d.iss.naoIncidencia));
    p.colunas("TOTAL ISSQN:", money(impostoIss));
    p.traco();
    p.centro("TOTALIZADORES NÃO FISCAIS");
    for (size_t i = 0; i < 30; ++i) {
        if (c.t.totalizadores[i].empty()) continue;
        p.bruto(padRight(digits(static_cast<int64_t>(i + 1), 2) + " " + c.t.totalizadores[i], 24) +
                padLeft(digits(d.operacoesNaoFiscais[i], 4), 6) + padLeft(money(d.naoFiscais[i]), 18));
    }
    p.colunas("CANCELAMENTO NÃO FISCAL:", money(d.ajustesNaoFiscais.cancelamentos));
    p.traco();
    p.centro("MEIOS DE PAGAMENTO");
    for (size_t i = 0; i < 20; ++i) {
        if (c.t.formas[i].nome.empty()) continue;
        p.bruto(padRight(digits(static_cast<int64_t>(i + 1), 2) + " " + c.t.formas[i].nome, 30) +
                padLeft(money(d.formas[i]), kColunas - 30));
    }
    p.traco();
    p.centro("RELATÓRIO GERENCIAL");
    for (size_t i = 0; i < 30; ++i) {
        if (c.t.relatorios[i].empty()) continue;
        p.bruto(padRight(digits(static_cast<int64_t>(i + 1), 2) + " " + c.t.relatorios[i], 30) +
                padLeft(digits(e.relatoriosEmitidos[i], 4), kColunas - 30));
    }
    return cabecalho(c, e.cont.coo, {}) + p.texto() + rodape(c);
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
    p.colunas("VERSÃO DO SOFTWARE BÁSICO:", kVersaoSb);
    p.colunas("REINÍCIOS DE OPERAÇÃO:", "CRO:" + digits(c.e.cont.cro, 4));
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
        const TotaisDia& t = r.totais;
        const int64_t canc = t.ajustesIcms.cancelamentos + t.ajustesIss.cancelamentos;
        const int64_t desc = t.ajustesIcms.descontos + t.ajustesIss.descontos;
        somaBruta += t.vendaBruta;
        somaCanc += canc;
        somaDesc += desc;
        for (size_t i = 0; i < 16; ++i) somaParcial[i] += t.aliquotas[i];
        if (simplificada) {
            p.bruto(digits(r.cont.crz, 4) + "  " + digits(r.cont.coo, 6) + "  " + cp1252(diaBarra(r.dataMovimento)) +
                    padLeft(money(t.vendaBruta), kColunas - 24));
            continue;
        }
        p.colunas("CRZ:" + digits(r.cont.crz, 4) + "  COO:" + digits(r.cont.coo, 6), "CRO:" + digits(r.cont.cro, 4));
        p.colunas("DATA DO MOVIMENTO:", diaBarra(r.dataMovimento));
        p.colunas("EMITIDA EM:", dataBarra(r.dataHora) + " " + horaDois(r.dataHora));
        p.colunas("GT FINAL:", money(r.gt));
        p.colunas("VENDA BRUTA:", money(t.vendaBruta));
        for (int i = 0; i < 16; ++i) {
            const int64_t v = t.aliquotas[static_cast<size_t>(i)];
            const Aliquota& a = r.aliquotas[static_cast<size_t>(i)];
            if (v) p.colunas(digits(i + 1, 2) + (a.iss ? "S" : "T") + taxa(a.valor), money(v));
        }
        const std::pair<const char*, int64_t> naoTributados[] = {{"SUBST. TRIBUTÁRIA F1", t.icms.substituicao},
                                                                 {"ISENTO I1", t.icms.isencao},
                                                                 {"NÃO INCIDÊNCIA N1", t.icms.naoIncidencia}};
        for (const auto& [nome, v] : naoTributados)
            if (v) p.colunas(nome, money(v));
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
        for (size_t i = 0; i < 16; ++i)
            if (somaParcial[i])
                p.colunas("TOTALIZADOR " + digits(static_cast<int64_t>(i + 1), 2) + ":", money(somaParcial[i]));
    }
    return cabecalho(c, c.e.cont.coo, {}) + p.texto() + rodape(c);
}

std::string configuracao(const Contexto& c) {
    const Estado& e = c.e;
    Impresso p;
    p.centro("CONFIGURAÇÕES DO ECF");
    p.traco();
    p.centro("IDENTIFICAÇÃO");
    p.colunas("NÚMERO DE FABRICAÇÃO:", e.serie);
    p.colunas("MODELO:", kModelo);
    p.colunas("SOFTWARE BÁSICO:", kVersaoSb);
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
    p.colunas("REDUÇÕES RESTANTES:", std::to_string(std::max<int64_t>(0, kCapacidadeReducoes - e.cont.crz)));
    return cabecalho(c, e.cont.coo, {}) + p.texto() + rodape(c);
}

}  // namespace kesafi::doc
