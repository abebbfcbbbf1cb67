// The last reduction's report, cut by position from the library's buffer.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "../reports/impressao.h"
#include "core/dadosz.h"
#include "kesafi32.h"

using namespace uDadosMFeMFD;

namespace {

QByteArray emBranco() { return QByteArray(KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO, ' '); }

// Writes `texto` at 1-based position `inicio`.
void poe(QByteArray& dados, int inicio, const QByteArray& texto) { dados.replace(inicio - 1, texto.size(), texto); }

QString prefixo(const QString& rotulo) { return rotulo.leftJustified(52, QLatin1Char(' ')) + QStringLiteral(": "); }

}  // namespace

TEST(DadosZ, OitentaEUmaLinhasComCabecalhoETitulosDosGrupos) {
    const QStringList linhas = LinhasDadosZ(emBranco());
    ASSERT_EQ(linhas.size(), 81);
    EXPECT_EQ(linhas[0], QString(23, QLatin1Char(' ')) + QStringLiteral("DADOS DA ÚLTIMA REDUÇÃO Z"));
    EXPECT_EQ(linhas[1], QString());
    EXPECT_EQ(linhas[2], QStringLiteral("Considerar 2 Casas Decimais em Campos que Especificam Valores"));
    EXPECT_EQ(linhas[3], QString());
    EXPECT_EQ(linhas[17], QStringLiteral("Totalizadores Parciais Tributados : "));
    EXPECT_EQ(linhas[46], QStringLiteral("Totalizadores parciais não sujeitos ao ICMS : "));
    // Line 5 as laid out: the label, 20 blanks, ": " and four blanks.
    EXPECT_EQ(linhas[4], QStringLiteral("Contador de reinício de operação") + QString(20, QLatin1Char(' ')) +
                             QStringLiteral(":     "));
    EXPECT_EQ(linhas[7], prefixo(QStringLiteral("Contador Geral de Operações Nâo Fiscais")) + QString(6, ' '));
    // Every line but the four heading lines and the two group titles has
    // the same 54-character prefix.
    for (int i = 4; i < 81; ++i) {
        if (i == 17 || i == 46) continue;
        EXPECT_EQ(linhas[i].mid(52, 2), QStringLiteral(": ")) << "line " << i + 1;
    }
}

TEST(DadosZ, CadaCampoVemDaSuaPosicao) {
    struct Caso {
        int linha;  // 1-based line of the report
        int inicio;
        int largura;
        const char* inicioDaLinha;
    };
    const Caso casos[] = {
        {5, 4, 4, "Contador de reinício de operação"},
        {7, 14, 6, "Contador de Ordem Operação"},
        {13, 54, 4, "Contador de Cupom Fiscal Cancelado"},
        {14, 301, 4, "Contador de comprovantes de débito ou crédito"},
        {17, 316, 18, "Totalizador geral"},
        {19, 335, 14, "****T01"},
        {28, 461, 14, "****T10"},
        {34, 545, 14, "****T16"},
        {35, 560, 14, "Totalizador de isenção de ICMS"},
        {37, 590, 14, "Totalizador de substituição tributária de ICMS"},
        {46, 725, 14, "Totalizador de cancelamentos em ISSQN"},
        {48, 740, 14, "****Totalizador 01"},
        {75, 1118, 14, "****Totalizador 28"},
        {76, 1133, 14, "Totalizador de sangria"},
        {80, 1193, 14, "Totalizador de cancelamentos de não fiscais"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.linha);
        QByteArray dados = emBranco();
        // A field of distinct digits with a mark on each side, so that a
        // field read one position off shows.
        QByteArray campo;
        for (int i = 0; i < c.largura; ++i) campo += char('0' + (i + c.linha) % 10);
        poe(dados, c.inicio - 1, "<" + campo + ">");
        const QStringList linhas = LinhasDadosZ(dados);
        EXPECT_EQ(linhas[c.linha - 1], prefixo(QString::fromUtf8(c.inicioDaLinha)) + QString::fromLatin1(campo));
    }
}

TEST(DadosZ, LinhaDaDataJuntaOsTresGruposSemConferir) {
    QByteArray dados = emBranco();
    poe(dados, 1273, "120712");
    EXPECT_EQ(LinhasDadosZ(dados)[80], prefixo(QStringLiteral("Data do movimento")) + QStringLiteral("12/07/12"));
    poe(dados, 1273, "9X 7?!");
    EXPECT_EQ(LinhasDadosZ(dados)[80], prefixo(QStringLiteral("Data do movimento")) + QStringLiteral("9X/ 7/?!"));
}

TEST(DadosZ, BufferEmPartePreenchidoMostraBrancosDepoisDosDoisPontos) {
    QByteArray dados = emBranco();
    poe(dados, 4, "0001");
    poe(dados, 9, "0042");
    dados[13] = '\0';  // a zero the library left inside a field
    const QStringList linhas = LinhasDadosZ(dados);
    EXPECT_TRUE(linhas[4].endsWith(QStringLiteral(": 0001")));
    EXPECT_TRUE(linhas[5].endsWith(QStringLiteral(": 0042")));
    EXPECT_TRUE(linhas[6].endsWith(QStringLiteral(":       ")));
    EXPECT_TRUE(linhas[40].endsWith(QStringLiteral(": ") + QString(14, QLatin1Char(' '))));
    EXPECT_EQ(linhas[80], prefixo(QStringLiteral("Data do movimento")) + QStringLiteral("  /  /  "));

    // A short buffer gives short fields, never a read past its end.
    const QStringList curtas = LinhasDadosZ(QByteArray("   1234"));
    ASSERT_EQ(curtas.size(), 81);
    EXPECT_EQ(curtas[4], prefixo(QStringLiteral("Contador de reinício de operação")) + QStringLiteral("1234"));
    EXPECT_EQ(curtas[80], prefixo(QStringLiteral("Data do movimento")) + QStringLiteral("//"));
}

// The report is for a person: text of the system's code page, UTF-8 here.
TEST(DadosZ, ArquivoEmUtf8ComCRLFSubstituidoSoQuandoGravado) {
    QTemporaryDir dir;
    const QString arquivo = dir.filePath(QStringLiteral("z.txt"));
    ASSERT_TRUE(GravaTexto(arquivo, LinhasDadosZ(emBranco())));
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    f.close();
    EXPECT_EQ(bytes.count("\r\n"), 81);
    EXPECT_EQ(bytes.count('\n'), 81);
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_TRUE(bytes.contains(QStringLiteral("Contador Geral de Operações Nâo Fiscais").toUtf8()));
    EXPECT_TRUE(bytes.startsWith(QByteArray(23, ' ') + QStringLiteral("DADOS DA ÚLTIMA REDUÇÃO Z\r\n").toUtf8()));

    // A new report replaces the old one.
    ASSERT_TRUE(GravaTexto(arquivo, {QStringLiteral("novo")}));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("novo\r\n"));
    f.close();

    // A name that cannot be written (a folder stands there) fails and leaves it.
    const QString pasta = dir.filePath(QStringLiteral("pasta"));
    ASSERT_TRUE(QDir().mkpath(pasta));
    EXPECT_FALSE(GravaTexto(pasta, {QStringLiteral("x")}));
    EXPECT_TRUE(QFileInfo(pasta).isDir());
    EXPECT_FALSE(GravaTexto(dir.filePath(QStringLiteral("nao/existe.txt")), {QStringLiteral("x")}));
}
