// Start-up: from launching the program until the X server maps its main
// window, against the same for a bare Qt window of the same size, in
// alternating launches of one run.  Run under a display (xvfb-run -a).
//
// The program starts in a fresh data folder of its own (ZENTORA_PASTA_BASE,
// as the package's launcher does), so the first launch, not counted, writes
// its settings file and the measured ones find it, as a user's second start
// does.  A launch counts as done when a window of 792 x 450 is mapped (the
// status strip under the main window is mapped before it and is not counted).
#include <benchmark/benchmark.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Relogio = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kLargura = 792;
constexpr int kAltura = 450;

// Watches the root window for windows being mapped.
class Observador {
public:
    Observador() {
        int tela = 0;
        conexao_ = xcb_connect(nullptr, &tela);
        if (xcb_connection_has_error(conexao_)) return;
        const xcb_setup_t* setup = xcb_get_setup(conexao_);
        auto it = xcb_setup_roots_iterator(setup);
        for (int i = 0; i < tela; ++i) xcb_screen_next(&it);
        raiz_ = it.data->root;
        const uint32_t mascara = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(conexao_, raiz_, XCB_CW_EVENT_MASK, &mascara);
        xcb_flush(conexao_);
    }
    ~Observador() { xcb_disconnect(conexao_); }
    bool valido() const { return !xcb_connection_has_error(conexao_); }

    // Waits (at most 20 s) for a top-level window of the main window's size
    // to be mapped; the moment it was seen, or nothing.
    std::optional<Relogio::time_point> esperaJanela() {
        const auto limite = Relogio::now() + std::chrono::seconds(20);
        while (Relogio::now() < limite) {
            while (xcb_generic_event_t* evento = xcb_poll_for_event(conexao_)) {
                std::unique_ptr<xcb_generic_event_t, decltype(&free)> guarda(evento, &free);
                if ((evento->response_type & 0x7f) != XCB_MAP_NOTIFY) continue;
                const auto instante = Relogio::now();
                const auto* mapa = reinterpret_cast<xcb_map_notify_event_t*>(evento);
                if (mapa->override_redirect) continue;
                auto* geometria = xcb_get_geometry_reply(conexao_, xcb_get_geometry(conexao_, mapa->window), nullptr);
                const bool principal = geometria && geometria->width == kLargura && geometria->height == kAltura;
                free(geometria);
                if (principal) return instante;
            }
            pollfd pfd{xcb_get_file_descriptor(conexao_), POLLIN, 0};
            poll(&pfd, 1, 100);
        }
        return std::nullopt;
    }

    // Forgets the events of an earlier launch.
    void descarta() {
        xcb_aux_sync();
        while (xcb_generic_event_t* evento = xcb_poll_for_event(conexao_)) free(evento);
    }

private:
    void xcb_aux_sync() { free(xcb_get_input_focus_reply(conexao_, xcb_get_input_focus(conexao_), nullptr)); }

    xcb_connection_t* conexao_ = nullptr;
    xcb_window_t raiz_ = 0;
};

// Launches `programa` and returns the milliseconds until its main window was
// mapped; negative when it never was.
double lanca(Observador& observador, const std::string& programa, const std::string& pasta) {
    observador.descarta();
    std::vector<std::string> ambiente;
    for (char** e = environ; *e; ++e)
        if (std::string(*e).rfind("ZENTORA_PASTA_BASE=", 0) != 0) ambiente.emplace_back(*e);
    ambiente.push_back("ZENTORA_PASTA_BASE=" + pasta);
    std::vector<char*> envp;
    for (auto& e : ambiente) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string nome = programa;
    char* argv[] = {nome.data(), nullptr};

    const auto inicio = Relogio::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, programa.c_str(), nullptr, nullptr, argv, envp.data()) != 0) return -1;
    const auto mapeada = observador.esperaJanela();
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    if (!mapeada) return -1;
    return std::chrono::duration<double, std::milli>(*mapeada - inicio).count();
}

double mediana(std::vector<double> valores) {
    std::sort(valores.begin(), valores.end());
    const size_t n = valores.size();
    return n % 2 ? valores[n / 2] : (valores[n / 2 - 1] + valores[n / 2]) / 2;
}

// A data folder of the program's own: its shipped read-only files linked in.
std::string pastaDeDados() {
    std::string modelo = (fs::temp_directory_path() / "zentora-inicio-XXXXXX").string();
    const std::string pasta = mkdtemp(modelo.data());
    const fs::path instalacao = ZENTORA_INSTALL_DIR;
    for (const char* item : {"Skins", "Ajuda", "Modelo.ntf", "usb.bmp", "serial.bmp"})
        fs::create_symlink(instalacao / item, fs::path(pasta) / item);
    return pasta;
}

void Inicio(benchmark::State& state) {
    Observador observador;
    if (!observador.valido()) {
        state.SkipWithError("no display: run under xvfb-run -a");
        return;
    }
    const std::string programa = ZENTORA_INSTALL_DIR "/Zentora";
    const std::string vazia = JANELA_VAZIA;
    const std::string pasta = pastaDeDados();
    const int pares = int(state.range(0));
    std::vector<double> tempos, vazios;
    for (auto _ : state) {
        // Not counted: the first start writes the settings file, and both
        // programs' files come into the page cache.
        lanca(observador, programa, pasta);
        lanca(observador, vazia, pasta);
        for (int i = 0; i < pares; ++i) {
            const double a = lanca(observador, programa, pasta);
            const double b = lanca(observador, vazia, pasta);
            if (a < 0 || b < 0) {
                state.SkipWithError("a window was not mapped within 20 s");
                break;
            }
            tempos.push_back(a);
            vazios.push_back(b);
        }
        if (!tempos.empty()) state.SetIterationTime(mediana(tempos) / 1000);
    }
    fs::remove_all(pasta);
    if (tempos.empty()) return;
    state.counters["programa_ms"] = mediana(tempos);
    state.counters["janela_vazia_ms"] = mediana(vazios);
    state.counters["razao"] = mediana(tempos) / mediana(vazios);
}
BENCHMARK(Inicio)->Arg(11)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
