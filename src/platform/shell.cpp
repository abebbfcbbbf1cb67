#include "shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>
#include <optional>
#include <vector>

#include "codepage.h"
#include "dialogs.h"

#if defined(Q_OS_WIN)
#include <windows.h>
#else
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>
#endif

namespace platform::shell {
namespace {

Recorder* gRecorder = nullptr;

#if defined(Q_OS_WIN)

// A program started on its own, as the shell starts it: ending this program
// leaves it running.
class Started {
public:
    Started(bool started, HANDLE process) : started_(started), process_(process) {}
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;
    ~Started() { release(); }

    bool running() const { return started_; }
    // Its exit code once it has ended (-1 when it ended before it could be followed).
    std::optional<int> exitCode() {
        if (!process_) return -1;
        if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) return std::nullopt;
        DWORD code = 0;
        return GetExitCodeProcess(process_, &code) ? int(code) : -1;
    }
    // Stops following it; it goes on by itself.
    void release() {
        if (process_) CloseHandle(process_);
        process_ = nullptr;
    }

private:
    bool started_;
    HANDLE process_;
};

Started start(const QString& program, const QStringList& arguments) {
    qint64 pid = 0;
    if (!QProcess::startDetached(program, arguments, QString(), &pid)) return Started(false, nullptr);
    return Started(true, OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid)));
}

#else

// A program started on its own session, as the shell starts it: ending this
// program leaves it running, and a program it no longer follows is reaped
// when it ends.
class Started {
public:
    explicit Started(pid_t pid) : pid_(pid) {}
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;
    ~Started() { release(); }

    bool running() const { return pid_ > 0; }
    // Its exit code once it has ended (-1 when a signal ended it).
    std::optional<int> exitCode() {
        int status = 0;
        pid_t r;
        do r = ::waitpid(pid_, &status, WNOHANG);
        while (r < 0 && errno == EINTR);
        if (r == 0) return std::nullopt;
        pid_ = 0;
        return (r > 0 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
    }
    // Stops following it; it goes on by itself.
    void release() {
        if (pid_ <= 0) return;
        std::thread([pid = pid_] {
            while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }).detach();
        pid_ = 0;
    }

private:
    pid_t pid_;
};

Started start(const QString& program, const QStringList& arguments) {
    std::vector<QByteArray> texts{QFile::encodeName(program)};
    for (const QString& a : arguments) texts.push_back(toSystemCodePage(a));
    std::vector<char*> argv;
    for (QByteArray& t : texts) argv.push_back(t.data());
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    return Started(error == 0 ? pid : 0);
}

#endif

// Follows a started program for at most `timeoutMs`, repainting the windows
// meanwhile but taking no user input; timers that talk to the printer hold
// their commands as while a box is open.
Wait follow(Started& started, int timeoutMs, int* exitCode) {
    const dialogs::Open open;
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        if (const auto code = started.exitCode()) {
            if (exitCode) *exitCode = *code;
            return Wait::Finished;
        }
        if (elapsed.elapsed() >= timeoutMs) {
            started.release();
            return Wait::TimedOut;
        }
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(10);
    }
}

// How long the desktop's opener is followed: one that fails (nothing on this
// machine opens that kind of file, or the file is gone) says so at once; one
// still running has handed the file to its program, which may keep it.
constexpr int kOpenerCheck = 1000;

// Hands a file, folder or page to the desktop's opener; false when there is
// none, or when it refused at once.
bool openWithDesktop(const QUrl& url) {
#if !defined(Q_OS_WIN)
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty()) {
        Started started = start(opener, {url.isLocalFile() ? url.toLocalFile() : url.toString()});
        if (!started.running()) return false;
        int code = 0;
        return follow(started, kOpenerCheck, &code) == Wait::TimedOut || code == 0;
    }
#endif
    return QDesktopServices::openUrl(url);
}

bool record(const QString& action, const QString& target, const QStringList& arguments = {}) {
    gRecorder->calls.push_back({action, target, arguments});
    return gRecorder->result;
}

}  // namespace

Recorder::Recorder() : previous_(gRecorder) { gRecorder = this; }
Recorder::~Recorder() { gRecorder = previous_; }
Recorder* Recorder::current() { return gRecorder; }

bool startProgram(const QString& program, const QStringList& arguments) {
    if (gRecorder) return record(QStringLiteral("start"), program, arguments);
    return QProcess::startDetached(program, arguments);
}

Wait runAndWait(const QString& program, const QStringList& arguments, int timeoutMs, int* exitCode) {
    if (gRecorder) {
        record(QStringLiteral("wait"), program, arguments);
        if (exitCode) *exitCode = gRecorder->exitCode;
        return gRecorder->waitResult;
    }
    Started started = start(program, arguments);
    if (!started.running()) return Wait::NotStarted;
    return follow(started, timeoutMs, exitCode);
}

bool openDocument(const QString& path) {
    if (gRecorder) return record(QStringLiteral("document"), path);
    return openWithDesktop(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool openFolder(const QString& path) {
    if (gRecorder) return record(QStringLiteral("folder"), path);
    return openWithDesktop(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool openUrl(const QString& url) {
    if (gRecorder) return record(QStringLiteral("url"), url);
    return openWithDesktop(QUrl(url));
}

QString findProgram(const QString& name) {
    if (gRecorder) return gRecorder->programsOnPath.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
    return QStandardPaths::findExecutable(name);
}

}  // namespace platform::shell
