// The tape view: what the printer printed, record by record, as on its
// paper (48 columns), following each new document as it is printed, and
// found by COO or by day.  Read a page at a time, so a tape of any length
// opens at once at its end.
#pragma once

#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

#include "printer/fita.h"

namespace Ui {
class TFBobina;
}

class TFBobina : public QWidget {
    Q_OBJECT

public:
    // Records read at a time.
    static constexpr int kPagina = 50;

    explicit TFBobina(const printer::Fita& fita, QWidget* parent = nullptr);
    ~TFBobina() override;

    // Shows the window beside `principal` (over it when the screen has no
    // room), at the end of the tape.
    void Abre(const QWidget* principal);

    // What was printed since the last record read goes below it, when the
    // view reaches the end of the tape; the view follows it if it stood at
    // its bottom.  Waits while a box is open; runs every second while the
    // window shows, and after every command of the program.
    void Acompanha();
    QTimer TimerAcompanha;

    void BtProcuraCooClick();
    void BtProcuraDataClick();
    void BtFimClick();
    void BtFecharClick();

    // Numbers of the first and last record on screen (0 when none).
    qint64 primeiroMostrado() const { return primeiro_; }
    qint64 ultimoMostrado() const { return ultimo_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Reads a page; on failure says so under the tape and gives false.
    bool le(qint64 numero, int sentido, std::vector<printer::RegistroDaFita>& registros);
    bool leLimites();
    void mostraFim();
    // The page from record `numero` on, that record at the top of the view.
    void mostraDesde(qint64 numero);
    void acrescenta(const std::vector<printer::RegistroDaFita>& registros);
    void anterioresAoRolar(int valor);
    void mostraSituacao();
    void falhou(int retorno);

    printer::Fita fita_;
    qint64 primeiro_ = 0, ultimo_ = 0;              // on screen
    qint64 primeiroDaFita_ = 0, ultimoDaFita_ = 0;  // as last read
    bool carregando_ = false;
    QString falha_;
    std::unique_ptr<Ui::TFBobina> ui;
};

// A page of records as the view shows them: each one under its heading,
// its text as printed, a cut line after it; `colunas` wide.
QString textoDaBobina(const std::vector<printer::RegistroDaFita>& registros, int colunas);
