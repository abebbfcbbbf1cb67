// Opening the printer's memory: a memory that cannot be read answers as a
// printer with a damaged fiscal memory, an older one is upgraded, a second
// process finds the port in use, and a full disk fails the opening; none of
// them changes a byte of the memory (checksums before and after).
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>

#include "apoio.h"

namespace kesafi_teste {
namespace {

namespace fs = std::filesystem;

// FNV-1a of a file's bytes, with its size.
std::string soma(const fs::path& arquivo) {
    const std::string bytes = leArquivo(arquivo);
    uint64_t h = 1469598103934665603ULL;
    for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ULL;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%zu:%016llx", bytes.size(), static_cast<unsigned long long>(h));
    return buf;
}

// Checksums of the files that hold the memory: every file of its folder but
// SQLite's shared-memory index and the lock; an empty log holds nothing and
// counts as none.
std::map<std::string, std::string> somas(const fs::path& pasta) {
    std::map<std::string, std::string> out;
    for (const auto& f : fs::directory_iterator(pasta)) {
        const std::string nome = f.path().filename().string();
        if (nome == "memoria.db-shm" || nome == "memoria.trava") continue;
        if (nome == "memoria.db-wal" && fs::file_size(f.path()) == 0) continue;
        out[nome] = soma(f.path());
    }
    return out;
}

// While it lives, no file of this process grows by a single byte: the
// writes fail as on a full disk.
class DiscoCheio {
public:
    DiscoCheio() {
        getrlimit(RLIMIT_FSIZE, &antes_);
        sinal_ = signal(SIGXFSZ, SIG_IGN);
        rlimit cheio = antes_;
        cheio.rlim_cur = 0;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &cheio), 0);
    }
    ~DiscoCheio() {
        setrlimit(RLIMIT_FSIZE, &antes_);
        signal(SIGXFSZ, sinal_);
    }

private:
    rlimit antes_{};
    void (*sinal_)(int) = nullptr;
};

class Memoria : public Impressora {
protected:
    fs::path memoria() const { return pasta / "Impressora Virtual"; }
    fs::path arquivo() const { return memoria() / "memoria.db"; }

    // Closes the port and every file of the memory in this process.
    void solta() { ASSERT_EQ(KesafiVirtual_DefinePastaBase(pasta.c_str()), 1); }

    void novaImpressora() {
        ASSERT_EQ(KesafiVirtual_CriaImpressora("", 0), 1);
        solta();
    }

    void sql(const std::string& comandos) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open_v2(arquivo().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        char* erro = nullptr;
        EXPECT_EQ(sqlite3_exec(db, comandos.c_str(), nullptr, nullptr, &erro), SQLITE_OK) << (erro ? erro : "");
        sqlite3_free(erro);
        sqlite3_close(db);
    }

    long long consulta(const char* pergunta) {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open_v2(arquivo().c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
        sqlite3_stmt* s = nullptr;
        long long v = -1;
        if (sqlite3_prepare_v2(db, pergunta, -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
            v = sqlite3_column_int64(s, 0);
        sqlite3_finalize(s);
        sqlite3_close(db);
        return v;
    }

    // The port opens; the printer answers from its firmware and refuses
    // everything that needs its fiscal memory.
    void confirmaMemoriaDanificada() {
        localiza();
        std::string modelo = espacos(11), firmware = espacos(7);
        EXPECT_EQ(Kestrona_FI_ModeloImpressora(modelo.data()), 1);
        EXPECT_EQ(modelo, "VF-80 TH   ");
        EXPECT_EQ(Kestrona_FI_VersaoFirmwareMFD(firmware.data()), 1);
        std::string serie = espacos(20), coo = espacos(6);
        EXPECT_EQ(Kestrona_FI_NumeroSerieMFD(serie.data()), -27);
        EXPECT_EQ(serie, espacos(20));
        const Status s = status();
        EXPECT_EQ(s.ack, 6);
        EXPECT_EQ(s.st1, 16);  // "ECF em Erro"
        EXPECT_EQ(s.st2, 1);   // "Comando Não Executado"
        EXPECT_EQ(s.st3, 123);
        int flags = 0;
        EXPECT_EQ(Kestrona_FI_NumeroCupom(coo.data()), -27);
        EXPECT_EQ(Kestrona_FI_FlagsFiscais(&flags), -27);
        EXPECT_EQ(Kestrona_FI_LeituraX(), -27);
        EXPECT_EQ(Kestrona_FI_ReducaoZ(nullptr, nullptr), -27);
        EXPECT_EQ(Kestrona_FI_ProgramaAliquota("1000", 0), -27);
        EXPECT_EQ(status().st3, 123);
        EXPECT_EQ(KesafiVirtual_AdicionaVendas(1), -27);
        long long valor = 0;
        EXPECT_EQ(KesafiVirtual_LeContador("COO", &valor), -1);
        EXPECT_EQ(Kestrona_FI_FechaPortaSerial(), 1);
    }

    // Opens a memory that cannot be read: the printer answers with a damaged
    // fiscal memory, says why on the standard error output, and leaves the
    // files as they were.
    void abreIlegivel(const std::string& motivo) {
        SCOPED_TRACE(motivo);
        const auto antes = somas(memoria());
        testing::internal::CaptureStderr();
        confirmaMemoriaDanificada();
        const std::string erro = testing::internal::GetCapturedStderr();
        EXPECT_NE(erro.find(arquivo().string()), std::string::npos) << erro;
        EXPECT_NE(erro.find(motivo), std::string::npos) << erro;
        solta();
        EXPECT_EQ(somas(memoria()), antes);
    }
};

TEST_F(Memoria, DamagedFilesAnswerAsAPrinterWithADamagedFiscalMemory) {
    novaImpressora();
    {
        std::fstream f(arquivo(), std::ios::in | std::ios::out | std::ios::binary);
        f.write("nao e uma memoria", 16);
    }
    abreIlegivel("file is not a database");

    novaImpressora();
    fs::resize_file(arquivo(), fs::file_size(arquivo()) / 2);
    abreIlegivel("malformed");

    // The log of commands not yet copied into the database, without the database.
    novaImpressora();
    fs::remove(arquivo());
    std::ofstream(memoria() / "memoria.db-wal", std::ios::binary) << std::string(4096, 'x');
    abreIlegivel("-wal");
}

TEST_F(Memoria, MalformedValuesUnknownLayoutsAndNewerVersionsAreUnreadable) {
    const std::pair<const char*, const char*> casos[] = {
        {"UPDATE estado SET coo = 'abc'", "coo"},
        {"UPDATE estado SET crz = -3", "crz"},
        {"UPDATE estado SET acumulados = 'VB=1200;T01=x;'", "acumulados"},
        {"DELETE FROM estado", "estado"},
        {"UPDATE aliquotas SET valor = 'x' WHERE slot = 1", "valor"},
        {"UPDATE reducoes SET dados = 'curto' WHERE crz = (SELECT max(crz) FROM reducoes)", "dados"},
        {"ALTER TABLE estado ADD COLUMN outra INTEGER", "tabelas"},
        {"PRAGMA user_version = 2", "versão 2"},
    };
    for (const auto& [dano, motivo] : casos) {
        SCOPED_TRACE(dano);
        novaImpressora();
        sql(dano);
        abreIlegivel(motivo);
    }
}

TEST_F(Memoria, AMalformedRecordFoundByACommandDamagesThePrinterFromThenOn) {
    solta();
    sql("UPDATE reducoes SET dados = 'curto' WHERE crz = 1");
    const auto antes = somas(memoria());
    localiza();
    std::string coo = espacos(6);
    ASSERT_EQ(Kestrona_FI_NumeroCupom(coo.data()), 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Kestrona_FI_LeituraMemoriaFiscalReducaoMFD("0001", "0002", "c"), -27);
    const std::string erro = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status().st3, 123);
    EXPECT_NE(erro.find(arquivo().string()), std::string::npos) << erro;
    EXPECT_EQ(Kestrona_FI_NumeroCupom(coo.data()), -27);
    EXPECT_EQ(Kestrona_FI_LeituraX(), -27);
    solta();
    EXPECT_EQ(somas(memoria()), antes);
}

TEST_F(Memoria, AnUnversionedMemoryIsUpgradedAndKeepsItsPrinter) {
    solta();
    EXPECT_EQ(consulta("PRAGMA user_version"), 1);
    // As memories were left before they carried a version.
    sql("PRAGMA user_version = 0");
    const long long coo = consulta("SELECT coo FROM estado");
    localiza();
    std::string numero = espacos(6), serie = espacos(20);
    ASSERT_EQ(Kestrona_FI_NumeroCupom(numero.data()), 1);
    EXPECT_EQ(std::stoll(numero), coo);
    ASSERT_EQ(Kestrona_FI_NumeroSerieMFD(serie.data()), 1);
    EXPECT_EQ(serie, "VF080000000000010247");
    solta();
    EXPECT_EQ(consulta("PRAGMA user_version"), 1);
    EXPECT_EQ(consulta("SELECT coo FROM estado"), coo);
}

TEST_F(Memoria, OnlyAFolderWithoutAMemoryGetsANewPrinter) {
    // What an interrupted creation leaves: an empty file, or a database without tables.
    for (const char* resto : {"", "PRAGMA journal_mode=WAL"}) {
        SCOPED_TRACE(resto);
        solta();
        fs::remove_all(memoria());
        fs::create_directories(memoria());
        std::ofstream(arquivo(), std::ios::binary).flush();
        if (*resto) sql(resto);
        localiza();
        std::string serie = espacos(20);
        EXPECT_EQ(Kestrona_FI_NumeroSerieMFD(serie.data()), 1);
        EXPECT_EQ(serie, "VF080000000000010247");
        EXPECT_GT(contador("CRZ"), 0);
    }
}

TEST_F(Memoria, ASecondProcessFindsThePortInUseUntilTheFirstOneEnds) {
    solta();
    int canal[2], ordem[2];
    ASSERT_EQ(pipe(canal), 0);
    ASSERT_EQ(pipe(ordem), 0);
    const pid_t filho = fork();
    ASSERT_GE(filho, 0);
    if (filho == 0) {
        // The first process: opens the port and keeps it until it is killed.
        close(canal[0]);
        close(ordem[1]);
        const int r = KesafiVirtual_DefinePastaBase(pasta.c_str()) == 1 ? Kestrona_FI_AbrePortaSerial() : -100;
        if (write(canal[1], &r, sizeof r) != static_cast<ssize_t>(sizeof r)) _exit(3);
        char c;
        while (read(ordem[0], &c, 1) > 0) {
        }
        _exit(0);
    }
    close(canal[1]);
    close(ordem[0]);
    int r = 0;
    ASSERT_EQ(read(canal[0], &r, sizeof r), static_cast<ssize_t>(sizeof r));
    ASSERT_EQ(r, 1);
    const long long coo = consulta("SELECT coo FROM estado");
    const auto antes = somas(memoria());

    EXPECT_EQ(Kestrona_FI_AbrePortaSerial(), -5);
    EXPECT_EQ(status().ack, 0);
    EXPECT_EQ(contador("PortaAberta"), 0);
    std::string numero = espacos(6);
    EXPECT_EQ(Kestrona_FI_NumeroCupom(numero.data()), -5);
    EXPECT_EQ(KesafiVirtual_AdicionaVendas(1), -1);
    EXPECT_EQ(KesafiVirtual_CriaImpressora("", 5), -1);
    EXPECT_EQ(somas(memoria()), antes);

    // The system releases the lock of a process that dies.
    kill(filho, SIGKILL);
    int estado = 0;
    waitpid(filho, &estado, 0);
    close(canal[0]);
    close(ordem[1]);
    ASSERT_EQ(Kestrona_FI_AbrePortaSerial(), 1);
    ASSERT_EQ(Kestrona_FI_NumeroCupom(numero.data()), 1);
    EXPECT_EQ(std::stoll(numero), coo);
}

TEST_F(Memoria, AFullDiskAtOpeningFailsAndLeavesTheMemoryAsItWas) {
    solta();
    const long long coo = consulta("SELECT coo FROM estado");
    auto antes = somas(memoria());
    {
        DiscoCheio cheio;
        EXPECT_LT(Kestrona_FI_AbrePortaSerial(), 0);
    }
    EXPECT_EQ(somas(memoria()), antes);
    EXPECT_EQ(contador("PortaAberta"), 0);
    localiza();
    std::string numero = espacos(6);
    ASSERT_EQ(Kestrona_FI_NumeroCupom(numero.data()), 1);
    EXPECT_EQ(std::stoll(numero), coo);

    // An unversioned memory whose index files are already in place: the
    // upgrade itself meets the full disk and is undone.
    solta();
    sql("PRAGMA user_version = 0");
    sqlite3* outro = nullptr;
    ASSERT_EQ(sqlite3_open(arquivo().c_str(), &outro), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(outro, "SELECT count(*) FROM estado", nullptr, nullptr, nullptr), SQLITE_OK);
    antes = somas(memoria());
    {
        DiscoCheio cheio;
        EXPECT_LT(Kestrona_FI_AbrePortaSerial(), 0);
    }
    EXPECT_EQ(somas(memoria()), antes);
    sqlite3_close(outro);
    EXPECT_EQ(consulta("PRAGMA user_version"), 0);
    localiza();
    ASSERT_EQ(Kestrona_FI_NumeroCupom(numero.data()), 1);
    EXPECT_EQ(std::stoll(numero), coo);
    solta();
    EXPECT_EQ(consulta("PRAGMA user_version"), 1);

    // A new printer that meets a full disk is not half made: it is made whole
    // at the next opening.
    escreveIni("Virtual", "Memoria", "nova");
    {
        DiscoCheio cheio;
        EXPECT_LT(Kestrona_FI_AbrePortaSerial(), 0);
    }
    localiza();
    std::string serie = espacos(20);
    ASSERT_EQ(Kestrona_FI_NumeroSerieMFD(serie.data()), 1);
    EXPECT_EQ(serie, "VF080000000000010247");
}

}  // namespace
}  // namespace kesafi_teste
