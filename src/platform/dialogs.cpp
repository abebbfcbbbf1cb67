#include "dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "captions.h"

namespace platform::dialogs {
namespace {

using captions::shown;

Script* gScript = nullptr;
int gOpen = 0;

QWidget* owner() { return QApplication::activeWindow(); }

void messageBox(QMessageBox::Icon icon, const QString& title, const QString& text) {
    QMessageBox box(icon, title, shown(text), QMessageBox::Ok, owner());
    box.exec();
}

}  // namespace

QString applicationTitle() { return QStringLiteral("Zentora 3.0"); }

bool anyOpen() { return gOpen > 0 || QApplication::activeModalWidget() != nullptr; }

Open::Open() { ++gOpen; }
Open::~Open() { --gOpen; }

void information(const QString& title, const QString& text) {
    Open open;
    if (gScript) {
        gScript->handle({Kind::Information, title, text, {QStringLiteral("OK")}});
        return;
    }
    messageBox(QMessageBox::Information, title, text);
}

bool question(const QString& title, const QString& text, Default preferred) {
    Open open;
    const bool defaultNo = preferred == Default::No;
    if (gScript)
        return gScript->handle({Kind::Question, title, text, {QStringLiteral("Yes"), QStringLiteral("No")}, defaultNo})
            .accepted;
    QMessageBox box(QMessageBox::Question, title, shown(text), QMessageBox::NoButton, owner());
    QPushButton* sim = box.addButton(QStringLiteral("Sim"), QMessageBox::YesRole);
    QPushButton* nao = box.addButton(QStringLiteral("Não"), QMessageBox::NoRole);
    if (defaultNo) box.setDefaultButton(nao);
    box.exec();
    return box.clickedButton() == sim;
}

void error(const QString& title, const QString& text) {
    Open open;
    if (gScript) {
        gScript->handle({Kind::Error, title, text, {QStringLiteral("OK")}});
        return;
    }
    messageBox(QMessageBox::Critical, title, text);
}

void plain(const QString& text) {
    Open open;
    if (gScript) {
        gScript->handle({Kind::Plain, applicationTitle(), text, {QStringLiteral("OK")}});
        return;
    }
    messageBox(QMessageBox::NoIcon, applicationTitle(), text);
}

QString input(const QString& title, const QString& prompt, const QString& initial) {
    Open open;
    if (gScript) {
        const auto a = gScript->handle({Kind::Input, title, prompt, {QStringLiteral("OK"), QStringLiteral("Cancel")}});
        return a.accepted ? a.text : QString();
    }
    bool ok = false;
    const QString typed = QInputDialog::getText(owner(), title, shown(prompt), QLineEdit::Normal, initial, &ok);
    return ok ? typed : QString();
}

QString password(const QString& title, const QString& prompt) {
    if (gScript) {
        const auto a =
            gScript->handle({Kind::Password, title, prompt, {QStringLiteral("OK"), QStringLiteral("Cancel")}});
        return a.accepted ? a.text : QString();
    }
    bool ok = false;
    const QString typed = QInputDialog::getText(owner(), title, shown(prompt), QLineEdit::Password, QString(), &ok);
    return ok ? typed : QString();
}

QString chooseFolder(const QString& caption) {
    Open open;
    if (gScript) {
        const auto a =
            gScript->handle({Kind::Folder, caption, QString(), {QStringLiteral("OK"), QStringLiteral("Cancel")}});
        return a.accepted ? a.text : QString();
    }
    return QFileDialog::getExistingDirectory(owner(), caption, QString(), QFileDialog::ShowDirsOnly);
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
    QFileDialog dialog(owner(), title, initialDir, qtFilter(filter));
    dialog.setAcceptMode(mode_ == Mode::Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(mode_ == Mode::Open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // The question is the program's own, in its language (execute).
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(defaultExt);
    if (!fileName.isEmpty()) dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    fileName = dialog.selectedFiles().constFirst();
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
