// The printer's four configuration tables: cut out of the library's answer
// buffers, written as the lines of the window's memos, and turned into the
// grid rows of a printer-to-file copy.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>

#include "cadastro.h"

namespace configfiscal {

struct FormaPagamento {
    QString Descricao;  // 16 characters as the printer returns them (blanks: free)
    QString Vinculo;    // "V" bound, "N" not bound
};
struct Aliquota {
    QString Valor;  // four digits in hundredths of a percent ("0000": free)
    QString Tipo;   // "ICMS" or "Serviço(ISS)"
};
using FormasPagamento = std::array<FormaPagamento, 20>;
using Aliquotas = std::array<Aliquota, 16>;
using Nomes = std::array<QString, 30>;

inline const QString kTipoICMS = QStringLiteral("ICMS");
inline const QString kTipoISS = QStringLiteral("Serviço(ISS)");

// 58-character records: the name in characters 1-16, the bound flag in
// character 57 ("0" not bound, anything else bound).
FormasPagamento formasDaResposta(const QByteArray& buffer);
// Rate i in characters 5i+1 to 5i+4; the ISS slots are those the index
// list (two digits every three characters) names, matched in one ascending
// pass: an index out of order or blank never matches.
Aliquotas aliquotasDaResposta(const QByteArray& valores, const QByteArray& indicesIss);
// Receipt i in characters 34i+1 to 34i+19.
Nomes comprovantesDaResposta(const QByteArray& buffer);
// Report i in characters 22i+5 to 22i+21.
Nomes relatoriosDaResposta(const QByteArray& buffer);

// "1700" as "17,00%".
QString taxaDoValor(const QString& valor);

// The memo lines of each table, footer lines included.
QStringList linhasFormasPagamento(const FormasPagamento& formas, bool atual);
QStringList linhasAliquotas(const Aliquotas& aliquotas);
QStringList linhasNomes(const Nomes& nomes);

// The grid of a printer-to-file copy: the printer's entries row by row,
// free entries left out so that the filled ones stand from the first row
// (payment methods from row 2; method 1 stays in row 1), in printer order.
Grade gradeDasFormas(const FormasPagamento& formas);
Grade gradeDasAliquotas(const Aliquotas& aliquotas);
// Receipts and reports keep their positions; a free name is an empty row.
Grade gradeDosNomes(const Nomes& nomes, int largura);

}  // namespace configfiscal
