#include "language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace platform::language {

bool install() {
    const QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
    QLocale::setDefault(brasil);
    // Owned by the application, which removes it when it ends.
    auto* traducao = new QTranslator(QCoreApplication::instance());
    const QString pasta = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!traducao->load(brasil, QStringLiteral("qtbase"), QStringLiteral("_"), pasta)) {
        qWarning("Qt's Brazilian Portuguese translations (qtbase_pt_BR.qm) are missing from %s", qPrintable(pasta));
        delete traducao;
        return false;
    }
    return QCoreApplication::installTranslator(traducao);
}

}  // namespace platform::language
