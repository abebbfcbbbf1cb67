#include "profile.h"

#include "cp1252.h"
#include "dialogs.h"
#include "ini_core.h"

#include <QFile>

namespace platform {
namespace {

std::string bytes(const QString& text) { return toCp1252(text).toStdString(); }

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

QString unableToWrite(const QString& path) { return QStringLiteral("Unable to write to %1").arg(path); }

Profile::Profile(QString path) : path_(std::move(path)) {}

QString Profile::readString(const QString& section, const QString& key) const {
    const std::string value = ini::readString(localPath(path_), bytes(section), bytes(key));
    return fromCp1252(value.data(), qsizetype(value.size()));
}

bool Profile::hasKey(const QString& section, const QString& key) const {
    return ini::hasKey(ini::readFile(localPath(path_)), bytes(section), bytes(key));
}

bool Profile::writeString(const QString& section, const QString& key, const QString& value, OnFailure onFailure) {
    return replace(ini::withValue(ini::readFile(localPath(path_)), bytes(section), bytes(key), bytes(value)),
                   onFailure);
}

bool Profile::writeStrings(const std::vector<Entry>& entries, OnFailure onFailure) {
    std::string content = ini::readFile(localPath(path_));
    for (const Entry& e : entries) content = ini::withValue(content, bytes(e.section), bytes(e.key), bytes(e.value));
    return replace(content, onFailure);
}

bool Profile::deleteKey(const QString& section, const QString& key, OnFailure onFailure) {
    const std::string content = ini::readFile(localPath(path_));
    if (!ini::hasKey(content, bytes(section), bytes(key))) return true;
    return replace(ini::withoutKey(content, bytes(section), bytes(key)), onFailure);
}

bool Profile::replace(const std::string& content, OnFailure onFailure) {
    if (ini::replaceFile(localPath(path_), content)) return true;
    if (onFailure == OnFailure::Report) dialogs::error(QStringLiteral("Erro"), unableToWrite(path_));
    return false;
}

}  // namespace platform
