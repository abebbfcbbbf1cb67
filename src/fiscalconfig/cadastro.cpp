#include "cadastro.h"

#include <QFile>
#include <QFileInfo>

#include "entradas.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "printer/nomes.h"

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

bool ilegivel(const QString& arquivo) {
    if (!QFileInfo::exists(arquivo)) return false;
    QFile f(arquivo);
    return !f.open(QIODevice::ReadOnly);
}

Cadastro leCadastro(const QString& arquivo) {
    const platform::Profile perfil(arquivo);
    Cadastro cadastro;
    for (Tabela t : kTabelas) {
        const Formato& f = formato(t);
        Grade& grade = cadastro[size_t(indice(t))];
        for (int linha = 1; linha <= f.linhas; ++linha)
            grade.append(linhaDoValor(t, perfil.readString(QLatin1String(f.secao), QString::number(linha))));
    }
    return cadastro;
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
