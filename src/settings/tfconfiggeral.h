// The program's own settings: the skin of every window, the off-line
// handling sent when the printer is located, the text viewer and the
// registration folder.  Every choice is written at once to the program's
// section of KESAFI32.ini and to its global.
#pragma once

#include <QStringList>
#include <QWidget>
#include <memory>

#include "skinmanager.h"

#include "printer/janela.h"

namespace Ui {
class TFConfigGeral;
}

class TFConfigGeral : public QWidget {
    Q_OBJECT

public:
    explicit TFConfigGeral(QWidget* parent = nullptr);
    ~TFConfigGeral() override;

    // The skin engine every window of the program uses (UConfig::Skins()).
    SkinManager& skinManager;

    // Shows the settings in force (the globals) on the controls, without
    // running their handlers: nothing is written.  A setting not loaded yet
    // leaves its radios unchecked.
    void MostraAjustes();

    // A click on the picture of the skin `nome` ("Img" + nome).
    void ImgInterfaceClick(const QString& nome);
    void RbHabilitaOFFLineClick();
    void RbDesabilitaOFFLineClick();
    void CbAutorizaComandoOFFLineClick();
    void RbTXTNotepadClick();
    void RbTXTWordpadClick();
    void BtAlterarCadastroClick();
    void BtVerCadastroClick();
    void BtPastaRelClick();
    void BtRegistrarDllClick();
    void BtVerificaVersaoClick();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    std::unique_ptr<Ui::TFConfigGeral> ui;
};

namespace UConfig {

// Made the first time it is used.
extern printer::JanelaSobDemanda<TFConfigGeral> FConfigGeral;

// The skins the program offers, in the order of their pictures.
const QStringList& Interfaces();

// The skin engine of the program; the settings window drives it, the
// start-up activates it before that window exists.
SkinManager& Skins();

// The settings the window's controls write, as their handlers write them:
// the program's section of KESAFI32.ini, then the global once written (a
// refused write is reported and leaves the global as it was).
void GravaAbreTXT(const QString& valor);
void GravaEnviaComandoOFFline(const QString& valor);
void GravaTrataOFFLine(const QString& valor);

// The download page when the setting PaginaDownload names none.
QString PaginaDownloadPadrao();

}  // namespace UConfig
