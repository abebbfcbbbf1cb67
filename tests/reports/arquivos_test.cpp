// The files of the fiscal reports: reading the capture file, copying a
// reading into the reports folder and opening a report in the viewer.
#include <QDir>
#include <QFile>

#include "auxiliares.h"
#include "impressao.h"
#include "platform/paths.h"
#include "printer/ustatus.h"
#include "reports/tfrelfiscais.h"

namespace {

class ArquivosRelatorio : public Instalacao {
protected:
    void SetUp() override {
        Instalacao::SetUp();
        UStatus::sPastaBase = pasta();
    }
};

TEST_F(ArquivosRelatorio, LinhasTerminamEmCrLfLfOuCrELidasEmCp1252) {
    const QString caminho = arquivo(QStringLiteral("linhas.txt"));
    grava(caminho, QByteArray("LEITURA X\r\nREDU\xC7\xC3O\nVALOR \x80 1,00\r\rfim"));
    const auto linhas = URelFiscais::leLinhas(caminho);
    ASSERT_TRUE(linhas);
    EXPECT_EQ(*linhas, (QStringList{QStringLiteral("LEITURA X"), QStringLiteral("REDUÇÃO"),
                                    QStringLiteral("VALOR € 1,00"), QString(), QStringLiteral("fim")}));

    // A final line end adds no empty line; an empty file has no lines.
    grava(caminho, QByteArray("uma\r\n"));
    EXPECT_EQ(*URelFiscais::leLinhas(caminho), QStringList{QStringLiteral("uma")});
    grava(caminho, QByteArray());
    EXPECT_TRUE(URelFiscais::leLinhas(caminho)->isEmpty());

    EXPECT_FALSE(URelFiscais::leLinhas(arquivo(QStringLiteral("nao_existe.txt"))));
}

TEST_F(ArquivosRelatorio, CopiaSubstituiODestinoSoQuandoTudoFoiGravado) {
    const QString origem = arquivo(QStringLiteral("Retorno.txt"));
    const QString destino = arquivo(QStringLiteral("Relatorios/copia.txt"));
    grava(destino, "antigo");
    grava(origem, QByteArray("novo\r\n\xC7"));
    EXPECT_TRUE(URelFiscais::copiaArquivo(origem, destino));
    EXPECT_EQ(conteudo(destino), QByteArray("novo\r\n\xC7"));

    // Without a source the old copy stays as it was.
    grava(destino, "antigo");
    ASSERT_TRUE(QFile::remove(origem));
    EXPECT_FALSE(URelFiscais::copiaArquivo(origem, destino));
    EXPECT_EQ(conteudo(destino), QByteArray("antigo"));

    // A folder that does not exist is not created.
    grava(origem, "novo");
    EXPECT_FALSE(URelFiscais::copiaArquivo(origem, arquivo(QStringLiteral("Falta/copia.txt"))));
    EXPECT_FALSE(QDir(arquivo(QStringLiteral("Falta"))).exists());
}

TEST_F(ArquivosRelatorio, CaminhoDoRelatorioERelativoAPastaDoPrograma) {
    EXPECT_EQ(URelFiscais::caminhoRelatorio(QStringLiteral("a_LX.txt")),
              QStringLiteral("Relatorios") + platform::paths::separator() + QStringLiteral("a_LX.txt"));
    EXPECT_EQ(URelFiscais::arquivoCaptura(), pasta() + QStringLiteral("Retorno.txt"));
}

TEST_F(ArquivosRelatorio, NotepadEWordpadAbremNoEditorPadraoOuNoProgramaQueHouver) {
    const QString relativo = URelFiscais::caminhoRelatorio(QStringLiteral("a_LX.txt"));
    const QString completo = pasta() + relativo;
    const QString documento = QStringLiteral("document"), inicia = QStringLiteral("start");
    struct Caso {
        const char* editor;
        QStringList noPath;
        QString arquivo, acao, alvo;
        QStringList argumentos;
    };
    const Caso casos[] = {
        {"Notepad", {}, relativo, documento, completo, {}},
        {"Notepad", {QStringLiteral("Notepad")}, relativo, inicia, QStringLiteral("/usr/bin/Notepad"), {completo}},
        // A full path is passed on as it is.
        {"Notepad", {QStringLiteral("Notepad")}, completo, inicia, QStringLiteral("/usr/bin/Notepad"), {completo}},
        // Wordpad opens in a word processor when there is one.
        {"Wordpad", {}, relativo, documento, completo, {}},
        {"Wordpad",
         {QStringLiteral("libreoffice"), QStringLiteral("Notepad")},
         relativo,
         inicia,
         QStringLiteral("/usr/bin/libreoffice"),
         {QStringLiteral("--writer"), completo}},
        {"Wordpad",
         {QStringLiteral("libreoffice"), QStringLiteral("Wordpad")},
         relativo,
         inicia,
         QStringLiteral("/usr/bin/Wordpad"),
         {completo}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.editor) + " " + c.noPath.join(' ').toStdString() + " " + c.arquivo.toStdString());
        shell.calls.clear();
        shell.programsOnPath = c.noPath;
        URelFiscais::AbreArquivoTXT(QString::fromLatin1(c.editor), c.arquivo);
        ASSERT_EQ(shell.calls.size(), 1u);
        EXPECT_EQ(shell.calls[0].action, c.acao);
        EXPECT_EQ(shell.calls[0].target, c.alvo);
        EXPECT_EQ(shell.calls[0].arguments, c.argumentos);
    }
}

}  // namespace
