// The fiscal memory reading of the fiscal reports window: its panel, the
// range radios, the checks made before anything is sent, the one library
// call chosen by kind and output, and the view and save modes.
#include <algorithm>

#include <QCalendarWidget>
#include <QGroupBox>
#include <QLineEdit>

#include "impressao.h"
#include "kesafi32.h"
#include "platform/clock.h"
#include "printer/editdata.h"
#include "printer/nomes.h"
#include "printer/ustatus.h"
#include "relfiscais.h"

namespace {

const QString kTituloMF = QStringLiteral("Leitura da MF");
const QString kTituloLeituraMF = QStringLiteral("LEITURA \"MF\"");
const QString kSemTipo =
    QStringLiteral("Você deve Escolher o Tipo de Leitura!\rEscolha por Data, Redução ou dos Últimos 30 Dias");
const QString kDataInvalida =
    QStringLiteral("Você deve Escolher uma Data Válida!\rDigite uma Data Válida entre 2000 e 2060");
const QString kForaDosAnos = QStringLiteral("O Intervalo das Datas Devem Ficar Entre os Anos 2000 e 2060");
const QString kDatasInvertidas = QStringLiteral("A Data Final não Pode ser Inferior a Data Inicial");
const QString kSemReducoes =
    QStringLiteral("Você deve Escolher um Intervalo de Reduções!\rDigite um Valor entre 0001 e 9999");
const QString kReducoesInvertidas = QStringLiteral("O Valor Final não Pode ser Inferior ao Valor Inicial");

const char* const kChamadas[] = {"LeituraMemoriaFiscalDataMFD", "LeituraMemoriaFiscalReducaoMFD",
                                 "LeituraMemoriaFiscalSerialDataMFD", "LeituraMemoriaFiscalSerialReducaoMFD"};

class LeituraMF : public RelFiscais {
protected:
    EditData* data(const char* nome) { return controle<EditData>(nome); }
    QLineEdit* reducao(const char* nome) { return controle<QLineEdit>(nome); }
    void marca(const char* radio) { controle<QRadioButton>(radio)->setChecked(true); }

    // Types over the masks as a user would, after the range radio cleared them.
    void porData(const QString& inicial, const QString& final) {
        marca("RbMfPorData");
        data("EdMfDataInicial")->clear();
        data("EdMfDataFinal")->clear();
        QTest::keyClicks(data("EdMfDataInicial"), inicial);
        QTest::keyClicks(data("EdMfDataFinal"), final);
    }
    void porReducao(const QString& inicial, const QString& final) {
        marca("RbMfPorZ");
        reducao("EdMFZInicial")->clear();
        reducao("EdMFZFinal")->clear();
        QTest::keyClicks(reducao("EdMFZInicial"), inicial);
        QTest::keyClicks(reducao("EdMFZFinal"), final);
    }
    void emite() { QTest::mouseClick(controle<QPushButton>("BtLeituraMF"), Qt::LeftButton); }

    static int leituras() {
        int n = 0;
        for (const char* f : kChamadas) n += chamadas(f);
        return n;
    }
    // The one information box of a refused reading, and nothing sent.
    void recusada(const QString& mensagem) {
        const auto vistas = caixas();
        EXPECT_EQ(descritas(vistas), Caixas{descreve({Kind::Information, kTituloMF, mensagem, {}})});
        EXPECT_EQ(leituras(), 0);
    }
    // One reading sent through `funcao` with these texts, its answer box shown.
    void enviada(const char* funcao, const QString& argumentos) {
        EXPECT_EQ(leituras(), 1);
        EXPECT_EQ(chamadas(funcao), 1) << funcao;
        EXPECT_EQ(textos(), argumentos);
        const auto vistas = caixas();
        ASSERT_FALSE(vistas.empty());
        EXPECT_EQ(vistas[0].title, QStringLiteral("RESPOSTA DO ECF")) << descreve(vistas[0]);
        EXPECT_TRUE(vistas[0].text.startsWith(
            QStringLiteral("RESPOSTA DA IMPRESSORA AO COMANDO : Leitura Memória Fiscal\r\r")));
    }
    QWidget* foco() { return janela->focusWidget(); }
    // Forgets the calls counted so far; the port is opened again.
    void recomeca() {
        KesafiVirtual_DefinePastaBase(QFile::encodeName(pasta()).constData());
        abrePorta(QStringLiteral("Serial"));
        Kestrona_FI_HabilitaDesabilitaRetornoEstendidoMFD("1");
    }
};

TEST(DataValida, DiasDoCalendarioEscritosDdMmAa) {
    using URelFiscais::DataValida;
    for (const char* valida : {"31/12/99", "01/01/00", "31/12/60", "29/02/12", "1/2/03", " 1/ 2/03", "01/01/2012"})
        EXPECT_TRUE(DataValida(QString::fromLatin1(valida))) << valida;
    for (const char* invalida : {"  /  /  ", "12/  /  ", "29/02/13", "31/04/12", "00/01/12", "01/13/12", "01/01/123",
                                 "01-01-12", "010112", "aa/bb/cc", "", "01/01/12/1", "1 2/01/12"})
        EXPECT_FALSE(DataValida(QString::fromLatin1(invalida))) << invalida;
    EXPECT_EQ(URelFiscais::converteData(QStringLiteral("31/12/99")), QDate(2099, 12, 31));
    EXPECT_EQ(URelFiscais::converteData(QStringLiteral("05/06/2012")), QDate(2012, 6, 5));
}

TEST_F(LeituraMF, PainelNoEstadoInicialComDoisGruposDeRadios) {
    EXPECT_EQ(controle<QPushButton>("BtLeituraMF")->text(), QStringLiteral("Emitir Leitura da Memória Fiscal"));
    EXPECT_TRUE(controle<QPushButton>("BtLeituraMF")->isEnabled());
    EXPECT_TRUE(controle<QRadioButton>("RbImprimirMF")->isChecked());
    EXPECT_EQ(controle<QRadioButton>("RbVisualizarMF")->text(), QStringLiteral("Visualizar Leitura"));
    EXPECT_EQ(controle<QRadioButton>("RbSalvarMF")->text(), QStringLiteral("Salvar em Arquivo"));
    for (const char* radio : {"RbMfPorData", "RbMfPorZ", "RbMf30Dias"}) {
        EXPECT_FALSE(controle<QRadioButton>(radio)->isChecked()) << radio;
        EXPECT_TRUE(controle<QRadioButton>(radio)->text().isEmpty()) << radio;
    }
    EXPECT_EQ(controle<QGroupBox>("GbMfPorData")->title(), QStringLiteral("Por Data"));
    EXPECT_EQ(controle<QGroupBox>("GbMfPorZ")->title(), QStringLiteral("Por Redução"));
    EXPECT_EQ(controle<QGroupBox>("GbMf30Dias")->title(), QStringLiteral("30 Dias"));
    EXPECT_EQ(controle<QLabel>("LbMfDataInicial")->text() + controle<QLabel>("LbMfDataFinal")->text() +
                  controle<QLabel>("LbMfZInicial")->text() + controle<QLabel>("LbMfZFinal")->text(),
              QStringLiteral("InicialFinalInicialFinal"));
    EXPECT_EQ(controle<QLabel>("LbInfo30Dias")->text(), QStringLiteral("Todas as Reduções\r\ndos Últimos 30 Dias"));
    EXPECT_EQ(controle<QCheckBox>("CbMfSimplificada")->text(), QStringLiteral("Simplificada ( Opcional )"));
    EXPECT_FALSE(controle<QCheckBox>("CbMfSimplificada")->isChecked());
    for (const char* nome : {"EdMfDataInicial", "EdMfDataFinal"}) {
        EXPECT_FALSE(data(nome)->isEnabled());
        EXPECT_EQ(data(nome)->texto(), QStringLiteral("  /  /  "));
    }
    for (const char* nome : {"EdMFZInicial", "EdMFZFinal"}) {
        EXPECT_FALSE(reducao(nome)->isEnabled());
        EXPECT_EQ(reducao(nome)->displayText(), QStringLiteral("    "));
    }

    // The output and the range are two choices.
    marca("RbMfPorZ");
    marca("RbSalvarMF");
    EXPECT_TRUE(controle<QRadioButton>("RbMfPorZ")->isChecked());
    marca("RbMf30Dias");
    EXPECT_TRUE(controle<QRadioButton>("RbSalvarMF")->isChecked());
    EXPECT_FALSE(controle<QRadioButton>("RbMfPorZ")->isChecked());
    EXPECT_FALSE(controle<QRadioButton>("RbImprimirMF")->isChecked());
}

TEST_F(LeituraMF, RadiosDeFaixaHabilitamLimpamEPoemOFoco) {
    porReducao(QStringLiteral("12"), QStringLiteral("3"));
    EXPECT_EQ(reducao("EdMFZInicial")->displayText(), QStringLiteral("12  "));
    EXPECT_EQ(reducao("EdMFZFinal")->displayText(), QStringLiteral("3   "));

    QTest::mouseClick(controle<QRadioButton>("RbMfPorData"), Qt::LeftButton);
    EXPECT_TRUE(data("EdMfDataInicial")->isEnabled());
    EXPECT_TRUE(data("EdMfDataFinal")->isEnabled());
    EXPECT_FALSE(reducao("EdMFZInicial")->isEnabled());
    EXPECT_FALSE(reducao("EdMFZFinal")->isEnabled());
    EXPECT_EQ(reducao("EdMFZInicial")->displayText(), QStringLiteral("12  "));  // kept, disabled
    EXPECT_EQ(foco(), data("EdMfDataInicial"));
    QTest::keyClicks(data("EdMfDataInicial"), QStringLiteral("010212"));
    EXPECT_EQ(data("EdMfDataInicial")->texto(), QStringLiteral("01/02/12"));

    QTest::mouseClick(controle<QRadioButton>("RbMfPorZ"), Qt::LeftButton);
    EXPECT_EQ(reducao("EdMFZInicial")->displayText(), QStringLiteral("    "));
    EXPECT_EQ(reducao("EdMFZFinal")->displayText(), QStringLiteral("    "));
    EXPECT_TRUE(reducao("EdMFZInicial")->isEnabled());
    EXPECT_FALSE(data("EdMfDataInicial")->isEnabled());
    EXPECT_EQ(data("EdMfDataInicial")->texto(), QStringLiteral("01/02/12"));
    EXPECT_EQ(foco(), reducao("EdMFZInicial"));

    // The last 30 days from the computer's today, across February of a leap
    // year and of a common one.
    const std::pair<QDate, QString> casos[] = {{QDate(2012, 3, 30), QStringLiteral("29/02/12")},
                                               {QDate(2013, 3, 30), QStringLiteral("28/02/13")}};
    for (const auto& [hoje, inicio] : casos) {
        platform::clock::set(QDateTime(hoje, QTime(9, 0)));
        marca("RbMfPorData");
        marca("RbMf30Dias");
        EXPECT_EQ(data("EdMfDataInicial")->texto(), inicio);
        EXPECT_EQ(data("EdMfDataFinal")->texto(), hoje.toString(QStringLiteral("dd/MM/yy")));
        for (QLineEdit* e :
             {static_cast<QLineEdit*>(data("EdMfDataInicial")), static_cast<QLineEdit*>(data("EdMfDataFinal")),
              reducao("EdMFZInicial"), reducao("EdMFZFinal")})
            EXPECT_FALSE(e->isEnabled()) << e->objectName().toStdString();
    }
}

TEST_F(LeituraMF, OCalendarioEscreveODiaEscolhido) {
    platform::clock::set(QDateTime(QDate(2012, 3, 30), QTime(9, 0)));
    marca("RbMfPorData");
    EditData* e = data("EdMfDataFinal");
    e->abreCalendario();
    EXPECT_TRUE(e->calendario()->isVisible());
    EXPECT_EQ(e->calendario()->selectedDate(), QDate(2012, 3, 30));
    emit e->calendario()->clicked(QDate(2012, 2, 29));
    EXPECT_FALSE(e->calendario()->isVisible());
    EXPECT_EQ(e->texto(), QStringLiteral("29/02/12"));
    e->abreCalendario();
    EXPECT_EQ(e->calendario()->selectedDate(), QDate(2012, 2, 29));
    e->calendario()->hide();
}

TEST_F(LeituraMF, SemTipoDeLeituraNadaSaiEmNenhumModo) {
    for (const char* saida : {"RbImprimirMF", "RbVisualizarMF", "RbSalvarMF"}) {
        SCOPED_TRACE(saida);
        marca(saida);
        emite();
        recusada(kSemTipo);
        dialogos.take();
    }
    EXPECT_TRUE(relatorios().isEmpty());
    EXPECT_TRUE(memo()->toPlainText().isEmpty());
}

TEST_F(LeituraMF, DatasVerificadasAntesDeEnviar) {
    struct Caso {
        const char *inicial, *final;
        QString mensagem;
        const char* foco;
    };
    const Caso casos[] = {
        // Untouched, partial or impossible dates, in either edit.
        {"", "", kDataInvalida, "EdMfDataInicial"},
        {"010112", "", kDataInvalida, "EdMfDataInicial"},
        {"0101", "010112", kDataInvalida, "EdMfDataInicial"},
        {"300212", "010312", kDataInvalida, "EdMfDataInicial"},
        // 31/12/99 is a date, but not of the years the reading takes; the focus stays.
        {"311299", "010100", kForaDosAnos, "EdMfDataFinal"},
        {"010100", "010161", kForaDosAnos, "EdMfDataFinal"},
        {"020112", "010112", kDatasInvertidas, "EdMfDataInicial"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.inicial) + "-" + c.final);
        porData(QString::fromLatin1(c.inicial), QString::fromLatin1(c.final));
        data("EdMfDataFinal")->setFocus();
        janela->BtLeituraMFClick();
        recusada(c.mensagem);
        EXPECT_EQ(foco(), data(c.foco));
    }
}

TEST_F(LeituraMF, DatasDosLimitesEIguaisSaoAceitas) {
    porData(QStringLiteral("010100"), QStringLiteral("311260"));
    emite();
    enviada("LeituraMemoriaFiscalDataMFD", QStringLiteral("\"01/01/00\",\"31/12/60\",\"c\""));
    EXPECT_EQ(UStatus::iRetorno, 1);

    recomeca();
    porData(QStringLiteral("150612"), QStringLiteral("150612"));
    controle<QCheckBox>("CbMfSimplificada")->setChecked(true);
    emite();
    enviada("LeituraMemoriaFiscalDataMFD", QStringLiteral("\"15/06/12\",\"15/06/12\",\"s\""));
}

TEST_F(LeituraMF, ReducoesComparadasComoNumerosEEnviadasComoDigitadas) {
    // Missing bounds; 10 to 9 would pass as texts ("10" sorts before "9"),
    // as numbers it is decreasing.  The focus goes to the first edit.
    const std::tuple<const char*, const char*, QString> recusas[] = {{"", "", kSemReducoes},
                                                                     {"3", "", kSemReducoes},
                                                                     {"0010", "0005", kReducoesInvertidas},
                                                                     {"10", "9", kReducoesInvertidas}};
    for (const auto& [inicial, final, mensagem] : recusas) {
        SCOPED_TRACE(std::string(inicial) + "-" + final);
        porReducao(QString::fromLatin1(inicial), QString::fromLatin1(final));
        reducao("EdMFZFinal")->setFocus();
        janela->BtLeituraMFClick();
        recusada(mensagem);
        EXPECT_EQ(foco(), reducao("EdMFZInicial"));
    }

    // Leading zeros or not, equal or not: accepted, and sent with their blanks.
    const std::tuple<QString, QString, QString> aceitas[] = {
        {QStringLiteral("0005"), QStringLiteral("0010"), QStringLiteral("\"0005\",\"0010\",\"c\"")},
        {QStringLiteral("5"), QStringLiteral("10"), QStringLiteral("\"5   \",\"10  \",\"c\"")},
        {QStringLiteral("7"), QStringLiteral("0007"), QStringLiteral("\"7   \",\"0007\",\"c\"")},
    };
    for (const auto& [inicial, final, argumentos] : aceitas) {
        SCOPED_TRACE(argumentos.toStdString());
        recomeca();
        porReducao(inicial, final);
        emite();
        enviada("LeituraMemoriaFiscalReducaoMFD", argumentos);
        EXPECT_EQ(UStatus::iRetorno, 1);
    }
}

TEST_F(LeituraMF, UmaChamadaPorTipoESaida) {
    struct Caso {
        const char* faixa;
        const char* saida;
        const char* funcao;
    };
    const Caso casos[] = {
        {"RbMfPorData", "RbImprimirMF", "LeituraMemoriaFiscalDataMFD"},
        {"RbMfPorZ", "RbImprimirMF", "LeituraMemoriaFiscalReducaoMFD"},
        {"RbMf30Dias", "RbVisualizarMF", "LeituraMemoriaFiscalSerialDataMFD"},
        {"RbMfPorZ", "RbSalvarMF", "LeituraMemoriaFiscalSerialReducaoMFD"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.faixa) + " " + c.saida);
        recomeca();
        if (QLatin1String(c.faixa) == QLatin1String("RbMfPorData"))
            porData(QStringLiteral("010112"), QStringLiteral("311212"));
        else if (QLatin1String(c.faixa) == QLatin1String("RbMfPorZ"))
            porReducao(QStringLiteral("1"), QStringLiteral("2"));
        else
            marca(c.faixa);
        marca(c.saida);
        // Only a saved reading asks whether to show the file.
        if (QLatin1String(c.saida) == QLatin1String("RbSalvarMF")) dialogos.no();
        emite();
        EXPECT_EQ(leituras(), 1);
        EXPECT_EQ(chamadas(c.funcao), 1);
        dialogos.take();
    }
}

TEST_F(LeituraMF, ImprimirDeixaOTextoEVisualizarMostraACaptura) {
    memo()->setPlainText(QStringLiteral("leitura anterior"));
    porReducao(QStringLiteral("1"), QStringLiteral("9999"));
    QString legendaDuranteResposta;
    dialogos.whileOpen([&](const Record& r) {
        if (r.title == QLatin1String("RESPOSTA DO ECF"))
            legendaDuranteResposta = controle<QPushButton>("BtLeituraMF")->text();
    });
    emite();
    EXPECT_EQ(legendaDuranteResposta, QStringLiteral("Aguarde !!!"));
    EXPECT_EQ(controle<QPushButton>("BtLeituraMF")->text(), QStringLiteral("Emitir Leitura da Memória Fiscal"));
    EXPECT_EQ(memo()->toPlainText(), QStringLiteral("leitura anterior"));
    EXPECT_EQ(caixas().size(), 1u);

    marca("RbVisualizarMF");
    emite();
    EXPECT_EQ(UStatus::iRetorno, 1);
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Obtendo Leitura da M.F."));
    const auto linhas = URelFiscais::leLinhas(URelFiscais::arquivoCaptura());
    ASSERT_TRUE(linhas);
    EXPECT_TRUE(linhas->join('\n').contains(QStringLiteral("LEITURA DA MEMÓRIA FISCAL")));
    EXPECT_EQ(memo()->toPlainText(), (QStringList{QStringLiteral("Leitura M.F. pela Serial")} + *linhas).join('\n'));
    EXPECT_EQ(caixas().size(), 1u);
    EXPECT_TRUE(relatorios().isEmpty());
}

TEST_F(LeituraMF, SalvarCopiaACapturaEOfereceAbrirACopia) {
    platform::clock::set(QDateTime(QDate(2012, 2, 3), QTime(14, 5, 9)));
    memo()->setPlainText(QStringLiteral("antes"));
    porReducao(QStringLiteral("1"), QStringLiteral("3"));
    marca("RbSalvarMF");
    dialogos.yes();
    emite();

    const QString nome = printer::nomeDeArquivo(UStatus::sNumeroSerie) + QStringLiteral("_03022012_140509_MF.txt");
    EXPECT_EQ(relatorios(), QStringList{nome});
    const QByteArray captura = conteudo(QStringLiteral("Retorno.txt"));
    ASSERT_TRUE(std::any_of(captura.begin(), captura.end(), [](char c) { return c & 0x80; }));
    EXPECT_EQ(conteudo(QStringLiteral("Relatorios/") + nome), capturaEmUtf8());
    EXPECT_EQ(memo()->toPlainText(), QStringLiteral("antes"));
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(vistas[1].kind, Kind::Question);
    EXPECT_EQ(vistas[1].title, kTituloLeituraMF);
    EXPECT_EQ(vistas[1].text,
              QStringLiteral("Arquivo Gerado com Sucesso na Pasta Relatórios\rDeseja Visualizar o Arquivo?"));
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].target, arquivo(QStringLiteral("Relatorios/") + nome));
}

TEST_F(LeituraMF, CopiaQueFalhaNomeiaODestinoENaoPergunta) {
    ASSERT_TRUE(QDir(arquivo(QStringLiteral("Relatorios"))).removeRecursively());
    porReducao(QStringLiteral("1"), QStringLiteral("3"));
    marca("RbSalvarMF");
    emite();

    EXPECT_EQ(UStatus::iRetorno, 1);
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(vistas[1].kind, Kind::Error);
    EXPECT_EQ(vistas[1].title, kTituloLeituraMF);
    EXPECT_TRUE(vistas[1].text.contains(arquivo(QStringLiteral("Relatorios/")) + UStatus::sNomeArquivo + "_MF.txt"))
        << descreve(vistas[1]);
    // Nothing asked: a question, which nobody answers here, would fail the test.
    EXPECT_TRUE(shell.calls.empty());
}

// A reading reported as done that left no capture saves nothing; a printed
// one leaves the capture alone.
TEST_F(LeituraMF, UmaCapturaAnteriorNaoPassaPorLeituraNova) {
    marca("RbMf30Dias");
    gravaCaptura("LEITURA X DE UMA HORA ANTES\r\n");
    marca("RbImprimirMF");
    emite();
    EXPECT_EQ(conteudo(QStringLiteral("Retorno.txt")), QByteArray("LEITURA X DE UMA HORA ANTES\r\n"));
    caixas();

    marca("RbSalvarMF");
    KesafiVirtual_ForcaResposta(1, KESAFI_ACK, 0, 0, 0);
    emite();
    EXPECT_EQ(UStatus::iRetorno, 1);
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(descreve(vistas[1]),
              "Error LEITURA \"MF\": Nenhuma Leitura Foi Recebida do ECF\rNenhum Arquivo Foi Gravado.");
    EXPECT_TRUE(relatorios().isEmpty());
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(LeituraMF, ImpressoraQueRecusaOuDesligadaEmCadaModo) {
    const auto recusa = [] { KesafiVirtual_ForcaResposta(-27, KESAFI_ACK, 0, 1, 214); };
    const auto desliga = [] { KesafiVirtual_Liga(0); };
    const std::pair<const char*, std::function<void()>> falhas[] = {{"recusa", recusa}, {"desligada", desliga}};
    marca("RbMf30Dias");
    for (const auto& [caso, falha] : falhas) {
        SCOPED_TRACE(caso);
        KesafiVirtual_Liga(1);

        marca("RbImprimirMF");
        falha();
        emite();
        EXPECT_LT(UStatus::iRetorno, 1);
        auto vistas = caixas();
        EXPECT_TRUE(mostrou(vistas, Kind::Information, QStringLiteral("RETORNO DO ECF")));
        EXPECT_TRUE(mostrou(vistas, Kind::Information, QStringLiteral("RESPOSTA DO ECF")));
        EXPECT_EQ(controle<QPushButton>("BtLeituraMF")->text(), QStringLiteral("Emitir Leitura da Memória Fiscal"));

        marca("RbSalvarMF");
        falha();
        emite();
        vistas = caixas();
        EXPECT_FALSE(mostrou(vistas, Kind::Question, kTituloLeituraMF));
        EXPECT_FALSE(mostrou(vistas, Kind::Error, kTituloLeituraMF));
        EXPECT_TRUE(relatorios().isEmpty());

        // An earlier reading's capture is never shown as this one's.
        gravaCaptura("LEITURA ANTERIOR\r\nCRZ:0001\r\n");
        marca("RbVisualizarMF");
        falha();
        emite();
        EXPECT_EQ(memo()->toPlainText(),
                  QStringLiteral("Leitura M.F. pela Serial\nNenhuma Leitura Foi Recebida do ECF"));
        caixas();
    }
    EXPECT_TRUE(shell.calls.empty());
}

}  // namespace
