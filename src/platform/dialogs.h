// Every message box, question, input box and file or folder dialog of the
// program goes through here.  While a Script is alive nothing is shown: the
// boxes are recorded (kind, title, text, buttons) and answered from the
// script, so tests drive whole windows without a person at the keyboard.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace platform::dialogs {

enum class Kind { Information, Question, Error, Plain, Input, OpenFile, SaveFile, Folder, Password };

struct Record {
    Kind kind;
    QString title;
    QString text;
    QStringList buttons;
    // A question whose Enter key answers No.
    bool defaultNo = false;
};

// The application's title, used by plain messages.
QString applicationTitle();

// True while a box or dialog of the program is open (a scripted one while
// its whileOpen hook runs) or a window of the program is open modally.
// Timers that send commands to the printer wait while it holds.
bool anyOpen();

// Counts as an open box for as long as it lives.  Every box and dialog here
// holds one; so does a handler that lets the event loop run while it waits
// for a long library call, so that timers hold their commands meanwhile.
class Open {
public:
    Open();
    ~Open();
    Open(const Open&) = delete;
    Open& operator=(const Open&) = delete;
};

// OK button, information icon.
void information(const QString& title, const QString& text);
// Yes and No buttons, question icon; true only on Yes.  A question whose Yes
// cannot be undone has No as its default button.
enum class Default { Yes, No };
bool question(const QString& title, const QString& text, Default preferred = Default::Yes);
// OK button, error icon.
void error(const QString& title, const QString& text);
// The application's title, OK button, no icon.
void plain(const QString& text);
// OK and Cancel, the typed text shown in clear; Cancel gives the empty text.
QString input(const QString& title, const QString& prompt, const QString& initial);
// OK and Cancel, empty at first, the typed text echoed as a password field;
// Cancel gives the empty text.
QString password(const QString& title, const QString& prompt);
// The system's folder browser; empty when cancelled.
QString chooseFolder(const QString& caption);

// A file dialog whose properties callers set before each use, as the shared
// save and open dialogs of the status window are used.  The filter is a list
// of description and pattern pairs separated by '|': "Arquivo NTF|*.ntf".
class FileDialog {
public:
    enum class Mode { Open, Save };
    explicit FileDialog(Mode mode) : mode_(mode) {}

    QString title;
    QString initialDir;
    QString fileName;
    QString defaultExt;
    QString filter;

    // Shows the dialog; true when a file was chosen (then in fileName).  A
    // save dialog asks before replacing an existing file (default No); No
    // counts as cancelled.
    bool execute();
    Mode mode() const { return mode_; }

private:
    bool choose();
    Mode mode_;
};

// What shows the boxes when no script answers them: the real boxes of a
// windowed program (widget_dialogs.h), or a terminal's.  Without one, boxes
// that inform go to the standard error output and questions get No.
class Backend {
public:
    virtual ~Backend();
    // Information, Error or Plain.
    virtual void message(Kind kind, const QString& title, const QString& text) = 0;
    virtual bool question(const QString& title, const QString& text, bool defaultNo) = 0;
    // The typed text; empty when cancelled.
    virtual QString input(const QString& title, const QString& prompt, const QString& initial, bool password) = 0;
    virtual QString chooseFolder(const QString& caption) = 0;
    // The file chosen in `dialog` (its properties as the caller set them);
    // nothing when cancelled.
    virtual std::optional<QString> chooseFile(const FileDialog& dialog) = 0;
    // True while a window of the program is open modally.
    virtual bool modalOpen() const { return false; }
};

// The backend from now on (not owned; null for none).
void setBackend(Backend* backend);

// "Arquivo NTF|*.ntf|Arquivo MF|*.mf" as Qt's "Arquivo NTF (*.ntf);;Arquivo MF (*.mf)".
QString qtFilter(const QString& filter);

// Answers for the boxes that a test expects, and the record of every box.
// A script is kept to account: a box that wants an answer when none is left
// gets No / Cancel and is kept as unanswered, and a script that ends with
// answers unused or boxes unanswered hands a description of each to the
// script it replaced (its leftovers), so the outermost script, which the
// test harness holds, sees every test's.
class Script {
public:
    Script();
    ~Script();
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;

    Script& yes();
    Script& no();
    // Answer to an input box, or the file or folder a dialog returns.
    Script& text(const QString& answer);
    // Cancels an input box or a file or folder dialog.
    Script& cancel();

    const std::vector<Record>& records() const { return records_; }
    // Records since the last call, then forgets them.
    std::vector<Record> take();
    // Answers not yet used.
    size_t pending() const { return answers_.size(); }
    // Boxes that wanted an answer when none was left, then forgets them.
    std::vector<Record> takeUnanswered();
    // What the scripts that ended while this one was current left over, then
    // forgets it.
    QStringList takeLeftovers();
    // Runs while each box is "open" (after it is recorded, before it is answered).
    void whileOpen(std::function<void(const Record&)> hook) { hook_ = std::move(hook); }

    // Used by the dialogs: records the box and gives the next answer.
    struct Answer {
        bool accepted = false;
        QString text;
    };
    Answer handle(const Record& record);

    static Script* current();

private:
    std::deque<Answer> answers_;
    std::vector<Record> records_;
    std::vector<Record> unanswered_;
    QStringList leftovers_;
    std::function<void(const Record&)> hook_;
    Script* previous_;
};

// Shows the real boxes while it lives, even while a script is current: for
// the tests of the boxes themselves.
class Unscripted {
public:
    Unscripted();
    ~Unscripted();
    Unscripted(const Unscripted&) = delete;
    Unscripted& operator=(const Unscripted&) = delete;

private:
    Script* script_;
};

}  // namespace platform::dialogs
