// The report box shows a reading as the printer prints it: 48 columns, one
// screen line per printed line, whatever the skin's borders and scroll bar.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFontInfo>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include "impressao.h"
#include "relfiscais.h"
#include "settings/tfconfiggeral.h"

namespace {

// The printed lines that do not show whole on one screen line.
QStringList linhasQuebradas(QPlainTextEdit* memo) {
    QStringList quebradas;
    QAbstractTextDocumentLayout* leiaute = memo->document()->documentLayout();
    for (QTextBlock b = memo->document()->begin(); b.isValid(); b = b.next()) {
        leiaute->blockBoundingRect(b);  // lays out a block not yet scrolled into view
        if (b.layout()->lineCount() != 1) quebradas << b.text();
    }
    return quebradas;
}

int maiorLinha(QPlainTextEdit* memo) {
    int maior = 0;
    for (QTextBlock b = memo->document()->begin(); b.isValid(); b = b.next())
        maior = std::max(maior, int(b.length() - 1));
    return maior;
}

class MemoColunas : public RelFiscais {
protected:
    void leituraVisualizada() {
        leituraX("RbVisualizarX");
        caixas();
        QApplication::processEvents();
    }
    void confere(const char* onde) {
        QPlainTextEdit* m = memo();
        EXPECT_EQ(maiorLinha(m), 48) << onde;
        EXPECT_EQ(linhasQuebradas(m), QStringList()) << onde;
        // The widest line fits: nothing to scroll sideways.
        EXPECT_EQ(m->horizontalScrollBar()->maximum(), 0) << onde;
        EXPECT_TRUE(QFontInfo(m->font()).fixedPitch()) << onde;
        // Shrunk no more than needed: a larger size no longer fits.
        QFont maior = m->font();
        maior.setPointSizeF(maior.pointSizeF() + 0.5);
        const qreal largura = m->viewport()->width() - 2 * m->document()->documentMargin();
        EXPECT_GT(QFontMetricsF(maior, m).horizontalAdvance(QString(48, QLatin1Char('W'))), largura) << onde;
        EXPECT_GE(m->font().pointSizeF(), 7.0) << onde;
    }
};

TEST_F(MemoColunas, LeituraXVisualizadaMostraCadaLinhaImpressaInteira) {
    leituraVisualizada();
    ASSERT_GT(memo()->blockCount(), 20);
    confere("default look");
    EXPECT_EQ(memo()->geometry(), QRect(8, 8, 370, 384));  // the window's look unchanged

    // Every skin draws its own borders and scroll bar around the text.
    for (const QString& skin : UConfig::Interfaces()) {
        UConfig::FConfigGeral.get()->ImgInterfaceClick(skin);
        QApplication::processEvents();
        leituraVisualizada();
        confere(skin.toLatin1().constData());
    }
}

}  // namespace
