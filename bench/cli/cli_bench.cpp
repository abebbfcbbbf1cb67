// `zentora-cli estado` from launching the process to its exit: settings
// read and written, the printer located (USB, the virtual printer), its
// identity and state read and the answer printed.  It runs in a fresh data
// folder of its own (ZENTORA_PASTA_BASE); the first run, not counted, makes
// the settings file and the printer's memory, as a scheduler's second run
// finds them.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// One run; false when it did not end with 0.
bool roda(const std::string& pasta) {
    setenv("ZENTORA_PASTA_BASE", pasta.c_str(), 1);
    char programa[] = ZENTORA_CLI;
    char comando[] = "estado";
    char* argumentos[] = {programa, comando, nullptr};
    posix_spawn_file_actions_t acoes;
    posix_spawn_file_actions_init(&acoes);
    posix_spawn_file_actions_addopen(&acoes, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&acoes, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int falha = posix_spawn(&pid, programa, &acoes, nullptr, argumentos, environ);
    posix_spawn_file_actions_destroy(&acoes);
    if (falha != 0) return false;
    int estado = 0;
    return waitpid(pid, &estado, 0) == pid && WIFEXITED(estado) && WEXITSTATUS(estado) == 0;
}

void Estado(benchmark::State& state) {
    const fs::path pasta = fs::temp_directory_path() / ("bench_cli_" + std::to_string(::getpid()));
    fs::create_directories(pasta);
    if (!roda(pasta.string())) state.SkipWithError("zentora-cli estado failed");
    for (auto _ : state)
        if (!roda(pasta.string())) {
            state.SkipWithError("zentora-cli estado failed");
            break;
        }
    fs::remove_all(pasta);
}
BENCHMARK(Estado)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);

}  // namespace

BENCHMARK_MAIN();
