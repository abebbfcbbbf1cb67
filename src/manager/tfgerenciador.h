// The command manager: which functions of the other windows the users may
// reach, and the password that guards that choice.  It hides functions from
// operators; it is no security boundary (the flags and the password are
// plain settings in KESAFI32.ini).
#pragma once

#include <QDialog>
#include <memory>

#include "core/disponibilidade.h"

class QCheckBox;

namespace Ui {
class TFGerenciador;
}

class TFGerenciador : public QDialog {
    Q_OBJECT

public:
    explicit TFGerenciador(QWidget* parent = nullptr);
    ~TFGerenciador() override;

    // The main window, whose function buttons the manager governs too.
    void defineJanelaPrincipal(QWidget* principal);

    // From the setting `Status` into aStatus and the check boxes.
    void CarregaStatus();
    // From the check boxes onto the governed controls of every window.  A
    // control a window does not have is reported as a warning and skipped.
    // A window not made yet is skipped: it gets the flags when it is made.
    void AplicaStatus();
    // The same onto `janela` alone, a window just made, once the start-up
    // has applied the flags.
    void AplicaStatusNaNovaJanela(QWidget* janela);
    // From the check boxes into aStatus and the setting `Status`.
    void SalvaStatus();

    // The main window's "Gerenciador de Comandos": asks for the password when
    // one is set, then shows the manager modally over `principal`.
    void Entra(const QWidget* principal);

    void BtHabilitaTodosClick();
    void BtDesabilitaTodosClick();
    void CbHabilitaSenhaClick();
    // After every change typed into either password edit.
    void MeSenhaKeyUp();
    void BtSalvarSenhaClick();

    // However the window closes: the flags are applied, then stored.
    void FormClose();
    void done(int resultado) override;

private:
    // The window if it exists: one made later gets the flags when it is made.
    QWidget* janelaDe(UGerenciador::Janela janela) const;
    QCheckBox* caixa(const char* nome) const;
    // Onto every window that exists, or onto `somente`.
    void aplica(const QWidget* somente);

    QWidget* principal_ = nullptr;
    bool aplicado_ = false;
    std::unique_ptr<Ui::TFGerenciador> ui;
};

namespace UGerenciador {
extern TFGerenciador* FGerenciador;
}
