// The registration file side of the window: the template, the fixed widths,
// the keys never written, double-click deletions, entries in file mode and
// the configuration models.
#include <sys/inotify.h>
#include <unistd.h>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTest>

#include "../reports/impressao.h"
#include "configecf.h"
#include "kesafi_virtual.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "printer/tfstatus.h"
#include "printer/ustatus.h"
#include "usuario_comum.h"

using platform::dialogs::Kind;
using platform::dialogs::Record;

namespace {

QString brancos(int n) { return QString(n, QLatin1Char(' ')); }

bool utf8(const QByteArray& b) { return QString::fromUtf8(b).toUtf8() == b; }

class Cadastro : public ConfigECF {
protected:
    QByteArray modelo() const { return conteudo(arquivo(QStringLiteral("Modelo.ntf"))); }
    QString pastaModelos() const { return arquivo(QStringLiteral("Cadastro/Modelos")); }

    QString textoAliquota() { return controle<QLineEdit>("MEAliquota")->displayText(); }

    void modoArquivo() {
        for (const char* r : {"RbFormaPagtoArquivo", "RbAliquotaArquivo", "RbCNFArquivo", "RbRelGerencialArquivo"})
            controle<QRadioButton>(r)->click();
    }
};

TEST_F(Cadastro, ImpressoraNovaRecebeUmaCopiaDoModeloQueDepoisEhSua) {
    abreJanela();
    EXPECT_TRUE(caixas().empty());
    EXPECT_EQ(cadastro(), arquivo(QStringLiteral("Cadastro/")) + UStatus::sNumeroSerie + QStringLiteral(".ntf"));
    ASSERT_FALSE(modelo().isEmpty());
    EXPECT_EQ(conteudo(cadastro()), modelo());

    EXPECT_EQ(celula("SgFormaPagamento", 1, 1), QStringLiteral("Dinheiro        "));
    EXPECT_EQ(celula("SgFormaPagamento", 3, 1), QStringLiteral("Cartao Credito  "));
    EXPECT_EQ(celula("SgFormaPagamento", 3, 2), QStringLiteral("V"));
    EXPECT_EQ(celula("SgFormaPagamento", 6, 1), QString());
    EXPECT_EQ(celula("SgAliquotas", 5, 1), QStringLiteral("05,00%"));
    EXPECT_EQ(celula("SgAliquotas", 5, 2), QStringLiteral("Serviço(ISS)"));
    EXPECT_EQ(celula("SgCNF", 1), QStringLiteral("Recebimento        "));
    EXPECT_EQ(celula("SgCNF", 30), QStringLiteral("Suprimento         "));
    EXPECT_EQ(celula("SgRelGerencial", 1), QStringLiteral("Relatório Geral  "));
    EXPECT_EQ(celula("SgRelGerencial", 2), QStringLiteral("Fechamento Caixa "));

    // The copy is the printer's plan from now on: a changed template does not reach it.
    duploClique("SgAliquotas", 1);
    grava(arquivo(QStringLiteral("Modelo.ntf")), QByteArray("[Aliquota]\r\n1=\"99,00%\",ICMS\r\n"));
    reabre();
    EXPECT_EQ(celula("SgAliquotas", 1), QStringLiteral("12,00%"));
}

TEST_F(Cadastro, SemModeloAsGradesFicamVaziasAteAPrimeiraGravacao) {
    QFile::remove(arquivo(QStringLiteral("Modelo.ntf")));
    abreJanela();
    EXPECT_TRUE(caixas().empty());
    EXPECT_FALSE(QFile::exists(cadastro()));
    for (const char* g : {"SgFormaPagamento", "SgAliquotas", "SgCNF", "SgRelGerencial"})
        EXPECT_EQ(celula(g, 1), QString()) << g;

    modoArquivo();
    controle<QLineEdit>("EdFormaPagamento")->setText(QStringLiteral("PIX"));
    clica("BtEnviarFormaPagto");
    EXPECT_TRUE(caixas().empty());
    EXPECT_EQ(valor(QStringLiteral("FormaPagamento"), 2), QStringLiteral("\"PIX             \",V"));
    EXPECT_EQ(valor(QStringLiteral("Aliquota"), 16), QString());
    EXPECT_EQ(chamadas("ProgramaFormaPagamentoMFD"), 0);
}

TEST_F(Cadastro, NumeroDeSerieEmBrancoOuComSeparadoresNomeiaUmArquivoNaPasta) {
    abreJanela();
    UStatus::sNumeroSerie = brancos(20);
    reabre();
    EXPECT_TRUE(QFile::exists(arquivo(QStringLiteral("Cadastro/")) + brancos(20) + QStringLiteral(".ntf")));

    UStatus::sNumeroSerie = QStringLiteral("../VF08:0000*00010247");
    reabre();
    EXPECT_TRUE(caixas().empty());
    EXPECT_TRUE(QFile::exists(arquivo(QStringLiteral("Cadastro/.._VF08_0000_00010247.ntf"))));
    EXPECT_FALSE(QFile::exists(arquivo(QStringLiteral("VF08_0000_00010247.ntf"))));

    // The grids belong to the file they came from, even once another printer
    // has been located behind the open window.
    const QString carregado = cadastro();
    UStatus::sNumeroSerie = QStringLiteral("OUTRA");
    duploClique("SgAliquotas", 1);
    EXPECT_EQ(platform::Profile(carregado).readString(QStringLiteral("Aliquota"), QStringLiteral("1")),
              QStringLiteral("\"12,00%\",ICMS"));
    EXPECT_FALSE(QFile::exists(cadastro()));
}

TEST_F(Cadastro, ChavesQueOProgramaNuncaGravaSobrevivemAsGravacoes) {
    QByteArray texto = modelo();
    texto.replace("1=\"Dinheiro        \",N", "1=\"Dinheiro Vivo   \",N");
    texto.replace("29=\"Sangria            \"", "29=\"Retirada           \"");
    texto.replace("1=\"Relat\xf3rio Geral  \"", "1=\"Geral do Dia     \"");
    texto += "[Extra]\r\nnota=mantida\r\n";
    grava(arquivo(QStringLiteral("Modelo.ntf")), texto);
    abreJanela();
    EXPECT_EQ(celula("SgFormaPagamento", 1), QStringLiteral("Dinheiro Vivo   "));

    // Every save rewrites every key of the ranges, and only those.
    duploClique("SgAliquotas", 2);
    controle<QTableWidget>("SgCNF")->item(28, 1)->setText(QStringLiteral("Outro Nome         "));
    controle<QTableWidget>("SgRelGerencial")->item(0, 1)->setText(QStringLiteral("Outro Relatorio  "));
    controle<QTableWidget>("SgFormaPagamento")->item(0, 1)->setText(QStringLiteral("Outro Dinheiro  "));
    ASSERT_TRUE(janela->GravaCadastro());
    EXPECT_EQ(valor(QStringLiteral("FormaPagamento"), 1), QStringLiteral("\"Dinheiro Vivo   \",N"));
    EXPECT_EQ(valor(QStringLiteral("CNF"), 29), QStringLiteral("Retirada           "));
    EXPECT_EQ(valor(QStringLiteral("RelGerencial"), 1), QStringLiteral("Geral do Dia     "));
    EXPECT_EQ(valor(QStringLiteral("Aliquota"), 2), QStringLiteral("\"07,00%\",ICMS"));
    EXPECT_TRUE(conteudo(cadastro()).contains("nota=mantida"));

    reabre();
    EXPECT_EQ(celula("SgFormaPagamento", 1), QStringLiteral("Dinheiro Vivo   "));
    EXPECT_EQ(celula("SgCNF", 29), QStringLiteral("Retirada           "));
    EXPECT_EQ(celula("SgRelGerencial", 1), QStringLiteral("Geral do Dia     "));
}

TEST_F(Cadastro, LinhasEm16BrancosENomesCurtosEditadosAMao) {
    grava(arquivo(QStringLiteral("Modelo.ntf")),
          QByteArray("[FormaPagamento]\r\n2=\"                \",V\r\n3=\"PIX\",V\r\n4=\r\n"));
    abreJanela();
    EXPECT_EQ(celula("SgFormaPagamento", 2, 1), brancos(16));
    EXPECT_EQ(celula("SgFormaPagamento", 2, 2), QString());
    // The fixed widths are the format: a short quoted name is cut at the wrong places.
    EXPECT_EQ(celula("SgFormaPagamento", 3, 1), QStringLiteral("PIX\",V"));
    EXPECT_EQ(celula("SgFormaPagamento", 3, 2), QString());

    // File mode takes the first empty row, not the one of blanks.
    modoArquivo();
    controle<QCheckBox>("CbVincularPgto")->setChecked(false);
    controle<QLineEdit>("EdFormaPagamento")->setText(QStringLiteral("Boleto"));
    clica("BtEnviarFormaPagto");
    EXPECT_EQ(celula("SgFormaPagamento", 4, 1), QStringLiteral("Boleto          "));
    EXPECT_EQ(celula("SgFormaPagamento", 4, 2), QStringLiteral("N"));
    EXPECT_EQ(valor(QStringLiteral("FormaPagamento"), 2), QString());
    EXPECT_EQ(valor(QStringLiteral("FormaPagamento"), 4), QStringLiteral("\"Boleto          \",N"));
    EXPECT_TRUE(controle<QLineEdit>("EdFormaPagamento")->text().isEmpty());
}

TEST_F(Cadastro, DuploCliqueApagaConformeAGrade) {
    abreJanela();
    // Payment method 1 does nothing at all: the file is not even rewritten.
    QFile::remove(cadastro());
    duploClique("SgFormaPagamento", 1);
    EXPECT_FALSE(QFile::exists(cadastro()));
    EXPECT_EQ(celula("SgFormaPagamento", 1), QStringLiteral("Dinheiro        "));
    // Receipt 29 and report 1 stay, but the file is written.
    duploClique("SgCNF", 29);
    EXPECT_TRUE(QFile::exists(cadastro()));
    EXPECT_EQ(celula("SgCNF", 29), QStringLiteral("Sangria            "));
    QFile::remove(cadastro());
    duploClique("SgRelGerencial", 1);
    EXPECT_TRUE(QFile::exists(cadastro()));
    EXPECT_EQ(celula("SgRelGerencial", 1), QStringLiteral("Relatório Geral  "));

    // Receipts and reports lose the name and keep their places.
    duploClique("SgCNF", 1);
    EXPECT_EQ(celula("SgCNF", 1), QString());
    EXPECT_EQ(valor(QStringLiteral("CNF"), 1), QString());
    duploClique("SgRelGerencial", 2);
    EXPECT_EQ(celula("SgRelGerencial", 2), QString());
    EXPECT_EQ(celula("SgRelGerencial", 3), QStringLiteral("Conferencia      "));
    EXPECT_EQ(valor(QStringLiteral("RelGerencial"), 3), QStringLiteral("Conferencia      "));

    // Payment methods close the gap.
    duploClique("SgFormaPagamento", 2);
    EXPECT_EQ(celula("SgFormaPagamento", 2), QStringLiteral("Cartao Credito  "));
    EXPECT_EQ(celula("SgFormaPagamento", 2, 2), QStringLiteral("V"));
    EXPECT_EQ(celula("SgFormaPagamento", 5), QString());
    EXPECT_EQ(valor(QStringLiteral("FormaPagamento"), 4), QStringLiteral("\"Ticket Refeicao \",N"));
    EXPECT_EQ(valor(QStringLiteral("FormaPagamento"), 5), QString());
    EXPECT_TRUE(caixas().empty());
    EXPECT_EQ(chamadas("ProgramaFormaPagamentoMFD") + chamadas("ProgramaAliquota"), 0);
}

TEST_F(Cadastro, ApagarAAliquota3De5SobeAs4E5) {
    abreJanela();
    duploClique("SgAliquotas", 3);
    const QStringList esperadas{QStringLiteral("18,00%"), QStringLiteral("12,00%"), QStringLiteral("25,00%"),
                                QStringLiteral("05,00%"), QString()};
    for (int linha = 1; linha <= 5; ++linha) EXPECT_EQ(celula("SgAliquotas", linha), esperadas[linha - 1]) << linha;
    EXPECT_EQ(celula("SgAliquotas", 4, 2), QStringLiteral("Serviço(ISS)"));
    EXPECT_EQ(celula("SgAliquotas", 5, 2), QString());
    EXPECT_EQ(valor(QStringLiteral("Aliquota"), 4), QStringLiteral("\"05,00%\",Serviço(ISS)"));
    EXPECT_EQ(valor(QStringLiteral("Aliquota"), 5), QString());
}

TEST_F(Cadastro, AliquotaNoArquivoVaiParaAPrimeiraLinhaLivre) {
    abreJanela();
    modoArquivo();
    // The type is mandatory in file mode too.
    digitaAliquota(QStringLiteral("0750"));
    clica("BtEnviarAliquota");
    EXPECT_TRUE(mostrou(caixas(), Kind::Information, QStringLiteral("CONFIGURAÇÕES"),
                        QStringLiteral("Você Deve Escolher o Tipo de Alíquota(ICMS ou ISS)!")));

    controle<QRadioButton>("RbISS")->click();
    clica("BtEnviarAliquota");
    EXPECT_TRUE(caixas().empty());
    EXPECT_EQ(celula("SgAliquotas", 6, 1), QStringLiteral("07,50%"));
    EXPECT_EQ(celula("SgAliquotas", 6, 2), QStringLiteral("Serviço(ISS)"));
    EXPECT_EQ(valor(QStringLiteral("Aliquota"), 6), QStringLiteral("\"07,50%\",Serviço(ISS)"));
    EXPECT_EQ(textoAliquota(), QStringLiteral("__,__%"));

    // 00,00% and incomplete rates are refused here as well.
    for (const char* invalida : {"0000", "7"}) {
        controle<QLineEdit>("MEAliquota")->clear();
        digitaAliquota(QString::fromLatin1(invalida));
        clica("BtEnviarAliquota");
        EXPECT_TRUE(mostrou(caixas(), Kind::Information, QStringLiteral("CONFIGURAÇÕES"),
                            QStringLiteral("É Necessário Digitar Uma Alíquota Válida!")))
            << invalida;
    }
    EXPECT_EQ(celula("SgAliquotas", 7, 1), QString());

    // With every row taken nothing happens and the edit keeps the rate.
    for (int linha = 7; linha <= 16; ++linha)
        controle<QTableWidget>("SgAliquotas")->item(linha - 1, 1)->setText(QStringLiteral("01,00%"));
    controle<QLineEdit>("MEAliquota")->clear();
    digitaAliquota(QStringLiteral("1700"));
    clica("BtEnviarAliquota");
    EXPECT_EQ(descritas(caixas()),
              Caixas{"Information CONFIGURAÇÕES: As 16 Linhas de Alíquotas do Arquivo de Cadastro Estão Ocupadas.\r"
                     "Apague Uma Alíquota com um Clic Duplo Para Cadastrar Outra."});
    EXPECT_EQ(textoAliquota(), QStringLiteral("17,00%"));
    EXPECT_EQ(valor(QStringLiteral("Aliquota"), 7), QString());
    EXPECT_EQ(chamadas("ProgramaAliquota"), 0);
}

TEST_F(Cadastro, FormaDePagamentoNoArquivoDaLinha2A20) {
    abreJanela();
    modoArquivo();
    controle<QLineEdit>("EdFormaPagamento")->setText(QStringLiteral("Cartão"));
    clica("BtEnviarFormaPagto");
    // Characters, not bytes: "Cartão" fills six of the sixteen.
    EXPECT_EQ(celula("SgFormaPagamento", 6), QStringLiteral("Cartão          "));
    EXPECT_EQ(celula("SgFormaPagamento", 6, 2), QStringLiteral("V"));
    EXPECT_EQ(valor(QStringLiteral("FormaPagamento"), 6), QStringLiteral("\"Cartão          \",V"));
    // Written as UTF-8, the template's Windows-1252 text included.
    const QByteArray escrito = conteudo(cadastro());
    EXPECT_TRUE(utf8(escrito));
    EXPECT_TRUE(escrito.contains("6=\"Cart\xc3\xa3o          \",V\r\n"));
    EXPECT_TRUE(escrito.contains("1=\"Relat\xc3\xb3rio Geral  \""));

    controle<QLineEdit>("EdFormaPagamento")->setText(QStringLiteral("   "));
    clica("BtEnviarFormaPagto");
    EXPECT_TRUE(mostrou(caixas(), Kind::Information, QStringLiteral("CONFIGURAÇÕES"),
                        QStringLiteral("Forma de Pagamento não Pode Ser Formada de Espaços ou Vazia!")));
    EXPECT_TRUE(controle<QLineEdit>("EdFormaPagamento")->text().isEmpty());

    // Row 1 is never chosen; rows 2-20 all taken: nothing happens.
    controle<QTableWidget>("SgFormaPagamento")->item(0, 1)->setText(QString());
    for (int linha = 7; linha <= 20; ++linha)
        controle<QTableWidget>("SgFormaPagamento")->item(linha - 1, 1)->setText(QStringLiteral("x"));
    controle<QLineEdit>("EdFormaPagamento")->setText(QStringLiteral("Mais Uma"));
    clica("BtEnviarFormaPagto");
    EXPECT_EQ(descritas(caixas()),
              Caixas{"Information CONFIGURAÇÕES: As Linhas 2 a 20 de Formas de Pagamento do Arquivo de Cadastro "
                     "Estão Ocupadas.\rApague Uma Forma de Pagamento com um Clic Duplo Para Cadastrar Outra."});
    EXPECT_EQ(celula("SgFormaPagamento", 1), QString());
    EXPECT_EQ(controle<QLineEdit>("EdFormaPagamento")->text(), QStringLiteral("Mais Uma        "));
}

TEST_F(Cadastro, ComprovanteERelatorioNoArquivoPeloIndice) {
    abreJanela();
    modoArquivo();
    clica("BtEnviarCNF");
    EXPECT_TRUE(mostrou(caixas(), Kind::Information, QStringLiteral("CONFIGURAÇÕES"),
                        QStringLiteral("Você Deve Escolher o Índice do Totalizador!")));
    controle<QComboBox>("CbCNF")->setCurrentText(QStringLiteral("01"));
    controle<QLineEdit>("EdCNF")->setText(QStringLiteral("Recarga"));
    clica("BtEnviarCNF");
    // Replaced silently, never moved to a free row.
    EXPECT_TRUE(caixas().empty());
    EXPECT_EQ(celula("SgCNF", 1), QStringLiteral("Recarga            "));
    EXPECT_EQ(valor(QStringLiteral("CNF"), 1), QStringLiteral("Recarga            "));
    controle<QLineEdit>("EdCNF")->setText(QString());
    clica("BtEnviarCNF");
    EXPECT_TRUE(mostrou(caixas(), Kind::Information, QStringLiteral("CONFIGURAÇÃO"),
                        QStringLiteral("Comprovante Inválido para Cadastro")));

    clica("BtEnviarRelGerencial");
    EXPECT_TRUE(mostrou(caixas(), Kind::Information, QStringLiteral("CONFIGURAÇÃO"),
                        QStringLiteral("Índice Inválido para Cadastro")));
    controle<QComboBox>("CbRelGerencial")->setCurrentText(QStringLiteral("30"));
    controle<QLineEdit>("EdRelGerencial")->setText(QStringLiteral("Fechamento"));
    clica("BtEnviarRelGerencial");
    EXPECT_EQ(celula("SgRelGerencial", 30), QStringLiteral("Fechamento       "));
    EXPECT_EQ(valor(QStringLiteral("RelGerencial"), 30), QStringLiteral("Fechamento       "));
    controle<QLineEdit>("EdRelGerencial")->setText(brancos(5));
    clica("BtEnviarRelGerencial");
    EXPECT_TRUE(mostrou(caixas(), Kind::Information, QStringLiteral("CONFIGURAÇÃO"),
                        QStringLiteral("Relatório Inválido para Cadastro")));
    EXPECT_EQ(chamadas("NomeiaTotalizadorNaoSujeitoIcms") + chamadas("NomeiaRelatorioGerencialMFD"), 0);
}

TEST_F(Cadastro, ModeloSalvoEImportadoSubstituiTodasAsTabelas) {
    abreJanela();
    const QString salvo = pastaModelos() + QStringLiteral("/Loja.ntf");
    dialogos.text(salvo);
    clica("BtSalvaModeloConfig");
    std::vector<Record> vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(vistas[0].kind, Kind::SaveFile);
    EXPECT_EQ(vistas[0].title, QStringLiteral("Arquivo de Configuração"));
    EXPECT_EQ(vistas[0].text, arquivo(QStringLiteral("Cadastro")) + QStringLiteral("/Modelos"));
    EXPECT_EQ(descreve(vistas[1]), "Information CADASTRO: Configurações Salvas com Sucesso");
    EXPECT_EQ(conteudo(salvo), conteudo(cadastro()));

    // A model made on Windows, every table different, the never-written rows too.
    const QByteArray outro =
        "[FormaPagamento]\r\n1=\"Esp\xe9"
        "cie         \",N\r\n2=\"Cart\xe3o          \",V\r\n"
        "[Aliquota]\r\n1=\"03,00%\",Servi\xe7o(ISS)\r\n"
        "[CNF]\r\n30=\"Dep\xf3sito            \"\r\n"
        "[RelGerencial]\r\n1=\"Abertura         \"\r\n";
    const QString importado = pastaModelos() + QStringLiteral("/Outra.ntf");
    grava(importado, outro);
    const QByteArray substituido = conteudo(cadastro());
    UStatus::Fstatus->JanelaAbrir.title = QStringLiteral("de outra janela");
    dialogos.text(importado);
    clica("BtImportaModeloConfig");
    vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(vistas[0].kind, Kind::OpenFile);
    EXPECT_EQ(vistas[0].title, QString());
    EXPECT_EQ(vistas[0].text, arquivo(QStringLiteral("Cadastro")) + QStringLiteral("/Modelos"));
    EXPECT_EQ(descreve(vistas[1]),
              "Information CADASTRO: Configurações Importadas com Sucesso\rVerifique as Abas de Configuração!");
    EXPECT_EQ(conteudo(cadastro()), outro);
    // The plan it replaced stays beside it, to undo the import by hand.
    EXPECT_EQ(conteudo(cadastro() + QStringLiteral(".bak")), substituido);
    EXPECT_EQ(celula("SgFormaPagamento", 1), QStringLiteral("Espécie         "));
    EXPECT_EQ(celula("SgFormaPagamento", 2), QStringLiteral("Cartão          "));
    EXPECT_EQ(celula("SgFormaPagamento", 3), QString());
    EXPECT_EQ(celula("SgAliquotas", 1), QStringLiteral("03,00%"));
    EXPECT_EQ(celula("SgAliquotas", 1, 2), QStringLiteral("Serviço(ISS)"));
    EXPECT_EQ(celula("SgAliquotas", 2), QString());
    EXPECT_EQ(celula("SgCNF", 1), QString());
    EXPECT_EQ(celula("SgCNF", 30), QStringLiteral("Depósito           "));
    EXPECT_EQ(celula("SgRelGerencial", 1), QStringLiteral("Abertura         "));
    EXPECT_EQ(celula("SgRelGerencial", 2), QString());
    // The next save writes the whole file as UTF-8.
    duploClique("SgRelGerencial", 2);
    EXPECT_TRUE(utf8(conteudo(cadastro())));
    EXPECT_TRUE(conteudo(cadastro()).contains("30=\"Dep\xc3\xb3sito            \""));
    EXPECT_EQ(valor(QStringLiteral("FormaPagamento"), 2), QStringLiteral("\"Cartão          \",V"));
    const QByteArray depois = conteudo(cadastro());

    // A cancelled dialog does nothing.
    dialogos.cancel().cancel();
    clica("BtSalvaModeloConfig");
    clica("BtImportaModeloConfig");
    vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(conteudo(cadastro()), depois);
    EXPECT_EQ(chamadas("ProgramaAliquota"), 0);
}

TEST_F(Cadastro, CopiaDeModeloQueFalhaNomeiaOsDoisArquivosENaoMudaNada) {
    abreJanela();
    duploClique("SgAliquotas", 1);
    const QByteArray antes = conteudo(cadastro());
    const QString semPasta = arquivo(QStringLiteral("Nao Existe/Loja.ntf"));
    dialogos.text(semPasta);
    clica("BtSalvaModeloConfig");
    std::vector<Record> vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(vistas[1].kind, Kind::Error);
    EXPECT_EQ(vistas[1].title, QStringLiteral("CADASTRO"));
    EXPECT_TRUE(vistas[1].text.contains(cadastro()));
    EXPECT_TRUE(vistas[1].text.contains(semPasta));
    EXPECT_FALSE(QFile::exists(semPasta));

    const QString ausente = pastaModelos() + QStringLiteral("/Sumiu.ntf");
    dialogos.text(ausente);
    clica("BtImportaModeloConfig");
    vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(vistas[1].kind, Kind::Error);
    EXPECT_TRUE(vistas[1].text.contains(ausente));
    EXPECT_TRUE(vistas[1].text.contains(cadastro()));
    EXPECT_EQ(conteudo(cadastro()), antes);
    EXPECT_EQ(celula("SgAliquotas", 1), QStringLiteral("12,00%"));
}

TEST_F(Cadastro, ArquivoQueNaoPodeSerLidoNuncaEhSobrescrito) {
    uZentora3::Fprincipal->BtLocalizarImpressoraClick();
    caixas();
    // A registration "file" that cannot be opened for reading.
    ASSERT_TRUE(QDir().mkpath(cadastro()));
    QFile(cadastro() + QStringLiteral("/dentro.txt")).open(QIODevice::WriteOnly);
    uZentora3::Fprincipal->BtConfigFiscaisClick();
    std::vector<Record> vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u);
    EXPECT_EQ(vistas[0].kind, Kind::Error);
    EXPECT_TRUE(vistas[0].text.contains(cadastro()));
    EXPECT_EQ(celula("SgAliquotas", 1), QString());

    // Saves are refused with the same message; the printer side still works.
    modoArquivo();
    controle<QLineEdit>("EdFormaPagamento")->setText(QStringLiteral("PIX"));
    clica("BtEnviarFormaPagto");
    vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u);
    EXPECT_EQ(vistas[0].kind, Kind::Error);
    EXPECT_TRUE(QFileInfo(cadastro()).isDir());
    EXPECT_TRUE(QFile::exists(cadastro() + QStringLiteral("/dentro.txt")));
    EXPECT_EQ(memo("MemoAtualAliquota")[0], QStringLiteral("01 : 18,00% - ICMS"));

    dialogos.yes();
    clica("BtImpressoraArquivoAL");
    vistas = caixas();
    EXPECT_FALSE(mostrou(vistas, Kind::Information, QStringLiteral("CONFIGURAÇÕES"),
                         QStringLiteral("Alíquotas Copiadas com Sucesso")));
    EXPECT_TRUE(QFileInfo(cadastro()).isDir());
}

TEST_F(Cadastro, PastaDeCadastroInexistenteAvisaNaGravacaoEParaAli) {
    uZentora3::Fprincipal->BtLocalizarImpressoraClick();
    caixas();
    UStatus::sPastaCadastro = arquivo(QStringLiteral("Sem Pasta"));
    uZentora3::Fprincipal->BtConfigFiscaisClick();
    EXPECT_TRUE(caixas().empty());
    EXPECT_EQ(celula("SgAliquotas", 1), QString());

    dialogos.yes();
    clica("BtImpressoraArquivoAL");
    const std::vector<Record> vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(vistas[1].kind, Kind::Error);
    EXPECT_EQ(vistas[1].text, QStringLiteral("Unable to write to ") + cadastro());
    // No success is announced, and the grid shows what the file holds: nothing.
    EXPECT_EQ(celula("SgAliquotas", 1), QString());
    EXPECT_FALSE(QDir(arquivo(QStringLiteral("Sem Pasta"))).exists());
}

TEST_F(Cadastro, UmaLinhaEmWindows1252NaoEstragaAsOutras) {
    uZentora3::Fprincipal->BtLocalizarImpressoraClick();
    caixas();
    // The template in UTF-8, with a comment line saved by a Windows editor.
    QByteArray texto = platform::fromCp1252(modelo()).toUtf8();
    texto.insert(texto.indexOf("\r\n") + 2, "; Revis\xE3o de Mar\xE7o\r\n");
    grava(cadastro(), texto);
    uZentora3::Fprincipal->BtConfigFiscaisClick();
    EXPECT_TRUE(caixas().empty());
    EXPECT_EQ(celula("SgRelGerencial", 1), QStringLiteral("Relatório Geral  "));
    EXPECT_EQ(celula("SgFormaPagamento", 3), QStringLiteral("Cartao Credito  "));
    EXPECT_EQ(celula("SgFormaPagamento", 3, 2), QStringLiteral("V"));

    // A save writes every line once in UTF-8: nothing encoded twice.
    duploClique("SgAliquotas", 1);
    const QByteArray escrito = conteudo(cadastro());
    EXPECT_TRUE(utf8(escrito));
    EXPECT_TRUE(escrito.contains("; Revis\xc3\xa3o de Mar\xc3\xa7o\r\n"));
    EXPECT_TRUE(escrito.contains("1=\"Relat\xc3\xb3rio Geral  \""));
    reabre();
    EXPECT_EQ(celula("SgRelGerencial", 1), QStringLiteral("Relatório Geral  "));
}

TEST_F(Cadastro, ImportarOQueNaoEhModeloAvisaENaoMudaNada) {
    abreJanela();
    const QByteArray antes = conteudo(cadastro());
    QByteArray grande = "[CNF]\r\n";
    while (grande.size() <= configfiscal::kTamanhoMaximoModelo) grande += "; linha de texto qualquer\r\n";
    const std::pair<const char*, QByteArray> falsos[] = {
        {"Foto.ntf", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0", 20)},
        {"Grande.ntf", grande},
        {"Nota.ntf", "Modelo da loja do centro\r\nFormaPagamento=Dinheiro\r\n"},
    };
    for (const auto& [nome, bytes] : falsos) {
        const QString falso = pastaModelos() + QLatin1Char('/') + QString::fromLatin1(nome);
        grava(falso, bytes);
        dialogos.text(falso);
        clica("BtImportaModeloConfig");
        const std::vector<Record> vistas = caixas();
        ASSERT_EQ(vistas.size(), 2u) << nome << todas(vistas);
        EXPECT_EQ(vistas[1].kind, Kind::Error);
        EXPECT_EQ(vistas[1].title, QStringLiteral("CADASTRO"));
        EXPECT_TRUE(
            vistas[1].text.startsWith(QStringLiteral("O Arquivo\r") + falso + QStringLiteral("\rNão é um Modelo")))
            << nome;
        EXPECT_EQ(conteudo(cadastro()), antes) << nome;
        EXPECT_EQ(celula("SgAliquotas", 1), QStringLiteral("18,00%")) << nome;
    }
    EXPECT_FALSE(QFile::exists(cadastro() + QStringLiteral(".bak")));
}

TEST_F(Cadastro, SalvarModeloSobreUmExistentePerguntaAntes) {
    abreJanela();
    const QString salvo = pastaModelos() + QStringLiteral("/Loja.ntf");
    grava(salvo, "[CNF]\r\n1=\"Modelo Antigo       \"\r\n");
    const Caixas pergunta{
        "SaveFile Arquivo de Configuração: " + pastaModelos().toStdString(),
        "Question Arquivo de Configuração: O Arquivo\r" + salvo.toStdString() + "\rJá Existe. Deseja Substituí-lo?"};
    dialogos.text(salvo).no();
    clica("BtSalvaModeloConfig");
    std::vector<Record> vistas = caixas();
    EXPECT_EQ(descritas(vistas), pergunta);
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_TRUE(vistas[1].defaultNo);
    EXPECT_EQ(conteudo(salvo), QByteArray("[CNF]\r\n1=\"Modelo Antigo       \"\r\n"));

    dialogos.text(salvo).yes();
    clica("BtSalvaModeloConfig");
    Caixas substituido = pergunta;
    substituido.push_back("Information CADASTRO: Configurações Salvas com Sucesso");
    EXPECT_EQ(descritas(caixas()), substituido);
    EXPECT_EQ(conteudo(salvo), conteudo(cadastro()));
}

// Opens, writes and renames of the files of one folder, as the system saw them.
class Vigia {
public:
    explicit Vigia(const QString& pasta) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        EXPECT_GE(fd_, 0);
        // Closes are watched too: the system merges identical events in a
        // row, and an open is always followed by its close.
        EXPECT_GE(inotify_add_watch(fd_, QFile::encodeName(pasta).constData(),
                                    IN_OPEN | IN_CLOSE_NOWRITE | IN_CLOSE_WRITE | IN_MOVED_TO),
                  0);
    }
    ~Vigia() { ::close(fd_); }
    // How often each event happened to the file `nome` since the last call.
    struct Contagem {
        int aberturas = 0;
        int escritas = 0;  // closed after writing in place
        int substituicoes = 0;
    };
    Contagem conta(const QString& nome) {
        Contagem c;
        alignas(inotify_event) char buffer[64 * 1024];
        for (;;) {
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n <= 0) break;
            for (ssize_t i = 0; i < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + i);
                if (e->len > 0 && QFile::decodeName(e->name) == nome) {
                    if (e->mask & IN_OPEN) ++c.aberturas;
                    if (e->mask & IN_CLOSE_WRITE) ++c.escritas;
                    if (e->mask & IN_MOVED_TO) ++c.substituicoes;
                }
                i += ssize_t(sizeof(inotify_event) + e->len);
            }
        }
        return c;
    }

private:
    int fd_;
};

TEST_F(Cadastro, CadaLeituraECadaGravacaoTocaOArquivoUmaVez) {
    abreJanela();
    const QString nome = QFileInfo(cadastro()).fileName();
    Vigia vigia(QFileInfo(cadastro()).path());
    reabre();
    Vigia::Contagem c = vigia.conta(nome);
    EXPECT_EQ(c.aberturas, 1);
    EXPECT_EQ(c.substituicoes + c.escritas, 0);

    duploClique("SgAliquotas", 1);
    c = vigia.conta(nome);
    EXPECT_EQ(c.aberturas, 1);
    EXPECT_EQ(c.substituicoes, 1);
    EXPECT_EQ(c.escritas, 0);
    EXPECT_EQ(valor(QStringLiteral("Aliquota"), 1), QStringLiteral("\"12,00%\",ICMS"));
    vigia.conta(nome);  // the test's own read

    // A copy from the printer: one question, one read of the table, one save.
    dialogos.yes();
    clica("BtImpressoraArquivoAL");
    caixas();
    c = vigia.conta(nome);
    EXPECT_EQ(c.aberturas, 1);
    EXPECT_EQ(c.substituicoes, 1);
}

TEST_F(Cadastro, GravacaoRecusadaMostraDeNovoOQueOArquivoTem) {
    abreJanela();
    const QByteArray antes = conteudo(cadastro());
    ComoUsuarioComum::entrega(QFile::encodeName(pasta()).toStdString(), 0755);
    ComoUsuarioComum::entrega(QFile::encodeName(arquivo(QStringLiteral("Cadastro"))).toStdString(), 0755);
    ComoUsuarioComum::entrega(QFile::encodeName(cadastro()).toStdString(), 0444);
    std::vector<Record> vistas;
    {
        ComoUsuarioComum usuario;
        duploClique("SgAliquotas", 1);
        vistas = caixas();
        EXPECT_EQ(celula("SgAliquotas", 1), QStringLiteral("18,00%"));
        EXPECT_EQ(celula("SgAliquotas", 2), QStringLiteral("12,00%"));

        // A name the file did not take stays typed, for another try.
        modoArquivo();
        controle<QLineEdit>("EdFormaPagamento")->setText(QStringLiteral("PIX"));
        clica("BtEnviarFormaPagto");
        const std::vector<Record> mais = caixas();
        vistas.insert(vistas.end(), mais.begin(), mais.end());
        EXPECT_EQ(celula("SgFormaPagamento", 6), QString());
        EXPECT_EQ(controle<QLineEdit>("EdFormaPagamento")->text(), QStringLiteral("PIX             "));
    }
    const std::string recusa = "Error Erro: Unable to write to " + cadastro().toStdString();
    EXPECT_EQ(descritas(vistas), (Caixas{recusa, recusa}));
    EXPECT_EQ(conteudo(cadastro()), antes);
}

}  // namespace
