// Fixture of the fiscal configuration window: a located virtual printer, the
// window shown over the main window, and readers for its controls, its
// registration file and the printer's tables.
#pragma once

#include <QByteArray>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTableWidget>

#include "auxiliares.h"
#include "fiscalconfig/tfconfigecf.h"

class ConfigECF : public TesteDeJanela<TFConfigECF> {
protected:
    void SetUp() override;

    // Locates the printer and shows the window (its reads and the file load run).
    void abreJanela();
    // Hides the window and shows it again, as the main window's button does.
    void reabre();

    void clica(const char* botao) { controle<QPushButton>(botao)->click(); }
    QStringList memo(const char* nome) {
        return controle<QPlainTextEdit>(nome)->toPlainText().split(QLatin1Char('\n'));
    }
    // Cell `coluna` of grid row `linha` (both as the window numbers them).
    QString celula(const char* grade, int linha, int coluna = 1) {
        return controle<QTableWidget>(grade)->item(linha - 1, coluna)->text();
    }
    // Double-clicks the cell of column 1 in `linha`.
    void duploClique(const char* grade, int linha);
    // Types a rate into the masked edit as the keyboard does.
    void digitaAliquota(const QString& digitos);

    // The located printer's registration file and what it holds.
    QString cadastro() const;
    QString valor(const QString& secao, int chave) const;

    // Printer-side reads straight from the library.
    static QString aliquotas();
    static QString formas();
};
