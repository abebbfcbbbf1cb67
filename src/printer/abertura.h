// What the program says when the desktop could not open a file, a folder
// or the help.
#pragma once

#include <QString>

namespace printer {

// After the shell was asked to open something: when nothing could open it,
// an error box names what (`oQue`, "o Arquivo", "a Ajuda") and its path.
void avisaSeNaoAbriu(bool aberto, const QString& titulo, const QString& oQue, const QString& caminho);

}  // namespace printer
