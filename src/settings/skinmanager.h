// The skin engine: a skin is the Qt style sheet "<folder>/<name>.qss"
// applied to the whole application.  A missing, unreadable or empty skin
// file leaves the plain style, without an error.
#pragma once

#include <QString>

class SkinManager {
public:
    void setSkinName(const QString& name);
    void setSkinsDirectory(const QString& folder);
    // Applies the named skin to every window (or the plain style).
    void setActive(bool active);

    const QString& skinName() const { return skinName_; }
    bool active() const { return active_; }
    // The style sheet in force; empty for the plain style.
    const QString& styleSheet() const { return styleSheet_; }

private:
    void apply();

    QString skinName_ = QStringLiteral("Aluminium");
    QString folder_;
    bool active_ = false;
    QString styleSheet_;
};
