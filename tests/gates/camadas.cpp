// The program's layers call downward only.  From the top: the main window
// (app), the command manager, the function windows, the core, the printer
// binding, the platform.  A function window never reaches another, no file
// includes another window's generated class, and the widget-free libraries
// (core, and the printer and platform parts below it) include no widget code.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <map>

namespace {

const QString kSrc = QStringLiteral(ZENTORA_SOURCE_DIR "/src");

// The rank of each folder: a file may include folders of a lower rank, and
// its own.  The function windows and the command-line front end share a rank
// and never include one another.
const std::map<QString, int> kCamadas = {
    {QStringLiteral("platform"), 0}, {QStringLiteral("printer"), 1},      {QStringLiteral("core"), 2},
    {QStringLiteral("settings"), 3}, {QStringLiteral("fiscalconfig"), 3}, {QStringLiteral("reports"), 3},
    {QStringLiteral("commands"), 3}, {QStringLiteral("memory"), 3},       {QStringLiteral("bobina"), 3},
    {QStringLiteral("cli"), 3},      {QStringLiteral("manager"), 4},      {QStringLiteral("app"), 5},
};

// The files of the platform and printer folders that are widget code, built
// into their own libraries.
const QSet<QString> kPartesComJanelas = {
    QStringLiteral("platform/widget_dialogs"), QStringLiteral("platform/captions"), QStringLiteral("platform/masks"),
    QStringLiteral("platform/accessibility"),  QStringLiteral("printer/colunas"),   QStringLiteral("printer/janela"),
    QStringLiteral("printer/tfstatus"),        QStringLiteral("printer/espera"),    QStringLiteral("printer/editdata"),
};

struct Inclusao {
    QString arquivo;  // relative to src/, "reports/tfrelfiscais.cpp"
    QString incluido;
};

std::vector<Inclusao> inclusoes() {
    static const QRegularExpression linha(QStringLiteral("^\\s*#\\s*include\\s*[\"<]([^\">]+)[\">]"),
                                          QRegularExpression::MultilineOption);
    std::vector<Inclusao> todas;
    // A layout names the header of every promoted control it holds.
    static const QRegularExpression promovido(QStringLiteral("<header>([^<]+)</header>"));
    QDirIterator it(kSrc, {QStringLiteral("*.cpp"), QStringLiteral("*.h"), QStringLiteral("*.ui")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString caminho = it.next();
        QFile f(caminho);
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QString texto = QString::fromUtf8(f.readAll());
        const QString relativo = QDir(kSrc).relativeFilePath(caminho);
        for (auto m = (caminho.endsWith(QLatin1String(".ui")) ? promovido : linha).globalMatch(texto); m.hasNext();)
            todas.push_back({relativo, m.next().captured(1)});
    }
    return todas;
}

QString pastaDe(const QString& relativo) { return relativo.section(QLatin1Char('/'), 0, 0); }
QString baseDe(const QString& relativo) { return relativo.section(QLatin1Char('.'), 0, 0); }

bool semJanelas(const QString& relativo) {
    const QString pasta = pastaDe(relativo);
    if (pasta == QLatin1String("core") || pasta == QLatin1String("cli")) return true;
    return (pasta == QLatin1String("platform") || pasta == QLatin1String("printer")) &&
           !kPartesComJanelas.contains(baseDe(relativo));
}

TEST(Camadas, CadaArquivoIncluiSoCamadasAbaixoDaSua) {
    const auto todas = inclusoes();
    ASSERT_GT(todas.size(), 100u);
    QStringList violacoes;
    for (const Inclusao& i : todas) {
        const QString de = pastaDe(i.arquivo);
        const QString para = pastaDe(i.incluido);
        if (!i.incluido.contains(QLatin1Char('/')) || !kCamadas.count(para) || !kCamadas.count(de)) continue;
        if (de == para) continue;
        if (kCamadas.at(para) >= kCamadas.at(de)) violacoes << i.arquivo + QStringLiteral(" -> ") + i.incluido;
    }
    EXPECT_EQ(violacoes.join(QLatin1Char('\n')).toStdString(), "");
}

TEST(Camadas, NenhumArquivoIncluiAClasseGeradaDeOutraJanela) {
    QStringList violacoes;
    for (const Inclusao& i : inclusoes()) {
        if (!i.incluido.startsWith(QLatin1String("ui_"))) continue;
        // Only its own folder's layout: "ui_tfrelfiscais.h" beside tfrelfiscais.ui.
        const QString layout = kSrc + QLatin1Char('/') + pastaDe(i.arquivo) + QLatin1Char('/') +
                               i.incluido.mid(3).section(QLatin1Char('.'), 0, 0) + QStringLiteral(".ui");
        if (!QFileInfo::exists(layout)) violacoes << i.arquivo + QStringLiteral(" -> ") + i.incluido;
    }
    EXPECT_EQ(violacoes.join(QLatin1Char('\n')).toStdString(), "");
}

TEST(Camadas, AsBibliotecasSemJanelasNaoIncluemCodigoDeJanelas) {
    static const QRegularExpression widgets(QStringLiteral(
        "^(QWidget|QDialog|QLabel|QPushButton|QAbstractButton|QLineEdit|QPlainTextEdit|QProgressBar|QMessageBox|"
        "QFileDialog|QInputDialog|QApplication|QCheckBox|QRadioButton|QComboBox|QTableWidget|QStyle|QShortcut|"
        "QtWidgets)\\b"));
    QStringList violacoes;
    for (const Inclusao& i : inclusoes()) {
        if (!semJanelas(i.arquivo)) continue;
        if (widgets.match(i.incluido).hasMatch() || i.incluido.startsWith(QLatin1String("ui_")) ||
            kPartesComJanelas.contains(baseDe(i.incluido)))
            violacoes << i.arquivo + QStringLiteral(" -> ") + i.incluido;
    }
    EXPECT_EQ(violacoes.join(QLatin1Char('\n')).toStdString(), "");
}

TEST(Camadas, AClasseGeradaDeCadaJanelaEhSoDela) {
    static const QRegularExpression acesso(QStringLiteral("^\\s*(public|protected|private)\\s*:"),
                                           QRegularExpression::MultilineOption);
    QStringList expostas;
    int janelas = 0;
    QDirIterator it(kSrc, {QStringLiteral("*.h")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QString texto = QString::fromUtf8(f.readAll());
        const qsizetype membro = texto.indexOf(QLatin1String("std::unique_ptr<Ui::"));
        if (membro < 0) continue;
        ++janelas;
        QString ultimo;
        for (auto m = acesso.globalMatch(texto.left(membro)); m.hasNext();) ultimo = m.next().captured(1);
        if (ultimo != QLatin1String("private")) expostas << QDir(kSrc).relativeFilePath(f.fileName());
    }
    EXPECT_EQ(janelas, 9);
    EXPECT_EQ(expostas.join(QLatin1Char('\n')).toStdString(), "");
}

}  // namespace
