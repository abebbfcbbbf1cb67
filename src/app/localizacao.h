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
// The first read that meets a communication error ends it with that read's
// one box; the values not read keep what they showed, marked as not
// refreshed.  False then.
bool LeInformacoesECF();
// Reads the fiscal flags into sHorarioVerao and the three windows'
// indicators; a failed read keeps the state read before, marked as not
// refreshed.  The read's result.
int LeStatusHorarioVerao();
// What printing changes in the panel, read again without analysis or boxes:
// reductions left, last document in the MFD, free MFD space.  A value the
// printer does not give keeps what it showed, marked as not refreshed.
void LeContadoresDoPainel();
// The same mark on those three when nothing could be read.
void MarcaContadoresNaoAtualizados();
// The main window as before the printer was located: its caption, the
// panel's values and the function buttons.
void MostraNaoLocalizada();

// A result that means the printer did not answer at all (0, or -5/-6: port
// not open, printer switched off or cable unplugged).
bool falhaDeComunicacao(int retorno);
// A value of the panel as read just now, or kept from before: greyed, with
// a tip that says so.
void marcaAtualizado(QWidget* valor, bool atualizado);
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
