// A profile (INI) file opened by its full path, as the program and its
// registration files use it, in the system's code page (profile/ini.h has
// the rules).  Reads never fail; a refused write (an existing file that
// cannot be read included) is reported to the operator as "Unable to write
// to <path>" and returns false, so that the action that asked for it can
// stop there.
#pragma once

#include <QString>
#include <vector>

#include "profile/ini.h"

namespace platform {

class Profile {
public:
    enum class OnFailure { Report, Silent };

    explicit Profile(QString path);

    const QString& path() const { return path_; }
    QString readString(const QString& section, const QString& key) const;
    bool hasKey(const QString& section, const QString& key) const;
    bool writeString(const QString& section, const QString& key, const QString& value,
                     OnFailure onFailure = OnFailure::Report);
    bool deleteKey(const QString& section, const QString& key, OnFailure onFailure = OnFailure::Report);

    // Several keys written as one replacement of the file: every key or, when
    // the write is refused, none.
    struct Entry {
        QString section;
        QString key;
        QString value;
    };
    bool writeStrings(const std::vector<Entry>& entries, OnFailure onFailure = OnFailure::Report);

private:
    bool reported(bool written, OnFailure onFailure) const;

    QString path_;
};

// A profile file read and parsed once, for reading many of its keys.
class ProfileSnapshot {
public:
    enum class State { Read, Missing, Unreadable };

    explicit ProfileSnapshot(const QString& path);

    State state() const { return state_; }
    // Empty when the key is missing (and for a missing or unreadable file).
    QString readString(const QString& section, const QString& key) const;
    bool hasSection(const QString& section) const;

private:
    State state_ = State::Missing;
    profile::Document document_;
};

// The operator's message for a refused write.
QString unableToWrite(const QString& path);

}  // namespace platform
