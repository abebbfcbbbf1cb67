// Fixture of the fiscal reports window: an installation with a located
// virtual printer and the window shown over the main window.
#pragma once

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "auxiliares.h"
#include "kesafi32.h"
#include "kesafi_virtual.h"
#include "platform/cp1252.h"
#include "printer/buffer.h"
#include "reports/tfrelfiscais.h"

using platform::dialogs::Kind;
using platform::dialogs::Record;

class RelFiscais : public TesteDeJanela<TFRelFiscais> {
protected:
    void SetUp() override {
        Instalacao::SetUp();
        if (HasFatalFailure()) return;
        localizaImpressora();
        if (HasFatalFailure()) return;
        uZentora3::Fprincipal->BtRelatoriosFiscaisClick();
        janela = URelFiscais::FRelFiscais.get();
        ASSERT_NE(janela, nullptr);
    }

    QPlainTextEdit* memo() { return controle<QPlainTextEdit>("MemoRelFiscal"); }
    QString rotulo(const char* nome) {
        const auto* l = uZentora3::Fprincipal->findChild<QLabel*>(QString::fromLatin1(nome));
        return l ? l->text() : QString();
    }

    void leituraX(const char* modo) {
        controle<QRadioButton>(modo)->setChecked(true);
        QTest::mouseClick(controle<QPushButton>("BtLeituraX"), Qt::LeftButton);
    }
    void habilitaZ() {
        controle<QCheckBox>("CbHabilitaZ")->setChecked(true);
        caixas();
    }

    static QString horaDaImpressora() {
        QByteArray data = printer::bufferEmBranco(KESAFI_LARGURA_DATA),
                   hora = printer::bufferEmBranco(KESAFI_LARGURA_HORA);
        Kestrona_FI_DataHoraImpressora(data.data(), hora.data());
        return printer::texto(data) + QLatin1Char(' ') + printer::texto(hora);
    }

    // A file of the installation folder.
    QByteArray conteudo(const QString& nome) { return ::conteudo(arquivo(nome)); }
    // The capture (Windows-1252, as the library writes it) as the copy a
    // person opens holds it: UTF-8.
    QByteArray capturaEmUtf8() { return platform::fromCp1252(conteudo(QStringLiteral("Retorno.txt"))).toUtf8(); }
    void gravaCaptura(const QByteArray& texto) { grava(arquivo(QStringLiteral("Retorno.txt")), texto); }
    QStringList relatorios() { return QDir(arquivo(QStringLiteral("Relatorios"))).entryList(QDir::Files); }
};
