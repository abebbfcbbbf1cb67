#include <QFrame>
#include <QPlainTextEdit>

#include "auxiliares.h"
#include "kesafi32.h"
#include "kesafi_virtual.h"
#include "printer/textos_st3.h"
#include "printer/tfstatus.h"
#include "printer/ustatus.h"

using namespace UStatus;
using platform::dialogs::Kind;

namespace {

const QString kBloco = QString(38, QLatin1Char('#'));

}  // namespace

TEST(TextosST3, EveryExtendedCodeHasItsTextAndNoOther) {
    EXPECT_EQ(printer::quantidadeTextosST3(), 218);
    EXPECT_EQ(printer::textoST3(0), QStringLiteral("COMANDO OK"));
    EXPECT_EQ(printer::textoST3(62), QStringLiteral(" JÁ HOUVE MOVIMENTO NO DIA"));
    for (int codigo : {100, 102, 103, 108})
        EXPECT_TRUE(printer::textoST3(codigo).endsWith(QLatin1Char('\r'))) << codigo;
    EXPECT_EQ(printer::textoST3(103), printer::textoST3(113) + QLatin1Char('\r'));
    EXPECT_EQ(printer::textoST3(165),
              QStringLiteral("DESCRIÇÃO DO PRIMEIRO ÍTEM DO BILHETE DE PASSAGEM DIFERENTE DE \"TARIFA\""));
    EXPECT_EQ(printer::textoST3(218), QStringLiteral("CANCELAMENTO DE ACRÉSCIMO/DESCONTO NÃO PERMITIDO"));
    for (int codigo : {-1, 216, 219, 300, 100000}) EXPECT_EQ(printer::textoST3(codigo), QString()) << codigo;
    int comTexto = 0;
    for (int codigo = 0; codigo <= 218; ++codigo) comTexto += printer::textoST3(codigo).isEmpty() ? 0 : 1;
    EXPECT_EQ(comTexto, 218);
}

TEST(TextosST3, ResultCodesWithoutATextOfTheirOwnReadEmpty) {
    EXPECT_EQ(printer::textoRetorno(0), QStringLiteral("Erro de Comunicação !"));
    EXPECT_EQ(printer::textoRetorno(-27), QStringLiteral("Status diferente de 6, 0, 0 !"));
    EXPECT_EQ(printer::textoRetorno(-30), QStringLiteral("Função incompatível com a impressora fiscal YANCO !"));
    for (int codigo : {1, 2, -9, -28}) EXPECT_EQ(printer::textoRetorno(codigo), QString()) << codigo;
}

class VerificaRetornoTest : public Instalacao {
protected:
    void SetUp() override {
        Instalacao::SetUp();
        criaImpressora(QStringLiteral("USB"));
        criaJanelas();
        abrePorta(QStringLiteral("USB"));
        ASSERT_EQ(Kestrona_FI_HabilitaDesabilitaRetornoEstendidoMFD("1"), 1);
        caixas();
    }

    // One command whose answer the printer is told to give, then its analysis.
    void analisa(int retorno, int ack, int st1, int st2, int st3) {
        ASSERT_EQ(KesafiVirtual_ForcaResposta(retorno, ack, st1, st2, st3), 1);
        sComando = QStringLiteral("Comando de Teste");
        iRetorno = Kestrona_FI_LeituraX();
        ASSERT_EQ(iRetorno, retorno);
        VerificaRetorno();
    }

    // The status window's record, and one of its lights.
    static QString textoMemo() {
        auto* m = controle<QPlainTextEdit>(Fstatus, "MemoStatus");
        return m ? m->toPlainText() : QString();
    }
    static QFrame* painel(const char* nome) { return controle<QFrame>(Fstatus, nome); }

    QStringList memo() const { return textoMemo().split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
    QStringList ultimoBloco() const {
        const QStringList linhas = textoMemo().split(QLatin1Char('\n'));
        return linhas.mid(linhas.lastIndexOf(kBloco));
    }
};

TEST_F(VerificaRetornoTest, ASuccessfulCommandShowsNothingAndAppendsItsBlock) {
    analisa(1, KESAFI_ACK, 0, 0, 0);
    EXPECT_TRUE(caixas().empty());
    EXPECT_EQ(sMensagem, QStringLiteral("COMANDO OK"));
    EXPECT_EQ(sBitsST1, QStringLiteral("00000000"));
    EXPECT_EQ(sBitsST2, QStringLiteral("00000000"));
    EXPECT_EQ(sPrimeiraResposta, QStringLiteral("OK"));
    EXPECT_EQ(sSegundaResposta, QStringLiteral("OK"));
    EXPECT_EQ(sTerceiraResposta, QStringLiteral("COMANDO OK"));
    EXPECT_EQ(sRetornoECF, QStringLiteral("ACK - ST1 - ST2 - ST3 = 6, 0, 0, 0"));
    EXPECT_EQ(ultimoBloco(),
              QStringList({kBloco, QStringLiteral("Enviando Comando: Comando de Teste"), QString(37, QLatin1Char('-')),
                           QStringLiteral("Retorno Extendido: COMANDO OK"), QStringLiteral("  "),
                           QString(37, QLatin1Char('-')),
                           QStringLiteral("Retorno do ECF: ACK - ST1 - ST2 - ST3 = 6, 0, 0, 0")}));
}

TEST_F(VerificaRetornoTest, ACommunicationErrorShowsOneBoxWithTheResultTextOnly) {
    analisa(0, KESAFI_ACK, 0, 0, 0);
    EXPECT_EQ(descritas(caixas()), Caixas{"Information RETORNO DO ECF: Erro de Comunicação !"});
    EXPECT_EQ(sRetornoEstendido, QStringLiteral("Erro de Comunicação !COMANDO OK"));
    EXPECT_EQ(sRetornoEstendido.size(), 31);
    // 27 characters or more: no line of two blanks.
    EXPECT_FALSE(ultimoBloco().contains(QStringLiteral("  ")));
}

TEST_F(VerificaRetornoTest, ARefusalShowsTheResultAndKeepsTheExtendedTextForTheMemo) {
    analisa(-27, KESAFI_ACK, 0, 1, 62);
    EXPECT_EQ(descritas(caixas()), Caixas{"Information RETORNO DO ECF: Status diferente de 6, 0, 0 !"});
    EXPECT_EQ(sRetornoEstendido, QStringLiteral("Status diferente de 6, 0, 0 ! JÁ HOUVE MOVIMENTO NO DIA"));
    EXPECT_EQ(sSegundaResposta, QStringLiteral(" \"Comando Não Executado\""));
    EXPECT_TRUE(ultimoBloco().contains(QStringLiteral("Retorno Extendido: ") + sRetornoEstendido));
}

TEST_F(VerificaRetornoTest, AResultWithoutATextOfItsOwnShowsAnEmptyBox) {
    analisa(-9, KESAFI_ACK, 0, 0, 0);
    EXPECT_EQ(descritas(caixas()), Caixas{"Information RETORNO DO ECF: "});
}

TEST_F(VerificaRetornoTest, UnknownExtendedCodesAddNothing) {
    for (int st3 : {216, 300}) {
        analisa(1, KESAFI_ACK, 0, 0, st3);
        EXPECT_EQ(sRetornoEstendido, QString()) << st3;
        EXPECT_TRUE(ultimoBloco().contains(QStringLiteral("Retorno Extendido: "))) << st3;
    }
}

TEST_F(VerificaRetornoTest, StatusBitsAreDecodedBySuccessiveSubtraction) {
    analisa(1, KESAFI_ACK, 255, 0, 0);
    EXPECT_EQ(sBitsST1, QStringLiteral("11111111"));
    EXPECT_EQ(sPrimeiraResposta, QStringLiteral(" \"Fim do Papel\" \"Pouco Papel\" \"Erro no Relógio\" \"ECF em Erro\" "
                                                "\"Comando sem ESC\" \"Comando Inexistente\" \"Cupom Aberto\" "
                                                "\"Parâmetro Inválido\""));
    analisa(1, KESAFI_ACK, 192, 0, 0);
    EXPECT_EQ(sBitsST1, QStringLiteral("11000000"));
    EXPECT_EQ(sPrimeiraResposta, QStringLiteral(" \"Fim do Papel\" \"Pouco Papel\""));
    analisa(1, KESAFI_ACK, -5, 300, 0);
    EXPECT_EQ(sBitsST1, QStringLiteral("00000000"));
    EXPECT_EQ(sPrimeiraResposta, QString());
    // Above 255 every subtraction succeeds: all eight bits read "1".
    EXPECT_EQ(sBitsST2, QStringLiteral("11111111"));
}

TEST_F(VerificaRetornoTest, PanelsLightWithTheirBitAndGoBackToNormal) {
    auto* mf = painel("PnMFLotada");
    EXPECT_FALSE(TFstatus::painelAceso(mf));
    analisa(1, KESAFI_ACK, 0, 64, 0);
    EXPECT_TRUE(TFstatus::painelAceso(mf));
    EXPECT_EQ(mf->property("skinSection").toString(), QString());
    EXPECT_TRUE(mf->styleSheet().contains(QStringLiteral("#FF0000")));
    for (int i = 0; i < 16; ++i)
        if (Fstatus->painel(i) != mf) {
            EXPECT_FALSE(TFstatus::painelAceso(Fstatus->painel(i))) << i;
        }
    analisa(1, KESAFI_ACK, 0, 0, 0);
    EXPECT_FALSE(TFstatus::painelAceso(mf));
    EXPECT_EQ(mf->property("skinSection").toString(), QStringLiteral("PANEL"));

    // A light that keeps its state is not restyled (that costs more than the
    // command): only the one that changes is.
    struct ContaEstilo : QObject {
        int vezes = 0;
        bool eventFilter(QObject*, QEvent* evento) override {
            vezes += evento->type() == QEvent::StyleChange;
            return false;
        }
    } apagado, aceso;
    painel("PnFimDePapel")->installEventFilter(&apagado);
    mf->installEventFilter(&aceso);
    analisa(1, KESAFI_ACK, 0, 0, 0);
    analisa(1, KESAFI_ACK, 0, 64, 0);
    analisa(1, KESAFI_ACK, 0, 64, 0);
    EXPECT_EQ(apagado.vezes, 0);
    EXPECT_EQ(aceso.vezes, 1);
    EXPECT_TRUE(TFstatus::painelAceso(mf));
}

TEST_F(VerificaRetornoTest, ANakShowsOnlyItsBoxAndTheNextAnswerIsAnalysedNormally) {
    analisa(1, KESAFI_ACK, 0, 2, 0);
    const QString memoAntes = textoMemo();
    analisa(1, KESAFI_NAK, 128, 0, 5);
    EXPECT_EQ(descritas(caixas()),
              Caixas{"Error Atenção: A Impressora retornou NAK !\rErro de Protocolo de Comunicação !"});
    EXPECT_EQ(textoMemo(), memoAntes);
    EXPECT_TRUE(TFstatus::painelAceso(painel("PnCnpjIeNaoProg")));
    EXPECT_FALSE(TFstatus::painelAceso(painel("PnFimDePapel")));
    // The answers left are the command before's: no answer box repeats them.
    MostraRespostaImpressora();
    EXPECT_TRUE(caixas().empty());

    analisa(1, KESAFI_ACK, 0, 0, 0);
    EXPECT_TRUE(caixas().empty());
    EXPECT_FALSE(TFstatus::painelAceso(painel("PnCnpjIeNaoProg")));
    EXPECT_EQ(sMensagem, QStringLiteral("COMANDO OK"));
}

TEST_F(VerificaRetornoTest, TheAnswerBoxShowsTheThreeResponses) {
    analisa(-27, KESAFI_ACK, 64, 0, 14);
    caixas();
    MostraRespostaImpressora();
    EXPECT_EQ(descritas(caixas()),
              Caixas{"Information RESPOSTA DO ECF: RESPOSTA DA IMPRESSORA AO COMANDO : Comando de Teste\r\rPrimeira "
                     "Resposta :  \"Pouco Papel\"\r\rSegunda Resposta : OK\r\rTerceira Resposta : Status diferente "
                     "de 6, 0, 0 !ALÍQUOTA NÃO PROGRAMADA"});
}

TEST_F(VerificaRetornoTest, TheMemoKeepsCarriageReturnsOfTheExtendedTexts) {
    analisa(1, KESAFI_ACK, 0, 0, 100);
    EXPECT_EQ(sRetornoEstendido, QStringLiteral("DATA E HORA INVÁLIDA\r"));
    // The memo shows the carriage return as the line break it is.
    EXPECT_TRUE(textoMemo().contains(QStringLiteral("Retorno Extendido: DATA E HORA INVÁLIDA\n\n  \n")));
}

TEST_F(VerificaRetornoTest, ThePrinterSwitchedOffIsReportedByTheLibrarysResult) {
    KesafiVirtual_Liga(0);
    sComando = QStringLiteral("Imprimindo Leitura X");
    iRetorno = Kestrona_FI_LeituraX();
    VerificaRetorno();
    const auto c = caixas();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].title, QStringLiteral("RETORNO DO ECF"));
    EXPECT_LT(iRetorno, 1);
    EXPECT_EQ(c[0].text, printer::textoRetorno(iRetorno));
}

TEST_F(VerificaRetornoTest, TheAnswerIsDecodedBeforeTheBoxOpens) {
    analisa(1, KESAFI_ACK, 0, 0, 0);
    QStringList vistoComCaixaAberta;
    dialogos.whileOpen([&](const platform::dialogs::Record&) {
        vistoComCaixaAberta = {sBitsST1,          sBitsST2,          sPrimeiraResposta, sSegundaResposta,
                               sRetornoEstendido, sTerceiraResposta, sMensagem,         sRetornoECF};
    });
    analisa(-27, KESAFI_ACK, 64, 1, 7);
    ASSERT_EQ(caixas().size(), 1u);
    EXPECT_EQ(vistoComCaixaAberta,
              QStringList({QStringLiteral("01000000"), QStringLiteral("00000001"), QStringLiteral(" \"Pouco Papel\""),
                           QStringLiteral(" \"Comando Não Executado\""),
                           QStringLiteral("Status diferente de 6, 0, 0 !CUPOM FISCAL ABERTO"),
                           QStringLiteral("Status diferente de 6, 0, 0 !CUPOM FISCAL ABERTO"),
                           QStringLiteral("Status diferente de 6, 0, 0 !CUPOM FISCAL ABERTO"),
                           QStringLiteral("ACK - ST1 - ST2 - ST3 = 6, 64, 1, 7")}));
}
