// The tape view driven through its controls against the virtual printer,
// and the printer's clock and fiscal day in the main window's panel.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>

#include "app/relogio_ecf.h"
#include "auxiliares.h"
#include "bobina/tfbobina.h"
#include "kesafi_virtual.h"
#include "platform/clock.h"
#include "platform/cp1252.h"
#include "printer/avisos.h"
#include "printer/colunas.h"
#include "printer/tfstatus.h"
#include "reports/tfrelfiscais.h"

using platform::dialogs::Kind;

namespace {

class TFBobinaTest : public Instalacao {
protected:
    void SetUp() override {
        Instalacao::SetUp();
        if (HasFatalFailure()) return;
        criaImpressora();
        if (HasFatalFailure()) return;
        criaJanelas();
    }
    TFprincipal* principal() const { return uZentora3::Fprincipal; }
    void localiza() {
        principal()->BtLocalizarImpressoraClick();
        caixas();
    }
    // F2 on the main window.
    TFBobina* abre() {
        QApplication::setActiveWindow(principal());
        QTest::keyClick(principal(), Qt::Key_F2);
        return principal()->bobina();
    }
    static QPlainTextEdit* memoBobina(TFBobina* b) { return controle<QPlainTextEdit>(b, "MemoBobina"); }
    static QString memo(TFBobina* b) { return memoBobina(b)->toPlainText(); }
    // The last `n` documents of the tape as printed, one screen line each.
    static QStringList impresso(int documentos) {
        QByteArray fita(1 << 20, '\0');
        const int n = KesafiVirtual_LeFita(documentos, fita.data(), static_cast<int>(fita.size()));
        QStringList linhas = platform::fromCp1252(fita.left(n)).split(QStringLiteral("\r\n"));
        if (!linhas.isEmpty() && linhas.back().isEmpty()) linhas.removeLast();
        linhas.removeFirst();  // LeFita's own heading
        return linhas;
    }
    // The first line the view shows.
    static QTextBlock primeiraVisivel(TFBobina* b) { return memoBobina(b)->cursorForPosition(QPoint(0, 0)).block(); }
    static qint64 ultimoDaFita() {
        long long primeiro = 0, ultimo = 0;
        EXPECT_EQ(KesafiVirtual_FitaLimites(&primeiro, &ultimo), 1);
        return ultimo;
    }
};

TEST_F(TFBobinaTest, AReadingXShowsOnTheTapeAsPrintedAndDrawsWithinTheReceiptsWidth) {
    localiza();
    TFRelFiscais* relatorios = URelFiscais::FRelFiscais.get();
    controle<QRadioButton>(relatorios, "RbImprimirX")->setChecked(true);
    relatorios->BtLeituraXClick();
    caixas();
    TFBobina* b = abre();
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(b->isVisible());

    // The reading's lines under its heading, then the cut line, at the end.
    const QStringList leitura = impresso(1);
    ASSERT_GT(leitura.size(), 10);
    const QString texto = memo(b);
    EXPECT_TRUE(texto.endsWith(leitura.join(QLatin1Char('\n')) + QLatin1Char('\n') + QStringLiteral("- ").repeated(24)))
        << texto.right(400).toStdString();
    QTextDocument* documento = memoBobina(b)->document();
    QTextBlock cabecalho = documento->findBlockByNumber(documento->blockCount() - leitura.size() - 2);
    EXPECT_TRUE(cabecalho.text().startsWith(QStringLiteral("COO "))) << cabecalho.text().toStdString();
    EXPECT_EQ(cabecalho.text().size(), printer::kColunasDaBobina);

    // On screen: the heading at the top, then every visible line of the
    // reading drawn in its own row, from the left margin, never cut.
    QPlainTextEdit* caixa = memoBobina(b);
    caixa->verticalScrollBar()->setValue(cabecalho.blockNumber());
    QApplication::processEvents();
    const QImage tela = caixa->viewport()->grab().toImage();
    const QColor papel = tela.pixelColor(tela.width() - 2, tela.height() - 2);
    const QFontMetrics medida(caixa->font());
    int linhasVistas = 0;
    EXPECT_EQ(primeiraVisivel(b).blockNumber(), cabecalho.blockNumber());
    for (QTextBlock bloco = primeiraVisivel(b); bloco.isValid(); bloco = bloco.next()) {
        const QRectF faixa = caixa->cursorRect(QTextCursor(bloco));
        if (faixa.bottom() > tela.height()) break;
        int direita = -1;
        for (int y = int(faixa.top()); y < int(faixa.bottom()); ++y)
            for (int x = 0; x < tela.width(); ++x)
                if (qAbs(tela.pixelColor(x, y).lightness() - papel.lightness()) > 60) direita = qMax(direita, x);
        const QString linha = bloco.text();
        if (linha.trimmed().isEmpty()) {
            EXPECT_EQ(direita, -1) << "blank line " << bloco.blockNumber();
        } else {
            const int largura = medida.horizontalAdvance(linha);
            EXPECT_GT(direita, 0) << linha.toStdString();
            EXPECT_LE(direita, largura + int(documento->documentMargin()) + 2) << linha.toStdString();
        }
        ++linhasVistas;
    }
    EXPECT_GT(linhasVistas, 10);
    // A whole line of the receipt fits the view.
    EXPECT_LE(medida.horizontalAdvance(QString(printer::kColunasDaBobina, QLatin1Char('M'))),
              caixa->viewport()->width());
}

TEST_F(TFBobinaTest, FollowsNewDocumentsWithoutReadingTheTapeAgain) {
    localiza();
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(60), 1);
    TFBobina* b = abre();
    ASSERT_NE(b, nullptr);
    const qint64 primeiro = b->primeiroMostrado();
    const qint64 ultimo = b->ultimoMostrado();
    EXPECT_EQ(ultimo - primeiro + 1, TFBobina::kPagina);
    const QString antes = memo(b);

    ASSERT_EQ(KesafiVirtual_AdicionaVendas(2), 1);
    // Not while a box is open.
    {
        platform::dialogs::Open caixa;
        b->Acompanha();
    }
    EXPECT_EQ(b->ultimoMostrado(), ultimo);
    b->Acompanha();
    EXPECT_EQ(b->primeiroMostrado(), primeiro);
    EXPECT_EQ(b->ultimoMostrado(), ultimoDaFita());
    EXPECT_GT(b->ultimoMostrado(), ultimo + 1);
    const QString depois = memo(b);
    EXPECT_TRUE(depois.startsWith(antes + QLatin1Char('\n')));
    EXPECT_TRUE(
        depois.endsWith(impresso(1).join(QLatin1Char('\n')) + QLatin1Char('\n') + QStringLiteral("- ").repeated(24)));
    QScrollBar* barra = memoBobina(b)->verticalScrollBar();
    EXPECT_EQ(barra->value(), barra->maximum());

    // A command of the program: the view follows once the handler is done.
    controle<QRadioButton>(URelFiscais::FRelFiscais.get(), "RbImprimirX")->setChecked(true);
    URelFiscais::FRelFiscais.get()->BtLeituraXClick();
    caixas();
    const qint64 seguido = b->ultimoMostrado();
    EXPECT_GT(ultimoDaFita(), seguido);
    QApplication::processEvents();
    EXPECT_EQ(b->ultimoMostrado(), ultimoDaFita());

    // Scrolled to the top, the page before comes in above, the view still.
    const QString topo = memoBobina(b)->document()->firstBlock().text();
    barra->setValue(0);
    EXPECT_EQ(b->primeiroMostrado(), primeiro - TFBobina::kPagina);
    EXPECT_EQ(primeiraVisivel(b).text(), topo);
    EXPECT_TRUE(caixas().empty());
}

TEST_F(TFBobinaTest, FindsADocumentByCooAndByDay) {
    localiza();
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(60), 1);
    long long coo = 0;
    ASSERT_EQ(KesafiVirtual_LeContador("COO", &coo), 1);
    TFBobina* b = abre();
    ASSERT_NE(b, nullptr);

    controle<QLineEdit>(b, "EdCoo")->setText(QString::number(coo - 55));
    QTest::mouseClick(controle<QPushButton>(b, "BtProcuraCoo"), Qt::LeftButton);
    EXPECT_TRUE(primeiraVisivel(b).text().startsWith(QStringLiteral("COO %1 ").arg(coo - 55, 6, 10, QLatin1Char('0'))));
    EXPECT_TRUE(caixas().empty());

    controle<QLineEdit>(b, "EdCoo")->setText(QString::number(coo + 1));
    QTest::mouseClick(controle<QPushButton>(b, "BtProcuraCoo"), Qt::LeftButton);
    controle<QLineEdit>(b, "EdCoo")->setText(QStringLiteral("abc"));
    QTest::mouseClick(controle<QPushButton>(b, "BtProcuraCoo"), Qt::LeftButton);
    auto registro = caixas();
    ASSERT_EQ(registro.size(), 2u);
    EXPECT_EQ(registro[0].text,
              QStringLiteral("COO %1 Não Encontrado na Bobina.").arg(coo + 1, 6, 10, QLatin1Char('0')));
    EXPECT_EQ(registro[1].text, QStringLiteral("Informe um COO de 1 a 999999."));

    // Today's first record at the top; a day without documents; no date.
    const QDate hoje = QDate::currentDate();
    controle<QLineEdit>(b, "EdData")->setText(hoje.toString(QStringLiteral("dd/MM/yy")));
    QTest::mouseClick(controle<QPushButton>(b, "BtProcuraData"), Qt::LeftButton);
    EXPECT_TRUE(primeiraVisivel(b).text().contains(hoje.toString(QStringLiteral("dd/MM/yyyy"))));
    controle<QLineEdit>(b, "EdData")->setText(QStringLiteral("01/01/01"));
    QTest::mouseClick(controle<QPushButton>(b, "BtProcuraData"), Qt::LeftButton);
    controle<QLineEdit>(b, "EdData")->setText(QString());
    QTest::mouseClick(controle<QPushButton>(b, "BtProcuraData"), Qt::LeftButton);
    registro = caixas();
    ASSERT_EQ(registro.size(), 2u);
    EXPECT_EQ(registro[0].text, QStringLiteral("Nenhum Documento em 01/01/2001 na Bobina."));
    EXPECT_EQ(registro[1].text, QStringLiteral("Data Inválida."));

    // Back to the end, following the printer again.
    QTest::mouseClick(controle<QPushButton>(b, "BtFim"), Qt::LeftButton);
    long long ultimo = 0, primeiro = 0;
    KesafiVirtual_FitaLimites(&primeiro, &ultimo);
    EXPECT_EQ(b->ultimoMostrado(), ultimo);
    QTest::mouseClick(controle<QPushButton>(b, "BtFechar"), Qt::LeftButton);
    EXPECT_FALSE(b->isVisible());
}

TEST_F(TFBobinaTest, APrinterSwitchedOffLeavesTheViewSayingSoUntilItAnswers) {
    localiza();
    ASSERT_EQ(KesafiVirtual_Liga(0), 1);
    TFBobina* b = abre();
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(b->isVisible());
    EXPECT_EQ(memo(b), QString());
    EXPECT_EQ(controle<QLabel>(b, "LbSituacao")->text(),
              QStringLiteral("A impressora não responde: verifique se está ligada."));
    controle<QLineEdit>(b, "EdCoo")->setText(QStringLiteral("1"));
    QTest::mouseClick(controle<QPushButton>(b, "BtProcuraCoo"), Qt::LeftButton);
    EXPECT_TRUE(caixas().empty());

    ASSERT_EQ(KesafiVirtual_Liga(1), 1);
    b->Acompanha();
    EXPECT_TRUE(
        memo(b).endsWith(impresso(1).join(QLatin1Char('\n')) + QLatin1Char('\n') + QStringLiteral("- ").repeated(24)));
    EXPECT_EQ(controle<QLabel>(b, "LbSituacao")->text(), QStringLiteral("Fim da bobina: acompanhando a impressão."));
    // Switched off while shown: what is on screen stays.
    const QString mostrado = memo(b);
    ASSERT_EQ(KesafiVirtual_Liga(0), 1);
    b->Acompanha();
    EXPECT_EQ(memo(b), mostrado);
    EXPECT_EQ(controle<QLabel>(b, "LbSituacao")->text(),
              QStringLiteral("A impressora não responde: verifique se está ligada."));
}

TEST_F(TFBobinaTest, TheButtonAndF2ExistOnlyWithALibraryThatOffersTheTape) {
    QToolButton* botao = naPrincipal<QToolButton>("BtBobina");
    ASSERT_NE(botao, nullptr);
    EXPECT_FALSE(botao->isHidden());
    EXPECT_FALSE(botao->isEnabled());
    // Not located yet: F2 opens nothing, and nothing is made at start.
    EXPECT_EQ(abre(), nullptr);

    principal()->ligaBobina(QStringLiteral(BIBLIOTECA_SEM_FITA));
    localiza();
    EXPECT_TRUE(botao->isHidden());
    EXPECT_EQ(abre(), nullptr);
    botao->click();
    EXPECT_EQ(principal()->bobina(), nullptr);

    principal()->ligaBobina();
    EXPECT_FALSE(botao->isHidden());
    botao->click();
    ASSERT_NE(principal()->bobina(), nullptr);
    EXPECT_TRUE(principal()->bobina()->isVisible());
}

TEST_F(TFBobinaTest, ThePanelShowsThePrintersClockTickingAndItsFiscalDay) {
    QLabel* relogioECF = naPrincipal<QLabel>("LbRelogioECF");
    QLabel* diaFiscal = naPrincipal<QLabel>("LbDiaFiscal");
    ASSERT_TRUE(relogioECF && diaFiscal);
    // The printer's clock a day ahead of the computer's, standing still.
    const QDate amanha = QDate::currentDate().addDays(1);
    const auto relogioDoEcf = [](const QDate& dia, const char* hora) {
        return (dia.toString(QStringLiteral("ddMMyyyy")) + QLatin1String(hora)).toLatin1();
    };
    platform::clock::set(QDateTime(QDate::currentDate(), QTime(9, 0, 0)));
    ASSERT_EQ(KesafiVirtual_FixaRelogio(relogioDoEcf(amanha, "100000").constData()), 1);
    localiza();
    EXPECT_EQ(relogioECF->text(), QStringLiteral("*"));  // read once the handler is done
    QApplication::processEvents();
    const QString dia = amanha.toString(QStringLiteral("dd/MM/yyyy"));
    EXPECT_EQ(relogioECF->text(), dia + QStringLiteral(" 10:00:00"));
    EXPECT_EQ(diaFiscal->text(), QStringLiteral("Sem Movimento"));

    // Ticking asks the printer nothing.
    const int antes = chamadas(nullptr);
    platform::clock::advance(61000);
    principal()->relogioDoECF()->TimerRelogioTimer();
    EXPECT_EQ(relogioECF->text(), dia + QStringLiteral(" 10:01:01"));
    EXPECT_EQ(chamadas(nullptr), antes);

    // A sale, and the printer's clock on the next day: a reduction waits.
    ASSERT_EQ(KesafiVirtual_AdicionaVendas(1), 1);
    ASSERT_EQ(KesafiVirtual_FixaRelogio(relogioDoEcf(amanha.addDays(1), "080000").constData()), 1);
    // After a command, nothing goes out while a box is open.
    auto* relogio = principal()->relogioDoECF();
    emit printer::avisos().comandoVerificado();
    EXPECT_TRUE(relogio->TimerLeitura.isActive());
    {
        platform::dialogs::Open caixa;
        relogio->Le();
        EXPECT_EQ(chamadas(nullptr), antes);
        EXPECT_TRUE(relogio->TimerLeitura.isActive());
    }
    relogio->Le();
    EXPECT_EQ(relogioECF->text(),
              amanha.addDays(1).toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" 08:00:00"));
    EXPECT_EQ(diaFiscal->text(), QStringLiteral("Redução Z Pendente"));

    // Switched off: no answer, no ticking.
    ASSERT_EQ(KesafiVirtual_Liga(0), 1);
    relogio->Le();
    EXPECT_EQ(relogioECF->text(), QStringLiteral("Sem Resposta"));
    EXPECT_FALSE(relogio->TimerRelogio.isActive());
    EXPECT_TRUE(caixas().empty());
}

TEST(DiaFiscal, NamesThePendingReductionFirst) {
    using uZentora3::Movimento;
    EXPECT_EQ(uZentora3::descreveDiaFiscal(Movimento::AguardandoReducao, 8), QStringLiteral("Redução Z Pendente"));
    EXPECT_EQ(uZentora3::descreveDiaFiscal(Movimento::Nenhum, 8), QStringLiteral("Encerrado pela Redução Z"));
    EXPECT_EQ(uZentora3::descreveDiaFiscal(Movimento::Nenhum, 0), QStringLiteral("Sem Movimento"));
    EXPECT_EQ(uZentora3::descreveDiaFiscal(Movimento::EmDia, 4), QStringLiteral("Aberto"));
    EXPECT_EQ(uZentora3::dataHoraDoECF("310226", "120000"), std::nullopt);
    EXPECT_EQ(uZentora3::dataHoraDoECF("280226", "235960"), std::nullopt);
    EXPECT_EQ(uZentora3::dataHoraDoECF("280226", "235959"), QDateTime(QDate(2026, 2, 28), QTime(23, 59, 59)));
}

TEST(PaginaDaFita, MalformedPagesAreRefusedWhole) {
    const QByteArray boa = "7 000012 CUPOM 10032026 100000 5\r\nab\r\nc";
    const auto r = printer::interpretaPaginaDaFita(boa + "8 000000 TRACO 10032026 100001 0\r\n");
    ASSERT_TRUE(r.has_value());
    ASSERT_EQ(r->size(), 2u);
    EXPECT_EQ((*r)[0].numero, 7);
    EXPECT_EQ((*r)[0].coo, 12);
    EXPECT_EQ((*r)[0].texto, QStringLiteral("ab\r\nc"));
    EXPECT_EQ(printer::cabecalhoDoRegistro((*r)[0], 48),
              QStringLiteral("COO 000012 CUPOM").leftJustified(29) + QStringLiteral("10/03/2026 10:00:00"));
    EXPECT_TRUE(printer::cabecalhoDoRegistro((*r)[1], 48).startsWith(QStringLiteral("COMANDO TRACO")));
    for (const QByteArray& ruim :
         {QByteArray("7 000012 CUPOM 10032026 100000 6\r\nab\r\nc"), QByteArray("7 000012 CUPOM 10032026 100000 5"),
          QByteArray("7 000012 CUPOM 32032026 100000 0\r\n"), QByteArray("7 -12 CUPOM 10032026 100000 0\r\n"),
          QByteArray("7 000012 CUPOM 10032026 100000 99999999999999999999\r\n"), QByteArray("\r\n"),
          QByteArray("7 000012  10032026 100000 0\r\n")})
        EXPECT_FALSE(printer::interpretaPaginaDaFita(ruim).has_value()) << ruim.toStdString();
}

}  // namespace
