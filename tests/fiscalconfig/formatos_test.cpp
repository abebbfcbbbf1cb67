// The registration file's fixed-width values, the slicing of the printer's
// answers, the memo lines, the grids of a printer-to-file copy and what the
// operator types.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "../reports/impressao.h"
#include "fiscalconfig/cadastro.h"
#include "fiscalconfig/entradas.h"
#include "fiscalconfig/tabelas.h"
#include "kesafi32.h"
#include "platform/cp1252.h"
#include "platform/dialogs.h"

using namespace configfiscal;

namespace configfiscal {
inline void PrintTo(const Linha& l, std::ostream* os) {
    *os << '{' << '"' << l.c1.toStdString() << "\", \"" << l.c2.toStdString() << "\"}";
}
}  // namespace configfiscal

namespace {

QString brancos(int n) { return QString(n, QLatin1Char(' ')); }

// A fixed-width answer buffer: blanks with `texto` written at 1-based `posicao`.
void poe(QByteArray& buffer, int posicao, const QByteArray& texto) { buffer.replace(posicao - 1, texto.size(), texto); }

TEST(Cadastro, ValoresDeFormasDePagamentoEAliquotasSaoCortadosPorPosicao) {
    // As the profile reader returns them: the quotes stay, the value ends in a letter.
    EXPECT_EQ(linhaDoValor(Tabela::FormaPagamento, QStringLiteral("\"Cartão          \",V")),
              (Linha{QStringLiteral("Cartão          "), QStringLiteral("V")}));
    // 16 blanks keep the name's blanks and lose the flag.
    EXPECT_EQ(linhaDoValor(Tabela::FormaPagamento, QStringLiteral("\"%1\",N").arg(brancos(16))),
              (Linha{brancos(16), {}}));
    // A hand-edited short name is cut at the fixed places.
    EXPECT_EQ(linhaDoValor(Tabela::FormaPagamento, QStringLiteral("\"PIX\",V")),
              (Linha{QStringLiteral("PIX\",V"), {}}));
    // The flag alone, as an empty name with a flag is written.
    EXPECT_EQ(linhaDoValor(Tabela::FormaPagamento, QStringLiteral("V")), (Linha{}));
    EXPECT_EQ(linhaDoValor(Tabela::FormaPagamento, QString()), (Linha{}));

    EXPECT_EQ(linhaDoValor(Tabela::Aliquota, QStringLiteral("\"07,50%\",Serviço(ISS)")),
              (Linha{QStringLiteral("07,50%"), QStringLiteral("Serviço(ISS)")}));
    EXPECT_EQ(linhaDoValor(Tabela::Aliquota, QStringLiteral("\"00,00%\",ICMS")), (Linha{}));
    EXPECT_EQ(linhaDoValor(Tabela::Aliquota, QStringLiteral("\"18,00%\",ICMS")),
              (Linha{QStringLiteral("18,00%"), QStringLiteral("ICMS")}));
}

TEST(Cadastro, NomesDeComprovantesERelatoriosEmBrancoFicamVazios) {
    const QString nome = QStringLiteral("Recarga Celular    ");
    EXPECT_EQ(linhaDoValor(Tabela::CNF, nome).c1, nome);
    EXPECT_EQ(linhaDoValor(Tabela::CNF, brancos(19)).c1, QString());
    EXPECT_EQ(linhaDoValor(Tabela::CNF, nome + QStringLiteral("resto")).c1, nome);
    EXPECT_EQ(linhaDoValor(Tabela::RelGerencial, brancos(17)).c1, QString());
    // Reports are cut at 19 characters, blanked only at 17 blanks.
    EXPECT_EQ(linhaDoValor(Tabela::RelGerencial, brancos(19)).c1, brancos(19));
}

TEST(Cadastro, ValoresGravadosTemLarguraFixaEntreAspas) {
    EXPECT_EQ(valorDaLinha(Tabela::FormaPagamento, {QStringLiteral("Cartão          "), QStringLiteral("V")}),
              QStringLiteral("\"Cartão          \",V"));
    EXPECT_EQ(valorDaLinha(Tabela::FormaPagamento, {brancos(16), QStringLiteral("N")}), QStringLiteral("N"));
    EXPECT_EQ(valorDaLinha(Tabela::FormaPagamento, {brancos(16), {}}), QString());
    EXPECT_EQ(valorDaLinha(Tabela::FormaPagamento, {}), QString());
    EXPECT_EQ(valorDaLinha(Tabela::Aliquota, {QStringLiteral("17,00%"), QStringLiteral("ICMS")}),
              QStringLiteral("\"17,00%\",ICMS"));
    EXPECT_EQ(valorDaLinha(Tabela::Aliquota, {QStringLiteral("00,00%"), QStringLiteral("ICMS")}),
              QStringLiteral("ICMS"));
    EXPECT_EQ(valorDaLinha(Tabela::CNF, {QStringLiteral("Recarga Celular    "), {}}),
              QStringLiteral("\"Recarga Celular    \""));
    EXPECT_EQ(valorDaLinha(Tabela::CNF, {brancos(19), {}}), QString());
    EXPECT_EQ(valorDaLinha(Tabela::RelGerencial, {brancos(17), {}}), QString());
    EXPECT_EQ(valorDaLinha(Tabela::RelGerencial, {}), QString());
}

TEST(Cadastro, NomeDoArquivoVemDoNumeroDeSerieSemSairDaPasta) {
    const QString pasta = QStringLiteral("/x/Cadastro");
    EXPECT_EQ(arquivoCadastro(pasta, QStringLiteral("VF080000000000010247")),
              QStringLiteral("/x/Cadastro/VF080000000000010247.ntf"));
    EXPECT_EQ(arquivoCadastro(pasta, brancos(20)),
              QStringLiteral("/x/Cadastro/") + brancos(20) + QStringLiteral(".ntf"));
    EXPECT_EQ(arquivoCadastro(pasta, QStringLiteral("../../etc/passwd")),
              QStringLiteral("/x/Cadastro/.._.._etc_passwd.ntf"));
}

TEST(Cadastro, GravarEscreveSoAsChavesDeCadaFaixaELerDevolveAGrade) {
    QTemporaryDir dir;
    const QString arquivo = dir.filePath(QStringLiteral("s.ntf"));
    {
        QFile f(arquivo);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "[FormaPagamento]\r\n1=\"Dinheiro        \",N\r\n[CNF]\r\n29=\"Retirada           \"\r\n"
            "[RelGerencial]\r\n1=\"Geral            \"\r\n[Outra]\r\nchave=valor\r\n");
    }
    Cadastro c{gradeVazia(Tabela::FormaPagamento), gradeVazia(Tabela::Aliquota), gradeVazia(Tabela::CNF),
               gradeVazia(Tabela::RelGerencial)};
    c[0][0] = {QStringLiteral("Outro Nome      "), QStringLiteral("V")};  // row 1 is never written
    c[0][1] = {QStringLiteral("Cartão          "), QStringLiteral("V")};
    c[1][2] = {QStringLiteral("07,50%"), kTipoISS};
    c[2][28] = {QStringLiteral("Nunca Gravado      "), {}};
    c[3][29] = {QStringLiteral("Trinta           "), {}};
    ASSERT_TRUE(gravaCadastro(arquivo, c));

    const Cadastro lido = leCadastro(arquivo).cadastro;
    EXPECT_EQ(lido[0][0], (Linha{QStringLiteral("Dinheiro        "), QStringLiteral("N")}));
    EXPECT_EQ(lido[0][1], c[0][1]);
    EXPECT_EQ(lido[0][2], Linha{});
    EXPECT_EQ(lido[1][2], c[1][2]);
    EXPECT_EQ(lido[2][28], (Linha{QStringLiteral("Retirada           "), {}}));
    EXPECT_EQ(lido[3][0], (Linha{QStringLiteral("Geral            "), {}}));
    EXPECT_EQ(lido[3][29], c[3][29]);
    for (const Grade& g : lido) EXPECT_TRUE(g.size() == 16 || g.size() == 20 || g.size() == 30);

    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray conteudo = f.readAll();
    EXPECT_TRUE(conteudo.contains("chave=valor"));
    EXPECT_TRUE(conteudo.contains("\r\n20=\r\n"));
    EXPECT_FALSE(conteudo.contains("Nunca Gravado"));
    EXPECT_FALSE(conteudo.contains("Outro Nome"));
}

TEST(Cadastro, ModeloEhTextoPequenoComUmaDasQuatroSecoes) {
    QTemporaryDir dir;
    const QString arquivo = dir.filePath(QStringLiteral("m.ntf"));
    const auto problema = [&](const QByteArray& bytes) {
        QFile f(arquivo);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        return problemaDoModelo(arquivo);
    };
    EXPECT_EQ(problema("[aliquota]\r\n1=\"17,00%\",ICMS\r\n"), QString());
    EXPECT_EQ(problema("; Modelo da Loja\r\n[ CNF ]\n"), QString());
    // The largest model is accepted, one byte more is not.
    QByteArray grande = "[RelGerencial]\r\n";
    grande += QByteArray(int(kTamanhoMaximoModelo) - grande.size(), ';');
    EXPECT_EQ(problema(grande), QString());
    EXPECT_NE(problema(grande + ";"), QString());
    EXPECT_NE(problema("\x89PNG\r\n\x1a\n\0\0\0\rIHDR"), QString());
    EXPECT_NE(problema(QByteArray("[CNF]\r\n1=\"a\0b\"\r\n", 16)), QString());
    EXPECT_NE(problema("[Sistema]\r\nPorta=USB\r\n"), QString());
    EXPECT_NE(problema(""), QString());
    EXPECT_NE(problemaDoModelo(dir.path()), QString());
    EXPECT_NE(problemaDoModelo(dir.filePath(QStringLiteral("nao-existe.ntf"))), QString());
}

TEST(Cadastro, GravacaoRecusadaParaNaPrimeiraChaveEAvisa) {
    platform::dialogs::Script dialogos;
    Cadastro c{gradeVazia(Tabela::FormaPagamento), gradeVazia(Tabela::Aliquota), gradeVazia(Tabela::CNF),
               gradeVazia(Tabela::RelGerencial)};
    const QString arquivo = QStringLiteral("/pasta/que/nao/existe/x.ntf");
    EXPECT_FALSE(gravaCadastro(arquivo, c));
    ASSERT_EQ(dialogos.records().size(), 1u);
    EXPECT_EQ(dialogos.records()[0].text, QStringLiteral("Unable to write to ") + arquivo);
}

TEST(Cadastro, ApagarLinhaSobeAsSeguintesEEsvaziaAUltima) {
    Grade g = gradeVazia(Tabela::Aliquota);
    for (int i = 0; i < 5; ++i) g[i] = {QStringLiteral("0%1,00%").arg(i + 1), kTipoICMS};
    apagaLinha(g, 3);
    ASSERT_EQ(g.size(), 16);
    EXPECT_EQ(g[0].c1, QStringLiteral("01,00%"));
    EXPECT_EQ(g[1].c1, QStringLiteral("02,00%"));
    EXPECT_EQ(g[2].c1, QStringLiteral("04,00%"));
    EXPECT_EQ(g[3].c1, QStringLiteral("05,00%"));
    EXPECT_EQ(g[4], Linha{});
    apagaLinha(g, 16);
    apagaLinha(g, 0);
    apagaLinha(g, 17);
    EXPECT_EQ(g.size(), 16);
    EXPECT_EQ(g[3].c1, QStringLiteral("05,00%"));

    EXPECT_EQ(primeiraLivre(g, 1, 16), 5);
    EXPECT_EQ(primeiraLivre(g, 6, 16), 6);
    g[0] = {};
    EXPECT_EQ(primeiraLivre(g, 2, 16), 5);
    for (Linha& l : g) l.c1 = QStringLiteral("x");
    EXPECT_EQ(primeiraLivre(g, 1, 16), 0);
}

TEST(Respostas, FormasDePagamentoEmRegistrosDe58) {
    QByteArray b(KESAFI_LARGURA_FORMAS_PAGAMENTO, ' ');
    poe(b, 1, "Dinheiro");
    poe(b, 57, "0");
    poe(b, 58 * 3 + 1, platform::toCp1252(QStringLiteral("Cartão Débito")));
    poe(b, 58 * 3 + 57, "1");
    const FormasPagamento f = formasDaResposta(b);
    EXPECT_EQ(f[0].Descricao, QStringLiteral("Dinheiro        "));
    EXPECT_EQ(f[0].Vinculo, QStringLiteral("N"));
    EXPECT_EQ(f[3].Descricao, QStringLiteral("Cartão Débito   "));
    EXPECT_EQ(f[3].Vinculo, QStringLiteral("V"));
    // Any flag other than "0" is bound, a blank included.
    EXPECT_EQ(f[19].Descricao, brancos(16));
    EXPECT_EQ(f[19].Vinculo, QStringLiteral("V"));
}

TEST(Respostas, AliquotasComAsIssMarcadasNumaSoPassagemCrescente) {
    QByteArray valores(KESAFI_LARGURA_ALIQUOTAS, ' ');
    for (int i = 0; i < 16; ++i) poe(valores, 5 * i + 1, i < 3 ? QByteArray::number(1000 + i * 100) : "0000");
    auto iss = [](const char* lista) {
        QByteArray b(KESAFI_LARGURA_INDICES_ISS, ' ');
        poe(b, 1, lista);
        return b;
    };
    Aliquotas a = aliquotasDaResposta(valores, iss("02,"));
    EXPECT_EQ(a[0].Valor, QStringLiteral("1000"));
    EXPECT_EQ(a[1].Valor, QStringLiteral("1100"));
    EXPECT_EQ(a[15].Valor, QStringLiteral("0000"));
    EXPECT_EQ(a[0].Tipo, kTipoICMS);
    EXPECT_EQ(a[1].Tipo, kTipoISS);
    EXPECT_EQ(a[2].Tipo, kTipoICMS);

    // The merge never goes back: 03 then 01 marks only slot 3.
    a = aliquotasDaResposta(valores, iss("03,01,"));
    EXPECT_EQ(a[0].Tipo, kTipoICMS);
    EXPECT_EQ(a[2].Tipo, kTipoISS);

    a = aliquotasDaResposta(valores, iss("01,03,16"));
    EXPECT_EQ(a[0].Tipo, kTipoISS);
    EXPECT_EQ(a[1].Tipo, kTipoICMS);
    EXPECT_EQ(a[2].Tipo, kTipoISS);
    EXPECT_EQ(a[15].Tipo, kTipoISS);

    // A blank list, or a buffer the library left short, marks nothing.
    for (const Aliquota& x : aliquotasDaResposta(valores, QByteArray(KESAFI_LARGURA_INDICES_ISS, ' ')))
        EXPECT_EQ(x.Tipo, kTipoICMS);
    a = aliquotasDaResposta(QByteArray("1800"), QByteArray());
    EXPECT_EQ(a[0].Valor, QStringLiteral("1800"));
    EXPECT_EQ(a[1].Valor, QString());
}

TEST(Respostas, NomesDeComprovantesERelatorios) {
    QByteArray c(KESAFI_LARGURA_RECEBIMENTOS, ' ');
    poe(c, 1, "Crediario");
    poe(c, 34 * 29 + 1, "Suprimento");
    const Nomes comprovantes = comprovantesDaResposta(c);
    EXPECT_EQ(comprovantes[0], QStringLiteral("Crediario          "));
    EXPECT_EQ(comprovantes[1], brancos(19));
    EXPECT_EQ(comprovantes[29], QStringLiteral("Suprimento         "));

    QByteArray r(KESAFI_LARGURA_RELATORIOS_GERENCIAIS, ' ');
    poe(r, 1, "0001");
    poe(r, 5, "Relatorio Geral");
    poe(r, 22 * 29 + 5, "Ultimo");
    const Nomes relatorios = relatoriosDaResposta(r);
    EXPECT_EQ(relatorios[0], QStringLiteral("Relatorio Geral  "));
    EXPECT_EQ(relatorios[29], QStringLiteral("Ultimo           "));
    EXPECT_EQ(relatorios[28], brancos(17));
}

TEST(Memos, LinhasDasFormasDePagamento) {
    FormasPagamento f;
    for (auto& x : f) x = {brancos(16), QStringLiteral("N")};
    f[0] = {QStringLiteral("Dinheiro        "), QStringLiteral("N")};
    f[3] = {QStringLiteral("PIX             "), QStringLiteral("V")};
    const QStringList atual = linhasFormasPagamento(f, true);
    ASSERT_EQ(atual.size(), 22);
    EXPECT_EQ(atual[0], QStringLiteral("01 : N : Dinheiro        "));
    EXPECT_EQ(atual[2], QStringLiteral("03 : ") + brancos(16));
    EXPECT_EQ(atual[3], QStringLiteral("04 : V : PIX             "));
    EXPECT_EQ(atual[19], QStringLiteral("20 : ") + brancos(16));
    EXPECT_EQ(atual[20], QStringLiteral(" "));
    EXPECT_EQ(atual[21], QStringLiteral("*\"V\"=Vinculada   \"N\"=Não Vinculada"));
    const QStringList impressora = linhasFormasPagamento(f, false);
    EXPECT_EQ(impressora.mid(0, 21), atual.mid(0, 21));
    EXPECT_EQ(impressora[21], QStringLiteral("*A Letra \"V\" Indica que a Forma de Pagamento é Vinculada e a Letra "
                                             "\"N\" Indica não Vinculada"));
}

TEST(Memos, LinhasDasAliquotasEDosNomes) {
    Aliquotas a;
    for (auto& x : a) x = {QStringLiteral("0000"), kTipoICMS};
    a[0] = {QStringLiteral("1700"), kTipoICMS};
    a[1] = {QStringLiteral("0500"), kTipoISS};
    a[2] = {QStringLiteral("    "), kTipoICMS};  // what a failed read leaves
    const QStringList l = linhasAliquotas(a);
    ASSERT_EQ(l.size(), 18);
    EXPECT_EQ(l[0], QStringLiteral("01 : 17,00% - ICMS"));
    EXPECT_EQ(l[1], QStringLiteral("02 : 05,00% - Serviço(ISS)"));
    EXPECT_EQ(l[2], QStringLiteral("03 :   ,  % - ICMS"));
    EXPECT_EQ(l[4], QStringLiteral("05 : "));
    EXPECT_EQ(l[15], QStringLiteral("16 : "));
    EXPECT_EQ(l[16], QStringLiteral(" "));
    EXPECT_EQ(l[17], QStringLiteral("*Alíquota Cadastrada como 00,00% não Será Mostrada "));

    Nomes n;
    n.fill(brancos(19));
    n[9] = QStringLiteral("Recarga            ");
    const QStringList nomes = linhasNomes(n);
    ASSERT_EQ(nomes.size(), 30);
    EXPECT_EQ(nomes[0], QStringLiteral("01 : ") + brancos(19));
    EXPECT_EQ(nomes[9], QStringLiteral("10 : Recarga            "));
    EXPECT_EQ(nomes[29], QStringLiteral("30 : ") + brancos(19));
}

TEST(Copia, AliquotasLivresSaemEAsOutrasSobemEmOrdem) {
    Aliquotas a;
    for (auto& x : a) x = {QStringLiteral("0000"), kTipoICMS};
    a[0] = {QStringLiteral("1800"), kTipoICMS};
    a[1] = {QStringLiteral("1200"), kTipoICMS};
    a[4] = {QStringLiteral("0500"), kTipoISS};
    const Grade g = gradeDasAliquotas(a);
    ASSERT_EQ(g.size(), 16);
    EXPECT_EQ(g[0], (Linha{QStringLiteral("18,00%"), kTipoICMS}));
    EXPECT_EQ(g[1], (Linha{QStringLiteral("12,00%"), kTipoICMS}));
    EXPECT_EQ(g[2], (Linha{QStringLiteral("05,00%"), kTipoISS}));
    for (int i = 3; i < 16; ++i) EXPECT_EQ(g[i], Linha{});
}

TEST(Copia, FormasDePagamentoComLacunasNaoPerdemNenhuma) {
    FormasPagamento f;
    for (auto& x : f) x = {brancos(16), QStringLiteral("N")};
    f[0] = {QStringLiteral("Dinheiro        "), QStringLiteral("N")};
    f[1] = {QStringLiteral("Cheque          "), QStringLiteral("N")};
    f[3] = {QStringLiteral("Cartao          "), QStringLiteral("V")};
    f[5] = {QStringLiteral("PIX             "), QStringLiteral("V")};
    const Grade g = gradeDasFormas(f);
    ASSERT_EQ(g.size(), 20);
    EXPECT_EQ(g[0].c1, QStringLiteral("Dinheiro        "));
    EXPECT_EQ(g[1].c1, QStringLiteral("Cheque          "));
    EXPECT_EQ(g[2], (Linha{QStringLiteral("Cartao          "), QStringLiteral("V")}));
    EXPECT_EQ(g[3], (Linha{QStringLiteral("PIX             "), QStringLiteral("V")}));
    for (int i = 4; i < 20; ++i) EXPECT_EQ(g[i], Linha{});

    // Method 1 keeps row 1 even when free.
    f[0] = {brancos(16), QStringLiteral("N")};
    EXPECT_EQ(gradeDasFormas(f)[0], (Linha{brancos(16), QStringLiteral("N")}));
    EXPECT_EQ(gradeDasFormas(f)[1].c1, QStringLiteral("Cheque          "));
}

TEST(Copia, ComprovantesERelatoriosFicamNaPosicaoDoIndice) {
    Nomes n;
    n.fill(brancos(19));
    n[0] = QStringLiteral("Crediario          ");
    n[28] = QStringLiteral("Sangria            ");
    const Grade g = gradeDosNomes(n, 19);
    ASSERT_EQ(g.size(), 30);
    EXPECT_EQ(g[0].c1, n[0]);
    EXPECT_EQ(g[1].c1, QString());
    EXPECT_EQ(g[28].c1, n[28]);
    n.fill(brancos(17));
    for (const Linha& l : gradeDosNomes(n, 17)) EXPECT_EQ(l, Linha{});
}

TEST(Entradas, AliquotaDigitadaNaMascara) {
    EXPECT_EQ(textoDaMascara(QStringLiteral("__,__%")), QStringLiteral("  ,  %"));
    EXPECT_EQ(textoDaMascara(QStringLiteral("7_,5_%")), QStringLiteral("7 ,5 %"));
    EXPECT_EQ(aliquotaParaEnvio(QStringLiteral("07,50%")), QStringLiteral("0750"));
    EXPECT_EQ(aliquotaParaEnvio(QStringLiteral("17,00%")), QStringLiteral("1700"));
    EXPECT_EQ(aliquotaParaEnvio(QStringLiteral("00,01%")), QStringLiteral("0001"));
    for (const char* invalida : {"00,00%", "7 ,5 %", "  ,  %", "07,5 %", " 7,50%", "", "07,5"})
        EXPECT_EQ(aliquotaParaEnvio(QString::fromLatin1(invalida)), std::nullopt) << invalida;
}

TEST(Entradas, NomesCompletadosContadorERelatorioDeEnvio) {
    EXPECT_EQ(completa(QStringLiteral("PIX"), 16), QStringLiteral("PIX") + brancos(13));
    EXPECT_EQ(completa(QStringLiteral("Cartão"), 16).size(), 16);
    EXPECT_EQ(completa(QStringLiteral("abcdefghijklmnopq"), 16), QStringLiteral("abcdefghijklmnopq"));
    EXPECT_TRUE(configfiscal::brancos(brancos(16), 16));
    EXPECT_FALSE(configfiscal::brancos(brancos(15), 16));
    EXPECT_FALSE(configfiscal::brancos(QString(), 16));

    EXPECT_EQ(textoContador(QString()), QStringLiteral("Caracteres Utilizados : 0"));
    EXPECT_EQ(textoContador(QStringLiteral("Cartão Refeição ")), QStringLiteral("Caracteres Utilizados : 16"));

    EXPECT_EQ(relatorioDeEnvio(2, {QStringLiteral("a"), QStringLiteral("b")}), QStringLiteral("\r2 : a\r3 : b"));
    EXPECT_EQ(relatorioDeEnvio(1, {}), QString());
}

}  // namespace
