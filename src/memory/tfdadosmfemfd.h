// The MF/MFD data window: files and mirrors of the tape detail memory, the
// conversion of a stored MFD file, the last reduction's data, the fiscal
// memory download, the configuration print-out and signature validation.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

#include "core/arquivos.h"
#include "core/intervalo.h"
#include "kesafi32.h"

#include "printer/janela.h"

class QAbstractButton;

namespace Ui {
class TFDadosMFeMFD;
}

class TFDadosMFeMFD : public QWidget {
    Q_OBJECT

public:
    explicit TFDadosMFeMFD(QWidget* parent = nullptr);
    ~TFDadosMFeMFD() override;

    void RbDownloadDataMfdClick();
    void RbDownloadCOOMfdClick();
    void RbDownloadTotalMFDClick();
    void SbUSuarioMFDScroll();
    void BtDownloadMFDClick();
    void BtMFDDiretoTXTClick();
    void BtFormatoMFDClick();
    void BtDadosZClick();
    void BtDownloadMFClick();
    void BtImprimirConfigClick();
    void BtValidarAssinaturaClick();

    // Says in the conversion panel what the stored <serial>.MFD holds.
    void MostraArquivoMFD();

    // What the range controls hold now.
    uDadosMFeMFD::Escolha escolha() const;
    // The type code of the checked type radio (MF 0, MFD 1, TDM 2, RZ 3,
    // RFD 4); nothing when none is checked.
    std::optional<int> tipoDownload() const;
    // "1" to "5".
    QString usuario() const;
    // 0 for one file per day of movement, 1 for a single file.
    int arquivoUnico() const;

protected:
    void showEvent(QShowEvent* evento) override;

private:
    // The range check; a refusal is shown (and the focus moved) here.
    std::optional<uDadosMFeMFD::Intervalo> confereIntervalo(const QString& semFaixa, bool exigeTipo);
    std::unique_ptr<Ui::TFDadosMFeMFD> ui;
};

namespace uDadosMFeMFD {

// Made the first time it is used.
extern printer::JanelaSobDemanda<TFDadosMFeMFD> FDadosMFeMFD;

// Opens `pasta` in the desktop's file manager; an error box names it when none could.
void AbrePasta(const QString& pasta);

// The signature library's check, bound when the program loads, as the
// printer library's functions are; tests put another function in its place.
using TValidateFile = int(KESAFI_CALL*)(const char* arquivo, const char* chave1, const char* chave2);
extern TValidateFile validateFile;

}  // namespace uDadosMFeMFD
