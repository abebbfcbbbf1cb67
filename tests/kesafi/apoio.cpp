#include "apoio.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <random>
#include <sstream>

#include <sqlite3.h>

#include "ead/chaves.h"
#include "openssl_linha.h"
#include "profile/ini.h"

namespace kesafi_teste {

Status status() {
    Status s;
    EXPECT_EQ(Kestrona_FI_RetornoImpressoraMFD(&s.ack, &s.st1, &s.st2, &s.st3), 1);
    return s;
}

void recusado(int retorno, int st1, int st2, int st3) {
    EXPECT_EQ(retorno, -27);
    EXPECT_EQ(status(), (Status{KESAFI_ACK, st1, st2, st3}));
}

void st3(int esperado) {
    const Status s = status();
    EXPECT_EQ(s.ack, KESAFI_ACK);
    EXPECT_EQ(s.st3, esperado);
}

std::string espacos(size_t largura) { return std::string(largura, ' '); }

long long contador(const char* nome) {
    long long v = -1;
    EXPECT_EQ(KesafiVirtual_LeContador(nome, &v), 1) << nome;
    return v;
}

std::string fita(int documentos) {
    std::string out(1 << 20, '\0');
    const int n = KesafiVirtual_LeFita(documentos, out.data(), static_cast<int>(out.size()));
    EXPECT_GE(n, 0);
    out.resize(static_cast<size_t>(std::min<int>(n, static_cast<int>(out.size()) - 1)));
    return out;
}

std::string leArquivo(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void confereAssinatura(const std::filesystem::path& arquivo, const std::filesystem::path& trabalho) {
    SCOPED_TRACE(arquivo.string());
    EXPECT_EQ(validateFile(arquivo.c_str(), ead::kChave1, ead::kChave2), 1);
    const std::string bytes = leArquivo(arquivo);
    std::filesystem::create_directories(trabalho);
    std::string recuperado, esperado, erros;
    ASSERT_TRUE(assinatura_teste::blocosOpenssl(trabalho, bytes, ead::kChave1, recuperado, esperado, &erros)) << erros;
    EXPECT_EQ(recuperado, esperado);

    std::string alterado = bytes;
    alterado[bytes.size() / 3] ^= 0x01;
    const std::filesystem::path copia = trabalho / "alterado.bin";
    std::ofstream(copia, std::ios::binary) << alterado;
    EXPECT_EQ(validateFile(copia.c_str(), ead::kChave1, ead::kChave2), 0);
    if (assinatura_teste::blocosOpenssl(trabalho, alterado, ead::kChave1, recuperado, esperado, &erros)) {
        EXPECT_NE(recuperado, esperado);
    }
}

namespace {
std::string formataDia(int dias, const char* formato) {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    tm.tm_mday += dias;
    tm.tm_hour = 12;
    std::mktime(&tm);
    char buf[16];
    std::strftime(buf, sizeof buf, formato, &tm);
    return buf;
}
}  // namespace

std::string diaDdmmyyyy(int dias) { return formataDia(dias, "%d%m%Y"); }
std::string diaDdmmyy(int dias) { return formataDia(dias, "%d%m%y"); }

void Impressora::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::random_device rd;
    pasta = std::filesystem::temp_directory_path() /
            ("kesafi_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" + std::to_string(rd()));
    std::filesystem::create_directories(pasta);
    ini = pasta / "KESAFI32.ini";
    escreveIni("MFD", "Impressora", "1");
    escreveIni("Sistema", "Path", (pasta.string() + "/").c_str());
    escreveIni("Sistema", "Porta", "USB");
    ASSERT_EQ(KesafiVirtual_DefinePastaBase(pasta.c_str()), 1);
    ASSERT_EQ(KesafiVirtual_CriaImpressora("", 0), 1);
    relogio("100000");
}

void Impressora::TearDown() {
    Kestrona_FI_FechaPortaSerial();
    KesafiVirtual_LimpaForcados();
    std::error_code ec;
    std::filesystem::remove_all(pasta, ec);
}

void Impressora::localiza(const char* porta) {
    escreveIni("Sistema", "Porta", porta);
    Kestrona_FI_SelecionaIniLocal();
    Kestrona_FI_ReloadINIFile();
    ASSERT_EQ(Kestrona_FI_AbrePortaSerial(), 1);
    ASSERT_EQ(Kestrona_FI_HabilitaDesabilitaRetornoEstendidoMFD("1"), 1);
}

void Impressora::escreveIni(const char* secao, const char* chave, const char* valor) {
    ASSERT_TRUE(profile::writeString(ini.string(), secao, chave, valor));
}

void Impressora::relogio(const char* hhmmss, int dias) {
    ASSERT_EQ(KesafiVirtual_FixaRelogio((diaDdmmyyyy(dias) + hhmmss).c_str()), 1);
}

void Impressora::alteraMemoria(const std::string& comandos) {
    ASSERT_EQ(KesafiVirtual_DefinePastaBase(pasta.c_str()), 1);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(arquivoMemoria().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    char* erro = nullptr;
    EXPECT_EQ(sqlite3_exec(db, comandos.c_str(), nullptr, nullptr, &erro), SQLITE_OK) << (erro ? erro : "");
    sqlite3_free(erro);
    sqlite3_close(db);
}

void ImpressoraComRelatorios::SetUp() {
    Impressora::SetUp();
    if (HasFatalFailure()) return;
    relatorios = pasta / "Relatorios";
    std::filesystem::create_directories(relatorios);
    escreveIni("Sistema", "Path", relatorios.c_str());
    localiza();
}

std::string ImpressoraComRelatorios::data(int dias) {
    const std::string d = diaDdmmyy(dias);
    return d.substr(0, 2) + "/" + d.substr(2, 2) + "/" + d.substr(4, 2);
}

std::vector<std::filesystem::path> ImpressoraComRelatorios::arquivos(const std::string& prefixo) const {
    std::vector<std::filesystem::path> out;
    for (const auto& e : std::filesystem::directory_iterator(relatorios))
        if (e.path().filename().string().rfind(prefixo, 0) == 0) out.push_back(e.path());
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace kesafi_teste
