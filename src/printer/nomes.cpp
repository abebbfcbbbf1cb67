#include "nomes.h"

#include "platform/clock.h"

namespace printer {

QString nomeDeArquivo(const QString& numeroSerie) {
    QString nome = numeroSerie;
    for (QChar& c : nome) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0) || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    // "." and ".." name the folder itself or its parent.
    if (nome == QLatin1String(".") || nome == QLatin1String("..")) nome.fill(QLatin1Char('_'));
    return nome;
}

QString nomeDoRelatorio(const QString& numeroSerie) {
    return nomeDeArquivo(numeroSerie) + QLatin1Char('_') +
           platform::clock::now().toString(QStringLiteral("ddMMyyyy_HHmmss"));
}

}  // namespace printer
