// The yardstick of the start-up benchmark: a bare Qt window of the main
// window's size, nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication aplicacao(argc, argv);
    QWidget janela;
    janela.setWindowTitle(QStringLiteral("Janela vazia"));
    janela.setFixedSize(792, 450);
    janela.show();
    return aplicacao.exec();
}
