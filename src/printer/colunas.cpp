#include "colunas.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPlainTextEdit>

namespace printer {
namespace {

constexpr qreal kMenorTamanho = 6.0;

// Refits the font whenever the visible width changes (a skin's padding,
// border or scroll bar, a new size of the box) and whenever something else
// sets the font: a skin's style sheet puts back the one it found.
class AjusteDeColunas : public QObject {
public:
    AjusteDeColunas(QPlainTextEdit* caixa, int colunas)
        : QObject(caixa),
          caixa_(caixa),
          vista_(caixa->viewport()),
          colunas_(colunas),
          maior_(caixa->font().pointSizeF()) {
        caixa->installEventFilter(this);
        vista_->installEventFilter(this);
    }

    bool eventFilter(QObject* objeto, QEvent* evento) override {
        const QEvent::Type tipo = evento->type();
        // Compares pointers only: the box may be on its way out.
        if ((objeto == vista_ && tipo == QEvent::Resize) || (objeto == caixa_ && tipo == QEvent::FontChange)) ajusta();
        return false;
    }

private:
    void ajusta() {
        if (ajustando_) return;  // the font set below
        ajustando_ = true;
        // The text starts and ends a document margin inside the visible
        // area, and the cursor may stand after the last column.
        const qreal largura = vista_->width() - 2 * caixa_->document()->documentMargin() - caixa_->cursorWidth();
        const QString linha(colunas_, QLatin1Char('M'));
        QFont fonte = caixa_->font();
        for (qreal tamanho = maior_; tamanho >= kMenorTamanho; tamanho -= 0.5) {
            fonte.setPointSizeF(tamanho);
            if (QFontMetricsF(fonte, caixa_).horizontalAdvance(linha) <= largura) break;
        }
        if (fonte != caixa_->font()) caixa_->setFont(fonte);
        ajustando_ = false;
    }

    QPlainTextEdit* caixa_;
    QWidget* vista_;  // where the text shows, inside the box's frame and scroll bars
    int colunas_;
    qreal maior_;
    bool ajustando_ = false;
};

}  // namespace

void mostraEmColunas(QPlainTextEdit* caixa, int colunas) {
    QFont fonte = caixa->font();
    fonte.setStyleHint(QFont::TypeWriter);  // where its family is missing, another fixed-pitch one
    fonte.setFixedPitch(true);
    caixa->setFont(fonte);
    caixa->setLineWrapMode(QPlainTextEdit::NoWrap);
    caixa->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    new AjusteDeColunas(caixa, colunas);
}

}  // namespace printer
