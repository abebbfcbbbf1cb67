// The tape view opened at the end of a tape of 1,000,000 documents: the
// window made and shown with its last page, as F2 does the first time; and
// a new document followed on an open view.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bobina/tfbobina.h"
#include "kesafi32.h"
#include "kesafi_virtual.h"

namespace {

namespace fs = std::filesystem;

void exec(sqlite3* db, const char* sql) {
    char* erro = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &erro) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n%s\n", erro ? erro : "?", sql);
        std::abort();
    }
}

// A printer whose tape holds 1,000,000 documents: the texts of a new
// printer's past repeated (the tape only: no receipts' data, no reductions),
// 90 s apart, written in one transaction; its port open.
fs::path fitaGrande() {
    const fs::path p = fs::temp_directory_path() / ("bobina_bench_" + std::to_string(getpid()));
    fs::remove_all(p);
    fs::create_directories(p);
    std::ofstream(p / "KESAFI32.ini", std::ios::binary) << "[Sistema]\r\nPorta=USB\r\nPath=" << p.string() << "/\r\n";
    KesafiVirtual_DefinePastaBase(p.c_str());
    KesafiVirtual_CriaImpressora("", 0);
    KesafiVirtual_DefinePastaBase(p.c_str());
    sqlite3* db = nullptr;
    sqlite3_open((p / "Impressora Virtual" / "memoria.db").c_str(), &db);
    exec(db, "PRAGMA journal_mode=DELETE; PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN");
    exec(db,
         "CREATE TEMP TABLE modelo AS SELECT row_number() OVER (ORDER BY id) - 1 AS k, tipo, texto"
         " FROM documentos WHERE coo > 0");
    exec(db, "DELETE FROM documentos; DELETE FROM complementos");
    exec(db,
         "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 999999)"
         " INSERT INTO documentos(id, coo, tipo, data_hora, texto)"
         " SELECT i + 1, i % 999999 + 1, m.tipo, 1500000000 + i * 90, m.texto"
         " FROM n JOIN modelo m ON m.k = i % (SELECT count(*) FROM modelo)");
    exec(db, "COMMIT; PRAGMA journal_mode=WAL");
    sqlite3_close(db);
    Kestrona_FI_ReloadINIFile();
    Kestrona_FI_AbrePortaSerial();
    return p;
}

const fs::path& pasta() {
    static const fs::path p = fitaGrande();
    return p;
}

void BM_OpenAtTheEndOf1MDocuments(benchmark::State& state) {
    pasta();
    const auto fita = printer::Fita::daBiblioteca();
    QWidget principal;
    principal.resize(792, 450);
    for (auto _ : state) {
        TFBobina bobina(*fita);
        bobina.Abre(&principal);
        QApplication::processEvents();  // drawn
        benchmark::DoNotOptimize(bobina.ultimoMostrado());
        state.PauseTiming();
        bobina.hide();
        state.ResumeTiming();
    }
    long long primeiro = 0, ultimo = 0;
    KesafiVirtual_FitaLimites(&primeiro, &ultimo);
    state.counters["documents"] = static_cast<double>(ultimo - primeiro + 1);
}
BENCHMARK(BM_OpenAtTheEndOf1MDocuments)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FollowANewDocument(benchmark::State& state) {
    pasta();
    const auto fita = printer::Fita::daBiblioteca();
    QWidget principal;
    TFBobina bobina(*fita);
    bobina.Abre(&principal);
    for (auto _ : state) {
        state.PauseTiming();
        Kestrona_FI_LeituraX();
        state.ResumeTiming();
        bobina.Acompanha();
    }
}
BENCHMARK(BM_FollowANewDocument)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacao(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(pasta());
    return 0;
}
