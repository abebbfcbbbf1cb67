#include "masks.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>

namespace platform::masks {
namespace {

// Mask characters that stand for a position to type in (the others, but the
// case switches, are shown as they are).
bool position(QChar c) { return QStringLiteral("AaNnXx90DdHhBb#").contains(c); }

class CursorNoInicio : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick) return false;
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (!edit || !edit->isEnabled() || edit->isReadOnly() || !empty(*edit)) return false;
        // The application has already given the edit its focus.
        edit->setFocus(Qt::MouseFocusReason);
        edit->setCursorPosition(0);
        return true;
    }
};

}  // namespace

int literals(const QString& inputMask) {
    const qsizetype fim = inputMask.indexOf(QLatin1Char(';'));
    const QString mascara = fim < 0 ? inputMask : inputMask.left(fim);
    int n = 0;
    for (qsizetype i = 0; i < mascara.size(); ++i) {
        const QChar c = mascara.at(i);
        if (c == QLatin1Char('\\')) {
            if (i + 1 < mascara.size()) ++n, ++i;
        } else if (c != QLatin1Char('<') && c != QLatin1Char('>') && c != QLatin1Char('!') && !position(c)) {
            ++n;
        }
    }
    return n;
}

bool empty(const QLineEdit& edit) {
    // text() holds the literals and what was typed; a position left blank
    // is not part of it.
    return !edit.inputMask().isEmpty() && edit.text().size() <= literals(edit.inputMask());
}

void install() {
    static bool instalado = false;
    if (instalado) return;
    instalado = true;
    qApp->installEventFilter(new CursorNoInicio(qApp));
}

}  // namespace platform::masks
