#pragma once

#include <QDateTime>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "printer/janela.h"

namespace Ui {
class TFComandosAdicionais;
}

class TFComandosAdicionais : public QWidget {
    Q_OBJECT

public:
    explicit TFComandosAdicionais(QWidget* parent = nullptr);
    ~TFComandosAdicionais() override;

    std::unique_ptr<Ui::TFComandosAdicionais> ui;

    // The wait for the daylight-saving exit command: one tick a second, off
    // until an exit has to wait for its moment.
    QTimer TimerVerao;

    void BtCompararRelogioClick();
    void BtHorarioVeraoClick();
    void TimerVeraoTimer();
    // Starts the exit wait, or starts it again, counting from `horaECF`, the
    // printer's time read just now: the ticks fall a second after it.
    void EsperaSaida(const QDateTime& horaECF);

    void BtGavetaClick();
    void BtTestaGuilhotinaClick();
    void BtCOnfiguraGuilhotinaClick();
    void BtEspacosClick();
    void BtCancelaCupomClick();
    void BtCancelaCNFClick();
    void BtFechaGerencialClick();

private:
    // The printer's time as read for the wait, and the computer's clock then:
    // the count is the one plus the time passed on the other, so that a tick
    // that comes early never sends early.
    QDateTime horaLida_;
    QDateTime lidaEm_;
};

namespace uComandosAdicionais {

// Made the first time it is used.
extern printer::JanelaSobDemanda<TFComandosAdicionais> FComandosAdicionais;

// "Possivel" when the latest exit procedure found no document after the last
// reduction, "Impossivel" when it found one; empty before the first.
extern QString sVeraoPossivel;
// The printer's time as the program counts it during the exit wait.
extern QDateTime dHoraECF;
// The moment the exit command is due; may lie on the day after dHoraECF's.
extern QDateTime dHoraComando;

// Sends the daylight-saving toggle and, when it was accepted, reads the
// state again; true when it was accepted.
bool AlteraHorarioVerao();
// Leaves daylight-saving time: at once when the printer's last document is
// of an earlier day or an hour old, otherwise at the tick of TimerVerao
// that reaches one hour after it; a refusal then offers the wait again.
void SaiHorarioVerao();
// The time from `primeira` to `segunda`, both "hh:mm:ss", as "hh:mm:ss";
// when `segunda` is the earlier time of day it lies on the next day (24:00:00
// minus `primeira` plus `segunda`).  Empty when either text is no time.
QString DiferencaHoras(const QString& primeira, const QString& segunda);

// What the cutter test prints before each cut: the short text, or the long
// one that leaves more paper between the cuts.
QString textoCorteCurto();
QString textoCorteLongo();

}  // namespace uComandosAdicionais
