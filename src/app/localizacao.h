// Locating the printer and reading its identity and state.
#pragma once

#include <QByteArray>

namespace uZentora3 {

// 8-bit buffers as the library filled them in the last reading.
extern QByteArray sModelo;  // cut to its first 8 characters
extern QByteArray sVersaoFirmware;
extern QByteArray sReducoesRestantes;
extern QByteArray sDataHoraUltimoDoc;
extern QByteArray sDataUltimaReducao;
extern QByteArray sHoraUltimaReducao;
extern QByteArray sPercentualLivreMFD;

// Refreshes the information panel of the main window (gauge from 5 to 10).
void LeInformacoesECF();
// Reads the fiscal flags into sHorarioVerao and the three windows' indicators.
void LeStatusHorarioVerao();

// Whole percentage of a free-space buffer: its first two characters when
// they are digits, 0 otherwise.
int percentualLivre(const QByteArray& buffer);

}  // namespace uZentora3
