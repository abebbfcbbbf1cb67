#include "espera.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressBar>
#include <atomic>
#include <thread>

#include "platform/dialogs.h"

namespace printer {

namespace {

// The busy bar along the bottom of the button, for as long as it lives.
class BarraOcupada {
public:
    explicit BarraOcupada(QAbstractButton* botao) : barra_(new QProgressBar(botao)) {
        barra_->setObjectName(QStringLiteral("PbAguarde"));
        barra_->setRange(0, 0);  // no known end: the style animates it
        barra_->setTextVisible(false);
        const int margem = 10;
        barra_->setGeometry(margem, botao->height() - 12, botao->width() - 2 * margem, 8);
        barra_->show();
        QApplication::setOverrideCursor(Qt::BusyCursor);
    }
    ~BarraOcupada() {
        QApplication::restoreOverrideCursor();
        delete barra_;
    }
    BarraOcupada(const BarraOcupada&) = delete;
    BarraOcupada& operator=(const BarraOcupada&) = delete;

private:
    QProgressBar* barra_;
};

}  // namespace

int AguardaChamada(QAbstractButton* botao, const std::function<int()>& chamada) {
    BarraOcupada barra(botao);
    botao->repaint();
    // The handler is between its command and the analysis of the answer.
    const platform::dialogs::Open aberta;

    // Something posted here wakes this thread when the call has returned.
    QObject despertador;
    std::atomic<bool> terminou{false};
    int resultado = 0;
    std::thread trabalho([&] {
        resultado = chamada();
        terminou.store(true);
        QMetaObject::invokeMethod(
            &despertador, [] {}, Qt::QueuedConnection);
    });
    // Not an event loop of its own: a program asked to quit meanwhile still
    // waits here (without spinning) until the call, and its buffers, are done.
    while (!terminou.load())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    trabalho.join();
    return resultado;
}

}  // namespace printer
