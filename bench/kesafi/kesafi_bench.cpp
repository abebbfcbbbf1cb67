// Calls per second of a status read and of a Reading X, the cost of a line of
// a managerial report as the report grows, and the time to open a memory of
// 10,000 reductions and 1,000,000 documents.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "ead/chaves.h"
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

// The columns of a table, in order.
std::vector<std::string> colunas(sqlite3* db, const char* tabela) {
    std::vector<std::string> out;
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, (std::string("PRAGMA table_info(") + tabela + ")").c_str(), -1, &s, nullptr);
    while (sqlite3_step(s) == SQLITE_ROW) out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(s, 1)));
    sqlite3_finalize(s);
    return out;
}

// "INSERT INTO tabela(a, b, ...) SELECT <a>, <b>, ... <resto>": each column
// taken from `origem` unless `trocas` gives its value.
std::string copia(sqlite3* db, const char* tabela, const char* origem,
                  const std::vector<std::pair<std::string, std::string>>& trocas, const std::string& resto) {
    std::string lista, valores;
    for (const std::string& c : colunas(db, tabela)) {
        lista += (lista.empty() ? "" : ", ") + c;
        std::string v = std::string(origem) + "." + c;
        for (const auto& [coluna, valor] : trocas)
            if (coluna == c) v = valor;
        valores += (valores.empty() ? "" : ", ") + v;
    }
    return std::string("INSERT INTO ") + tabela + "(" + lista + ") SELECT " + valores + " " + resto;
}

// A printer whose memory holds 10,000 reductions and 1,000,000 documents:
// a new printer's past repeated (documents with their receipts' items and
// payments, reductions with their totals), written in one transaction.
// Documents are 90 s apart, so the tape covers about 1,040 days.
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
             "CREATE TEMP TABLE modelo AS SELECT row_number() OVER (ORDER BY id) - 1 AS k, id AS origem, tipo, texto"
             " FROM documentos WHERE coo > 0 AND tipo <> 'REDUCAO_Z'");
        exec(db, "CREATE TEMP TABLE modeloz AS SELECT * FROM reducoes ORDER BY crz DESC LIMIT 1");
        exec(db,
             "CREATE TEMP TABLE modeloc AS SELECT * FROM cupons; CREATE TEMP TABLE modeloi AS SELECT * FROM itens;"
             " CREATE TEMP TABLE modelop AS SELECT * FROM pagamentos");
        exec(db,
             "DELETE FROM documentos; DELETE FROM reducoes; DELETE FROM cupons; DELETE FROM itens;"
             " DELETE FROM pagamentos; DELETE FROM recebimentos; DELETE FROM complementos");
        // 990,000 documents, 99 between two reductions, then the 10,000 reductions.
        exec(db,
             "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 999999)"
             " INSERT INTO documentos(id, coo, tipo, data_hora, texto)"
             " SELECT i + 1, i + 1, CASE WHEN i % 100 = 99 THEN 'REDUCAO_Z' ELSE m.tipo END, 1500000000 + i * 90,"
             " m.texto FROM n JOIN modelo m ON m.k = i % (SELECT count(*) FROM modelo)");
        // Each receipt with its model's items and payments.
        const std::string deModelo =
            "FROM documentos d JOIN modelo m ON m.k = (d.id - 1) % (SELECT count(*) FROM modelo)";
        exec(db, copia(db, "cupons", "c", {{"documento", "d.id"}, {"coo", "d.coo"}, {"ccf", "d.id"}},
                       deModelo + " JOIN modeloc c ON c.documento = m.origem WHERE d.tipo = 'CUPOM'"));
        exec(db, copia(db, "itens", "i", {{"documento", "d.id"}},
                       deModelo + " JOIN modeloi i ON i.documento = m.origem WHERE d.tipo = 'CUPOM'"));
        exec(db, copia(db, "pagamentos", "g", {{"documento", "d.id"}},
                       deModelo + " JOIN modelop g ON g.documento = m.origem WHERE d.tipo = 'CUPOM'"));
        // Each reduction the last one with its own CRZ, COO and dates.
        exec(db, copia(db, "reducoes", "z",
                       {{"crz", "d.coo / 100"},
                        {"coo", "d.coo"},
                        {"data_movimento", "CAST(strftime('%Y%m%d', d.data_hora, 'unixepoch') AS INTEGER)"},
                        {"data_hora", "d.data_hora"}},
                       "FROM documentos d, modeloz z WHERE d.tipo = 'REDUCAO_Z'"));
        exec(db,
             "UPDATE estado SET coo = 1000000, crz = 10000,"
             " ccf = (SELECT count(*) FROM documentos WHERE tipo = 'CUPOM'),"
             " cfc = (SELECT count(*) FROM documentos WHERE tipo = 'CANCELAMENTO'),"
             " grg = (SELECT count(*) FROM documentos WHERE tipo = 'GERENCIAL'),"
             " gnf = (SELECT count(*) FROM documentos WHERE tipo NOT IN ('CUPOM', 'CANCELAMENTO', 'REDUCAO_Z')),"
             " bytes_mfd = (SELECT sum(length(texto)) FROM documentos), movimento = 0, bloqueado = 0,"
             " cupom_aberto = 0, nao_fiscal_aberto = 0, relatorio_aberto = 0, cupom_cancelavel = 0,"
             " nao_fiscal_cancelavel = 0,"
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

// Resident memory of the process: its peak since the last reset, and the
// reset (Linux: /proc/self/clear_refs).
double picoMb() {
    std::ifstream in("/proc/self/status");
    std::string linha;
    while (std::getline(in, linha))
        if (linha.rfind("VmHWM:", 0) == 0) return std::stod(linha.substr(6)) / 1024.0;
    return 0;
}
double residenteMb() {
    std::ifstream in("/proc/self/status");
    std::string linha;
    while (std::getline(in, linha))
        if (linha.rfind("VmRSS:", 0) == 0) return std::stod(linha.substr(6)) / 1024.0;
    return 0;
}
void zeraPico() { std::ofstream("/proc/self/clear_refs") << "5"; }

// The large memory, its port open.
const fs::path& abreGrande() {
    const fs::path& p = memoriaGrande();
    localiza(p);
    fs::create_directories(p / "Relatorios");
    return p;
}

// dd/mm/yy of the day of the large memory's document `n` (from 0).
std::string diaDoDocumento(long long n) {
    const std::time_t t = 1500000000 + n * 90;
    std::tm tm{};
    gmtime_r(&t, &tm);
    char b[16];
    std::strftime(b, sizeof b, "%d/%m/%y", &tm);
    return b;
}

// A mirror of 100,000 documents of the 1,000,000 on the tape, by COO and by
// dates: written as it is read, in bounded memory (peak_rss_mb is the
// process's resident peak while the mirrors were written; rss_before_mb what
// it held before).
void BM_Mirror100kDocuments(benchmark::State& state) {
    const fs::path& p = abreGrande();
    const bool porData = state.range(0) == 1;
    const std::string destino = (p / "Relatorios" / "espelho.txt").string();
    const std::string inicial = porData ? diaDoDocumento(450000) : "450001";
    const std::string final = porData ? diaDoDocumento(450000 + 100000 - 1) : "550000";
    const double antes = residenteMb();
    zeraPico();
    for (auto _ : state) {
        if (Kestrona_FI_EspelhoMFD(destino.c_str(), inicial.c_str(), final.c_str(), porData ? "D" : "C", "1",
                                   ead::kChave1, ead::kChave2) != 1)
            state.SkipWithError("the mirror failed");
    }
    state.counters["rss_before_mb"] = antes;
    state.counters["peak_rss_mb"] = picoMb();
    state.counters["file_mb"] = static_cast<double>(fs::file_size(destino)) / (1 << 20);
    Kestrona_FI_FechaPortaSerial();
}
BENCHMARK(BM_Mirror100kDocuments)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// ArquivoMFD over 100,000 documents: Download.MFD and the TDM file.
void BM_TdmFile100kDocuments(benchmark::State& state) {
    const fs::path& p = abreGrande();
    KesafiVirtual_LimpaForcados();
    std::ofstream(p / "KESAFI32.ini", std::ios::binary)
        << "[Sistema]\r\nPorta=USB\r\nPath=" << (p / "Relatorios").string() << "\r\n";
    zeraPico();
    for (auto _ : state) {
        if (Kestrona_FI_ArquivoMFD(nullptr, "450001", "550000", "C", "1", 2, ead::kChave1, ead::kChave2, 1) != 1)
            state.SkipWithError("the download failed");
    }
    state.counters["peak_rss_mb"] = picoMb();
    state.counters["download_mb"] = static_cast<double>(fs::file_size(p / "Relatorios" / "Download.MFD")) / (1 << 20);
    for (const auto& e : fs::directory_iterator(p / "Relatorios")) fs::remove(e.path());
    Kestrona_FI_FechaPortaSerial();
}
BENCHMARK(BM_TdmFile100kDocuments)->Unit(benchmark::kMillisecond)->UseRealTime();

// The last page of a tape of 1,000,000 documents: what a tape view shows
// first when it opens at the end.
void BM_LastPageOfTheTape(benchmark::State& state) {
    abreGrande();
    std::string fita(1 << 20, '\0');
    for (auto _ : state) {
        if (KesafiVirtual_LeFita(50, fita.data(), static_cast<int>(fita.size())) <= 0)
            state.SkipWithError("the tape read failed");
    }
    Kestrona_FI_FechaPortaSerial();
}
BENCHMARK(BM_LastPageOfTheTape)->Unit(benchmark::kMillisecond)->UseRealTime();

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
