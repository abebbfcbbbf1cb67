// Entering and leaving daylight-saving time, and the exit's wait for its
// moment (kept by the additional commands window's timer).
#pragma once

#include <QDateTime>
#include <QString>

namespace uComandosAdicionais {

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
// of an earlier day or an hour old, otherwise asks for the wait until one
// hour after it (core::eventos().esperaSaidaPedida), which the additional
// commands window's TimerVerao counts; a refusal then offers the wait again.
void SaiHorarioVerao();
// The time from `primeira` to `segunda`, both "hh:mm:ss", as "hh:mm:ss";
// when `segunda` is the earlier time of day it lies on the next day (24:00:00
// minus `primeira` plus `segunda`).  Empty when either text is no time.
QString DiferencaHoras(const QString& primeira, const QString& segunda);

// The error box of a handler that ends on a date or time the printer did
// not give (`oQue`: "a Data da Impressora").
void naoLido(const QString& titulo, const QString& oQue, const QString& texto);

// The Reduction Z button's caption during the wait (the printer's time and
// the command's), and once it is over.
void MostraContagem(const QString& horaECF, const QString& horaComando);
void MostraSemContagem();

}  // namespace uComandosAdicionais
