// The report of the last Reduction Z: the library's answer
// (KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO characters) cut by position into 81
// labelled lines.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace uDadosMFeMFD {

// The 81 lines of the report, fields copied exactly as the buffer holds
// them (a zero byte reads as a blank; positions past the buffer's end as
// nothing).
QStringList LinhasDadosZ(const QByteArray& dados);

// Writes `linhas` to `arquivo` as text of the system's code page
// (URelFiscais::gravaTexto), each line ended by CR LF, replacing a file of
// that name only once everything was written.  False when the file could not be created or written (nothing replaced).
bool GravaTexto(const QString& arquivo, const QStringList& linhas);

}  // namespace uDadosMFeMFD
