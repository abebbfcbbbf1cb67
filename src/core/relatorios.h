// The report files of the program: where they lie, how they are copied and
// written, the capture file of the serial readings, the text viewer.  The
// dates the report windows take are printer/datas.h.
#pragma once

#include "printer/datas.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

namespace URelFiscais {

// Opens a report file in the viewer `programa` ("Notepad" or "Wordpad").
// `arquivo` is relative to sPastaBase ("Relatorios" + separator + name) or
// a full path; the viewer always receives the full path.  A program of
// exactly that name on the PATH is preferred; otherwise "Notepad" opens the
// file in the desktop's default application for it, and "Wordpad" in a
// word processor when one is installed, else in the default application.
// When nothing could open it, an error box names the file.
void AbreArquivoTXT(const QString& programa, const QString& arquivo);

// "Relatorios" + separator + `nome`: where a report file lies, relative to
// sPastaBase.
QString caminhoRelatorio(const QString& nome);
// sPastaBase + "Retorno.txt", where the library leaves a report read through
// a serial variant.
QString arquivoCaptura();

// The capture file set aside before a serial reading: the one an earlier
// reading left is removed, so that afterwards only a capture written by this
// call is shown or saved.  Where the old file cannot be removed, a capture
// counts as new only when its modification time has changed.
class Captura {
public:
    Captura();
    // True when the library has written the capture file since.
    bool nova() const;

private:
    bool removida_ = false;
    QDateTime anterior_;
};

// The lines of a Windows-1252 text file (CR LF, LF or CR line ends; a final
// line end adds no empty line); nothing when the file cannot be opened.
std::optional<QStringList> leLinhas(const QString& arquivo);
// Copies `origem` over `destino`, replacing a file of that name only once
// the whole copy has been written; false when anything failed (`destino`
// then keeps what it held).
bool copiaArquivo(const QString& origem, const QString& destino);

// Writes `texto` over `destino` as text of the system's code page (UTF-8 on
// Linux, Windows-1252 on Windows), replacing a file of that name only once
// everything was written; false when anything failed (`destino` then keeps
// what it held).
bool gravaTexto(const QString& destino, const QString& texto);

// What the memo says when a serial reading left no capture.
QString semLeitura();
// Copies the capture file into the reports folder as sNomeArquivo + `sufixo`,
// as text of the system's code page (gravaTexto), and offers to open the copy
// in sAbreTXT.  A capture not written anew, or a
// failed copy, shows an error box with `titulo` and asks nothing.  True
// when the copy was written.
bool salvaCaptura(const QString& sufixo, const QString& titulo, const Captura& captura);

}  // namespace URelFiscais
