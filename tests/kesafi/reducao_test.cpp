// The answer record of the last reduction, cut where its readers cut it: a
// reduction whose counters and totals all differ, each found at its own
// position.
#include <vector>

#include "apoio.h"

namespace kesafi_teste {
namespace {

std::string n(long long v, size_t largura) {
    std::string s = std::to_string(v);
    return std::string(largura > s.size() ? largura - s.size() : 0, '0') + s;
}

TEST_F(Impressora, TheLastReductionsRecordHoldsEveryFieldAtItsPosition) {
    // A day whose counters and totals all differ, set in the memory.
    std::string comandos =
        "UPDATE estado SET cro = 7, crz = 40, coo = 5000, gnf = 1234, ccf = 2345, grg = 345, cfd = 456, cnc = 56,"
        " cfc = 67, cdc = 78, cdc_cancelados = 89, gt = 987654321, venda_bruta = 555555,"
        " icms_isencao = 201, icms_nao_incidencia = 202, icms_substituicao = 203, iss_isencao = 204,"
        " iss_nao_incidencia = 205, iss_substituicao = 206, icms_descontos = 207, iss_descontos = 208,"
        " icms_acrescimos = 209, iss_acrescimos = 210, icms_cancelamentos = 211, iss_cancelamentos = 212,"
        " nao_fiscal_descontos = 213, nao_fiscal_acrescimos = 214, nao_fiscal_cancelamentos = 215,"
        " movimento = " +
        diaDdmmyyyy().substr(4, 4) + diaDdmmyyyy().substr(2, 2) + diaDdmmyyyy().substr(0, 2);
    for (int i = 1; i <= 16; ++i) comandos += ", parcial_" + n(i, 2) + " = " + std::to_string(100000 + 101 * i);
    for (int i = 1; i <= 30; ++i) comandos += ", nao_fiscal_" + n(i, 2) + " = " + std::to_string(3000 + i);
    alteraMemoria(comandos);
    localiza();
    ASSERT_EQ(Kestrona_FI_ReducaoZ(nullptr, nullptr), 1);
    std::string z = espacos(KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO);
    ASSERT_EQ(Kestrona_FI_DadosUltimaReducaoMFD(z.data()), 1);

    struct Campo {
        size_t posicao;
        std::string valor;
        const char* nome;
    };
    std::vector<Campo> campos = {
        {4, "0007", "CRO"},
        {9, "0041", "CRZ"},
        {14, "005001", "COO"},
        {21, "001234", "GNF"},
        {28, "002345", "CCF"},
        {35, "000345", "GRG"},
        {42, "000456", "CFD"},
        {49, "0056", "CNC"},
        {54, "0067", "CFC"},
        {301, "0078", "CDC"},
        {306, "0000", "CDC not issued"},
        {311, "0089", "CDC cancelled"},
        {316, n(987654321, 18), "grand total"},
        {560, n(201, 14), "ICMS exemption"},
        {575, n(202, 14), "ICMS non-incidence"},
        {590, n(203, 14), "ICMS tax substitution"},
        {605, n(204, 14), "ISSQN exemption"},
        {620, n(205, 14), "ISSQN non-incidence"},
        {635, n(206, 14), "ISSQN tax substitution"},
        {650, n(207, 14), "ICMS discounts"},
        {665, n(208, 14), "ISSQN discounts"},
        {680, n(209, 14), "ICMS surcharges"},
        {695, n(210, 14), "ISSQN surcharges"},
        {710, n(211, 14), "ICMS cancellations"},
        {725, n(212, 14), "ISSQN cancellations"},
        {1133, n(3029, 14), "withdrawals"},
        {1148, n(3030, 14), "cash supplies"},
        {1163, n(213, 14), "non-fiscal discounts"},
        {1178, n(214, 14), "non-fiscal surcharges"},
        {1193, n(215, 14), "non-fiscal cancellations"},
        {1273, diaDdmmyy(), "date of movement"},
    };
    for (int i = 1; i <= 16; ++i)
        campos.push_back({335 + 14 * static_cast<size_t>(i - 1), n(100000 + 101 * i, 14), "taxed total"});
    for (int i = 1; i <= 28; ++i)
        campos.push_back({740 + 14 * static_cast<size_t>(i - 1), n(3000 + i, 14), "total not subject to ICMS"});
    for (const Campo& c : campos)
        EXPECT_EQ(fatia(z, c.posicao, c.valor.size()), c.valor) << c.nome << " at " << c.posicao;
    // The position after each field up to the date of movement is a separator.
    for (size_t pos : {3,   8,   13,  20,  27,  34,  41,  48,  53,  58,  300,  305,  310,  315,  334,  559,  574, 589,
                       604, 619, 634, 649, 664, 679, 694, 709, 724, 739, 1132, 1147, 1162, 1177, 1192, 1207, 1272})
        EXPECT_EQ(z[pos - 1], ',') << pos;
}

}  // namespace
}  // namespace kesafi_teste
