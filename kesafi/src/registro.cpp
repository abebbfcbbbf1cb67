// The 1279-character answer record of a reduction (DadosUltimaReducaoMFD):
// fixed-position decimal fields, one position (a comma) between two fields.
#include "impressora.h"
#include "relogio.h"
#include "texto.h"

namespace kesafi {

std::string registroReducao(const Reducao* reducao) {
    Reducao nenhuma;
    nenhuma.cont.cro = 0;
    const Reducao& r = reducao ? *reducao : nenhuma;
    const TotaisDia& t = r.totais;
    std::string s(1279, ' ');
    auto put = [&](int pos, const std::string& v) { s.replace(static_cast<size_t>(pos - 1), v.size(), v); };
    auto valor = [](int64_t v, size_t largura) { return digits(std::max<int64_t>(0, v), largura); };
    put(1, "00,");
    put(4, digits(r.cont.cro, 4) + ",");
    put(9, digits(r.cont.crz, 4) + ",");
    put(14, digits(r.cont.coo, 6) + ",");
    put(21, digits(r.cont.gnf, 6) + ",");
    put(28, digits(r.cont.ccf, 6) + ",");
    put(35, digits(r.cont.grg, 6) + ",");
    put(42, digits(r.cont.cfd, 6) + ",");
    put(49, digits(r.cont.cnc, 4) + ",");
    put(54, digits(r.cont.cfc, 4) + ",");
    // 59-122 the programmed rates, 124-139 their kinds, 141-158 the day's gross sales.
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
    put(311, digits(0, 4) + ",");
    put(316, valor(r.gt, 18) + ",");
    std::string parciais;
    for (int64_t v : t.aliquotas) parciais += valor(v, 14);
    put(335, parciais + ",");
    int pos = 560;
    for (int64_t v : {t.icms.substituicao, t.icms.isencao, t.icms.naoIncidencia, t.iss.substituicao, t.iss.isencao,
                      t.iss.naoIncidencia, t.ajustesIcms.descontos, t.ajustesIss.descontos, t.ajustesIcms.acrescimos,
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
    // 1208-1271: time and date of the reduction, then reserved zeros.
    put(1208,
        (reducao ? hhmmss(r.dataHora) + "," + ddmmyy(r.dataHora) : "000000,000000") + "," + std::string(50, '0') + ",");
    put(1273, diaDdmmyy(r.dataMovimento));
    return s;
}

}  // namespace kesafi
