#include "configecf.h"

#include <QDir>
#include <QTest>

#include "kesafi32.h"
#include "platform/profile.h"
#include "printer/buffer.h"
#include "printer/ustatus.h"

void ConfigECF::SetUp() {
    Instalacao::SetUp();
    if (HasFatalFailure()) return;
    // Only the test's own registration files.
    QDir(arquivo(QStringLiteral("Cadastro"))).removeRecursively();
    QDir().mkpath(arquivo(QStringLiteral("Cadastro/Modelos")));
    criaImpressora();
    if (HasFatalFailure()) return;
    criaJanelas();
    janela = UConfigFiscais::FConfigECF.get();
    ASSERT_NE(janela, nullptr);
}

void ConfigECF::abreJanela() {
    uZentora3::Fprincipal->BtLocalizarImpressoraClick();
    caixas();
    uZentora3::Fprincipal->BtConfigFiscaisClick();
}

void ConfigECF::reabre() {
    janela->hide();
    uZentora3::Fprincipal->BtConfigFiscaisClick();
}

void ConfigECF::duploClique(const char* grade, int linha) {
    QTableWidget* g = controle<QTableWidget>(grade);
    g->scrollToItem(g->item(linha - 1, 1));
    const QRect r = g->visualItemRect(g->item(linha - 1, 1));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, r.center());
}

void ConfigECF::digitaAliquota(const QString& digitos) {
    auto* e = controle<QLineEdit>("MEAliquota");
    e->setFocus();
    e->home(false);
    QTest::keyClicks(e, digitos);
}

QString ConfigECF::cadastro() const { return janela->arquivoCadastro(); }

QString ConfigECF::valor(const QString& secao, int chave) const {
    return platform::Profile(cadastro()).readString(secao, QString::number(chave));
}

QString ConfigECF::aliquotas() {
    QByteArray b = printer::bufferEmBranco(KESAFI_LARGURA_ALIQUOTAS);
    Kestrona_FI_RetornoAliquotas(b.data());
    return printer::texto(b);
}

QString ConfigECF::formas() {
    QByteArray b = printer::bufferEmBranco(KESAFI_LARGURA_FORMAS_PAGAMENTO);
    Kestrona_FI_VerificaFormasPagamento(b.data());
    return printer::texto(b);
}
