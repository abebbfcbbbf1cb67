#include "relatorios.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/codepage.h"
#include "platform/cp1252.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "printer/abertura.h"
#include "printer/buffer.h"
#include "printer/ustatus.h"

using namespace UStatus;

namespace {

// Word processors tried for "Wordpad" when no program of that name exists,
// each with the arguments that come before the file.
struct Processador {
    const char* programa;
    QStringList argumentos;
};
const Processador kProcessadores[] = {
    {"lowriter", {}},
    {"libreoffice", {QStringLiteral("--writer")}},
    {"abiword", {}},
};

}  // namespace

namespace URelFiscais {

void AbreArquivoTXT(const QString& programa, const QString& arquivo) {
    namespace shell = platform::shell;
    const QString caminho = QDir::isAbsolutePath(arquivo) ? arquivo : sPastaBase + arquivo;
    const auto abre = [&] {
        if (!programa.isEmpty()) {
            if (const QString achado = shell::findProgram(programa); !achado.isEmpty())
                return shell::startProgram(achado, {caminho});
        }
        if (programa == QLatin1String("Wordpad")) {
            for (const Processador& p : kProcessadores) {
                const QString achado = shell::findProgram(QString::fromLatin1(p.programa));
                if (!achado.isEmpty()) return shell::startProgram(achado, p.argumentos + QStringList{caminho});
            }
        }
        return shell::openDocument(caminho);
    };
    printer::avisaSeNaoAbriu(abre(), QStringLiteral("ABRIR ARQUIVO"),
                             QStringLiteral("o Arquivo no Visualizador de Texto (") + programa + QLatin1Char(')'),
                             caminho);
}

QString caminhoRelatorio(const QString& nome) { return platform::paths::join(QStringLiteral("Relatorios"), nome); }

QString arquivoCaptura() { return sPastaBase + QStringLiteral("Retorno.txt"); }

Captura::Captura() {
    const QString arquivo = arquivoCaptura();
    removida_ = !QFileInfo::exists(arquivo) || QFile::remove(arquivo);
    if (!removida_) anterior_ = QFileInfo(arquivo).lastModified();
}

bool Captura::nova() const {
    const QFileInfo info(arquivoCaptura());
    return info.exists() && (removida_ || info.lastModified() != anterior_);
}

std::optional<QStringList> leLinhas(const QString& arquivo) {
    QFile entrada(arquivo);
    if (!entrada.open(QIODevice::ReadOnly)) return std::nullopt;
    const QString texto = platform::fromCp1252(entrada.readAll());
    QStringList linhas;
    qsizetype inicio = 0;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
        linhas.append(texto.mid(inicio, i - inicio));
        if (c == QLatin1Char('\r') && i + 1 < texto.size() && texto.at(i + 1) == QLatin1Char('\n')) ++i;
        inicio = i + 1;
    }
    if (inicio < texto.size()) linhas.append(texto.mid(inicio));
    return linhas;
}

bool copiaArquivo(const QString& origem, const QString& destino) {
    QFile entrada(origem);
    if (!entrada.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = entrada.readAll();
    if (entrada.error() != QFileDevice::NoError) return false;
    return platform::files::replace(destino, bytes);
}

bool gravaTexto(const QString& destino, const QString& texto) {
    return platform::files::replace(destino, platform::toSystemCodePage(texto));
}

QString semLeitura() { return QStringLiteral("Nenhuma Leitura Foi Recebida do ECF"); }

bool salvaCaptura(const QString& sufixo, const QString& titulo, const Captura& captura) {
    if (!captura.nova()) {
        platform::dialogs::error(titulo, semLeitura() + QStringLiteral("\rNenhum Arquivo Foi Gravado."));
        return false;
    }
    const QString relativo = caminhoRelatorio(sNomeArquivo + sufixo);
    const QString destino = sPastaBase + relativo;
    // The capture is Windows-1252, as the library writes it; the report a
    // person opens is text of the system's code page.
    QFile lida(arquivoCaptura());
    if (!lida.open(QIODevice::ReadOnly) || !gravaTexto(destino, platform::fromCp1252(lida.readAll()))) {
        platform::dialogs::error(titulo, QStringLiteral("Não Foi Possível Gravar o Arquivo:\r") + destino);
        return false;
    }
    if (platform::dialogs::question(
            titulo, QStringLiteral("Arquivo Gerado com Sucesso na Pasta Relatórios\rDeseja Visualizar o Arquivo?"),
            platform::dialogs::Default::Yes))
        AbreArquivoTXT(sAbreTXT, relativo);
    return true;
}

}  // namespace URelFiscais
