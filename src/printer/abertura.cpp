#include "abertura.h"

#include "platform/dialogs.h"

namespace printer {

void avisaSeNaoAbriu(bool aberto, const QString& titulo, const QString& oQue, const QString& caminho) {
    if (aberto) return;
    platform::dialogs::error(titulo, QStringLiteral("Não Foi Possível Abrir ") + oQue + QStringLiteral(":\r") +
                                         caminho +
                                         QStringLiteral("\rNenhum Programa Deste Computador Conseguiu Abri-lo."));
}

}  // namespace printer
