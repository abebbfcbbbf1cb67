// A temporary installation folder per test: the program's shipped files
// copied into it, KESAFI32.ini and the virtual printer's memory kept there,
// and the eight windows created as the program's entry creates them.
#pragma once

#include <gtest/gtest.h>

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "app/tfprincipal.h"
#include "platform/dialogs.h"
#include "platform/shell.h"

class Instalacao : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A folder below the temporary one to install into ("joão/Zentora").
    virtual QString subpasta() const { return {}; }

    // The installation folder, with trailing separator.
    QString pasta() const;
    QString arquivo(const QString& nome) const { return pasta() + nome; }
    QString ini() const { return arquivo(QStringLiteral("KESAFI32.ini")); }
    QString leIni(const QString& secao, const QString& chave) const;
    void gravaIni(const QString& secao, const QString& chave, const QString& valor) const;

    // A fresh virtual printer attached to "USB", "Serial" or "".
    void criaImpressora(const QString& porta = QStringLiteral("Serial"), int semente = 0);
    // Opens the library's port on "USB" or "Default" as the location does.
    void abrePorta(const QString& porta);
    // Creates the eight windows; `mostra` also shows the main window (its
    // start-up sequence runs).  Called again, it closes the program's windows
    // first, as a restart does.
    void criaJanelas(bool mostra = true);

    // Every box shown since the last call, then forgotten.
    std::vector<platform::dialogs::Record> caixas() { return dialogos.take(); }

    platform::dialogs::Script dialogos;
    platform::shell::Recorder shell;

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString raiz_;
    std::unique_ptr<uZentora3::Janelas> janelas_;
};

// "Kind title: text" of a box, for readable failures.
std::string descreve(const platform::dialogs::Record& caixa);
