#include "tabelas.h"

#include "printer/buffer.h"

namespace configfiscal {
namespace {

using printer::campo;

bool soBrancos(const QString& texto) { return texto.count(QLatin1Char(' ')) == texto.size(); }

QString numero(int n) { return QStringLiteral("%1 : ").arg(n, 2, 10, QLatin1Char('0')); }

}  // namespace

FormasPagamento formasDaResposta(const QByteArray& buffer) {
    FormasPagamento formas;
    for (int i = 0; i < 20; ++i) {
        formas[size_t(i)].Descricao = campo(buffer, 58 * i + 1, 16);
        formas[size_t(i)].Vinculo =
            campo(buffer, 58 * i + 57, 1) == QLatin1String("0") ? QStringLiteral("N") : QStringLiteral("V");
    }
    return formas;
}

Aliquotas aliquotasDaResposta(const QByteArray& valores, const QByteArray& indicesIss) {
    Aliquotas aliquotas;
    int proximo = 0;  // the ISS index the merge waits for
    for (int k = 1; k <= 16; ++k) {
        Aliquota& a = aliquotas[size_t(k - 1)];
        a.Valor = campo(valores, 5 * (k - 1) + 1, 4);
        const bool iss = proximo < 16 &&
                         campo(indicesIss, 3 * proximo + 1, 2) == QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
        if (iss) ++proximo;
        a.Tipo = iss ? kTipoISS : kTipoICMS;
    }
    return aliquotas;
}

Nomes comprovantesDaResposta(const QByteArray& buffer) {
    Nomes nomes;
    for (int i = 0; i < 30; ++i) nomes[size_t(i)] = campo(buffer, 34 * i + 1, 19);
    return nomes;
}

Nomes relatoriosDaResposta(const QByteArray& buffer) {
    Nomes nomes;
    for (int i = 0; i < 30; ++i) nomes[size_t(i)] = campo(buffer, 22 * i + 5, 17);
    return nomes;
}

QString taxaDoValor(const QString& valor) { return valor.left(2) + QLatin1Char(',') + valor.mid(2) + QLatin1Char('%'); }

QStringList linhasFormasPagamento(const FormasPagamento& formas, bool atual) {
    QStringList linhas;
    for (int n = 1; n <= 20; ++n) {
        const FormaPagamento& f = formas[size_t(n - 1)];
        linhas << (f.Descricao == QString(16, QLatin1Char(' '))
                       ? numero(n) + f.Descricao
                       : numero(n) + f.Vinculo + QStringLiteral(" : ") + f.Descricao);
    }
    linhas << QStringLiteral(" ");
    linhas << (atual ? QStringLiteral("*\"V\"=Vinculada   \"N\"=Não Vinculada")
                     : QStringLiteral("*A Letra \"V\" Indica que a Forma de Pagamento é Vinculada e a Letra \"N\" "
                                      "Indica não Vinculada"));
    return linhas;
}

QStringList linhasAliquotas(const Aliquotas& aliquotas) {
    QStringList linhas;
    for (int n = 1; n <= 16; ++n) {
        const Aliquota& a = aliquotas[size_t(n - 1)];
        const QString linha = numero(n) + taxaDoValor(a.Valor) + QStringLiteral(" - ") + a.Tipo;
        linhas << (linha.mid(5, 6) == QLatin1String("00,00%") ? numero(n) : linha);
    }
    linhas << QStringLiteral(" ") << QStringLiteral("*Alíquota Cadastrada como 00,00% não Será Mostrada ");
    return linhas;
}

QStringList linhasNomes(const Nomes& nomes) {
    QStringList linhas;
    for (int n = 1; n <= 30; ++n) linhas << numero(n) + nomes[size_t(n - 1)];
    return linhas;
}

Grade gradeDasFormas(const FormasPagamento& formas) {
    Grade grade{Linha{formas[0].Descricao, formas[0].Vinculo}};
    for (size_t i = 1; i < formas.size(); ++i)
        if (!soBrancos(formas[i].Descricao)) grade.append(Linha{formas[i].Descricao, formas[i].Vinculo});
    grade.resize(qsizetype(formas.size()));
    return grade;
}

Grade gradeDasAliquotas(const Aliquotas& aliquotas) {
    Grade grade;
    for (const Aliquota& a : aliquotas)
        if (taxaDoValor(a.Valor) != QLatin1String("00,00%")) grade.append(Linha{taxaDoValor(a.Valor), a.Tipo});
    grade.resize(qsizetype(aliquotas.size()));
    return grade;
}

Grade gradeDosNomes(const Nomes& nomes, int largura) {
    Grade grade;
    for (const QString& nome : nomes)
        grade.append(Linha{nome == QString(largura, QLatin1Char(' ')) ? QString() : nome, {}});
    return grade;
}

}  // namespace configfiscal
