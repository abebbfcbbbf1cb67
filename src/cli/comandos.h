// zentora-cli: the program's service tasks from a terminal or a scheduler,
// over the same core as the windows (the same settings, location, file
// names and keys), so that the two never disagree.
#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace cli {

// What a run ends with.
enum Saida : int {
    Sucesso = 0,
    Recusado = 1,       // the printer refused: the answer decoded on standard error
    UsoInvalido = 2,    // bad usage or bad input, or a function the manager withholds: nothing sent
    SemImpressora = 3,  // no printer answered on USB nor on the serial default
    EmUso = 4,          // another program holds the printer (the window is open)
};

struct Resultado {
    int codigo = Sucesso;
    // Human-readable lines for standard output, and the JSON object.
    QStringList linhas;
    QJsonObject json;
    // What goes to standard error (a refusal decoded, a usage error).
    QStringList erros;
    // Files written, named on standard output.
    QStringList arquivos;
};

// Runs the command line `argumentos` (without the program's name).
Resultado executa(const QStringList& argumentos);

// The text of `ajuda`.
QString textoDeAjuda();

// Writes `resultado` as the terminal shows it: the lines (or one JSON object
// with --json) on standard output, the errors on standard error.
void imprime(const Resultado& resultado, bool json);

}  // namespace cli
