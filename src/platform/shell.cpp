#include "shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform::shell {
namespace {

Recorder* gRecorder = nullptr;

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
    // The process object outlives a wait that times out: the installer goes on
    // by itself and the object goes away when it ends.
    auto* process = new QProcess(QCoreApplication::instance());
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(program, arguments);
    if (!process->waitForStarted(5000)) {
        delete process;
        return Wait::NotStarted;
    }
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        if (process->waitForFinished(20) || process->state() == QProcess::NotRunning) {
            if (exitCode) *exitCode = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
            return Wait::Finished;
        }
        if (elapsed.elapsed() >= timeoutMs) return Wait::TimedOut;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    }
}

bool openDocument(const QString& path) {
    if (gRecorder) return record(QStringLiteral("document"), path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool openFolder(const QString& path) {
    if (gRecorder) return record(QStringLiteral("folder"), path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool openUrl(const QString& url) {
    if (gRecorder) return record(QStringLiteral("url"), url);
    return QDesktopServices::openUrl(QUrl(url));
}

QString findProgram(const QString& name) {
    if (gRecorder) return gRecorder->programsOnPath.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
    return QStandardPaths::findExecutable(name);
}

}  // namespace platform::shell
