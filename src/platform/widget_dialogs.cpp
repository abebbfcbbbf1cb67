#include "widget_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "captions.h"
#include "dialogs.h"

namespace platform::dialogs {
namespace {

using captions::shown;

QWidget* owner() { return QApplication::activeWindow(); }

class WidgetBackend final : public Backend {
public:
    void message(Kind kind, const QString& title, const QString& text) override {
        const QMessageBox::Icon icon = kind == Kind::Information ? QMessageBox::Information
                                       : kind == Kind::Error     ? QMessageBox::Critical
                                                                 : QMessageBox::NoIcon;
        QMessageBox box(icon, title, shown(text), QMessageBox::Ok, owner());
        box.exec();
    }

    bool question(const QString& title, const QString& text, bool defaultNo) override {
        QMessageBox box(QMessageBox::Question, title, shown(text), QMessageBox::NoButton, owner());
        QPushButton* sim = box.addButton(QStringLiteral("Sim"), QMessageBox::YesRole);
        QPushButton* nao = box.addButton(QStringLiteral("Não"), QMessageBox::NoRole);
        if (defaultNo) box.setDefaultButton(nao);
        box.exec();
        return box.clickedButton() == sim;
    }

    QString input(const QString& title, const QString& prompt, const QString& initial, bool password) override {
        bool ok = false;
        const QString typed = QInputDialog::getText(owner(), title, shown(prompt),
                                                    password ? QLineEdit::Password : QLineEdit::Normal, initial, &ok);
        return ok ? typed : QString();
    }

    QString chooseFolder(const QString& caption) override {
        return QFileDialog::getExistingDirectory(owner(), caption, QString(), QFileDialog::ShowDirsOnly);
    }

    std::optional<QString> chooseFile(const FileDialog& properties) override {
        const bool open = properties.mode() == FileDialog::Mode::Open;
        QFileDialog dialog(owner(), properties.title, properties.initialDir, qtFilter(properties.filter));
        dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        // The question is the program's own, in its language (FileDialog::execute).
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDefaultSuffix(properties.defaultExt);
        if (!properties.fileName.isEmpty()) dialog.selectFile(properties.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return dialog.selectedFiles().constFirst();
    }

    bool modalOpen() const override { return QApplication::activeModalWidget() != nullptr; }
};

}  // namespace

void useWidgets() {
    static WidgetBackend backend;
    setBackend(&backend);
}

}  // namespace platform::dialogs
