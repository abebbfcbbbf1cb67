// The fiscal configuration window: the printer's payment methods, tax rates,
// non-fiscal receipts and managerial reports beside the registration file
// that plans them, with the single sends, the copies both ways and the
// configuration models.
#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "cadastro.h"
#include "tabelas.h"

#include "printer/janela.h"

class QLabel;
class QLineEdit;
class QTableWidget;

namespace Ui {
class TFConfigECF;
}

class TFConfigECF : public QWidget {
    Q_OBJECT

public:
    explicit TFConfigECF(QWidget* parent = nullptr);
    ~TFConfigECF() override;

    // Blinks the length warnings of the three name edits.
    QTimer TimerPiscaLabel;

    // Reads the printer's four tables, shows them and loads the registration
    // file; runs each time the window is shown.
    void FormShow();
    // Rewrites the eight memos from the printer-side tables.
    void MostraConfiguracaoAtual();

    // Creates the registration file from the template when it is missing and
    // fills the four grids from it.
    void CarregaCadastro();
    // Writes the four grids to the registration file; false (the operator
    // told why, the grids showing again what the file holds) when it could
    // not be written.
    bool GravaCadastro();
    // Removes row `linha` of a payment-method or tax-rate grid, moving the
    // later rows up.
    void ApagaLinha(QTableWidget* grade, int linha);

    void SgFormaPagamentoDblClick();
    void SgAliquotasDblClick();
    void SgCNFDblClick();
    void SgRelGerencialDblClick();
    void BtSalvaModeloConfigClick();
    void BtImportaModeloConfigClick();

    void BtEnviarAliquotaClick();
    void BtImpressoraArquivoALClick();
    void BtArquivoIpressoraALClick();

    void BtEnviarFormaPagtoClick();
    void BtImpressoraArquivoFPClick();
    void BtArquivoImpressoraFPClick();

    void BtEnviarCNFClick();
    void BtImpressoraArquivoCNFClick();
    void BtArquivoImpressoraCNFClick();
    void BtEnviarRelGerencialClick();
    void BtEnviarImpressoraArquivoRGClick();
    void BtEnviarArquivoImpressoraRGClick();

    void BtSalvaTudoArquivoClick();
    void TimerPiscaLabelTimer();
    // The "Caracteres Utilizados" counters, refreshed by the status window's
    // timer.
    void AtualizaContadores();

    // The registration file of the located printer.
    QString arquivoCadastro() const;
    // The grid of a table as rows, and back.
    configfiscal::Grade grade(configfiscal::Tabela tabela) const;
    void mostraGrade(configfiscal::Tabela tabela, const configfiscal::Grade& linhas);
    // Whether a length warning is currently drawn without its background.
    static bool transparente(const QLabel* aviso);

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Tabela;
    void copiaDaImpressora(const Tabela& tabela);
    void enviaParaImpressora(const Tabela& tabela);
    // The printer side of a single send: the question, the call, the answer
    // box and the refreshes; the edit is emptied either way.
    void enviaUm(const QString& pergunta, const QString& titulo, const std::function<void()>& envia,
                 bool (*releitura)(), bool releSempre, QLineEdit* edit);
    // A name typed in file mode goes into row `linha` of the grid.
    void cadastraNome(configfiscal::Tabela tabela, int linha, const configfiscal::Linha& nome, QLineEdit* edit);
    // Refuses, with a box naming them, the characters of the edit the
    // printer cannot store; true when it did.
    bool recusaCaracteres(QLineEdit* edit);
    // The grids from a read of the registration file.
    void mostraCadastro(const configfiscal::Leitura& leitura);
    QTableWidget* widgetDa(configfiscal::Tabela tabela) const;
    void preparaGrade(configfiscal::Tabela tabela);

    std::unique_ptr<std::array<Tabela, 4>> tabelas_;
    // The registration file exists but cannot be read: it is left alone.
    bool cadastroIlegivel_ = false;
    // The registration file the grids were loaded from.
    QString arquivo_;
    std::unique_ptr<Ui::TFConfigECF> ui;
};

namespace UConfigFiscais {

// Made the first time it is used.
extern printer::JanelaSobDemanda<TFConfigECF> FConfigECF;

// The printer's tables as the latest reads left them.
extern configfiscal::FormasPagamento aFormasPagamento;
extern configfiscal::Aliquotas aAliquotas;
extern configfiscal::Nomes aComprovantes;
extern configfiscal::Nomes aRelatorios;

// Each read sets sComando, calls the library into a buffer of blanks, runs
// VerificaRetorno and cuts the buffer into its table, whatever the result;
// true when every call of the read was answered (a result above 0, no NAK).
bool LeFormasPagamento();
bool LeAliquotas();
bool LeComprovantes();
bool LeRelatorios();

// Programs one payment method: name of 16 characters, bound "1" or "0".
void EnviaFormaPagamento(const QString& nome, const QString& vinculo);

}  // namespace UConfigFiscais
