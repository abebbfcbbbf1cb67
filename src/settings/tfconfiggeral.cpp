#include "tfconfiggeral.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QSignalBlocker>
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

printer::JanelaSobDemanda<TFConfigGeral> FConfigGeral;

const QStringList& Interfaces() {
    static const QStringList nomes = {
        QStringLiteral("Acryl"),    QStringLiteral("Aluminium"), QStringLiteral("DarkGlass"), QStringLiteral("Elegant"),
        QStringLiteral("Ledenets"), QStringLiteral("MacMetal"),  QStringLiteral("TheFrog"),   QStringLiteral("Web2")};
    return nomes;
}

QString PaginaDownloadPadrao() { return QStringLiteral("https://zentora.example.org/download"); }

SkinManager& Skins() {
    static SkinManager skins;
    return skins;
}

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

namespace UConfig {

void GravaAbreTXT(const QString& valor) {
    if (gravaAjuste(QStringLiteral("AbreTXT"), valor)) UStatus::sAbreTXT = valor;
}

void GravaEnviaComandoOFFline(const QString& valor) {
    if (gravaAjuste(QStringLiteral("EnviaComandoOFFLine"), valor)) UStatus::sEnviaComandoOFFline = valor;
}

void GravaTrataOFFLine(const QString& valor) {
    if (gravaAjuste(QStringLiteral("TrataOFFLine"), valor)) UStatus::sTrataOFFLine = valor;
}

}  // namespace UConfig

TFConfigGeral::TFConfigGeral(QWidget* parent)
    : QWidget(parent), skinManager(UConfig::Skins()), ui(std::make_unique<Ui::TFConfigGeral>()) {
    ui->setupUi(this);
    printer::preparaJanela(this, Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    printer::instalaAjuda(this);

    // Each picture shows its own skin alone: the skin in force, which every
    // widget takes, steps aside while they are drawn.
    const QString emVigor = qApp->styleSheet();
    if (!emVigor.isEmpty()) qApp->setStyleSheet(QString());
    const QString pastaSkins = platform::paths::executableFolder() + QStringLiteral("Skins");
    for (const QString& nome : UConfig::Interfaces()) {
        auto* imagem = findChild<QLabel*>(QStringLiteral("Img") + nome);
        imagem->setPixmap(UConfig::PreviaDaInterface(nome, folhaDaInterface(pastaSkins, nome),
                                                     imagem->contentsRect().size(), devicePixelRatioF()));
        imagem->installEventFilter(this);
        imagem->setAccessibleName(QStringLiteral("Interface ") + nome);
    }
    if (!emVigor.isEmpty()) qApp->setStyleSheet(emVigor);

    const std::pair<QToolButton*, QStyle::StandardPixmap> figuras[] = {
        {ui->BtAlterarCadastro, QStyle::SP_FileDialogNewFolder},
        {ui->BtVerCadastro, QStyle::SP_DirOpenIcon},
        {ui->BtPastaRel, QStyle::SP_FileDialogContentsView},
        {ui->BtRegistrarDll, QStyle::SP_DialogApplyButton},
        {ui->BtVerificaVersao, QStyle::SP_ArrowDown}};
    for (const auto& [botao, figura] : figuras) botao->setIcon(style()->standardIcon(figura));

    MostraAjustes();
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

void TFConfigGeral::MostraAjustes() {
    const QSignalBlocker b1(ui->RbTXTNotepad), b2(ui->RbTXTWordpad), b3(ui->CbAutorizaComandoOFFLine),
        b4(ui->RbHabilitaOFFLine), b5(ui->RbDesabilitaOFFLine);
    using UStatus::sAbreTXT, UStatus::sEnviaComandoOFFline, UStatus::sTrataOFFLine;
    if (!sAbreTXT.isEmpty())
        (sAbreTXT == QLatin1String("Notepad") ? ui->RbTXTNotepad : ui->RbTXTWordpad)->setChecked(true);
    const bool envia = sEnviaComandoOFFline == QLatin1String("Sim");
    ui->CbAutorizaComandoOFFLine->setChecked(envia);
    ui->RbHabilitaOFFLine->setEnabled(envia);
    ui->RbDesabilitaOFFLine->setEnabled(envia);
    if (!sTrataOFFLine.isEmpty())
        (sTrataOFFLine == QLatin1String("Sim") ? ui->RbHabilitaOFFLine : ui->RbDesabilitaOFFLine)->setChecked(true);
}

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

void TFConfigGeral::RbHabilitaOFFLineClick() { UConfig::GravaTrataOFFLine(QStringLiteral("Sim")); }

void TFConfigGeral::RbDesabilitaOFFLineClick() { UConfig::GravaTrataOFFLine(QStringLiteral("Nao")); }

void TFConfigGeral::CbAutorizaComandoOFFLineClick() {
    const bool marcado = ui->CbAutorizaComandoOFFLine->isChecked();
    ui->RbHabilitaOFFLine->setEnabled(marcado);
    ui->RbDesabilitaOFFLine->setEnabled(marcado);
    UConfig::GravaEnviaComandoOFFline(marcado ? QStringLiteral("Sim") : QStringLiteral("Nao"));
}

void TFConfigGeral::RbTXTNotepadClick() { UConfig::GravaAbreTXT(QStringLiteral("Notepad")); }

void TFConfigGeral::RbTXTWordpadClick() { UConfig::GravaAbreTXT(QStringLiteral("Wordpad")); }

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
