#include "buffer.h"

#include "platform/cp1252.h"

namespace printer {

QByteArray bufferEmBranco(int width) { return QByteArray(qMax(0, width), ' '); }

QString campo(const QByteArray& buffer, int first, int length) {
    if (first < 1 || length <= 0 || first > buffer.size()) return {};
    QByteArray piece = buffer.mid(first - 1, length);
    piece.replace('\0', ' ');
    return platform::fromCp1252(piece);
}

QString texto(const QByteArray& buffer) { return campo(buffer, 1, int(buffer.size())); }

QByteArray argumento(const QString& text) { return platform::toCp1252(text); }

bool soDigitos(const QString& texto) {
    if (texto.isEmpty()) return false;
    for (const QChar c : texto)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

}  // namespace printer
