#include "pacote.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>

namespace pacote {

Execucao executa(const QString& programa, const QStringList& argumentos, const QProcessEnvironment& ambiente,
                 const QString& pasta) {
    QProcess processo;
    processo.setProcessEnvironment(ambiente);
    if (!pasta.isEmpty()) processo.setWorkingDirectory(pasta);
    processo.start(programa, argumentos);
    Execucao e;
    if (!processo.waitForFinished(60000)) {
        processo.kill();
        processo.waitForFinished();
        e.erros = QStringLiteral("%1 did not finish: %2").arg(programa, processo.errorString());
        return e;
    }
    e.saida = QString::fromLocal8Bit(processo.readAllStandardOutput());
    e.erros = QString::fromLocal8Bit(processo.readAllStandardError());
    if (processo.exitStatus() == QProcess::NormalExit) e.codigo = processo.exitCode();
    return e;
}

QString arquivoDeb() {
    const QDir pasta(QStringLiteral(PACOTE_PASTA));
    const QStringList debs = pasta.entryList({QStringLiteral("*.deb")}, QDir::Files);
    return debs.size() == 1 ? pasta.filePath(debs.front()) : QString();
}

QStringList arvore(const QString& raiz) {
    QStringList entradas;
    QDirIterator it(raiz, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    const QDir base(raiz);
    while (it.hasNext()) entradas << base.relativeFilePath(it.next());
    entradas.sort();
    return entradas;
}

}  // namespace pacote

void PacoteExtraido::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    deb = pacote::arquivoDeb();
    ASSERT_FALSE(deb.isEmpty()) << "no single package in " PACOTE_PASTA " (run the test pacote.gera first)";
    const auto x = pacote::executa(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb, raiz()});
    ASSERT_EQ(x.codigo, 0) << x.erros.toStdString();
}
