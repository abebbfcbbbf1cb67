// The window as the operator meets it: its tabs and controls, what a showing
// reads from the printer, and the aids of the name edits.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QProgressBar>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "../reports/impressao.h"
#include "configecf.h"
#include "kesafi_virtual.h"
#include "printer/tfstatus.h"
#include "printer/ustatus.h"

using platform::dialogs::Kind;

namespace {

TEST_F(ConfigECF, AbasControlesEEstadoInicial) {
    EXPECT_EQ(janela->windowTitle(),
              QStringLiteral("Zentora 3.0 - Impressoras Fiscais Kestrona - Exclusivo Para Térmicas"));
    EXPECT_EQ(janela->size(), QSize(792, 450));
    EXPECT_EQ(janela->minimumSize(), janela->maximumSize());

    auto* abas = controle<QTabWidget>("PageControl");
    ASSERT_EQ(abas->count(), 5);
    EXPECT_EQ(abas->tabText(0), QStringLiteral("  Configurações Atuais  "));
    EXPECT_EQ(abas->tabText(1), QStringLiteral("  Forma de Pagamento  "));
    EXPECT_EQ(abas->tabText(2), QStringLiteral("     Alíquotas     "));
    EXPECT_EQ(abas->tabText(3), QStringLiteral("  Comprovante não Fiscal  "));
    EXPECT_EQ(abas->tabText(4), QStringLiteral("   Relatório Gerencial   "));

    // The summaries are read and copied, not edited: read-only, not disabled.
    for (const char* m : {"MemoAtualFormaPagamento", "MemoAtualAliquota", "MemoAtualCNF", "MemoAtualRelGerencial"}) {
        const auto* memo = controle<QPlainTextEdit>(m);
        EXPECT_TRUE(memo->isEnabled()) << m;
        EXPECT_TRUE(memo->isReadOnly()) << m;
        EXPECT_TRUE(memo->textInteractionFlags() & Qt::TextSelectableByMouse) << m;
    }
    for (const char* m : {"MemoFormaPagamento", "MemoAliquota", "MemoCNF", "MemoRelGerencial"})
        EXPECT_TRUE(controle<QPlainTextEdit>(m)->isEnabled()) << m;

    const std::pair<const char*, const char*> botoes[] = {
        {"BtSalvaTudoArquivo", "Copiar Todas as Configurações da Impressora Para o Arquivo de Cadastro"},
        {"BtSalvaModeloConfig", "Salvar as Configurações do Arquivo de Cadastro Desta Impressora Como um Modelo"},
        {"BtImportaModeloConfig", "Importar um Modelo de Configuração Para o Arquivo de Cadastro Desta Impressora"},
        {"BtEnviarFormaPagto", "Enviar Forma de Pagamento"},
        {"BtImpressoraArquivoFP", "Enviar da Impressora Para o Arquivo"},
        {"BtArquivoImpressoraFP", "Enviar do Arquivo Para a Impressora"},
        {"BtEnviarAliquota", "Enviar Alíquota"},
        {"BtImpressoraArquivoAL", "Enviar da Impressora Para o Arquivo"},
        {"BtArquivoIpressoraAL", "Enviar do Arquivo Para a Impressora"},
        {"BtEnviarCNF", "Enviar Comprovante não Fiscal"},
        {"BtImpressoraArquivoCNF", "Enviar da Impressora Para o Arquivo"},
        {"BtArquivoImpressoraCNF", "Enviar do Arquivo Para a Impressora"},
        {"BtEnviarRelGerencial", "Enviar Relatório Gerencial"},
        {"BtEnviarImpressoraArquivoRG", "Enviar da Impressora Para o Arquivo"},
        {"BtEnviarArquivoImpressoraRG", "Enviar do Arquivo Para a Impressora"},
    };
    for (const auto& [nome, legenda] : botoes) {
        QPushButton* b = controle<QPushButton>(nome);
        EXPECT_EQ(b->text(), QString::fromUtf8(legenda)) << nome;
        EXPECT_TRUE(b->isEnabled()) << nome;
        // The caption fits its button.
        EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), b->width()) << nome;
    }

    EXPECT_TRUE(controle<QRadioButton>("RbFormaPagtoECF")->isChecked());
    EXPECT_FALSE(controle<QRadioButton>("RbFormaPagtoArquivo")->isChecked());
    EXPECT_TRUE(controle<QRadioButton>("RbAliquotaECF")->isChecked());
    EXPECT_FALSE(controle<QRadioButton>("RbICMS")->isChecked());
    EXPECT_FALSE(controle<QRadioButton>("RbISS")->isChecked());
    EXPECT_TRUE(controle<QRadioButton>("RbCNFEcf")->isChecked());
    EXPECT_TRUE(controle<QRadioButton>("RbRelGerencialECF")->isChecked());
    EXPECT_TRUE(controle<QCheckBox>("CbVincularPgto")->isChecked());
    EXPECT_EQ(controle<QLineEdit>("EdFormaPagamento")->maxLength(), 16);
    EXPECT_EQ(controle<QLineEdit>("EdCNF")->maxLength(), 19);
    EXPECT_EQ(controle<QLineEdit>("EdRelGerencial")->maxLength(), 17);

    // Choosing the mode leaves the rate type alone, and the other way round.
    controle<QRadioButton>("RbAliquotaArquivo")->click();
    controle<QRadioButton>("RbISS")->click();
    EXPECT_TRUE(controle<QRadioButton>("RbAliquotaArquivo")->isChecked());
    EXPECT_TRUE(controle<QRadioButton>("RbISS")->isChecked());
    EXPECT_FALSE(controle<QRadioButton>("RbAliquotaECF")->isChecked());

    auto* cnf = controle<QComboBox>("CbCNF");
    EXPECT_EQ(cnf->currentIndex(), -1);
    ASSERT_EQ(cnf->count(), 28);
    EXPECT_EQ(cnf->itemText(0), QStringLiteral("01"));
    EXPECT_EQ(cnf->itemText(27), QStringLiteral("28"));
    auto* rg = controle<QComboBox>("CbRelGerencial");
    EXPECT_EQ(rg->currentIndex(), -1);
    ASSERT_EQ(rg->count(), 29);
    EXPECT_EQ(rg->itemText(0), QStringLiteral("02"));
    EXPECT_EQ(rg->itemText(28), QStringLiteral("30"));

    EXPECT_EQ(controle<QLabel>("LbFormaPagamento")->text(),
              QStringLiteral("Modelos Superiores a RX10 e RX30 TH FI Aceitarão\r\n16 Caracteres mas Somente os 15 "
                             "Primeiros serão Registrados"));
    EXPECT_TRUE(controle<QLabel>("LbCNF")->text().contains(QStringLiteral("\r\n19 Caracteres")));
    EXPECT_TRUE(controle<QLabel>("LbRelGerencial")->text().contains(QStringLiteral("\r\n17 Caracteres")));
    EXPECT_EQ(controle<QLabel>("sLabel8")->text(),
              QStringLiteral("Para que não Ocorra Erros de Configuração\r\nDigite os 4 Caracteres no Campo Alíquota"));
    // Until the status window's timer first runs the counters show their names.
    EXPECT_EQ(controle<QLabel>("LbTamanhoCNF")->text(), QStringLiteral("LbTamanhoCNF"));
    EXPECT_EQ(janela->TimerPiscaLabel.interval(), 800);
    EXPECT_TRUE(janela->TimerPiscaLabel.isActive());
    for (const char* l : {"LbFormaPagamento", "LbCNF", "LbRelGerencial"})
        EXPECT_FALSE(TFConfigECF::transparente(controle<QLabel>(l))) << l;

    EXPECT_EQ(controle<QGroupBox>("GbCadastroFP")->title(), QStringLiteral(" Arquivo de Cadastro"));
    EXPECT_EQ(controle<QGroupBox>("GbCadastroAL")->title(), QStringLiteral("Arquivo de Cadastro"));
}

TEST_F(ConfigECF, MostrarAJanelaLeAImpressoraEscreveOsMemosECarregaOCadastro) {
    QList<int> passos;
    auto* gauge = naPrincipal<QProgressBar>("Gstatus");
    ASSERT_NE(gauge, nullptr);
    QObject::connect(gauge, &QProgressBar::valueChanged, [&](int v) { passos << v; });
    abreJanela();
    EXPECT_EQ(passos.mid(passos.lastIndexOf(2)), (QList<int>{2, 4, 7, 9, 0}));
    EXPECT_EQ(janela->pos(), uZentora3::Fprincipal->pos());
    for (const auto& c : caixas()) ADD_FAILURE() << descreve(c);

    // The factory tables of the virtual printer.
    const QStringList formas = memo("MemoAtualFormaPagamento");
    ASSERT_EQ(formas.size(), 22);
    EXPECT_EQ(formas[0], QStringLiteral("01 : N : Dinheiro        "));
    EXPECT_EQ(formas[1], QStringLiteral("02 : V : Cartao Credito  "));
    EXPECT_EQ(formas[19], QStringLiteral("20 : ") + QString(16, QLatin1Char(' ')));
    EXPECT_EQ(memo("MemoFormaPagamento").mid(0, 21), formas.mid(0, 21));
    const QStringList aliquotas = memo("MemoAtualAliquota");
    EXPECT_EQ(aliquotas[0], QStringLiteral("01 : 18,00% - ICMS"));
    EXPECT_EQ(aliquotas[2], QStringLiteral("03 : 05,00% - Serviço(ISS)"));
    EXPECT_EQ(aliquotas[3], QStringLiteral("04 : "));
    EXPECT_EQ(memo("MemoAliquota"), aliquotas);
    const QStringList cnf = memo("MemoCNF");
    ASSERT_EQ(cnf.size(), 30);
    EXPECT_EQ(cnf[0], QStringLiteral("01 : Crediario          "));
    EXPECT_EQ(cnf[28], QStringLiteral("29 : Sangria            "));
    const QStringList rg = memo("MemoAtualRelGerencial");
    ASSERT_EQ(rg.size(), 30);
    EXPECT_EQ(rg[1], QStringLiteral("02 : Fechamento Cx    "));
    EXPECT_EQ(rg[29], QStringLiteral("30 : ") + QString(17, QLatin1Char(' ')));
    EXPECT_EQ(memo("MemoRelGerencial"), rg);

    // The printer is read again at every showing.
    const int leituras = chamadas("VerificaFormasPagamento");
    ASSERT_EQ(Kestrona_FI_ProgramaFormaPagamentoMFD("Boleto", "0"), 1);
    controle<QPlainTextEdit>("MemoFormaPagamento")->setPlainText(QStringLiteral("digitado"));
    reabre();
    EXPECT_EQ(chamadas("VerificaFormasPagamento"), leituras + 1);
    EXPECT_EQ(memo("MemoFormaPagamento")[3], QStringLiteral("04 : N : Boleto          "));
}

TEST_F(ConfigECF, ImpressoraDesligadaMostraCadaFalhaEMemosEmBranco) {
    uZentora3::Fprincipal->BtLocalizarImpressoraClick();
    caixas();
    KesafiVirtual_Liga(0);
    uZentora3::Fprincipal->BtConfigFiscaisClick();
    int falhas = 0;
    for (const auto& c : caixas())
        if (c.title == QLatin1String("RETORNO DO ECF") && c.text == QStringLiteral("Erro de Comunicação !")) ++falhas;
    EXPECT_EQ(falhas, 5);  // two calls for the rates
    EXPECT_EQ(memo("MemoAtualAliquota")[0], QStringLiteral("01 :   ,  % - ICMS"));
    EXPECT_EQ(memo("MemoAtualFormaPagamento")[0], QStringLiteral("01 : ") + QString(16, QLatin1Char(' ')));
    // The plan is still loaded for the file side.
    EXPECT_EQ(celula("SgAliquotas", 1), QStringLiteral("18,00%"));
}

TEST_F(ConfigECF, RespostasComLixoNaoQuebramOsMemos) {
    uZentora3::Fprincipal->BtLocalizarImpressoraClick();
    caixas();
    const char lixo[] = {'\0', '\xff', '7', ';', '\x81'};
    for (int leitura = 0; leitura < 5; ++leitura) KesafiVirtual_ForcaBufferLixo(lixo, int(sizeof lixo));
    uZentora3::Fprincipal->BtConfigFiscaisClick();
    EXPECT_TRUE(caixas().empty());
    EXPECT_EQ(memo("MemoAtualFormaPagamento").size(), 22);
    EXPECT_EQ(memo("MemoAtualAliquota").size(), 18);
    EXPECT_EQ(memo("MemoCNF").size(), 30);
    EXPECT_EQ(memo("MemoRelGerencial").size(), 30);
    for (const QString& linha : memo("MemoCNF")) EXPECT_EQ(linha.size(), 5 + 19);
    for (const QString& linha : memo("MemoAtualAliquota").mid(0, 16))
        EXPECT_TRUE(linha.endsWith(QStringLiteral("ICMS")));
}

TEST_F(ConfigECF, ContadoresDeCaracteresPeloTemporizadorDaJanelaDeStatus) {
    abreJanela();
    EXPECT_EQ(UStatus::Fstatus->TimerMonitorGeral.interval(), 100);
    QTest::keyClicks(controle<QLineEdit>("EdFormaPagamento"), QStringLiteral("Vale Refeicao 10"));
    controle<QLineEdit>("EdCNF")->setText(QStringLiteral("Recarga Crédito Já!"));
    UStatus::Fstatus->TimerMonitorGeralTimer();
    EXPECT_EQ(controle<QLabel>("LbTamanhoFormaPagamento")->text(), QStringLiteral("Caracteres Utilizados : 16"));
    EXPECT_EQ(controle<QLabel>("LbTamanhoCNF")->text(), QStringLiteral("Caracteres Utilizados : 19"));
    EXPECT_EQ(controle<QLabel>("LbTamanhoRG")->text(), QStringLiteral("Caracteres Utilizados : 0"));
    // The counters follow the edits even while the window is hidden.
    janela->hide();
    controle<QLineEdit>("EdFormaPagamento")->clear();
    UStatus::Fstatus->TimerMonitorGeralTimer();
    EXPECT_EQ(controle<QLabel>("LbTamanhoFormaPagamento")->text(), QStringLiteral("Caracteres Utilizados : 0"));
}

TEST_F(ConfigECF, AvisosPiscamComDezesseisCaracteresOuMais) {
    auto* aviso = controle<QLabel>("LbFormaPagamento");
    auto* rg = controle<QLabel>("LbRelGerencial");
    controle<QLineEdit>("EdFormaPagamento")->setText(QStringLiteral("123456789012345"));
    controle<QLineEdit>("EdRelGerencial")->setText(QStringLiteral("12345678901234567"));
    janela->TimerPiscaLabelTimer();
    EXPECT_TRUE(TFConfigECF::transparente(aviso));
    EXPECT_TRUE(TFConfigECF::transparente(rg));  // toggled from its opaque start
    janela->TimerPiscaLabelTimer();
    EXPECT_TRUE(TFConfigECF::transparente(aviso));
    EXPECT_FALSE(TFConfigECF::transparente(rg));

    controle<QLineEdit>("EdFormaPagamento")->setText(QStringLiteral("1234567890123456"));
    QList<bool> estados;
    for (int i = 0; i < 4; ++i) {
        janela->TimerPiscaLabelTimer();
        estados << TFConfigECF::transparente(aviso);
    }
    EXPECT_EQ(estados, (QList<bool>{false, true, false, true}));
    // The yellow is the label's own and outlives the skin's transparent labels.
    janela->TimerPiscaLabelTimer();
    EXPECT_TRUE(aviso->styleSheet().contains(QStringLiteral("#FFFF00")));
}

}  // namespace
