#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "auxiliares.h"
#include "commands/tfcomandosadicionais.h"
#include "core/sessao.h"
#include "kesafi32.h"
#include "kesafi_virtual.h"
#include "platform/clock.h"
#include "printer/tfstatus.h"
#include "printer/ustatus.h"
#include "reports/tfrelfiscais.h"

using platform::dialogs::Kind;
using namespace uComandosAdicionais;

namespace {

const QString kVazio = QStringLiteral("\"       \"");
const QString kCancelado = QStringLiteral("Comando Cancelado");
const QString kAviso = QStringLiteral(
    "Documentos Foram Impressos Após a Redução Z\rVocê Provavelmente não Conseguirá Alterar o\rHorário de Verão!!");
const QString kPerguntaSair =
    QStringLiteral("Impressora com o Horário de Verão \"ATIVO\"\rDeseja sair do Horário de Verão?");
const QString kAguardarNovamente =
    QStringLiteral("O ECF Recusou a Saída do Horário de Verão.\rDeseja Aguardar a Hora do Comando Novamente?");

QStringList textos(const std::vector<platform::dialogs::Record>& caixas) {
    QStringList t;
    for (const auto& c : caixas) t << c.title + QStringLiteral(": ") + c.text;
    return t;
}

}  // namespace

class ComandosAdicionaisTest : public Instalacao {
protected:
    void SetUp() override {
        Instalacao::SetUp();
        sVeraoPossivel.clear();
        dHoraECF = dHoraComando = QDateTime();
    }

    TFComandosAdicionais* janela() const { return FComandosAdicionais.get(); }
    template <class T>
    T* comandos(const char* nome) const {
        return controle<T>(janela(), nome);
    }
    QString legendaZ() const { return controle<QPushButton>(URelFiscais::FRelFiscais.get(), "BtReducaoZ")->text(); }

    // The printer's "today": a day after its last reduction.
    static QDate dia() { return QDate::currentDate().addDays(1); }

    void localiza() {
        criaImpressora();
        criaJanelas();
        naPrincipal<QToolButton>("BtLocalizarImpressora")->click();
        caixas();
    }
    static void relogioECF(const QDate& data, const QTime& hora) {
        ASSERT_EQ(KesafiVirtual_FixaRelogio(
                      (data.toString(QStringLiteral("ddMMyyyy")) + hora.toString(QStringLiteral("HHmmss")))
                          .toLatin1()
                          .constData()),
                  1);
    }
    // Daylight-saving time entered with the printer's last reduction as its
    // last document, the printer's clock then set to `agora`.
    void entraNoVerao(const QDate& diaAgora, const QTime& agora) {
        ASSERT_EQ(Kestrona_FI_ProgramaHorarioVerao(), 1);
        relogioECF(diaAgora, agora);
        platform::clock::set(QDateTime(diaAgora, agora));
        uZentora3::LeStatusHorarioVerao();
        ASSERT_EQ(UStatus::sHorarioVerao, QStringLiteral("ATIVO"));
        caixas();
    }
    // The same after a reduction at `hora` of the printer's day.
    void emVeraoAposReducao(const QTime& hora, const QDate& diaAgora, const QTime& agora) {
        relogioECF(dia(), hora);
        ASSERT_EQ(Kestrona_FI_ReducaoZ(nullptr, nullptr), 1);
        entraNoVerao(diaAgora, agora);
    }
    void tique() {
        platform::clock::advance(1000);
        janela()->TimerVeraoTimer();
    }
    // Exit via the button, answering Yes.
    void sai() {
        dialogos.yes();
        comandos<QPushButton>("BtHorarioVerao")->click();
    }
    void esperaOciosa() const {
        EXPECT_FALSE(janela()->TimerVerao.isActive());
        EXPECT_EQ(comandos<QLabel>("LbHoraAtual")->text(), QStringLiteral("00:00:00"));
        EXPECT_EQ(comandos<QLabel>("LbHoraComando")->text(), QStringLiteral("00:00:00"));
        EXPECT_EQ(legendaZ(), QStringLiteral("Emitir Redução Z"));
    }
};

TEST_F(ComandosAdicionaisTest, TheWindowHasNineCaptionlessBoxesAndTheIdleTexts) {
    criaJanelas();
    EXPECT_EQ(janela()->windowTitle(),
              QStringLiteral("Zentora 3.0 - Impressoras Fiscais Kestrona - Exclusivo Para Térmicas"));
    EXPECT_EQ(janela()->size(), QSize(792, 450));
    EXPECT_EQ(janela()->minimumSize(), janela()->maximumSize());

    const auto caixasDaJanela = janela()->findChildren<QGroupBox*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(caixasDaJanela.size(), 9);
    QMap<int, QList<int>> linhas;
    for (QGroupBox* caixa : caixasDaJanela) {
        EXPECT_TRUE(caixa->title().isEmpty());
        linhas[caixa->y()] << caixa->x();
        EXPECT_FALSE(caixa->findChildren<QPushButton*>().isEmpty()) << caixa->objectName().toStdString();
    }
    ASSERT_EQ(linhas.size(), 3);
    for (auto& colunas : linhas) {
        EXPECT_EQ(colunas.size(), 3);
        std::sort(colunas.begin(), colunas.end());
    }
    const QList<int> topo = linhas.first();
    EXPECT_EQ(comandos<QPushButton>("BtCompararRelogio")->parentWidget()->pos(), QPoint(topo[0], linhas.firstKey()));
    EXPECT_EQ(comandos<QPushButton>("BtHorarioVerao")->parentWidget()->pos(), QPoint(topo[1], linhas.firstKey()));

    EXPECT_EQ(comandos<QPushButton>("BtCompararRelogio")->text(), QStringLiteral("Comparar Relógio"));
    EXPECT_EQ(
        comandos<QLabel>("sLabel1")->text() + comandos<QLabel>("sLabel2")->text() + comandos<QLabel>("sLabel3")->text(),
        QStringLiteral("Impressora:Computador:Diferença:"));
    for (QLabel* rotulo :
         {comandos<QLabel>("LbHoraECF"), comandos<QLabel>("LbHoraPC"), comandos<QLabel>("LbDiferenca")}) {
        EXPECT_EQ(rotulo->text(), kVazio);
        EXPECT_TRUE(rotulo->font().bold());
    }
    EXPECT_EQ(comandos<QPushButton>("BtHorarioVerao")->text(), QStringLiteral("Horário de Verão"));
    EXPECT_EQ(comandos<QLabel>("LbTimer")->text(), QStringLiteral("Hora da Impressora"));
    EXPECT_EQ(comandos<QLabel>("LbRestante")->text(), QStringLiteral("Hora do Comando"));
    EXPECT_EQ(comandos<QLabel>("LbHoraAtual")->text(), QStringLiteral("00:00:00"));
    EXPECT_EQ(comandos<QLabel>("LbHoraComando")->text(), QStringLiteral("00:00:00"));
    EXPECT_FALSE(janela()->TimerVerao.isActive());
    EXPECT_EQ(janela()->TimerVerao.interval(), 1000);
}

TEST_F(ComandosAdicionaisTest, TheClockComparisonShowsTheTrueDifference) {
    localiza();
    // Twenty minutes apart across midnight, the printer on the day before.
    relogioECF(dia().addDays(-1), QTime(23, 50, 0));
    platform::clock::set(QDateTime(dia(), QTime(0, 10, 0)));
    comandos<QPushButton>("BtCompararRelogio")->click();
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u) << textos(vistas).join('|').toStdString();
    EXPECT_EQ(vistas[0].title, QStringLiteral("RESPOSTA DO ECF"));
    EXPECT_TRUE(vistas[0].text.startsWith(QStringLiteral("RESPOSTA DA IMPRESSORA AO COMANDO : Data e Hora do ECF")));
    const QString ontem = dia().addDays(-1).toString(QStringLiteral("dd/MM/yy"));
    EXPECT_EQ(comandos<QLabel>("LbHoraECF")->text(), ontem + QStringLiteral("  23:50:00"));
    EXPECT_EQ(comandos<QLabel>("LbHoraPC")->text(),
              dia().toString(QStringLiteral("dd/MM/yy")) + QStringLiteral("  00:10:00"));
    EXPECT_EQ(comandos<QLabel>("LbDiferenca")->text(),
              QStringLiteral("00 Dias            00 Horas\r20 Minutos     00 Segundos"));

    // Day counts of one, two and three digits; a printer ahead reads alike.
    const std::pair<int, QString> casos[] = {{5, QStringLiteral("05")},
                                             {12, QStringLiteral("12")},
                                             {123, QStringLiteral("123")},
                                             {-3, QStringLiteral("03")}};
    relogioECF(dia(), QTime(10, 0, 0));
    for (const auto& [dias, texto] : casos) {
        platform::clock::set(QDateTime(dia(), QTime(10, 0, 0)).addDays(dias).addSecs(dias < 0 ? -3723 : 3723));
        comandos<QPushButton>("BtCompararRelogio")->click();
        EXPECT_EQ(comandos<QLabel>("LbDiferenca")->text(),
                  texto + QStringLiteral(" Dias            01 Horas\r02 Minutos     03 Segundos"))
            << dias;
    }

    emVeraoAposReducao(QTime(9, 0, 0), dia(), QTime(10, 30, 0));
    comandos<QPushButton>("BtCompararRelogio")->click();
    EXPECT_EQ(comandos<QLabel>("LbHoraECF")->text(),
              dia().toString(QStringLiteral("dd/MM/yy")) + QStringLiteral("  10:30:00 V"));
}

TEST_F(ComandosAdicionaisTest, TheClockComparisonEndsWithAnErrorWhenThePrinterGivesNoDate) {
    localiza();
    comandos<QPushButton>("BtCompararRelogio")->click();
    caixas();
    const QString anterior = comandos<QLabel>("LbDiferenca")->text();

    KesafiVirtual_Liga(0);
    comandos<QPushButton>("BtCompararRelogio")->click();
    auto vistas = caixas();
    ASSERT_FALSE(vistas.empty());
    EXPECT_EQ(vistas.back().kind, Kind::Error);
    EXPECT_EQ(textos({vistas.back()}).first(),
              QStringLiteral("COMPARAR RELÓGIO: Não Foi Possível Ler a Data da Impressora: \"  /  /  \""));
    EXPECT_EQ(comandos<QLabel>("LbHoraECF")->text(), QStringLiteral("  /  /      :  :  "));
    EXPECT_EQ(comandos<QLabel>("LbDiferenca")->text(), anterior);

    KesafiVirtual_Liga(1);
    ASSERT_EQ(KesafiVirtual_ForcaBufferLixo("99", 2), 1);
    comandos<QPushButton>("BtCompararRelogio")->click();
    vistas = caixas();
    ASSERT_FALSE(vistas.empty());
    EXPECT_EQ(vistas.back().text, QStringLiteral("Não Foi Possível Ler a Data da Impressora: \"99/99/99\""));
    EXPECT_EQ(comandos<QLabel>("LbDiferenca")->text(), anterior);
}

TEST_F(ComandosAdicionaisTest, BeforeTheStateIsReadTheButtonOnlyCancels) {
    criaJanelas();
    comandos<QPushButton>("BtHorarioVerao")->click();
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u);
    EXPECT_EQ(vistas[0].kind, Kind::Information);
    EXPECT_EQ(textos(vistas).first(), QStringLiteral("HORÁRIO VERÃO: ") + kCancelado);
}

TEST_F(ComandosAdicionaisTest, TheWarningFollowsAnExitThatFoundDocumentsAfterTheReduction) {
    localiza();
    relogioECF(dia(), QTime(10, 0, 0));
    dialogos.no();
    comandos<QPushButton>("BtHorarioVerao")->click();
    const auto pergunta = caixas();
    ASSERT_FALSE(pergunta.empty());
    EXPECT_TRUE(pergunta[0].defaultNo);
    EXPECT_EQ(textos(pergunta),
              QStringList({QStringLiteral("HORÁRIO DE VERÃO: Impressora com o Horário de Verão \"INATIVO\"\rDeseja "
                                          "Entrar no Horário de Verão?"),
                           QStringLiteral("HORÁRIO VERÃO: ") + kCancelado}));

    ASSERT_EQ(KesafiVirtual_AdicionaVendas(1), 1);
    SaiHorarioVerao();  // as after a Reduction Z
    EXPECT_EQ(sVeraoPossivel, QStringLiteral("Impossivel"));
    caixas();
    dialogos.no();
    comandos<QPushButton>("BtHorarioVerao")->click();
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 3u);
    EXPECT_EQ(textos(vistas).first(), QStringLiteral("HORÁRIO VERÃO: ") + kAviso);
    EXPECT_EQ(vistas[1].kind, Kind::Question);
    EXPECT_EQ(vistas[2].text, kCancelado);
}

TEST_F(ComandosAdicionaisTest, TheExitWaitsAnHourAfterTheLastDocumentCountingThePrintersTime) {
    localiza();
    emVeraoAposReducao(QTime(10, 15, 0), dia(), QTime(10, 40, 0));
    const int antes = chamadas("ProgramaHorarioVerao");
    sai();
    const auto pergunta = caixas();
    EXPECT_EQ(textos(pergunta), QStringList(QStringLiteral("HORÁRIO DE VERÃO: ") + kPerguntaSair));
    ASSERT_FALSE(pergunta.empty());
    EXPECT_TRUE(pergunta[0].defaultNo);
    EXPECT_EQ(sVeraoPossivel, QStringLiteral("Possivel"));
    ASSERT_TRUE(janela()->TimerVerao.isActive());

    tique();
    EXPECT_EQ(comandos<QLabel>("LbHoraAtual")->text(), QStringLiteral("10:40:01"));
    EXPECT_EQ(comandos<QLabel>("LbHoraComando")->text(), QStringLiteral("11:15:00"));
    EXPECT_EQ(comandos<QPushButton>("BtHorarioVerao")->text(), QStringLiteral("Aguarde a Hora do Comando !!!"));
    EXPECT_EQ(legendaZ(), QStringLiteral("Aguarde !!! Hora do ECF  : 10:40:01\rComando Será Enviado as : 11:15:00"));
    tique();
    EXPECT_EQ(comandos<QLabel>("LbHoraAtual")->text(), QStringLiteral("10:40:02"));
    for (int i = 3; i < 35 * 60; ++i) tique();
    EXPECT_EQ(comandos<QLabel>("LbHoraAtual")->text(), QStringLiteral("11:14:59"));
    EXPECT_EQ(chamadas("ProgramaHorarioVerao"), antes);
    EXPECT_TRUE(caixas().empty());

    relogioECF(dia(), QTime(11, 15, 0));
    bool ativoComCaixaAberta = true;
    dialogos.whileOpen([&](const auto&) { ativoComCaixaAberta = janela()->TimerVerao.isActive(); });
    tique();
    EXPECT_EQ(chamadas("ProgramaHorarioVerao"), antes + 1);
    EXPECT_FALSE(ativoComCaixaAberta);
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u) << textos(vistas).join('|').toStdString();
    EXPECT_TRUE(
        vistas[0].text.startsWith(QStringLiteral("RESPOSTA DA IMPRESSORA AO COMANDO : Alterar Horário de Verão")));
    EXPECT_TRUE(vistas[0].text.endsWith(QStringLiteral("COMANDO OK")));
    esperaOciosa();
    EXPECT_EQ(UStatus::sHorarioVerao, QStringLiteral("INATIVO"));
    EXPECT_EQ(comandos<QPushButton>("BtHorarioVerao")->text(), QStringLiteral("Entrar no Horário de Verão"));
}

TEST_F(ComandosAdicionaisTest, ALastDocumentOfAnEarlierDayLetsTheExitGoAtOnce) {
    localiza();
    // The last document is the reduction of an earlier day, late in its evening.
    entraNoVerao(dia(), QTime(8, 0, 0));
    const int antes = chamadas("ProgramaHorarioVerao");
    sai();
    EXPECT_EQ(chamadas("ProgramaHorarioVerao"), antes + 1);
    EXPECT_FALSE(janela()->TimerVerao.isActive());
    EXPECT_EQ(UStatus::sHorarioVerao, QStringLiteral("INATIVO"));
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u) << textos(vistas).join('|').toStdString();
    EXPECT_EQ(vistas[1].title, QStringLiteral("RESPOSTA DO ECF"));
}

TEST_F(ComandosAdicionaisTest, ACommandTimePastMidnightIsReachedOnTheNextDay) {
    localiza();
    emVeraoAposReducao(QTime(23, 30, 0), dia(), QTime(23, 40, 0));
    const int antes = chamadas("ProgramaHorarioVerao");
    sai();
    ASSERT_TRUE(janela()->TimerVerao.isActive());
    EXPECT_EQ(dHoraComando.date(), dia().addDays(1));
    EXPECT_EQ(dHoraComando.time(), QTime(0, 30, 0));

    for (int i = 0; i < 20 * 60; ++i) tique();
    EXPECT_EQ(comandos<QLabel>("LbHoraAtual")->text(), QStringLiteral("00:00:00"));
    EXPECT_EQ(comandos<QLabel>("LbHoraComando")->text(), QStringLiteral("00:30:00"));
    EXPECT_TRUE(janela()->TimerVerao.isActive());
    for (int i = 0; i < 30 * 60 - 1; ++i) tique();
    EXPECT_EQ(comandos<QLabel>("LbHoraAtual")->text(), QStringLiteral("00:29:59"));
    EXPECT_EQ(chamadas("ProgramaHorarioVerao"), antes);

    relogioECF(dia().addDays(1), QTime(0, 30, 0));
    tique();
    EXPECT_EQ(chamadas("ProgramaHorarioVerao"), antes + 1);
    esperaOciosa();
    EXPECT_EQ(UStatus::sHorarioVerao, QStringLiteral("INATIVO"));
}

TEST_F(ComandosAdicionaisTest, ASecondExitThatSendsAtOnceEndsTheRunningWait) {
    localiza();
    emVeraoAposReducao(QTime(10, 15, 0), dia(), QTime(10, 40, 0));
    const int antes = chamadas("ProgramaHorarioVerao");
    sai();
    for (int i = 0; i < 3; ++i) tique();
    ASSERT_NE(legendaZ(), QStringLiteral("Emitir Redução Z"));

    relogioECF(dia(), QTime(11, 20, 0));
    sai();
    EXPECT_EQ(chamadas("ProgramaHorarioVerao"), antes + 1);
    esperaOciosa();
    EXPECT_EQ(comandos<QPushButton>("BtHorarioVerao")->text(), QStringLiteral("Entrar no Horário de Verão"));
}

TEST_F(ComandosAdicionaisTest, ARefusedToggleLeavesTheStateAsItWas) {
    localiza();
    relogioECF(dia(), QTime(10, 0, 0));
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(1), 1);
    const int leituras = chamadas("FlagsFiscais");
    dialogos.yes();
    comandos<QPushButton>("BtHorarioVerao")->click();  // enter, refused: a sale since the reduction
    auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 3u) << textos(vistas).join('|').toStdString();
    EXPECT_EQ(textos({vistas[1]}).first(), QStringLiteral("RETORNO DO ECF: Status diferente de 6, 0, 0 !"));
    EXPECT_TRUE(vistas[2].text.endsWith(QStringLiteral("ACERTO DE HORÁRIO DE VERÃO SÓ IMEDIATAMENTE APÓS RZ")));
    EXPECT_EQ(chamadas("FlagsFiscais"), leituras);
    EXPECT_EQ(UStatus::sHorarioVerao, QStringLiteral("INATIVO"));
    EXPECT_EQ(comandos<QPushButton>("BtHorarioVerao")->text(), QStringLiteral("Entrar no Horário de Verão"));

    // An exit refused at the end of its wait, the wait offered again and declined.
    emVeraoAposReducao(QTime(10, 15, 0), dia(), QTime(11, 14, 58));
    sai();
    tique();
    ASSERT_EQ(KesafiVirtual_ForcaResposta(-27, KESAFI_ACK, 0, 1, 156), 1);
    dialogos.no();
    tique();
    vistas = caixas();
    ASSERT_EQ(vistas.size(), 4u) << textos(vistas).join('|').toStdString();
    EXPECT_EQ(vistas[1].text, QStringLiteral("Status diferente de 6, 0, 0 !"));
    EXPECT_EQ(textos({vistas[3]}).first(), QStringLiteral("HORÁRIO DE VERÃO: ") + kAguardarNovamente);
    esperaOciosa();
    EXPECT_EQ(UStatus::sHorarioVerao, QStringLiteral("ATIVO"));
    EXPECT_EQ(comandos<QPushButton>("BtHorarioVerao")->text(), QStringLiteral("Horário de Verão"));
}

// A wait started again counts from its own reading of the printer, whenever
// the timer's next tick comes: the exit goes out only once the printer's
// clock is at the command time.
TEST_F(ComandosAdicionaisTest, AWaitStartedAgainNeverSendsBeforeThePrintersClockIsThere) {
    localiza();
    emVeraoAposReducao(QTime(10, 15, 0), dia(), QTime(11, 14, 58));
    const int antes = chamadas("ProgramaHorarioVerao");
    sai();
    ASSERT_TRUE(janela()->TimerVerao.isActive());

    // 0.9 s on, the printer's clock just turned 11:14:59: the exit asked again.
    platform::clock::advance(900);
    relogioECF(dia(), QTime(11, 14, 59));
    sai();
    ASSERT_TRUE(janela()->TimerVerao.isActive());
    EXPECT_EQ(caixas().size(), 2u);

    // A tick 0.2 s later: the printer is at 11:14:59 and a little.
    platform::clock::advance(200);
    janela()->TimerVeraoTimer();
    EXPECT_EQ(comandos<QLabel>("LbHoraAtual")->text(), QStringLiteral("11:14:59"));
    EXPECT_EQ(chamadas("ProgramaHorarioVerao"), antes);
    EXPECT_TRUE(janela()->TimerVerao.isActive());
    EXPECT_TRUE(caixas().empty());

    // A second after the reading it is there.
    platform::clock::advance(800);
    relogioECF(dia(), QTime(11, 15, 0));
    janela()->TimerVeraoTimer();
    EXPECT_EQ(chamadas("ProgramaHorarioVerao"), antes + 1);
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u) << textos(vistas).join('|').toStdString();
    EXPECT_TRUE(vistas[0].text.endsWith(QStringLiteral("COMANDO OK")));
    esperaOciosa();
    EXPECT_EQ(UStatus::sHorarioVerao, QStringLiteral("INATIVO"));
}

TEST_F(ComandosAdicionaisTest, AnExitRefusedAtTheEndOfItsWaitOffersTheWaitAgain) {
    localiza();
    emVeraoAposReducao(QTime(10, 15, 0), dia(), QTime(11, 14, 59));
    const int antes = chamadas("ProgramaHorarioVerao");
    sai();
    caixas();
    // The printer refuses: its clock is not yet there.
    ASSERT_EQ(KesafiVirtual_ForcaResposta(-27, KESAFI_ACK, 0, 1, 112), 1);
    dialogos.yes();
    tique();
    auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 3u) << textos(vistas).join('|').toStdString();
    EXPECT_EQ(vistas[2].kind, Kind::Question);
    EXPECT_EQ(vistas[2].text, kAguardarNovamente);
    // Asked again with fresh values: the printer still reads 11:14:59.
    EXPECT_EQ(UStatus::sHorarioVerao, QStringLiteral("ATIVO"));
    ASSERT_TRUE(janela()->TimerVerao.isActive());
    EXPECT_EQ(dHoraComando.time(), QTime(11, 15, 0));

    relogioECF(dia(), QTime(11, 15, 0));
    tique();
    EXPECT_EQ(chamadas("ProgramaHorarioVerao"), antes + 2);
    vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u) << textos(vistas).join('|').toStdString();
    EXPECT_TRUE(vistas[0].text.endsWith(QStringLiteral("COMANDO OK")));
    EXPECT_EQ(UStatus::sHorarioVerao, QStringLiteral("INATIVO"));
    esperaOciosa();
}

TEST_F(ComandosAdicionaisTest, AnExitWithThePrinterSwitchedOffEndsWithAnError) {
    localiza();
    emVeraoAposReducao(QTime(10, 15, 0), dia(), QTime(10, 40, 0));
    const int antes = chamadas("ProgramaHorarioVerao");
    KesafiVirtual_Liga(0);
    sai();
    const auto vistas = caixas();
    ASSERT_FALSE(vistas.empty());
    EXPECT_EQ(vistas.back().kind, Kind::Error);
    EXPECT_EQ(textos({vistas.back()}).first(),
              QStringLiteral("HORÁRIO DE VERÃO: Não Foi Possível Ler a Data da Impressora: \"  /  /  \""));
    EXPECT_EQ(chamadas("ProgramaHorarioVerao"), antes);
    EXPECT_FALSE(janela()->TimerVerao.isActive());
    EXPECT_EQ(comandos<QLabel>("LbHoraAtual")->text(), QStringLiteral("00:00:00"));
}

// The countdown under open boxes: the real timer runs (at a short interval, so
// that a counted second passes quickly) while a box is held open through the
// script.
class VeraoSobCaixas : public ComandosAdicionaisTest {
protected:
    // An exit waiting for 11:15:00, the counted time at 11:14:58.
    void esperaSaida() {
        localiza();
        emVeraoAposReducao(QTime(10, 15, 0), dia(), QTime(11, 14, 58));
        sai();
        caixas();
        ASSERT_TRUE(janela()->TimerVerao.isActive());
        janela()->TimerVerao.setInterval(1);
        antes = chamadas("ProgramaHorarioVerao");
    }
    // Inside an open box: the printer's clock reaches the moment and the
    // timer runs past it.
    void passaDaHoraComACaixaAberta() {
        relogioECF(dia(), QTime(11, 15, 0));
        platform::clock::advance(3000);
        EXPECT_TRUE(QTest::qWaitFor([] { return dHoraECF > dHoraComando; }));
        enviadosComACaixaAberta = chamadas("ProgramaHorarioVerao") - antes;
    }
    template <class T>
    static T* relatorios(const char* nome) {
        return controle<T>(URelFiscais::FRelFiscais.get(), nome);
    }
    QString ultimaLinhaDoMemo() const {
        return controle<QPlainTextEdit>(UStatus::Fstatus, "MemoStatus")->toPlainText().split(QLatin1Char('\n')).last();
    }

    int antes = 0;
    int enviadosComACaixaAberta = -1;
};

TEST_F(VeraoSobCaixas, ARefusedSavedReadingKeepsItsAnswerAndTheCountdownSendsAfterItsBox) {
    esperaSaida();
    QFile velha(arquivo(QStringLiteral("Retorno.txt")));
    ASSERT_TRUE(velha.open(QIODevice::WriteOnly));
    velha.write("LEITURA DE ONTEM\r\n");
    velha.close();
    relatorios<QRadioButton>("RbSalvarX")->setChecked(true);
    ASSERT_EQ(KesafiVirtual_ForcaResposta(-27, KESAFI_ACK, 0, 1, 66), 1);
    dialogos.whileOpen([&](const platform::dialogs::Record& caixa) {
        if (caixa.title == QLatin1String("RETORNO DO ECF")) passaDaHoraComACaixaAberta();
    });
    QTest::mouseClick(relatorios<QPushButton>("BtLeituraX"), Qt::LeftButton);
    dialogos.whileOpen({});

    EXPECT_EQ(enviadosComACaixaAberta, 0);
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u) << textos(vistas).join('|').toStdString();
    EXPECT_EQ(vistas[0].text, QStringLiteral("Status diferente de 6, 0, 0 !"));
    EXPECT_TRUE(vistas[1].text.startsWith(QStringLiteral("RESPOSTA DA IMPRESSORA AO COMANDO : Obtendo Leitura X")));
    EXPECT_TRUE(
        vistas[1].text.endsWith(QStringLiteral("Segunda Resposta :  \"Comando Não Executado\"\r\rTerceira Resposta : "
                                               "Status diferente de 6, 0, 0 !AGUARDANDO RZ")));
    EXPECT_EQ(ultimaLinhaDoMemo(), QStringLiteral("Retorno do ECF: ACK - ST1 - ST2 - ST3 = 6, 0, 1, 66"));
    EXPECT_TRUE(QDir(arquivo(QStringLiteral("Relatorios"))).entryList(QDir::Files).isEmpty());

    // The first tick after the box sends the exit, once.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !janela()->TimerVerao.isActive(); }));
    EXPECT_EQ(chamadas("ProgramaHorarioVerao"), antes + 1);
    EXPECT_EQ(UStatus::sHorarioVerao, QStringLiteral("INATIVO"));
    esperaOciosa();
}

TEST_F(VeraoSobCaixas, AReductionWithTheSwitchAfterItSwitchesOnceWhenTheCountdownComesDueInItsBox) {
    esperaSaida();
    relatorios<QCheckBox>("CbHorarioVeraoZ")->setChecked(true);
    relatorios<QCheckBox>("CbHabilitaZ")->setChecked(true);
    caixas();
    dialogos.yes();
    dialogos.whileOpen([&](const platform::dialogs::Record& caixa) {
        if (caixa.text.startsWith(QStringLiteral("RESPOSTA DA IMPRESSORA AO COMANDO : Redução Z")))
            passaDaHoraComACaixaAberta();
    });
    QTest::mouseClick(relatorios<QPushButton>("BtReducaoZ"), Qt::LeftButton);
    dialogos.whileOpen({});

    EXPECT_EQ(enviadosComACaixaAberta, 0);
    // The switch after the reduction found the moment reached and sent the
    // exit itself, ending the wait.
    EXPECT_EQ(chamadas("ProgramaHorarioVerao"), antes + 1);
    EXPECT_EQ(UStatus::sHorarioVerao, QStringLiteral("INATIVO"));
    esperaOciosa();
    QCoreApplication::processEvents();
    EXPECT_EQ(chamadas("ProgramaHorarioVerao"), antes + 1);
}

TEST_F(VeraoSobCaixas, AWaitComingDueWhileANewExitIsAskedLeavesTheCommandToTheAnswer) {
    esperaSaida();
    dialogos.whileOpen([&](const platform::dialogs::Record& caixa) {
        if (caixa.kind == Kind::Question) passaDaHoraComACaixaAberta();
    });
    sai();
    dialogos.whileOpen({});
    EXPECT_EQ(enviadosComACaixaAberta, 0);
    EXPECT_EQ(chamadas("ProgramaHorarioVerao"), antes + 1);
    EXPECT_FALSE(textos(caixas()).contains(QStringLiteral("HORÁRIO VERÃO: ") + kCancelado));
    EXPECT_EQ(UStatus::sHorarioVerao, QStringLiteral("INATIVO"));
    esperaOciosa();
}

// Whatever runs while a handler's boxes are open, the handler goes on by the
// result of its own call.
TEST_F(VeraoSobCaixas, HandlersDecideByTheResultOfTheirOwnCall) {
    localiza();
    relogioECF(dia(), QTime(10, 0, 0));
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(1), 1);
    dialogos.whileOpen([](const platform::dialogs::Record& caixa) {
        if (caixa.title == QLatin1String("RESPOSTA DO ECF")) UStatus::iRetorno = 1;
    });
    const int leituras = chamadas("FlagsFiscais");
    AlteraHorarioVerao();  // refused: a sale since the reduction
    EXPECT_EQ(chamadas("FlagsFiscais"), leituras);

    relatorios<QRadioButton>("RbSalvarX")->setChecked(true);
    ASSERT_EQ(KesafiVirtual_ForcaResposta(-27, KESAFI_ACK, 0, 1, 66), 1);
    QTest::mouseClick(relatorios<QPushButton>("BtLeituraX"), Qt::LeftButton);
    dialogos.whileOpen({});
    EXPECT_TRUE(QDir(arquivo(QStringLiteral("Relatorios"))).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(textos(caixas()).join('|').contains(QStringLiteral("Arquivo Gerado")));
}
