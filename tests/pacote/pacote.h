// The package that `pacote.gera` made, extracted into a temporary folder per
// test, and small helpers to run programs and look at file trees.
#pragma once

#include <gtest/gtest.h>

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <ostream>

// Readable failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray& b, std::ostream* os) { *os << '"' << b.toStdString() << '"'; }

namespace pacote {

struct Execucao {
    int codigo = -1;  // exit code; -1 when the program did not run to its end
    QString saida;
    QString erros;
};

// Runs a program to its end (in `pasta` when given).
Execucao executa(const QString& programa, const QStringList& argumentos,
                 const QProcessEnvironment& ambiente = QProcessEnvironment::systemEnvironment(),
                 const QString& pasta = QString());

// The one .deb in the package folder; empty when there is none or several.
QString arquivoDeb();

// Every entry below `raiz` (files, folders, links not followed), relative
// with '/' separators, sorted.
QStringList arvore(const QString& raiz);

}  // namespace pacote

class PacoteExtraido : public ::testing::Test {
protected:
    void SetUp() override;

    // Root of the extracted tree (no trailing separator), the installation
    // folder of the programs inside it and that of the read-only files.
    QString raiz() const { return dir_.path(); }
    QString instalacao() const { return raiz() + QStringLiteral("/usr/lib/zentora"); }
    QString fixos() const { return raiz() + QStringLiteral("/usr/share/zentora"); }
    QString deb;

private:
    QTemporaryDir dir_;
};
