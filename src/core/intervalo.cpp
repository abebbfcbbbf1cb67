#include "intervalo.h"

#include <QStringList>
#include <optional>

#include "relatorios.h"

namespace uDadosMFeMFD {

namespace {

const QString kTituloLeitura = QStringLiteral("Leitura da MF");

// A number of one or two digits with blanks around it.
std::optional<int> numero(const QString& parte) {
    const QString t = parte.trimmed();
    if (t.isEmpty() || t.size() > 2) return std::nullopt;
    for (const QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    return t.toInt();
}

// Characters 7 and 8 of a date text as a number.
std::optional<int> ano(const QString& data) { return numero(data.mid(6, 2)); }

}  // namespace

QString semFaixaDownload() { return QStringLiteral("Escolha se o Download é Total, por COO ou Data"); }
QString semFaixaRelatorio() { return QStringLiteral("Escolha se o Relatório é Total, por COO ou Data"); }

std::variant<Intervalo, Recusa> ConfereIntervalo(const Escolha& escolha, const QString& semFaixa) {
    if (escolha.faixa == Faixa::Nenhuma) return Recusa{QStringLiteral("MFD"), semFaixa, Foco::Fica};
    if (escolha.exigeTipo && !escolha.temTipo)
        return Recusa{QStringLiteral("MFD"), QStringLiteral("Escolha o Tipo de Download"), Foco::Fica};

    if (escolha.faixa == Faixa::Coo) {
        QString inicial = escolha.cooInicial;
        QString final = escolha.cooFinal;
        inicial.remove(QLatin1Char(' '));
        final.remove(QLatin1Char(' '));
        if (inicial.size() < 6 || final.size() < 6)
            return Recusa{kTituloLeitura,
                          QStringLiteral("Você deve Escolher um Intervalo de Cupons com 6 Dígitos!\rDigite um Valor "
                                         "entre 000001 e 999999"),
                          Foco::CooInicial};
        // Six digits each: as texts they compare as numbers.
        if (inicial > final)
            return Recusa{kTituloLeitura, QStringLiteral("O Valor Final não Pode ser Inferior ao Valor Inicial"),
                          Foco::CooInicial};
        return Intervalo{true, inicial, final};
    }

    // Data, and Total through the dates its radio wrote.
    const QString& inicial = escolha.dataInicial;
    const QString& final = escolha.dataFinal;
    if (!URelFiscais::DataValida(inicial) || !URelFiscais::DataValida(final))
        return Recusa{kTituloLeitura,
                      QStringLiteral("Você deve Escolher uma Data Válida!\rDigite uma Data Válida entre 2000 e 2060"),
                      Foco::DataInicial};
    for (const QString* data : {&inicial, &final}) {
        const auto a = ano(*data);
        if (!a || *a > 60)
            return Recusa{kTituloLeitura, QStringLiteral("O Intervalo das Datas Devem Ficar Entre os Anos 2000 e 2060"),
                          Foco::Fica};
    }
    if (*URelFiscais::converteData(inicial) > *URelFiscais::converteData(final))
        return Recusa{kTituloLeitura, QStringLiteral("A Data Final não Pode ser Inferior a Data Inicial"),
                      Foco::DataInicial};
    return Intervalo{false, inicial, final};
}

QString seletorMFD(const Intervalo& intervalo) { return intervalo.porCoo ? QStringLiteral("C") : QStringLiteral("D"); }

QString seletorArquivo(const Intervalo& intervalo) {
    return intervalo.porCoo ? QStringLiteral("2") : QStringLiteral("1");
}

}  // namespace uDadosMFeMFD
