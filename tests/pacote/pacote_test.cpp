// What the package installs: one folder for the program, its libraries and
// its read-only files, a launcher on the PATH, a desktop entry with its icon,
// and the system packages the program needs.
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include "auxiliares.h"
#include "pacote.h"

using pacote::arvore;
using pacote::executa;

namespace {

const QString kPasta = QStringLiteral("opt/zentora");

// The files and every folder above them.
QStringList comPastas(const QStringList& arquivos) {
    QSet<QString> entradas;
    for (const QString& arquivo : arquivos) {
        entradas.insert(arquivo);
        for (QString p = QFileInfo(arquivo).path(); p != QLatin1String("."); p = QFileInfo(p).path())
            entradas.insert(p);
    }
    QStringList lista(entradas.begin(), entradas.end());
    lista.sort();
    return lista;
}

// The keys of the [Desktop Entry] group of a desktop file.
QMap<QString, QString> entradaDesktop(const QString& arquivo) {
    QMap<QString, QString> chaves;
    bool grupo = false;
    for (const QString& linha : QString::fromUtf8(conteudo(arquivo)).split(QLatin1Char('\n'))) {
        if (linha.startsWith(QLatin1Char('['))) grupo = linha == QLatin1String("[Desktop Entry]");
        const qsizetype igual = linha.indexOf(QLatin1Char('='));
        if (grupo && igual > 0) chaves.insert(linha.left(igual).trimmed(), linha.mid(igual + 1).trimmed());
    }
    return chaves;
}

QSet<QString> dependencias(const QString& deb) {
    const auto f = executa(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QStringLiteral("Depends")});
    QSet<QString> nomes;
    for (const QString& item : f.saida.split(QRegularExpression(QStringLiteral("[,|]")), Qt::SkipEmptyParts)) {
        const QString nome = item.trimmed().section(QLatin1Char(' '), 0, 0).section(QLatin1Char(':'), 0, 0);
        if (!nome.isEmpty()) nomes.insert(nome);
    }
    return nomes;
}

// The libraries an ELF file names itself (NEEDED), with the path the
// dynamic loader finds for each ("not found" when none).
QMap<QString, QString> bibliotecas(const QString& elf) {
    QMap<QString, QString> lista;
    const auto dinamica = executa(QStringLiteral("readelf"), {QStringLiteral("-d"), elf});
    static const QRegularExpression needed(QStringLiteral("\\(NEEDED\\).*\\[(.+)\\]"));
    for (auto it = needed.globalMatch(dinamica.saida); it.hasNext();) lista.insert(it.next().captured(1), QString());
    const auto ldd = executa(QStringLiteral("ldd"), {elf});
    static const QRegularExpression linha(QStringLiteral("^\\s*(\\S+) => (.*?)(?: \\(0x[0-9a-f]+\\))?$"));
    for (const QString& l : ldd.saida.split(QLatin1Char('\n'))) {
        const auto m = linha.match(l);
        if (m.hasMatch() && lista.contains(m.captured(1))) lista[m.captured(1)] = m.captured(2);
    }
    return lista;
}

// The packages that ship a file named after each soname.
QMap<QString, QSet<QString>> donos(const QStringList& sonames) {
    QStringList padroes;
    for (const QString& soname : sonames) padroes << QStringLiteral("*/") + soname;
    const auto s = executa(QStringLiteral("dpkg"), QStringList{QStringLiteral("-S")} + padroes);
    QMap<QString, QSet<QString>> pacotes;
    for (const QString& l : s.saida.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (l.startsWith(QLatin1String("diversion"))) continue;
        const QString soname = QFileInfo(l.section(QStringLiteral(": "), 1)).fileName();
        for (const QString& p : l.section(QStringLiteral(": "), 0, 0).split(QStringLiteral(", ")))
            pacotes[soname].insert(p.section(QLatin1Char(':'), 0, 0).trimmed());
    }
    return pacotes;
}

}  // namespace

TEST_F(PacoteExtraido, InstallsTheProgramItsLibrariesAndShippedFilesInOneFolderAndNothingWritable) {
    // The program, its libraries, the launcher and everything of resources/.
    QStringList esperados = {kPasta + QStringLiteral("/Zentora"),
                             kPasta + QStringLiteral("/libKESAFI32.so"),
                             kPasta + QStringLiteral("/libsign_kesa.so"),
                             kPasta + QStringLiteral("/launcher"),
                             QStringLiteral("usr/bin/zentora"),
                             QStringLiteral("usr/share/applications/zentora.desktop"),
                             QStringLiteral("usr/share/icons/hicolor/scalable/apps/zentora.svg")};
    QStringList recursos;
    for (const QString& entrada : arvore(QStringLiteral(RECURSOS_PASTA)))
        if (entrada != QLatin1String("CMakeLists.txt") &&
            QFileInfo(QStringLiteral(RECURSOS_PASTA "/") + entrada).isFile())
            recursos << entrada;
    for (const char* item :
         {"Modelo.ntf", "usb.bmp", "serial.bmp", "USB_Driver", "Skins/Aluminium.qss", "Ajuda/index.html"})
        ASSERT_TRUE(recursos.contains(QLatin1String(item))) << item;
    for (const QString& r : recursos) esperados << kPasta + QLatin1Char('/') + r;

    // Exactly these: no KESAFI32.ini, "Relatorios", "Cadastro", printer
    // memory or capture file, not even as an empty folder.
    EXPECT_EQ(arvore(raiz()), comPastas(esperados));

    // The shipped files are the sources' bytes.
    for (const QString& r : recursos)
        EXPECT_EQ(conteudo(instalacao() + QLatin1Char('/') + r), conteudo(QStringLiteral(RECURSOS_PASTA "/") + r))
            << r.toStdString();

    // Only the programs may be run.
    for (const QString& entrada : arvore(raiz())) {
        const QFileInfo info(raiz() + QLatin1Char('/') + entrada);
        if (info.isDir() || info.isSymLink()) continue;
        const bool programa =
            entrada == kPasta + QStringLiteral("/Zentora") || entrada == kPasta + QStringLiteral("/launcher") ||
            entrada == kPasta + QStringLiteral("/USB_Driver") || entrada == kPasta + QStringLiteral("/Registra");
        EXPECT_EQ(info.isExecutable(), programa) << entrada.toStdString();
    }
}

TEST_F(PacoteExtraido, TheDesktopEntryStartsTheLauncherOnThePathWithTheIcon) {
    const QFileInfo link(raiz() + QStringLiteral("/usr/bin/zentora"));
    ASSERT_TRUE(link.isSymLink());
    // Relative, so it holds wherever the tree is unpacked.
    EXPECT_EQ(QFile::symLinkTarget(link.filePath()), instalacao() + QStringLiteral("/launcher"));
    EXPECT_TRUE(QFileInfo(executa(QStringLiteral("readlink"), {link.filePath()}).saida.trimmed()).isRelative());

    const auto entrada = entradaDesktop(raiz() + QStringLiteral("/usr/share/applications/zentora.desktop"));
    EXPECT_EQ(entrada.value(QStringLiteral("Type")), QStringLiteral("Application"));
    EXPECT_EQ(entrada.value(QStringLiteral("Name")), QStringLiteral("Zentora 3.0"));
    EXPECT_EQ(entrada.value(QStringLiteral("Terminal")), QStringLiteral("false"));
    const QString comando = entrada.value(QStringLiteral("Exec")).section(QLatin1Char(' '), 0, 0);
    EXPECT_EQ(QFileInfo(raiz() + QStringLiteral("/usr/bin/") + comando).canonicalFilePath(),
              instalacao() + QStringLiteral("/launcher"));

    const QString icone = entrada.value(QStringLiteral("Icon"));
    QFile svg(raiz() + QStringLiteral("/usr/share/icons/hicolor/scalable/apps/") + icone + QStringLiteral(".svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly)) << icone.toStdString();
    QXmlStreamReader xml(&svg);
    ASSERT_TRUE(xml.readNextStartElement());
    EXPECT_EQ(xml.name(), QLatin1String("svg"));
    while (!xml.atEnd()) xml.readNext();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
}

TEST_F(PacoteExtraido, TheProgramFindsItsLibrariesInItsFolderAndTheSystemsComeFromDependencies) {
    const QSet<QString> depende = dependencias(deb);
    for (const char* nome : {"libqt6widgets6", "libqt6gui6", "libsqlite3-0", "qt6-translations-l10n"})
        EXPECT_TRUE(depende.contains(QLatin1String(nome))) << nome;

    const QStringList elfs = {instalacao() + QStringLiteral("/Zentora"),
                              instalacao() + QStringLiteral("/libKESAFI32.so"),
                              instalacao() + QStringLiteral("/libsign_kesa.so")};
    QStringList externas;
    QStringList internas;
    for (const QString& elf : elfs) {
        const auto libs = bibliotecas(elf);
        for (auto it = libs.begin(); it != libs.end(); ++it) {
            SCOPED_TRACE(elf.toStdString() + ": " + it.key().toStdString());
            ASSERT_FALSE(it.value().isEmpty() || it.value() == QLatin1String("not found")) << it.value().toStdString();
            if (it.value().startsWith(raiz() + QLatin1Char('/'))) {
                // Beside the program (RUNPATH $ORIGIN), never a copy elsewhere.
                EXPECT_EQ(QFileInfo(it.value()).path(), instalacao());
                internas << it.key();
            } else {
                externas << it.key();
            }
        }
    }
    EXPECT_TRUE(internas.contains(QStringLiteral("libKESAFI32.so")));
    externas.removeDuplicates();
    const auto pacotes = donos(externas);
    for (const QString& soname : externas) {
        const QSet<QString> de = pacotes.value(soname);
        EXPECT_TRUE(de.intersects(depende)) << soname.toStdString() << " comes from "
                                            << QStringList(de.begin(), de.end()).join(QLatin1Char(' ')).toStdString();
    }
}
