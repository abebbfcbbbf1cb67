#include "files.h"

#include <QFile>

#include "profile/ini.h"

namespace platform::files {

bool replace(const QString& path, const QByteArray& bytes) {
    return profile::replaceFile(QFile::encodeName(path).toStdString(),
                                std::string_view(bytes.constData(), size_t(bytes.size())));
}

}  // namespace platform::files
