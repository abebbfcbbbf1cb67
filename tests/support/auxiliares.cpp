#include "auxiliares.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

#include "commands/tfcomandosadicionais.h"
#include "kesafi_virtual.h"
#include "platform/clock.h"

std::string faltaControle(const QObject* raiz, const char* nome, const char* classe) {
    std::string s = std::string("no ") + classe + " named " + nome;
    if (!raiz) return s + " (no window to look in)";
    s += std::string(" in ") + raiz->metaObject()->className();
    if (const QObject* outro = raiz->findChild<QObject*>(QString::fromLatin1(nome)))
        s += std::string(" (it is a ") + outro->metaObject()->className() + ")";
    return s;
}

void digita(QLineEdit* edicao, const QString& texto) {
    ASSERT_NE(edicao, nullptr);
    edicao->selectAll();
    QTest::keyClick(edicao, Qt::Key_Delete);
    edicao->setCursorPosition(0);
    QTest::keyClicks(edicao, texto);
}

bool mostrou(const std::vector<platform::dialogs::Record>& caixas, platform::dialogs::Kind tipo, const QString& titulo,
             const QString& texto) {
    for (const auto& c : caixas)
        if (c.kind == tipo && c.title == titulo && (texto.isNull() || c.text == texto)) return true;
    return false;
}

std::string todas(const std::vector<platform::dialogs::Record>& caixas) {
    std::string s;
    for (const auto& c : caixas) s += descreve(c) + "\n";
    return s;
}

Caixas descritas(const std::vector<platform::dialogs::Record>& caixas) {
    Caixas out;
    for (const auto& c : caixas) out.push_back(descreve(c));
    return out;
}

int chamadas(const char* funcao) {
    int n = -1;
    KesafiVirtual_ContaChamadas(funcao, &n);
    return n;
}

long long contador(const char* nome) {
    long long v = -1;
    KesafiVirtual_LeContador(nome, &v);
    return v;
}

QString textos() {
    std::string t(4096, '\0');
    KesafiVirtual_LeTextos(t.data(), int(t.size()));
    return QString::fromLatin1(t.c_str());
}

QByteArray conteudo(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void grava(const QString& caminho, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(caminho).path());
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << caminho.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size()) << caminho.toStdString();
}

void esperaDoVerao(const QDateTime& horaECF, const QDateTime& horaComando) {
    platform::clock::set(horaECF);
    uComandosAdicionais::dHoraComando = horaComando;
    uComandosAdicionais::FComandosAdicionais.get()->EsperaSaida(horaECF);
    uComandosAdicionais::FComandosAdicionais.get()->TimerVerao.stop();
}

void tiqueDoVerao() {
    platform::clock::advance(1000);
    uComandosAdicionais::FComandosAdicionais.get()->TimerVeraoTimer();
}
