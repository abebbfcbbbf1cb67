// Shell actions: starting programs and opening files, folders and web
// pages.  Arguments always travel as a list; nothing the program hands over
// is ever parsed by a command interpreter.  While a Recorder is alive the
// actions are only recorded, for tests.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace platform::shell {

enum class Wait { NotStarted, Finished, TimedOut };

// Starts a program without waiting for it; false when it could not start.
bool startProgram(const QString& program, const QStringList& arguments);
// Starts a program and waits for it at most `timeoutMs`, repainting the
// windows meanwhile but taking no user input (timers hold their printer
// commands as while a box is open).  `exitCode` receives the
// program's exit code when it finished (-1 when it did not end by itself).
// The program runs on its own: when the wait times out it goes on, and it
// outlives this program.
Wait runAndWait(const QString& program, const QStringList& arguments, int timeoutMs, int* exitCode = nullptr);
// Opens a file in the desktop's default application; false when no program
// could be found for it (or the opener refused it at once).
bool openDocument(const QString& path);
bool openFolder(const QString& path);
bool openUrl(const QString& url);
// Full path of a program on the PATH; empty when there is none.
QString findProgram(const QString& name);

struct Call {
    QString action;  // "start", "wait", "document", "folder", "url"
    QString target;
    QStringList arguments;
};

class Recorder {
public:
    Recorder();
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    std::vector<Call> calls;
    bool result = true;                // what start/open report
    Wait waitResult = Wait::Finished;  // what runAndWait reports
    int exitCode = 0;                  // and the exit code it gives
    QStringList programsOnPath;        // what findProgram finds (by name)

    static Recorder* current();

private:
    Recorder* previous_;
};

}  // namespace platform::shell
