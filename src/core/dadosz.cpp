#include "dadosz.h"

#include "printer/buffer.h"
#include "relatorios.h"

namespace uDadosMFeMFD {

namespace {

struct Campo {
    int inicio;  // 1-based
    int largura;
    const char16_t* rotulo;
};

// Counters, from the restart counter down to the grand total.
constexpr Campo kContadores[] = {
    {4, 4, u"Contador de reinício de operação"},
    {9, 4, u"Contador de Redução Z"},
    {14, 6, u"Contador de Ordem Operação"},
    {21, 6, u"Contador Geral de Operações Nâo Fiscais"},
    {28, 6, u"Contador de Cupom Fiscal"},
    {35, 6, u"Contador Geral de Relatório Gerencial"},
    {42, 6, u"Contador de Fita Detalhe Emitida"},
    {49, 4, u"Contador de Operação não Fiscal Cancelada"},
    {54, 4, u"Contador de Cupom Fiscal Cancelado"},
    {301, 4, u"Contador de comprovantes de débito ou crédito"},
    {306, 4, u"Contador de comprovantes déb. ou créd. não emitidos"},
    {311, 4, u"Contador de comprovantes déb. ou créd. cancelados"},
    {316, 18, u"Totalizador geral"},
};

// Exemptions, non-incidence, substitution, discounts, surcharges and
// cancellations of ICMS and ISSQN.
constexpr Campo kTotaisIcmsIssqn[] = {
    {560, 14, u"Totalizador de isenção de ICMS"},
    {575, 14, u"Totalizador de não incidência de ICMS"},
    {590, 14, u"Totalizador de substituição tributária de ICMS"},
    {605, 14, u"Totalizador de isenção de ISSQN"},
    {620, 14, u"Totalizador de não incidência de ISSQN"},
    {635, 14, u"Totalizador de substituição tributária de ISSQN"},
    {650, 14, u"Totalizador de descontos em ICMS"},
    {665, 14, u"Totalizador de descontos em ISSQN"},
    {680, 14, u"Totalizador de acréscimos em ICMS"},
    {695, 14, u"Totalizador de acréscimos em ISSQN"},
    {710, 14, u"Totalizador de cancelamentos em ICMS"},
    {725, 14, u"Totalizador de cancelamentos em ISSQN"},
};

constexpr Campo kTotaisNaoFiscais[] = {
    {1133, 14, u"Totalizador de sangria"},
    {1148, 14, u"Totalizador de suprimento"},
    {1163, 14, u"Totalizador de descontos de não fiscais"},
    {1178, 14, u"Totalizador de acréscimos de não fiscais"},
    {1193, 14, u"Totalizador de cancelamentos de não fiscais"},
};

constexpr int kTributados = 16;
constexpr int kInicioTributados = 335;
constexpr int kNaoSujeitos = 28;
constexpr int kInicioNaoSujeitos = 740;
constexpr int kLarguraTotal = 14;
constexpr int kInicioData = 1273;

// Every labelled line: the label padded to 52 characters, then ": ".
QString prefixo(const QString& rotulo) { return rotulo.leftJustified(52, QLatin1Char(' ')) + QStringLiteral(": "); }

void acrescenta(QStringList& linhas, const QByteArray& dados, const Campo& c) {
    linhas << prefixo(QString::fromUtf16(c.rotulo)) + printer::campo(dados, c.inicio, c.largura);
}

QString doisDigitos(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

}  // namespace

QStringList LinhasDadosZ(const QByteArray& dados) {
    QStringList linhas;
    linhas << QString(23, QLatin1Char(' ')) + QStringLiteral("DADOS DA ÚLTIMA REDUÇÃO Z") << QString()
           << QStringLiteral("Considerar 2 Casas Decimais em Campos que Especificam Valores") << QString();
    for (const Campo& c : kContadores) acrescenta(linhas, dados, c);

    linhas << QStringLiteral("Totalizadores Parciais Tributados : ");
    for (int n = 1; n <= kTributados; ++n)
        linhas << prefixo(QStringLiteral("****T") + doisDigitos(n)) +
                      printer::campo(dados, kInicioTributados + kLarguraTotal * (n - 1), kLarguraTotal);
    for (const Campo& c : kTotaisIcmsIssqn) acrescenta(linhas, dados, c);

    linhas << QStringLiteral("Totalizadores parciais não sujeitos ao ICMS : ");
    for (int n = 1; n <= kNaoSujeitos; ++n)
        linhas << prefixo(QStringLiteral("****Totalizador ") + doisDigitos(n)) +
                      printer::campo(dados, kInicioNaoSujeitos + kLarguraTotal * (n - 1), kLarguraTotal);
    for (const Campo& c : kTotaisNaoFiscais) acrescenta(linhas, dados, c);

    // The three groups are joined as they come, unchecked.
    linhas << prefixo(QStringLiteral("Data do movimento")) + printer::campo(dados, kInicioData, 2) + QLatin1Char('/') +
                  printer::campo(dados, kInicioData + 2, 2) + QLatin1Char('/') +
                  printer::campo(dados, kInicioData + 4, 2);
    return linhas;
}

bool GravaTexto(const QString& arquivo, const QStringList& linhas) {
    QString texto;
    for (const QString& linha : linhas) texto += linha + QStringLiteral("\r\n");
    return URelFiscais::gravaTexto(arquivo, texto);
}

}  // namespace uDadosMFeMFD
