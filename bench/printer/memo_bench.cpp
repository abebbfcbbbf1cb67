// The status memo only grows during a run: appending one command's block
// must cost the same after 100,000 blocks as after the first.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QStringList>

#include "printer/tfstatus.h"

namespace {

QStringList bloco(int n) {
    return {QString(38, QLatin1Char('#')),
            QStringLiteral("Enviando Comando: Lendo Modelo %1").arg(n),
            QString(37, QLatin1Char('-')),
            QStringLiteral("Retorno Extendido: COMANDO OK"),
            QStringLiteral("  "),
            QString(37, QLatin1Char('-')),
            QStringLiteral("Retorno do ECF: ACK - ST1 - ST2 - ST3 = 6, 0, 0, 0")};
}

void AppendBlockAfter(benchmark::State& state) {
    TFstatus janela;
    janela.show();
    const int antes = int(state.range(0));
    for (int i = 0; i < antes; ++i) janela.acrescentaMemo(bloco(i));
    QApplication::processEvents();
    int n = antes;
    for (auto _ : state) {
        janela.acrescentaMemo(bloco(n++));  // drawn at once, as a command's block is
    }
    state.counters["blocks_before"] = antes;
}
BENCHMARK(AppendBlockAfter)->Arg(1)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
