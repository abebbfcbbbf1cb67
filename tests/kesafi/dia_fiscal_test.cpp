// Fiscal day, reductions, the clock and daylight-saving time.
#include "apoio.h"

namespace kesafi_teste {
namespace {

class DiaFiscal : public ImpressoraLocalizada {
protected:
    std::string movimento() { return le(Kestrona_FI_DataMovimento, KESAFI_LARGURA_DATA); }
    std::string ultimaReducao() { return le(Kestrona_FI_DadosUltimaReducaoMFD, KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO); }
    std::pair<std::string, std::string> relogioEcf() {
        std::string d = espacos(KESAFI_LARGURA_DATA), h = espacos(KESAFI_LARGURA_HORA);
        EXPECT_EQ(Kestrona_FI_DataHoraImpressora(d.data(), h.data()), 1);
        return {d, h};
    }
    int flags() {
        int f = -1;
        EXPECT_EQ(Kestrona_FI_FlagsFiscais(&f), 1);
        return f;
    }
};

TEST_F(DiaFiscal, NewPrinterHasAPastEndingWithAReductionOnAnEarlierDay) {
    EXPECT_EQ(movimento(), "000000");
    EXPECT_GE(contador("Reducoes"), 5);
    EXPECT_EQ(contador("CRZ"), contador("Reducoes"));
    std::string d = espacos(KESAFI_LARGURA_DATA), h = espacos(KESAFI_LARGURA_HORA);
    ASSERT_EQ(Kestrona_FI_DataHoraReducao(d.data(), h.data()), 1);
    EXPECT_EQ(d, diaDdmmyy(-1));
    const std::string z = ultimaReducao();
    EXPECT_EQ(fatia(z, 1273, 6), diaDdmmyy(-1));
    EXPECT_EQ(std::stoll(fatia(z, 9, 4)), contador("CRZ"));
    EXPECT_EQ(std::stoll(fatia(z, 14, 6)), contador("COO"));
    EXPECT_GT(std::stoll(fatia(z, 28, 6)), 20);  // sales receipts in the past
    EXPECT_EQ(flags() & 8, 0);                   // today is open
    std::string ultimo = espacos(KESAFI_LARGURA_DATA_HORA_ULTIMO_DOC);
    ASSERT_EQ(Kestrona_FI_DataHoraUltimoDocumentoMFD(ultimo.data()), 1);
    EXPECT_EQ(ultimo.substr(0, 6), d);
    EXPECT_EQ(ultimo.substr(6), h);
}

TEST_F(DiaFiscal, PastIsDeterministic) {
    const std::string a = fita(200);
    const std::filesystem::path outra = pasta / "outra";
    ASSERT_EQ(KesafiVirtual_CriaImpressora(outra.c_str(), 0), 1);
    escreveIni("Virtual", "Memoria", outra.c_str());
    ASSERT_EQ(KesafiVirtual_FixaRelogio((diaDdmmyyyy() + "100000").c_str()), 1);
    EXPECT_EQ(fita(200), a);
    ASSERT_EQ(KesafiVirtual_CriaImpressora(outra.c_str(), 1), 1);
    EXPECT_NE(fita(200), a);
}

TEST_F(DiaFiscal, MovementStartsWithTheFirstSaleNotWithAReading) {
    ASSERT_EQ(Kestrona_FI_LeituraX(), 1);
    EXPECT_EQ(movimento(), "000000");
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(2), 1);
    EXPECT_EQ(movimento(), diaDdmmyy(0));
    EXPECT_EQ(flags() & 32, 32);  // the last receipt may be cancelled
}

TEST_F(DiaFiscal, ReductionPendingFromAnEarlierDayBlocksAllButReadingsAndTheReduction) {
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(3), 1);
    relogio("080000", 1);
    EXPECT_EQ(KesafiVirtual_AdicionaVendas(1), -27);
    st3(KESAFI_ST3_AGUARDANDO_RZ);
    EXPECT_EQ(status().st2, 1);
    EXPECT_EQ(Kestrona_FI_AbreRelatorioGerencialMFD("1"), -27);
    st3(KESAFI_ST3_AGUARDANDO_RZ);
    EXPECT_EQ(Kestrona_FI_LeituraX(), 1);
    EXPECT_EQ(Kestrona_FI_LeituraMemoriaFiscalReducaoMFD("0001", "0002", "s"), 1);
    const long long crz = contador("CRZ"), coo = contador("COO"), restantes = contador("ReducoesRestantes");
    ASSERT_EQ(Kestrona_FI_ReducaoZ(nullptr, nullptr), 1);
    EXPECT_EQ(contador("CRZ"), crz + 1);
    EXPECT_EQ(contador("COO"), coo + 1);
    EXPECT_EQ(contador("ReducoesRestantes"), restantes - 1);
    // The late reduction closed yesterday's movement; today stays open.
    EXPECT_EQ(fatia(ultimaReducao(), 1273, 6), diaDdmmyy(0));
    EXPECT_EQ(movimento(), "000000");
    EXPECT_EQ(KesafiVirtual_AdicionaVendas(1), 1);
    EXPECT_EQ(movimento(), diaDdmmyy(1));
}

TEST_F(DiaFiscal, ReductionOfTodayClosesTheDayUntilMidnight) {
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(2), 1);
    ASSERT_EQ(Kestrona_FI_ReducaoZ(nullptr, nullptr), 1);
    EXPECT_EQ(fatia(ultimaReducao(), 1273, 6), diaDdmmyy(0));
    EXPECT_EQ(flags() & 8, 8);
    EXPECT_EQ(KesafiVirtual_AdicionaVendas(1), -27);
    st3(KESAFI_ST3_BLOQUEIO_POR_RZ);
    EXPECT_EQ(Kestrona_FI_ReducaoZ(nullptr, nullptr), -27);
    st3(KESAFI_ST3_BLOQUEIO_POR_RZ);
    EXPECT_EQ(Kestrona_FI_LeituraX(), 1);  // readings stay allowed
    relogio("000001", 1);
    EXPECT_EQ(flags() & 8, 0);
    EXPECT_EQ(KesafiVirtual_AdicionaVendas(1), 1);
}

// A discount is shared among the rates of its receipt and a cancellation
// takes its receipt's net amounts back: the partial totals add up to the net
// sales, as on a real printer.
TEST_F(DiaFiscal, PartialTotalsAreNetAndAddUpToTheNetSales) {
    const std::string antes = ultimaReducao();
    const long long ccf = contador("CCF"), cfc = contador("CFC"), cdc = contador("CDC");
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(25), 1);
    ASSERT_EQ(Kestrona_FI_CancelaCupom(), 1);  // the last receipt
    ASSERT_EQ(KesafiVirtual_DeixaDocumentoAberto("Cupom"), 1);
    ASSERT_EQ(Kestrona_FI_CancelaCupom(), 1);  // one in progress
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(5), 1);
    ASSERT_EQ(KesafiVirtual_AdicionaRecebimentos(1), 1);
    ASSERT_EQ(Kestrona_FI_ReducaoZ(nullptr, nullptr), 1);
    const std::string z = ultimaReducao();
    auto campo = [&](size_t posicao, size_t largura) { return std::stoll(fatia(z, posicao, largura)); };
    long long parciais = 0;
    for (size_t i = 0; i < 16; ++i) parciais += campo(335 + 14 * i, 14);
    for (size_t pos : {560, 575, 590, 605, 620, 635}) parciais += campo(pos, 14);
    const long long bruta = campo(316, 18) - std::stoll(fatia(antes, 316, 18));  // the grand total grows by it
    const long long descontos = campo(650, 14) + campo(665, 14);
    const long long acrescimos = campo(680, 14) + campo(695, 14);
    const long long cancelamentos = campo(710, 14) + campo(725, 14);
    EXPECT_EQ(campo(141, 18), bruta);
    EXPECT_GT(descontos, 0);
    EXPECT_GT(cancelamentos, 0);
    EXPECT_GT(parciais, 0);
    EXPECT_EQ(parciais, bruta - descontos - cancelamentos + acrescimos);

    EXPECT_EQ(campo(28, 6) - ccf, 31);
    EXPECT_EQ(campo(54, 4) - cfc, 2);
    EXPECT_EQ(std::stoll(fatia(z, 1148, 14)), 5000);  // the cash supply
    EXPECT_EQ(campo(4, 4), contador("CRO"));
    EXPECT_EQ(campo(21, 6), contador("GNF"));
    EXPECT_EQ(campo(301, 4), contador("CDC"));
    EXPECT_GT(contador("CDC"), cdc);  // receipts paid by card have their vouchers
    const std::string x = fita(1);
    EXPECT_NE(x.find("REDUCAO_Z"), std::string::npos);
    EXPECT_NE(x.find("REDU\xC7\xC3O Z"), std::string::npos);
}

TEST_F(DiaFiscal, ReductionAdjustsTheClockByAtMostFiveMinutes) {
    relogio("100000");
    EXPECT_EQ(Kestrona_FI_ReducaoZ(diaDdmmyy(0).c_str(), "102000"), 1);
    EXPECT_EQ(relogioEcf().second, "100500");
    ASSERT_EQ(KesafiVirtual_FixaRelogio((diaDdmmyyyy(1) + "100000").c_str()), 1);
    EXPECT_EQ(Kestrona_FI_ReducaoZ(diaDdmmyy(1).c_str(), "095800"), 1);
    EXPECT_EQ(relogioEcf().second, "095800");
    relogio("100000", 2);
    EXPECT_EQ(Kestrona_FI_ReducaoZ("311399", "100000"), -27);
    st3(KESAFI_ST3_DATA_E_HORA_INVALIDA);
    EXPECT_EQ(Kestrona_FI_ReducaoZ("0101", "100000"), -2);
    EXPECT_EQ(Kestrona_FI_ReducaoZ(diaDdmmyy(2).c_str(), nullptr), -2);
}

// A clock set back below the last document: every answer says the clock is
// wrong, and nothing is stored until it reads the last document's time again.
TEST_F(DiaFiscal, DocumentsBeforeTheLastStoredOneAreRefused) {
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(1), 1);
    EXPECT_EQ(status().st1 & 32, 0);
    const long long coo = contador("COO"), documentos = contador("Documentos");
    relogio("095959");
    std::string numero = espacos(KESAFI_LARGURA_COO);
    ASSERT_EQ(Kestrona_FI_NumeroCupom(numero.data()), 1);
    EXPECT_EQ(status().st1, 32);  // "Erro no Relógio"
    const std::pair<const char*, int (*)()> comandos[] = {
        {"sale", [] { return KesafiVirtual_AdicionaVendas(1); }},
        {"Reading X", [] { return Kestrona_FI_LeituraX(); }},
        {"Reduction Z", [] { return Kestrona_FI_ReducaoZ(nullptr, nullptr); }},
        {"managerial report", [] { return Kestrona_FI_AbreRelatorioGerencialMFD("1"); }},
        {"cancellation", [] { return Kestrona_FI_CancelaCupom(); }},
        {"drawer", [] { return Kestrona_FI_AcionaGaveta(); }},
        {"fiscal memory reading", [] { return Kestrona_FI_LeituraMemoriaFiscalReducaoMFD("0001", "0001", "s"); }},
    };
    for (const auto& [nome, comando] : comandos) {
        SCOPED_TRACE(nome);
        EXPECT_EQ(comando(), -27);
        const Status s = status();
        EXPECT_EQ(s.st1, 32);
        EXPECT_EQ(s.st2, 1);
        EXPECT_EQ(s.st3, 75);
    }
    EXPECT_EQ(contador("COO"), coo);
    EXPECT_EQ(contador("Documentos"), documentos);
    // An offset behind it does the same; the last document's own second is right again.
    ASSERT_EQ(KesafiVirtual_FixaRelogio(nullptr), 1);
    ASSERT_EQ(KesafiVirtual_DefineDeslocamentoRelogio(-3 * 86400), 1);
    EXPECT_EQ(Kestrona_FI_LeituraX(), -27);
    EXPECT_EQ(status().st3, 75);
    ASSERT_EQ(KesafiVirtual_DefineDeslocamentoRelogio(0), 1);
    relogio("100000");
    EXPECT_EQ(Kestrona_FI_CancelaCupom(), 1);
    EXPECT_EQ(status().st1, 0);
    EXPECT_EQ(contador("COO"), coo + 1);
}

TEST_F(DiaFiscal, ClockIsTheComputersPlusAnOffset) {
    ASSERT_EQ(KesafiVirtual_FixaRelogio(nullptr), 1);
    ASSERT_EQ(KesafiVirtual_DefineDeslocamentoRelogio(2 * 86400), 1);
    EXPECT_EQ(relogioEcf().first, diaDdmmyy(2));
    ASSERT_EQ(KesafiVirtual_DefineDeslocamentoRelogio(0), 1);
    EXPECT_EQ(relogioEcf().first, diaDdmmyy(0));
    EXPECT_EQ(KesafiVirtual_FixaRelogio("32012024100000"), -2);
}

TEST_F(DiaFiscal, DaylightSavingEntersRightAfterTheReductionAndMovesTheClock) {
    relogio("103000");
    EXPECT_EQ(flags() & 4, 0);
    ASSERT_EQ(Kestrona_FI_ProgramaHorarioVerao(), 1);
    EXPECT_EQ(flags() & 4, 4);
    EXPECT_EQ(relogioEcf().second, "113000");
    // Leaving: the last document (yesterday's reduction) is more than an hour old.
    ASSERT_EQ(Kestrona_FI_ProgramaHorarioVerao(), 1);
    EXPECT_EQ(flags() & 4, 0);
    EXPECT_EQ(relogioEcf().second, "103000");
}

TEST_F(DiaFiscal, DaylightSavingRefusals) {
    ASSERT_EQ(Kestrona_FI_LeituraX(), 1);
    EXPECT_EQ(Kestrona_FI_ProgramaHorarioVerao(), -27);
    st3(KESAFI_ST3_HORARIO_DE_VERAO_SO_APOS_RZ);
    EXPECT_EQ(status().st2, 1);
    // Right after a reduction at 10:00 the state may change, but leaving
    // waits until one hour after that reduction.
    ASSERT_EQ(Kestrona_FI_ReducaoZ(nullptr, nullptr), 1);
    ASSERT_EQ(Kestrona_FI_ProgramaHorarioVerao(), 1);  // enter: clock 11:00
    relogio("103000");                                 // clock now 30 minutes after the reduction
    EXPECT_EQ(Kestrona_FI_ProgramaHorarioVerao(), -27);
    st3(KESAFI_ST3_DATA_E_HORA_ANTERIORES_AO_ULTIMO_DOC);
    EXPECT_EQ(flags() & 4, 4);
    relogio("110001");
    EXPECT_EQ(Kestrona_FI_ProgramaHorarioVerao(), 1);
    EXPECT_EQ(relogioEcf().second, "100001");
}

}  // namespace
}  // namespace kesafi_teste
