// The printer side of the window against the virtual printer: single sends,
// the copies from the printer into the file, the sends from the file into
// the printer, refusals, cancellations and a printer switched off.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QRadioButton>
#include <QTest>

#include "../reports/impressao.h"
#include "configecf.h"
#include "kesafi32.h"
#include "kesafi_virtual.h"
#include "platform/profile.h"
#include "printer/buffer.h"
#include "printer/ustatus.h"

using platform::dialogs::Kind;
using platform::dialogs::Record;

namespace {

QString brancos(int n) { return QString(n, QLatin1Char(' ')); }

const QString kRespostaDoEcf = QStringLiteral("RESPOSTA DO ECF");

class Impressora : public ConfigECF {
protected:
    void SetUp() override {
        ConfigECF::SetUp();
        if (HasFatalFailure()) return;
        abreJanela();
        caixas();
    }

    // Rate i (from 1) as the printer holds it.
    static QString slot(int i) { return aliquotas().mid(5 * (i - 1), 4); }
    static QString forma(int i) { return formas().mid(58 * (i - 1), 16); }
    static QString comprovante(int i) {
        QByteArray b = printer::bufferEmBranco(KESAFI_LARGURA_RECEBIMENTOS);
        Kestrona_FI_VerificaRecebimentoNaoFiscalMFD(b.data());
        return printer::campo(b, 34 * (i - 1) + 1, 19);
    }
    static QString relatorio(int i) {
        QByteArray b = printer::bufferEmBranco(KESAFI_LARGURA_RELATORIOS_GERENCIAIS);
        Kestrona_FI_VerificaRelatorioGerencialMFD(b.data());
        return printer::campo(b, 22 * (i - 1) + 5, 17);
    }
    static int programacoes() {
        return chamadas("ProgramaAliquota") + chamadas("ProgramaFormaPagamentoMFD") +
               chamadas("NomeiaTotalizadorNaoSujeitoIcms") + chamadas("NomeiaRelatorioGerencialMFD");
    }

    // The text of the answer box, whose third answer is the extended text.
    static QString resposta(const std::vector<Record>& vistas) {
        for (const Record& r : vistas)
            if (r.title == kRespostaDoEcf) return r.text;
        return {};
    }
    static const Record* plano(const std::vector<Record>& vistas) {
        for (const Record& r : vistas)
            if (r.kind == Kind::Plain) return &r;
        return nullptr;
    }
    static QStringList titulos(const std::vector<Record>& vistas) {
        QStringList t;
        for (const Record& r : vistas) t << r.title + QStringLiteral(": ") + r.text;
        return t;
    }
};

TEST_F(Impressora, AliquotaDigitada0750VaiParaAImpressoraSemTocarNoArquivo) {
    const QByteArray arquivoAntes = conteudo(cadastro());
    clica("BtEnviarAliquota");
    EXPECT_EQ(titulos(caixas()),
              QStringList{QStringLiteral("CONFIGURAÇÕES: Você Deve Escolher o Tipo de Alíquota(ICMS ou ISS)!")});

    controle<QRadioButton>("RbICMS")->click();
    // 7 in the first position and 5 in the fourth leave two blanks.
    digitaAliquota(QStringLiteral("7"));
    QTest::keyClick(controle<QLineEdit>("MEAliquota"), Qt::Key_Right);
    QTest::keyClicks(controle<QLineEdit>("MEAliquota"), QStringLiteral("5"));
    EXPECT_EQ(controle<QLineEdit>("MEAliquota")->displayText(), QStringLiteral("7_,5_%"));
    clica("BtEnviarAliquota");
    EXPECT_EQ(titulos(caixas()),
              QStringList{QStringLiteral("CONFIGURAÇÕES: É Necessário Digitar Uma Alíquota Válida!")});
    EXPECT_EQ(janela->focusWidget(), controle<QLineEdit>("MEAliquota"));

    controle<QLineEdit>("MEAliquota")->clear();
    digitaAliquota(QStringLiteral("0750"));
    dialogos.yes();
    clica("BtEnviarAliquota");
    const std::vector<Record> vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(vistas[0].title, QStringLiteral("ADICIONAR ALÍQUOTA"));
    EXPECT_EQ(vistas[0].text,
              QStringLiteral("Deseja Realmente Adicionar a Alíquota?\rTenha Certeza ao Executar este "
                             "Comando!\rA Alíquota não Poderá Ser Apagada ou ALterada!\rsem Intervenção "
                             "Técnica!!!\r\rContinuar ?"));
    EXPECT_TRUE(vistas[1].text.startsWith(QStringLiteral("RESPOSTA DA IMPRESSORA AO COMANDO : Enviando Alíquota\r")));
    EXPECT_EQ(slot(4), QStringLiteral("0750"));
    EXPECT_EQ(memo("MemoAtualAliquota")[3], QStringLiteral("04 : 07,50% - ICMS"));
    EXPECT_EQ(controle<QLineEdit>("MEAliquota")->displayText(), QStringLiteral("__,__%"));
    EXPECT_EQ(conteudo(cadastro()), arquivoAntes);
    EXPECT_EQ(celula("SgAliquotas", 6), QString());

    // ISS goes with type 1 and shows in the memo as a service rate.
    controle<QRadioButton>("RbISS")->click();
    digitaAliquota(QStringLiteral("0200"));
    dialogos.yes();
    clica("BtEnviarAliquota");
    caixas();
    EXPECT_EQ(memo("MemoAliquota")[4], QStringLiteral("05 : 02,00% - Serviço(ISS)"));
}

TEST_F(Impressora, RecusasDaImpressoraSaoMostradasEOArquivoFicaComoEstava) {
    const QByteArray arquivoAntes = conteudo(cadastro());
    // A 17th rate.
    while (Kestrona_FI_ProgramaAliquota("0100", 0) == 1) {
    }
    controle<QRadioButton>("RbICMS")->click();
    digitaAliquota(QStringLiteral("2500"));
    dialogos.yes();
    clica("BtEnviarAliquota");
    std::vector<Record> vistas = caixas();
    EXPECT_EQ(titulos(vistas)[1], QStringLiteral("RETORNO DO ECF: Status diferente de 6, 0, 0 !"));
    EXPECT_TRUE(
        resposta(vistas).endsWith(QStringLiteral("Terceira Resposta : Status diferente de 6, 0, 0 !TODAS "
                                                 "ALÍQUOTAS JÁ PROGRAMADAS")));
    EXPECT_TRUE(resposta(vistas).contains(QStringLiteral("\"Alíquota Esgotada\"")));
    EXPECT_EQ(memo("MemoAliquota")[15], QStringLiteral("16 : 01,00% - ICMS"));

    // A payment method already programmed: the methods are not read again.
    const int leituras = chamadas("VerificaFormasPagamento");
    controle<QLineEdit>("EdFormaPagamento")->setText(QStringLiteral("DINHEIRO"));
    dialogos.yes();
    clica("BtEnviarFormaPagto");
    vistas = caixas();
    EXPECT_TRUE(resposta(vistas).endsWith(QStringLiteral("DESCRIÇÃO FORMA DE PAGAMENTO IGUAL JÁ PROGRAMADA")));
    EXPECT_EQ(chamadas("VerificaFormasPagamento"), leituras);
    EXPECT_TRUE(controle<QLineEdit>("EdFormaPagamento")->text().isEmpty());

    // Any table after movement in the day.
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(1), 1);
    controle<QComboBox>("CbCNF")->setCurrentText(QStringLiteral("05"));
    controle<QLineEdit>("EdCNF")->setText(QStringLiteral("Recarga"));
    dialogos.yes();
    clica("BtEnviarCNF");
    EXPECT_TRUE(resposta(caixas()).endsWith(QStringLiteral(" JÁ HOUVE MOVIMENTO NO DIA")));
    EXPECT_EQ(comprovante(5), brancos(19));
    EXPECT_EQ(conteudo(cadastro()), arquivoAntes);
}

TEST_F(Impressora, FormaComprovanteERelatorioUmAUm) {
    controle<QCheckBox>("CbVincularPgto")->setChecked(false);
    controle<QLineEdit>("EdFormaPagamento")->setText(QStringLiteral("PIX"));
    dialogos.yes();
    clica("BtEnviarFormaPagto");
    std::vector<Record> vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(vistas[0].title, QStringLiteral("ADICIONAR FORMA DE PAGAMENTO"));
    EXPECT_EQ(forma(4), QStringLiteral("PIX") + brancos(13));
    EXPECT_EQ(formas().at(58 * 3 + 56), QLatin1Char('0'));
    EXPECT_EQ(memo("MemoAtualFormaPagamento")[3], QStringLiteral("04 : N : PIX             "));

    controle<QComboBox>("CbCNF")->setCurrentText(QStringLiteral("05"));
    controle<QLineEdit>("EdCNF")->setText(QStringLiteral("Recarga Celular"));
    dialogos.yes();
    clica("BtEnviarCNF");
    vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(vistas[0].title, QStringLiteral("ADICIONAR CNF"));
    EXPECT_TRUE(vistas[1].text.startsWith(QStringLiteral("RESPOSTA DA IMPRESSORA AO COMANDO : Enviando CNF\r")));
    EXPECT_EQ(comprovante(5), QStringLiteral("Recarga Celular    "));
    EXPECT_EQ(memo("MemoCNF")[4], QStringLiteral("05 : Recarga Celular    "));

    controle<QComboBox>("CbRelGerencial")->setCurrentText(QStringLiteral("07"));
    controle<QLineEdit>("EdRelGerencial")->setText(QStringLiteral("Conferencia Caixa"));
    dialogos.yes();
    clica("BtEnviarRelGerencial");
    vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(vistas[0].title, QStringLiteral("ADICIONAR RELATÓRIO GERENCIAL"));
    EXPECT_EQ(relatorio(7), QStringLiteral("Conferencia Cai  "));
    EXPECT_EQ(memo("MemoAtualRelGerencial")[6], QStringLiteral("07 : Conferencia Cai  "));
}

TEST_F(Impressora, QualquerPerguntaRecusadaNaoMudaNada) {
    controle<QRadioButton>("RbICMS")->click();
    const QByteArray arquivoAntes = conteudo(cadastro());
    const QString aliquotasAntes = aliquotas();
    const int leituras = chamadas(nullptr);
    const char* const botoes[] = {"BtImpressoraArquivoFP",
                                  "BtArquivoImpressoraFP",
                                  "BtImpressoraArquivoAL",
                                  "BtArquivoIpressoraAL",
                                  "BtImpressoraArquivoCNF",
                                  "BtArquivoImpressoraCNF",
                                  "BtEnviarImpressoraArquivoRG",
                                  "BtEnviarArquivoImpressoraRG",
                                  "BtEnviarAliquota",
                                  "BtEnviarFormaPagto",
                                  "BtEnviarCNF",
                                  "BtEnviarRelGerencial"};
    for (const char* botao : botoes) {
        digitaAliquota(QStringLiteral("1700"));
        controle<QLineEdit>("EdFormaPagamento")->setText(QStringLiteral("Boleto"));
        controle<QComboBox>("CbCNF")->setCurrentIndex(8);
        controle<QLineEdit>("EdCNF")->setText(QStringLiteral("Taxa"));
        controle<QComboBox>("CbRelGerencial")->setCurrentIndex(8);
        controle<QLineEdit>("EdRelGerencial")->setText(QStringLiteral("Taxa"));
        dialogos.no();
        clica(botao);
        const std::vector<Record> vistas = caixas();
        ASSERT_EQ(vistas.size(), 2u) << botao;
        EXPECT_EQ(vistas[0].kind, Kind::Question) << botao;
        // Yes cannot be undone (the printer's tables, the file's plan): Enter answers No.
        EXPECT_TRUE(vistas[0].defaultNo) << botao;
        EXPECT_EQ(descreve(vistas[1]), "Information CONFIGURAÇÃO: Comando Cancelado") << botao;
        // A cancelled single send empties its edit.
        if (botao == std::string("BtEnviarAliquota")) {
            EXPECT_EQ(controle<QLineEdit>("MEAliquota")->displayText(), QStringLiteral("__,__%"));
        }
    }
    EXPECT_EQ(chamadas(nullptr), leituras);
    EXPECT_EQ(conteudo(cadastro()), arquivoAntes);
    EXPECT_EQ(aliquotas(), aliquotasAntes);
    EXPECT_EQ(celula("SgAliquotas", 1), QStringLiteral("18,00%"));
    EXPECT_TRUE(controle<QLineEdit>("EdRelGerencial")->text().isEmpty());
}

TEST_F(Impressora, CopiarDaImpressoraSubstituiATabelaDoArquivo) {
    dialogos.yes();
    clica("BtImpressoraArquivoAL");
    std::vector<Record> vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(vistas[0].title, QStringLiteral("ADICIONAR Alíquota"));
    EXPECT_EQ(vistas[0].text, QStringLiteral("Deseja Realmente Copiar da Impressora para o Arquivo?\rAs Configurações "
                                             "Antigas Serão Perdidas!\rContinuar?"));
    EXPECT_EQ(descreve(vistas[1]), "Information CONFIGURAÇÕES: Alíquotas Copiadas com Sucesso");
    EXPECT_EQ(celula("SgAliquotas", 1), QStringLiteral("18,00%"));
    EXPECT_EQ(celula("SgAliquotas", 3), QStringLiteral("05,00%"));
    EXPECT_EQ(celula("SgAliquotas", 3, 2), QStringLiteral("Serviço(ISS)"));
    EXPECT_EQ(celula("SgAliquotas", 4), QString());
    EXPECT_EQ(valor(QStringLiteral("Aliquota"), 3), QStringLiteral("\"05,00%\",Serviço(ISS)"));
    EXPECT_EQ(valor(QStringLiteral("Aliquota"), 4), QString());
    EXPECT_EQ(valor(QStringLiteral("Aliquota"), 5), QString());

    dialogos.yes();
    clica("BtImpressoraArquivoFP");
    EXPECT_EQ(descreve(caixas().back()), "Information CONFIGURAÇÕES: Formas de Pagamento Copiadas com Sucesso");
    EXPECT_EQ(celula("SgFormaPagamento", 2), QStringLiteral("Cartao Credito  "));
    EXPECT_EQ(celula("SgFormaPagamento", 2, 2), QStringLiteral("V"));
    EXPECT_EQ(celula("SgFormaPagamento", 4), QString());
    EXPECT_EQ(valor(QStringLiteral("FormaPagamento"), 3), QStringLiteral("\"Cartao Debito   \",V"));
    EXPECT_EQ(valor(QStringLiteral("FormaPagamento"), 4), QString());

    // Receipts keep their places; the file keeps its own receipts 29 and 30.
    ASSERT_TRUE(
        platform::Profile(cadastro())
            .writeString(QStringLiteral("CNF"), QStringLiteral("30"), QStringLiteral("\"Troco              \"")));
    dialogos.yes();
    clica("BtImpressoraArquivoCNF");
    EXPECT_EQ(descreve(caixas().back()), "Information CONFIGURAÇÕES: Comprovantes Copiados com Sucesso");
    EXPECT_EQ(celula("SgCNF", 1), QStringLiteral("Crediario          "));
    EXPECT_EQ(celula("SgCNF", 2), QString());
    EXPECT_EQ(celula("SgCNF", 30), QStringLiteral("Suprimento         "));
    EXPECT_EQ(valor(QStringLiteral("CNF"), 1), QStringLiteral("Crediario          "));
    EXPECT_EQ(valor(QStringLiteral("CNF"), 30), QStringLiteral("Troco              "));

    dialogos.yes();
    clica("BtEnviarImpressoraArquivoRG");
    EXPECT_EQ(descreve(caixas().back()), "Information CONFIGURAÇÕES: Relatórios Gerenciais Copiados com Sucesso");
    EXPECT_EQ(celula("SgRelGerencial", 2), QStringLiteral("Fechamento Cx    "));
    EXPECT_EQ(celula("SgRelGerencial", 3), QString());
    EXPECT_EQ(valor(QStringLiteral("RelGerencial"), 2), QStringLiteral("Fechamento Cx    "));
    EXPECT_EQ(valor(QStringLiteral("RelGerencial"), 3), QString());
    // Report 1 is never written: the template's stays in the file.
    EXPECT_EQ(platform::Profile(cadastro()).readString(QStringLiteral("RelGerencial"), QStringLiteral("1")),
              QStringLiteral("Relatório Geral  "));
}

TEST_F(Impressora, CopiaComImpressoraDesligadaOuNakNaoApagaOPlano) {
    const QByteArray arquivoAntes = conteudo(cadastro());
    KesafiVirtual_Liga(0);
    dialogos.yes();
    clica("BtImpressoraArquivoAL");
    std::vector<Record> vistas = caixas();
    ASSERT_EQ(vistas.size(), 3u);  // the question and one box per failed read
    EXPECT_EQ(vistas[1].text, QStringLiteral("Erro de Comunicação !"));
    EXPECT_EQ(memo("MemoAliquota")[0], QStringLiteral("01 :   ,  % - ICMS"));
    EXPECT_EQ(celula("SgAliquotas", 4), QStringLiteral("25,00%"));
    EXPECT_EQ(conteudo(cadastro()), arquivoAntes);

    KesafiVirtual_Liga(1);
    KesafiVirtual_ForcaResposta(1, KESAFI_NAK, 0, 0, 0);  // a NAK, whatever the result says
    dialogos.yes();
    clica("BtImpressoraArquivoCNF");
    vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(vistas[1].title, QStringLiteral("Atenção"));
    EXPECT_EQ(celula("SgCNF", 1), QStringLiteral("Recebimento        "));
    EXPECT_EQ(conteudo(cadastro()), arquivoAntes);
}

TEST_F(Impressora, EnviarDoArquivoFazUmaChamadaPorLinhaPreenchidaEMostraORelatorio) {
    QTableWidget* cnf = controle<QTableWidget>("SgCNF");
    for (int linha = 1; linha <= 30; ++linha) cnf->item(linha - 1, 1)->setText(QString());
    cnf->item(2, 1)->setText(QStringLiteral("Estacionamento     "));
    cnf->item(29, 1)->setText(QStringLiteral("Nunca Enviado      "));
    dialogos.yes();
    clica("BtArquivoImpressoraCNF");
    std::vector<Record> vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(vistas[0].title, QStringLiteral("ADICIONAR COMPROVANTE NÃO FISCAL"));
    EXPECT_EQ(chamadas("NomeiaTotalizadorNaoSujeitoIcms"), 1);
    EXPECT_EQ(comprovante(3), QStringLiteral("Estacionamento     "));
    EXPECT_EQ(memo("MemoCNF")[2], QStringLiteral("03 : Estacionamento     "));
    const Record* r = plano(vistas);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->title, QStringLiteral("Zentora 3.0"));
    const QStringList linhas = r->text.split(QLatin1Char('\r'));
    ASSERT_EQ(linhas.size(), 29);  // the report begins with a line break
    EXPECT_EQ(linhas[0], QString());
    EXPECT_EQ(linhas[1], QStringLiteral("1 : Comprovante Livre Para Cadastro"));
    EXPECT_EQ(linhas[3], QStringLiteral("3 : Enviando Comprovante \"Estacionamento     \" : COMANDO OK"));
    EXPECT_EQ(linhas[28], QStringLiteral("28 : Comprovante Livre Para Cadastro"));

    // Two rates: two calls and 16 lines; a refused one carries its refusal.
    controle<QTableWidget>("SgAliquotas")->item(1, 1)->setText(QStringLiteral("00,00%"));
    for (int linha = 3; linha <= 16; ++linha)
        controle<QTableWidget>("SgAliquotas")->item(linha - 1, 1)->setText(QString());
    controle<QTableWidget>("SgAliquotas")->item(2, 1)->setText(QStringLiteral("07,50%"));
    controle<QTableWidget>("SgAliquotas")->item(2, 2)->setText(QStringLiteral("Serviço(ISS)"));
    KesafiVirtual_ForcaResposta(-27, KESAFI_ACK, 0, 8, 5);
    dialogos.yes();
    clica("BtArquivoIpressoraAL");
    vistas = caixas();
    EXPECT_EQ(chamadas("ProgramaAliquota"), 2);
    r = plano(vistas);
    ASSERT_NE(r, nullptr);
    const QStringList al = r->text.split(QLatin1Char('\r'));
    ASSERT_EQ(al.size(), 17);
    EXPECT_EQ(al[1], QStringLiteral("1 : Enviando Alíquota \"18,00%\" : Status diferente de 6, 0, 0 !TODAS ALÍQUOTAS "
                                    "JÁ PROGRAMADAS"));
    EXPECT_EQ(al[2], QStringLiteral("2 : Alíquota Livre Para Cadastro"));
    EXPECT_EQ(al[3], QStringLiteral("3 : Enviando Alíquota \"07,50%\" : COMANDO OK"));
    EXPECT_EQ(al[16], QStringLiteral("16 : Alíquota Livre Para Cadastro"));
    EXPECT_EQ(slot(4), QStringLiteral("0750"));
    EXPECT_EQ(memo("MemoAliquota")[3], QStringLiteral("04 : 07,50% - Serviço(ISS)"));
    // The grid and the file are not changed by a send.
    EXPECT_EQ(valor(QStringLiteral("Aliquota"), 3), QStringLiteral("\"07,00%\",ICMS"));
}

TEST_F(Impressora, RelatoriosEFormasDoArquivoComSuasNumeracoes) {
    QTableWidget* rg = controle<QTableWidget>("SgRelGerencial");
    for (int linha = 2; linha <= 30; ++linha) rg->item(linha - 1, 1)->setText(QString());
    rg->item(8, 1)->setText(QStringLiteral("Trocas           "));
    dialogos.yes();
    clica("BtEnviarArquivoImpressoraRG");
    std::vector<Record> vistas = caixas();
    EXPECT_EQ(chamadas("NomeiaRelatorioGerencialMFD"), 1);
    EXPECT_EQ(relatorio(9), QStringLiteral("Trocas           "));
    QStringList linhas = plano(vistas)->text.split(QLatin1Char('\r'));
    ASSERT_EQ(linhas.size(), 30);
    EXPECT_EQ(linhas[1], QStringLiteral("2 : Relatório Livre Para Cadastro"));
    EXPECT_EQ(linhas[8], QStringLiteral("9 : Enviando Relatório \"Trocas           \" : COMANDO OK"));

    // The template's methods: Cheque is new, the card names are already there,
    // a row of blanks is free and a NAK is never reported as done.
    QTableWidget* fp = controle<QTableWidget>("SgFormaPagamento");
    fp->item(4, 1)->setText(brancos(16));
    KesafiVirtual_ForcaResposta(1, KESAFI_ACK, 0, 0, 0);    // Cheque
    KesafiVirtual_ForcaResposta(-27, KESAFI_NAK, 0, 0, 0);  // Cartao Credito
    dialogos.yes();
    clica("BtArquivoImpressoraFP");
    vistas = caixas();
    EXPECT_EQ(vistas[0].text, QStringLiteral("Deseja Realmente Adicionar as Formas de Pagamento na Impressora?\rTenha "
                                             "Certeza ao Executar Este Comando !\rAs Formas de Pagamento não Poderão "
                                             "ser Apagadas ou Alteradas\rsem Intervenção Técnica !!!\r\rContinuar?"));
    linhas = plano(vistas)->text.split(QLatin1Char('\r'));
    ASSERT_EQ(linhas.size(), 20);
    EXPECT_EQ(linhas[1], QStringLiteral("2 : Enviando Forma de pagamento \"Cheque          \" : COMANDO OK"));
    EXPECT_EQ(linhas[2], QStringLiteral("3 : Enviando Forma de pagamento \"Cartao Credito  \" : A Impressora "
                                        "retornou NAK !"));
    EXPECT_EQ(linhas[3], QStringLiteral("4 : Enviando Forma de pagamento \"Cartao Debito   \" : Status diferente de "
                                        "6, 0, 0 !DESCRIÇÃO FORMA DE PAGAMENTO IGUAL JÁ PROGRAMADA"));
    EXPECT_EQ(linhas[4], QStringLiteral("5 : Forma de Pagamento Livre Para Cadastro"));
    EXPECT_EQ(linhas[19], QStringLiteral("20 : Forma de Pagamento Livre Para Cadastro"));
    EXPECT_EQ(chamadas("ProgramaFormaPagamentoMFD"), 3);
    int nak = 0;
    for (const Record& r : vistas) nak += r.title == QStringLiteral("Atenção");
    EXPECT_EQ(nak, 1);
    EXPECT_EQ(forma(4), brancos(16));  // the forced answers sent nothing
}

TEST_F(Impressora, CopiarTudoFazAsQuatroCopiasCadaUmaComSuaResposta) {
    const QByteArray arquivoAntes = conteudo(cadastro());
    dialogos.no().no().no().no();
    clica("BtSalvaTudoArquivo");
    std::vector<Record> vistas = caixas();
    ASSERT_EQ(vistas.size(), 8u);
    const QStringList perguntas{QStringLiteral("ADICIONAR FORMA DE PAGAMENTO"), QStringLiteral("ADICIONAR Alíquota"),
                                QStringLiteral("ADICIONAR COMPROVANTE NÃO FISCAL"),
                                QStringLiteral("ADICIONAR RELATÓRIO GERENCIAL")};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(vistas[size_t(2 * i)].title, perguntas[i]);
        EXPECT_EQ(descreve(vistas[size_t(2 * i + 1)]), "Information CONFIGURAÇÃO: Comando Cancelado");
    }
    EXPECT_EQ(conteudo(cadastro()), arquivoAntes);

    // Whatever the command manager has left of the four buttons.
    for (const char* b :
         {"BtImpressoraArquivoFP", "BtImpressoraArquivoAL", "BtImpressoraArquivoCNF", "BtEnviarImpressoraArquivoRG"})
        controle<QPushButton>(b)->setEnabled(false);
    dialogos.yes().no().yes().yes();
    clica("BtSalvaTudoArquivo");
    vistas = caixas();
    ASSERT_EQ(vistas.size(), 8u);
    EXPECT_EQ(vistas[1].text, QStringLiteral("Formas de Pagamento Copiadas com Sucesso"));
    EXPECT_EQ(vistas[3].text, QStringLiteral("Comando Cancelado"));
    EXPECT_EQ(vistas[5].text, QStringLiteral("Comprovantes Copiados com Sucesso"));
    EXPECT_EQ(vistas[7].text, QStringLiteral("Relatórios Gerenciais Copiados com Sucesso"));
    EXPECT_EQ(celula("SgFormaPagamento", 4), QString());
    EXPECT_EQ(celula("SgAliquotas", 4), QStringLiteral("25,00%"));
}

TEST_F(Impressora, DoZeroAoArquivoNumaImpressoraNovaEOutraImpressoraComOSeu) {
    // Program one entry of each table through the window.
    controle<QRadioButton>("RbICMS")->click();
    digitaAliquota(QStringLiteral("0750"));
    controle<QLineEdit>("EdFormaPagamento")->setText(QStringLiteral("Cartão Refeição"));
    controle<QComboBox>("CbCNF")->setCurrentText(QStringLiteral("02"));
    controle<QLineEdit>("EdCNF")->setText(QStringLiteral("Depósito"));
    controle<QComboBox>("CbRelGerencial")->setCurrentText(QStringLiteral("03"));
    controle<QLineEdit>("EdRelGerencial")->setText(QStringLiteral("Conferência"));
    dialogos.yes().yes().yes().yes();
    clica("BtEnviarAliquota");
    clica("BtEnviarFormaPagto");
    clica("BtEnviarCNF");
    clica("BtEnviarRelGerencial");
    for (const Record& r : caixas()) {
        if (r.kind != Kind::Question) {
            EXPECT_EQ(r.title, kRespostaDoEcf) << descreve(r);
        }
    }

    dialogos.yes().yes().yes().yes();
    clica("BtSalvaTudoArquivo");
    caixas();
    const platform::Profile arquivo(cadastro());
    EXPECT_EQ(arquivo.readString(QStringLiteral("Aliquota"), QStringLiteral("4")), QStringLiteral("\"07,50%\",ICMS"));
    EXPECT_EQ(arquivo.readString(QStringLiteral("FormaPagamento"), QStringLiteral("4")),
              QStringLiteral("\"Cartão Refeição \",V"));
    EXPECT_EQ(arquivo.readString(QStringLiteral("CNF"), QStringLiteral("2")), QStringLiteral("Depósito           "));
    EXPECT_EQ(arquivo.readString(QStringLiteral("RelGerencial"), QStringLiteral("3")),
              QStringLiteral("Conferência      "));
    const QString primeiro = cadastro();
    const QByteArray primeiroBytes = conteudo(primeiro);

    // Another printer, another serial number, another file.
    ASSERT_EQ(KesafiVirtual_CriaImpressora(nullptr, 1), 1);
    janela->hide();
    abreJanela();
    EXPECT_NE(cadastro(), primeiro);
    EXPECT_EQ(conteudo(cadastro()), conteudo(this->arquivo(QStringLiteral("Modelo.ntf"))));
    EXPECT_EQ(conteudo(primeiro), primeiroBytes);
    EXPECT_EQ(celula("SgAliquotas", 4), QStringLiteral("25,00%"));
}

TEST_F(Impressora, NomeQueAImpressoraNaoGuardaEhRecusadoAntesDeQualquerPergunta) {
    controle<QComboBox>("CbCNF")->setCurrentText(QStringLiteral("05"));
    controle<QComboBox>("CbRelGerencial")->setCurrentText(QStringLiteral("07"));
    const std::pair<const char*, const char*> envios[] = {{"EdFormaPagamento", "BtEnviarFormaPagto"},
                                                          {"EdCNF", "BtEnviarCNF"},
                                                          {"EdRelGerencial", "BtEnviarRelGerencial"}};
    const std::pair<QString, QString> nomes[] = {
        {QStringLiteral("Łódź"), QStringLiteral("Ł (U+0141), ź (U+017A)")},
        {QStringLiteral("Caixa 😀"), QStringLiteral("😀 (U+1F600)")},
        {QStringLiteral("Vale\tGas\x1b"), QStringLiteral("U+0009, U+001B")},
    };
    const QByteArray arquivoAntes = conteudo(cadastro());
    const QString texto = QStringLiteral(
        "Information CONFIGURAÇÕES: A Impressora não Aceita Estes Caracteres do Nome:\r%1"
        "\rCorrija o Nome e Tente Novamente.");
    for (const char* modo : {"ECF", "Arquivo"}) {
        for (const char* r : {"RbFormaPagto", "RbCNF", "RbRelGerencial"}) {
            const QString nome = QString::fromLatin1(r) + QString::fromLatin1(modo);
            auto* radio =
                janela->findChild<QRadioButton*>(nome == QLatin1String("RbCNFECF") ? QStringLiteral("RbCNFEcf") : nome);
            ASSERT_NE(radio, nullptr) << nome.toStdString();
            radio->click();
        }
        for (const auto& [edit, botao] : envios) {
            for (const auto& [digitado, caracteres] : nomes) {
                controle<QLineEdit>(edit)->setText(digitado);
                clica(botao);
                EXPECT_EQ(descritas(caixas()), Caixas{texto.arg(caracteres).toStdString()}) << modo << " " << edit;
                // Kept as typed (padded), for the operator to correct.
                EXPECT_TRUE(controle<QLineEdit>(edit)->text().startsWith(digitado)) << edit;
            }
        }
    }
    EXPECT_EQ(programacoes(), 0);
    EXPECT_EQ(conteudo(cadastro()), arquivoAntes);
}

TEST_F(Impressora, ArquivoComCaracteresQueAImpressoraNaoGuardaNaoEnviaNada) {
    // A plan edited by hand: receipts 3 and 5 cannot be printed.
    platform::Profile plano(cadastro());
    plano.writeString(QStringLiteral("CNF"), QStringLiteral("3"), QStringLiteral("\"Łódź Recarga       \""));
    plano.writeString(QStringLiteral("CNF"), QStringLiteral("5"), QStringLiteral("\"Sino\x07              \""));
    reabre();
    caixas();
    clica("BtArquivoImpressoraCNF");
    EXPECT_EQ(descritas(caixas()),
              Caixas{"Information CONFIGURAÇÕES: A Impressora não Aceita Estes Caracteres do Arquivo de Cadastro:\r"
                     "Linha 3: Ł (U+0141), ź (U+017A)\rLinha 5: U+0007\rCorrija as Linhas e Tente Novamente. Nada "
                     "Foi Enviado."});
    EXPECT_EQ(programacoes(), 0);
}

}  // namespace
