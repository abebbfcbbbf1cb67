#include "tfcomandosadicionais.h"

#include "app/localizacao.h"
#include "datahora.h"
#include "kesafi32.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "printer/buffer.h"
#include "printer/janela.h"
#include "printer/ustatus.h"
#include "reports/tfrelfiscais.h"
#include "ui_tfcomandosadicionais.h"
#include "ui_tfrelfiscais.h"

using namespace UStatus;
using printer::bufferEmBranco;

namespace uComandosAdicionais {

TFComandosAdicionais* FComandosAdicionais = nullptr;
QString sVeraoPossivel;
QDateTime dHoraECF;
QDateTime dHoraComando;

namespace {

const QString kAtivo = QStringLiteral("ATIVO");
const QString kInativo = QStringLiteral("INATIVO");
const QString kTituloVerao = QStringLiteral("HORÁRIO VERÃO");
const QString kTituloPergunta = QStringLiteral("HORÁRIO DE VERÃO");
const QString kTituloRelogio = QStringLiteral("COMPARAR RELÓGIO");
const QString kLegendaVerao = QStringLiteral("Horário de Verão");
const QString kHoraZero = QStringLiteral("00:00:00");

// Ends a handler on a date or time the printer did not give.
void naoLido(const QString& titulo, const QString& oQue, const QString& texto) {
    platform::dialogs::error(
        titulo, QStringLiteral("Não Foi Possível Ler ") + oQue + QStringLiteral(": \"") + texto + QLatin1Char('"'));
}

// The two clocks and the Z button as they stand when no exit is waiting.
void mostraSemEspera() {
    FComandosAdicionais->ui->LbHoraAtual->setText(kHoraZero);
    FComandosAdicionais->ui->LbHoraComando->setText(kHoraZero);
    URelFiscais::FRelFiscais->ui->BtReducaoZ->setText(QStringLiteral("Emitir Redução Z"));
}

// An exit about to be sent at once ends a wait still running, so that the
// command goes out once.
void encerraEspera() {
    if (!FComandosAdicionais->TimerVerao.isActive()) return;
    FComandosAdicionais->TimerVerao.stop();
    FComandosAdicionais->ui->BtHorarioVerao->setText(kLegendaVerao);
    mostraSemEspera();
}

}  // namespace

void AlteraHorarioVerao() {
    sComando = QStringLiteral("Alterar Horário de Verão");
    const int retorno = iRetorno = Kestrona_FI_ProgramaHorarioVerao();
    VerificaRetorno();
    MostraRespostaImpressora();
    if (retorno > 0) {
        sComando = QStringLiteral("Verificando Horário de Verão");
        uZentora3::LeStatusHorarioVerao();
    }
}

void SaiHorarioVerao() {
    QByteArray reducao = bufferEmBranco(1279);
    sComando = QStringLiteral("Verificando COO da Z");
    iRetorno = Kestrona_FI_DadosUltimaReducaoMFD(reducao.data());
    const QString cooReducao = printer::campo(reducao, 14, 6);
    VerificaRetorno();

    QByteArray coo = bufferEmBranco(6);
    sComando = QStringLiteral("Verificando Último COO");
    iRetorno = Kestrona_FI_NumeroCupom(coo.data());
    VerificaRetorno();
    sVeraoPossivel = cooReducao == printer::texto(coo) ? QStringLiteral("Possivel") : QStringLiteral("Impossivel");

    QByteArray ultimo = bufferEmBranco(12);
    sComando = QStringLiteral("Verificando Ultimo Doc na MFD");
    iRetorno = Kestrona_FI_DataHoraUltimoDocumentoMFD(ultimo.data());
    VerificaRetorno();

    QByteArray data = bufferEmBranco(6);
    QByteArray hora = bufferEmBranco(6);
    sComando = QStringLiteral("Verificando Relógio do ECF");
    iRetorno = Kestrona_FI_DataHoraImpressora(data.data(), hora.data());
    VerificaRetorno();

    const QString dataECF = dataDoBuffer(data);
    const QString horaECF = horaDoBuffer(hora);
    const QString dataDoc = dataDoBuffer(ultimo, 1);
    const QString horaDoc = horaDoBuffer(ultimo, 7);
    const auto diaECF = dataDeTexto(dataECF);
    if (!diaECF) return naoLido(kTituloPergunta, QStringLiteral("a Data da Impressora"), dataECF);
    const auto horarioECF = horaDeTexto(horaECF);
    if (!horarioECF) return naoLido(kTituloPergunta, QStringLiteral("a Hora da Impressora"), horaECF);
    const auto diaDoc = dataDeTexto(dataDoc);
    if (!diaDoc) return naoLido(kTituloPergunta, QStringLiteral("a Data do Último Documento"), dataDoc);
    const auto horarioDoc = horaDeTexto(horaDoc);
    if (!horarioDoc) return naoLido(kTituloPergunta, QStringLiteral("a Hora do Último Documento"), horaDoc);

    if (diaDoc->daysTo(*diaECF) > 0) {
        encerraEspera();
        AlteraHorarioVerao();
        return;
    }
    // Both on the printer's day: an hour after a document late in the
    // evening falls on the next one.
    dHoraComando = momento(*diaECF, *horarioDoc).addSecs(3600);
    dHoraECF = momento(*diaECF, *horarioECF);
    if (dHoraECF >= dHoraComando) {
        encerraEspera();
        AlteraHorarioVerao();
    } else if (!FComandosAdicionais->TimerVerao.isActive()) {
        FComandosAdicionais->TimerVerao.start();
    }
}

QString DiferencaHoras(const QString& primeira, const QString& segunda) {
    const auto de = horaDeTexto(primeira);
    const auto ate = horaDeTexto(segunda);
    if (!de || !ate) return {};
    int segundos = de->secsTo(*ate);
    if (segundos < 0) segundos += 86400;
    return textoHora(QTime(0, 0).addSecs(segundos));
}

}  // namespace uComandosAdicionais

using namespace uComandosAdicionais;

TFComandosAdicionais::TFComandosAdicionais(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TFComandosAdicionais>()) {
    ui->setupUi(this);
    printer::preparaJanela(this, Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    printer::instalaAjuda(this);

    TimerVerao.setInterval(1000);
    connect(&TimerVerao, &QTimer::timeout, this, &TFComandosAdicionais::TimerVeraoTimer);
    connect(ui->BtCompararRelogio, &QPushButton::clicked, this, &TFComandosAdicionais::BtCompararRelogioClick);
    connect(ui->BtHorarioVerao, &QPushButton::clicked, this, &TFComandosAdicionais::BtHorarioVeraoClick);
}

TFComandosAdicionais::~TFComandosAdicionais() = default;

void TFComandosAdicionais::BtCompararRelogioClick() {
    const QDateTime agora = platform::clock::now();
    const QDate diaPC = agora.date();
    const QTime horarioPC(agora.time().hour(), agora.time().minute(), agora.time().second());

    QByteArray data = bufferEmBranco(6);
    QByteArray hora = bufferEmBranco(6);
    sComando = QStringLiteral("Data e Hora do ECF");
    iRetorno = Kestrona_FI_DataHoraImpressora(data.data(), hora.data());
    VerificaRetorno();
    MostraRespostaImpressora();
    const QString dataECF = dataDoBuffer(data);
    uZentora3::LeStatusHorarioVerao();
    const QString horaECF = horaDoBuffer(hora);

    ui->LbHoraPC->setText(textoData(diaPC) + QStringLiteral("  ") + textoHora(horarioPC));
    ui->LbHoraECF->setText(dataECF + QStringLiteral("  ") + horaECF +
                           (sHorarioVerao == kAtivo ? QStringLiteral(" V") : QString()));

    const auto diaECF = dataDeTexto(dataECF);
    if (!diaECF) return naoLido(kTituloRelogio, QStringLiteral("a Data da Impressora"), dataECF);
    const auto horarioECF = horaDeTexto(horaECF);
    if (!horarioECF) return naoLido(kTituloRelogio, QStringLiteral("a Hora da Impressora"), horaECF);
    ui->LbDiferenca->setText(textoDiferenca(momento(*diaECF, *horarioECF).secsTo(momento(diaPC, horarioPC))));
}

void TFComandosAdicionais::BtHorarioVeraoClick() {
    if (sVeraoPossivel == QLatin1String("Impossivel"))
        platform::dialogs::information(kTituloVerao, QStringLiteral("Documentos Foram Impressos Após a Redução Z\rVocê "
                                                                    "Provavelmente não Conseguirá Alterar o\rHorário "
                                                                    "de Verão!!"));
    const QString estado = sHorarioVerao;
    bool sim = false;
    if (estado == kAtivo)
        sim = platform::dialogs::question(
            kTituloPergunta,
            QStringLiteral("Impressora com o Horário de Verão \"ATIVO\"\rDeseja sair do Horário de Verão?"));
    else if (estado == kInativo)
        sim = platform::dialogs::question(
            kTituloPergunta,
            QStringLiteral("Impressora com o Horário de Verão \"INATIVO\"\rDeseja Entrar no Horário de Verão?"));
    if (!sim) {
        platform::dialogs::information(kTituloVerao, QStringLiteral("Comando Cancelado"));
        return;
    }
    if (estado == kAtivo)
        SaiHorarioVerao();
    else
        AlteraHorarioVerao();
}

void TFComandosAdicionais::TimerVeraoTimer() {
    ui->BtHorarioVerao->setText(QStringLiteral("Aguarde a Hora do Comando !!!"));
    dHoraECF = dHoraECF.addSecs(1);
    const QString horaECF = textoHora(dHoraECF.time());
    const QString horaComando = textoHora(dHoraComando.time());
    ui->LbHoraAtual->setText(horaECF);
    ui->LbHoraComando->setText(horaComando);
    URelFiscais::FRelFiscais->ui->BtReducaoZ->setText(QStringLiteral("Aguarde !!! Hora do ECF  : ") + horaECF +
                                                      QLatin1Char('\r') + QStringLiteral("Comando Será Enviado as : ") +
                                                      horaComando);
    // Whole seconds on both sides; a command past midnight is reached only
    // once the counted time has passed midnight too.  Nothing is sent while a
    // box is open: a handler showing it is between its command and the
    // analysis of the answer.  The first tick after it has closed sends.
    if (dHoraECF >= dHoraComando && !platform::dialogs::anyOpen()) {
        TimerVerao.stop();
        ui->BtHorarioVerao->setText(kLegendaVerao);
        AlteraHorarioVerao();
        mostraSemEspera();
    }
}
