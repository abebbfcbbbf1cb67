// The four tables: answer layouts, programming into the next free place, and
// every refusal with its status bits and extended code.
#include "apoio.h"

namespace kesafi_teste {
namespace {

std::string aliquotas() { return le(Kestrona_FI_RetornoAliquotas, KESAFI_LARGURA_ALIQUOTAS); }

std::string indicesIss() { return le(Kestrona_FI_VerificaIndiceAliquotasIss, KESAFI_LARGURA_INDICES_ISS); }

std::string formas() { return le(Kestrona_FI_VerificaFormasPagamento, KESAFI_LARGURA_FORMAS_PAGAMENTO); }

std::string totalizadores() { return le(Kestrona_FI_VerificaRecebimentoNaoFiscalMFD, KESAFI_LARGURA_RECEBIMENTOS); }

std::string relatorios() { return le(Kestrona_FI_VerificaRelatorioGerencialMFD, KESAFI_LARGURA_RELATORIOS_GERENCIAIS); }

using Tabelas = ImpressoraLocalizada;

TEST_F(Tabelas, FactoryAndPastTablesAreSlicedWhereTheProgramCutsThem) {
    const std::string a = aliquotas();
    EXPECT_EQ(fatia(a, 1, 4), "1800");
    EXPECT_EQ(fatia(a, 6, 4), "1200");
    EXPECT_EQ(fatia(a, 11, 4), "0500");
    EXPECT_EQ(fatia(a, 5 * 15 + 1, 4), "0000");
    EXPECT_EQ(fatia(indicesIss(), 1, 2), "03");
    EXPECT_EQ(fatia(indicesIss(), 4, 2), "  ");

    const std::string f = formas();
    EXPECT_EQ(fatia(f, 1, 16), "Dinheiro        ");
    EXPECT_EQ(f[56], '0');
    EXPECT_EQ(fatia(f, 58 + 1, 16), "Cartao Credito  ");
    EXPECT_EQ(f[58 + 56], '1');
    EXPECT_EQ(fatia(f, 58 * 19 + 1, 16), espacos(16));

    const std::string t = totalizadores();
    EXPECT_EQ(fatia(t, 1, 19), "Crediario          ");
    EXPECT_EQ(fatia(t, 34 * 1 + 1, 19), espacos(19));
    EXPECT_EQ(fatia(t, 34 * 28 + 1, 19), "Sangria            ");
    EXPECT_EQ(fatia(t, 34 * 29 + 1, 19), "Suprimento         ");

    const std::string r = relatorios();
    EXPECT_EQ(fatia(r, 5, 17), "Relatorio Geral  ");
    EXPECT_EQ(fatia(r, 22 + 5, 17), "Fechamento Cx    ");
    EXPECT_EQ(fatia(r, 22 * 29 + 5, 17), espacos(17));
}

TEST_F(Tabelas, RatesFillTheNextFreeSlotUntilNoneIsLeft) {
    EXPECT_EQ(Kestrona_FI_ProgramaAliquota("0750", 0), 1);
    EXPECT_EQ(Kestrona_FI_ProgramaAliquota("0200", 1), 1);
    EXPECT_EQ(fatia(aliquotas(), 16, 4), "0750");
    EXPECT_EQ(fatia(aliquotas(), 21, 4), "0200");
    EXPECT_EQ(fatia(indicesIss(), 1, 6), "03,05,");
    int programadas = 5;
    while (Kestrona_FI_ProgramaAliquota("1700", programadas % 2) == 1) ++programadas;
    EXPECT_EQ(programadas, 16);
    recusado(Kestrona_FI_ProgramaAliquota("2500", 0), 0, KESAFI_ST2_ALIQUOTA_ESGOTADA,
             KESAFI_ST3_TODAS_ALIQUOTAS_JA_PROGRAMADAS);
    // The ISS list stays ascending.
    const std::string iss = indicesIss();
    for (size_t j = 1; j < 16 && iss[3 * j] != ' '; ++j) EXPECT_LT(iss.substr(3 * (j - 1), 2), iss.substr(3 * j, 2));
}

TEST_F(Tabelas, RateRefusalsAndBadArguments) {
    recusado(Kestrona_FI_ProgramaAliquota("0000", 0), KESAFI_ST1_PARAMETRO_INVALIDO, 0,
             KESAFI_ST3_ALIQUOTA_COM_VALOR_NULO);
    EXPECT_EQ(Kestrona_FI_ProgramaAliquota("17,0", 0), -2);
    EXPECT_EQ(Kestrona_FI_ProgramaAliquota("170", 0), -2);
    EXPECT_EQ(Kestrona_FI_ProgramaAliquota("1700", 2), -2);
    EXPECT_EQ(Kestrona_FI_ProgramaAliquota(nullptr, 0), -2);
    EXPECT_EQ(fatia(aliquotas(), 16, 4), "0000");
}

TEST_F(Tabelas, PaymentMethodsKeepFifteenCharactersAndRefuseDuplicates) {
    EXPECT_EQ(Kestrona_FI_ProgramaFormaPagamentoMFD("Vale Alimentacao", "0"), 1);
    EXPECT_EQ(Kestrona_FI_ProgramaFormaPagamentoMFD("PIX             ", "1"), 1);
    const std::string f = formas();
    EXPECT_EQ(fatia(f, 58 * 3 + 1, 16), "Vale Alimentaca ");
    EXPECT_EQ(f[58 * 3 + 56], '0');
    EXPECT_EQ(fatia(f, 58 * 4 + 1, 16), "PIX             ");
    EXPECT_EQ(f[58 * 4 + 56], '1');
    recusado(Kestrona_FI_ProgramaFormaPagamentoMFD("DINHEIRO", "0"), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
             KESAFI_ST3_FORMA_DE_PAGAMENTO_JA_PROGRAMADA);
    recusado(Kestrona_FI_ProgramaFormaPagamentoMFD("Vale Alimentacao Extra", "0"), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
             KESAFI_ST3_FORMA_DE_PAGAMENTO_JA_PROGRAMADA);
    recusado(Kestrona_FI_ProgramaFormaPagamentoMFD("                ", "1"), KESAFI_ST1_PARAMETRO_INVALIDO, 0,
             KESAFI_ST3_NOME_EM_BRANCO);
    EXPECT_EQ(Kestrona_FI_ProgramaFormaPagamentoMFD("Cheque", "V"), -2);
    int n = 5;
    while (Kestrona_FI_ProgramaFormaPagamentoMFD(("Forma " + std::to_string(n)).c_str(), "0") == 1) ++n;
    EXPECT_EQ(n, 20);
    recusado(Kestrona_FI_ProgramaFormaPagamentoMFD("Mais Uma", "0"), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
             KESAFI_ST3_SEM_ESPACO_PARA_FORMAS_DE_PAGAMENTO);
}

TEST_F(Tabelas, NonFiscalTotalizersAreNamedByIndexOnce) {
    EXPECT_EQ(Kestrona_FI_NomeiaTotalizadorNaoSujeitoIcms(5, "Recarga Celular    "), 1);
    EXPECT_EQ(fatia(totalizadores(), 34 * 4 + 1, 19), "Recarga Celular    ");
    EXPECT_EQ(fatia(totalizadores(), 34 * 3 + 1, 19), espacos(19));
    recusado(Kestrona_FI_NomeiaTotalizadorNaoSujeitoIcms(5, "Outro Nome"), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
             KESAFI_ST3_TOTALIZADOR_NAO_FISCAL_JA_PROGRAMADO);
    recusado(Kestrona_FI_NomeiaTotalizadorNaoSujeitoIcms(29, "Retirada"), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
             KESAFI_ST3_TOTALIZADOR_NAO_FISCAL_JA_PROGRAMADO);
    recusado(Kestrona_FI_NomeiaTotalizadorNaoSujeitoIcms(31, "Fora"), KESAFI_ST1_PARAMETRO_INVALIDO, 0,
             KESAFI_ST3_NUMERO_DO_TOTALIZADOR_INVALIDO);
    recusado(Kestrona_FI_NomeiaTotalizadorNaoSujeitoIcms(0, "Fora"), KESAFI_ST1_PARAMETRO_INVALIDO, 0,
             KESAFI_ST3_NUMERO_DO_TOTALIZADOR_INVALIDO);
    recusado(Kestrona_FI_NomeiaTotalizadorNaoSujeitoIcms(6, "                   "), KESAFI_ST1_PARAMETRO_INVALIDO, 0,
             KESAFI_ST3_NOME_EM_BRANCO);
    recusado(Kestrona_FI_NomeiaTotalizadorNaoSujeitoIcms(6, "SANGRIA"), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
             KESAFI_ST3_DESCRICAO_IGUAL_A_DEFAULT);
    EXPECT_EQ(Kestrona_FI_NomeiaTotalizadorNaoSujeitoIcms(6, nullptr), -2);
    EXPECT_EQ(fatia(totalizadores(), 34 * 4 + 1, 19), "Recarga Celular    ");
}

TEST_F(Tabelas, ManagerialReportsAreNamedByIndexOnce) {
    EXPECT_EQ(Kestrona_FI_NomeiaRelatorioGerencialMFD("07", "Conferencia Caixa"), 1);
    EXPECT_EQ(Kestrona_FI_NomeiaRelatorioGerencialMFD("8", "Sangrias do Dia  "), 1);
    const std::string r = relatorios();
    EXPECT_EQ(fatia(r, 22 * 6 + 5, 17), "Conferencia Cai  ");
    EXPECT_EQ(fatia(r, 22 * 7 + 5, 17), "Sangrias do Dia  ");
    recusado(Kestrona_FI_NomeiaRelatorioGerencialMFD("07", "Outro"), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
             KESAFI_ST3_RELATORIO_GERENCIAL_JA_PROGRAMADO);
    recusado(Kestrona_FI_NomeiaRelatorioGerencialMFD("01", "Outro"), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
             KESAFI_ST3_RELATORIO_GERENCIAL_JA_PROGRAMADO);
    recusado(Kestrona_FI_NomeiaRelatorioGerencialMFD("31", "Outro"), KESAFI_ST1_PARAMETRO_INVALIDO, 0,
             KESAFI_ST3_NUMERO_DO_RELATORIO_INVALIDO);
    recusado(Kestrona_FI_NomeiaRelatorioGerencialMFD("x", "Outro"), KESAFI_ST1_PARAMETRO_INVALIDO, 0,
             KESAFI_ST3_NUMERO_DO_RELATORIO_INVALIDO);
    EXPECT_EQ(Kestrona_FI_NomeiaRelatorioGerencialMFD(nullptr, "Outro"), -2);
}

// A name stays in the printer for good: bytes it cannot store (control
// characters, the bytes Windows-1252 leaves undefined) are refused as a bad
// parameter and no table changes; accented letters and the euro sign go in.
TEST_F(Tabelas, NamesWithBytesThePrinterCannotStoreAreRefused) {
    const std::string antes = formas() + totalizadores() + relatorios();
    const long long documentos = contador("Documentos");
    for (const char* byte : {"\t", "\x1b", "\a", "\r", "\n", "\x7f", "\x01", "\x81", "\x8d", "\x8f", "\x90", "\x9d"}) {
        SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(byte[0])));
        const std::string nome = std::string("Nome") + byte + "X";
        EXPECT_EQ(Kestrona_FI_ProgramaFormaPagamentoMFD(nome.c_str(), "0"), -2);
        EXPECT_EQ(status(),
                  (Status{KESAFI_ACK, KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_TIPO_DE_PARAMETRO_INVALIDO}));
        EXPECT_EQ(Kestrona_FI_NomeiaTotalizadorNaoSujeitoIcms(7, nome.c_str()), -2);
        EXPECT_EQ(status(),
                  (Status{KESAFI_ACK, KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_TIPO_DE_PARAMETRO_INVALIDO}));
        EXPECT_EQ(Kestrona_FI_NomeiaRelatorioGerencialMFD("09", nome.c_str()), -2);
        EXPECT_EQ(status(),
                  (Status{KESAFI_ACK, KESAFI_ST1_PARAMETRO_INVALIDO, 0, KESAFI_ST3_TIPO_DE_PARAMETRO_INVALIDO}));
    }
    // Past the characters a table keeps, too: the whole text is refused.
    EXPECT_EQ(Kestrona_FI_ProgramaFormaPagamentoMFD("Dezesseis Letras\r\n", "0"), -2);
    EXPECT_EQ(formas() + totalizadores() + relatorios(), antes);
    EXPECT_EQ(contador("Documentos"), documentos);

    EXPECT_EQ(Kestrona_FI_ProgramaFormaPagamentoMFD("Cart\xe3o \x80uro", "0"), 1);
    EXPECT_EQ(fatia(formas(), 58 * 3 + 1, 16), "Cart\xe3o \x80uro     ");
    EXPECT_EQ(Kestrona_FI_NomeiaTotalizadorNaoSujeitoIcms(7, "Manuten\xe7\xe3o"), 1);
    EXPECT_EQ(Kestrona_FI_NomeiaRelatorioGerencialMFD("09", "Confer\xeancia"), 1);
}

TEST_F(Tabelas, NoTableChangesAfterMovementInTheDay) {
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(1), 1);
    recusado(Kestrona_FI_ProgramaAliquota("0700", 0), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
             KESAFI_ST3_JA_HOUVE_MOVIMENTO_NO_DIA);
    recusado(Kestrona_FI_ProgramaFormaPagamentoMFD("Cheque", "0"), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
             KESAFI_ST3_JA_HOUVE_MOVIMENTO_NO_DIA);
    recusado(Kestrona_FI_NomeiaTotalizadorNaoSujeitoIcms(9, "Taxa"), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
             KESAFI_ST3_JA_HOUVE_MOVIMENTO_NO_DIA);
    recusado(Kestrona_FI_NomeiaRelatorioGerencialMFD("09", "Taxa"), 0, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
             KESAFI_ST3_JA_HOUVE_MOVIMENTO_NO_DIA);
    // A reduction closes the movement: programming is allowed again.
    ASSERT_EQ(Kestrona_FI_ReducaoZ(nullptr, nullptr), 1);
    EXPECT_EQ(Kestrona_FI_ProgramaAliquota("0700", 0), 1);
}

TEST_F(Tabelas, ProgrammedTablesSurviveARestartAndLeaveATrace) {
    const long long documentos = contador("Documentos");
    const long long coo = contador("COO");
    ASSERT_EQ(Kestrona_FI_ProgramaAliquota("0400", 1), 1);
    ASSERT_EQ(Kestrona_FI_ProgramaFormaPagamentoMFD("Boleto", "1"), 1);
    EXPECT_EQ(contador("Documentos"), documentos + 2);
    EXPECT_EQ(contador("COO"), coo);  // programming prints no fiscal document
    EXPECT_NE(fita(2).find("PROGRAMACAO"), std::string::npos);
    ASSERT_EQ(KesafiVirtual_DefinePastaBase(pasta.c_str()), 1);
    localiza();
    EXPECT_EQ(fatia(aliquotas(), 16, 4), "0400");
    EXPECT_EQ(fatia(indicesIss(), 1, 6), "03,04,");
    EXPECT_EQ(fatia(formas(), 58 * 3 + 1, 16), "Boleto          ");
}

}  // namespace
}  // namespace kesafi_teste
