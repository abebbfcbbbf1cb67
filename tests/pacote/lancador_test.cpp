// The package's launcher prepares the user's data folder and starts the
// program there; the program and the printer library then keep every file
// they write in that folder, never in the installation folder.
#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QToolButton>
#include <optional>

#include "app/tfprincipal.h"
#include "auxiliares.h"
#include "kesafi_virtual.h"
#include "pacote.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "printer/ustatus.h"
#include "settings/tfconfiggeral.h"

using pacote::arvore;
using pacote::Execucao;

namespace {

// What the launcher links into the data folder: the read-only files, and
// the one helper program that runs as the user.
const QStringList kFixos = {QStringLiteral("Skins"),   QStringLiteral("Ajuda"),      QStringLiteral("Modelo.ntf"),
                            QStringLiteral("usb.bmp"), QStringLiteral("serial.bmp"), QStringLiteral("Registra")};

// Stands in for the program: tells what it was started with.
const char kSubstituto[] =
    "#!/bin/sh\n"
    "printf 'pasta=%s\\n' \"$ZENTORA_PASTA_BASE\"\n"
    "printf 'cwd=%s\\n' \"$(pwd)\"\n"
    "for a in \"$@\"; do printf 'arg=%s\\n' \"$a\"; done\n"
    "exit 7\n";

}  // namespace

class Lancador : public PacoteExtraido {
protected:
    void SetUp() override {
        PacoteExtraido::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(fora_.isValid());
        const QString programa = instalacao() + QStringLiteral("/Zentora");
        ASSERT_TRUE(QFile::remove(programa));
        grava(programa, kSubstituto);
        ASSERT_TRUE(QFile::setPermissions(programa, QFile::permissions(programa) | QFile::ExeOwner));
        QDir().mkpath(casa());
        instalado_ = arvore(raiz());
    }
    void TearDown() override {
        // Whatever a start did, the installed tree is as unpacked.
        if (!instalado_.isEmpty()) {
            EXPECT_EQ(arvore(raiz()), instalado_);
        }
    }

    QString fora(const QString& nome) const { return fora_.path() + QLatin1Char('/') + nome; }
    QString casa() const { return fora(QStringLiteral("home")); }

    // The user's environment without any data folder of its own.
    QProcessEnvironment ambiente() const {
        auto env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_DATA_HOME"));
        env.remove(QStringLiteral("ZENTORA_PASTA_BASE"));
        env.insert(QStringLiteral("HOME"), casa());
        return env;
    }
    Execucao inicia(const QProcessEnvironment& env, const QStringList& argumentos = {}) const {
        return pacote::executa(raiz() + QStringLiteral("/usr/bin/zentora"), argumentos, env, fora_.path());
    }
    // The folder the program was started with, as it saw it.
    static QString pastaVista(const Execucao& e) {
        for (const QString& linha : e.saida.split(QLatin1Char('\n')))
            if (linha.startsWith(QLatin1String("pasta="))) return linha.mid(6);
        return QString();
    }
    void confereLink(const QString& dados, const QString& item) const {
        const QFileInfo link(dados + QLatin1Char('/') + item);
        EXPECT_TRUE(link.isSymLink()) << item.toStdString();
        const QString origem = item == QLatin1String("Registra") ? instalacao() : fixos();
        EXPECT_EQ(link.canonicalFilePath(), QFileInfo(origem + QLatin1Char('/') + item).canonicalFilePath())
            << item.toStdString();
    }

private:
    QTemporaryDir fora_;
    QStringList instalado_;
};

TEST_F(Lancador, PreparesTheDataFolderAndStartsTheProgramThere) {
    auto env = ambiente();
    env.insert(QStringLiteral("XDG_DATA_HOME"), fora(QStringLiteral("xdg")));
    const Execucao e = inicia(env, {QStringLiteral("a"), QStringLiteral("b c")});
    EXPECT_EQ(e.codigo, 7) << e.erros.toStdString();  // the program's own exit code

    const QString dados = fora(QStringLiteral("xdg/zentora"));
    EXPECT_EQ(e.saida.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              QStringList({QStringLiteral("pasta=") + dados + QLatin1Char('/'), QStringLiteral("cwd=") + dados,
                           QStringLiteral("arg=a"), QStringLiteral("arg=b c")}));
    EXPECT_EQ(arvore(dados),
              QStringList({QStringLiteral("Ajuda"), QStringLiteral("Cadastro"), QStringLiteral("Cadastro/Modelos"),
                           QStringLiteral("Modelo.ntf"), QStringLiteral("Registra"), QStringLiteral("Relatorios"),
                           QStringLiteral("Skins"), QStringLiteral("serial.bmp"), QStringLiteral("usb.bmp")}));
    for (const QString& pasta : {QStringLiteral("Relatorios"), QStringLiteral("Cadastro/Modelos")}) {
        const QFileInfo info(dados + QLatin1Char('/') + pasta);
        EXPECT_TRUE(info.isDir() && !info.isSymLink() && info.isWritable()) << pasta.toStdString();
    }
    for (const QString& item : kFixos) confereLink(dados, item);
    EXPECT_FALSE(QFileInfo::exists(casa() + QStringLiteral("/.local")));
}

TEST_F(Lancador, WithoutAnAbsoluteXdgDataHomeTheFolderIsUnderHome) {
    const QString dados = casa() + QStringLiteral("/.local/share/zentora");
    for (const std::optional<QString>& valor : {std::optional<QString>(), std::optional<QString>(QString()),
                                                std::optional(QStringLiteral("relativa/dados"))}) {
        SCOPED_TRACE(valor ? valor->toStdString() : std::string("(unset)"));
        auto env = ambiente();
        if (valor) env.insert(QStringLiteral("XDG_DATA_HOME"), *valor);
        const Execucao e = inicia(env);
        EXPECT_EQ(e.codigo, 7) << e.erros.toStdString();
        EXPECT_EQ(pastaVista(e), dados + QLatin1Char('/'));
        EXPECT_TRUE(QFileInfo(dados + QStringLiteral("/Cadastro/Modelos")).isDir());
        EXPECT_FALSE(QFileInfo::exists(fora(QStringLiteral("relativa"))));
        ASSERT_TRUE(QDir(dados).removeRecursively());
    }

    // Nowhere to keep the files: the program is not started.
    auto env = ambiente();
    env.remove(QStringLiteral("HOME"));
    const Execucao e = inicia(env);
    EXPECT_NE(e.codigo, 0);
    EXPECT_NE(e.codigo, 7);
    EXPECT_TRUE(e.erros.contains(QLatin1String("HOME"))) << e.erros.toStdString();
    EXPECT_TRUE(pastaVista(e).isEmpty());
}

TEST_F(Lancador, ZentoraPastaBaseChoosesAnotherDataFolder) {
    auto env = ambiente();
    env.insert(QStringLiteral("XDG_DATA_HOME"), fora(QStringLiteral("xdg")));
    env.insert(QStringLiteral("ZENTORA_PASTA_BASE"), fora(QStringLiteral("outra")));
    const Execucao e = inicia(env);
    EXPECT_EQ(e.codigo, 7) << e.erros.toStdString();
    EXPECT_EQ(pastaVista(e), fora(QStringLiteral("outra/")));
    EXPECT_TRUE(QFileInfo(fora(QStringLiteral("outra/Relatorios"))).isDir());
    confereLink(fora(QStringLiteral("outra")), QStringLiteral("Skins"));
    EXPECT_FALSE(QFileInfo::exists(fora(QStringLiteral("xdg"))));
}

TEST_F(Lancador, ANewStartKeepsTheUsersFilesAndRepairsLinksThatLeadNowhere) {
    auto env = ambiente();
    ASSERT_EQ(inicia(env).codigo, 7);
    const QString dados = casa() + QStringLiteral("/.local/share/zentora");

    const QList<std::pair<QString, QByteArray>> doUsuario = {
        {QStringLiteral("KESAFI32.ini"), "[Zentora3]\r\nInterface=Web2\r\n"},
        {QStringLiteral("Relatorios/KS0001_01022024_101010_LX.txt"), "LEITURA X\r\n"},
        {QStringLiteral("Cadastro/KS0001.ntf"), "[Aliquotas]\r\n"},
        {QStringLiteral("Cadastro/Modelos/loja.ntf"), "[Formas]\r\n"},
        {QStringLiteral("Impressora Virtual/memoria.db"), QByteArray("SQLite format 3\0", 16)},
        {QStringLiteral("Retorno.txt"), "captura\r\n"}};
    for (const auto& [nome, bytes] : doUsuario) grava(dados + QLatin1Char('/') + nome, bytes);
    // The user's own template and help in place of the links.
    ASSERT_TRUE(QFile::remove(dados + QStringLiteral("/Modelo.ntf")));
    grava(dados + QStringLiteral("/Modelo.ntf"), "[Modelo da loja]\r\n");
    ASSERT_TRUE(QFile::remove(dados + QStringLiteral("/Ajuda")));
    grava(fora(QStringLiteral("minha-ajuda/index.html")), "<p>ajuda</p>");
    ASSERT_TRUE(QFile::link(fora(QStringLiteral("minha-ajuda")), dados + QStringLiteral("/Ajuda")));
    // A link left by an installation that is gone.
    ASSERT_TRUE(QFile::remove(dados + QStringLiteral("/Skins")));
    ASSERT_TRUE(QFile::link(fora(QStringLiteral("velha/opt/zentora/Skins")), dados + QStringLiteral("/Skins")));

    const Execucao e = inicia(env);
    EXPECT_EQ(e.codigo, 7) << e.erros.toStdString();
    for (const auto& [nome, bytes] : doUsuario)
        EXPECT_EQ(conteudo(dados + QLatin1Char('/') + nome), bytes) << nome.toStdString();
    EXPECT_FALSE(QFileInfo(dados + QStringLiteral("/Modelo.ntf")).isSymLink());
    EXPECT_EQ(conteudo(dados + QStringLiteral("/Modelo.ntf")), QByteArray("[Modelo da loja]\r\n"));
    EXPECT_EQ(QFileInfo(dados + QStringLiteral("/Ajuda")).canonicalFilePath(), fora(QStringLiteral("minha-ajuda")));
    confereLink(dados, QStringLiteral("Skins"));
}

TEST_F(Lancador, ADataFolderOfTheEarlierLayoutIsMendedAtTheNextStart) {
    // As the package that kept everything below /opt/zentora left it, once
    // that folder is gone: every shipped item a link leading nowhere.
    const QString dados = casa() + QStringLiteral("/.local/share/zentora");
    const QString velha = raiz() + QStringLiteral("/opt/zentora/");
    ASSERT_FALSE(QFileInfo::exists(velha));
    grava(dados + QStringLiteral("/KESAFI32.ini"), "[Sistema]\r\nPorta=USB\r\n");
    grava(dados + QStringLiteral("/Cadastro/KS0001.ntf"), "[Aliquota]\r\n");
    for (const QString& item : kFixos + QStringList{QStringLiteral("USB_Driver")})
        ASSERT_TRUE(QFile::link(velha + item, dados + QLatin1Char('/') + item)) << item.toStdString();

    const Execucao e = inicia(ambiente());
    EXPECT_EQ(e.codigo, 7) << e.erros.toStdString();
    for (const QString& item : kFixos) confereLink(dados, item);
    // The driver installer is no longer linked: its dead link is gone.
    EXPECT_FALSE(QFileInfo(dados + QStringLiteral("/USB_Driver")).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(dados + QStringLiteral("/USB_Driver")));
    EXPECT_EQ(conteudo(dados + QStringLiteral("/KESAFI32.ini")), QByteArray("[Sistema]\r\nPorta=USB\r\n"));
    EXPECT_EQ(conteudo(dados + QStringLiteral("/Cadastro/KS0001.ntf")), QByteArray("[Aliquota]\r\n"));

    // A file of the user's own of that name, or a link that leads somewhere, stays.
    grava(dados + QStringLiteral("/USB_Driver"), "meu\n");
    ASSERT_EQ(inicia(ambiente()).codigo, 7);
    EXPECT_EQ(conteudo(dados + QStringLiteral("/USB_Driver")), QByteArray("meu\n"));
    ASSERT_TRUE(QFile::remove(dados + QStringLiteral("/USB_Driver")));
    ASSERT_TRUE(QFile::link(dados + QStringLiteral("/KESAFI32.ini"), dados + QStringLiteral("/USB_Driver")));
    ASSERT_EQ(inicia(ambiente()).codigo, 7);
    EXPECT_TRUE(QFileInfo(dados + QStringLiteral("/USB_Driver")).isSymLink());
}

// The real program and library, pointed at the data folder as the launcher
// points them: settings, printer memory and pictures all go through there.
TEST_F(Lancador, TheProgramAndTheLibraryKeepTheirFilesInTheDataFolder) {
    auto env = ambiente();
    ASSERT_EQ(inicia(env).codigo, 7);
    const QString dados = casa() + QStringLiteral("/.local/share/zentora/");

    qputenv("ZENTORA_PASTA_BASE", QFile::encodeName(dados));
    {
        platform::dialogs::Script dialogos;
        UStatus::ReiniciaGlobais();
        uZentora3::Janelas janelas;
        uZentora3::Fprincipal->show();
        naPrincipal<QToolButton>("BtLocalizarImpressora")->click();

        EXPECT_EQ(UStatus::sPastaBase, dados);
        EXPECT_EQ(platform::Profile(dados + QStringLiteral("KESAFI32.ini"))
                      .readString(QStringLiteral("Sistema"), QStringLiteral("Path")),
                  dados);
        // The skin is read through the data folder's link.
        EXPECT_EQ(UConfig::FConfigGeral.get()->skinManager.styleSheet().toUtf8(),
                  conteudo(fixos() + QStringLiteral("/Skins/Aluminium.qss")));
        // The library found the settings there and made its printer there.
        const auto caixas = dialogos.take();
        ASSERT_FALSE(caixas.empty());
        EXPECT_EQ(caixas.back().title.toStdString(), "LOCALIZAÇÃO DO ECF");
        EXPECT_TRUE(caixas.back().text.startsWith(QLatin1String("Impressora Fiscal Localizada com Sucesso!")))
            << caixas.back().text.toStdString();
        EXPECT_FALSE(QDir(dados + QStringLiteral("Impressora Virtual")).isEmpty());
    }
    qunsetenv("ZENTORA_PASTA_BASE");
}

// The command-line front end through its own link: the same data folder,
// the real command and library.
TEST_F(Lancador, ZentoraCliRunsThroughTheLauncherOverTheSameDataFolder) {
    const Execucao e =
        pacote::executa(raiz() + QStringLiteral("/usr/bin/zentora-cli"),
                        {QStringLiteral("estado"), QStringLiteral("--json")}, ambiente(), fora(QString()));
    ASSERT_EQ(e.codigo, 0) << e.erros.toStdString();
    const QJsonObject estado = QJsonDocument::fromJson(e.saida.toUtf8()).object();
    EXPECT_EQ(estado.value(QStringLiteral("comando")).toString(), QStringLiteral("estado"));
    EXPECT_EQ(estado.value(QStringLiteral("numeroSerie")).toString().size(), 20);
    const QString dados = casa() + QStringLiteral("/.local/share/zentora/");
    EXPECT_EQ(platform::Profile(dados + QStringLiteral("KESAFI32.ini"))
                  .readString(QStringLiteral("Sistema"), QStringLiteral("Path")),
              dados);
    EXPECT_FALSE(QDir(dados + QStringLiteral("Impressora Virtual")).isEmpty());
}

// The driver installer runs as the administrator: the program starts the
// copy in its own folder, never one in the data folder, which the user (or
// anybody who can write there) may replace.
TEST_F(Lancador, TheDriverInstallerIsStartedFromTheProgramsFolderNotTheDataFolder) {
    ASSERT_EQ(inicia(ambiente()).codigo, 7);
    const QString dados = casa() + QStringLiteral("/.local/share/zentora/");
    grava(dados + QStringLiteral("USB_Driver"), "#!/bin/sh\nexit 99\n");

    qputenv("ZENTORA_PASTA_BASE", QFile::encodeName(dados));
    {
        platform::dialogs::Script dialogos;
        platform::shell::Recorder shell;
        UStatus::ReiniciaGlobais();
        uZentora3::Janelas janelas;
        uZentora3::Fprincipal->show();
        ASSERT_EQ(UStatus::sPastaBase, dados);
        dialogos.yes();
        auto* botao = controle<QAbstractButton>(uZentora3::Fprincipal, "BtInstalaUSB");
        ASSERT_NE(botao, nullptr);
        botao->click();
        ASSERT_EQ(shell.calls.size(), 1u);
        EXPECT_EQ(shell.calls[0].target, QCoreApplication::applicationDirPath() + QStringLiteral("/USB_Driver"));
        EXPECT_FALSE(shell.calls[0].target.startsWith(dados));
        EXPECT_EQ(descritas(dialogos.take()).front(),
                  "Question INSTALAÇÃO DO DRIVE USB: Deseja Instalar o Driver Kestrona USB?");
    }
    qunsetenv("ZENTORA_PASTA_BASE");
}

TEST(PastaBase, TheProgramsFolderFollowsZentoraPastaBase) {
    qputenv("ZENTORA_PASTA_BASE", "/srv/dados");
    EXPECT_EQ(platform::paths::executableFolder(), QStringLiteral("/srv/dados/"));
    qputenv("ZENTORA_PASTA_BASE", "relativa/dados/");
    EXPECT_EQ(platform::paths::executableFolder(), QDir::current().absoluteFilePath(QStringLiteral("relativa/dados/")));
    // A folder the tests choose still comes first.
    platform::paths::setExecutableFolder(QStringLiteral("/tmp/instalacao"));
    EXPECT_EQ(platform::paths::executableFolder(), QStringLiteral("/tmp/instalacao/"));
    platform::paths::setExecutableFolder(QString());
    qputenv("ZENTORA_PASTA_BASE", "");
    EXPECT_EQ(platform::paths::executableFolder(), QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    qunsetenv("ZENTORA_PASTA_BASE");
    EXPECT_EQ(platform::paths::executableFolder(), QCoreApplication::applicationDirPath() + QLatin1Char('/'));
}
