#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/cp1252.h"
#include "platform/dialogs.h"
#include "platform/profile.h"

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

TEST(Profile, KeepsAccentedTextAsWindows1252) {
    QTemporaryDir dir;
    Profile ini(dir.filePath(QStringLiteral("Cadastro.ntf")));
    ASSERT_TRUE(
        ini.writeString(QStringLiteral("RelGerencial"), QStringLiteral("1"), QStringLiteral("\"Relatório Geral\"")));
    QFile f(ini.path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[RelGerencial]\r\n1=\"Relat\xF3rio Geral\"\r\n"));
    EXPECT_EQ(ini.readString(QStringLiteral("relgerencial"), QStringLiteral("1")), QStringLiteral("Relatório Geral"));
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
