// What every window of the program shares: the fixed frame, the caption of
// the function windows, placement over the main window and F1 help.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "platform/dialogs.h"

namespace printer {

// The save and open dialogs of the status strip, which every window borrows.
platform::dialogs::FileDialog& janelaSalvar();
platform::dialogs::FileDialog& janelaAbrir();

// Caption of the function windows.
QString legendaPadrao();

// Fixed dialog border with the given title-bar buttons; the client area
// keeps the size the layout gives it.
void preparaJanela(QWidget* janela, Qt::WindowFlags botoes);

// F1 opens the help's start page in the default browser.
void instalaAjuda(QWidget* janela);
void abreAjuda();

// Places `janela` exactly over `principal`, repaints it and shows it, not modal.
void mostraSobre(QWidget* janela, const QWidget* principal);

// The global of a window that the program makes the first time it is opened
// (a window not shown at start costs nothing until then) and keeps, hidden
// between showings, until it ends.  Only get() makes it; whoever only wants
// to reach a window that exists asks existente().
template <class T>
class JanelaSobDemanda {
public:
    // How the window is made, and what follows once the global holds it; an
    // empty `cria` makes none (before the program starts, while it ends).
    void defineCriacao(std::function<T*()> cria, std::function<void(T*)> feita = {}) {
        cria_ = std::move(cria);
        feita_ = std::move(feita);
    }
    // The window, made now if it does not exist yet.
    T* get() {
        if (!janela_ && cria_) {
            janela_ = cria_();
            if (feita_) feita_(janela_);
        }
        return janela_;
    }
    // The window if it was made, without making it.
    T* existente() const { return janela_; }
    // Forgets the window (it is destroyed elsewhere).
    void esquece() { janela_ = nullptr; }

private:
    T* janela_ = nullptr;
    std::function<T*()> cria_;
    std::function<void(T*)> feita_;
};

}  // namespace printer
