// The answer record of a reduction (DadosUltimaReducaoMFD), of
// KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO characters:
// fixed-position decimal fields (positions from 1), a comma between two
// fields.  Amounts carry two implied decimals.
//
//    1-2     user number (the printer has one user, its first: 01)
//    4-7     CRO              9-12   CRZ              14-19  COO
//   21-26    GNF             28-33   CCF              35-40  GRG
//   42-47    CFD             49-52   CNC              54-57  CFC
//   59-122   the 16 rates as programmed (4 digits each)
//  124-139   their kinds (T ICMS, S ISSQN, 0 free)
//  141-158   gross sales of the day
//  160-299   reserved: zeros
//  301-304   CDC: credit or debit vouchers
//  306-309   vouchers due but not issued: always zero, as the printer issues
//            the voucher of every linked payment with its sale
//  311-314   vouchers cancelled (reversed with their receipt)
//  316-333   grand total
//  335-558   the 16 taxed partial totals, 14 digits each, contiguous
//  560 ICMS exemption, 575 ICMS non-incidence, 590 ICMS tax substitution,
//  605 ISSQN exemption, 620 ISSQN non-incidence, 635 ISSQN tax substitution,
//  650 ICMS discounts, 665 ISSQN discounts, 680 ICMS surcharges,
//  695 ISSQN surcharges, 710 ICMS cancellations, 725 ISSQN cancellations
//            (14 digits each)
//  740-1131  the 28 totals not subject to ICMS, 14 digits each, contiguous
//  1133 withdrawals, 1148 cash supplies, 1163 non-fiscal discounts,
//  1178 non-fiscal surcharges, 1193 non-fiscal cancellations (14 digits each)
//  1208-1213 time of the reduction (hhmmss), 1215-1220 its date (ddmmyy)
//  1222-1271 reserved: zeros
//  1273-1278 date of movement (ddmmyy)
#include "impressora.h"
#include "relogio.h"
#include "texto.h"

namespace kesafi {

std::string registroReducao(const Reducao* reducao) {
    Reducao nenhuma;
    nenhuma.cont.cro = 0;
    const Reducao& r = reducao ? *reducao : nenhuma;
    const TotaisDia& t = r.totais;
    std::string s(KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO, ' ');
    auto put = [&](int pos, const std::string& v) { s.replace(static_cast<size_t>(pos - 1), v.size(), v); };
    auto valor = [](int64_t v, size_t largura) { return digits(std::max<int64_t>(0, v), largura); };
    put(1, "01,");
    put(4, digits(r.cont.cro, 4) + ",");
    put(9, digits(r.cont.crz, 4) + ",");
    put(14, digits(r.cont.coo, 6) + ",");
    put(21, digits(r.cont.gnf, 6) + ",");
    put(28, digits(r.cont.ccf, 6) + ",");
    put(35, digits(r.cont.grg, 6) + ",");
    put(42, digits(r.cont.cfd, 6) + ",");
    put(49, digits(r.cont.cnc, 4) + ",");
    put(54, digits(r.cont.cfc, 4) + ",");
    std::string aliq, tipos;
    for (const Aliquota& a : r.aliquotas) {
        aliq += digits(a.valor, 4);
        tipos += a.valor == 0 ? '0' : (a.iss ? 'S' : 'T');
    }
    put(59, aliq + ",");
    put(124, tipos + ",");
    put(141, valor(t.vendaBruta, 18) + ",");
    put(160, std::string(140, '0') + ",");
    put(301, digits(r.cont.cdc, 4) + ",");
    put(306, digits(0, 4) + ",");
    put(311, digits(r.cont.cdcCancelados, 4) + ",");
    put(316, valor(r.gt, 18) + ",");
    std::string parciais;
    for (int64_t v : t.aliquotas) parciais += valor(v, 14);
    put(335, parciais + ",");
    int pos = 560;
    for (int64_t v : {t.icms.isencao, t.icms.naoIncidencia, t.icms.substituicao, t.iss.isencao, t.iss.naoIncidencia,
                      t.iss.substituicao, t.ajustesIcms.descontos, t.ajustesIss.descontos, t.ajustesIcms.acrescimos,
                      t.ajustesIss.acrescimos, t.ajustesIcms.cancelamentos, t.ajustesIss.cancelamentos}) {
        put(pos, valor(v, 14) + ",");
        pos += 15;
    }
    std::string naoFiscais;
    for (size_t i = 0; i < 28; ++i) naoFiscais += valor(t.naoFiscais[i], 14);
    put(740, naoFiscais + ",");
    pos = 1133;
    for (int64_t v : {t.naoFiscais[28], t.naoFiscais[29], t.ajustesNaoFiscais.descontos, t.ajustesNaoFiscais.acrescimos,
                      t.ajustesNaoFiscais.cancelamentos}) {
        put(pos, valor(v, 14) + ",");
        pos += 15;
    }
    put(1208,
        (reducao ? hhmmss(r.dataHora) + "," + ddmmyy(r.dataHora) : "000000,000000") + "," + std::string(50, '0') + ",");
    put(1273, diaDdmmyy(r.dataMovimento));
    return s;
}

}  // namespace kesafi
