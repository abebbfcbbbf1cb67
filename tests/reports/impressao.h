// Readable QString values in test failures.
#pragma once

#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& texto, std::ostream* os) { *os << '"' << texto.toStdString() << '"'; }
inline void PrintTo(const QStringList& lista, std::ostream* os) {
    *os << '{';
    for (const QString& t : lista) *os << " \"" << t.toStdString() << '"';
    *os << " }";
}
