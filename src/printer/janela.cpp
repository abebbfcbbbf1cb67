#include "janela.h"

#include <QShortcut>

#include "abertura.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "ustatus.h"

namespace printer {

QString legendaPadrao() {
    return QStringLiteral("Zentora 3.0 - Impressoras Fiscais Kestrona - Exclusivo Para Térmicas");
}

void preparaJanela(QWidget* janela, Qt::WindowFlags botoes) {
    janela->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | botoes);
    janela->setFixedSize(janela->size());
}

void abreAjuda() {
    const QString pagina = platform::paths::join(platform::paths::join(UStatus::sPastaBase, QStringLiteral("Ajuda")),
                                                 QStringLiteral("index.html"));
    avisaSeNaoAbriu(platform::shell::openDocument(pagina), QStringLiteral("AJUDA"),
                    QStringLiteral("a Ajuda no Navegador"), pagina);
}

void instalaAjuda(QWidget* janela) {
    auto* atalho = new QShortcut(QKeySequence(Qt::Key_F1), janela);
    atalho->setContext(Qt::WindowShortcut);
    QObject::connect(atalho, &QShortcut::activated, janela, &abreAjuda);
}

void mostraSobre(QWidget* janela, const QWidget* principal) {
    janela->move(principal->pos());
    janela->repaint();
    janela->show();
    janela->raise();
    janela->activateWindow();
}

}  // namespace printer
