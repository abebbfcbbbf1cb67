#include "skinmanager.h"

#include <QApplication>
#include <QFile>

#include "platform/paths.h"

void SkinManager::setSkinName(const QString& name) {
    skinName_ = name;
    if (active_) apply();
}

void SkinManager::setSkinsDirectory(const QString& folder) {
    folder_ = folder;
    if (active_) apply();
}

void SkinManager::setActive(bool active) {
    active_ = active;
    apply();
}

void SkinManager::apply() {
    styleSheet_.clear();
    if (active_) {
        QFile file(platform::paths::join(folder_, skinName_ + QStringLiteral(".qss")));
        if (file.open(QIODevice::ReadOnly)) styleSheet_ = QString::fromUtf8(file.readAll());
    }
    // A style sheet Qt cannot parse is ignored by Qt itself: the plain style
    // stays.  The skin in force is not set again: that would restyle every
    // window for nothing.
    if (qApp->styleSheet() != styleSheet_) qApp->setStyleSheet(styleSheet_);
}
