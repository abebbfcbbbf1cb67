// The stretch of the tape detail memory a download, a mirror or a
// conversion covers, as the window's range controls give it, and the check
// every one of them runs before anything reaches the library.
#pragma once

#include <QString>
#include <variant>

namespace uDadosMFeMFD {

// Which range radio is checked.
enum class Faixa { Nenhuma, Data, Coo, Total };

// What the range controls hold when a button is clicked.
struct Escolha {
    Faixa faixa = Faixa::Nenhuma;
    // The download needs one of the five type radios; the others do not.
    bool exigeTipo = false;
    bool temTipo = false;
    // The edits' texts with the mask's literals and blanks: "dd/mm/yy", six
    // characters for a COO.
    QString dataInicial;
    QString dataFinal;
    QString cooInicial;
    QString cooFinal;
};

// The range as the library receives it.  A Total range is a date range.
struct Intervalo {
    bool porCoo = false;
    QString inicial;  // "dd/mm/yy" or six digits
    QString final;
};

// Where the focus goes when a range is refused.
enum class Foco { Fica, DataInicial, CooInicial };

struct Recusa {
    QString titulo;
    QString texto;
    Foco foco = Foco::Fica;
};

// The two texts the check opens with when no range radio is checked.
QString semFaixaDownload();
QString semFaixaRelatorio();

// The range check: no range chosen (message `semFaixa`), no type for a
// download, dates that are no dates (URelFiscais::DataValida), years outside
// 00 to 60, COOs of fewer than six digits, a first value after the last.
// Equal bounds pass.
std::variant<Intervalo, Recusa> ConfereIntervalo(const Escolha& escolha, const QString& semFaixa);

// "C" or "D" for the download and the mirror.
QString seletorMFD(const Intervalo& intervalo);
// "2" for a COO range, "1" for dates, for the conversion of a stored file.
QString seletorArquivo(const Intervalo& intervalo);

}  // namespace uDadosMFeMFD
