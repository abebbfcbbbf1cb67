#include "relogio_ecf.h"

#include <QLabel>

#include "kesafi32.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "printer/avisos.h"
#include "printer/buffer.h"

namespace uZentora3 {

namespace {

// While a box is open the read waits this long before trying again.
constexpr int kEsperaDaCaixa = 200;
const QString kSemResposta = QStringLiteral("Sem Resposta");

}  // namespace

std::optional<QDateTime> dataHoraDoECF(const QByteArray& data, const QByteArray& hora) {
    const QDate dia = QDate::fromString(
        QStringLiteral("20") + printer::campo(data, 5, 2) + printer::campo(data, 3, 2) + printer::campo(data, 1, 2),
        QStringLiteral("yyyyMMdd"));
    const QTime momento = QTime::fromString(printer::campo(hora, 1, 6), QStringLiteral("HHmmss"));
    if (!dia.isValid() || !momento.isValid()) return std::nullopt;
    return QDateTime(dia, momento);
}

RelogioDoECF::RelogioDoECF(QLabel* relogio, QLabel* dia, QObject* parent)
    : QObject(parent), relogio_(relogio), dia_(dia) {
    TimerRelogio.setInterval(1000);
    connect(&TimerRelogio, &QTimer::timeout, this, &RelogioDoECF::TimerRelogioTimer);
    TimerLeitura.setSingleShot(true);
    connect(&TimerLeitura, &QTimer::timeout, this, &RelogioDoECF::Le);
    connect(&printer::avisos(), &printer::Avisos::comandoVerificado, this, &RelogioDoECF::pedeLeitura);
}

void RelogioDoECF::inicia() {
    ativo_ = true;
    pedeLeitura();
}

void RelogioDoECF::para() {
    ativo_ = false;
    lido_.reset();
    TimerRelogio.stop();
    TimerLeitura.stop();
    relogio_->setText(QStringLiteral("*"));
    dia_->setText(QStringLiteral("*"));
}

void RelogioDoECF::pedeLeitura() {
    if (ativo_ && !TimerLeitura.isActive()) TimerLeitura.start(0);
}

void RelogioDoECF::Le() {
    if (!ativo_) return;
    // Nothing goes to the printer between a handler's commands.
    if (platform::dialogs::anyOpen()) {
        TimerLeitura.start(kEsperaDaCaixa);
        return;
    }
    QByteArray data = printer::bufferEmBranco(KESAFI_LARGURA_DATA);
    QByteArray hora = printer::bufferEmBranco(KESAFI_LARGURA_HORA);
    const int retorno = Kestrona_FI_DataHoraImpressora(data.data(), hora.data());
    lido_ = retorno == 1 ? dataHoraDoECF(data, hora) : std::nullopt;
    if (!lido_) {
        TimerRelogio.stop();
        relogio_->setText(kSemResposta);
        dia_->setText(kSemResposta);
        MarcaContadoresNaoAtualizados();
        return;
    }
    aoLer_ = platform::clock::now();
    LeContadoresDoPainel();

    QByteArray movimento = printer::bufferEmBranco(KESAFI_LARGURA_DATA);
    int flags = 0;
    const bool movimentoLido = Kestrona_FI_DataMovimento(movimento.data()) == 1;
    const bool flagsLidas = Kestrona_FI_FlagsFiscais(&flags) == 1;
    dia_->setText(movimentoLido && flagsLidas ? descreveDiaFiscal(avaliaMovimento(movimento, lido_->date()), flags)
                                              : kSemResposta);
    TimerRelogioTimer();
    TimerRelogio.start();
}

void RelogioDoECF::TimerRelogioTimer() {
    if (!lido_) return;
    const QDateTime agora = lido_->addMSecs(aoLer_.msecsTo(platform::clock::now()));
    relogio_->setText(agora.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")));
    // Past the printer's midnight the fiscal day is another: judged again
    // from a fresh read (a day's movement now waits for its reduction).
    if (agora.date() != lido_->date()) pedeLeitura();
}

}  // namespace uZentora3
