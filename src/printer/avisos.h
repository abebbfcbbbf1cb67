// What the analysis of the printer's answers tells whoever shows the
// printer's state: the status strip, the main window's clock, the tape view.
#pragma once

#include <QObject>

namespace printer {

class Avisos : public QObject {
    Q_OBJECT

signals:
    // A command's answer is about to be analysed (VerificaRetorno): what
    // shows the printer's state elsewhere reads it again once the handler is
    // done.
    void comandoVerificado();
    // The answer was decoded into the UStatus globals (not after a NAK): the
    // status lights and memo show it now.
    void respostaDecodificada();
};

// The one notifier of the running program.
Avisos& avisos();

}  // namespace printer
