// The printer session: the program's settings at start, locating the
// printer and reading its identity and state.  What a window shows of it
// comes through core::eventos().
#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <optional>

namespace uZentora3 {

// The library's version as its buffer came back: 9 characters, 8-bit.
extern QByteArray sVersaoDll;
// 8-bit buffers as the library filled them in the last reading.
extern QByteArray sModelo;  // cut to its first 8 characters
extern QByteArray sVersaoFirmware;
extern QByteArray sReducoesRestantes;
extern QByteArray sDataHoraUltimoDoc;
extern QByteArray sDataUltimaReducao;
extern QByteArray sHoraUltimaReducao;
extern QByteArray sPercentualLivreMFD;

// ---- start ------------------------------------------------------------

// sPastaBase from the program's folder, and the library's keys forced in
// KESAFI32.ini in one write.  False when the file could not be written
// (said by a box).
bool PreparaArquivoIni();
// A setting of the program's section; when absent or empty its default is
// written and read again.  Nothing when the default could not be written.
std::optional<QString> LeAjuste(const QString& chave, const QString& padrao);
// Writes a setting of the program's section; false when refused (said by a box).
bool GravaAjuste(const QString& chave, const QString& valor);
// sVersaoDll from the library.
void LeVersaoDll();
// The signing keys, the registration folder, the text viewer and the
// off-line handling into their globals.  False when a default could not be
// written: the settings after it keep their former values.
bool CarregaAjustes();

// ---- location ---------------------------------------------------------

// Opens the port: USB first, then the serial default (the gauge from 1 to
// 3).  False when neither opened.
bool AbrePorta();
// With the port open: the off-line handling, the extended answers, then
// LeInformacoesECF (the gauge from 4 to 10).  False when the printer stops
// answering meanwhile; the port is closed then.
bool IdentificaImpressora();
// Both, as the main window locates the printer.
bool LocalizaImpressora();
// The port the printer was found on ("USB" or "Default").
QString PortaAtual();
// The movement date (ddmmyy) of the open fiscal day, its answer analysed.
QByteArray LeMovimento();

// ---- the information read ---------------------------------------------

// Reads the identity and state into the globals above (gauge from 5 to 10).
// The first read that meets a communication error ends it with that read's
// one box; the values not read keep what they were, reported as not
// refreshed.  False then.
bool LeInformacoesECF();
// Reads the fiscal flags into sHorarioVerao; a failed read keeps the state
// read before, reported as not refreshed.  The read's result.
int LeStatusHorarioVerao();
// What printing changes, read again without analysis or boxes: reductions
// left, last document in the MFD, free MFD space.  A value the printer does
// not give keeps what it was, reported as not refreshed.
void LeContadoresDoPainel();
// The same report on those three when nothing could be read.
void MarcaContadoresNaoAtualizados();

// A result that means the printer did not answer at all (0, or -5/-6: port
// not open, printer switched off or cable unplugged).
bool falhaDeComunicacao(int retorno);

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

// The fiscal day as the panel names it, from the movement's state and the
// fiscal flags (8: the day was closed by a reduction).
QString descreveDiaFiscal(Movimento movimento, int flags);

}  // namespace uZentora3
