#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>

#include "auxiliares.h"
#include "commands/tfcomandosadicionais.h"
#include "core/sessao.h"
#include "instalacao.h"
#include "kesafi32.h"
#include "kesafi_virtual.h"
#include "platform/clock.h"
#include "printer/nomes.h"
#include "printer/ustatus.h"
#include "reports/tfrelfiscais.h"

using platform::dialogs::Kind;
using uZentora3::Movimento;

namespace {

const QString kSucesso = QStringLiteral("Impressora Fiscal Localizada com Sucesso!");
const QString kAguardando = kSucesso + QStringLiteral(
                                           "\r\rIMPRESSORA AGUARDANDO REDUÇÃO Z !!!\r\rECF BLOQUEADO ATÉ "
                                           "A IMPRESSÃO DA LEITURA!");

}  // namespace

TEST(Localizacao, TheMovementDateIsComparedWithTodayAsYymmdd) {
    const QDate hoje(2013, 1, 1);
    EXPECT_EQ(uZentora3::avaliaMovimento("000000", hoje), Movimento::Nenhum);
    EXPECT_EQ(uZentora3::avaliaMovimento("311212", hoje), Movimento::AguardandoReducao);
    EXPECT_EQ(uZentora3::avaliaMovimento("010113", hoje), Movimento::EmDia);
    EXPECT_EQ(uZentora3::avaliaMovimento("150612", QDate(2012, 6, 16)), Movimento::AguardandoReducao);
    // A buffer that holds no date after a failed read skips the check.
    EXPECT_EQ(uZentora3::avaliaMovimento("      ", hoje), Movimento::EmDia);
    EXPECT_EQ(uZentora3::avaliaMovimento(QByteArray("31\0x12", 6), hoje), Movimento::EmDia);
    EXPECT_EQ(uZentora3::avaliaMovimento("", hoje), Movimento::EmDia);
}

TEST(Localizacao, BuffersAreShownByPosition) {
    EXPECT_EQ(uZentora3::formataVersao("010100 "), QStringLiteral("01.01.00"));
    EXPECT_EQ(uZentora3::formataDataHora("090426143005", 1, "090426143005", 7), QStringLiteral("09/04/26 - 14:30:05"));
    EXPECT_EQ(uZentora3::formataDataHora("      ", 1, "      ", 1), QStringLiteral("  /  /   -   :  :  "));
    EXPECT_EQ(uZentora3::percentualLivre("85,50 "), 85);
    EXPECT_EQ(uZentora3::percentualLivre("      "), 0);
    EXPECT_EQ(uZentora3::percentualLivre("x9    "), 0);
    EXPECT_EQ(uZentora3::percentualLivre("-5    "), 0);
}

TEST(Localizacao, SerialNumbersNeverLeaveTheirFolderInAFileName) {
    EXPECT_EQ(printer::nomeDeArquivo(QStringLiteral("KS0001   BR  1234   ")), QStringLiteral("KS0001   BR  1234   "));
    EXPECT_EQ(printer::nomeDeArquivo(QStringLiteral("../../etc/passwd\\x:\t")), QStringLiteral(".._.._etc_passwd_x__"));
    EXPECT_EQ(printer::nomeDeArquivo(QStringLiteral("..")), QStringLiteral("__"));
    EXPECT_EQ(printer::nomeDeArquivo(QString()), QString());
}

class LocalizacaoTest : public Instalacao {
protected:
    QList<QPushButton*> funcoes() const {
        return {naPrincipal<QPushButton>("BtConfigFiscais"), naPrincipal<QPushButton>("BtRelatoriosFiscais"),
                naPrincipal<QPushButton>("BtComandosAdicionais"), naPrincipal<QPushButton>("BtDadosDaMFD")};
    }
    void localiza() { naPrincipal<QToolButton>("BtLocalizarImpressora")->click(); }
    QString modelo() const { return QString::fromLatin1(uZentora3::sModelo); }
};

TEST_F(LocalizacaoTest, APrinterOnSerialOnlyIsFoundOnTheDefaultPort) {
    criaImpressora(QStringLiteral("Serial"));
    criaJanelas();
    caixas();
    localiza();
    const auto c = caixas();
    ASSERT_EQ(c.size(), 1u) << todas(c);  // the failed USB attempt shows nothing
    EXPECT_EQ(c[0].title, QStringLiteral("LOCALIZAÇÃO DO ECF"));
    EXPECT_EQ(leIni(QStringLiteral("Sistema"), QStringLiteral("Porta")), QStringLiteral("Default"));
    EXPECT_EQ(leIni(QStringLiteral("MFD"), QStringLiteral("Impressora")), QStringLiteral("1"));
    EXPECT_EQ(naPrincipal<QToolButton>("BtLocalizarImpressora")->text(),
              modelo() + QStringLiteral(" na Default - Localizar Novamente?"));
    EXPECT_EQ(naPrincipal<QToolButton>("BtLocalizarImpressora")->property("imagem").toString(),
              QStringLiteral("serial.bmp"));
    EXPECT_FALSE(naPrincipal<QToolButton>("BtLocalizarImpressora")->icon().isNull());
    for (auto* b : funcoes()) EXPECT_TRUE(b->isEnabled());
    EXPECT_EQ(modelo().size(), 8);
}

TEST_F(LocalizacaoTest, APrinterOnUsbIsFoundFirstAndTheSerialKeysAreLeftAlone) {
    criaImpressora(QStringLiteral("USB"));
    criaJanelas();
    gravaIni(QStringLiteral("MFD"), QStringLiteral("Impressora"), QStringLiteral("intocado"));
    caixas();
    localiza();
    EXPECT_EQ(leIni(QStringLiteral("Sistema"), QStringLiteral("Porta")), QStringLiteral("USB"));
    EXPECT_EQ(leIni(QStringLiteral("MFD"), QStringLiteral("Impressora")), QStringLiteral("intocado"));
    EXPECT_EQ(naPrincipal<QToolButton>("BtLocalizarImpressora")->text(),
              modelo() + QStringLiteral(" na USB - Localizar Novamente?"));
    EXPECT_EQ(naPrincipal<QToolButton>("BtLocalizarImpressora")->property("imagem").toString(),
              QStringLiteral("usb.bmp"));
    // The extended return is on and the port stays open.
    long long valor = 0;
    KesafiVirtual_LeContador("RetornoEstendido", &valor);
    EXPECT_EQ(valor, 1);
    KesafiVirtual_LeContador("PortaAberta", &valor);
    EXPECT_EQ(valor, 1);
}

TEST_F(LocalizacaoTest, FillsTheInformationPanel) {
    criaImpressora(QStringLiteral("USB"));
    criaJanelas();
    localiza();
    EXPECT_EQ(naPrincipal<QLabel>("LbNumeroSerie")->text().size(), 20);
    EXPECT_EQ(naPrincipal<QLabel>("LbNumeroSerie")->text(), UStatus::sNumeroSerie);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d\\d$"))
                    .match(naPrincipal<QLabel>("LbVersao")->text())
                    .hasMatch())
        << naPrincipal<QLabel>("LbVersao")->text().toStdString();
    const QRegularExpression dataHora(QStringLiteral("^\\d\\d/\\d\\d/\\d\\d - \\d\\d:\\d\\d:\\d\\d$"));
    EXPECT_TRUE(dataHora.match(naPrincipal<QLabel>("LbUltimoDocMFD")->text()).hasMatch())
        << naPrincipal<QLabel>("LbUltimoDocMFD")->text().toStdString();
    EXPECT_TRUE(dataHora.match(naPrincipal<QLabel>("LbUltimaZ")->text()).hasMatch())
        << naPrincipal<QLabel>("LbUltimaZ")->text().toStdString();
    EXPECT_EQ(naPrincipal<QLabel>("LbZRestantes")->text().size(), 4);
    EXPECT_GT(naPrincipal<QProgressBar>("GMfd")->value(), 0);
    EXPECT_EQ(naPrincipal<QLabel>("LbStatusVerao")->text(), QStringLiteral("Inativo"));
    EXPECT_EQ(UStatus::sHorarioVerao, QStringLiteral("INATIVO"));
    EXPECT_EQ(controle<QPushButton>(uComandosAdicionais::FComandosAdicionais.get(), "BtHorarioVerao")->text(),
              QStringLiteral("Entrar no Horário de Verão"));
    EXPECT_EQ(controle<QCheckBox>(URelFiscais::FRelFiscais.get(), "CbHorarioVeraoZ")->text(),
              QStringLiteral("Ajustar Horário de Verão Após a Redução(Atualmente INATIVO)"));
}

TEST_F(LocalizacaoTest, NoMovementSinceTheLastReductionGivesThePlainMessageAndAnEmptyGauge) {
    criaImpressora(QStringLiteral("USB"));
    criaJanelas();
    caixas();
    localiza();
    const auto c = caixas();
    ASSERT_FALSE(c.empty());
    EXPECT_EQ(c.back().text, kSucesso);
    EXPECT_EQ(naPrincipal<QProgressBar>("Gstatus")->value(), 0);
}

TEST_F(LocalizacaoTest, MovementOfTodayGivesThePlainMessageAndAFullGauge) {
    criaImpressora(QStringLiteral("USB"));
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(2), 1);
    criaJanelas();
    caixas();
    localiza();
    const auto c = caixas();
    ASSERT_FALSE(c.empty());
    EXPECT_EQ(c.back().text, kSucesso);
    EXPECT_EQ(naPrincipal<QProgressBar>("Gstatus")->value(), 10);
}

TEST_F(LocalizacaoTest, MovementOfAnEarlierDayAnnouncesThePendingReduction) {
    criaImpressora(QStringLiteral("USB"));
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(1), 1);
    criaJanelas();
    // The computer's clock has moved on to the next day.
    platform::clock::set(QDateTime::currentDateTime().addDays(1));
    caixas();
    localiza();
    const auto c = caixas();
    ASSERT_FALSE(c.empty());
    EXPECT_EQ(c.back().text, kAguardando);
    EXPECT_EQ(naPrincipal<QProgressBar>("Gstatus")->value(), 10);
}

TEST_F(LocalizacaoTest, NoPrinterAtAllReportsTheSerialFailureOnly) {
    criaImpressora(QString());
    criaJanelas();
    caixas();
    localiza();
    const auto c = caixas();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].title, QStringLiteral("RETORNO DO ECF"));
    EXPECT_EQ(c[0].kind, Kind::Information);
    EXPECT_EQ(naPrincipal<QProgressBar>("Gstatus")->value(), 0);
    for (auto* b : funcoes()) EXPECT_FALSE(b->isEnabled());
    EXPECT_EQ(leIni(QStringLiteral("Sistema"), QStringLiteral("Porta")), QStringLiteral("Default"));
}

TEST_F(LocalizacaoTest, OffLineHandlingIsSentOnlyWhenTheSettingsSaySo) {
    criaImpressora(QStringLiteral("USB"));
    gravaIni(QStringLiteral("Zentora3"), QStringLiteral("EnviaComandoOFFline"), QStringLiteral("Sim"));
    gravaIni(QStringLiteral("Zentora3"), QStringLiteral("TrataOFFLine"), QStringLiteral("Sim"));
    criaJanelas();
    localiza();
    long long valor = -1;
    KesafiVirtual_LeContador("TratamentoOffLine", &valor);
    EXPECT_EQ(valor, 0);  // 0 switches it on

    int chamadas = -1;
    UStatus::sEnviaComandoOFFline = QStringLiteral("Nao");
    KesafiVirtual_ContaChamadas("Kestrona_FI_AtivaDesativaTratamentoONOFFLineMFD", &chamadas);
    const int antes = chamadas;
    localiza();
    KesafiVirtual_ContaChamadas("Kestrona_FI_AtivaDesativaTratamentoONOFFLineMFD", &chamadas);
    EXPECT_EQ(chamadas, antes);
}

TEST_F(LocalizacaoTest, DaylightSavingStateFollowsBitFourOfTheFiscalFlags) {
    criaImpressora(QStringLiteral("USB"));
    abrePorta(QStringLiteral("USB"));
    ASSERT_EQ(Kestrona_FI_ProgramaHorarioVerao(), 1);  // right after the last reduction
    Kestrona_FI_FechaPortaSerial();
    criaJanelas();
    localiza();
    EXPECT_EQ(naPrincipal<QLabel>("LbStatusVerao")->text(), QStringLiteral("Ativo"));
    EXPECT_EQ(UStatus::sHorarioVerao, QStringLiteral("ATIVO"));
    EXPECT_EQ(controle<QPushButton>(uComandosAdicionais::FComandosAdicionais.get(), "BtHorarioVerao")->text(),
              QStringLiteral("Sair do Horário de Verão"));
    EXPECT_EQ(controle<QCheckBox>(URelFiscais::FRelFiscais.get(), "CbHorarioVeraoZ")->text(),
              QStringLiteral("Ajustar Horário de Verão Após a Redução(Atualmente ATIVO)"));
}

TEST_F(LocalizacaoTest, AFailedFlagsReadKeepsTheStateReadBefore) {
    criaImpressora(QStringLiteral("USB"));
    abrePorta(QStringLiteral("USB"));
    ASSERT_EQ(Kestrona_FI_ProgramaHorarioVerao(), 1);
    Kestrona_FI_FechaPortaSerial();
    criaJanelas();
    localiza();
    ASSERT_EQ(UStatus::sHorarioVerao, QStringLiteral("ATIVO"));
    KesafiVirtual_ForcaResposta(0, KESAFI_ACK, 0, 0, 0);
    caixas();
    EXPECT_EQ(uZentora3::LeStatusHorarioVerao(), 0);
    // Nothing says the printer left daylight-saving time: "Entrar" would toggle it back.
    EXPECT_EQ(UStatus::sHorarioVerao, QStringLiteral("ATIVO"));
    EXPECT_EQ(naPrincipal<QLabel>("LbStatusVerao")->text(), QStringLiteral("Ativo"));
    EXPECT_FALSE(naPrincipal<QLabel>("LbStatusVerao")->isEnabled());
    EXPECT_EQ(controle<QPushButton>(uComandosAdicionais::FComandosAdicionais.get(), "BtHorarioVerao")->text(),
              QStringLiteral("Sair do Horário de Verão"));
    const auto c = caixas();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].text, QStringLiteral("Erro de Comunicação !"));
}

TEST_F(LocalizacaoTest, APrinterAnsweringGarbageNeverCrashesTheReading) {
    criaImpressora(QStringLiteral("USB"));
    criaJanelas();
    localiza();
    const QByteArray lixos[] = {QByteArray("\x01/..\\\xff\x00:", 8), QByteArray("abcdefghijklmnopqrstuvwxyz"),
                                QByteArray(8, '\0')};
    for (const QByteArray& lixo : lixos) {
        KesafiVirtual_ForcaBufferLixo(lixo.constData(), int(lixo.size()));
        uZentora3::LeInformacoesECF();
        EXPECT_EQ(naPrincipal<QLabel>("LbNumeroSerie")->text().size(), 20);
        EXPECT_FALSE(printer::nomeDeArquivo(UStatus::sNumeroSerie).contains(QLatin1Char('/')));
        EXPECT_GE(naPrincipal<QProgressBar>("GMfd")->value(), 0);
    }
}
