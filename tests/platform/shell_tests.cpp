// Programs started and waited for, as the driver installation starts its
// installer: run for real, held on a named pipe until the test lets them go.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "platform/shell.h"

namespace shell = platform::shell;

namespace {

class Instalador : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(::mkfifo(QFile::encodeName(cano()).constData(), 0600), 0);
        // Waits for a line on the pipe, writes it down with its process id
        // and ends with code 7.
        QFile script(programa());
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nread linha < \"$1\"\necho \"$linha $$\" > \"$2\"\nexit 7\n");
        script.close();
        ASSERT_TRUE(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    QString programa() const { return dir.filePath(QStringLiteral("USB_Driver")); }
    QString cano() const { return dir.filePath(QStringLiteral("cano")); }
    QString marca() const { return dir.filePath(QStringLiteral("marca")); }
    QStringList argumentos() const { return {cano(), marca()}; }

    // Hands the program its line once it is waiting on the pipe; false while
    // nobody reads it.
    bool solta() const {
        const int fd = ::open(QFile::encodeName(cano()).constData(), O_WRONLY | O_NONBLOCK);
        if (fd < 0) return false;
        const bool escrito = ::write(fd, "feito\n", 6) == 6;
        ::close(fd);
        return escrito;
    }
    // The line the program wrote down ("feito"), empty before it did.
    QByteArray marcado() const {
        QFile f(marca());
        if (!f.open(QIODevice::ReadOnly)) return {};
        const QByteArray linha = f.readAll();
        return linha.endsWith('\n') ? linha.left(linha.indexOf(' ')) : QByteArray();
    }
    pid_t processo() const {
        QFile f(marca());
        return f.open(QIODevice::ReadOnly) ? pid_t(f.readAll().split(' ').value(1).trimmed().toInt()) : 0;
    }

    QTemporaryDir dir;
};

}  // namespace

TEST_F(Instalador, AProgramEndingWhileTheWaitRepaintsTheWindowsGivesItsExitCode) {
    // The program is let go, and ends, inside the wait's processing of events.
    QTimer soltura;
    soltura.setInterval(1);
    QObject::connect(&soltura, &QTimer::timeout, [&] {
        if (!solta()) return;
        soltura.stop();
        while (marcado().isEmpty()) QThread::yieldCurrentThread();
        siginfo_t info{};
        ::waitid(P_PID, id_t(processo()), &info, WEXITED | WNOWAIT);  // ended, still to be reaped
    });
    soltura.start();
    int codigo = -1;
    EXPECT_EQ(shell::runAndWait(programa(), argumentos(), 10000, &codigo), shell::Wait::Finished);
    EXPECT_EQ(codigo, 7);
    EXPECT_EQ(marcado(), QByteArray("feito"));
}

TEST_F(Instalador, AWaitThatTimesOutLeavesTheProgramRunning) {
    int codigo = -1;
    EXPECT_EQ(shell::runAndWait(programa(), argumentos(), 0, &codigo), shell::Wait::TimedOut);
    ASSERT_TRUE(QTest::qWaitFor([&] { return solta(); }, 10000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return marcado() == "feito"; }, 10000));
}

TEST_F(Instalador, AProgramStillRunningOutlivesTheProgramThatStartedIt) {
    QProcess programa;
    programa.start(QStringLiteral(ZENTORA_SAI_DURANTE_INSTALACAO), QStringList{this->programa()} + argumentos());
    ASSERT_TRUE(programa.waitForFinished(10000));
    ASSERT_EQ(programa.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(programa.exitCode(), 0);
    // The installer is still there, waiting for its line.
    ASSERT_TRUE(QTest::qWaitFor([&] { return solta(); }, 10000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return marcado() == "feito"; }, 10000));
}

namespace {

// The desktop's opener as the machine has it: a stand-in `xdg-open` alone on
// the PATH, ending with a given code and writing down what it was handed.
class Abridor : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path_ = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir.path()));
    }
    void TearDown() override { qputenv("PATH", path_); }

    void instala(int codigo) {
        QFile script(dir.filePath(QStringLiteral("xdg-open")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s' \"$1\" > '" + QFile::encodeName(marca()) + "'\nexit " +
                     QByteArray::number(codigo) + "\n");
        script.close();
        ASSERT_TRUE(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    QString marca() const { return dir.filePath(QStringLiteral("aberto")); }
    QByteArray aberto() const {
        QFile f(marca());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;

private:
    QByteArray path_;
};

}  // namespace

TEST_F(Abridor, AFileIsHandedToTheDesktopsOpener) {
    instala(0);
    const QString pagina = dir.filePath(QStringLiteral("Ajuda/index.html"));
    EXPECT_TRUE(shell::openDocument(pagina));
    EXPECT_EQ(aberto(), QFile::encodeName(pagina));
    EXPECT_TRUE(shell::openFolder(dir.path()));
}

TEST_F(Abridor, AnOpenerThatFindsNothingToOpenItWithFailsTheCall) {
    instala(3);  // what it says when no program on the machine takes the file
    EXPECT_FALSE(shell::openDocument(dir.filePath(QStringLiteral("Relatorios/leitura.txt"))));
    EXPECT_FALSE(shell::openUrl(QStringLiteral("https://exemplo.invalid/")));
}

TEST_F(Abridor, NoOpenerAtAllFailsTheCall) {
    EXPECT_FALSE(shell::openDocument(dir.filePath(QStringLiteral("Ajuda/index.html"))));
    EXPECT_FALSE(shell::openFolder(dir.path()));
}
