// The printer's tape as the library hands it over a page at a time, where
// the library offers it: a vendor library has no tape functions, so they are
// looked up while the program runs and the program does without them.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

namespace printer {

// A record of the tape: a document with its COO, or the trace of a command
// (COO 0).  Numbers grow along the tape and are never reused.
struct RegistroDaFita {
    qint64 numero = 0;
    qint64 coo = 0;
    QString tipo;
    QDateTime momento;
    QString texto;  // as printed, lines ending in CR LF
};

// A page as the library writes it: for each record the line "numero coo tipo
// ddmmyyyy hhmmss tamanho" with CR LF, then `tamanho` bytes of text.  Nothing
// when the page is malformed.
std::optional<std::vector<RegistroDaFita>> interpretaPaginaDaFita(const QByteArray& pagina);

// The line over a record on screen, `colunas` wide: "COO 000123 CUPOM" at the
// left and the date and time at the right ("COMANDO" in place of the COO of
// a trace).
QString cabecalhoDoRegistro(const RegistroDaFita& registro, int colunas);

// The library's tape functions.  Each call answers as the library does: 1
// done, 0 the printer does not answer (switched off), negative a failure.
class Fita {
public:
    // The functions of the library file `arquivo`; empty for the library
    // that answers the printer functions.  Nothing when it lacks any of them.
    static std::optional<Fita> daBiblioteca(const QString& arquivo = {});

    // Numbers of the first and of the last record (0 and 0: an empty tape).
    int limites(qint64& primeiro, qint64& ultimo) const;
    // Up to `quantidade` records from `numero` on (`sentido` 1) or up to it
    // (-1), oldest first.  -3 also for a page that cannot be read.
    int le(qint64 numero, int sentido, int quantidade, std::vector<RegistroDaFita>& registros) const;
    // Number of the first record of a COO, or of a day; 0 when there is none.
    int procuraCoo(qint64 coo, qint64& numero) const;
    int procuraDia(const QDate& dia, qint64& numero) const;

private:
    using Limites = int (*)(long long*, long long*);
    using Le = int (*)(long long, int, int, char*, int, int*);
    using Procura = int (*)(int, long long, long long, long long*);
    Fita(Limites limites, Le le, Procura procura) : limites_(limites), le_(le), procura_(procura) {}

    Limites limites_;
    Le le_;
    Procura procura_;
};

}  // namespace printer
