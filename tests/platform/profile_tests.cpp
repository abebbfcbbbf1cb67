#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "auxiliares.h"
#include "platform/cp1252.h"
#include "platform/dialogs.h"
#include "platform/profile.h"
#include "usuario_comum.h"

using platform::Profile;
namespace dialogs = platform::dialogs;

TEST(Cp1252, RoundTripsTheCodePageAndReplacesTheRest) {
    const QString texto = QStringLiteral("Relatório Gerencial – “ação” €");
    const QByteArray bytes = platform::toCp1252(texto);
    EXPECT_EQ(bytes, QByteArray("Relat\xF3rio Gerencial \x96 \x93\x61\xE7\xE3o\x94 \x80"));
    EXPECT_EQ(platform::fromCp1252(bytes), texto);
    EXPECT_EQ(platform::toCp1252(QStringLiteral("日本")), QByteArray("??"));
    // Bytes the code page leaves undefined survive a round trip.
    EXPECT_EQ(platform::toCp1252(platform::fromCp1252(QByteArray("\x81\x8D\x8F\x90\x9D"))),
              QByteArray("\x81\x8D\x8F\x90\x9D"));
}

TEST(Cp1252, NamesWhatThePrinterCannotStoreOnceEach) {
    // Outside the code page (an emoji as one character, not two halves),
    // controls of every kind, and the undefined positions read back as C1.
    const QString texto =
        QStringLiteral("Łódź 😀 Łx\tA\x7F") + QChar(0x81) + QChar(0xD800) + QStringLiteral("ŽžŸ€ çã\u00A0");
    const std::vector<char32_t> recusados = platform::unstorable(texto);
    EXPECT_EQ(recusados, (std::vector<char32_t>{0x141, 0x17A, 0x1F600, 0x9, 0x7F, 0x81, 0xD800}));
    EXPECT_EQ(platform::describeCharacters(recusados),
              QStringLiteral("Ł (U+0141), ź (U+017A), 😀 (U+1F600), U+0009, U+007F, U+0081, U+D800"));
    EXPECT_TRUE(platform::unstorable(QStringLiteral("Relatório – “ação” € Ÿ")).empty());
}

TEST(Profile, KeepsAnyTextAsUtf8AndReadsAFileMadeOnWindowsAsWindows1252) {
    QTemporaryDir dir;
    Profile ini(dir.filePath(QStringLiteral("KESAFI32.ini")));
    const QString pasta = QStringLiteral("/home/joão/Łódź/Zentora/");
    ASSERT_TRUE(ini.writeString(QStringLiteral("Sistema"), QStringLiteral("Path"), pasta));
    EXPECT_EQ(conteudo(ini.path()), QByteArray("[Sistema]\r\nPath=") + pasta.toUtf8() + "\r\n");
    EXPECT_EQ(ini.readString(QStringLiteral("sistema"), QStringLiteral("PATH")), pasta);

    // A registration file saved on Windows: Windows-1252, read as such and
    // written back as UTF-8 with the rest of its text unchanged.
    Profile ntf(dir.filePath(QStringLiteral("Cadastro.ntf")));
    grava(ntf.path(), "[RelGerencial]\r\n1=\"Relat\xF3rio Geral\"\r\n2=\"Sangria \x96 Caixa\"\r\n");
    EXPECT_EQ(ntf.readString(QStringLiteral("RelGerencial"), QStringLiteral("1")), QStringLiteral("Relatório Geral"));
    ASSERT_TRUE(ntf.writeString(QStringLiteral("RelGerencial"), QStringLiteral("3"), QStringLiteral("Ação")));
    EXPECT_EQ(conteudo(ntf.path()), QStringLiteral("[RelGerencial]\r\n1=\"Relatório Geral\"\r\n2=\"Sangria – "
                                                   "Caixa\"\r\n3=Ação\r\n")
                                        .toUtf8());
}

TEST(Profile, AnUnreadableFileIsReportedAndNeverReplaced) {
    QTemporaryDir dir;
    dialogs::Script script;
    const QString path = dir.filePath(QStringLiteral("KESAFI32.ini"));
    const QByteArray original("[Sistema]\r\nPorta=USB\r\n");
    grava(path, original);
    ComoUsuarioComum::entrega(QFile::encodeName(dir.path()).toStdString(), 0755);
    ComoUsuarioComum::entrega(QFile::encodeName(path).toStdString(), 0200);
    {
        ComoUsuarioComum usuario;
        Profile ini(path);
        EXPECT_EQ(ini.readString(QStringLiteral("Sistema"), QStringLiteral("Porta")), QString());
        EXPECT_FALSE(ini.writeString(QStringLiteral("MFD"), QStringLiteral("Impressora"), QStringLiteral("1")));
        EXPECT_FALSE(ini.deleteKey(QStringLiteral("Sistema"), QStringLiteral("Porta")));
    }
    ASSERT_EQ(script.records().size(), 2u);
    for (const auto& caixa : script.records()) {
        EXPECT_EQ(caixa.kind, dialogs::Kind::Error);
        EXPECT_EQ(caixa.text, QStringLiteral("Unable to write to ") + path);
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(conteudo(path), original);
}

TEST(Profile, ARefusedWriteIsReportedWithThePath) {
    QTemporaryDir dir;
    dialogs::Script script;
    const QString path = dir.filePath(QStringLiteral("nao existe/KESAFI32.ini"));
    Profile ini(path);
    EXPECT_FALSE(ini.writeString(QStringLiteral("Zentora3"), QStringLiteral("AbreTXT"), QStringLiteral("Notepad")));
    ASSERT_EQ(script.records().size(), 1u);
    EXPECT_EQ(script.records()[0].kind, dialogs::Kind::Error);
    EXPECT_EQ(script.records()[0].text, QStringLiteral("Unable to write to ") + path);
    // Reads never fail.
    EXPECT_EQ(ini.readString(QStringLiteral("Zentora3"), QStringLiteral("AbreTXT")), QString());
    // Silent writes say nothing.
    EXPECT_FALSE(
        ini.writeString(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), Profile::OnFailure::Silent));
    EXPECT_EQ(script.records().size(), 1u);
}

TEST(Profile, DeletesAKeyAndWritesItBackEmpty) {
    QTemporaryDir dir;
    Profile ini(dir.filePath(QStringLiteral("KESAFI32.ini")));
    ASSERT_TRUE(ini.writeString(QStringLiteral("Zentora3"), QStringLiteral("Codigo"), QStringLiteral("616263")));
    ASSERT_TRUE(ini.deleteKey(QStringLiteral("Zentora3"), QStringLiteral("codigo")));
    EXPECT_FALSE(ini.hasKey(QStringLiteral("Zentora3"), QStringLiteral("Codigo")));
    ASSERT_TRUE(ini.writeString(QStringLiteral("Zentora3"), QStringLiteral("Codigo"), QString()));
    EXPECT_TRUE(ini.hasKey(QStringLiteral("Zentora3"), QStringLiteral("Codigo")));
}

TEST(Profile, AWriteThatChangesNothingLeavesTheFileAloneButIsStillRefusedWhereWritesAre) {
    QTemporaryDir dir;
    dialogs::Script script;
    const QString path = dir.filePath(QStringLiteral("KESAFI32.ini"));
    Profile ini(path);
    ASSERT_TRUE(ini.writeStrings({{QStringLiteral("Sistema"), QStringLiteral("Log"), QStringLiteral("0")},
                                  {QStringLiteral("MFD"), QStringLiteral("Impressora"), QStringLiteral("1")}}));
    const QByteArray escrito = conteudo(path);
    EXPECT_EQ(escrito, QByteArray("[Sistema]\r\nLog=0\r\n\r\n[MFD]\r\nImpressora=1\r\n"));
    const QDateTime antigo(QDate(2001, 2, 3), QTime(4, 5, 6));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(antigo, QFileDevice::FileModificationTime));
    }
    // Nothing new: the file is not rewritten (nor flushed to the disk).
    EXPECT_TRUE(ini.writeString(QStringLiteral("sistema"), QStringLiteral("LOG"), QStringLiteral("0")));
    EXPECT_TRUE(ini.writeStrings({{QStringLiteral("MFD"), QStringLiteral("Impressora"), QStringLiteral("1")}}));
    EXPECT_EQ(QFileInfo(path).lastModified(), antigo);
    // A change is written.
    EXPECT_TRUE(ini.writeString(QStringLiteral("Sistema"), QStringLiteral("Log"), QStringLiteral("1")));
    EXPECT_EQ(conteudo(path), QByteArray("[Sistema]\r\nLog=1\r\n\r\n[MFD]\r\nImpressora=1\r\n"));

    // A file the system would not let anyone write: refused and reported,
    // even when the value is the one it holds.
    ComoUsuarioComum::entrega(QFile::encodeName(dir.path()).toStdString(), 0755);
    ComoUsuarioComum::entrega(QFile::encodeName(path).toStdString(), 0444);
    {
        ComoUsuarioComum usuario;
        EXPECT_FALSE(ini.writeString(QStringLiteral("Sistema"), QStringLiteral("Log"), QStringLiteral("1")));
    }
    ASSERT_EQ(script.records().size(), 1u);
    EXPECT_EQ(script.records()[0].text, QStringLiteral("Unable to write to ") + path);
}
