// zentora-cli against the virtual printer, each test in its own folder: the
// built command run as a scheduler runs it, and its commands called directly
// where the virtual printer is steered from the test.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "auxiliares.h"
#include "cli/comandos.h"
#include "kesafi32.h"
#include "kesafi_virtual.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "printer/ustatus.h"

namespace {

struct Execucao {
    int codigo = -1;
    QString saida;
    QString erros;
    QJsonObject json() const { return QJsonDocument::fromJson(saida.toUtf8()).object(); }
};

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        pasta_ = dir_.path() + QLatin1Char('/');
        QDir().mkpath(pasta_ + QStringLiteral("Relatorios"));
        qputenv("ZENTORA_PASTA_BASE", QFile::encodeName(dir_.path()));
        platform::paths::setExecutableFolder({});
        UStatus::ReiniciaGlobais();
        ASSERT_EQ(KesafiVirtual_DefinePastaBase(QFile::encodeName(pasta_).constData()), 1);
        ASSERT_EQ(KesafiVirtual_CriaImpressora(nullptr, 0), 1);
        ASSERT_EQ(KesafiVirtual_Conecta("USB"), 1);
        // The port and the memory free for the command's own process.
        Kestrona_FI_FechaPortaSerial();
        ASSERT_EQ(KesafiVirtual_DefinePastaBase(QFile::encodeName(pasta_).constData()), 1);
    }
    void TearDown() override {
        KesafiVirtual_Liga(1);
        KesafiVirtual_DefinePastaBase(nullptr);
        qunsetenv("ZENTORA_PASTA_BASE");
    }

    // The built command, in a process of its own.
    Execucao roda(const QStringList& argumentos) const {
        QProcess processo;
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(QStringLiteral("ZENTORA_PASTA_BASE"), dir_.path());
        processo.setProcessEnvironment(ambiente);
        processo.start(QStringLiteral(ZENTORA_CLI), argumentos);
        if (!processo.waitForFinished(60000)) return {};
        return {processo.exitCode(), QString::fromUtf8(processo.readAllStandardOutput()),
                QString::fromUtf8(processo.readAllStandardError())};
    }
    QStringList relatorios() const { return QDir(pasta_ + QStringLiteral("Relatorios")).entryList(QDir::Files); }
    void gravaIni(const QString& secao, const QString& chave, const QString& valor) const {
        ASSERT_TRUE(platform::Profile(pasta_ + QStringLiteral("KESAFI32.ini")).writeString(secao, chave, valor));
    }

    QTemporaryDir dir_;
    QString pasta_;
    // The command's boxes go to its own terminal, as in its process.
    platform::dialogs::Unscripted terminal_;
};

TEST_F(Cli, EstadoDizQuemEOndeEstaAImpressoraEmTextoEEmJson) {
    const Execucao texto = roda({QStringLiteral("estado")});
    ASSERT_EQ(texto.codigo, cli::Sucesso) << texto.erros.toStdString();
    EXPECT_TRUE(texto.saida.contains(QStringLiteral("Número de Série: VF08"))) << texto.saida.toStdString();
    EXPECT_TRUE(texto.saida.contains(QStringLiteral("Porta: USB")));
    EXPECT_TRUE(texto.saida.contains(QStringLiteral("Retorno do ECF: ACK - ST1 - ST2 - ST3 = 6, 0, 0, 0")));

    const Execucao json = roda({QStringLiteral("estado"), QStringLiteral("--json")});
    ASSERT_EQ(json.codigo, cli::Sucesso);
    const QJsonObject o = json.json();
    EXPECT_EQ(o.value(QStringLiteral("comando")).toString(), QStringLiteral("estado"));
    EXPECT_EQ(o.value(QStringLiteral("codigo")).toInt(-1), 0);
    EXPECT_EQ(o.value(QStringLiteral("numeroSerie")).toString().size(), 20);
    EXPECT_EQ(o.value(QStringLiteral("porta")).toString(), QStringLiteral("USB"));
    EXPECT_GT(o.value(QStringLiteral("reducoesRestantes")).toInt(), 0);
    EXPECT_TRUE(o.value(QStringLiteral("horarioVerao")).toString() == QStringLiteral("ATIVO") ||
                o.value(QStringLiteral("horarioVerao")).toString() == QStringLiteral("INATIVO"));
    EXPECT_EQ(o.value(QStringLiteral("status")).toObject().value(QStringLiteral("ack")).toInt(), KESAFI_ACK);
    // The program's settings, as the window's start leaves them.
    EXPECT_EQ(platform::Profile(pasta_ + QStringLiteral("KESAFI32.ini"))
                  .readString(QStringLiteral("Zentora3"), QStringLiteral("AbreTXT")),
              QStringLiteral("Notepad"));
}

TEST_F(Cli, CadaArquivoGravadoEhNomeadoEEstaNaPastaRelatorios) {
    struct Caso {
        QStringList argumentos;
        QString sufixo;
    };
    const Caso casos[] = {
        {{QStringLiteral("leitura-x"), QStringLiteral("--salvar")}, QStringLiteral("_LX.txt")},
        {{QStringLiteral("memoria-fiscal"), QStringLiteral("--30-dias"), QStringLiteral("--salvar")},
         QStringLiteral("_MF.txt")},
        {{QStringLiteral("dados-z")}, QStringLiteral("_Z.txt")},
        {{QStringLiteral("download-mf")}, QStringLiteral(".mf")},
        {{QStringLiteral("mfd"), QStringLiteral("--total"), QStringLiteral("--espelho")},
         QStringLiteral("_Espelho.txt")},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.argumentos.join(QLatin1Char(' ')).toStdString());
        const Execucao e = roda(caso.argumentos + QStringList{QStringLiteral("--json")});
        ASSERT_EQ(e.codigo, cli::Sucesso) << e.erros.toStdString();
        const QJsonArray arquivos = e.json().value(QStringLiteral("arquivos")).toArray();
        ASSERT_EQ(arquivos.size(), 1);
        const QFileInfo arquivo(arquivos[0].toString());
        EXPECT_TRUE(arquivo.fileName().endsWith(caso.sufixo)) << arquivo.fileName().toStdString();
        EXPECT_EQ(arquivo.absolutePath(), QFileInfo(pasta_ + QStringLiteral("Relatorios")).absoluteFilePath());
        EXPECT_GT(arquivo.size(), 0);
    }
}

TEST_F(Cli, OTipoEDoTerminalSaiComODownloadEConfereNaAssinatura) {
    const Execucao e = roda({QStringLiteral("mfd"), QStringLiteral("--datas"), QStringLiteral("01/01/00"),
                             QStringLiteral("31/12/59"), QStringLiteral("--tipo-e"), QStringLiteral("TDM")});
    ASSERT_EQ(e.codigo, cli::Sucesso) << e.erros.toStdString();
    // The download kept under the serial number and the type-E file beside it.
    QStringList tipoE;
    for (const QString& nome : relatorios())
        if (nome.startsWith(QLatin1String("TDM"))) tipoE << nome;
    ASSERT_EQ(tipoE.size(), 1);
    EXPECT_TRUE(e.saida.contains(tipoE[0]));
    EXPECT_EQ(relatorios().filter(QStringLiteral(".MFD")).size(), 1);
    // Checked by the signature command, and a damaged copy refused.
    const QString original = pasta_ + QStringLiteral("Relatorios/") + tipoE[0];
    const QString copia = pasta_ + QStringLiteral("copia.txt");
    QFile f(original);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    bytes[10] = bytes[10] == 'X' ? 'Y' : 'X';
    QFile g(copia);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write(bytes);
    g.close();
    const Execucao v = roda({QStringLiteral("validar"), original, copia, QStringLiteral("--json")});
    EXPECT_EQ(v.codigo, cli::Recusado);
    const QJsonArray validacoes = v.json().value(QStringLiteral("validacoes")).toArray();
    ASSERT_EQ(validacoes.size(), 2);
    EXPECT_TRUE(validacoes[0].toObject().value(QStringLiteral("valido")).toBool());
    EXPECT_FALSE(validacoes[1].toObject().value(QStringLiteral("valido")).toBool());
    EXPECT_EQ(roda({QStringLiteral("validar"), original}).codigo, cli::Sucesso);
}

TEST_F(Cli, UsoOuDadoInvalidoSaiComDoisSemNadaChegarAImpressora) {
    const QStringList casos[] = {
        {QStringLiteral("bobo")},
        {QStringLiteral("estado"), QStringLiteral("--nada")},
        {QStringLiteral("leitura-x"), QStringLiteral("--confirmo")},
        {QStringLiteral("reducao-z")},
        {QStringLiteral("memoria-fiscal")},
        {QStringLiteral("memoria-fiscal"), QStringLiteral("--datas"), QStringLiteral("31/02/26"),
         QStringLiteral("01/03/26")},
        {QStringLiteral("memoria-fiscal"), QStringLiteral("--datas"), QStringLiteral("02/03/26"),
         QStringLiteral("01/03/26")},
        {QStringLiteral("memoria-fiscal"), QStringLiteral("--reducoes"), QStringLiteral("0010"),
         QStringLiteral("0002")},
        {QStringLiteral("mfd")},
        {QStringLiteral("mfd"), QStringLiteral("--coo"), QStringLiteral("12"), QStringLiteral("000020")},
        {QStringLiteral("mfd"), QStringLiteral("--datas"), QStringLiteral("01/01/26"), QStringLiteral("01/01/26"),
         QStringLiteral("--tipo-e"), QStringLiteral("XYZ")},
        {QStringLiteral("converter"), QStringLiteral("nao-existe.mfd"), QStringLiteral("--formato"),
         QStringLiteral("txt"), QStringLiteral("--total")},
        {QStringLiteral("validar")},
    };
    for (const QStringList& argumentos : casos) {
        SCOPED_TRACE(argumentos.join(QLatin1Char(' ')).toStdString());
        const cli::Resultado r = cli::executa(argumentos);
        EXPECT_EQ(r.codigo, cli::UsoInvalido);
        EXPECT_FALSE(r.erros.isEmpty());
    }
    EXPECT_EQ(chamadas("AbrePortaSerial"), 0);
    EXPECT_EQ(chamadas("ReducaoZ"), 0);
    EXPECT_TRUE(relatorios().isEmpty());
    // The Z's gate texts, on the terminal, before the flag is asked for.
    const cli::Resultado z = cli::executa({QStringLiteral("reducao-z")});
    EXPECT_TRUE(z.erros.join(QLatin1Char('\n')).contains(QStringLiteral("Deseja Realmente Emitir a Redução Z?")));
}

TEST_F(Cli, ARecusaDaImpressoraSaiComUmEDizOStatusDecodificado) {
    ASSERT_EQ(roda({QStringLiteral("reducao-z"), QStringLiteral("--confirmo")}).codigo, cli::Sucesso);
    // A second reduction on the same day is refused.
    const Execucao e = roda({QStringLiteral("reducao-z"), QStringLiteral("--confirmo"), QStringLiteral("--json")});
    EXPECT_EQ(e.codigo, cli::Recusado);
    EXPECT_TRUE(e.erros.contains(QStringLiteral("Retorno do ECF: ACK - ST1 - ST2 - ST3 = "))) << e.erros.toStdString();
    EXPECT_TRUE(e.erros.contains(QStringLiteral("Comando Não Executado")));
    const QJsonObject status = e.json().value(QStringLiteral("status")).toObject();
    EXPECT_NE(status.value(QStringLiteral("st3")).toInt(), 0);
}

TEST_F(Cli, SemImpressoraSaiComTresEComAPortaEmUsoComQuatro) {
    // Switched off: nothing answers on either port.
    KesafiVirtual_Liga(0);
    EXPECT_EQ(cli::executa({QStringLiteral("estado")}).codigo, cli::SemImpressora);
    KesafiVirtual_Liga(1);

    // Another program (the window) holds the port.
    gravaIni(QStringLiteral("Sistema"), QStringLiteral("Porta"), QStringLiteral("USB"));
    Kestrona_FI_SelecionaIniLocal();
    Kestrona_FI_ReloadINIFile();
    ASSERT_EQ(Kestrona_FI_AbrePortaSerial(), 1);
    const Execucao emUso = roda({QStringLiteral("estado"), QStringLiteral("--json")});
    EXPECT_EQ(emUso.codigo, cli::EmUso) << emUso.erros.toStdString();
    EXPECT_TRUE(emUso.erros.contains(QStringLiteral("em Uso por Outro Programa")));
    Kestrona_FI_FechaPortaSerial();

    // Cable moved: attached to no port.
    ASSERT_EQ(KesafiVirtual_Conecta(""), 1);
    KesafiVirtual_DefinePastaBase(QFile::encodeName(pasta_).constData());
    EXPECT_EQ(roda({QStringLiteral("estado")}).codigo, cli::SemImpressora);
}

TEST_F(Cli, UmaFuncaoQueOGerenciadorRetirouNaoEhAlcancadaPeloTerminal) {
    // Flag 3 is the Reading X; flag 17 the signature check.
    QString status(33, QLatin1Char('1'));
    status[2] = QLatin1Char('0');
    status[16] = QLatin1Char('0');
    gravaIni(QStringLiteral("Zentora3"), QStringLiteral("Status"), status);
    for (const QStringList& argumentos :
         {QStringList{QStringLiteral("leitura-x")}, QStringList{QStringLiteral("validar"), pasta_}}) {
        const cli::Resultado r = cli::executa(argumentos);
        EXPECT_EQ(r.codigo, cli::UsoInvalido);
        EXPECT_TRUE(r.erros.join(QLatin1Char('\n')).contains(QStringLiteral("Gerenciador de Comandos")));
    }
    EXPECT_EQ(chamadas("LeituraX"), 0);
    EXPECT_EQ(cli::executa({QStringLiteral("dados-z")}).codigo, cli::Sucesso);
}

}  // namespace
