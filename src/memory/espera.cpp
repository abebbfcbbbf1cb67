#include "espera.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QProgressBar>
#include <QPushButton>
#include <atomic>
#include <thread>

namespace uDadosMFeMFD {

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

    QEventLoop laco;
    std::atomic<bool> terminou{false};
    int resultado = 0;
    std::thread trabalho([&] {
        resultado = chamada();
        terminou.store(true);
        QMetaObject::invokeMethod(&laco, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // Quitting the program ends every event loop of this thread; the call
    // still has to end before its buffers go away.
    while (!terminou.load()) laco.exec(QEventLoop::ExcludeUserInputEvents);
    trabalho.join();
    return resultado;
}

}  // namespace uDadosMFeMFD
