#include "cadastro.h"

#include <QFile>
#include <QFileInfo>

#include "entradas.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "printer/nomes.h"
#include "profile/ini.h"
#include "profile/system_text.h"

namespace configfiscal {
namespace {

const QString kTaxaZero = QStringLiteral("00,00%");

QString entreAspas(const QString& texto) { return QLatin1Char('"') + texto + QLatin1Char('"'); }

}  // namespace

const Formato& formato(Tabela tabela) {
    static const Formato kFormatos[] = {
        {"FormaPagamento", 20, 2, 20, 16},
        {"Aliquota", 16, 1, 16, 6},
        {"CNF", 30, 1, 28, 19},
        {"RelGerencial", 30, 2, 30, 17},
    };
    return kFormatos[indice(tabela)];
}

Grade gradeVazia(Tabela tabela) { return Grade(formato(tabela).linhas); }

Linha linhaDoValor(Tabela tabela, const QString& valor) {
    const int largura = formato(tabela).largura;
    switch (tabela) {
        case Tabela::FormaPagamento: {
            // "name",V: the name in characters 2-17, the flag in character 20.
            Linha l{valor.mid(1, largura), valor.mid(19, 1)};
            if (brancos(l.c1, largura)) l.c2.clear();
            return l;
        }
        case Tabela::Aliquota: {
            // "17,00%",ICMS: the rate in characters 2-7, the type from character 10.
            Linha l{valor.mid(1, largura), valor.mid(9, 13)};
            if (l.c1 == kTaxaZero) l = {};
            return l;
        }
        case Tabela::CNF:
        case Tabela::RelGerencial: {
            Linha l{valor.left(19), {}};
            if (brancos(l.c1, largura)) l.c1.clear();
            return l;
        }
    }
    return {};
}

QString valorDaLinha(Tabela tabela, const Linha& linha) {
    const int largura = formato(tabela).largura;
    switch (tabela) {
        case Tabela::FormaPagamento:
        case Tabela::Aliquota: {
            const bool vazio = tabela == Tabela::FormaPagamento ? brancos(linha.c1, largura) : linha.c1 == kTaxaZero;
            const QString nome = vazio ? QString() : linha.c1;
            return (nome.isEmpty() ? QString() : entreAspas(nome) + QLatin1Char(',')) + linha.c2;
        }
        case Tabela::CNF:
        case Tabela::RelGerencial:
            if (linha.c1.isEmpty() || brancos(linha.c1, largura)) return {};
            return entreAspas(linha.c1);
    }
    return {};
}

QString arquivoCadastro(const QString& pasta, const QString& numeroSerie) {
    return platform::paths::join(pasta, printer::nomeDeArquivo(numeroSerie) + QStringLiteral(".ntf"));
}

Leitura leCadastro(const QString& arquivo) {
    const platform::ProfileSnapshot perfil(arquivo);
    Leitura leitura{perfil.state(), {}};
    for (Tabela t : kTabelas) {
        const Formato& f = formato(t);
        Grade& grade = leitura.cadastro[size_t(indice(t))];
        for (int linha = 1; linha <= f.linhas; ++linha)
            grade.append(linhaDoValor(t, perfil.readString(QLatin1String(f.secao), QString::number(linha))));
    }
    return leitura;
}

bool gravaCadastro(const QString& arquivo, const Cadastro& cadastro) {
    std::vector<platform::Profile::Entry> chaves;
    for (Tabela t : kTabelas) {
        const Formato& f = formato(t);
        const Grade& grade = cadastro[size_t(indice(t))];
        for (int linha = f.primeiraGravada; linha <= f.ultimaGravada; ++linha) {
            const Linha l = linha <= grade.size() ? grade[linha - 1] : Linha{};
            chaves.push_back({QLatin1String(f.secao), QString::number(linha), valorDaLinha(t, l)});
        }
    }
    return platform::Profile(arquivo).writeStrings(chaves);
}

QString problemaDoModelo(const QString& arquivo) {
    const QFileInfo info(arquivo);
    QFile f(arquivo);
    if (!info.isFile() || !f.open(QIODevice::ReadOnly)) return QStringLiteral("Ele Não Pode Ser Lido.");
    // Read no further than the largest model: a 22 MB file is not read whole.
    const QByteArray bytes = f.read(kTamanhoMaximoModelo + 1);
    if (bytes.size() > kTamanhoMaximoModelo)
        return QStringLiteral("Ele Tem Mais de %1 KB, e um Modelo Tem Poucos KB.").arg(kTamanhoMaximoModelo / 1024);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && b != '\t' && b != '\r' && b != '\n') || b == 0x7F)
            return QStringLiteral("Ele Não é um Arquivo de Texto.");
    }
    const profile::Document documento(profile::systemText(bytes.toStdString()));
    for (Tabela t : kTabelas)
        if (documento.hasSection(formato(t).secao)) return {};
    return QStringLiteral("Ele Não Tem Nenhuma das Seções [FormaPagamento], [Aliquota], [CNF] e [RelGerencial].");
}

QString copiaDeSeguranca(const QString& arquivo) { return arquivo + QStringLiteral(".bak"); }

void apagaLinha(Grade& grade, int linha) {
    if (linha < 1 || linha > grade.size()) return;
    grade.removeAt(linha - 1);
    grade.append(Linha{});
}

int primeiraLivre(const Grade& grade, int de, int ate) {
    for (int linha = qMax(1, de); linha <= ate && linha <= grade.size(); ++linha)
        if (grade[linha - 1].c1.isEmpty()) return linha;
    return 0;
}

}  // namespace configfiscal
