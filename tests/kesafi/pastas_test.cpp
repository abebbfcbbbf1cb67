// Folder names beyond ASCII: the settings file is UTF-8, and one saved on
// Windows (Windows-1252) still names the same folders; the texts of the
// printer stay Windows-1252.
#include "apoio.h"
#include "profile/ini.h"

using namespace kesafi_teste;

namespace {

using Pastas = Impressora;

TEST_F(Pastas, TheCaptureGoesToAnAccentedFolderWhateverTheFilesCodePage) {
    const std::filesystem::path destino = pasta / "joão" / "Łódź";
    std::filesystem::create_directories(destino);
    localiza();

    escreveIni("Sistema", "Path", (destino.string() + "/").c_str());
    ASSERT_EQ(Kestrona_FI_LeituraXSerial(), 1);
    EXPECT_NE(leArquivo(destino / "Retorno.txt").find("Opera\xE7\xE3o"), std::string::npos);
    std::filesystem::remove(destino / "Retorno.txt");

    // The same file as Windows saves it: "joão" in Windows-1252 ("Ł" has no
    // place there, so this one names the folder above).
    const std::string windows = pasta.string() + "/jo\xE3o/";
    ASSERT_TRUE(profile::replaceFile(ini.string(), profile::withValue(leArquivo(ini), "Sistema", "Path", windows)));
    ASSERT_EQ(Kestrona_FI_LeituraXSerial(), 1);
    EXPECT_NE(leArquivo(pasta / "joão" / "Retorno.txt").find("LEITURA X"), std::string::npos);
}

}  // namespace
