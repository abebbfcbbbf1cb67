// The USB driver installer asks for the administrator through pkexec: only
// for its own file, by its absolute path, and only when nobody but the
// administrator could have changed that file or put another in its place.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "auxiliares.h"
#include "pacote.h"

using pacote::Execucao;

namespace {

// Stand-ins on the PATH: `id` says the user is not root, `pkexec` writes
// down what it was asked to run and runs nothing.
void criaSubstitutos(const QString& pasta, const QString& registro) {
    grava(pasta + QStringLiteral("/id"),
          "#!/bin/sh\ncase \"$1\" in -u) echo 1000 ;; -un) echo maria ;; *) echo 'uid=1000(maria)' ;; esac\n");
    grava(pasta + QStringLiteral("/pkexec"),
          QByteArray("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '") + QFile::encodeName(registro) +
              "'\n");
    for (const char* nome : {"/id", "/pkexec"})
        QFile::setPermissions(pasta + QLatin1String(nome), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace

class InstaladorUsb : public PacoteExtraido {
protected:
    void SetUp() override {
        PacoteExtraido::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(fora_.isValid());
        criaSubstitutos(fora(QStringLiteral("bin")), registro());
        // Without them the installer, run by root, would change this machine.
        for (const char* nome : {"bin/id", "bin/pkexec"})
            ASSERT_TRUE(QFileInfo(fora(QLatin1String(nome))).isExecutable()) << nome;
    }
    QString fora(const QString& nome) const { return fora_.path() + QLatin1Char('/') + nome; }
    QString registro() const { return fora(QStringLiteral("pkexec.txt")); }
    Execucao roda(const QString& programa) const {
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PATH"), fora(QStringLiteral("bin:")) + env.value(QStringLiteral("PATH")));
        env.insert(QStringLiteral("USER"), QStringLiteral("maria"));
        env.remove(QStringLiteral("SUDO_USER"));
        return pacote::executa(programa, {QStringLiteral("0")}, env, fora_.path());
    }
    // The installer copied into `pasta` (made), owned by someone other than
    // root: the test's user, or nobody when the tests run as root.
    QString copiaDeOutroDono(const QString& pasta) const {
        QDir().mkpath(pasta);
        const QString copia = pasta + QStringLiteral("/USB_Driver");
        EXPECT_TRUE(QFile::copy(instalacao() + QStringLiteral("/USB_Driver"), copia));
        if (geteuid() == 0) {
            EXPECT_EQ(chown(QFile::encodeName(copia).constData(), 65534, 65534), 0);
            EXPECT_EQ(chown(QFile::encodeName(pasta).constData(), 65534, 65534), 0);
        }
        return copia;
    }

private:
    QTemporaryDir fora_;
};

TEST_F(InstaladorUsb, StartedThroughALinkItAsksForItsOwnRootOwnedPath) {
    const QString instalado = instalacao() + QStringLiteral("/USB_Driver");
    if (QFileInfo(instalado).ownerId() != 0)
        GTEST_SKIP() << "the package was unpacked by a user other than root, so its files are not root's";
    // The folders above the installation are the test's temporary ones; the
    // installer's own folder is what the package makes, root's.
    const QString link = fora(QStringLiteral("dados/USB_Driver"));
    QDir().mkpath(fora(QStringLiteral("dados")));
    ASSERT_TRUE(QFile::link(instalado, link));

    const Execucao e = roda(link);
    EXPECT_EQ(e.codigo, 0) << e.erros.toStdString();
    EXPECT_EQ(QString::fromUtf8(conteudo(registro())).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              QStringList({QStringLiteral("/usr/bin/env"), QStringLiteral("SUDO_USER=maria"),
                           QFileInfo(instalado).canonicalFilePath(), QStringLiteral("0")}));
}

TEST_F(InstaladorUsb, RefusesToAskForTheAdministratorForAFileOthersCouldChange) {
    // A copy of somebody else's, as one a user put in place of the link.
    const QString copia = copiaDeOutroDono(fora(QStringLiteral("alheia")));
    Execucao e = roda(copia);
    EXPECT_EQ(e.codigo, 1);
    EXPECT_TRUE(e.erros.contains(QFileInfo(copia).canonicalFilePath())) << e.erros.toStdString();
    EXPECT_TRUE(e.erros.contains(QLatin1String("execute como administrador"))) << e.erros.toStdString();
    EXPECT_FALSE(QFileInfo::exists(registro()));

    if (geteuid() != 0) return;  // only root can give a file to root
    // Root's file in a folder anybody may write: another file could take its place.
    const QString pasta = fora(QStringLiteral("aberta"));
    QDir().mkpath(pasta);
    const QString deRoot = pasta + QStringLiteral("/USB_Driver");
    ASSERT_TRUE(QFile::copy(instalacao() + QStringLiteral("/USB_Driver"), deRoot));
    ASSERT_TRUE(QFile::setPermissions(pasta, QFile::Permissions(0x7777)));
    e = roda(deRoot);
    EXPECT_EQ(e.codigo, 1);
    EXPECT_FALSE(QFileInfo::exists(registro()));
    // And root's file that its group may write.
    ASSERT_TRUE(QFile::setPermissions(
        pasta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    ASSERT_TRUE(QFile::setPermissions(deRoot, QFile::permissions(deRoot) | QFile::WriteGroup));
    e = roda(deRoot);
    EXPECT_EQ(e.codigo, 1);
    EXPECT_FALSE(QFileInfo::exists(registro()));
}
