#include "entradas.h"

#include "platform/cp1252.h"

namespace configfiscal {

QString completa(const QString& texto, int largura) {
    return texto.size() >= largura ? texto : texto + QString(largura - texto.size(), QLatin1Char(' '));
}

bool brancos(const QString& texto, int largura) { return texto == QString(largura, QLatin1Char(' ')); }

QString textoDaMascara(const QString& mostrado, QChar vazio) {
    QString texto = mostrado;
    texto.replace(vazio, QLatin1Char(' '));
    return texto;
}

std::optional<QString> aliquotaParaEnvio(const QString& texto) {
    if (texto == QLatin1String("00,00%") || texto.size() < 5) return std::nullopt;
    QString digitos;
    for (int posicao : {0, 1, 3, 4}) {
        const QChar c = texto.at(posicao);
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
        digitos += c;
    }
    return digitos;
}

namespace {

QString naoGravaveis(const QString& texto) { return platform::describeCharacters(platform::unstorable(texto)); }

}  // namespace

QString recusaDoNome(const QString& nome) {
    const QString caracteres = naoGravaveis(nome);
    if (caracteres.isEmpty()) return {};
    return QStringLiteral("A Impressora não Aceita Estes Caracteres do Nome:\r") + caracteres +
           QStringLiteral("\rCorrija o Nome e Tente Novamente.");
}

QString recusaDasLinhas(const QStringList& nomes, int de, int ate) {
    QString linhas;
    for (int linha = de; linha <= ate && linha <= nomes.size(); ++linha) {
        const QString caracteres = naoGravaveis(nomes[linha - 1]);
        if (!caracteres.isEmpty()) linhas += QStringLiteral("\rLinha %1: ").arg(linha) + caracteres;
    }
    if (linhas.isEmpty()) return {};
    return QStringLiteral("A Impressora não Aceita Estes Caracteres do Arquivo de Cadastro:") + linhas +
           QStringLiteral("\rCorrija as Linhas e Tente Novamente. Nada Foi Enviado.");
}

QString textoContador(const QString& texto) {
    return QStringLiteral("Caracteres Utilizados : ") + QString::number(texto.size());
}

QString relatorioDeEnvio(int primeira, const QStringList& linhas) {
    QString relatorio;
    for (int i = 0; i < linhas.size(); ++i)
        relatorio += QLatin1Char('\r') + QString::number(primeira + i) + QStringLiteral(" : ") + linhas[i];
    return relatorio;
}

}  // namespace configfiscal
