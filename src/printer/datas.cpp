#include "datas.h"

#include <QStringList>

#include "buffer.h"

namespace URelFiscais {

std::optional<QDate> converteData(const QString& texto) {
    const QStringList partes = texto.split(QLatin1Char('/'));
    if (partes.size() != 3) return std::nullopt;
    int numeros[3];
    for (int i = 0; i < 3; ++i) {
        const QString parte = partes[i].trimmed();
        const qsizetype maximo = i < 2 ? 2 : 4;
        if (!printer::soDigitos(parte) || parte.size() > maximo || parte.size() == 3) return std::nullopt;
        numeros[i] = parte.toInt();
        if (i == 2 && parte.size() <= 2) numeros[i] += 2000;
    }
    const QDate dia(numeros[2], numeros[1], numeros[0]);
    if (!dia.isValid()) return std::nullopt;
    return dia;
}

bool DataValida(const QString& texto) { return converteData(texto).has_value(); }

}  // namespace URelFiscais
