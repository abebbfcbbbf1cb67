// The files of the MF/MFD functions: the reports folder, the download kept
// under the serial number, whether a file carries a signature line, and the
// heading of the stored MFD download.
#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace uDadosMFeMFD {

// Whether the file ends with a signature line ("EAD", 256 characters, CR
// LF), valid or not; nothing when it cannot be read.
std::optional<bool> TemLinhaAssinatura(const QString& arquivo);

// The heading of a download of the tape detail memory (the Download.MFD the
// library writes, which the window keeps as <serial>.MFD).
struct CabecalhoMFD {
    QString serie;
    int usuario = 0;
    // 'D' dates (first and last as yyyymmdd) or 'C' COOs.
    char faixa = 0;
    qint64 inicial = 0;
    qint64 final = 0;
    // When the printer wrote it, by the printer's clock.
    QDateTime gerado;
};
// Nothing when the file is missing, is no download of the version this
// program reads, or its heading is cut short.
std::optional<CabecalhoMFD> LeCabecalhoMFD(const QString& arquivo);

// What the conversion panel says of the stored download at `caminho`: the
// range it holds (dates as dd/mm/yy, as the range edits show them) and when
// it was downloaded, that there is none, or that it cannot be read.
QString DescreveArquivoMFD(const QString& caminho);

// sPastaBase + "Relatorios", the folder of every file the MF/MFD functions make.
QString pastaRelatorios();

// What became of the download the library left in the reports folder.
enum class Guarda {
    Guardado,  // copied to the serial number's name, then removed
    Ausente,   // the library left no Download.MFD
    Falhou,    // the copy failed: Download.MFD is kept as it was
};
// Copies "Download.MFD" of `pasta` over `nome` in the same folder, removing
// it only once the copy is complete.
Guarda GuardaDownload(const QString& pasta, const QString& nome);

}  // namespace uDadosMFeMFD
