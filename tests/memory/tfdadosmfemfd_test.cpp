// The MF/MFD data window against the virtual printer: the range controls,
// the download and the mirror, the conversion of a stored file, the last
// reduction's report, the MF download, the configuration print-out and the
// signature check.
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>

#include "../reports/impressao.h"
#include "auxiliares.h"
#include "commands/tfcomandosadicionais.h"
#include "core/dadosz.h"
#include "core/datahora.h"
#include "disco_cheio.h"
#include "ead/chaves.h"
#include "ead/ead.h"
#include "kesafi32.h"
#include "kesafi_virtual.h"
#include "memory/tfdadosmfemfd.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "printer/buffer.h"
#include "printer/editdata.h"
#include "printer/nomes.h"
#include "printer/tfstatus.h"
#include "printer/ustatus.h"

using platform::dialogs::Kind;
using platform::dialogs::Record;

namespace {

const QDateTime kMomento(QDate(2026, 3, 10), QTime(14, 5, 9));
const QString kStem = QStringLiteral("_10032026_140509");

// What the signature check received, and what it answers.
struct Validacao {
    int chamadas = 0;
    QByteArray arquivo;
    QByteArray chave1;
    QByteArray chave2;
    int resposta = 1;
};
Validacao gValidacao;

int KESAFI_CALL validacaoSimulada(const char* arquivo, const char* chave1, const char* chave2) {
    ++gValidacao.chamadas;
    gValidacao.arquivo = arquivo;
    gValidacao.chave1 = chave1;
    gValidacao.chave2 = chave2;
    return gValidacao.resposta;
}

class DadosMFeMFD : public TesteDeJanela<TFDadosMFeMFD> {
protected:
    void SetUp() override {
        Instalacao::SetUp();
        if (HasFatalFailure()) return;
        localizaImpressora();
        if (HasFatalFailure()) return;
        uZentora3::Fprincipal->BtDadosDaMFDClick();
        janela = uDadosMFeMFD::FDadosMFeMFD.get();
        ASSERT_NE(janela, nullptr);
        ASSERT_FALSE(UStatus::sNumeroSerie.trimmed().isEmpty());
        platform::clock::set(kMomento);
        gValidacao = {};
    }
    void TearDown() override {
        uDadosMFeMFD::validateFile = &::validateFile;
        Instalacao::TearDown();
    }

    QToolButton* botao(const char* nome) { return controle<QToolButton>(nome); }
    QLineEdit* edicao(const char* nome) { return controle<QLineEdit>(nome); }
    void clica(const char* nome) { QTest::mouseClick(botao(nome), Qt::LeftButton); }
    void marca(const char* radio) { controle<QRadioButton>(radio)->click(); }
    void digita(const char* nome, const QString& texto) { ::digita(edicao(nome), texto); }
    // The whole tape and a download type chosen, the boxes of choosing forgotten.
    void total(const char* tipo) {
        marca("RbDownloadTotalMFD");
        marca(tipo);
        caixas();
    }
    void porCoo(const QString& inicial, const QString& final) {
        marca("RbDownloadCOOMfd");
        digita("EdCooInicialMFD", inicial);
        digita("EdCooFinalMFD", final);
    }

    // The next call of the library answers success without doing anything.
    static void forcaSucesso() { ASSERT_EQ(KesafiVirtual_ForcaResposta(1, KESAFI_ACK, 0, 0, 0), 1); }

    QString serie() const { return printer::nomeDeArquivo(UStatus::sNumeroSerie); }
    QString relatorio(const QString& nome) const { return arquivo(QStringLiteral("Relatorios/") + nome); }
    QStringList relatorios() const {
        return QDir(arquivo(QStringLiteral("Relatorios"))).entryList(QDir::Files | QDir::Hidden);
    }
    QString path() const { return leIni(QStringLiteral("Sistema"), QStringLiteral("Path")); }
};

}  // namespace

// ------------------------------------------------------------ the window

TEST_F(DadosMFeMFD, JanelaComSeusControlesNoEstadoInicial) {
    EXPECT_EQ(janela->windowTitle(),
              QStringLiteral("Zentora 3.0 - Impressoras Fiscais Kestrona - Exclusivo Para Térmicas"));
    EXPECT_EQ(janela->size(), QSize(792, 450));
    EXPECT_EQ(janela->minimumSize(), janela->maximumSize());
    EXPECT_EQ(janela->pos(), uZentora3::Fprincipal->pos());
    EXPECT_TRUE(janela->isVisible());

    for (const char* r : {"RbDownloadDataMfd", "RbDownloadCOOMfd", "RbDownloadTotalMFD", "RbTipoMF", "RbTipoTDM",
                          "RbTipoMFD", "RbTipoRZ", "RbTipoRFD", "RbSaidaTXT", "RbSaidaRTF", "RbSaidaMDB"})
        EXPECT_FALSE(controle<QRadioButton>(r)->isChecked()) << r;
    EXPECT_FALSE(controle<QRadioButton>("RbTipoRFD")->isEnabled());
    EXPECT_TRUE(controle<QRadioButton>("RbTipoRZ")->isEnabled());
    for (const char* e : {"EdDataInicialMFD", "EdDataFinalMFD"}) {
        EXPECT_FALSE(edicao(e)->isEnabled()) << e;
        EXPECT_EQ(edicao(e)->displayText(), QStringLiteral("  /  /  ")) << e;
    }
    for (const char* e : {"EdCooInicialMFD", "EdCooFinalMFD"}) {
        EXPECT_FALSE(edicao(e)->isEnabled()) << e;
        EXPECT_EQ(edicao(e)->displayText(), QStringLiteral("      ")) << e;
    }
    auto* usuario = controle<QScrollBar>("SbUSuarioMFD");
    EXPECT_EQ(usuario->orientation(), Qt::Vertical);
    EXPECT_EQ(usuario->minimum(), 1);
    EXPECT_EQ(usuario->maximum(), 5);
    EXPECT_EQ(usuario->value(), 1);
    auto* numero = controle<QLabel>("LbUsuarioMFD");
    EXPECT_EQ(numero->text(), QStringLiteral("1"));
    EXPECT_EQ(numero->font().pixelSize(), 32);
    EXPECT_TRUE(numero->font().bold());
    EXPECT_FALSE(controle<QCheckBox>("CbParticionar")->isChecked());

    // The seven large buttons: picture above a bold caption, all usable.
    const std::pair<const char*, const char*> grandes[] = {
        {"BtDownloadMFD", "Gerar Arquivo MFD e Tipo E"},   {"BtMFDDiretoTXT", "Gerar Espelho da MFD"},
        {"BtFormatoMFD", "Gerar Espelho do Arquivo .MFD"}, {"BtDadosZ", "Download dos Dados da Última Z"},
        {"BtDownloadMF", "Download do Arquivo .MF"},       {"BtImprimirConfig", "Imprimir Configurações do ECF"},
        {"BtValidarAssinatura", "Validar Assinatura"}};
    for (const auto& [nome, legenda] : grandes) {
        SCOPED_TRACE(nome);
        QToolButton* b = botao(nome);
        EXPECT_EQ(b->text(), QString::fromUtf8(legenda));
        EXPECT_EQ(b->size(), QSize(220, 85));
        EXPECT_TRUE(b->isEnabled());
        EXPECT_TRUE(b->font().bold());
        EXPECT_EQ(b->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        EXPECT_FALSE(b->icon().isNull());
        // The caption fits: nothing is cut off with an ellipsis.
        EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), b->width() - 12);
    }
}

TEST_F(DadosMFeMFD, RadiosDeFaixaHabilitamSuasEdicoesEGuardamOsTextos) {
    marca("RbDownloadDataMfd");
    EXPECT_TRUE(edicao("EdDataInicialMFD")->isEnabled());
    EXPECT_TRUE(edicao("EdDataFinalMFD")->isEnabled());
    EXPECT_FALSE(edicao("EdCooInicialMFD")->isEnabled());
    digita("EdDataInicialMFD", QStringLiteral("050312"));
    EXPECT_EQ(edicao("EdDataInicialMFD")->displayText(), QStringLiteral("05/03/12"));

    // The drop-down calendar opens on the edit's date and writes the chosen day back.
    auto* final = controle<EditData>("EdDataFinalMFD");
    final->abreCalendario();
    QCalendarWidget* mes = final->calendario();
    EXPECT_TRUE(mes->isVisible());
    EXPECT_EQ(mes->selectedDate(), kMomento.date());
    emit mes->clicked(QDate(2012, 7, 12));
    EXPECT_EQ(edicao("EdDataFinalMFD")->displayText(), QStringLiteral("12/07/12"));
    EXPECT_FALSE(mes->isVisible());

    marca("RbDownloadCOOMfd");
    EXPECT_FALSE(edicao("EdDataInicialMFD")->isEnabled());
    EXPECT_TRUE(edicao("EdCooInicialMFD")->isEnabled());
    EXPECT_TRUE(edicao("EdCooFinalMFD")->isEnabled());
    digita("EdCooInicialMFD", QStringLiteral("12"));
    EXPECT_EQ(edicao("EdCooInicialMFD")->displayText(), QStringLiteral("12    "));
    EXPECT_EQ(edicao("EdDataInicialMFD")->displayText(), QStringLiteral("05/03/12"));

    marca("RbDownloadDataMfd");
    EXPECT_EQ(edicao("EdCooInicialMFD")->displayText(), QStringLiteral("12    "));
    EXPECT_FALSE(controle<QRadioButton>("RbDownloadCOOMfd")->isChecked());

    controle<QScrollBar>("SbUSuarioMFD")->setValue(4);
    EXPECT_EQ(controle<QLabel>("LbUsuarioMFD")->text(), QStringLiteral("4"));
    EXPECT_EQ(janela->usuario(), QStringLiteral("4"));

    // Choices survive closing and showing the window again.
    janela->close();
    uZentora3::Fprincipal->BtDadosDaMFDClick();
    EXPECT_TRUE(controle<QRadioButton>("RbDownloadDataMfd")->isChecked());
    EXPECT_EQ(edicao("EdDataInicialMFD")->displayText(), QStringLiteral("05/03/12"));
    EXPECT_EQ(controle<QLabel>("LbUsuarioMFD")->text(), QStringLiteral("4"));
}

TEST_F(DadosMFeMFD, ClicarNaFaixaJaEscolhidaAMantem) {
    marca("RbTipoMFD");
    for (const char* nome : {"RbDownloadDataMfd", "RbDownloadCOOMfd", "RbDownloadTotalMFD"}) {
        auto* radio = controle<QRadioButton>(nome);
        QTest::mouseClick(radio, Qt::LeftButton);
        QTest::mouseClick(radio, Qt::LeftButton);
        EXPECT_TRUE(radio->isChecked()) << nome;
        EXPECT_EQ(controle<QRadioButton>("RbTipoMFD")->isChecked(), true);
    }
    EXPECT_FALSE(controle<QRadioButton>("RbDownloadDataMfd")->isChecked());
    caixas();
    // The choice stands: the download goes out (and is refused by the printer).
    KesafiVirtual_ForcaResposta(-27, KESAFI_ACK, 0, 1, 160);
    clica("BtDownloadMFD");
    const auto vistas = caixas();
    EXPECT_FALSE(mostrou(vistas, Kind::Information, QStringLiteral("MFD"),
                         QStringLiteral("Escolha se o Download é Total, por COO ou Data")))
        << todas(vistas);
    EXPECT_EQ(chamadas("ArquivoMFD"), 1);
}

TEST_F(DadosMFeMFD, SemProgramaQueAbraOArquivoOuAPastaUmaCaixaOsNomeia) {
    marca("RbDownloadTotalMFD");
    caixas();
    shell.result = false;
    forcaSucesso();
    dialogos.yes();
    clica("BtMFDDiretoTXT");
    const QString espelho = relatorio(serie() + kStem + QStringLiteral("_Espelho.txt"));
    auto vistas = caixas();
    ASSERT_FALSE(vistas.empty());
    EXPECT_EQ(vistas.back().kind, Kind::Error) << todas(vistas);
    EXPECT_EQ(vistas.back().title, QStringLiteral("ABRIR ARQUIVO"));
    EXPECT_TRUE(vistas.back().text.startsWith(
        QStringLiteral("Não Foi Possível Abrir o Arquivo no Visualizador de Texto (Notepad):\r") + espelho))
        << vistas.back().text.toStdString();

    marca("RbTipoMF");
    grava(relatorio(QStringLiteral("Download.MFD")), "baixado");
    forcaSucesso();
    dialogos.yes();
    clica("BtDownloadMFD");
    vistas = caixas();
    ASSERT_FALSE(vistas.empty());
    EXPECT_EQ(vistas.back().kind, Kind::Error) << todas(vistas);
    EXPECT_TRUE(vistas.back().text.startsWith(QStringLiteral("Não Foi Possível Abrir a Pasta:\r") +
                                              arquivo(QStringLiteral("Relatorios"))))
        << vistas.back().text.toStdString();
}

TEST_F(DadosMFeMFD, TotalMostraDoInicioAHojeEOUltimoCoo) {
    marca("RbDownloadTotalMFD");
    for (const char* e : {"EdDataInicialMFD", "EdDataFinalMFD", "EdCooInicialMFD", "EdCooFinalMFD"})
        EXPECT_FALSE(edicao(e)->isEnabled()) << e;
    EXPECT_EQ(edicao("EdDataInicialMFD")->displayText(), QStringLiteral("01/01/00"));
    EXPECT_EQ(edicao("EdDataFinalMFD")->displayText(), QStringLiteral("10/03/26"));
    EXPECT_EQ(edicao("EdCooInicialMFD")->displayText(), QStringLiteral("000001"));
    EXPECT_EQ(edicao("EdCooFinalMFD")->displayText(), QStringLiteral("%1").arg(contador("COO"), 6, 10, QChar('0')));
    EXPECT_EQ(chamadas("NumeroCupom"), 1);
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Verificando Último COO"));
    EXPECT_TRUE(caixas().empty());  // no answer box

    // Nothing typed: a date range from 01/01/00 to today; the COOs are not passed.
    const auto intervalo = uDadosMFeMFD::ConfereIntervalo(janela->escolha(), uDadosMFeMFD::semFaixaRelatorio());
    ASSERT_TRUE(std::holds_alternative<uDadosMFeMFD::Intervalo>(intervalo));
    const auto& total = std::get<uDadosMFeMFD::Intervalo>(intervalo);
    EXPECT_EQ(uDadosMFeMFD::seletorMFD(total), QStringLiteral("D"));
    EXPECT_EQ(total.inicial, QStringLiteral("01/01/00"));
    EXPECT_EQ(total.final, QStringLiteral("10/03/26"));
}

TEST_F(DadosMFeMFD, TotalComImpressoraDesligadaDeixaOCooFinalEmBranco) {
    KesafiVirtual_Liga(0);
    marca("RbDownloadTotalMFD");
    const auto vistas = caixas();
    EXPECT_TRUE(
        mostrou(vistas, Kind::Information, QStringLiteral("RETORNO DO ECF"), QStringLiteral("Erro de Comunicação !")))
        << todas(vistas);
    EXPECT_EQ(edicao("EdCooFinalMFD")->displayText(), QStringLiteral("      "));
    EXPECT_EQ(edicao("EdCooInicialMFD")->displayText(), QStringLiteral("000001"));
}

// -------------------------------------------------------- range refusals

TEST_F(DadosMFeMFD, RecusasDaFaixaNaoChegamAImpressora) {
    const QString pathAntes = path();
    // No range: each button names what it makes.
    clica("BtDownloadMFD");
    clica("BtMFDDiretoTXT");
    auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u) << todas(vistas);
    EXPECT_EQ(vistas[0].text, QStringLiteral("Escolha se o Download é Total, por COO ou Data"));
    EXPECT_EQ(vistas[1].text, QStringLiteral("Escolha se o Relatório é Total, por COO ou Data"));
    EXPECT_EQ(vistas[1].title, QStringLiteral("MFD"));

    // A range but no type: only the download refuses.
    marca("RbDownloadDataMfd");
    clica("BtDownloadMFD");
    vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u);
    EXPECT_EQ(vistas[0].text, QStringLiteral("Escolha o Tipo de Download"));

    // Untouched date edits: the focus goes to the first one.
    marca("RbTipoMFD");
    edicao("EdDataFinalMFD")->setFocus();
    clica("BtDownloadMFD");
    vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u);
    EXPECT_EQ(vistas[0].title, QStringLiteral("Leitura da MF"));
    EXPECT_EQ(vistas[0].text,
              QStringLiteral("Você deve Escolher uma Data Válida!\rDigite uma Data Válida entre 2000 e 2060"));
    EXPECT_EQ(janela->focusWidget(), edicao("EdDataInicialMFD"));

    // A year of 75: the focus stays where it was.
    digita("EdDataInicialMFD", QStringLiteral("010175"));
    digita("EdDataFinalMFD", QStringLiteral("010110"));
    edicao("EdDataFinalMFD")->setFocus();
    clica("BtMFDDiretoTXT");
    vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u);
    EXPECT_EQ(vistas[0].text, QStringLiteral("O Intervalo das Datas Devem Ficar Entre os Anos 2000 e 2060"));
    EXPECT_EQ(janela->focusWidget(), edicao("EdDataFinalMFD"));

    // COO typed as 12: six digits are needed.
    porCoo(QStringLiteral("12"), QStringLiteral("000100"));
    edicao("EdCooFinalMFD")->setFocus();
    clica("BtMFDDiretoTXT");
    vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u);
    EXPECT_TRUE(vistas[0].text.startsWith(QStringLiteral("Você deve Escolher um Intervalo de Cupons com 6 Dígitos!")));
    EXPECT_EQ(janela->focusWidget(), edicao("EdCooInicialMFD"));

    EXPECT_EQ(chamadas("ArquivoMFD"), 0);
    EXPECT_EQ(chamadas("EspelhoMFD"), 0);
    EXPECT_EQ(path(), pathAntes);
    EXPECT_EQ(botao("BtDownloadMFD")->text(), QStringLiteral("Gerar Arquivo MFD e Tipo E"));
}

// ------------------------------------------------------------ the mirror

TEST_F(DadosMFeMFD, EspelhoSemTipoRodaEOfereceOArquivoQueFoiGravado) {
    marca("RbDownloadTotalMFD");
    caixas();
    QString legendaDuranteResposta;
    dialogos.whileOpen([&](const Record& r) {
        if (r.title == QLatin1String("RESPOSTA DO ECF")) legendaDuranteResposta = botao("BtMFDDiretoTXT")->text();
    });
    forcaSucesso();
    dialogos.yes();
    clica("BtMFDDiretoTXT");

    EXPECT_EQ(chamadas("EspelhoMFD"), 1);
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Espelho da MFD"));
    EXPECT_EQ(UStatus::sNomeArquivo, serie() + kStem);
    EXPECT_EQ(legendaDuranteResposta, QStringLiteral("Aguarde !!!"));
    EXPECT_EQ(botao("BtMFDDiretoTXT")->text(), QStringLiteral("Gerar Espelho da MFD"));
    const QString nome = serie() + kStem + QStringLiteral("_Espelho.txt");
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u) << todas(vistas);
    EXPECT_EQ(vistas[0].title, QStringLiteral("RESPOSTA DO ECF"));
    EXPECT_EQ(vistas[1].kind, Kind::Question);
    EXPECT_EQ(vistas[1].title, QStringLiteral("ESPELHO DA MFD"));
    EXPECT_EQ(vistas[1].text,
              QStringLiteral("Arquivo ") + nome +
                  QStringLiteral(" Gerado com Sucesso na Pasta Relatórios\rDeseja Executar o Arquivo?"));
    // The viewer gets the name the library wrote, "_Espelho.txt" in lower case.
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].action, QStringLiteral("document"));
    EXPECT_EQ(shell.calls[0].target, relatorio(nome));
}

TEST_F(DadosMFeMFD, EspelhoRecusadoNaoPerguntaEDoisEspelhosTemNomesProprios) {
    marca("RbDownloadDataMfd");
    digita("EdDataInicialMFD", QStringLiteral("010126"));
    digita("EdDataFinalMFD", QStringLiteral("010126"));  // equal bounds pass
    KesafiVirtual_ForcaResposta(-27, KESAFI_ACK, 0, 1, 160);
    clica("BtMFDDiretoTXT");
    auto vistas = caixas();
    EXPECT_TRUE(mostrou(vistas, Kind::Information, QStringLiteral("RETORNO DO ECF"))) << todas(vistas);
    EXPECT_TRUE(mostrou(vistas, Kind::Information, QStringLiteral("RESPOSTA DO ECF")));
    EXPECT_FALSE(mostrou(vistas, Kind::Question, QStringLiteral("ESPELHO DA MFD")));
    EXPECT_EQ(botao("BtMFDDiretoTXT")->text(), QStringLiteral("Gerar Espelho da MFD"));

    QStringList perguntas;
    for (int i = 0; i < 2; ++i) {
        forcaSucesso();
        dialogos.no();
        clica("BtMFDDiretoTXT");
        for (const Record& r : caixas())
            if (r.kind == Kind::Question) perguntas << r.text;
        platform::clock::advance(1000);
    }
    ASSERT_EQ(perguntas.size(), 2);
    EXPECT_NE(perguntas[0], perguntas[1]);
    EXPECT_TRUE(perguntas[1].contains(serie() + QStringLiteral("_10032026_140510_Espelho.txt")));
    EXPECT_TRUE(shell.calls.empty());
}

// ---------------------------------------------------------- the download

TEST_F(DadosMFeMFD, DownloadRecusadoVoltaOPathEGuardaOQueABibliotecaDeixou) {
    const QString pastaBase = UStatus::sPastaBase;
    ASSERT_EQ(path(), pastaBase);
    total("RbTipoMF");
    // A refusal that still left a download behind.
    grava(relatorio(QStringLiteral("Download.MFD")), "parcial");
    QString pathDuranteResposta;
    dialogos.whileOpen([&](const Record& r) {
        if (r.title == QLatin1String("RETORNO DO ECF")) pathDuranteResposta = path();
    });
    KesafiVirtual_ForcaResposta(-27, KESAFI_ACK, 0, 1, 52);
    clica("BtDownloadMFD");

    EXPECT_EQ(chamadas("ArquivoMFD"), 1);
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Download da MFD"));
    EXPECT_EQ(path(), pastaBase);
    EXPECT_EQ(pathDuranteResposta, pastaBase);  // set back as soon as the call returned
    const auto vistas = caixas();
    EXPECT_TRUE(mostrou(vistas, Kind::Information, QStringLiteral("RESPOSTA DO ECF"))) << todas(vistas);
    EXPECT_FALSE(mostrou(vistas, Kind::Question, QStringLiteral("DOWNLOAD DA MFD")));
    // Nothing asked: a question, which nobody answers here, would fail the test.
    EXPECT_EQ(conteudo(relatorio(serie() + QStringLiteral(".MFD"))), QByteArray("parcial"));
    EXPECT_FALSE(QFile::exists(relatorio(QStringLiteral("Download.MFD"))));
    EXPECT_EQ(botao("BtDownloadMFD")->text(), QStringLiteral("Gerar Arquivo MFD e Tipo E"));
    EXPECT_TRUE(shell.calls.empty());

    // Refused with nothing left behind: nothing to copy, nothing said about it.
    KesafiVirtual_ForcaResposta(-27, KESAFI_ACK, 0, 1, 52);
    clica("BtDownloadMFD");
    EXPECT_EQ(path(), pastaBase);
    EXPECT_FALSE(mostrou(caixas(), Kind::Error, QStringLiteral("DOWNLOAD DA MFD")));
    EXPECT_EQ(conteudo(relatorio(serie() + QStringLiteral(".MFD"))), QByteArray("parcial"));
}

TEST_F(DadosMFeMFD, DownloadGuardaComONomeDaSerieEUmSegundoSubstituiOPrimeiro) {
    porCoo(QStringLiteral("000000"), QStringLiteral("000000"));
    marca("RbTipoRZ");
    caixas();
    for (const QByteArray& bytes : {QByteArray("primeiro"), QByteArray("segundo")}) {
        grava(relatorio(QStringLiteral("Download.MFD")), bytes);
        forcaSucesso();
        dialogos.yes();
        clica("BtDownloadMFD");
        EXPECT_EQ(conteudo(relatorio(serie() + QStringLiteral(".MFD"))), bytes);
        EXPECT_FALSE(QFile::exists(relatorio(QStringLiteral("Download.MFD"))));
        const auto vistas = caixas();
        ASSERT_FALSE(vistas.empty());
        EXPECT_EQ(vistas.back().kind, Kind::Question);
        EXPECT_EQ(vistas.back().title, QStringLiteral("DOWNLOAD DA MFD"));
        EXPECT_EQ(vistas.back().text,
                  QStringLiteral("Arquivo ") + serie() +
                      QStringLiteral(".MFD e Tipo E Gerados com Sucesso na Pasta Relatórios\rDeseja Visualizar o "
                                     "Diretório?"));
    }
    // Yes opens the reports folder in the file manager.
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[0].action, QStringLiteral("folder"));
    EXPECT_EQ(shell.calls[0].target, UStatus::sPastaBase + QStringLiteral("Relatorios"));
    EXPECT_EQ(relatorios(), QStringList{serie() + QStringLiteral(".MFD")});
}

TEST_F(DadosMFeMFD, CopiaQueFalhaGuardaODownloadENomeiaOsDoisArquivos) {
    total("RbTipoMFD");
    grava(relatorio(QStringLiteral("Download.MFD")), "unica copia");
    // A folder where the copy should go: it cannot be replaced by a file.
    ASSERT_TRUE(QDir().mkpath(relatorio(serie() + QStringLiteral(".MFD"))));
    forcaSucesso();
    clica("BtDownloadMFD");

    EXPECT_EQ(conteudo(relatorio(QStringLiteral("Download.MFD"))), QByteArray("unica copia"));
    EXPECT_EQ(path(), UStatus::sPastaBase);
    const auto vistas = caixas();
    ASSERT_FALSE(vistas.empty());
    EXPECT_EQ(vistas.back().kind, Kind::Error) << todas(vistas);
    EXPECT_EQ(vistas.back().title, QStringLiteral("DOWNLOAD DA MFD"));
    const QString separador = platform::paths::separator();
    EXPECT_TRUE(vistas.back().text.contains(UStatus::sPastaBase + "Relatorios" + separador + "Download.MFD"));
    EXPECT_TRUE(vistas.back().text.contains(UStatus::sPastaBase + "Relatorios" + separador + serie() + ".MFD"));
    EXPECT_FALSE(mostrou(vistas, Kind::Question, QStringLiteral("DOWNLOAD DA MFD")));
    // Nothing asked: a question, which nobody answers here, would fail the test.
    EXPECT_TRUE(shell.calls.empty());
}

// A disk that fills up while a file is put in the reports folder: an error
// naming it, no question, and what was there stays whole: the Z report of
// the same second, the kept download and the one the library just left.
TEST_F(DadosMFeMFD, DiscoCheioNaoDaSucessoENaoEstragaOQueHavia) {
    std::optional<DiscoCheio> cheio;
    dialogos.whileOpen([&](const Record& r) {
        if (r.title == QLatin1String("RESPOSTA DO ECF"))
            cheio.emplace(64);
        else
            cheio.reset();
    });
    const QString nomeZ = serie() + kStem + QStringLiteral("_Z.txt");
    grava(relatorio(nomeZ), "relatorio anterior");
    clica("BtDadosZ");
    auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u) << todas(vistas);
    EXPECT_EQ(descreve(vistas[1]),
              "Error DADOS DA REDUÇÃO \"Z\": Não Foi Possível Gravar o Arquivo:\r" + relatorio(nomeZ).toStdString());
    EXPECT_EQ(conteudo(relatorio(nomeZ)), QByteArray("relatorio anterior"));

    total("RbTipoMFD");
    const QByteArray guardado = "download anterior";
    const QByteArray baixado(300, 'm');
    grava(relatorio(serie() + QStringLiteral(".MFD")), guardado);
    grava(relatorio(QStringLiteral("Download.MFD")), baixado);
    forcaSucesso();
    clica("BtDownloadMFD");
    vistas = caixas();
    ASSERT_FALSE(vistas.empty());
    EXPECT_EQ(vistas.back().kind, Kind::Error) << todas(vistas);
    EXPECT_EQ(vistas.back().title, QStringLiteral("DOWNLOAD DA MFD"));
    EXPECT_TRUE(vistas.back().text.contains(relatorio(serie() + QStringLiteral(".MFD")))) << todas(vistas);
    EXPECT_FALSE(mostrou(vistas, Kind::Question, QStringLiteral("DOWNLOAD DA MFD")));
    EXPECT_EQ(conteudo(relatorio(serie() + QStringLiteral(".MFD"))), guardado);
    EXPECT_EQ(conteudo(relatorio(QStringLiteral("Download.MFD"))), baixado);
    EXPECT_EQ(relatorios().size(), 3) << relatorios().join(' ').toStdString();
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(DadosMFeMFD, SucessoSemArquivoNaoEAnunciadoComoSucesso) {
    total("RbTipoMF");
    forcaSucesso();
    clica("BtDownloadMFD");
    const auto vistas = caixas();
    ASSERT_FALSE(vistas.empty());
    EXPECT_EQ(vistas.back().kind, Kind::Error) << todas(vistas);
    EXPECT_TRUE(vistas.back().text.contains(QStringLiteral("Download.MFD")));
    EXPECT_FALSE(mostrou(vistas, Kind::Question, QStringLiteral("DOWNLOAD DA MFD")));
}

TEST_F(DadosMFeMFD, SemPoderApontarAPastaDeRelatoriosNadaESolicitado) {
    total("RbTipoMF");
    // A settings file that cannot be read is never written.
    ASSERT_TRUE(QFile::remove(ini()));
    ASSERT_TRUE(QDir().mkpath(ini()));
    clica("BtDownloadMFD");
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u) << todas(vistas);
    EXPECT_EQ(vistas[0].kind, Kind::Error);
    EXPECT_TRUE(vistas[0].text.startsWith(QStringLiteral("Unable to write to"))) << descreve(vistas[0]);
    EXPECT_EQ(chamadas("ArquivoMFD"), 0);
    EXPECT_EQ(botao("BtDownloadMFD")->text(), QStringLiteral("Gerar Arquivo MFD e Tipo E"));
}

TEST_F(DadosMFeMFD, NumeroDeSerieComSeparadoresNaoSaiDaPastaDeRelatorios) {
    UStatus::sNumeroSerie = QStringLiteral("../../fora/KS 01:*?  ");
    total("RbTipoMF");
    grava(relatorio(QStringLiteral("Download.MFD")), "dados");
    forcaSucesso();
    dialogos.no();
    clica("BtDownloadMFD");
    const QString nome = printer::nomeDeArquivo(UStatus::sNumeroSerie) + QStringLiteral(".MFD");
    EXPECT_FALSE(nome.contains(QLatin1Char('/')));
    EXPECT_EQ(relatorios(), QStringList{nome});
    EXPECT_FALSE(QDir(arquivo(QStringLiteral("fora"))).exists());
    EXPECT_FALSE(QDir(UStatus::sPastaBase + QStringLiteral("../fora")).exists());

    // The report stems are safe as well.
    dialogos.no();
    clica("BtDadosZ");
    EXPECT_TRUE(relatorios().contains(printer::nomeDeArquivo(UStatus::sNumeroSerie) + kStem + "_Z.txt"));
}

// ------------------------------------------------------- the conversion

TEST_F(DadosMFeMFD, ConversaoConfereFaixaDepoisFormatoDepoisPedeOArquivo) {
    // No range and no format: only the range message.
    clica("BtFormatoMFD");
    auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u) << todas(vistas);
    EXPECT_EQ(vistas[0].text, QStringLiteral("Escolha se o Relatório é Total, por COO ou Data"));

    // A valid range but no format: the format message, no dialog.
    marca("RbDownloadTotalMFD");
    caixas();
    clica("BtFormatoMFD");
    vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u) << todas(vistas);
    EXPECT_EQ(vistas[0].title, QStringLiteral("MFD"));
    EXPECT_EQ(vistas[0].text, QStringLiteral("Você Deve Escolher o Formato de Saída do Arquivo"));

    // The dialog, cancelled: nothing else happens.
    marca("RbSaidaRTF");
    auto& abrir = UStatus::Fstatus->JanelaAbrir;
    abrir.fileName = QStringLiteral("anterior.txt");
    dialogos.cancel();
    clica("BtFormatoMFD");
    vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u) << todas(vistas);
    EXPECT_EQ(vistas[0].kind, Kind::OpenFile);
    EXPECT_EQ(vistas[0].text, UStatus::sPastaBase + QStringLiteral("Relatorios"));
    EXPECT_EQ(abrir.initialDir, UStatus::sPastaBase + QStringLiteral("Relatorios"));
    EXPECT_EQ(abrir.defaultExt, QStringLiteral("mfd"));
    EXPECT_EQ(abrir.filter, QStringLiteral("Arquivo MFD|*.mfd"));
    EXPECT_TRUE(abrir.fileName.isEmpty());
    EXPECT_EQ(chamadas("FormatoDadosMFD"), 0);
    EXPECT_EQ(botao("BtFormatoMFD")->text(), QStringLiteral("Gerar Espelho do Arquivo .MFD"));
}

TEST_F(DadosMFeMFD, ConversaoDeUmArquivoDeQualquerPastaSemCaixaDeResposta) {
    porCoo(QStringLiteral("000001"), QStringLiteral("000050"));
    marca("RbSaidaTXT");
    const QString origem = arquivo(QStringLiteral("guardado.mfd"));
    grava(origem, "MFD");

    // A conversion the library refuses: reported, no question, no answer box.
    dialogos.text(origem);
    clica("BtFormatoMFD");
    auto vistas = caixas();
    EXPECT_EQ(chamadas("FormatoDadosMFD"), 1);
    EXPECT_TRUE(mostrou(vistas, Kind::Information, QStringLiteral("RETORNO DO ECF"))) << todas(vistas);
    EXPECT_FALSE(mostrou(vistas, Kind::Information, QStringLiteral("RESPOSTA DO ECF")));
    EXPECT_FALSE(mostrou(vistas, Kind::Question, QStringLiteral("ESPELHO DA MFD")));

    forcaSucesso();
    dialogos.text(origem).yes();
    clica("BtFormatoMFD");
    vistas = caixas();
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Espelho de Arquivo MFD"));
    EXPECT_FALSE(mostrou(vistas, Kind::Information, QStringLiteral("RESPOSTA DO ECF")));
    EXPECT_TRUE(mostrou(vistas, Kind::Question, QStringLiteral("ESPELHO DA MFD"),
                        QStringLiteral("Arquivo ") + serie() + kStem +
                            QStringLiteral("_EspelhoArquivo Gerado com Sucesso na Pasta Relatórios\rDeseja "
                                           "Visualizar o Diretório?")))
        << todas(vistas);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].action, QStringLiteral("folder"));
    EXPECT_EQ(shell.calls[0].target, UStatus::sPastaBase + QStringLiteral("Relatorios"));
    EXPECT_EQ(botao("BtFormatoMFD")->text(), QStringLiteral("Gerar Espelho do Arquivo .MFD"));
}

// A stored download converted over a range it does not hold is refused as
// the printer refuses it; the panel says what the stored file holds.
TEST_F(DadosMFeMFD, ConversaoForaDoArquivoGuardadoERecusadaEOPainelDizOQueEleTem) {
    const QString nome = serie() + QStringLiteral(".MFD");
    auto* legenda = controle<QLabel>("LbArquivoMFD");
    EXPECT_EQ(legenda->text(), QStringLiteral("Nenhum Arquivo .MFD Guardado"));
    EXPECT_EQ(legenda->toolTip(), relatorio(nome));

    const QString amanha = QDate::currentDate().addDays(1).toString(QStringLiteral("ddMMyyyy"));
    ASSERT_EQ(KesafiVirtual_FixaRelogio((amanha + QStringLiteral("100000")).toLatin1().constData()), 1);
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(3), 1);
    const long long coo = contador("COO");
    const auto seis = [](long long n) { return QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0')); };
    porCoo(seis(coo - 2), seis(coo));
    marca("RbTipoMFD");
    caixas();
    dialogos.no();
    clica("BtDownloadMFD");
    caixas();
    const QString download = relatorio(nome);
    ASSERT_TRUE(QFile::exists(download));
    const QStringList baixados = relatorios();
    EXPECT_EQ(legenda->text(), QStringLiteral("Arquivo Guardado: COO ") + seis(coo - 2) + QStringLiteral(" a ") +
                                   seis(coo) + QStringLiteral("\nBaixado em ") +
                                   QDate::currentDate().addDays(1).toString(QStringLiteral("dd/MM/yyyy")) +
                                   QStringLiteral(" 10:00:00"));

    // COOs after the stored ones: refused with the printer's reason, no file.
    digita("EdCooInicialMFD", seis(coo + 1));
    digita("EdCooFinalMFD", QStringLiteral("999999"));
    marca("RbSaidaTXT");
    dialogos.text(download);
    clica("BtFormatoMFD");
    EXPECT_EQ(UStatus::iRetorno, -27);
    EXPECT_EQ(UStatus::iST3, 160);
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 3u) << todas(vistas);
    EXPECT_EQ(descreve(vistas[1]), "Information RETORNO DO ECF: Status diferente de 6, 0, 0 !");
    EXPECT_EQ(vistas[2].title, QStringLiteral("RESPOSTA DO ECF"));
    EXPECT_TRUE(vistas[2].text.endsWith(QStringLiteral("NÃO ENCONTRADO DADOS NA MFD"))) << descreve(vistas[2]);
    EXPECT_EQ(relatorios(), baixados);

    // Dates before the file: the same.
    marca("RbDownloadDataMfd");
    digita("EdDataInicialMFD", QStringLiteral("01/01/01"));
    digita("EdDataFinalMFD", QStringLiteral("31/12/01"));
    dialogos.text(download);
    clica("BtFormatoMFD");
    EXPECT_EQ(UStatus::iST3, 160);
    caixas();
    EXPECT_EQ(relatorios(), baixados);

    // A download by dates replaces it, and the panel says so.
    const QString de = QDate::currentDate().addDays(-30).toString(QStringLiteral("dd/MM/yy"));
    const QString ate = QDate::currentDate().addDays(1).toString(QStringLiteral("dd/MM/yy"));
    digita("EdDataInicialMFD", de);
    digita("EdDataFinalMFD", ate);
    dialogos.no();
    clica("BtDownloadMFD");
    caixas();
    EXPECT_TRUE(legenda->text().startsWith(QStringLiteral("Arquivo Guardado: ") + de + QStringLiteral(" a ") + ate +
                                           QStringLiteral("\nBaixado em ")))
        << legenda->text().toStdString();

    // A file that is no download says so.
    grava(download, "isto nao e um download");
    janela->hide();
    uZentora3::Fprincipal->BtDadosDaMFDClick();
    EXPECT_EQ(legenda->text(), QStringLiteral("Arquivo Guardado Ilegível"));
}

// ------------------------------------------------- last reduction's data

TEST_F(DadosMFeMFD, DadosDaUltimaZGravaORelatorioEOfereceAbrir) {
    QString legendaDuranteResposta;
    QString legendaDuranteAPergunta;
    dialogos.whileOpen([&](const Record& r) {
        if (r.title == QLatin1String("RESPOSTA DO ECF")) legendaDuranteResposta = botao("BtDadosZ")->text();
        if (r.kind == Kind::Question) legendaDuranteAPergunta = botao("BtDadosZ")->text();
    });
    dialogos.yes();
    clica("BtDadosZ");

    const QString nome = serie() + kStem + QStringLiteral("_Z.txt");
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Ler Dados da Última Z"));
    EXPECT_EQ(UStatus::iRetorno, 1);
    const QByteArray bytes = conteudo(relatorio(nome));
    ASSERT_FALSE(bytes.isEmpty());
    // A report a person opens: UTF-8 here.
    const QStringList linhas = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
    ASSERT_EQ(linhas.size(), 82);  // 81 lines, each ended by CR LF
    EXPECT_TRUE(linhas[81].isEmpty());

    // The fields the library gives, where the report puts them.
    QByteArray dados = printer::bufferEmBranco(KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO);
    ASSERT_EQ(Kestrona_FI_DadosUltimaReducaoMFD(dados.data()), 1);
    EXPECT_EQ(linhas.mid(0, 81), uDadosMFeMFD::LinhasDadosZ(dados));
    EXPECT_EQ(linhas[5].mid(54).toInt(), contador("CRZ"));

    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u) << todas(vistas);
    EXPECT_EQ(vistas[0].title, QStringLiteral("RESPOSTA DO ECF"));
    EXPECT_EQ(vistas[1].title, QStringLiteral("DADOS DA REDUÇÃO \"Z\""));
    EXPECT_EQ(vistas[1].text,
              QStringLiteral("Arquivo Gerado com Sucesso na Pasta Relatórios\rDeseja Visualizar o Arquivo?"));
    EXPECT_EQ(legendaDuranteResposta, QStringLiteral("Aguarde !!!"));
    EXPECT_EQ(legendaDuranteAPergunta, QStringLiteral("Aguarde !!!"));
    EXPECT_EQ(botao("BtDadosZ")->text(), QStringLiteral("Download dos Dados da Última Z"));
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].target, relatorio(nome));
}

TEST_F(DadosMFeMFD, DadosDaUltimaZComFalhaOuLixoAindaGravamOQueOBufferTem) {
    // Switched off: the report holds blanks, nothing is offered.
    KesafiVirtual_Liga(0);
    clica("BtDadosZ");
    auto vistas = caixas();
    EXPECT_TRUE(
        mostrou(vistas, Kind::Information, QStringLiteral("RETORNO DO ECF"), QStringLiteral("Erro de Comunicação !")))
        << todas(vistas);
    EXPECT_FALSE(mostrou(vistas, Kind::Question, QStringLiteral("DADOS DA REDUÇÃO \"Z\"")));
    const QString nome = serie() + kStem + QStringLiteral("_Z.txt");
    QStringList linhas = QString::fromUtf8(conteudo(relatorio(nome))).split(QStringLiteral("\r\n"));
    ASSERT_EQ(linhas.size(), 82);
    EXPECT_TRUE(linhas[4].endsWith(QStringLiteral(":     ")));
    EXPECT_TRUE(linhas[80].endsWith(QStringLiteral(": ") + QStringLiteral("  /  /  ")));
    EXPECT_EQ(botao("BtDadosZ")->text(), QStringLiteral("Download dos Dados da Última Z"));
    KesafiVirtual_Liga(1);

    // A buffer of garbage with zero bytes: read as it is, a zero as a blank.
    platform::clock::advance(1000);
    ASSERT_EQ(KesafiVirtual_ForcaBufferLixo("7\0", 2), 1);
    dialogos.no();
    clica("BtDadosZ");
    caixas();
    const QByteArray bytes = conteudo(relatorio(serie() + QStringLiteral("_10032026_140510_Z.txt")));
    EXPECT_FALSE(bytes.contains('\0'));
    linhas = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
    ASSERT_EQ(linhas.size(), 82);
    EXPECT_TRUE(linhas[4].endsWith(QStringLiteral(":  7 7")));  // positions 4 to 7
    EXPECT_TRUE(linhas[80].endsWith(QStringLiteral("7 /7 /7 ")));

    // A NAK: only the NAK box from the analysis; the file is still written.
    platform::clock::advance(1000);
    KesafiVirtual_ForcaResposta(1, KESAFI_NAK, 0, 0, 0);
    dialogos.no();
    clica("BtDadosZ");
    vistas = caixas();
    EXPECT_TRUE(mostrou(vistas, Kind::Error, QStringLiteral("Atenção"))) << todas(vistas);
    EXPECT_TRUE(QFile::exists(relatorio(serie() + QStringLiteral("_10032026_140511_Z.txt"))));
}

TEST_F(DadosMFeMFD, RelatorioDaZQueNaoPodeSerCriadoNaoPerguntaNada) {
    const QString nome = serie() + kStem + QStringLiteral("_Z.txt");
    ASSERT_TRUE(QDir().mkpath(relatorio(nome)));
    clica("BtDadosZ");
    const auto vistas = caixas();
    ASSERT_FALSE(vistas.empty());
    EXPECT_EQ(vistas.back().kind, Kind::Error) << todas(vistas);
    EXPECT_EQ(vistas.back().title, QStringLiteral("DADOS DA REDUÇÃO \"Z\""));
    EXPECT_TRUE(vistas.back().text.contains(nome));
    // Nothing asked: a question, which nobody answers here, would fail the test.
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(botao("BtDadosZ")->text(), QStringLiteral("Download dos Dados da Última Z"));
}

// --------------------------------------------- MF download and print-out

TEST_F(DadosMFeMFD, DownloadDaMFPerguntaSoNoSucessoEAbreAPasta) {
    KesafiVirtual_ForcaResposta(-27, KESAFI_ACK, 0, 1, 2);
    dialogos.yes();
    clica("BtDownloadMF");
    auto vistas = caixas();
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Download da MF"));
    EXPECT_TRUE(mostrou(vistas, Kind::Information, QStringLiteral("RESPOSTA DO ECF"))) << todas(vistas);
    EXPECT_FALSE(mostrou(vistas, Kind::Question, QStringLiteral("DOWNLOAD DA MF")));
    EXPECT_EQ(botao("BtDownloadMF")->text(), QStringLiteral("Download do Arquivo .MF"));

    QString legendaDuranteAPergunta;
    dialogos.whileOpen([&](const Record& r) {
        if (r.kind == Kind::Question) legendaDuranteAPergunta = botao("BtDownloadMF")->text();
    });
    forcaSucesso();
    clica("BtDownloadMF");
    vistas = caixas();
    EXPECT_EQ(chamadas("DownloadMF"), 2);
    EXPECT_TRUE(mostrou(vistas, Kind::Question, QStringLiteral("DOWNLOAD DA MF"),
                        QStringLiteral("Arquivo Gerado com Sucesso na Pasta Relatórios\rDeseja Visualizar o "
                                       "Diretório?")))
        << todas(vistas);
    EXPECT_EQ(legendaDuranteAPergunta, QStringLiteral("Aguarde !!!"));
    EXPECT_EQ(UStatus::sNomeArquivo, serie() + kStem);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].action, QStringLiteral("folder"));
    EXPECT_EQ(shell.calls[0].target, UStatus::sPastaBase + QStringLiteral("Relatorios"));
    EXPECT_EQ(botao("BtDownloadMF")->text(), QStringLiteral("Download do Arquivo .MF"));
}

TEST_F(DadosMFeMFD, ImprimirConfiguracoesMostraARespostaERestauraALegenda) {
    clica("BtImprimirConfig");
    EXPECT_EQ(chamadas("ImprimeConfiguracoesImpressora"), 1);
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Imprimir Configurações"));
    EXPECT_TRUE(mostrou(caixas(), Kind::Information, QStringLiteral("RESPOSTA DO ECF")));
    EXPECT_EQ(botao("BtImprimirConfig")->text(), QStringLiteral("Imprimir Configurações do ECF"));

    KesafiVirtual_Liga(0);
    clica("BtImprimirConfig");
    const auto vistas = caixas();
    EXPECT_TRUE(mostrou(vistas, Kind::Information, QStringLiteral("RETORNO DO ECF"))) << todas(vistas);
    EXPECT_EQ(botao("BtImprimirConfig")->text(), QStringLiteral("Imprimir Configurações do ECF"));
}

// ---------------------------------------------------- signature check

TEST_F(DadosMFeMFD, ValidacaoMostraSucessoParaQualquerRespostaMenosZero) {
    uDadosMFeMFD::validateFile = &validacaoSimulada;
    UStatus::Fstatus->JanelaAbrir.defaultExt = QStringLiteral("xyz");
    const QString escolhido = relatorio(QStringLiteral("assinado.txt"));
    grava(escolhido, "COO 000123\r\nEAD" + QByteArray(256, 'A') + "\r\n");
    const std::pair<int, std::string> casos[] = {
        {1, "Information Validar Assinatura: Assinatura validada com sucesso!"},
        {-1, "Information Validar Assinatura: Assinatura validada com sucesso!"},
        {0, "Information ERRO: Erro na chave !"}};
    for (const auto& [resposta, esperada] : casos) {
        SCOPED_TRACE(resposta);
        gValidacao.resposta = resposta;
        dialogos.text(escolhido);
        clica("BtValidarAssinatura");
        const auto vistas = caixas();
        ASSERT_EQ(vistas.size(), 3u) << todas(vistas);
        EXPECT_EQ(descreve(vistas[0]), "Information Validar Assinatura: Informe a Localização do Arquivo");
        EXPECT_EQ(vistas[1].kind, Kind::OpenFile);
        EXPECT_EQ(descreve(vistas[2]), esperada);
        EXPECT_EQ(UStatus::iRetorno, resposta);
    }
    EXPECT_EQ(gValidacao.chamadas, 3);
    EXPECT_EQ(gValidacao.arquivo, QFile::encodeName(escolhido));
    EXPECT_EQ(gValidacao.chave1, UStatus::sChaveAssinatura1.toLatin1());
    EXPECT_EQ(gValidacao.chave2, UStatus::sChaveAssinatura2.toLatin1());
    EXPECT_EQ(gValidacao.chave1.size(), 256);

    const auto& abrir = UStatus::Fstatus->JanelaAbrir;
    EXPECT_EQ(abrir.initialDir, UStatus::sPastaBase + QStringLiteral("Relatorios"));
    // Every file listed first: signed RTF and MDB conversions can be picked too.
    EXPECT_EQ(abrir.filter, QStringLiteral("Todos os Arquivos|*|Arquivo TXT|*.txt|Arquivo MFD|*.mfd|Arquivo MF|*.mf|"
                                           "Arquivo RTF|*.rtf|Arquivo MDB|*.mdb"));
    EXPECT_EQ(abrir.defaultExt, QStringLiteral("xyz"));  // left as its last user set it
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(DadosMFeMFD, ValidacaoCanceladaTerminaCalada) {
    uDadosMFeMFD::validateFile = &validacaoSimulada;
    const QString comandoAntes = UStatus::sComando;
    UStatus::Fstatus->JanelaAbrir.fileName = QStringLiteral("anterior.mf");
    dialogos.cancel();
    clica("BtValidarAssinatura");
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u) << todas(vistas);
    EXPECT_EQ(vistas[1].kind, Kind::OpenFile);
    EXPECT_EQ(gValidacao.chamadas, 0);
    EXPECT_TRUE(UStatus::Fstatus->JanelaAbrir.fileName.isEmpty());
    EXPECT_EQ(UStatus::sComando, comandoAntes);
}

TEST_F(DadosMFeMFD, ValidacaoPelaBibliotecaDeAssinaturas) {
    // A file signed with the program's keys validates; one changed byte, or
    // no signature at all, does not.
    const QString assinado = relatorio(QStringLiteral("assinado.txt"));
    grava(assinado, "COO 000123\r\nTOTAL 10,00\r\n");
    ASSERT_TRUE(ead::assinaArquivo(QFile::encodeName(assinado).toStdString(), ead::kChave1, ead::kChave2));
    const QString semAssinatura = relatorio(QStringLiteral("sem_assinatura.txt"));
    grava(semAssinatura, "texto qualquer\r\n");

    const auto valida = [&](const QString& escolhido) {
        dialogos.text(escolhido);
        clica("BtValidarAssinatura");
        const auto vistas = caixas();
        return vistas.empty() ? Record{} : vistas.back();
    };
    Record r = valida(assinado);
    EXPECT_EQ(r.title, QStringLiteral("Validar Assinatura"));
    EXPECT_EQ(r.text, QStringLiteral("Assinatura validada com sucesso!"));
    EXPECT_EQ(UStatus::iRetorno, 1);

    QByteArray bytes = conteudo(assinado);
    bytes[5] = bytes[5] == '9' ? '8' : '9';
    grava(assinado, bytes);
    r = valida(assinado);
    EXPECT_EQ(r.title, QStringLiteral("ERRO"));
    EXPECT_EQ(r.text, QStringLiteral("Erro na chave !"));
    EXPECT_EQ(UStatus::iRetorno, 0);

    // Never signed is not damaged: the box says the file has no signature line.
    r = valida(semAssinatura);
    EXPECT_EQ(descreve(r),
              "Information ERRO: O Arquivo não Possui Linha de Assinatura (EAD) !\r" + semAssinatura.toStdString());
    grava(semAssinatura, "");
    EXPECT_EQ(valida(semAssinatura).text,
              QStringLiteral("O Arquivo não Possui Linha de Assinatura (EAD) !\r") + semAssinatura);
    // A signature line in lower case was changed, so it is a wrong key.
    grava(semAssinatura, "texto\r\nEAD" + QByteArray(256, 'a') + "\r\n");
    EXPECT_EQ(valida(semAssinatura).text, QStringLiteral("Erro na chave !"));
    r = valida(relatorio(QStringLiteral("nao_existe.txt")));
    EXPECT_EQ(r.kind, Kind::Error);
    EXPECT_EQ(r.text,
              QStringLiteral("Não Foi Possível Ler o Arquivo:\r") + relatorio(QStringLiteral("nao_existe.txt")));
}

TEST_F(DadosMFeMFD, DownloadConvertidoTemAssinaturaQueUmByteMudadoDesfaz) {
    // Two documents on the tape, then the whole tape downloaded and converted
    // by the window, and both files checked by the signature library.
    ASSERT_EQ(Kestrona_FI_LeituraX(), 1);
    ASSERT_EQ(Kestrona_FI_LeituraX(), 1);
    porCoo(QStringLiteral("000001"), QStringLiteral("999999"));
    marca("RbTipoMFD");
    marca("RbSaidaTXT");
    caixas();
    dialogos.no();
    clica("BtDownloadMFD");
    const QString download = relatorio(serie() + QStringLiteral(".MFD"));
    ASSERT_TRUE(QFile::exists(download)) << todas(caixas());
    EXPECT_FALSE(QFile::exists(relatorio(QStringLiteral("Download.MFD"))));

    dialogos.text(download).no();
    clica("BtFormatoMFD");
    const QString espelho = relatorio(serie() + kStem + QStringLiteral("_EspelhoArquivo.TXT"));
    ASSERT_TRUE(QFile::exists(espelho)) << todas(caixas());
    EXPECT_TRUE(conteudo(espelho).contains("LEITURA X"));

    const auto valida = [&](const QString& escolhido) {
        caixas();
        dialogos.text(escolhido);
        clica("BtValidarAssinatura");
        const auto vistas = caixas();
        return vistas.empty() ? QString() : vistas.back().text;
    };
    const QString sucesso = QStringLiteral("Assinatura validada com sucesso!");
    const QString falha = QStringLiteral("Erro na chave !");
    for (const QString& assinado : {download, espelho}) {
        SCOPED_TRACE(assinado.toStdString());
        EXPECT_EQ(valida(assinado), sucesso);
        QByteArray bytes = conteudo(assinado);
        bytes[bytes.size() / 3] = static_cast<char>(bytes[bytes.size() / 3] ^ 0x01);
        grava(assinado, bytes);
        EXPECT_EQ(valida(assinado), falha);
    }
}

// ------------------------------------------------------ the busy wait

namespace {

// A signature check that holds its worker thread until released.
struct Trava {
    std::mutex m;
    std::condition_variable cv;
    bool solta = false;
    bool entrou = false;
};
Trava* gTrava = nullptr;

int KESAFI_CALL validacaoPresa(const char*, const char*, const char*) {
    std::unique_lock<std::mutex> l(gTrava->m);
    gTrava->entrou = true;
    gTrava->cv.notify_all();
    gTrava->cv.wait(l, [] { return gTrava->solta; });
    return 1;
}

class EsperaLonga : public DadosMFeMFD {
protected:
    void TearDown() override {
        gTrava = nullptr;
        DadosMFeMFD::TearDown();
    }
    // Validates a file while the check is held on its worker thread until
    // `enquantoPreso`, run on this thread as often as events are processed,
    // says it has seen enough.
    void validaPresoAte(const std::function<bool()>& enquantoPreso) {
        gTrava = &trava;
        uDadosMFeMFD::validateFile = &validacaoPresa;
        QTimer verificador;
        verificador.setInterval(0);
        QObject::connect(&verificador, &QTimer::timeout, [&] {
            {
                std::lock_guard<std::mutex> l(trava.m);
                if (!trava.entrou) return;
            }
            if (!enquantoPreso()) return;
            verificador.stop();
            std::lock_guard<std::mutex> l(trava.m);
            trava.solta = true;
            trava.cv.notify_all();
        });
        dialogos.whileOpen([&](const Record& r) {
            if (r.kind == Kind::OpenFile) verificador.start();
        });
        dialogos.text(relatorio(QStringLiteral("qualquer.mfd")));
        clica("BtValidarAssinatura");
        dialogos.whileOpen({});
        EXPECT_TRUE(trava.solta);
    }

    Trava trava;
};

}  // namespace

TEST_F(EsperaLonga, ChamadaLongaDeixaAJanelaPintarComIndicadorDeEspera) {
    QToolButton* b = botao("BtValidarAssinatura");
    bool barraVisivel = false;
    bool cursorDeEspera = false;
    bool pintou = false;
    validaPresoAte([&] {
        const auto* barra = b->findChild<QProgressBar*>(QStringLiteral("PbAguarde"));
        barraVisivel = barra && barra->isVisible() && barra->minimum() == 0 && barra->maximum() == 0;
        cursorDeEspera = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::BusyCursor;
        pintou = !janela->grab().isNull();
        return true;
    });
    EXPECT_TRUE(barraVisivel);
    EXPECT_TRUE(cursorDeEspera);
    EXPECT_TRUE(pintou);
    EXPECT_EQ(b->findChild<QProgressBar*>(QStringLiteral("PbAguarde")), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(caixas().back().text, QStringLiteral("Assinatura validada com sucesso!"));
}

TEST_F(EsperaLonga, ContagemDoHorarioDeVeraoEsperaAChamadaTerminar) {
    using namespace uComandosAdicionais;
    QTimer& contagem = FComandosAdicionais.get()->TimerVerao;
    // A daylight-saving exit waiting for its moment, which the first tick reaches.
    dHoraComando = momento(kMomento.date(), QTime(11, 15, 0));
    contagem.setInterval(1);
    FComandosAdicionais.get()->EsperaSaida(dHoraComando.addSecs(-1));
    platform::clock::advance(3000);
    const int antes = chamadas("ProgramaHorarioVerao");

    int enviadosDuranteAChamada = -1;
    validaPresoAte([&] {
        // The countdown runs past the moment while the call is held (or, were
        // it not held back, sends and stops).
        if (contagem.isActive() && dHoraECF <= dHoraComando.addSecs(1)) return false;
        enviadosDuranteAChamada = chamadas("ProgramaHorarioVerao") - antes;
        return true;
    });
    EXPECT_EQ(enviadosDuranteAChamada, 0);
    EXPECT_EQ(caixas().back().text, QStringLiteral("Assinatura validada com sucesso!"));

    // The first tick after the wait sends the command, once.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !contagem.isActive(); }));
    EXPECT_EQ(chamadas("ProgramaHorarioVerao"), antes + 1);
}

// ------------------------------------------- the window and the terminal

TEST_F(DadosMFeMFD, OTipoEDaJanelaEODoTerminalTemOsMesmosRegistros) {
    marca("RbDownloadDataMfd");
    digita("EdDataInicialMFD", QStringLiteral("010100"));
    digita("EdDataFinalMFD", QStringLiteral("311259"));
    marca("RbTipoTDM");
    caixas();
    dialogos.no();  // "Deseja Visualizar o Diretório?"
    clica("BtDownloadMFD");
    caixas();
    const auto tipoE = [this] {
        QStringList nomes;
        for (const QString& nome : relatorios())
            if (nome.startsWith(QLatin1String("TDM"))) nomes << nome;
        return nomes;
    };
    ASSERT_EQ(tipoE().size(), 1);
    const QString daJanela = relatorio(tipoE()[0]);
    const QByteArray registros = conteudo(daJanela);
    ASSERT_FALSE(registros.isEmpty());
    ASSERT_TRUE(QFile::rename(daJanela, arquivo(QStringLiteral("daJanela.txt"))));

    // The window closes the port as the program ends; the command runs in a
    // process of its own over the same folder.
    Kestrona_FI_FechaPortaSerial();
    QProcess cli;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("ZENTORA_PASTA_BASE"), pasta());
    cli.setProcessEnvironment(ambiente);
    cli.start(QStringLiteral(ZENTORA_CLI),
              {QStringLiteral("mfd"), QStringLiteral("--datas"), QStringLiteral("01/01/00"), QStringLiteral("31/12/59"),
               QStringLiteral("--tipo-e"), QStringLiteral("TDM")});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    ASSERT_EQ(tipoE().size(), 1);
    EXPECT_EQ(conteudo(relatorio(tipoE()[0])), registros);
}
