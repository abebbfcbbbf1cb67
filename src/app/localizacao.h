// Locating the printer and reading its identity and state.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

class QWidget;

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
// The daylight-saving state read last (sHorarioVerao) on the caption that
// shows it when `janela` is the additional commands or the fiscal reports
// window; nothing before the first read.  Those windows are made when first
// used, and get it then.
void MostraHorarioVerao(QWidget* janela);

// Whole percentage of a free-space buffer: its first two characters when
// they are digits, 0 otherwise.
int percentualLivre(const QByteArray& buffer);

// Firmware "010100" as "01.01.00".
QString formataVersao(const QByteArray& firmware);
// dd/mm/yy - hh:mm:ss from a ddmmyy and an hhmmss field starting at the
// given 1-based positions of their buffers.
QString formataDataHora(const QByteArray& data, int inicioData, const QByteArray& hora, int inicioHora);

// What the movement date (ddmmyy) says on the day `hoje`.
enum class Movimento {
    Nenhum,             // "000000": nothing since the last reduction
    AguardandoReducao,  // a day before today: the printer waits for a Reduction Z
    EmDia               // today, or a date that could not be read
};
Movimento avaliaMovimento(const QByteArray& dataMovimento, const QDate& hoje);

}  // namespace uZentora3
