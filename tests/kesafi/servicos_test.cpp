// Drawer, cutter, spacing, managerial reports, cancellations and off-line handling.
#include <cstdio>

#include "apoio.h"

namespace kesafi_teste {
namespace {

class Servicos : public ImpressoraLocalizada {
protected:
    int gaveta() {
        int estado = -1;
        EXPECT_EQ(Kestrona_FI_VerificaEstadoGaveta(&estado), 1);
        return estado;
    }
};

TEST_F(Servicos, DrawerOpensAndIsClosedAgainAfterAWhile) {
    EXPECT_EQ(gaveta(), 1);
    ASSERT_EQ(Kestrona_FI_AcionaGaveta(), 1);
    EXPECT_EQ(gaveta(), 0);
    relogio("100009");
    EXPECT_EQ(gaveta(), 0);
    relogio("100010");
    EXPECT_EQ(gaveta(), 1);
    EXPECT_EQ(Kestrona_FI_VerificaEstadoGaveta(nullptr), -2);
}

TEST_F(Servicos, CutterSwitchesAndCuts) {
    ASSERT_EQ(Kestrona_FI_AtivaDesativaCorteTotalMFD(0), 1);
    EXPECT_EQ(contador("CorteTotal"), 0);
    EXPECT_EQ(Kestrona_FI_AcionaGuilhotinaMFD(0), 1);
    EXPECT_NE(fita(1).find("CORTE PARCIAL"), std::string::npos);
    ASSERT_EQ(Kestrona_FI_AtivaDesativaGuilhotinaMFD(0), 1);
    EXPECT_EQ(contador("Guilhotina"), 0);
    recusado(Kestrona_FI_AcionaGuilhotinaMFD(0), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_COMANDO_NAO_EFETIVADO);
    ASSERT_EQ(Kestrona_FI_AtivaDesativaGuilhotinaMFD(1), 1);
    EXPECT_EQ(Kestrona_FI_AtivaDesativaGuilhotinaMFD(2), -2);
    EXPECT_EQ(Kestrona_FI_AtivaDesativaCorteTotalMFD(-1), -2);
    EXPECT_EQ(Kestrona_FI_AcionaGuilhotinaMFD(7), -2);
}

TEST_F(Servicos, SpacingOutOfRangeIsRefused) {
    ASSERT_EQ(Kestrona_FI_EspacoEntreLinhas(40), 1);
    EXPECT_EQ(contador("EspacoEntreLinhas"), 40);
    recusado(Kestrona_FI_EspacoEntreLinhas(128), KESAFI_ST1_PARAMETRO_INVALIDO, 0,
             KESAFI_ST3_ESPACOS_FORA_DO_PERMITIDO);
    recusado(Kestrona_FI_EspacoEntreLinhas(-1), KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_ESPACOS_FORA_DO_PERMITIDO);
    ASSERT_EQ(Kestrona_FI_LinhasEntreCupons(12), 1);
    EXPECT_EQ(contador("LinhasEntreCupons"), 12);
    recusado(Kestrona_FI_LinhasEntreCupons(4), KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_ESPACOS_FORA_DO_PERMITIDO);
    recusado(Kestrona_FI_LinhasEntreCupons(31), KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_ESPACOS_FORA_DO_PERMITIDO);
    EXPECT_EQ(contador("EspacoEntreLinhas"), 40);
    EXPECT_EQ(contador("LinhasEntreCupons"), 12);
}

TEST_F(Servicos, ManagerialReportCollectsTextAndCutsUntilClosed) {
    const long long grg = contador("GRG"), coo = contador("COO");
    ASSERT_EQ(Kestrona_FI_AbreRelatorioGerencialMFD("1"), 1);
    EXPECT_EQ(contador("COO"), coo + 1);
    EXPECT_EQ(contador("GRG"), grg + 1);
    ASSERT_EQ(Kestrona_FI_UsaRelatorioGerencialMFD("Teste guilhotina Zentora , Documento sem valor!"), 1);
    ASSERT_EQ(Kestrona_FI_AcionaGuilhotinaMFD(0), 1);
    // Another document may not start while the report is open.
    recusado(Kestrona_FI_LeituraX(), KESAFI_ST1_CUPOM_ABERTO, 0, KESAFI_ST3_CUPOM_NAO_FISCAL_ABERTO);
    recusado(Kestrona_FI_ReducaoZ(nullptr, nullptr), KESAFI_ST1_CUPOM_ABERTO, 0, KESAFI_ST3_CUPOM_NAO_FISCAL_ABERTO);
    recusado(Kestrona_FI_AbreRelatorioGerencialMFD("1"), KESAFI_ST1_CUPOM_ABERTO, 0,
             KESAFI_ST3_CUPOM_NAO_FISCAL_ABERTO);
    ASSERT_EQ(Kestrona_FI_FechaRelatorioGerencial(), 1);
    const std::string t = fita(1);
    EXPECT_NE(t.find("GERENCIAL"), std::string::npos);
    EXPECT_NE(t.find("Relatorio Geral"), std::string::npos);
    EXPECT_NE(t.find("Teste guilhotina Zentora , Documento"), std::string::npos);
    EXPECT_NE(t.find("CORTE TOTAL"), std::string::npos);
    EXPECT_NE(t.find("FAB:VF08"), std::string::npos);
    EXPECT_EQ(Kestrona_FI_LeituraX(), 1);
    std::string rel = espacos(KESAFI_LARGURA_RELATORIOS_GERENCIAIS);
    ASSERT_EQ(Kestrona_FI_VerificaRelatorioGerencialMFD(rel.data()), 1);
    EXPECT_EQ(fatia(rel, 1, 4), "0001");
}

TEST_F(Servicos, ManagerialReportRefusals) {
    recusado(Kestrona_FI_UsaRelatorioGerencialMFD("texto"), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
             KESAFI_ST3_SEM_RELATORIO_GERENCIAL_ABERTO);
    recusado(Kestrona_FI_FechaRelatorioGerencial(), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
             KESAFI_ST3_SEM_RELATORIO_GERENCIAL_ABERTO);
    recusado(Kestrona_FI_AbreRelatorioGerencialMFD("09"), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
             KESAFI_ST3_RELATORIO_GERENCIAL_NAO_PROGRAMADO);
    recusado(Kestrona_FI_AbreRelatorioGerencialMFD("31"), KESAFI_ST1_PARAMETRO_INVALIDO, 0,
             KESAFI_ST3_NUMERO_DO_RELATORIO_INVALIDO);
    EXPECT_EQ(Kestrona_FI_AbreRelatorioGerencialMFD(nullptr), -2);
}

TEST_F(Servicos, CancelsOnlyTheLastFiscalReceipt) {
    recusado(Kestrona_FI_CancelaCupom(), 0, KESAFI_ST2_CANCELAMENTO_NAO_PERMITIDO,
             KESAFI_ST3_NAO_IMEDIATAMENTE_APOS_O_CUPOM);  // the last document is the reduction
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(2), 1);
    const long long cfc = contador("CFC"), ccf = contador("CCF");
    ASSERT_EQ(Kestrona_FI_CancelaCupom(), 1);
    EXPECT_EQ(contador("CFC"), cfc + 1);
    EXPECT_EQ(contador("CCF"), ccf);
    EXPECT_NE(fita(1).find("CUPOM FISCAL CANCELADO"), std::string::npos);
    recusado(Kestrona_FI_CancelaCupom(), 0, KESAFI_ST2_CANCELAMENTO_NAO_PERMITIDO, KESAFI_ST3_CANCELAMENTO_JA_EFETUADO);
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(1), 1);
    ASSERT_EQ(Kestrona_FI_LeituraX(), 1);
    recusado(Kestrona_FI_CancelaCupom(), 0, KESAFI_ST2_CANCELAMENTO_NAO_PERMITIDO,
             KESAFI_ST3_NAO_IMEDIATAMENTE_APOS_O_CUPOM);
}

TEST_F(Servicos, CancelsTheLastNonFiscalReceipt) {
    recusado(Kestrona_FI_CancelaRecebimentoNaoFiscalMFD(nullptr, nullptr, nullptr), 0,
             KESAFI_ST2_CANCELAMENTO_NAO_PERMITIDO, KESAFI_ST3_NAO_IMEDIATAMENTE_APOS_O_CUPOM);
    ASSERT_EQ(KesafiVirtual_AdicionaRecebimentos(1), 1);
    const long long cnc = contador("CNC");
    ASSERT_EQ(Kestrona_FI_CancelaRecebimentoNaoFiscalMFD(nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(contador("CNC"), cnc + 1);
    recusado(Kestrona_FI_CancelaRecebimentoNaoFiscalMFD(nullptr, nullptr, nullptr), 0,
             KESAFI_ST2_CANCELAMENTO_NAO_PERMITIDO, KESAFI_ST3_CANCELAMENTO_JA_EFETUADO);
}

TEST_F(Servicos, AReceiptLeftOpenHoldsThePrinterUntilItIsCancelledOnItsOwnPaper) {
    const long long coo = contador("COO"), ccf = contador("CCF"), cfc = contador("CFC");
    ASSERT_EQ(KesafiVirtual_DeixaDocumentoAberto("Cupom"), 1);
    EXPECT_EQ(contador("COO"), coo + 1);
    EXPECT_EQ(contador("CCF"), ccf + 1);
    EXPECT_EQ(contador("FlagsFiscais") & 1, 1);
    // Every answer shows it; other documents wait for it.
    std::string numero = espacos(KESAFI_LARGURA_COO);
    ASSERT_EQ(Kestrona_FI_NumeroCupom(numero.data()), 1);
    EXPECT_EQ(status().st1, 2);
    recusado(Kestrona_FI_LeituraX(), KESAFI_ST1_CUPOM_ABERTO, 0, KESAFI_ST3_CUPOM_FISCAL_ABERTO);
    recusado(Kestrona_FI_ReducaoZ(nullptr, nullptr), KESAFI_ST1_CUPOM_ABERTO, 0, KESAFI_ST3_CUPOM_FISCAL_ABERTO);
    recusado(Kestrona_FI_AbreRelatorioGerencialMFD("1"), KESAFI_ST1_CUPOM_ABERTO, 0, KESAFI_ST3_CUPOM_FISCAL_ABERTO);
    recusado(Kestrona_FI_CancelaRecebimentoNaoFiscalMFD(nullptr, nullptr, nullptr), KESAFI_ST1_CUPOM_ABERTO, 0,
             KESAFI_ST3_CUPOM_FISCAL_ABERTO);
    recusado(Kestrona_FI_FechaRelatorioGerencial(), KESAFI_ST1_CUPOM_ABERTO, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
             KESAFI_ST3_SEM_RELATORIO_GERENCIAL_ABERTO);
    EXPECT_EQ(KesafiVirtual_DeixaDocumentoAberto("NaoFiscal"), -27);

    // It survives the program: the memory keeps it.
    ASSERT_EQ(KesafiVirtual_DefinePastaBase(pasta.c_str()), 1);
    localiza();
    EXPECT_EQ(contador("FlagsFiscais") & 1, 1);

    relogio("100100");
    ASSERT_EQ(Kestrona_FI_CancelaCupom(), 1);
    EXPECT_EQ(status().st1, 0);
    EXPECT_EQ(contador("COO"), coo + 1);
    EXPECT_EQ(contador("CFC"), cfc + 1);
    EXPECT_EQ(contador("FlagsFiscais") & 1, 0);
    const std::string t = fita(1);
    char cooDoCupom[32];
    std::snprintf(cooDoCupom, sizeof cooDoCupom, "COO:%06lld", coo + 1);
    EXPECT_NE(t.find(cooDoCupom), std::string::npos);
    EXPECT_NE(t.find("CUPOM FISCAL CANCELADO"), std::string::npos);
    EXPECT_NE(t.find("FAB:VF08"), std::string::npos);
    std::string hora = espacos(KESAFI_LARGURA_DATA_HORA_ULTIMO_DOC);
    ASSERT_EQ(Kestrona_FI_DataHoraUltimoDocumentoMFD(hora.data()), 1);
    EXPECT_EQ(fatia(hora, 7, 6), "100100");
    recusado(Kestrona_FI_CancelaCupom(), 0, KESAFI_ST2_CANCELAMENTO_NAO_PERMITIDO, KESAFI_ST3_CANCELAMENTO_JA_EFETUADO);
    EXPECT_EQ(Kestrona_FI_LeituraX(), 1);
    recusado(Kestrona_FI_CancelaCupom(), 0, KESAFI_ST2_CANCELAMENTO_NAO_PERMITIDO,
             KESAFI_ST3_NAO_IMEDIATAMENTE_APOS_O_CUPOM);
}

TEST_F(Servicos, ANonFiscalReceiptOrAReportLeftOpenIsEndedByItsOwnCommand) {
    const long long coo = contador("COO"), cnc = contador("CNC");
    ASSERT_EQ(KesafiVirtual_DeixaDocumentoAberto("naofiscal"), 1);
    EXPECT_EQ(contador("FlagsFiscais") & 1, 0);
    recusado(Kestrona_FI_CancelaCupom(), KESAFI_ST1_CUPOM_ABERTO, 0, KESAFI_ST3_CUPOM_NAO_FISCAL_ABERTO);
    recusado(Kestrona_FI_LeituraX(), KESAFI_ST1_CUPOM_ABERTO, 0, KESAFI_ST3_CUPOM_NAO_FISCAL_ABERTO);
    ASSERT_EQ(Kestrona_FI_CancelaRecebimentoNaoFiscalMFD(nullptr, nullptr, nullptr), 1);
    char textos[64];
    ASSERT_EQ(KesafiVirtual_LeTextos(textos, sizeof textos), 14);
    EXPECT_STREQ(textos, "NULL,NULL,NULL");
    EXPECT_EQ(contador("COO"), coo + 1);
    EXPECT_EQ(contador("CNC"), cnc + 1);
    EXPECT_NE(fita(1).find("CANCELADO"), std::string::npos);
    recusado(Kestrona_FI_CancelaRecebimentoNaoFiscalMFD(nullptr, nullptr, nullptr), 0,
             KESAFI_ST2_CANCELAMENTO_NAO_PERMITIDO, KESAFI_ST3_CANCELAMENTO_JA_EFETUADO);

    ASSERT_EQ(KesafiVirtual_DeixaDocumentoAberto("GERENCIAL"), 1);
    recusado(Kestrona_FI_CancelaCupom(), KESAFI_ST1_CUPOM_ABERTO, 0, KESAFI_ST3_CUPOM_NAO_FISCAL_ABERTO);
    ASSERT_EQ(Kestrona_FI_FechaRelatorioGerencial(), 1);
    EXPECT_NE(fita(1).find("FAB:VF08"), std::string::npos);
    recusado(Kestrona_FI_FechaRelatorioGerencial(), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
             KESAFI_ST3_SEM_RELATORIO_GERENCIAL_ABERTO);

    EXPECT_EQ(KesafiVirtual_DeixaDocumentoAberto("Pedido"), -2);
    EXPECT_EQ(KesafiVirtual_DeixaDocumentoAberto(nullptr), -2);
    relogio("100000", 1);  // a reduction is pending
    EXPECT_EQ(KesafiVirtual_DeixaDocumentoAberto("Cupom"), -27);
}

TEST_F(Servicos, TheVirtualKeyLeavesTheDocumentOpenAtEachOpeningOfThePort) {
    escreveIni("Virtual", "DocumentoAberto", "Cupom");
    localiza();
    const long long coo = contador("COO");
    EXPECT_EQ(contador("FlagsFiscais") & 1, 1);
    localiza();  // one is open already: no second one
    EXPECT_EQ(contador("COO"), coo);
    ASSERT_EQ(Kestrona_FI_CancelaCupom(), 1);
    localiza();
    EXPECT_EQ(contador("COO"), coo + 1);
    EXPECT_EQ(contador("FlagsFiscais") & 1, 1);

    ASSERT_EQ(Kestrona_FI_CancelaCupom(), 1);
    escreveIni("Virtual", "DocumentoAberto", "");
    localiza();
    EXPECT_EQ(contador("FlagsFiscais") & 1, 0);
}

TEST_F(Servicos, ADrawerReadingCanBeForced) {
    ASSERT_EQ(KesafiVirtual_ForcaEstadoGaveta(7), 1);
    ASSERT_EQ(KesafiVirtual_ForcaEstadoGaveta(0), 1);
    EXPECT_EQ(gaveta(), 7);
    EXPECT_EQ(gaveta(), 0);
    EXPECT_EQ(gaveta(), 1);
    ASSERT_EQ(KesafiVirtual_ForcaEstadoGaveta(5), 1);
    ASSERT_EQ(KesafiVirtual_LimpaForcados(), 1);
    EXPECT_EQ(gaveta(), 1);
}

TEST_F(Servicos, OffLineHandlingIsRemembered) {
    ASSERT_EQ(Kestrona_FI_AtivaDesativaTratamentoONOFFLineMFD(0), 1);
    EXPECT_EQ(Kestrona_FI_AtivaDesativaTratamentoONOFFLineMFD(5), -2);
    ASSERT_EQ(KesafiVirtual_DefinePastaBase(pasta.c_str()), 1);
    EXPECT_EQ(contador("TratamentoOffLine"), 0);
}

// The tape detail memory fills with use; full, it takes no new document,
// while what completes an open one still goes in.
TEST_F(Servicos, AFullTapeRefusesNewDocuments) {
    auto livre = [] { return le(Kestrona_FI_PercentualLivreMFD, KESAFI_LARGURA_PERCENTUAL_LIVRE); };
    const std::string antes = livre();
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(300), 1);
    EXPECT_LT(livre(), antes);

    // Room for a little more: 0,01% of the capacity left, and then some.
    const long long capacidade = 1LL << 30;
    alteraMemoria("UPDATE estado SET bytes_mfd = " + std::to_string(capacidade - capacidade / 10000 - 3000));
    localiza();
    EXPECT_EQ(livre(), "00,01%");
    ASSERT_EQ(Kestrona_FI_AbreRelatorioGerencialMFD("1"), 1);
    int linhas = 0;
    while (livre() == "00,01%" && linhas < 1000) {
        ASSERT_EQ(Kestrona_FI_UsaRelatorioGerencialMFD("Linha do relat\xF3rio"), 1);
        ++linhas;
    }
    EXPECT_EQ(livre(), "00,00%");
    EXPECT_EQ(Kestrona_FI_UsaRelatorioGerencialMFD("Ainda cabe no relat\xF3rio aberto"), 1);
    EXPECT_EQ(Kestrona_FI_AcionaGuilhotinaMFD(0), 1);
    ASSERT_EQ(Kestrona_FI_FechaRelatorioGerencial(), 1);
    const long long coo = contador("COO"), documentos = contador("Documentos");
    recusado(KesafiVirtual_AdicionaVendas(1), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_MFD_LOTADA);
    recusado(Kestrona_FI_LeituraX(), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_MFD_LOTADA);
    recusado(Kestrona_FI_ReducaoZ(nullptr, nullptr), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_MFD_LOTADA);
    recusado(Kestrona_FI_AcionaGaveta(), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO, KESAFI_ST3_MFD_LOTADA);
    EXPECT_EQ(contador("COO"), coo);
    EXPECT_EQ(contador("Documentos"), documentos);
    EXPECT_NE(fita(1).find("FAB:VF08"), std::string::npos);  // the report was closed on its paper
}

// A receipt paid by card has its voucher; cancelling the receipt reverses it.
TEST_F(Servicos, ACardPaymentPrintsItsVoucherAndACancellationReversesIt) {
    const long long cdc = contador("CDC"), estornos = contador("CDCCancelados");
    int vendas = 0;
    while (contador("CDC") == cdc && vendas < 50) {
        ASSERT_EQ(KesafiVirtual_AdicionaVendas(1), 1);
        ++vendas;
    }
    ASSERT_EQ(contador("CDC"), cdc + 1);
    const std::string voucher = fita(1);
    EXPECT_EQ(voucher.find("COO "), 0u);
    EXPECT_NE(voucher.find("COMPROVANTE_CD"), std::string::npos);
    EXPECT_NE(voucher.find("COMPROVANTE CR\xC9\x44ITO OU D\xC9\x42ITO"), std::string::npos);
    EXPECT_EQ(contador("FlagsFiscais") & 32, 32);  // its receipt may still be cancelled
    ASSERT_EQ(Kestrona_FI_CancelaCupom(), 1);
    EXPECT_EQ(contador("CDCCancelados"), estornos + 1);
    EXPECT_NE(fita(1).find("ESTORNO DO COMPROVANTE"), std::string::npos);
}

// A technical intervention restarts the operation: CRO goes up, once the
// day's movement has its reduction.
TEST_F(Servicos, ATechnicalInterventionRestartsTheOperation) {
    const long long cro = contador("CRO");
    ASSERT_EQ(KesafiVirtual_IntervencaoTecnica(), 1);
    EXPECT_EQ(contador("CRO"), cro + 1);
    EXPECT_NE(fita(1).find("INTERVEN\xC7\xC3O T\xC9\x43NICA"), std::string::npos);
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(1), 1);
    recusado(KesafiVirtual_IntervencaoTecnica(), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
             KESAFI_ST3_AGUARDANDO_RZ_PARA_INTERVENCAO);
    ASSERT_EQ(Kestrona_FI_ReducaoZ(nullptr, nullptr), 1);
    std::string z = espacos(KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO);
    ASSERT_EQ(Kestrona_FI_DadosUltimaReducaoMFD(z.data()), 1);
    EXPECT_EQ(std::stoll(fatia(z, 4, 4)), cro + 1);
    ASSERT_EQ(KesafiVirtual_IntervencaoTecnica(), 1);
    EXPECT_EQ(contador("CRO"), cro + 2);
}

TEST_F(Servicos, EveryCommandLeavesATraceOnTheTape) {
    long long antes = contador("Documentos");
    for (auto comando :
         {+[] { return Kestrona_FI_AcionaGaveta(); }, +[] { return Kestrona_FI_EspacoEntreLinhas(20); },
          +[] { return Kestrona_FI_LinhasEntreCupons(9); }, +[] { return Kestrona_FI_AtivaDesativaGuilhotinaMFD(1); },
          +[] { return Kestrona_FI_AtivaDesativaTratamentoONOFFLineMFD(1); },
          +[] { return Kestrona_FI_ProgramaHorarioVerao(); }}) {
        ASSERT_EQ(comando(), 1);
        EXPECT_EQ(contador("Documentos"), antes + 1);
        antes = contador("Documentos");
    }
}

}  // namespace
}  // namespace kesafi_teste
