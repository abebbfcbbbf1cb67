// The settings window opened from the main window: skins, off-line
// handling, text viewer, folders, the registration script and the download
// page.  Every choice reaches KESAFI32.ini and its global at once.
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "auxiliares.h"
#include "platform/paths.h"
#include "printer/ustatus.h"
#include "settings/tfconfiggeral.h"
#include "usuario_comum.h"

using platform::dialogs::Kind;

// Readable texts in failures.
static void PrintTo(const QString& texto, std::ostream* os) { *os << '"' << texto.toStdString() << '"'; }

namespace {

const QString kSecao = QStringLiteral("Zentora3");

// Counts the restyling a widget goes through.
class ContaEstilo : public QObject {
public:
    int vezes = 0;
    bool eventFilter(QObject*, QEvent* evento) override {
        if (evento->type() == QEvent::StyleChange) ++vezes;
        return false;
    }
};

class ConfigGeral : public Instalacao {
protected:
    void SetUp() override {
        Instalacao::SetUp();
        if (HasFatalFailure()) return;
        criaJanelas();
        abre();
    }
    void abre() {
        QTest::mouseClick(naPrincipal<QPushButton>("BtConfig"), Qt::LeftButton);
        ASSERT_TRUE(UConfig::FConfigGeral.get()->isVisible());
    }

    template <class T>
    static T* configuracao(const char* nome) {
        return controle<T>(UConfig::FConfigGeral.get(), nome);
    }
    QLabel* imagem(const QString& interface_) const {
        return UConfig::FConfigGeral.get()->findChild<QLabel*>(QStringLiteral("Img") + interface_);
    }
    static QString folha(const QString& caminho) {
        QFile f(caminho);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    QByteArray bytesDoIni() const {
        QFile f(ini());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void clica(QAbstractButton* botao) {
        QTest::mouseClick(botao, Qt::LeftButton, {}, QPoint(8, botao->height() / 2));
    }
};

TEST_F(ConfigGeral, JanelaComSuasLegendasEAsOitoPrevias) {
    TFConfigGeral* janela = UConfig::FConfigGeral.get();
    EXPECT_EQ(janela->windowTitle(), QStringLiteral("Configurações do Zentora"));
    EXPECT_EQ(janela->size(), QSize(792, 450));
    EXPECT_EQ(janela->minimumSize(), janela->maximumSize());
    EXPECT_EQ(janela->pos(), uZentora3::Fprincipal->pos());
    EXPECT_EQ(configuracao<QGroupBox>("GbRegistraDll")->title(), QStringLiteral("DAO350.DLL e MSJET35.DLL"));
    EXPECT_EQ(configuracao<QGroupBox>("GbOFFLINE")->title(), QStringLiteral("Tratamento OFF LINE ao Localizar o ECF"));
    const std::pair<QAbstractButton*, const char*> botoes[] = {
        {configuracao<QToolButton>("BtAlterarCadastro"), "Alterar Pasta de Cadastro"},
        {configuracao<QToolButton>("BtVerCadastro"), "Visualizar Pasta Cadastro"},
        {configuracao<QToolButton>("BtPastaRel"), "Visualizar Pasta Relatórios"},
        {configuracao<QToolButton>("BtRegistrarDll"), "Registrar DLL's Kestrona"},
        {configuracao<QToolButton>("BtVerificaVersao"), "Baixar Versão Atual do Zentora"}};
    for (const auto& [botao, legenda] : botoes) {
        EXPECT_EQ(botao->text(), QString::fromUtf8(legenda));
        EXPECT_TRUE(botao->isEnabled());
        EXPECT_EQ(botao->size(), QSize(220, 85));
        EXPECT_FALSE(botao->icon().isNull()) << legenda;  // a picture above the caption
    }

    // Each skin's picture is drawn from that skin: eight different pictures.
    std::vector<QImage> previas;
    for (const QString& nome : UConfig::Interfaces()) {
        QLabel* img = imagem(nome);
        ASSERT_NE(img, nullptr) << nome.toStdString();
        EXPECT_EQ(img->size(), QSize(90, 80));
        EXPECT_EQ(img->cursor().shape(), Qt::PointingHandCursor);
        const QPixmap figura = img->pixmap();
        ASSERT_FALSE(figura.isNull()) << nome.toStdString();
        EXPECT_EQ(figura.deviceIndependentSize().toSize(), img->contentsRect().size());
        previas.push_back(figura.toImage());
    }
    for (size_t i = 0; i < previas.size(); ++i)
        for (size_t j = i + 1; j < previas.size(); ++j)
            EXPECT_NE(previas[i], previas[j])
                << UConfig::Interfaces()[i].toStdString() << " " << UConfig::Interfaces()[j].toStdString();
}

TEST_F(ConfigGeral, UmaInterfaceEscolhidaValeJaEmTodasAsJanelasESobreviveAoReinicio) {
    QWidget* principal = uZentora3::Fprincipal;
    const QImage antes = principal->grab().toImage();
    QTest::mouseClick(imagem(QStringLiteral("DarkGlass")), Qt::LeftButton);
    EXPECT_EQ(leIni(kSecao, QStringLiteral("Interface")), QStringLiteral("DarkGlass"));
    EXPECT_EQ(UStatus::sInterface, QStringLiteral("DarkGlass"));
    EXPECT_EQ(qApp->styleSheet(), folha(arquivo(QStringLiteral("Skins/DarkGlass.qss"))));
    EXPECT_NE(principal->grab().toImage(), antes);

    // The skin already in use: written again, nothing restyled.
    gravaIni(kSecao, QStringLiteral("Interface"), QStringLiteral("outra"));
    ContaEstilo estilo;
    naPrincipal<QPushButton>("BtSair")->installEventFilter(&estilo);
    QTest::mouseClick(imagem(QStringLiteral("DarkGlass")), Qt::LeftButton);
    EXPECT_EQ(leIni(kSecao, QStringLiteral("Interface")), QStringLiteral("DarkGlass"));
    EXPECT_EQ(estilo.vezes, 0);
    QTest::mouseClick(imagem(QStringLiteral("Web2")), Qt::LeftButton);
    EXPECT_GT(estilo.vezes, 0);
    EXPECT_EQ(qApp->styleSheet(), folha(arquivo(QStringLiteral("Skins/Web2.qss"))));

    qApp->setStyleSheet(QString());
    criaJanelas();
    EXPECT_EQ(UStatus::sInterface, QStringLiteral("Web2"));
    EXPECT_EQ(qApp->styleSheet(), folha(arquivo(QStringLiteral("Skins/Web2.qss"))));
}

TEST_F(ConfigGeral, UmaEscolhaQueNaoPodeSerGravadaNaoMudaNada) {
    const QByteArray antes = bytesDoIni();
    const QString estilo = qApp->styleSheet();
    ComoUsuarioComum::entrega(QFile::encodeName(pasta()).toStdString(), 0755);
    ComoUsuarioComum::entrega(QFile::encodeName(ini()).toStdString(), 0200);
    {
        ComoUsuarioComum usuario;
        QTest::mouseClick(imagem(QStringLiteral("Web2")), Qt::LeftButton);
        clica(configuracao<QRadioButton>("RbTXTWordpad"));
    }
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    for (const auto& vista : vistas) {
        EXPECT_EQ(vista.kind, Kind::Error);
        EXPECT_EQ(vista.text, QStringLiteral("Unable to write to ") + ini());
    }
    EXPECT_EQ(UStatus::sInterface, QStringLiteral("Aluminium"));
    EXPECT_EQ(qApp->styleSheet(), estilo);
    EXPECT_EQ(UStatus::sAbreTXT, QStringLiteral("Notepad"));
    ASSERT_TRUE(QFile::setPermissions(ini(), QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(bytesDoIni(), antes);
}

TEST_F(ConfigGeral, EnviarComandoAcinzentaOsRadiosSemMudarAEscolha) {
    clica(configuracao<QCheckBox>("CbAutorizaComandoOFFLine"));
    EXPECT_TRUE(configuracao<QRadioButton>("RbHabilitaOFFLine")->isEnabled());
    EXPECT_TRUE(configuracao<QRadioButton>("RbDesabilitaOFFLine")->isEnabled());
    EXPECT_EQ(leIni(kSecao, QStringLiteral("EnviaComandoOFFLine")), QStringLiteral("Sim"));
    EXPECT_EQ(UStatus::sEnviaComandoOFFline, QStringLiteral("Sim"));

    clica(configuracao<QRadioButton>("RbHabilitaOFFLine"));
    EXPECT_EQ(leIni(kSecao, QStringLiteral("TrataOFFLine")), QStringLiteral("Sim"));
    EXPECT_EQ(UStatus::sTrataOFFLine, QStringLiteral("Sim"));

    clica(configuracao<QCheckBox>("CbAutorizaComandoOFFLine"));
    EXPECT_FALSE(configuracao<QRadioButton>("RbHabilitaOFFLine")->isEnabled());
    EXPECT_FALSE(configuracao<QRadioButton>("RbDesabilitaOFFLine")->isEnabled());
    EXPECT_TRUE(configuracao<QRadioButton>("RbHabilitaOFFLine")->isChecked());
    EXPECT_EQ(leIni(kSecao, QStringLiteral("TrataOFFLine")), QStringLiteral("Sim"));
    EXPECT_EQ(leIni(kSecao, QStringLiteral("EnviaComandoOFFLine")), QStringLiteral("Nao"));
    EXPECT_EQ(UStatus::sEnviaComandoOFFline, QStringLiteral("Nao"));
    EXPECT_EQ(UStatus::sTrataOFFLine, QStringLiteral("Sim"));

    clica(configuracao<QCheckBox>("CbAutorizaComandoOFFLine"));
    EXPECT_TRUE(configuracao<QRadioButton>("RbHabilitaOFFLine")->isEnabled());
    EXPECT_TRUE(configuracao<QRadioButton>("RbHabilitaOFFLine")->isChecked());

    clica(configuracao<QRadioButton>("RbDesabilitaOFFLine"));
    EXPECT_EQ(leIni(kSecao, QStringLiteral("TrataOFFLine")), QStringLiteral("Nao"));
    EXPECT_EQ(UStatus::sTrataOFFLine, QStringLiteral("Nao"));
}

TEST_F(ConfigGeral, SemEnviarComandoNaPartidaOsRadiosFicamDesabilitados) {
    gravaIni(kSecao, QStringLiteral("EnviaComandoOFFline"), QStringLiteral("Nao"));
    gravaIni(kSecao, QStringLiteral("TrataOFFLine"), QStringLiteral("Sim"));
    criaJanelas();
    EXPECT_FALSE(configuracao<QCheckBox>("CbAutorizaComandoOFFLine")->isChecked());
    EXPECT_TRUE(configuracao<QRadioButton>("RbHabilitaOFFLine")->isChecked());
    EXPECT_FALSE(configuracao<QRadioButton>("RbHabilitaOFFLine")->isEnabled());
    EXPECT_FALSE(configuracao<QRadioButton>("RbDesabilitaOFFLine")->isEnabled());
    EXPECT_EQ(leIni(kSecao, QStringLiteral("TrataOFFLine")), QStringLiteral("Sim"));
}

TEST_F(ConfigGeral, OVisualizadorDeTextoEGravadoNaHora) {
    clica(configuracao<QRadioButton>("RbTXTWordpad"));
    EXPECT_EQ(leIni(kSecao, QStringLiteral("AbreTXT")), QStringLiteral("Wordpad"));
    EXPECT_EQ(UStatus::sAbreTXT, QStringLiteral("Wordpad"));
    clica(configuracao<QRadioButton>("RbTXTNotepad"));
    EXPECT_EQ(leIni(kSecao, QStringLiteral("AbreTXT")), QStringLiteral("Notepad"));
    EXPECT_EQ(UStatus::sAbreTXT, QStringLiteral("Notepad"));

    // "notepad" is not "Notepad": the start turns it into "Wordpad".
    gravaIni(kSecao, QStringLiteral("AbreTXT"), QStringLiteral("notepad"));
    criaJanelas();
    EXPECT_TRUE(configuracao<QRadioButton>("RbTXTWordpad")->isChecked());
    EXPECT_EQ(leIni(kSecao, QStringLiteral("AbreTXT")), QStringLiteral("Wordpad"));
}

TEST_F(ConfigGeral, PastaDeCadastroEscolhidaFicaSemSeparadorFinal) {
    const QString padrao = UStatus::sPastaCadastro;
    dialogos.cancel();
    QTest::mouseClick(configuracao<QToolButton>("BtAlterarCadastro"), Qt::LeftButton);
    EXPECT_EQ(UStatus::sPastaCadastro, padrao);
    EXPECT_EQ(leIni(kSecao, QStringLiteral("Cadastro")), padrao);

    const QString outra = pasta() + QStringLiteral("Outra");
    dialogos.text(outra + QStringLiteral("/"));
    QTest::mouseClick(configuracao<QToolButton>("BtAlterarCadastro"), Qt::LeftButton);
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(vistas[1].kind, Kind::Folder);
    EXPECT_EQ(vistas[1].title, QStringLiteral("Selecionar Pasta"));
    EXPECT_EQ(leIni(kSecao, QStringLiteral("Cadastro")), outra);
    EXPECT_EQ(UStatus::sPastaCadastro, outra);

    QTest::mouseClick(configuracao<QToolButton>("BtVerCadastro"), Qt::LeftButton);
    QTest::mouseClick(configuracao<QToolButton>("BtPastaRel"), Qt::LeftButton);
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[0].action, QStringLiteral("folder"));
    EXPECT_EQ(shell.calls[0].target, outra);
    EXPECT_EQ(shell.calls[1].action, QStringLiteral("folder"));
    EXPECT_EQ(shell.calls[1].target, pasta() + QStringLiteral("Relatorios"));

    // The choice holds at the next start.
    criaJanelas();
    EXPECT_EQ(UStatus::sPastaCadastro, outra);
}

TEST_F(ConfigGeral, OsBotoesReservadoNuncaReagem) {
    const QByteArray ajustes = bytesDoIni();
    for (QPushButton* reservado : {configuracao<QPushButton>("sButton2"), configuracao<QPushButton>("sButton3"),
                                   configuracao<QPushButton>("BtResrvado1")}) {
        EXPECT_EQ(reservado->text(), QStringLiteral("Reservado"));
        EXPECT_FALSE(reservado->isEnabled());
        QTest::mouseClick(reservado, Qt::LeftButton);
        // Not even when something enables them.
        reservado->setEnabled(true);
        QTest::mouseClick(reservado, Qt::LeftButton);
        reservado->setEnabled(false);
    }
    EXPECT_TRUE(caixas().empty());
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(bytesDoIni(), ajustes);
}

TEST_F(ConfigGeral, RegistroSoDizOkQuandoOScriptRodouEDeuCerto) {
    const QString script = pasta() + platform::paths::scriptFile(QStringLiteral("Registra"));
    QTest::mouseClick(configuracao<QToolButton>("BtRegistrarDll"), Qt::LeftButton);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].action, QStringLiteral("wait"));
    EXPECT_EQ(shell.calls[0].target, script);
    auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u);
    EXPECT_EQ(vistas[0].kind, Kind::Information);
    EXPECT_EQ(vistas[0].title, QStringLiteral("CONFIGURAÇÃO"));
    EXPECT_EQ(vistas[0].text, QStringLiteral("Registro de DLL ok!"));

    const std::pair<platform::shell::Wait, int> falhas[] = {{platform::shell::Wait::Finished, 1},
                                                            {platform::shell::Wait::NotStarted, 0},
                                                            {platform::shell::Wait::TimedOut, 0}};
    for (const auto& [espera, codigo] : falhas) {
        shell.waitResult = espera;
        shell.exitCode = codigo;
        QTest::mouseClick(configuracao<QToolButton>("BtRegistrarDll"), Qt::LeftButton);
        vistas = caixas();
        ASSERT_EQ(vistas.size(), 1u);
        EXPECT_EQ(vistas[0].kind, Kind::Error);
        EXPECT_EQ(vistas[0].title, QStringLiteral("CONFIGURAÇÃO"));
        EXPECT_TRUE(vistas[0].text.contains(script)) << descreve(vistas[0]);
        EXPECT_FALSE(vistas[0].text.contains(QStringLiteral("ok!"))) << descreve(vistas[0]);
    }
}

TEST_F(ConfigGeral, BaixarVersaoAbreAPaginaConfiguradaOuADoProjeto) {
    QTest::mouseClick(configuracao<QToolButton>("BtVerificaVersao"), Qt::LeftButton);
    gravaIni(kSecao, QStringLiteral("PaginaDownload"), QStringLiteral("https://interno.exemplo/zentora"));
    QTest::mouseClick(configuracao<QToolButton>("BtVerificaVersao"), Qt::LeftButton);
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[0].action, QStringLiteral("url"));
    EXPECT_EQ(shell.calls[0].target, UConfig::PaginaDownloadPadrao());
    EXPECT_EQ(shell.calls[1].target, QStringLiteral("https://interno.exemplo/zentora"));
    EXPECT_TRUE(caixas().empty());

    shell.result = false;
    QTest::mouseClick(configuracao<QToolButton>("BtVerificaVersao"), Qt::LeftButton);
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u);
    EXPECT_EQ(vistas[0].kind, Kind::Information);
    EXPECT_EQ(vistas[0].title, QStringLiteral("REDUÇÃO"));
    EXPECT_EQ(vistas[0].text, QStringLiteral("Não Foi Possível Executar o Comando!\rAlguma Restrição do Sistema "
                                             "operacional não Permitiu o Comando."));
}

// The script itself, as the program ships it.
TEST(Registra, VerificaQueABibliotecaDaImpressoraAchaOSQLite) {
    const QString instalado = QStringLiteral(ZENTORA_INSTALL_DIR "/Registra");
    QProcess processo;
    processo.start(instalado, {});
    ASSERT_TRUE(processo.waitForFinished(30000));
    EXPECT_EQ(processo.exitCode(), 0) << processo.readAllStandardError().toStdString();
    EXPECT_TRUE(processo.readAllStandardOutput().contains("SQLite")) << "reports where SQLite was found";

    // Run through a link, as the package links it into the user's data folder.
    QTemporaryDir dados;
    const QString link = dados.filePath(QStringLiteral("Registra"));
    ASSERT_TRUE(QFile::link(instalado, link));
    processo.start(link, {});
    ASSERT_TRUE(processo.waitForFinished(30000));
    EXPECT_EQ(processo.exitCode(), 0) << processo.readAllStandardError().toStdString();

    // Beside no printer library, or beside a file that is no library: refused, saying why.
    QTemporaryDir outra;
    const QString copia = outra.filePath(QStringLiteral("Registra"));
    ASSERT_TRUE(QFile::copy(instalado, copia));
    processo.start(copia, {});
    ASSERT_TRUE(processo.waitForFinished(30000));
    EXPECT_NE(processo.exitCode(), 0);
    EXPECT_TRUE(processo.readAllStandardError().contains("libKESAFI32.so"));

    QFile falsa(outra.filePath(QStringLiteral("libKESAFI32.so")));
    ASSERT_TRUE(falsa.open(QIODevice::WriteOnly));
    falsa.write("nada de biblioteca aqui\n");
    falsa.close();
    processo.start(copia, {});
    ASSERT_TRUE(processo.waitForFinished(30000));
    EXPECT_NE(processo.exitCode(), 0);
}

}  // namespace
