#include "profile.h"

#include "codepage.h"
#include "dialogs.h"
#include "profile/ini.h"

#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace platform {
namespace {

std::string bytes(const QString& text) { return toSystemCodePage(text).toStdString(); }

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// Whether the system would let the file be written (as the write itself
// checks it).
bool writable(const std::string& path) {
#if defined(Q_OS_UNIX)
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
#else
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).isWritable();
#endif
}

}  // namespace

QString unableToWrite(const QString& path) { return QStringLiteral("Unable to write to %1").arg(path); }

Profile::Profile(QString path) : path_(std::move(path)) {}

QString Profile::readString(const QString& section, const QString& key) const {
    return fromSystemCodePage(profile::readString(localPath(path_), bytes(section), bytes(key)));
}

bool Profile::hasKey(const QString& section, const QString& key) const {
    return profile::hasKey(profile::load(localPath(path_)).text, bytes(section), bytes(key));
}

bool Profile::writeString(const QString& section, const QString& key, const QString& value, OnFailure onFailure) {
    return writeStrings({{section, key, value}}, onFailure);
}

bool Profile::writeStrings(const std::vector<Entry>& entries, OnFailure onFailure) {
    const profile::FileText file = profile::load(localPath(path_));
    if (file.state == profile::FileText::State::Unreadable) return reported(false, onFailure);
    // Parsed once and written once, however many keys change.
    profile::Document document(file.text);
    for (const Entry& e : entries) document.set(bytes(e.section), bytes(e.key), bytes(e.value));
    const std::string content = document.text();
    // A write that changes nothing leaves the file alone (every write is
    // flushed to the disk, which costs milliseconds), unless the system would
    // refuse it: that is still reported.
    const std::string path = localPath(path_);
    if (file.state == profile::FileText::State::Read && content == file.text && writable(path)) return true;
    return reported(profile::replaceFile(path, content), onFailure);
}

bool Profile::deleteKey(const QString& section, const QString& key, OnFailure onFailure) {
    return reported(profile::deleteKey(localPath(path_), bytes(section), bytes(key)), onFailure);
}

ProfileSnapshot::ProfileSnapshot(const QString& path) {
    profile::FileText file = profile::load(localPath(path));
    switch (file.state) {
        case profile::FileText::State::Read:
            state_ = State::Read;
            break;
        case profile::FileText::State::Missing:
            state_ = State::Missing;
            break;
        case profile::FileText::State::Unreadable:
            state_ = State::Unreadable;
            break;
    }
    document_ = profile::Document(file.text);
}

QString ProfileSnapshot::readString(const QString& section, const QString& key) const {
    return fromSystemCodePage(document_.value(bytes(section), bytes(key)));
}

bool ProfileSnapshot::hasSection(const QString& section) const { return document_.hasSection(bytes(section)); }

bool Profile::reported(bool written, OnFailure onFailure) const {
    if (!written && onFailure == OnFailure::Report) dialogs::error(QStringLiteral("Erro"), unableToWrite(path_));
    return written;
}

}  // namespace platform
