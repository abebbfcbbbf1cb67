#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "ini_core.h"

using namespace platform::ini;
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

TEST(IniWrite, ReplacesInPlaceAndKeepsEverythingElse) {
    const std::string out = withValue(kSample, "zentora3", "ABRETXT", "Wordpad");
    EXPECT_EQ(valueIn(out, "Zentora3", "AbreTXT"), "Wordpad");
    // Only that line changed.
    std::string expected = kSample;
    expected.replace(expected.find("AbreTXT=\"Notepad\""), 17, "ABRETXT=Wordpad");
    EXPECT_EQ(out, expected);
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
    EXPECT_EQ(readFile(path), "[Zentora3]\r\nInterface=Aluminium\r\nAbreTXT=Notepad\r\n");
}

TEST_F(TempDir, RefusedWritesLeaveTheFileAsItWas) {
    EXPECT_FALSE(writeString(file("sem pasta/x.ini"), "a", "b", "c"));
    fs::create_directories(dir / "pasta.ini");
    EXPECT_FALSE(writeString(file("pasta.ini"), "a", "b", "c"));
    EXPECT_TRUE(fs::is_directory(dir / "pasta.ini"));
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
