#include "entradas.h"

namespace configfiscal {

QString completa(const QString& texto, int largura) {
    return texto.size() >= largura ? texto : texto + QString(largura - texto.size(), QLatin1Char(' '));
}

bool brancos(const QString& texto, int largura) { return texto == QString(largura, QLatin1Char(' ')); }

QString textoDaMascara(const QString& mostrado, QChar vazio) {
    QString texto = mostrado;
    texto.replace(vazio, QLatin1Char(' '));
    return texto;
}

std::optional<QString> aliquotaParaEnvio(const QString& texto) {
    if (texto == QLatin1String("00,00%") || texto.size() < 5) return std::nullopt;
    QString digitos;
    for (int posicao : {0, 1, 3, 4}) {
        const QChar c = texto.at(posicao);
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
        digitos += c;
    }
    return digitos;
}

QString textoContador(const QString& texto) {
    return QStringLiteral("Caracteres Utilizados : ") + QString::number(texto.size());
}

QString relatorioDeEnvio(int primeira, const QStringList& linhas) {
    QString relatorio;
    for (int i = 0; i < linhas.size(); ++i)
        relatorio += QLatin1Char('\r') + QString::number(primeira + i) + QStringLiteral(" : ") + linhas[i];
    return relatorio;
}

}  // namespace configfiscal
