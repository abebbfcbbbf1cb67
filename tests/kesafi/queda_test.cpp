// A child process issuing a burst of sales, reductions, readings and
// programming is killed (SIGKILL) at random moments; the memory it leaves
// must be consistent and hold every command it acknowledged.
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>

#include "apoio.h"

namespace kesafi_teste {
namespace {

struct Confirmado {
    long long coo = 0, crz = 0;
};

[[noreturn]] void rajada(const std::filesystem::path& pasta, int saida) {
    if (KesafiVirtual_DefinePastaBase(pasta.c_str()) != 1 || Kestrona_FI_AbrePortaSerial() != 1) _exit(2);
    auto confirma = [&] {
        Confirmado c;
        KesafiVirtual_LeContador("COO", &c.coo);
        KesafiVirtual_LeContador("CRZ", &c.crz);
        if (write(saida, &c, sizeof c) != static_cast<ssize_t>(sizeof c)) _exit(3);
    };
    for (int i = 0;; ++i) {
        long long crz = 0;
        KesafiVirtual_LeContador("CRZ", &crz);
        // Each fiscal day one day after the previous reduction.
        KesafiVirtual_FixaRelogio((diaDdmmyyyy(static_cast<int>(crz)) + "100000").c_str());
        confirma();
        if (KesafiVirtual_AdicionaVendas(3) == 1) confirma();
        if (Kestrona_FI_LeituraX() == 1) confirma();
        if (Kestrona_FI_ReducaoZ(nullptr, nullptr) == 1) confirma();
        if (Kestrona_FI_ProgramaFormaPagamentoMFD(("Forma " + std::to_string(i)).c_str(), "1") == 1) confirma();
        if (Kestrona_FI_NomeiaTotalizadorNaoSujeitoIcms(2 + i % 27, "Receita") == 1) confirma();
        if (Kestrona_FI_LeituraMemoriaFiscalReducaoMFD("0001", "0004", "s") == 1) confirma();
        if (KesafiVirtual_AdicionaRecebimentos(1) == 1) confirma();
        if (Kestrona_FI_CancelaRecebimentoNaoFiscalMFD(nullptr, nullptr, nullptr) == 1) confirma();
    }
}

long long consulta(sqlite3* db, const char* sql) {
    sqlite3_stmt* s = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &s, nullptr), SQLITE_OK) << sql;
    long long v = -1;
    if (sqlite3_step(s) == SQLITE_ROW) v = sqlite3_column_int64(s, 0);
    sqlite3_finalize(s);
    return v;
}

std::string consultaTexto(sqlite3* db, const char* sql) {
    sqlite3_stmt* s = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &s, nullptr), SQLITE_OK) << sql;
    std::string v;
    if (sqlite3_step(s) == SQLITE_ROW) v = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    sqlite3_finalize(s);
    return v;
}

// Counters agree with the documents and reductions stored.
void verificaConsistencia(const std::filesystem::path& arquivo, const Confirmado& confirmado) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(arquivo.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(consultaTexto(db, "PRAGMA integrity_check"), "ok");
    const long long coo = consulta(db, "SELECT coo FROM estado");
    const long long crz = consulta(db, "SELECT crz FROM estado");
    EXPECT_EQ(consulta(db, "SELECT max(coo) FROM documentos"), coo);
    EXPECT_EQ(consulta(db, "SELECT count(DISTINCT coo) FROM documentos WHERE coo > 0"), coo);
    EXPECT_EQ(consulta(db, "SELECT count(*) FROM documentos WHERE coo > 0"), coo);
    EXPECT_EQ(consulta(db, "SELECT count(*) FROM documentos WHERE tipo = 'CUPOM'"),
              consulta(db, "SELECT ccf FROM estado"));
    EXPECT_EQ(consulta(db, "SELECT count(*) FROM documentos WHERE tipo = 'CANCELAMENTO'"),
              consulta(db, "SELECT cfc FROM estado"));
    EXPECT_EQ(consulta(db, "SELECT count(*) FROM documentos WHERE tipo = 'CANCELAMENTO_NF'"),
              consulta(db, "SELECT cnc FROM estado"));
    EXPECT_EQ(consulta(db,
                       "SELECT count(*) FROM documentos WHERE tipo IN ('LEITURA_X', 'LEITURA_MF', 'NAO_FISCAL',"
                       " 'CANCELAMENTO_NF', 'GERENCIAL', 'CONFIGURACAO', 'COMPROVANTE_CD')"),
              consulta(db, "SELECT gnf FROM estado"));
    EXPECT_EQ(consulta(db, "SELECT count(*) FROM documentos WHERE tipo = 'COMPROVANTE_CD'"),
              consulta(db, "SELECT cdc FROM estado"));
    EXPECT_EQ(consulta(db, "SELECT count(*) FROM documentos WHERE tipo = 'REDUCAO_Z'"), crz);
    EXPECT_EQ(consulta(db, "SELECT count(*) FROM reducoes"), crz);
    EXPECT_EQ(consulta(db, "SELECT max(crz) FROM reducoes"), crz);
    EXPECT_EQ(consulta(db,
                       "SELECT count(*) FROM reducoes r JOIN documentos d ON d.coo = r.coo"
                       " AND d.tipo = 'REDUCAO_Z'"),
              crz);
    // Every receipt keeps its data beside its text, and every reduction its totals.
    EXPECT_EQ(consulta(db, "SELECT count(*) FROM cupons c JOIN documentos d ON d.id = c.documento AND d.coo = c.coo"),
              consulta(db, "SELECT ccf FROM estado"));
    EXPECT_EQ(consulta(db, "SELECT count(*) FROM reducoes WHERE venda_bruta < 0 OR gt < 0"), 0);
    // Nothing acknowledged is lost; at most the one command the kill interrupted went further.
    EXPECT_GE(coo, confirmado.coo);
    EXPECT_LE(coo, confirmado.coo + 6);  // three sales, each with its voucher
    EXPECT_GE(crz, confirmado.crz);
    EXPECT_LE(crz, confirmado.crz + 1);
    sqlite3_close(db);
}

TEST(Queda, MemoryStaysConsistentWhenTheProcessIsKilledAtRandomMoments) {
    // The same moments at every run (as far as the machine's pace allows), so
    // that a failure can be run again.
    constexpr unsigned kSemente = 20261210;
    std::mt19937 rng(kSemente);
    const auto pasta = std::filesystem::temp_directory_path() / ("kesafi_queda_" + std::to_string(getpid()));
    std::filesystem::create_directories(pasta);
    {
        std::ofstream ini(pasta / "KESAFI32.ini", std::ios::binary);
        ini << "[Sistema]\r\nPorta=USB\r\nPath=" << pasta.string() << "/\r\n";
    }
    ASSERT_EQ(KesafiVirtual_DefinePastaBase(pasta.c_str()), 1);
    ASSERT_EQ(KesafiVirtual_CriaImpressora("", 0), 1);
    ASSERT_EQ(KesafiVirtual_DefinePastaBase(pasta.c_str()), 1);  // the parent keeps no connection open
    const auto memoria = pasta / "Impressora Virtual" / "memoria.db";

    Confirmado confirmado;
    int mortes = 0;
    // A fixed number of kills, each after one to 40 acknowledged commands
    // (one in nine a reduction) and a moment more.
    constexpr int kMortes = 10;
    for (int rodada = 0; rodada < kMortes; ++rodada) {
        int canal[2];
        ASSERT_EQ(pipe(canal), 0);
        const pid_t filho = fork();
        ASSERT_GE(filho, 0);
        if (filho == 0) {
            close(canal[0]);
            rajada(pasta, canal[1]);
        }
        close(canal[1]);
        // Let the child acknowledge a random number of commands, then kill it
        // a random moment later, in the middle of whatever it is doing.
        const int esperar = std::uniform_int_distribution<int>(1, 40)(rng);
        Confirmado c;
        int lidos = 0;
        while (lidos < esperar && read(canal[0], &c, sizeof c) == static_cast<ssize_t>(sizeof c)) {
            confirmado = c;
            ++lidos;
        }
        const auto ate = std::chrono::steady_clock::now() +
                         std::chrono::microseconds(std::uniform_int_distribution<int>(0, 3000)(rng));
        while (std::chrono::steady_clock::now() < ate) {
        }
        kill(filho, SIGKILL);
        int estado = 0;
        waitpid(filho, &estado, 0);
        EXPECT_TRUE(WIFSIGNALED(estado)) << "child ended by itself: " << estado;
        while (read(canal[0], &c, sizeof c) == static_cast<ssize_t>(sizeof c)) confirmado = c;
        close(canal[0]);
        ++mortes;
        verificaConsistencia(memoria, confirmado);
        if (HasFailure()) break;
    }
    std::printf("%d kills, %lld reductions, %lld documents acknowledged\n", mortes, confirmado.crz, confirmado.coo);
    EXPECT_EQ(mortes, kMortes);
    EXPECT_GT(confirmado.crz, 5);

    // The library reopens the memory and answers from it.
    ASSERT_EQ(KesafiVirtual_DefinePastaBase(pasta.c_str()), 1);
    ASSERT_EQ(Kestrona_FI_AbrePortaSerial(), 1);
    std::string coo = espacos(KESAFI_LARGURA_COO), z = espacos(KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO);
    ASSERT_EQ(Kestrona_FI_NumeroCupom(coo.data()), 1);
    EXPECT_GE(std::stoll(coo), confirmado.coo);
    ASSERT_EQ(Kestrona_FI_DadosUltimaReducaoMFD(z.data()), 1);
    EXPECT_GE(std::stoll(fatia(z, 9, 4)), confirmado.crz);
    Kestrona_FI_FechaPortaSerial();
    std::error_code ec;
    std::filesystem::remove_all(pasta, ec);
}

}  // namespace
}  // namespace kesafi_teste
