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

#include "instalacao.h"
#include "kesafi_virtual.h"
#include "printer/buffer.h"
#include "reports/tfrelfiscais.h"

using platform::dialogs::Kind;
using platform::dialogs::Record;

class RelFiscais : public Instalacao {
protected:
    void SetUp() override {
        Instalacao::SetUp();
        if (HasFatalFailure()) return;
        criaImpressora();
        if (HasFatalFailure()) return;
        criaJanelas();
        uZentora3::Fprincipal->BtLocalizarImpressoraClick();
        caixas();
        uZentora3::Fprincipal->BtRelatoriosFiscaisClick();
        janela = URelFiscais::FRelFiscais;
        ASSERT_NE(janela, nullptr);
    }

    template <class T>
    T* controle(const char* nome) {
        T* c = janela->findChild<T*>(QString::fromLatin1(nome));
        if (!c) ADD_FAILURE() << "no control " << nome;
        return c;
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

    static int chamadas(const char* funcao) {
        int n = -1;
        KesafiVirtual_ContaChamadas(funcao, &n);
        return n;
    }
    // The text arguments of the latest library call that took texts.
    static QString textos() {
        char t[512];
        KesafiVirtual_LeTextos(t, sizeof t);
        return QString::fromLatin1(t);
    }
    static long long contador(const char* nome) {
        long long v = -1;
        KesafiVirtual_LeContador(nome, &v);
        return v;
    }
    static QString horaDaImpressora() {
        QByteArray data = printer::bufferEmBranco(6), hora = printer::bufferEmBranco(6);
        Kestrona_FI_DataHoraImpressora(data.data(), hora.data());
        return printer::texto(data) + QLatin1Char(' ') + printer::texto(hora);
    }

    QByteArray conteudo(const QString& nome) {
        QFile f(arquivo(nome));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void gravaCaptura(const QByteArray& texto) {
        QFile f(arquivo(QStringLiteral("Retorno.txt")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(texto);
    }
    QStringList relatorios() { return QDir(arquivo(QStringLiteral("Relatorios"))).entryList(QDir::Files); }

    static bool mostrou(const std::vector<Record>& vistas, Kind tipo, const QString& titulo) {
        for (const Record& r : vistas)
            if (r.kind == tipo && r.title == titulo) return true;
        return false;
    }

    TFRelFiscais* janela = nullptr;
};
