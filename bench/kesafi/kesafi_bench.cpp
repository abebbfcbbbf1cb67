// Calls per second of a status read and of a Reading X, the cost of a line of
// a managerial report as the report grows, and the time to open a memory of
// 10,000 reductions and 1,000,000 documents.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "kesafi32.h"
#include "kesafi_virtual.h"

namespace {

namespace fs = std::filesystem;

fs::path novaPasta(const char* nome) {
    const fs::path p =
        fs::temp_directory_path() / (std::string("kesafi_bench_") + nome + "_" + std::to_string(getpid()));
    fs::remove_all(p);
    fs::create_directories(p);
    std::ofstream(p / "KESAFI32.ini", std::ios::binary) << "[Sistema]\r\nPorta=USB\r\nPath=" << p.string() << "/\r\n";
    return p;
}

void localiza(const fs::path& pasta) {
    KesafiVirtual_DefinePastaBase(pasta.c_str());
    Kestrona_FI_ReloadINIFile();
    Kestrona_FI_AbrePortaSerial();
    Kestrona_FI_HabilitaDesabilitaRetornoEstendidoMFD("1");
}

void exec(sqlite3* db, const std::string& sql) {
    char* erro = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &erro) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n%s\n", erro ? erro : "?", sql.c_str());
        std::abort();
    }
}

// A printer whose memory holds 10,000 reductions and 1,000,000 documents:
// a new printer's past repeated, written in one transaction.
const fs::path& memoriaGrande() {
    static const fs::path pasta = [] {
        const fs::path p = novaPasta("grande");
        KesafiVirtual_DefinePastaBase(p.c_str());
        KesafiVirtual_CriaImpressora("", 0);
        KesafiVirtual_DefinePastaBase(p.c_str());
        sqlite3* db = nullptr;
        sqlite3_open((p / "Impressora Virtual" / "memoria.db").c_str(), &db);
        // Generation only: no journal and no waiting for the disk; the library
        // opens the memory in its own safe mode afterwards.
        exec(db, "PRAGMA journal_mode=DELETE; PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF");
        exec(db, "BEGIN");
        exec(db,
             "CREATE TEMP TABLE modelo AS SELECT row_number() OVER (ORDER BY id) - 1 AS k, tipo, texto"
             " FROM documentos WHERE coo > 0 AND tipo <> 'REDUCAO_Z'");
        exec(db, "CREATE TEMP TABLE modeloz AS SELECT dados FROM reducoes ORDER BY crz DESC LIMIT 1");
        exec(db, "DELETE FROM documentos; DELETE FROM reducoes");
        // 990,000 documents, 99 between two reductions, then the 10,000 reductions.
        exec(db,
             "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 999999)"
             " INSERT INTO documentos(id, coo, tipo, data_hora, texto)"
             " SELECT i + 1, i + 1, CASE WHEN i % 100 = 99 THEN 'REDUCAO_Z' ELSE m.tipo END, 1500000000 + i * 90,"
             " m.texto FROM n JOIN modelo m ON m.k = i % (SELECT count(*) FROM modelo)");
        // Each record is the last one with its CRZ and COO put in, cut to their fields' four and six digits.
        exec(db,
             "INSERT INTO reducoes(crz, coo, data_movimento, data_hora, dados)"
             " SELECT coo / 100, coo, CAST(strftime('%Y%m%d', data_hora, 'unixepoch') AS INTEGER), data_hora,"
             " '00,0001,' || printf('%04d', coo / 100 % 10000) || ',' || printf('%06d', coo % 1000000) || ',' ||"
             " substr((SELECT dados FROM modeloz), 21)"
             " FROM documentos WHERE tipo = 'REDUCAO_Z'");
        exec(db,
             "UPDATE estado SET coo = 1000000, crz = 10000,"
             " ccf = (SELECT count(*) FROM documentos WHERE tipo = 'CUPOM'),"
             " cfc = (SELECT count(*) FROM documentos WHERE tipo = 'CANCELAMENTO'),"
             " grg = (SELECT count(*) FROM documentos WHERE tipo = 'GERENCIAL'),"
             " gnf = (SELECT count(*) FROM documentos WHERE tipo NOT IN ('CUPOM', 'CANCELAMENTO', 'REDUCAO_Z')),"
             " bytes_mfd = (SELECT sum(length(texto)) FROM documentos), movimento = 0, bloqueado = 0,"
             " ultimo_doc_tipo = 'REDUCAO_Z', ultimo_doc_hora = (SELECT max(data_hora) FROM documentos)");
        exec(db, "COMMIT");
        exec(db, "PRAGMA journal_mode=WAL");
        sqlite3_close(db);
        return p;
    }();
    return pasta;
}

void BM_StatusRead(benchmark::State& state) {
    const fs::path p = novaPasta("status");
    localiza(p);
    Kestrona_FI_LeituraX();
    int ack, st1, st2, st3;
    for (auto _ : state) benchmark::DoNotOptimize(Kestrona_FI_RetornoImpressoraMFD(&ack, &st1, &st2, &st3));
    state.SetItemsProcessed(state.iterations());
    Kestrona_FI_FechaPortaSerial();
    fs::remove_all(p);
}
BENCHMARK(BM_StatusRead)->UseRealTime();

void BM_FiscalFlagsRead(benchmark::State& state) {
    const fs::path p = novaPasta("flags");
    localiza(p);
    int flags = 0;
    for (auto _ : state) benchmark::DoNotOptimize(Kestrona_FI_FlagsFiscais(&flags));
    state.SetItemsProcessed(state.iterations());
    Kestrona_FI_FechaPortaSerial();
    fs::remove_all(p);
}
BENCHMARK(BM_FiscalFlagsRead)->UseRealTime();

void BM_ReadingX(benchmark::State& state) {
    const fs::path p = novaPasta("leiturax");
    localiza(p);
    for (auto _ : state) {
        if (Kestrona_FI_LeituraX() != 1) state.SkipWithError("Reading X refused");
    }
    state.SetItemsProcessed(state.iterations());
    Kestrona_FI_FechaPortaSerial();
    fs::remove_all(p);
}
BENCHMARK(BM_ReadingX)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SerialReadingX(benchmark::State& state) {
    const fs::path p = novaPasta("leituraxserial");
    localiza(p);
    for (auto _ : state) {
        if (Kestrona_FI_LeituraXSerial() != 1) state.SkipWithError("Reading X refused");
    }
    state.SetItemsProcessed(state.iterations());
    Kestrona_FI_FechaPortaSerial();
    fs::remove_all(p);
}
BENCHMARK(BM_SerialReadingX)->Unit(benchmark::kMillisecond)->UseRealTime();

// A managerial report of N lines, opened, written line by line and closed:
// the time per line stays the same from 10 to 10,000 lines (each line is
// appended to the report, not the report rewritten).
void BM_ManagerialReportLine(benchmark::State& state) {
    const fs::path p = novaPasta("gerencial");
    localiza(p);
    const int64_t linhas = state.range(0);
    for (auto _ : state) {
        if (Kestrona_FI_AbreRelatorioGerencialMFD("1") != 1) state.SkipWithError("the report did not open");
        for (int64_t i = 0; i < linhas; ++i)
            if (Kestrona_FI_UsaRelatorioGerencialMFD("CONFERENCIA DE CAIXA: LINHA DE TEXTO DO RELATORIO") != 1)
                state.SkipWithError("a line was refused");
        Kestrona_FI_FechaRelatorioGerencial();
    }
    state.SetItemsProcessed(state.iterations() * linhas);
    state.counters["per_line"] = benchmark::Counter(static_cast<double>(state.iterations() * linhas),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    Kestrona_FI_FechaPortaSerial();
    fs::remove_all(p);
}
BENCHMARK(BM_ManagerialReportLine)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_OpenLargeMemory(benchmark::State& state) {
    const fs::path& p = memoriaGrande();
    for (auto _ : state) {
        KesafiVirtual_DefinePastaBase(p.c_str());
        Kestrona_FI_ReloadINIFile();
        if (Kestrona_FI_AbrePortaSerial() != 1) state.SkipWithError("the large memory did not open");
        Kestrona_FI_FechaPortaSerial();
    }
    long long coo = 0, crz = 0;
    if (KesafiVirtual_LeContador("COO", &coo) != 1 || KesafiVirtual_LeContador("CRZ", &crz) != 1)
        state.SkipWithError("the large memory is unreadable");
    state.counters["documents"] = static_cast<double>(coo);
    state.counters["reductions"] = static_cast<double>(crz);
}
BENCHMARK(BM_OpenLargeMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(fs::temp_directory_path(), ec))
        if (e.path().filename().string().rfind("kesafi_bench_", 0) == 0 &&
            e.path().filename().string().find("_" + std::to_string(getpid())) != std::string::npos)
            fs::remove_all(e.path(), ec);
    return 0;
}
