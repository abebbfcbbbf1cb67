#include "datahora.h"

#include <QTimeZone>
#include <array>

#include "printer/buffer.h"

namespace uComandosAdicionais {

namespace {

QString doisDigitos(int valor) { return QStringLiteral("%1").arg(valor, 2, 10, QLatin1Char('0')); }

// Three two-digit numbers separated by `separador` at positions 3 and 6.
std::optional<std::array<int, 3>> tresPares(const QString& texto, QChar separador) {
    if (texto.size() != 8 || texto[2] != separador || texto[5] != separador) return std::nullopt;
    std::array<int, 3> pares{};
    for (int i = 0; i < 3; ++i) {
        const QChar a = texto[i * 3];
        const QChar b = texto[i * 3 + 1];
        if (a < QLatin1Char('0') || a > QLatin1Char('9') || b < QLatin1Char('0') || b > QLatin1Char('9'))
            return std::nullopt;
        pares[i] = (a.unicode() - '0') * 10 + (b.unicode() - '0');
    }
    return pares;
}

QString pares(const QByteArray& buffer, int inicio, QChar separador) {
    using printer::campo;
    return campo(buffer, inicio, 2) + separador + campo(buffer, inicio + 2, 2) + separador +
           campo(buffer, inicio + 4, 2);
}

}  // namespace

QString dataDoBuffer(const QByteArray& buffer, int inicio) { return pares(buffer, inicio, QLatin1Char('/')); }

QString horaDoBuffer(const QByteArray& buffer, int inicio) { return pares(buffer, inicio, QLatin1Char(':')); }

std::optional<QDate> dataDeTexto(const QString& texto) {
    const auto p = tresPares(texto, QLatin1Char('/'));
    if (!p) return std::nullopt;
    const QDate data(2000 + (*p)[2], (*p)[1], (*p)[0]);
    if (!data.isValid()) return std::nullopt;
    return data;
}

std::optional<QTime> horaDeTexto(const QString& texto) {
    const auto p = tresPares(texto, QLatin1Char(':'));
    if (!p) return std::nullopt;
    const QTime hora((*p)[0], (*p)[1], (*p)[2]);
    if (!hora.isValid()) return std::nullopt;
    return hora;
}

QString textoData(const QDate& data) {
    return doisDigitos(data.day()) + QLatin1Char('/') + doisDigitos(data.month()) + QLatin1Char('/') +
           doisDigitos(data.year() % 100);
}

QString textoHora(const QTime& hora) {
    return doisDigitos(hora.hour()) + QLatin1Char(':') + doisDigitos(hora.minute()) + QLatin1Char(':') +
           doisDigitos(hora.second());
}

QDateTime momento(const QDate& data, const QTime& hora) { return QDateTime(data, hora, QTimeZone::utc()); }

QString textoDiferenca(qint64 segundos) {
    if (segundos < 0) segundos = -segundos;
    const qint64 dias = segundos / 86400;
    const int resto = int(segundos % 86400);
    return QString::number(dias).rightJustified(2, QLatin1Char('0')) + QStringLiteral(" Dias            ") +
           doisDigitos(resto / 3600) + QStringLiteral(" Horas") + QLatin1Char('\r') + doisDigitos(resto / 60 % 60) +
           QStringLiteral(" Minutos     ") + doisDigitos(resto % 60) + QStringLiteral(" Segundos");
}

}  // namespace uComandosAdicionais
