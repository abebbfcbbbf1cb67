// What the core tells the windows: a value of the printer's state read
// anew, a step of a long sequence, the daylight-saving wait.  Windows
// connect to these; the core never reaches a window.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

namespace uZentora3 {

// The values of the main window's information panel, in the order
// LeInformacoesECF reads them.
enum class Valor { NumeroSerie, Versao, ZRestantes, UltimoDocMFD, UltimaZ, StatusVerao, MfdLivre };

}  // namespace uZentora3

namespace core {

class Eventos : public QObject {
    Q_OBJECT

signals:
    // The gauge of a sequence (location, reading the tables): 0 to 10.
    void progresso(int etapa);
    // A panel value as the printer gave it now, as text (MfdLivre: the
    // whole percentage).
    void valorLido(uZentora3::Valor valor, const QString& texto);
    // Whether the value shown is the printer's current one, or kept from
    // before because the printer did not answer.
    void valorAtualizado(uZentora3::Valor valor, bool atualizado);
    // sHorarioVerao was read anew.
    void horarioVeraoLido();

    // The daylight-saving exit waits for its moment, counted from the
    // printer's time `horaECF` read now (dHoraComando holds the moment).
    void esperaSaidaPedida(const QDateTime& horaECF);
    // The exit goes out now: a wait still running ends, so that it goes out once.
    void esperaSaidaEncerrada();
    // What the Reduction Z button says meanwhile: the countdown, or its own caption.
    void contagemVerao(const QString& legenda);
};

// The one notifier of the running program.
Eventos& eventos();

}  // namespace core
