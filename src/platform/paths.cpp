#include "paths.h"

#include <QCoreApplication>
#include <QDir>

namespace platform::paths {
namespace {
QString gExecutableFolder;
}

QChar separator() { return QDir::separator(); }

QString withSeparator(const QString& folder) {
    QString f = QDir::toNativeSeparators(folder);
    while (f.size() > 1 && f.endsWith(separator())) f.chop(1);
    return f.endsWith(separator()) ? f : f + separator();
}

QString withoutSeparator(const QString& folder) {
    QString f = QDir::toNativeSeparators(folder);
    const auto raiz = [&f] { return f.size() == 1 || (f.size() == 3 && f[1] == QLatin1Char(':')); };
    while (f.endsWith(separator()) && !raiz()) f.chop(1);
    return f;
}

QString executableFolder() {
    if (!gExecutableFolder.isEmpty()) return gExecutableFolder;
    const QString dados = qEnvironmentVariable("ZENTORA_PASTA_BASE");
    if (!dados.isEmpty()) return withSeparator(QDir(dados).absolutePath());
    return withSeparator(QCoreApplication::applicationDirPath());
}

QString installationFolder() {
    if (!gExecutableFolder.isEmpty()) return gExecutableFolder;
    return withSeparator(QCoreApplication::applicationDirPath());
}

void setExecutableFolder(const QString& folder) {
    gExecutableFolder = folder.isEmpty() ? QString() : withSeparator(folder);
}

QString join(const QString& a, const QString& b) {
    if (a.isEmpty()) return b;
    return a.endsWith(separator()) ? a + b : a + separator() + b;
}

}  // namespace platform::paths

namespace platform::paths {

QString programFile(const QString& stem) {
#if defined(Q_OS_WIN)
    return stem + QStringLiteral(".exe");
#else
    return stem;
#endif
}

QString scriptFile(const QString& stem) {
#if defined(Q_OS_WIN)
    return stem + QStringLiteral(".bat");
#else
    return stem;
#endif
}

}  // namespace platform::paths
