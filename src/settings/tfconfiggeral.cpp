#include "tfconfiggeral.h"

#include <QFile>
#include <QMouseEvent>
#include <QStyle>

#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "previa.h"
#include "printer/janela.h"
#include "printer/ustatus.h"
#include "ui_tfconfiggeral.h"

namespace UConfig {

TFConfigGeral* FConfigGeral = nullptr;

const QStringList& Interfaces() {
    static const QStringList nomes = {
        QStringLiteral("Acryl"),    QStringLiteral("Aluminium"), QStringLiteral("DarkGlass"), QStringLiteral("Elegant"),
        QStringLiteral("Ledenets"), QStringLiteral("MacMetal"),  QStringLiteral("TheFrog"),   QStringLiteral("Web2")};
    return nomes;
}

QString PaginaDownloadPadrao() { return QStringLiteral("https://zentora.example.org/download"); }

}  // namespace UConfig

namespace {

const QString kSecao = QStringLiteral("Zentora3");
const QString kTituloConfiguracao = QStringLiteral("CONFIGURAÇÃO");
// The registration script checks a few files; this is ample.
constexpr int kEsperaRegistro = 30000;

platform::Profile ajustes() { return platform::Profile(UStatus::sPastaBase + QStringLiteral("KESAFI32.ini")); }

bool gravaAjuste(const QString& chave, const QString& valor) { return ajustes().writeString(kSecao, chave, valor); }

QString folhaDaInterface(const QString& pasta, const QString& nome) {
    QFile arquivo(platform::paths::join(pasta, nome + QStringLiteral(".qss")));
    return arquivo.open(QIODevice::ReadOnly) ? QString::fromUtf8(arquivo.readAll()) : QString();
}

}  // namespace

TFConfigGeral::TFConfigGeral(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TFConfigGeral>()) {
    ui->setupUi(this);
    printer::preparaJanela(this, Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    printer::instalaAjuda(this);

    // The pictures are drawn now, before the start-up applies a skin to the
    // whole program, so that each shows its own skin alone.
    const QString pastaSkins = platform::paths::executableFolder() + QStringLiteral("Skins");
    for (const QString& nome : UConfig::Interfaces()) {
        auto* imagem = findChild<QLabel*>(QStringLiteral("Img") + nome);
        imagem->setPixmap(UConfig::PreviaDaInterface(nome, folhaDaInterface(pastaSkins, nome),
                                                     imagem->contentsRect().size(), devicePixelRatioF()));
        imagem->installEventFilter(this);
        imagem->setAccessibleName(QStringLiteral("Interface ") + nome);
    }

    const std::pair<QToolButton*, QStyle::StandardPixmap> figuras[] = {
        {ui->BtAlterarCadastro, QStyle::SP_FileDialogNewFolder},
        {ui->BtVerCadastro, QStyle::SP_DirOpenIcon},
        {ui->BtPastaRel, QStyle::SP_FileDialogContentsView},
        {ui->BtRegistrarDll, QStyle::SP_DialogApplyButton},
        {ui->BtVerificaVersao, QStyle::SP_ArrowDown}};
    for (const auto& [botao, figura] : figuras) botao->setIcon(style()->standardIcon(figura));

    // Setting a check box or radio from the program runs its handler as a
    // click does; a control already in the requested state is not clicked again.
    connect(ui->RbHabilitaOFFLine, &QRadioButton::toggled, this, [this](bool on) {
        if (on) RbHabilitaOFFLineClick();
    });
    connect(ui->RbDesabilitaOFFLine, &QRadioButton::toggled, this, [this](bool on) {
        if (on) RbDesabilitaOFFLineClick();
    });
    connect(ui->CbAutorizaComandoOFFLine, &QCheckBox::toggled, this, &TFConfigGeral::CbAutorizaComandoOFFLineClick);
    connect(ui->RbTXTNotepad, &QRadioButton::toggled, this, [this](bool on) {
        if (on) RbTXTNotepadClick();
    });
    connect(ui->RbTXTWordpad, &QRadioButton::toggled, this, [this](bool on) {
        if (on) RbTXTWordpadClick();
    });
    connect(ui->BtAlterarCadastro, &QToolButton::clicked, this, &TFConfigGeral::BtAlterarCadastroClick);
    connect(ui->BtVerCadastro, &QToolButton::clicked, this, &TFConfigGeral::BtVerCadastroClick);
    connect(ui->BtPastaRel, &QToolButton::clicked, this, &TFConfigGeral::BtPastaRelClick);
    connect(ui->BtRegistrarDll, &QToolButton::clicked, this, &TFConfigGeral::BtRegistrarDllClick);
    connect(ui->BtVerificaVersao, &QToolButton::clicked, this, &TFConfigGeral::BtVerificaVersaoClick);
    // The three "Reservado" buttons stay disabled and do nothing.
}

TFConfigGeral::~TFConfigGeral() = default;

bool TFConfigGeral::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::MouseButtonRelease) {
        auto* imagem = static_cast<QWidget*>(objeto);
        const auto* clique = static_cast<QMouseEvent*>(evento);
        if (clique->button() == Qt::LeftButton && imagem->rect().contains(clique->position().toPoint()))
            ImgInterfaceClick(imagem->objectName().mid(3));
    }
    return QWidget::eventFilter(objeto, evento);
}

void TFConfigGeral::ImgInterfaceClick(const QString& nome) {
    if (!gravaAjuste(QStringLiteral("Interface"), nome)) return;
    UStatus::sInterface = nome;
    skinManager.setSkinName(nome);
}

void TFConfigGeral::RbHabilitaOFFLineClick() {
    if (gravaAjuste(QStringLiteral("TrataOFFLine"), QStringLiteral("Sim")))
        UStatus::sTrataOFFLine = QStringLiteral("Sim");
}

void TFConfigGeral::RbDesabilitaOFFLineClick() {
    if (gravaAjuste(QStringLiteral("TrataOFFLine"), QStringLiteral("Nao")))
        UStatus::sTrataOFFLine = QStringLiteral("Nao");
}

void TFConfigGeral::CbAutorizaComandoOFFLineClick() {
    const bool marcado = ui->CbAutorizaComandoOFFLine->isChecked();
    ui->RbHabilitaOFFLine->setEnabled(marcado);
    ui->RbDesabilitaOFFLine->setEnabled(marcado);
    const QString valor = marcado ? QStringLiteral("Sim") : QStringLiteral("Nao");
    if (gravaAjuste(QStringLiteral("EnviaComandoOFFLine"), valor)) UStatus::sEnviaComandoOFFline = valor;
}

void TFConfigGeral::RbTXTNotepadClick() {
    if (gravaAjuste(QStringLiteral("AbreTXT"), QStringLiteral("Notepad")))
        UStatus::sAbreTXT = QStringLiteral("Notepad");
}

void TFConfigGeral::RbTXTWordpadClick() {
    if (gravaAjuste(QStringLiteral("AbreTXT"), QStringLiteral("Wordpad")))
        UStatus::sAbreTXT = QStringLiteral("Wordpad");
}

void TFConfigGeral::BtAlterarCadastroClick() {
    const QString escolhida = platform::dialogs::chooseFolder(QStringLiteral("Selecionar Pasta"));
    if (escolhida.isEmpty()) return;
    // Kept like the default: without a trailing separator.
    const QString pasta = platform::paths::withoutSeparator(escolhida);
    if (gravaAjuste(QStringLiteral("Cadastro"), pasta)) UStatus::sPastaCadastro = pasta;
}

void TFConfigGeral::BtVerCadastroClick() { platform::shell::openFolder(UStatus::sPastaCadastro); }

void TFConfigGeral::BtPastaRelClick() {
    platform::shell::openFolder(UStatus::sPastaBase + QStringLiteral("Relatorios"));
}

void TFConfigGeral::BtRegistrarDllClick() {
    const QString script = UStatus::sPastaBase + platform::paths::scriptFile(QStringLiteral("Registra"));
    int codigo = 0;
    switch (platform::shell::runAndWait(script, {}, kEsperaRegistro, &codigo)) {
        case platform::shell::Wait::NotStarted:
            platform::dialogs::error(kTituloConfiguracao,
                                     QStringLiteral("Não Foi Possível Executar o Script de Registro:\r") + script);
            return;
        case platform::shell::Wait::TimedOut:
            platform::dialogs::error(
                kTituloConfiguracao,
                QStringLiteral("O Script de Registro Não Terminou em %1 Segundos:\r").arg(kEsperaRegistro / 1000) +
                    script);
            return;
        case platform::shell::Wait::Finished:
            if (codigo != 0) {
                platform::dialogs::error(
                    kTituloConfiguracao,
                    QStringLiteral("O Script de Registro Encontrou um Problema (código %1):\r").arg(codigo) + script +
                        QStringLiteral("\rExecute-o num terminal para ver o motivo."));
                return;
            }
            break;
    }
    platform::dialogs::information(kTituloConfiguracao, QStringLiteral("Registro de DLL ok!"));
}

void TFConfigGeral::BtVerificaVersaoClick() {
    QString pagina = ajustes().readString(kSecao, QStringLiteral("PaginaDownload")).trimmed();
    if (pagina.isEmpty()) pagina = UConfig::PaginaDownloadPadrao();
    if (!platform::shell::openUrl(pagina))
        platform::dialogs::information(QStringLiteral("REDUÇÃO"),
                                       QStringLiteral("Não Foi Possível Executar o Comando!\rAlguma Restrição do "
                                                      "Sistema operacional não Permitiu o Comando."));
}
