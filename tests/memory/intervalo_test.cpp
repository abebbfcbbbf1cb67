// The range check shared by the download, the mirror and the conversion.
#include <gtest/gtest.h>

#include "core/intervalo.h"

using namespace uDadosMFeMFD;

namespace {

const QString kDataInvalida =
    QStringLiteral("Você deve Escolher uma Data Válida!\rDigite uma Data Válida entre 2000 e 2060");
const QString kAnos = QStringLiteral("O Intervalo das Datas Devem Ficar Entre os Anos 2000 e 2060");
const QString kDataDecrescente = QStringLiteral("A Data Final não Pode ser Inferior a Data Inicial");
const QString kSeisDigitos =
    QStringLiteral("Você deve Escolher um Intervalo de Cupons com 6 Dígitos!\rDigite um Valor entre 000001 e 999999");
const QString kCooDecrescente = QStringLiteral("O Valor Final não Pode ser Inferior ao Valor Inicial");

Escolha datas(const QString& inicial, const QString& final, Faixa faixa = Faixa::Data) {
    Escolha e;
    e.faixa = faixa;
    e.dataInicial = inicial;
    e.dataFinal = final;
    e.cooInicial = QStringLiteral("      ");
    e.cooFinal = QStringLiteral("      ");
    return e;
}

Escolha coos(const QString& inicial, const QString& final) {
    Escolha e;
    e.faixa = Faixa::Coo;
    e.dataInicial = QStringLiteral("  /  /  ");
    e.dataFinal = QStringLiteral("  /  /  ");
    e.cooInicial = inicial;
    e.cooFinal = final;
    return e;
}

Recusa recusa(const Escolha& e) {
    const auto r = ConfereIntervalo(e, semFaixaRelatorio());
    EXPECT_TRUE(std::holds_alternative<Recusa>(r));
    return std::holds_alternative<Recusa>(r) ? std::get<Recusa>(r) : Recusa{};
}

Intervalo aceito(const Escolha& e) {
    const auto r = ConfereIntervalo(e, semFaixaRelatorio());
    EXPECT_TRUE(std::holds_alternative<Intervalo>(r))
        << (std::holds_alternative<Recusa>(r) ? std::get<Recusa>(r).texto.toStdString() : "");
    return std::holds_alternative<Intervalo>(r) ? std::get<Intervalo>(r) : Intervalo{};
}

}  // namespace

TEST(Intervalo, SemFaixaCadaBotaoDizOQueFalta) {
    Escolha e = datas(QStringLiteral("01/01/10"), QStringLiteral("01/01/10"), Faixa::Nenhuma);
    for (const QString& texto : {semFaixaDownload(), semFaixaRelatorio()}) {
        const auto r = ConfereIntervalo(e, texto);
        ASSERT_TRUE(std::holds_alternative<Recusa>(r));
        EXPECT_EQ(std::get<Recusa>(r).titulo, QStringLiteral("MFD"));
        EXPECT_EQ(std::get<Recusa>(r).texto, texto);
    }
    EXPECT_EQ(semFaixaDownload(), QStringLiteral("Escolha se o Download é Total, por COO ou Data"));
    EXPECT_EQ(semFaixaRelatorio(), QStringLiteral("Escolha se o Relatório é Total, por COO ou Data"));

    // The download alone needs a type, and asks for it before looking at the range.
    e = datas(QStringLiteral("  /  /  "), QStringLiteral("  /  /  "));
    e.exigeTipo = true;
    EXPECT_EQ(recusa(e).texto, QStringLiteral("Escolha o Tipo de Download"));
    e.temTipo = true;
    EXPECT_EQ(recusa(e).texto, kDataInvalida);
}

TEST(Intervalo, DatasQueNaoSaoDatasLevamOFocoAPrimeira) {
    for (const auto& [inicial, final] : {std::pair{"  /  /  ", "  /  /  "},
                                         {"01/01/10", "  /  /  "},
                                         {"31/02/10", "01/03/10"},
                                         {"01/13/10", "01/01/11"},
                                         {"00/01/10", "01/01/10"},
                                         {"29/02/01", "01/03/01"}}) {
        SCOPED_TRACE(std::string(inicial) + " " + final);
        const Recusa r = recusa(datas(QString::fromLatin1(inicial), QString::fromLatin1(final)));
        EXPECT_EQ(r.titulo, QStringLiteral("Leitura da MF"));
        EXPECT_EQ(r.texto, kDataInvalida);
        EXPECT_EQ(r.foco, Foco::DataInicial);
    }
    aceito(datas(QStringLiteral("29/02/00"), QStringLiteral("29/02/00")));  // 2000 is a leap year
}

TEST(Intervalo, AnosDe61a99SaoRecusadosSemMoverOFoco) {
    for (const auto& [inicial, final] : {std::pair{"01/01/75", "01/01/10"},
                                         {"01/01/10", "01/01/75"},
                                         {"31/12/99", "31/12/99"},
                                         {"01/01/61", "01/01/61"}}) {
        SCOPED_TRACE(std::string(inicial) + " " + final);
        const Recusa r = recusa(datas(QString::fromLatin1(inicial), QString::fromLatin1(final)));
        EXPECT_EQ(r.texto, kAnos);
        EXPECT_EQ(r.foco, Foco::Fica);
    }
    const Intervalo limites = aceito(datas(QStringLiteral("01/01/00"), QStringLiteral("31/12/60")));
    EXPECT_FALSE(limites.porCoo);
    EXPECT_EQ(limites.inicial, QStringLiteral("01/01/00"));
    EXPECT_EQ(limites.final, QStringLiteral("31/12/60"));
}

TEST(Intervalo, DataFinalAnteriorERecusadaEIgualPassa) {
    const Recusa r = recusa(datas(QStringLiteral("02/01/10"), QStringLiteral("01/01/10")));
    EXPECT_EQ(r.texto, kDataDecrescente);
    EXPECT_EQ(r.foco, Foco::DataInicial);
    // Compared as dates, not as texts.
    aceito(datas(QStringLiteral("31/01/10"), QStringLiteral("01/02/10")));
    aceito(datas(QStringLiteral("15/06/12"), QStringLiteral("15/06/12")));
}

TEST(Intervalo, CooComMenosDeSeisDigitosOuDecrescente) {
    for (const auto& [inicial, final] :
         {std::pair{"12    ", "000100"}, {"000001", "      "}, {"12 456", "123456"}, {"      ", "      "}}) {
        SCOPED_TRACE(std::string(inicial) + "|" + final);
        const Recusa r = recusa(coos(QString::fromLatin1(inicial), QString::fromLatin1(final)));
        EXPECT_EQ(r.texto, kSeisDigitos);
        EXPECT_EQ(r.foco, Foco::CooInicial);
    }
    const Recusa r = recusa(coos(QStringLiteral("000101"), QStringLiteral("000100")));
    EXPECT_EQ(r.texto, kCooDecrescente);
    EXPECT_EQ(r.foco, Foco::CooInicial);
}

TEST(Intervalo, CooZeroAZeroEIgualPassamComoSeisDigitos) {
    const Intervalo zero = aceito(coos(QStringLiteral("000000"), QStringLiteral("000000")));
    EXPECT_TRUE(zero.porCoo);
    EXPECT_EQ(zero.inicial, QStringLiteral("000000"));
    EXPECT_EQ(zero.final, QStringLiteral("000000"));
    EXPECT_EQ(seletorMFD(zero), QStringLiteral("C"));
    EXPECT_EQ(seletorArquivo(zero), QStringLiteral("2"));
    // The dates left in their edits do not matter for a COO range.
    const Intervalo faixa = aceito(coos(QStringLiteral("000010"), QStringLiteral("999999")));
    EXPECT_EQ(faixa.final, QStringLiteral("999999"));
}

TEST(Intervalo, TotalEUmIntervaloDeDatas) {
    Escolha e = datas(QStringLiteral("01/01/00"), QStringLiteral("09/03/26"), Faixa::Total);
    e.cooInicial = QStringLiteral("000001");
    e.cooFinal = QStringLiteral("000070");
    const Intervalo total = aceito(e);
    EXPECT_FALSE(total.porCoo);
    EXPECT_EQ(total.inicial, QStringLiteral("01/01/00"));
    EXPECT_EQ(total.final, QStringLiteral("09/03/26"));
    EXPECT_EQ(seletorMFD(total), QStringLiteral("D"));
    EXPECT_EQ(seletorArquivo(total), QStringLiteral("1"));
}
