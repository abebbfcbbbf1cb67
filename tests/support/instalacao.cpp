#include "instalacao.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include "kesafi_virtual.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "printer/ustatus.h"

namespace {

void copiaArvore(const QString& origem, const QString& destino) {
    QDir().mkpath(destino);
    QDirIterator it(origem, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    while (it.hasNext()) {
        const QString caminho = it.next();
        const QFileInfo info = it.fileInfo();
        const QString alvo = destino + QLatin1Char('/') + info.fileName();
        if (info.isDir())
            copiaArvore(caminho, alvo);
        else
            QFile::copy(caminho, alvo);
    }
}

}  // namespace

void Instalacao::SetUp() {
    dir_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(dir_->isValid());
    raiz_ = subpasta().isEmpty() ? dir_->path() : dir_->path() + QLatin1Char('/') + subpasta();
    QDir().mkpath(raiz_);
    const QString base = QStringLiteral(ZENTORA_INSTALL_DIR);
    for (const QString& item :
         {QStringLiteral("Skins"), QStringLiteral("Ajuda"), QStringLiteral("Relatorios"), QStringLiteral("Cadastro")})
        copiaArvore(base + QLatin1Char('/') + item, raiz_ + QLatin1Char('/') + item);
    for (const QString& item : {QStringLiteral("Modelo.ntf"), QStringLiteral("usb.bmp"), QStringLiteral("serial.bmp"),
                                QStringLiteral("USB_Driver")})
        QFile::copy(base + QLatin1Char('/') + item, raiz_ + QLatin1Char('/') + item);
    QDir().mkpath(raiz_ + QStringLiteral("/Relatorios"));
    QDir().mkpath(raiz_ + QStringLiteral("/Cadastro/Modelos"));

    platform::paths::setExecutableFolder(raiz_);
    UStatus::ReiniciaGlobais();
    KesafiVirtual_DefinePastaBase(QFile::encodeName(pasta()).constData());
}

void Instalacao::TearDown() {
    janelas_.reset();
    KesafiVirtual_Liga(1);
    KesafiVirtual_LimpaForcados();
    KesafiVirtual_DefinePastaBase(nullptr);
    platform::paths::setExecutableFolder(QString());
    platform::clock::release();
    dir_.reset();
}

QString Instalacao::pasta() const { return platform::paths::withSeparator(raiz_); }

QString Instalacao::leIni(const QString& secao, const QString& chave) const {
    return platform::Profile(ini()).readString(secao, chave);
}

void Instalacao::gravaIni(const QString& secao, const QString& chave, const QString& valor) const {
    ASSERT_TRUE(platform::Profile(ini()).writeString(secao, chave, valor));
}

void Instalacao::criaImpressora(const QString& porta, int semente) {
    ASSERT_EQ(KesafiVirtual_CriaImpressora(nullptr, semente), 1);
    ASSERT_EQ(KesafiVirtual_Conecta(porta.toLatin1().constData()), 1);
}

void Instalacao::abrePorta(const QString& porta) {
    gravaIni(QStringLiteral("Sistema"), QStringLiteral("Porta"), porta);
    Kestrona_FI_SelecionaIniLocal();
    Kestrona_FI_ReloadINIFile();
    ASSERT_EQ(Kestrona_FI_AbrePortaSerial(), 1);
}

void Instalacao::criaJanelas(bool mostra) {
    janelas_.reset();  // a second call restarts the program: the old windows go first
    janelas_ = std::make_unique<uZentora3::Janelas>();
    if (mostra) uZentora3::Fprincipal->show();
}

std::string descreve(const platform::dialogs::Record& caixa) {
    static const char* const kinds[] = {"Information", "Question", "Error",  "Plain",   "Input",
                                        "OpenFile",    "SaveFile", "Folder", "Password"};
    return std::string(kinds[int(caixa.kind)]) + " " + caixa.title.toStdString() + ": " + caixa.text.toStdString();
}
