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

TEST_F(ArquivosRelatorio, NotepadAbreNoEditorPadraoOuNoProgramaDesseNome) {
    const QString relativo = URelFiscais::caminhoRelatorio(QStringLiteral("a_LX.txt"));
    const QString completo = pasta() + relativo;

    URelFiscais::AbreArquivoTXT(QStringLiteral("Notepad"), relativo);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].action, QStringLiteral("document"));
    EXPECT_EQ(shell.calls[0].target, completo);

    shell.calls.clear();
    shell.programsOnPath = {QStringLiteral("Notepad")};
    URelFiscais::AbreArquivoTXT(QStringLiteral("Notepad"), relativo);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].action, QStringLiteral("start"));
    EXPECT_EQ(shell.calls[0].target, QStringLiteral("/usr/bin/Notepad"));
    EXPECT_EQ(shell.calls[0].arguments, QStringList{completo});

    // A full path is passed on as it is.
    shell.calls.clear();
    URelFiscais::AbreArquivoTXT(QStringLiteral("Notepad"), completo);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].arguments, QStringList{completo});
}

TEST_F(ArquivosRelatorio, WordpadAbreNumProcessadorDeTextoQuandoHaUm) {
    const QString relativo = URelFiscais::caminhoRelatorio(QStringLiteral("a_LX.txt"));
    const QString completo = pasta() + relativo;

    URelFiscais::AbreArquivoTXT(QStringLiteral("Wordpad"), relativo);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].action, QStringLiteral("document"));
    EXPECT_EQ(shell.calls[0].target, completo);

    shell.calls.clear();
    shell.programsOnPath = {QStringLiteral("libreoffice"), QStringLiteral("Notepad")};
    URelFiscais::AbreArquivoTXT(QStringLiteral("Wordpad"), relativo);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].action, QStringLiteral("start"));
    EXPECT_EQ(shell.calls[0].target, QStringLiteral("/usr/bin/libreoffice"));
    EXPECT_EQ(shell.calls[0].arguments, (QStringList{QStringLiteral("--writer"), completo}));

    shell.calls.clear();
    shell.programsOnPath = {QStringLiteral("libreoffice"), QStringLiteral("Wordpad")};
    URelFiscais::AbreArquivoTXT(QStringLiteral("Wordpad"), relativo);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].target, QStringLiteral("/usr/bin/Wordpad"));
    EXPECT_EQ(shell.calls[0].arguments, QStringList{completo});
}

}  // namespace
