// What the operator types in the fiscal configuration window, and the texts
// the window builds around it.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace configfiscal {

// `texto` with blanks appended up to `largura` characters (never cut).
QString completa(const QString& texto, int largura);
// True when `texto` is exactly `largura` blanks.
bool brancos(const QString& texto, int largura);

// The rate edit's text as the program reads it: the shown text with each
// position not typed (shown as `vazio`) read as a blank, "  ,  %" when
// nothing is typed.
QString textoDaMascara(const QString& mostrado, QChar vazio = QLatin1Char('_'));
// The four digits sent for a rate text such as "07,50%" ("0750"); nothing
// when a digit position is blank or the rate is "00,00%".
std::optional<QString> aliquotaParaEnvio(const QString& texto);

// The text of the box that refuses a name holding characters the printer
// cannot store (outside Windows-1252, control characters), naming them;
// empty when every character can be stored.
QString recusaDoNome(const QString& nome);
// The same for the names of rows `de` to `ate` (from 1) of a file-to-printer
// send, row by row; empty when every row can be sent.
QString recusaDasLinhas(const QStringList& nomes, int de, int ate);

// "Caracteres Utilizados : " and the count.
QString textoContador(const QString& texto);

// Report of a file-to-printer send: for each row from `primeira`, a line
// break, the row number, " : " and the row's line.
QString relatorioDeEnvio(int primeira, const QStringList& linhas);

}  // namespace configfiscal
