// "Localizar Impressora" from the click to the moment the success box paints,
// against the same for one status read: a click whose handler reads the
// fiscal flags, analyses the answer and shows "RESPOSTA DO ECF", as every
// command of the program does.  Both boxes are real message boxes, closed as
// soon as they have painted.  Each sample starts the windows anew on a
// printer attached to USB (the windows created and shown as at start, the
// library's state forgotten), so every locate is the first of its run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "app/tfprincipal.h"
#include "kesafi_virtual.h"
#include "platform/paths.h"
#include "printer/ustatus.h"

namespace {

using Relogio = std::chrono::steady_clock;

// Notes when a message box first paints, and closes it.
class Vigia : public QObject {
public:
    Relogio::time_point pintou;
    bool viu = false;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() == QEvent::Paint && !viu) {
            if (auto* caixa = qobject_cast<QMessageBox*>(objeto)) {
                pintou = Relogio::now();
                viu = true;
                QTimer::singleShot(0, caixa, &QMessageBox::accept);
            }
        }
        return false;
    }
};

// Milliseconds from the click until the box `acao` shows has painted.
double cronometra(Vigia& vigia, QAbstractButton* botao) {
    vigia.viu = false;
    const auto inicio = Relogio::now();
    botao->click();
    return vigia.viu ? std::chrono::duration<double, std::milli>(vigia.pintou - inicio).count() : -1;
}

double mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

class Ambiente {
public:
    Ambiente() {
        const QString instalacao = QStringLiteral(ZENTORA_INSTALL_DIR);
        for (const char* item : {"Skins", "usb.bmp", "serial.bmp", "Modelo.ntf"})
            QFile::link(instalacao + QLatin1Char('/') + QLatin1String(item), dir_.filePath(QLatin1String(item)));
        QDir(dir_.path()).mkpath(QStringLiteral("Relatorios"));
        QDir(dir_.path()).mkpath(QStringLiteral("Cadastro/Modelos"));
        platform::paths::setExecutableFolder(dir_.path());
        KesafiVirtual_DefinePastaBase(QFile::encodeName(dir_.path()).constData());
        KesafiVirtual_CriaImpressora(nullptr, 0);
        KesafiVirtual_Conecta("USB");
    }
    ~Ambiente() {
        janelas_.reset();
        KesafiVirtual_DefinePastaBase(nullptr);
    }
    // The windows as the program starts them; the library's state forgotten.
    void reinicia() {
        janelas_.reset();
        KesafiVirtual_DefinePastaBase(QFile::encodeName(dir_.path()).constData());
        janelas_ = std::make_unique<uZentora3::Janelas>();
        uZentora3::Fprincipal->show();
        QApplication::processEvents();
    }

private:
    QTemporaryDir dir_;
    std::unique_ptr<uZentora3::Janelas> janelas_;
};

void Localizar(benchmark::State& state) {
    Ambiente ambiente;
    Vigia vigia;
    qApp->installEventFilter(&vigia);
    // One status read from a click, as a command of the program.
    QPushButton leitura;
    QObject::connect(&leitura, &QPushButton::clicked, [] {
        int flags = 0;
        UStatus::sComando = QStringLiteral("Lendo Flags Fiscais");
        UStatus::iRetorno = Kestrona_FI_FlagsFiscais(&flags);
        UStatus::VerificaRetorno();
        UStatus::MostraRespostaImpressora();
    });

    auto* localizar = uZentora3::Fprincipal->findChild<QAbstractButton*>(QStringLiteral("BtLocalizarImpressora"));
    std::vector<double> tempos, status;
    for (auto _ : state) {
        const int amostras = int(state.range(0));
        for (int i = 0; i < amostras; ++i) {
            ambiente.reinicia();
            const double a = cronometra(vigia, localizar);
            QApplication::processEvents();
            const double b = cronometra(vigia, &leitura);
            if (a < 0 || b < 0) {
                state.SkipWithError("no box painted");
                break;
            }
            tempos.push_back(a);
            status.push_back(b);
        }
        if (!tempos.empty()) state.SetIterationTime(mediana(tempos) / 1000);
    }
    qApp->removeEventFilter(&vigia);
    if (tempos.empty()) return;
    state.counters["localizar_ms"] = mediana(tempos);
    state.counters["leitura_status_ms"] = mediana(status);
    state.counters["razao"] = mediana(tempos) / mediana(status);
}
BENCHMARK(Localizar)->Arg(11)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
