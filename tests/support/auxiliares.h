// Small readers and writers the window tests share: controls found by their
// objectName, typing into an edit, the boxes shown, the virtual printer's
// test control and files.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <string>
#include <vector>

#include "instalacao.h"
#include "platform/dialogs.h"

class QLineEdit;

// The child of `raiz` of class T named `nome`; a test failure naming the
// control when there is none (see faltaControle).
template <class T>
T* controle(const QObject* raiz, const char* nome) {
    T* c = raiz ? raiz->findChild<T*>(QString::fromLatin1(nome)) : nullptr;
    if (!c) ADD_FAILURE() << faltaControle(raiz, nome, T::staticMetaObject.className());
    return c;
}
// Why no `classe` named `nome` was found below `raiz`: no window, no child
// of that name, or one of another class.
std::string faltaControle(const QObject* raiz, const char* nome, const char* classe);

// A control of the main window.
template <class T>
T* naPrincipal(const char* nome) {
    return controle<T>(uZentora3::Fprincipal, nome);
}

// Types into an enabled (masked) edit as a person would, over what it held.
void digita(QLineEdit* edicao, const QString& texto);

// Whether a box of that kind and title (and that text, when one is given)
// is among `caixas`.
bool mostrou(const std::vector<platform::dialogs::Record>& caixas, platform::dialogs::Kind tipo, const QString& titulo,
             const QString& texto = QString());
// Every box, one a line, for readable failures.
std::string todas(const std::vector<platform::dialogs::Record>& caixas);
// Every box as "Kind title: text" (see descreve), to compare a whole list at once.
using Caixas = std::vector<std::string>;
Caixas descritas(const std::vector<platform::dialogs::Record>& caixas);

// The virtual printer's test control: how often a library function was
// called, one of its counters, and the text arguments of the latest call
// that took texts.
int chamadas(const char* funcao);
long long contador(const char* nome);
QString textos();

// A file's bytes (empty when it cannot be read), and writing it anew (its
// folder made when missing).
QByteArray conteudo(const QString& caminho);
void grava(const QString& caminho, const QByteArray& bytes);

// Fixture of one window: the installation, the window and its controls.
template <class Janela>
class TesteDeJanela : public Instalacao {
protected:
    template <class T>
    T* controle(const char* nome) {
        return ::controle<T>(janela, nome);
    }
    // A fresh printer on the serial port, the program's windows, and the
    // printer located as the main window's button does (its boxes forgotten).
    void localizaImpressora() {
        criaImpressora();
        if (HasFatalFailure()) return;
        criaJanelas();
        uZentora3::Fprincipal->BtLocalizarImpressoraClick();
        caixas();
    }

    Janela* janela = nullptr;
};

// A daylight-saving exit counting from the printer's time `horaECF` towards
// `horaComando`, the computer's clock standing still until `tiqueDoVerao`
// lets a second pass and runs one tick (the timer itself is stopped).
void esperaDoVerao(const QDateTime& horaECF, const QDateTime& horaComando);
void tiqueDoVerao();
