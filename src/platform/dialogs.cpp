#include "dialogs.h"

#include <QFileInfo>
#include <cstdio>

namespace platform::dialogs {
namespace {

Script* gScript = nullptr;
Backend* gBackend = nullptr;
int gOpen = 0;

}  // namespace

Backend::~Backend() = default;

namespace {

// A box that only informs: the backend's, or, without one, a line on the
// standard error output.
void show(Kind kind, const QString& title, const QString& text) {
    if (gBackend) return gBackend->message(kind, title, text);
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(title), qUtf8Printable(text));
}

}  // namespace

void setBackend(Backend* backend) { gBackend = backend; }

QString applicationTitle() { return QStringLiteral("Zentora 3.0"); }

bool anyOpen() { return gOpen > 0 || (gBackend && gBackend->modalOpen()); }

Open::Open() { ++gOpen; }
Open::~Open() { --gOpen; }

void information(const QString& title, const QString& text) {
    Open open;
    if (gScript) {
        gScript->handle({Kind::Information, title, text, {QStringLiteral("OK")}});
        return;
    }
    show(Kind::Information, title, text);
}

bool question(const QString& title, const QString& text, Default preferred) {
    Open open;
    const bool defaultNo = preferred == Default::No;
    if (gScript)
        return gScript->handle({Kind::Question, title, text, {QStringLiteral("Yes"), QStringLiteral("No")}, defaultNo})
            .accepted;
    return gBackend && gBackend->question(title, text, defaultNo);
}

void error(const QString& title, const QString& text) {
    Open open;
    if (gScript) {
        gScript->handle({Kind::Error, title, text, {QStringLiteral("OK")}});
        return;
    }
    show(Kind::Error, title, text);
}

void plain(const QString& text) {
    Open open;
    if (gScript) {
        gScript->handle({Kind::Plain, applicationTitle(), text, {QStringLiteral("OK")}});
        return;
    }
    show(Kind::Plain, applicationTitle(), text);
}

QString input(const QString& title, const QString& prompt, const QString& initial) {
    Open open;
    if (gScript) {
        const auto a = gScript->handle({Kind::Input, title, prompt, {QStringLiteral("OK"), QStringLiteral("Cancel")}});
        return a.accepted ? a.text : QString();
    }
    return gBackend ? gBackend->input(title, prompt, initial, false) : QString();
}

QString password(const QString& title, const QString& prompt) {
    if (gScript) {
        const auto a =
            gScript->handle({Kind::Password, title, prompt, {QStringLiteral("OK"), QStringLiteral("Cancel")}});
        return a.accepted ? a.text : QString();
    }
    return gBackend ? gBackend->input(title, prompt, QString(), true) : QString();
}

QString chooseFolder(const QString& caption) {
    Open open;
    if (gScript) {
        const auto a =
            gScript->handle({Kind::Folder, caption, QString(), {QStringLiteral("OK"), QStringLiteral("Cancel")}});
        return a.accepted ? a.text : QString();
    }
    return gBackend ? gBackend->chooseFolder(caption) : QString();
}

QString qtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        out << QStringLiteral("%1 (%2)").arg(parts[i],
                                             QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')));
    return out.join(QStringLiteral(";;"));
}

bool FileDialog::execute() {
    if (!choose()) return false;
    if (mode_ == Mode::Open || !QFileInfo::exists(fileName)) return true;
    return question(title.isEmpty() ? applicationTitle() : title,
                    QStringLiteral("O Arquivo\r%1\rJá Existe. Deseja Substituí-lo?").arg(fileName), Default::No);
}

bool FileDialog::choose() {
    Open open;
    const Kind kind = mode_ == Mode::Open ? Kind::OpenFile : Kind::SaveFile;
    if (gScript) {
        const auto a = gScript->handle({kind, title, initialDir, {QStringLiteral("OK"), QStringLiteral("Cancel")}});
        if (!a.accepted || a.text.isEmpty()) return false;
        fileName = a.text;
        return true;
    }
    if (!gBackend) return false;
    const std::optional<QString> chosen = gBackend->chooseFile(*this);
    if (!chosen || chosen->isEmpty()) return false;
    fileName = *chosen;
    return true;
}

Script::Script() : previous_(gScript) { gScript = this; }

Script::~Script() {
    gScript = previous_;
    if (!previous_) return;
    previous_->leftovers_ += leftovers_;
    for (const Record& r : unanswered_)
        previous_->leftovers_ << QStringLiteral("no answer scripted for the box \"%1\": %2").arg(r.title, r.text);
    for (const Answer& a : answers_)
        previous_->leftovers_ << (a.text.isEmpty() ? QStringLiteral("scripted answer %1 never used")
                                                         .arg(a.accepted ? QStringLiteral("Yes / OK")
                                                                         : QStringLiteral("No / Cancel"))
                                                   : QStringLiteral("scripted answer \"%1\" never used").arg(a.text));
}

Script* Script::current() { return gScript; }

Script& Script::yes() {
    answers_.push_back({true, {}});
    return *this;
}
Script& Script::no() {
    answers_.push_back({false, {}});
    return *this;
}
Script& Script::text(const QString& answer) {
    answers_.push_back({true, answer});
    return *this;
}
Script& Script::cancel() { return no(); }

std::vector<Record> Script::take() {
    std::vector<Record> out;
    out.swap(records_);
    return out;
}

std::vector<Record> Script::takeUnanswered() {
    std::vector<Record> out;
    out.swap(unanswered_);
    return out;
}

QStringList Script::takeLeftovers() {
    QStringList out;
    out.swap(leftovers_);
    return out;
}

Script::Answer Script::handle(const Record& record) {
    records_.push_back(record);
    if (hook_) hook_(record);
    const bool needsAnswer = record.kind == Kind::Question || record.kind == Kind::Input ||
                             record.kind == Kind::Password || record.kind == Kind::OpenFile ||
                             record.kind == Kind::SaveFile || record.kind == Kind::Folder;
    if (!needsAnswer) return {true, {}};
    if (answers_.empty()) {  // nobody answered: No / Cancel
        unanswered_.push_back(record);
        return {false, {}};
    }
    Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

Unscripted::Unscripted() : script_(gScript) { gScript = nullptr; }
Unscripted::~Unscripted() { gScript = script_; }

}  // namespace platform::dialogs
