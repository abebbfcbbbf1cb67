// Port, identity, status bytes, forced answers and garbage buffers.
#include <cstring>

#include "apoio.h"

namespace kesafi_teste {
namespace {

TEST_F(Impressora, LocatesOnUsbAndReadsIdentity) {
    localiza();
    std::string serie = espacos(20), modelo = espacos(11), firmware = espacos(7), versao = espacos(9);
    EXPECT_EQ(Kestrona_FI_NumeroSerieMFD(serie.data()), 1);
    EXPECT_EQ(serie, "VF080000000000010247");
    EXPECT_EQ(Kestrona_FI_ModeloImpressora(modelo.data()), 1);
    EXPECT_EQ(modelo, "VF-80 TH   ");
    EXPECT_EQ(Kestrona_FI_VersaoFirmwareMFD(firmware.data()), 1);
    EXPECT_EQ(firmware.substr(0, 6), "010200");
    EXPECT_EQ(Kestrona_FI_VersaoDll(versao.data()), 1);
    EXPECT_EQ(versao.size(), 9u);
    EXPECT_EQ(versao.find(' '), std::string::npos);
    const Status s = status();
    EXPECT_EQ(s.ack, 6);
    EXPECT_EQ(s.st1 + s.st2 + s.st3, 0);
}

}  // namespace
}  // namespace kesafi_teste
