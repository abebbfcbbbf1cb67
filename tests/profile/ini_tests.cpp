#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "profile/ini.h"
#include "profile/system_text.h"
#include "usuario_comum.h"

using namespace profile;
namespace fs = std::filesystem;

namespace {

const char* kSample =
    "[Sistema]\r\n"
    "Porta=USB\r\n"
    "Status=0\r\n"
    "\r\n"
    "[Zentora3]\r\n"
    "  Interface =  Aluminium  \r\n"
    "AbreTXT=\"Notepad\"\r\n"
    "Vazio=\r\n"
    "Aspas=\"17,00%\",ICMS\r\n"
    "Status=1111\r\n"
    "\r\n";

class TempDir : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("ini_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string file(const char* name) const { return (dir / name).string(); }
    fs::path dir;
};

}  // namespace

TEST(IniRead, NamesMatchWithoutRegardToCaseAndMissingReadsEmpty) {
    EXPECT_EQ(valueIn(kSample, "sistema", "PORTA"), "USB");
    EXPECT_EQ(valueIn(kSample, "ZENTORA3", "interface"), "Aluminium");
    EXPECT_EQ(valueIn(kSample, "Zentora3", "Ausente"), "");
    EXPECT_EQ(valueIn(kSample, "Ausente", "Porta"), "");
    EXPECT_EQ(valueIn("", "Sistema", "Porta"), "");
    EXPECT_TRUE(hasKey(kSample, "zentora3", "vazio"));
    EXPECT_FALSE(hasKey(kSample, "zentora3", "nada"));
}

TEST(IniRead, QuotesAreStrippedOnlyWhenTheyEncloseTheValue) {
    EXPECT_EQ(valueIn(kSample, "Zentora3", "AbreTXT"), "Notepad");
    EXPECT_EQ(valueIn(kSample, "Zentora3", "Aspas"), "\"17,00%\",ICMS");
    EXPECT_EQ(valueIn("[a]\nk=\"  dois  \"\n", "a", "k"), "  dois  ");
    EXPECT_EQ(valueIn("[a]\nk=\"\n", "a", "k"), "\"");
}

TEST(IniRead, SameKeyInTwoSectionsKeepsItsOwnMeaning) {
    EXPECT_EQ(valueIn(kSample, "Sistema", "Status"), "0");
    EXPECT_EQ(valueIn(kSample, "Zentora3", "Status"), "1111");
}

TEST(IniRead, ToleratesPlainLineFeedsAndOddLines) {
    EXPECT_EQ(valueIn("[a]\nsem igual\n;k=x\nk=1\n", "a", "k"), "1");
    EXPECT_EQ(valueIn("k=fora\n[a]\nk=dentro", "a", "k"), "dentro");
}

static bool soCrLf(const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i)
        if ((s[i] == '\r') != (i + 1 < s.size() && s[i + 1] == '\n')) return false;
    return true;
}

TEST(IniRead, EveryLineEndCounts) {
    // CR LF, LF and a lone CR each end a line; CR CR LF is a line end and a blank line.
    for (const char* fim : {"\r\n", "\n", "\r", "\r\r\n", "\n\r"}) {
        const std::string content = std::string("[Sistema]") + fim + "Porta=USB" + fim + "Path=/z/" + fim;
        EXPECT_EQ(valueIn(content, "Sistema", "Porta"), "USB") << testing::PrintToString(fim);
        EXPECT_EQ(valueIn(content, "Sistema", "Path"), "/z/") << testing::PrintToString(fim);
        // A write leaves CR LF line ends only, and the other keys as they were.
        const std::string out = withValue(content, "Sistema", "Porta", "Default");
        EXPECT_EQ(out.find("Default\r\n"), out.find("Default"));
        EXPECT_EQ(valueIn(out, "Sistema", "Path"), "/z/");
        EXPECT_TRUE(soCrLf(out)) << testing::PrintToString(out);
    }
    EXPECT_EQ(withValue("[a]\rk=1\r", "a", "k", "2"), "[a]\r\nk=2\r\n");
}

TEST(IniWrite, ReplacesInPlaceAndKeepsEverythingElse) {
    const std::string out = withValue(kSample, "zentora3", "ABRETXT", "Wordpad");
    EXPECT_EQ(valueIn(out, "Zentora3", "AbreTXT"), "Wordpad");
    // Only that line changed.
    std::string expected = kSample;
    expected.replace(expected.find("AbreTXT=\"Notepad\""), 17, "AbreTXT=Wordpad");
    EXPECT_EQ(out, expected);
    // The key keeps its spelling, and the blanks before its '=', as in the file.
    EXPECT_EQ(withValue("[Zentora3]\r\n  Interface =  Aluminium  \r\n", "ZENTORA3", "INTERFACE", "Web2"),
              "[Zentora3]\r\n  Interface =Web2\r\n");
}

TEST(IniWrite, NewKeyGoesToTheEndOfItsSectionAndNewSectionToTheEnd) {
    std::string out = withValue(kSample, "Sistema", "Path", "/opt/z/");
    EXPECT_NE(out.find("Status=0\r\nPath=/opt/z/\r\n\r\n[Zentora3]"), std::string::npos) << out;
    out = withValue(out, "MFD", "Impressora", "1");
    EXPECT_EQ(out.substr(out.size() - 23), "\r\n[MFD]\r\nImpressora=1\r\n");
    EXPECT_EQ(withValue("", "MFD", "Impressora", "1"), "[MFD]\r\nImpressora=1\r\n");
}

TEST(IniWrite, DeletesOnlyTheNamedKey) {
    const std::string out = withoutKey(kSample, "Zentora3", "status");
    EXPECT_FALSE(hasKey(out, "Zentora3", "Status"));
    EXPECT_EQ(valueIn(out, "Sistema", "Status"), "0");
}

TEST_F(TempDir, WriteCreatesAMissingFileWithCrLf) {
    const std::string path = file("KESAFI32.ini");
    ASSERT_TRUE(writeString(path, "Zentora3", "Interface", "Aluminium"));
    ASSERT_TRUE(writeString(path, "Zentora3", "AbreTXT", "Notepad"));
    EXPECT_EQ(load(path).text, "[Zentora3]\r\nInterface=Aluminium\r\nAbreTXT=Notepad\r\n");
}

TEST_F(TempDir, RefusedWritesLeaveTheFileAsItWas) {
    EXPECT_FALSE(writeString(file("sem pasta/x.ini"), "a", "b", "c"));
    fs::create_directories(dir / "pasta.ini");
    EXPECT_FALSE(writeString(file("pasta.ini"), "a", "b", "c"));
    EXPECT_TRUE(fs::is_directory(dir / "pasta.ini"));
}

TEST_F(TempDir, AnExistingFileThatCannotBeReadIsNeverWritten) {
    const std::string path = file("KESAFI32.ini");
    const std::string original = "[Sistema]\r\nPorta=USB\r\n[Zentora3]\r\nAbreTXT=Wordpad\r\n";
    ASSERT_TRUE(replaceFile(path, original));
    ComoUsuarioComum::entrega(dir.string(), 0755);
    ComoUsuarioComum::entrega(path, 0200);  // writable, not readable
    {
        ComoUsuarioComum usuario;
        EXPECT_EQ(load(path).state, FileText::State::Unreadable);
        EXPECT_EQ(readString(path, "Sistema", "Porta"), "");
        EXPECT_FALSE(writeString(path, "MFD", "Impressora", "1"));
        EXPECT_FALSE(deleteKey(path, "Sistema", "Porta"));
    }
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(load(path).text, original);
    EXPECT_EQ(load(file("ausente.ini")).state, FileText::State::Missing);
}

TEST_F(TempDir, AWriteFollowsASymbolicLinkAndKeepsThePermissionBits) {
    fs::create_directories(dir / "real");
    const std::string real = file("real/KESAFI32.ini");
    ASSERT_TRUE(replaceFile(real, "[Sistema]\r\nPorta=USB\r\n"));
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real/KESAFI32.ini", dir / "KESAFI32.ini");
    ASSERT_TRUE(writeString(file("KESAFI32.ini"), "Sistema", "Porta", "Default"));
    EXPECT_TRUE(fs::is_symlink(dir / "KESAFI32.ini"));
    EXPECT_EQ(load(real).text, "[Sistema]\r\nPorta=Default\r\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // A link to a file not yet made makes that file.
    fs::create_symlink("real/Novo.ini", dir / "Novo.ini");
    ASSERT_TRUE(writeString(file("Novo.ini"), "a", "k", "1"));
    EXPECT_TRUE(fs::is_symlink(dir / "Novo.ini"));
    EXPECT_EQ(load(file("real/Novo.ini")).text, "[a]\r\nk=1\r\n");
}

TEST_F(TempDir, AFileInAReadOnlyFolderIsRewrittenInPlace) {
    const std::string path = file("KESAFI32.ini");
    const std::string longo = "[Sistema]\r\nPorta=USB\r\nPath=/opt/zentora/\r\n";
    ASSERT_TRUE(replaceFile(path, longo));
    ComoUsuarioComum::entrega(path, 0640);
    ComoUsuarioComum::entrega(dir.string(), 0555);
    {
        ComoUsuarioComum usuario;
        ASSERT_TRUE(writeString(path, "Sistema", "Porta", "Default"));  // longer
        ASSERT_TRUE(writeString(path, "Sistema", "Path", "/"));         // shorter
        EXPECT_FALSE(writeString(file("Outro.ini"), "a", "k", "1"));    // no new file there
    }
    EXPECT_EQ(load(path).text, "[Sistema]\r\nPorta=Default\r\nPath=/\r\n");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    fs::permissions(dir, fs::perms::owner_all);
}

TEST_F(TempDir, FilesAreUtf8AndAFileMadeOnWindowsIsReadAsWindows1252) {
    const std::string path = file("KESAFI32.ini");
    ASSERT_TRUE(writeString(path, "Sistema", "Path", "/home/joão/łódź/Zentora/"));
    EXPECT_EQ(readString(path, "Sistema", "Path"), "/home/joão/łódź/Zentora/");
    // Windows-1252 bytes ("Relat\xF3rio", "\x80") are no UTF-8: the file reads as that
    // code page and is written back as UTF-8.
    ASSERT_TRUE(replaceFile(path, "[Zentora3]\r\nCadastro=C:\\Relat\xF3rios \x80\r\n"));
    EXPECT_EQ(readString(path, "Zentora3", "Cadastro"), "C:\\Relat\xC3\xB3rios \xE2\x82\xAC");
    ASSERT_TRUE(writeString(path, "Zentora3", "AbreTXT", "Notepad"));
    EXPECT_EQ(load(path).text, "[Zentora3]\r\nCadastro=C:\\Relat\xC3\xB3rios \xE2\x82\xAC\r\nAbreTXT=Notepad\r\n");
    // A byte-order mark does not hide the first section.
    ASSERT_TRUE(replaceFile(path, "\xEF\xBB\xBF[Sistema]\r\nPorta=USB\r\n"));
    EXPECT_EQ(readString(path, "sistema", "porta"), "USB");
}

TEST_F(TempDir, EachLineIsReadInItsOwnEncoding) {
    // A UTF-8 registration file with one comment line saved by a Windows
    // editor: only that line is Windows-1252.
    const std::string path = file("Cadastro.ntf");
    ASSERT_TRUE(replaceFile(path,
                            "\xEF\xBB\xBF[FormaPagamento]\r\n; revis\xE3o de mar\xE7o\r\n"
                            "2=\"Cart\xC3\xA3o          \",V\r\r\n[RelGerencial]\n2=\"Relat\xF3rio Caixa \"\n"
                            "3=\"Gr\xC3\xA1tis           \""));
    EXPECT_EQ(readString(path, "FormaPagamento", "2"), "\"Cart\xC3\xA3o          \",V");
    EXPECT_EQ(readString(path, "RelGerencial", "2"), "Relat\xC3\xB3rio Caixa ");
    EXPECT_EQ(readString(path, "RelGerencial", "3"), "Gr\xC3\xA1tis           ");
    // Written back as UTF-8 once, never encoded twice.
    ASSERT_TRUE(writeString(path, "FormaPagamento", "3", "x"));
    EXPECT_EQ(load(path).text,
              "[FormaPagamento]\r\n; revis\xC3\xA3o de mar\xC3\xA7o\r\n2=\"Cart\xC3\xA3o          \",V\r\n3=x\r\n\r\n"
              "[RelGerencial]\r\n2=\"Relat\xC3\xB3rio Caixa \"\r\n3=\"Gr\xC3\xA1tis           \"\r\n");
    ASSERT_TRUE(writeString(path, "FormaPagamento", "3", "y"));
    EXPECT_EQ(readString(path, "FormaPagamento", "2"), "\"Cart\xC3\xA3o          \",V");
}

TEST(IniDocument, ParsedOnceForManyLookupsAndEdits) {
    Document d(kSample);
    EXPECT_TRUE(d.hasSection("zentora3"));
    EXPECT_FALSE(d.hasSection("Porta"));
    EXPECT_EQ(d.value("Zentora3", "AbreTXT"), "Notepad");
    d.set("Zentora3", "AbreTXT", "Wordpad");
    d.set("Nova", "k", "v");
    d.remove("Sistema", "Status");
    EXPECT_EQ(d.value("zentora3", "abretxt"), "Wordpad");
    EXPECT_FALSE(d.has("Sistema", "Status"));
    EXPECT_EQ(d.text(), withValue(withoutKey(withValue(kSample, "Zentora3", "AbreTXT", "Wordpad"), "Sistema", "Status"),
                                  "Nova", "k", "v"));
}

TEST(SystemText, TellsUtf8FromWindows1252) {
    EXPECT_TRUE(validUtf8("Jo\xC3\xA3o \xE2\x82\xAC \xF0\x9F\x98\x80"));
    for (const char* ruim : {"Jo\xE3o", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80"})
        EXPECT_FALSE(validUtf8(ruim)) << testing::PrintToString(ruim);
    EXPECT_EQ(utf8FromCp1252("\x80\x81\x9F\xA0\xFF"), "\xE2\x82\xAC\xC2\x81\xC5\xB8\xC2\xA0\xC3\xBF");
}

// A process killed at any moment of a write leaves either the old or the
// new file, whole.
TEST_F(TempDir, KilledWriterNeverLeavesATornFile) {
    const std::string path = file("KESAFI32.ini");
    const std::string big(200000, 'x');
    ASSERT_TRUE(writeString(path, "a", "k", "0" + big));
    std::mt19937 rng(42);
    for (int round = 0; round < 12; ++round) {
        int progress[2];
        ASSERT_EQ(::pipe(progress), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(progress[0]);
            for (int i = 1;; ++i) {
                writeString(path, "a", "k", std::to_string(i % 10) + big);
                if (::write(progress[1], "w", 1) != 1) ::_exit(1);
            }
        }
        ::close(progress[1]);
        // Let the child finish a few writes, then kill it inside the next one
        // or anywhere around it.
        char c;
        for (unsigned n = rng() % 4 + 1; n > 0; --n) ASSERT_EQ(::read(progress[0], &c, 1), 1);
        ::kill(child, SIGKILL);
        ::close(progress[0]);
        ::waitpid(child, nullptr, 0);
        const std::string value = readString(path, "a", "k");
        ASSERT_EQ(value.size(), big.size() + 1) << "round " << round;
        ASSERT_EQ(value.substr(1), big);
    }
}
