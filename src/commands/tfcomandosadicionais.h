#pragma once

#include <QDateTime>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "core/horario_verao.h"
#include "printer/janela.h"

namespace Ui {
class TFComandosAdicionais;
}

class TFComandosAdicionais : public QWidget {
    Q_OBJECT

public:
    explicit TFComandosAdicionais(QWidget* parent = nullptr);
    ~TFComandosAdicionais() override;

    // The wait for the daylight-saving exit command: one tick a second, off
    // until an exit has to wait for its moment.
    QTimer TimerVerao;

    void BtCompararRelogioClick();
    void BtHorarioVeraoClick();
    void TimerVeraoTimer();
    // Starts the exit wait, or starts it again, counting from `horaECF`, the
    // printer's time read just now: the ticks fall a second after it.
    void EsperaSaida(const QDateTime& horaECF);
    // The countdown on the Reduction Z button again, while the exit waits.
    void MostraEspera();

    void BtGavetaClick();
    void BtTestaGuilhotinaClick();
    void BtCOnfiguraGuilhotinaClick();
    void BtEspacosClick();
    void BtCancelaCupomClick();
    void BtCancelaCNFClick();
    void BtFechaGerencialClick();

private:
    // The wait's captions: the printer's state, and the clocks when no exit waits.
    void mostraHorarioVerao();
    void mostraSemEspera();
    // An exit sent at once ends a wait still running.
    void encerraEspera();

    // The printer's time as read for the wait, and the computer's clock then:
    // the count is the one plus the time passed on the other, so that a tick
    // that comes early never sends early.
    QDateTime horaLida_;
    QDateTime lidaEm_;
    std::unique_ptr<Ui::TFComandosAdicionais> ui;
};

namespace uComandosAdicionais {

// Made the first time it is used.
extern printer::JanelaSobDemanda<TFComandosAdicionais> FComandosAdicionais;

// What the cutter test prints before each cut: the short text, or the long
// one that leaves more paper between the cuts.
QString textoCorteCurto();
QString textoCorteLongo();

}  // namespace uComandosAdicionais
