// What the package installs: a folder for the program, its libraries and
// helper programs, one for its read-only files, a launcher on the PATH, a
// desktop entry with its icon and metadata, the manual page, copyright and
// changelog, and the system packages the program needs; and what Debian's
// own checkers say of it.
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <optional>

#include "auxiliares.h"
#include "pacote.h"

using pacote::arvore;
using pacote::executa;

namespace {

const QString kProgramas = QStringLiteral("usr/lib/zentora");
const QString kFixos = QStringLiteral("usr/share/zentora");
// The programs among resources/; the rest are read-only files.
const QStringList kProgramasFixos = {QStringLiteral("USB_Driver"), QStringLiteral("Registra")};

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

TEST_F(PacoteExtraido, InstallsTheProgramItsLibrariesAndShippedFilesAsDebianDoesAndNothingWritable) {
    // The program, its libraries, the launcher, everything of resources/
    // and what Debian asks of every package.
    QStringList esperados = {kProgramas + QStringLiteral("/Zentora"),
                             kProgramas + QStringLiteral("/zentora-cli"),
                             QStringLiteral("usr/bin/zentora-cli"),
                             QStringLiteral("usr/share/man/man1/zentora-cli.1.gz"),
                             kProgramas + QStringLiteral("/libKESAFI32.so"),
                             kProgramas + QStringLiteral("/libsign_kesa.so"),
                             kProgramas + QStringLiteral("/lib/libKESAFI32.so"),
                             kProgramas + QStringLiteral("/lib/libsign_kesa.so"),
                             kProgramas + QStringLiteral("/launcher"),
                             QStringLiteral("usr/bin/zentora"),
                             QStringLiteral("usr/share/applications/zentora.desktop"),
                             QStringLiteral("usr/share/icons/hicolor/scalable/apps/zentora.svg"),
                             QStringLiteral("usr/share/metainfo/org.example.zentora.metainfo.xml"),
                             QStringLiteral("usr/share/man/man1/zentora.1.gz"),
                             QStringLiteral("usr/share/doc/zentora/copyright"),
                             QStringLiteral("usr/share/doc/zentora/changelog.Debian.gz")};
    QStringList recursos;
    for (const QString& entrada : arvore(QStringLiteral(RECURSOS_PASTA)))
        if (entrada != QLatin1String("CMakeLists.txt") &&
            QFileInfo(QStringLiteral(RECURSOS_PASTA "/") + entrada).isFile())
            recursos << entrada;
    for (const char* item :
         {"Modelo.ntf", "usb.bmp", "serial.bmp", "USB_Driver", "Skins/Aluminium.qss", "Ajuda/index.html"})
        ASSERT_TRUE(recursos.contains(QLatin1String(item))) << item;
    for (const QString& r : recursos)
        esperados << (kProgramasFixos.contains(r) ? kProgramas : kFixos) + QLatin1Char('/') + r;

    // Exactly these: no KESAFI32.ini, "Relatorios", "Cadastro", printer
    // memory or capture file, not even as an empty folder.
    EXPECT_EQ(arvore(raiz()), comPastas(esperados));

    // The shipped files are the sources' bytes.
    for (const QString& r : recursos)
        EXPECT_EQ(conteudo(raiz() + QLatin1Char('/') + (kProgramasFixos.contains(r) ? kProgramas : kFixos) +
                           QLatin1Char('/') + r),
                  conteudo(QStringLiteral(RECURSOS_PASTA "/") + r))
            << r.toStdString();

    // Only the programs may be run.
    for (const QString& entrada : arvore(raiz())) {
        const QFileInfo info(raiz() + QLatin1Char('/') + entrada);
        if (info.isDir() || info.isSymLink()) continue;
        const bool programa = entrada == kProgramas + QStringLiteral("/Zentora") ||
                              entrada == kProgramas + QStringLiteral("/zentora-cli") ||
                              entrada == kProgramas + QStringLiteral("/launcher") ||
                              entrada == kProgramas + QStringLiteral("/USB_Driver") ||
                              entrada == kProgramas + QStringLiteral("/Registra");
        EXPECT_EQ(info.isExecutable(), programa) << entrada.toStdString();
    }
}

TEST_F(PacoteExtraido, TheDesktopEntryStartsTheLauncherOnThePathWithTheIcon) {
    const QFileInfo link(raiz() + QStringLiteral("/usr/bin/zentora"));
    ASSERT_TRUE(link.isSymLink());
    // Relative within /usr, as Debian's policy has it, so it also holds
    // wherever the tree is unpacked.
    EXPECT_EQ(QFile::symLinkTarget(link.filePath()), instalacao() + QStringLiteral("/launcher"));
    EXPECT_EQ(executa(QStringLiteral("readlink"), {link.filePath()}).saida.trimmed(),
              QStringLiteral("../lib/zentora/launcher"));

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

namespace {

// A checker's run, or why it cannot run here.
std::optional<pacote::Execucao> verifica(const char* programa, const QStringList& argumentos) {
    if (QStandardPaths::findExecutable(QLatin1String(programa)).isEmpty()) return std::nullopt;
    return executa(QLatin1String(programa), argumentos);
}

}  // namespace

TEST_F(PacoteExtraido, DebiansCheckerFindsNoErrorAndNoWarning) {
    const auto l = verifica("lintian", {QStringLiteral("--fail-on"), QStringLiteral("error,warning"),
                                        QStringLiteral("--no-tag-display-limit"), deb});
    if (!l) GTEST_SKIP() << "lintian is not installed (apt-get install lintian): the package is not checked";
    EXPECT_EQ(l->codigo, 0) << l->saida.toStdString() << l->erros.toStdString();
    static const QRegularExpression marca(QStringLiteral("^[EW]: "), QRegularExpression::MultilineOption);
    EXPECT_FALSE(l->saida.contains(marca)) << l->saida.toStdString();
}

TEST_F(PacoteExtraido, TheDesktopEntryAndTheAppStreamMetadataAreValid) {
    const QString desktop = raiz() + QStringLiteral("/usr/share/applications/zentora.desktop");
    const auto d = verifica("desktop-file-validate", {desktop});
    const auto a =
        verifica("appstreamcli", {QStringLiteral("validate"), QStringLiteral("--no-net"), QStringLiteral("--pedantic"),
                                  raiz() + QStringLiteral("/usr/share/metainfo/org.example.zentora.metainfo.xml")});
    if (!d || !a)
        GTEST_SKIP() << "desktop-file-validate or appstreamcli is not installed "
                        "(apt-get install desktop-file-utils appstream): not checked";
    EXPECT_EQ(d->codigo, 0) << d->saida.toStdString() << d->erros.toStdString();
    EXPECT_TRUE(d->saida.trimmed().isEmpty()) << d->saida.toStdString();  // not even a hint
    EXPECT_EQ(a->codigo, 0) << a->saida.toStdString() << a->erros.toStdString();
    EXPECT_TRUE(a->saida.contains(QLatin1String("Validation was successful."))) << a->saida.toStdString();
}

// What lintian would say of the control fields, checked without it too.
TEST_F(PacoteExtraido, TheControlFieldsNameAReachableMaintainerAndFitTheTerminal) {
    const auto m = executa(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QStringLiteral("Maintainer")});
    EXPECT_EQ(m.saida.trimmed(), QStringLiteral("Equipe Zentora <zentora@zentora.example.org>"));
    const auto v = executa(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QStringLiteral("Version")});
    EXPECT_EQ(v.saida.trimmed(), QStringLiteral("3.0-1"));  // a Debian revision: not a native package
    const auto d = executa(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QStringLiteral("Description")});
    const QStringList linhas = d.saida.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GT(linhas.size(), 2);
    for (const QString& linha : linhas) EXPECT_LE(linha.size(), 80) << linha.toStdString();
}
