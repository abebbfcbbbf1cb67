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
#include <ctime>
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

// A memory as version 1 of the library left it: the day's totals in one text
// column of codes, each reduction as its answer record.  Today's movement is
// open; its last document is a receipt of 27,00 paid with method 2.
const char* const kEsquemaV1 = R"sql(
CREATE TABLE estado(
  id INTEGER PRIMARY KEY CHECK (id = 1),
  serie TEXT NOT NULL, semente INTEGER NOT NULL,
  coo INTEGER NOT NULL, crz INTEGER NOT NULL, cro INTEGER NOT NULL, gnf INTEGER NOT NULL,
  ccf INTEGER NOT NULL, grg INTEGER NOT NULL, cdc INTEGER NOT NULL, cfc INTEGER NOT NULL,
  cnc INTEGER NOT NULL, cfd INTEGER NOT NULL, gt INTEGER NOT NULL,
  deslocamento INTEGER NOT NULL, fixo INTEGER, verao INTEGER NOT NULL,
  movimento INTEGER NOT NULL, bloqueado INTEGER NOT NULL, gaveta_ate INTEGER NOT NULL,
  guilhotina INTEGER NOT NULL, corte_total INTEGER NOT NULL,
  espaco_linhas INTEGER NOT NULL, linhas_cupons INTEGER NOT NULL, offline INTEGER NOT NULL,
  bytes_mfd INTEGER NOT NULL, relatorio_aberto INTEGER NOT NULL,
  ultimo_doc_hora INTEGER NOT NULL, ultimo_doc_tipo TEXT NOT NULL,
  acumulados TEXT NOT NULL);
CREATE TABLE aliquotas(slot INTEGER PRIMARY KEY, valor INTEGER NOT NULL, iss INTEGER NOT NULL);
CREATE TABLE formas(indice INTEGER PRIMARY KEY, nome BLOB NOT NULL, vinculada INTEGER NOT NULL);
CREATE TABLE totalizadores(indice INTEGER PRIMARY KEY, nome BLOB NOT NULL);
CREATE TABLE relatorios(indice INTEGER PRIMARY KEY, nome BLOB NOT NULL);
CREATE TABLE documentos(id INTEGER PRIMARY KEY, coo INTEGER NOT NULL, tipo TEXT NOT NULL,
  data_hora INTEGER NOT NULL, texto BLOB NOT NULL);
CREATE TABLE reducoes(crz INTEGER PRIMARY KEY, coo INTEGER NOT NULL, data_movimento INTEGER NOT NULL,
  data_hora INTEGER NOT NULL, dados BLOB NOT NULL);
CREATE INDEX reducoes_data ON reducoes(data_movimento);
)sql";

std::string n(long long v, size_t largura) {
    std::string s = std::to_string(v);
    return std::string(largura > s.size() ? largura - s.size() : 0, '0') + s;
}

// A version 1 reduction record: every field at the position version 1 wrote
// it, each value different.
std::string registroV1(int crz, int coo, const std::string& ddmmyyMovimento) {
    std::string r(KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO, ' ');
    auto put = [&](size_t pos, const std::string& v) { r.replace(pos - 1, v.size(), v); };
    put(1, "00,");
    put(4, "0001,");
    put(9, n(crz, 4) + ",");
    put(14, n(coo, 6) + ",");
    put(21, n(9, 6) + "," + n(20, 6) + "," + n(1, 6) + "," + n(0, 6) + "," + n(0, 4) + "," + n(1, 4) + ",");
    put(59, "180012000500" + std::string(52, '0') + ",TTS" + std::string(13, '0') + ",");
    put(141, n(8800, 18) + ",");
    put(160, std::string(140, '0') + ",0000,0000,0000,");
    put(316, n(113456, 18) + ",");
    put(335, n(5000, 14) + n(1000, 14) + n(800, 14) + std::string(14 * 13, '0') + ",");
    long long valores[] = {700, 600, 500, 400, 300, 200, 111, 0, 0, 0, 222, 0};
    for (int i = 0; i < 12; ++i) put(560 + 15 * static_cast<size_t>(i), n(valores[i], 14) + ",");
    put(740, n(3, 14) + std::string(14 * 27, '0') + ",");
    put(1133, n(1500, 14) + "," + n(2500, 14) + "," + n(0, 14) + "," + n(0, 14) + "," + n(50, 14) + ",");
    put(1208, "220000," + ddmmyyMovimento + "," + std::string(50, '0') + ",");
    put(1273, ddmmyyMovimento);
    return r;
}

class Memoria : public Impressora {
protected:
    fs::path memoria() const { return pasta / "Impressora Virtual"; }
    fs::path arquivo() const { return arquivoMemoria(); }

    // Closes the port and every file of the memory in this process.
    void solta() { ASSERT_EQ(KesafiVirtual_DefinePastaBase(pasta.c_str()), 1); }

    void novaImpressora() {
        ASSERT_EQ(KesafiVirtual_CriaImpressora("", 0), 1);
        solta();
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

    // Replaces the memory by one of version 1 (its user_version `versao`: 1,
    // or 0 as memories were left before they carried a version).
    void memoriaVersao1(int versao) {
        solta();
        fs::remove_all(memoria());
        fs::create_directories(memoria());
        auto aaaammdd = [](int dias) {
            const std::string d = diaDdmmyyyy(dias);
            return d.substr(4, 4) + d.substr(2, 2) + d.substr(0, 2);
        };
        // Wall seconds of 09:00 today, as the library counts them.
        const long long nove = (std::time(nullptr) + gmtoff()) / 86400 * 86400 + 9 * 3600;
        std::ofstream(arquivo(), std::ios::binary).flush();
        alteraMemoria(
            std::string("PRAGMA journal_mode=WAL;") + kEsquemaV1 +
            "INSERT INTO estado VALUES (1, 'VF080000000000099991', 0, 40, 2, 1, 10, 25, 1, 0, 1, 0, 0, 123456,"
            " 0, NULL, 0, " +
            aaaammdd(0) + ", 0, 0, 1, 1, 30, 8, 1, 5000, 0, " + std::to_string(nove) +
            ", 'CUPOM', 'VB=10000;T01=6000;T03=1000;F=2000;I=1000;DT=300;FP01=4000;FP02=5700;NF30=5000;NQ30=1;"
            "RG01=3;UC_ICMS=2700;UC_ISS=0;UC_FP=2;UC_V=2700;');"
            "INSERT INTO aliquotas VALUES (1, 1800, 0), (2, 1200, 0), (3, 500, 1);"
            "INSERT INTO formas VALUES (1, 'Dinheiro', 0), (2, 'Cartao Credito', 1);"
            "INSERT INTO totalizadores VALUES (29, 'Sangria'), (30, 'Suprimento');"
            "INSERT INTO relatorios VALUES (1, 'Relatorio Geral');"
            "INSERT INTO documentos(coo, tipo, data_hora, texto) VALUES"
            " (38, 'REDUCAO_Z', " +
            std::to_string(nove - 11 * 3600) +
            ", 'REDUCAO Z\r\n'),"
            " (39, 'NAO_FISCAL', " +
            std::to_string(nove - 3600) +
            ", 'SUPRIMENTO\r\n'),"
            " (40, 'CUPOM', " +
            std::to_string(nove) +
            ", 'CUPOM FISCAL\r\n');"
            "INSERT INTO reducoes VALUES (1, 20, " +
            aaaammdd(-2) + ", " + std::to_string(nove - 35 * 3600) + ", '" + registroV1(1, 20, diaDdmmyy(-2)) +
            "'),"
            " (2, 38, " +
            aaaammdd(-1) + ", " + std::to_string(nove - 11 * 3600) + ", '" + registroV1(2, 38, diaDdmmyy(-1)) +
            "');"
            "PRAGMA user_version = " +
            std::to_string(versao));
    }
    static long long gmtoff() {
        const std::time_t t = std::time(nullptr);
        std::tm tm{};
        localtime_r(&t, &tm);
        return tm.tm_gmtoff;
    }

    // The port opens; the printer answers from its firmware and refuses
    // everything that needs its fiscal memory.
    void confirmaMemoriaDanificada() {
        localiza();
        std::string modelo = espacos(KESAFI_LARGURA_MODELO), firmware = espacos(KESAFI_LARGURA_VERSAO_FIRMWARE);
        EXPECT_EQ(Kestrona_FI_ModeloImpressora(modelo.data()), 1);
        EXPECT_EQ(modelo, "VF-80 TH   ");
        EXPECT_EQ(Kestrona_FI_VersaoFirmwareMFD(firmware.data()), 1);
        std::string serie = espacos(KESAFI_LARGURA_NUMERO_SERIE), coo = espacos(KESAFI_LARGURA_COO);
        EXPECT_EQ(Kestrona_FI_NumeroSerieMFD(serie.data()), -27);
        EXPECT_EQ(serie, espacos(KESAFI_LARGURA_NUMERO_SERIE));
        EXPECT_EQ(status(), (Status{KESAFI_ACK, KESAFI_ST1_ECF_EM_ERRO, KESAFI_ST2_COMANDO_NAO_EXECUTADO,
                                    KESAFI_ST3_ERRO_NA_MEMORIA_FISCAL}));
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
        {"UPDATE estado SET venda_bruta = 'x'", "venda_bruta"},
        {"UPDATE estado SET verao = 7", "verao"},
        {"DELETE FROM estado", "estado"},
        {"UPDATE aliquotas SET valor = 'x' WHERE slot = 1", "valor"},
        {"UPDATE reducoes SET gt = 'x' WHERE crz = (SELECT max(crz) FROM reducoes)", "gt"},
        {"ALTER TABLE estado ADD COLUMN outra INTEGER", "tabelas"},
        {"PRAGMA user_version = 3", "versão 3"},
    };
    for (const auto& [dano, motivo] : casos) {
        SCOPED_TRACE(dano);
        novaImpressora();
        alteraMemoria(dano);
        abreIlegivel(motivo);
    }
}

TEST_F(Memoria, AMalformedRecordFoundByACommandDamagesThePrinterFromThenOn) {
    solta();
    alteraMemoria("UPDATE reducoes SET venda_bruta = 'x' WHERE crz = 1");
    const auto antes = somas(memoria());
    localiza();
    std::string coo = espacos(KESAFI_LARGURA_COO);
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

TEST_F(Memoria, AVersionOneMemoryIsUpgradedWithItsTotalsDocumentsAndLastReceipt) {
    for (int versao : {1, 0}) {
        SCOPED_TRACE(versao);
        memoriaVersao1(versao);
        localiza();
        relogio("100000");
        EXPECT_EQ(consulta("PRAGMA user_version"), 2);
        std::string numero = espacos(KESAFI_LARGURA_COO), serie = espacos(KESAFI_LARGURA_NUMERO_SERIE);
        ASSERT_EQ(Kestrona_FI_NumeroCupom(numero.data()), 1);
        EXPECT_EQ(numero, "000040");
        ASSERT_EQ(Kestrona_FI_NumeroSerieMFD(serie.data()), 1);
        EXPECT_EQ(serie, "VF080000000000099991");
        EXPECT_EQ(contador("CCF"), 25);
        EXPECT_EQ(contador("Documentos"), 3);

        // The last reduction, its fields where its record is read.
        std::string z = espacos(KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO);
        ASSERT_EQ(Kestrona_FI_DadosUltimaReducaoMFD(z.data()), 1);
        EXPECT_EQ(fatia(z, 9, 4), "0002");
        EXPECT_EQ(fatia(z, 14, 6), "000038");
        EXPECT_EQ(fatia(z, 28, 6), "000020");
        EXPECT_EQ(fatia(z, 316, 18), n(113456, 18));
        EXPECT_EQ(fatia(z, 335, 14), n(5000, 14));
        EXPECT_EQ(fatia(z, 650, 14), n(111, 14));
        EXPECT_EQ(fatia(z, 710, 14), n(222, 14));
        EXPECT_EQ(fatia(z, 740, 14), n(3, 14));
        EXPECT_EQ(fatia(z, 1133, 14), n(1500, 14));
        EXPECT_EQ(fatia(z, 1148, 14), n(2500, 14));
        EXPECT_EQ(fatia(z, 1193, 14), n(50, 14));
        EXPECT_EQ(fatia(z, 1273, 6), diaDdmmyy(-1));

        // The day's totals, by the answers that show them.
        std::string formas = espacos(KESAFI_LARGURA_FORMAS_PAGAMENTO),
                    naoFiscais = espacos(KESAFI_LARGURA_RECEBIMENTOS),
                    relatorios = espacos(KESAFI_LARGURA_RELATORIOS_GERENCIAIS);
        ASSERT_EQ(Kestrona_FI_VerificaFormasPagamento(formas.data()), 1);
        EXPECT_EQ(fatia(formas, 18, 20), n(4000, 20));
        EXPECT_EQ(fatia(formas, 58 + 18, 20), n(5700, 20));
        ASSERT_EQ(Kestrona_FI_VerificaRecebimentoNaoFiscalMFD(naoFiscais.data()), 1);
        EXPECT_EQ(fatia(naoFiscais, 34 * 29 + 21, 13), "0001,00005000");
        ASSERT_EQ(Kestrona_FI_VerificaRelatorioGerencialMFD(relatorios.data()), 1);
        EXPECT_EQ(fatia(relatorios, 1, 4), "0003");

        // The last receipt can still be cancelled: its amount leaves method 2.
        ASSERT_EQ(Kestrona_FI_CancelaCupom(), 1);
        ASSERT_EQ(Kestrona_FI_VerificaFormasPagamento(formas.data()), 1);
        EXPECT_EQ(fatia(formas, 58 + 18, 20), n(3000, 20));
        ASSERT_EQ(Kestrona_FI_ReducaoZ(nullptr, nullptr), 1);
        ASSERT_EQ(Kestrona_FI_DadosUltimaReducaoMFD(z.data()), 1);
        EXPECT_EQ(fatia(z, 9, 4), "0003");
        EXPECT_EQ(fatia(z, 335, 14), n(6000, 14));
        EXPECT_EQ(fatia(z, 650, 14), n(300, 14));
        EXPECT_EQ(fatia(z, 710, 14), n(2700, 14));
        EXPECT_EQ(fatia(z, 1148, 14), n(5000, 14));
        EXPECT_EQ(fatia(z, 316, 18), n(123456, 18));
        EXPECT_EQ(contador("Reducoes"), 3);
        ASSERT_EQ(Kestrona_FI_LeituraMemoriaFiscalSerialReducaoMFD("0001", "0002", "c"), 1);
        const std::string mf = leArquivo(pasta / "Retorno.txt");
        EXPECT_NE(mf.find("CRZ:0001  COO:000020"), std::string::npos);
        EXPECT_NE(mf.find("SUBST. TRIBUT\xC1RIA F1                        7,00"), std::string::npos) << mf;
    }
}

TEST_F(Memoria, OnlyAFolderWithoutAMemoryGetsANewPrinter) {
    // What an interrupted creation leaves: an empty file, or a database without tables.
    for (const char* resto : {"", "PRAGMA journal_mode=WAL"}) {
        SCOPED_TRACE(resto);
        solta();
        fs::remove_all(memoria());
        fs::create_directories(memoria());
        std::ofstream(arquivo(), std::ios::binary).flush();
        if (*resto) alteraMemoria(resto);
        localiza();
        EXPECT_EQ(le(Kestrona_FI_NumeroSerieMFD, KESAFI_LARGURA_NUMERO_SERIE), "VF080000000000010247");
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
    std::string numero = espacos(KESAFI_LARGURA_COO);
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
    std::string numero = espacos(KESAFI_LARGURA_COO);
    ASSERT_EQ(Kestrona_FI_NumeroCupom(numero.data()), 1);
    EXPECT_EQ(std::stoll(numero), coo);

    // An unversioned memory whose index files are already in place: the
    // upgrade itself meets the full disk and is undone.
    memoriaVersao1(0);
    const long long cooV1 = consulta("SELECT coo FROM estado");
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
    EXPECT_EQ(std::stoll(numero), cooV1);
    solta();
    EXPECT_EQ(consulta("PRAGMA user_version"), 2);

    // A new printer that meets a full disk is not half made: it is made whole
    // at the next opening.
    escreveIni("Virtual", "Memoria", "nova");
    {
        DiscoCheio cheio;
        EXPECT_LT(Kestrona_FI_AbrePortaSerial(), 0);
    }
    localiza();
    std::string serie = espacos(KESAFI_LARGURA_NUMERO_SERIE);
    ASSERT_EQ(Kestrona_FI_NumeroSerieMFD(serie.data()), 1);
    EXPECT_EQ(serie, "VF080000000000010247");
}

}  // namespace
}  // namespace kesafi_teste
