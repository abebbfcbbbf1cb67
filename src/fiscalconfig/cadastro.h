// The registration file: the plan of one printer's payment methods, tax
// rates, non-fiscal receipt names and managerial report names, kept as a
// profile file of four sections whose values have fixed widths (counted in
// characters), and the grid rows the window shows it in.
#pragma once

#include <QList>
#include <QString>
#include <array>

#include "platform/profile.h"

namespace configfiscal {

// One grid row: column 1 and column 2 (unused by receipts and reports).
struct Linha {
    QString c1;
    QString c2;
    bool operator==(const Linha&) const = default;
};

// The rows of one table; element 0 is grid row 1.
using Grade = QList<Linha>;

enum class Tabela { FormaPagamento, Aliquota, CNF, RelGerencial };
// The four tables in the order they are loaded and saved.
inline constexpr std::array<Tabela, 4> kTabelas{Tabela::FormaPagamento, Tabela::Aliquota, Tabela::CNF,
                                                Tabela::RelGerencial};
inline constexpr int indice(Tabela t) { return static_cast<int>(t); }

struct Formato {
    const char* secao;
    int linhas;           // grid rows, keys read 1 to linhas
    int primeiraGravada;  // keys written on every save
    int ultimaGravada;
    int largura;  // width of the name (or of the rate text) in characters
};
const Formato& formato(Tabela tabela);

// The four tables as one plan.
using Cadastro = std::array<Grade, 4>;
// A table of `tabela`'s row count, every row empty.
Grade gradeVazia(Tabela tabela);

// The cells of a row from the value the profile reader returns for its key
// (a value wrapped in quotes comes without them; the payment-method and rate
// values keep theirs, since they end in a letter).  Fields are cut by
// position; positions past the end give shorter or empty cells.
Linha linhaDoValor(Tabela tabela, const QString& valor);
// The value written for a row: the name at its full width between quotes,
// then, for payment methods and rates, a comma and column 2.
QString valorDaLinha(Tabela tabela, const Linha& linha);

// The registration file of the printer `numeroSerie` in `pasta`: its serial
// number made safe for a file name (blanks kept) and ".ntf".
QString arquivoCadastro(const QString& pasta, const QString& numeroSerie);
// What one read of the file gave: a missing file or key reads as empty
// rows; a file that exists but cannot be read (then neither replaced by the
// template nor rewritten) too.
struct Leitura {
    platform::ProfileSnapshot::State estado;
    Cadastro cadastro;
};
// Every table of the file, from one read of it.
Leitura leCadastro(const QString& arquivo);
// Writes every key of the ranges each table writes, in table and row order,
// as one replacement of the file (one read and one write of it).  Keys
// outside those ranges are left as they stand.  A refused write is reported
// ("Unable to write to ...") and leaves the file as it was: false.
bool gravaCadastro(const QString& arquivo, const Cadastro& cadastro);

// A configuration model is imported only when it reads as a registration
// file: a text file of at most this size holding at least one of the four
// sections.
inline constexpr qint64 kTamanhoMaximoModelo = 256 * 1024;
// Why `arquivo` is no configuration model, for the operator; empty when it is one.
QString problemaDoModelo(const QString& arquivo);
// Where an import keeps the registration file it replaces: "<serial>.ntf.bak".
QString copiaDeSeguranca(const QString& arquivo);

// Removes row `linha` (from 1) and closes the gap: every later row moves up
// one and the last row becomes empty.
void apagaLinha(Grade& grade, int linha);
// First row from `de` to `ate` whose column 1 is empty; 0 when none.
int primeiraLivre(const Grade& grade, int de, int ate);

}  // namespace configfiscal
