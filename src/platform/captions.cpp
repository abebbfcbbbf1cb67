#include "captions.h"

#include <QApplication>
#include <QProxyStyle>

namespace platform::captions {
namespace {

// Draws and measures item texts (the captions of labels, buttons, check
// boxes and radios) with their carriage returns as line breaks.
class EstiloLegendas : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& pal, bool enabled,
                      const QString& text, QPalette::ColorRole textRole) const override {
        QProxyStyle::drawItemText(painter, rect, flags, pal, enabled, shown(text), textRole);
    }
    QRect itemTextRect(const QFontMetrics& fm, const QRect& r, int flags, bool enabled,
                       const QString& text) const override {
        return QProxyStyle::itemTextRect(fm, r, flags, enabled, shown(text));
    }
};

}  // namespace

QString shown(const QString& text) {
    if (!text.contains(QLatin1Char('\r'))) return text;
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

void install() {
    static bool instalado = false;
    if (instalado) return;
    instalado = true;
    QApplication::setStyle(new EstiloLegendas(QApplication::style()->name()));
}

}  // namespace platform::captions
