#include <gtest/gtest.h>

#include <QDialog>

#include "platform/clock.h"
#include "platform/dialogs.h"

namespace dialogs = platform::dialogs;

TEST(Dialogs, AScriptAnswersInOrderAndRecordsEveryBox) {
    dialogs::Script script;
    script.yes().no().text(QStringLiteral("segredo"));
    dialogs::information(QStringLiteral("T1"), QStringLiteral("info"));
    EXPECT_TRUE(dialogs::question(QStringLiteral("T2"), QStringLiteral("sim?")));
    EXPECT_FALSE(dialogs::question(QStringLiteral("T3"), QStringLiteral("não?")));
    EXPECT_EQ(dialogs::input(QStringLiteral("Senha"), QStringLiteral("Digite"), QString()), QStringLiteral("segredo"));
    // Nobody left to answer: No, and an empty text.
    EXPECT_FALSE(dialogs::question(QStringLiteral("T4"), QStringLiteral("?")));
    EXPECT_EQ(dialogs::input(QStringLiteral("Senha"), QStringLiteral("Digite"), QString()), QString());
    dialogs::plain(QStringLiteral("simples"));

    // Those two are kept as unanswered, for the harness to fail the test on.
    const auto sem = script.takeUnanswered();
    ASSERT_EQ(sem.size(), 2u);
    EXPECT_EQ(sem[0].title, QStringLiteral("T4"));
    EXPECT_EQ(sem[1].kind, dialogs::Kind::Input);

    const auto r = script.take();
    ASSERT_EQ(r.size(), 7u);
    EXPECT_EQ(r[0].kind, dialogs::Kind::Information);
    EXPECT_EQ(r[1].buttons, QStringList({QStringLiteral("Yes"), QStringLiteral("No")}));
    EXPECT_EQ(r[6].kind, dialogs::Kind::Plain);
    EXPECT_EQ(r[6].title, dialogs::applicationTitle());
    EXPECT_TRUE(script.records().empty());
}

TEST(Dialogs, FileDialogsKeepTheirPropertiesAndReturnTheScriptedFile) {
    dialogs::Script script;
    dialogs::FileDialog abrir(dialogs::FileDialog::Mode::Open);
    abrir.initialDir = QStringLiteral("/tmp/Relatorios");
    script.cancel();
    EXPECT_FALSE(abrir.execute());
    script.text(QStringLiteral("/tmp/Relatorios/x.mfd"));
    EXPECT_TRUE(abrir.execute());
    EXPECT_EQ(abrir.fileName, QStringLiteral("/tmp/Relatorios/x.mfd"));
    EXPECT_EQ(script.records()[0].kind, dialogs::Kind::OpenFile);
    EXPECT_EQ(script.records()[0].text, QStringLiteral("/tmp/Relatorios"));
}

TEST(Dialogs, KnowWhileABoxOrAModalWindowIsOpen) {
    EXPECT_FALSE(dialogs::anyOpen());
    {
        dialogs::Script script;
        std::vector<bool> aberta;
        script.whileOpen([&](const dialogs::Record&) { aberta.push_back(dialogs::anyOpen()); });
        script.no().cancel();
        dialogs::information(QStringLiteral("T"), QStringLiteral("i"));
        dialogs::question(QStringLiteral("T"), QStringLiteral("q"));
        dialogs::FileDialog(dialogs::FileDialog::Mode::Save).execute();
        EXPECT_EQ(aberta, std::vector<bool>(3, true));
        EXPECT_FALSE(dialogs::anyOpen());
    }
    QDialog janela;
    janela.setModal(true);
    janela.show();
    EXPECT_TRUE(dialogs::anyOpen());
    janela.hide();
    EXPECT_FALSE(dialogs::anyOpen());
}

TEST(Dialogs, FiltersReadAsQtFilters) {
    EXPECT_EQ(dialogs::qtFilter(QStringLiteral("Arquivo NTF|*.ntf")), QStringLiteral("Arquivo NTF (*.ntf)"));
    EXPECT_EQ(dialogs::qtFilter(QStringLiteral("Arquivo TXT|*.txt|Arquivo MFD|*.mfd|Arquivo MF|*.mf")),
              QStringLiteral("Arquivo TXT (*.txt);;Arquivo MFD (*.mfd);;Arquivo MF (*.mf)"));
}

TEST(Clock, TestsSetAndAdvanceTheComputersClock) {
    const QDateTime momento(QDate(2013, 1, 1), QTime(23, 59, 59));
    platform::clock::set(momento);
    EXPECT_EQ(platform::clock::now(), momento);
    platform::clock::advance(1000);
    EXPECT_EQ(platform::clock::now(), QDateTime(QDate(2013, 1, 2), QTime(0, 0, 0)));
    platform::clock::release();
    EXPECT_NE(platform::clock::now().date().year(), 2013);
}

#include "platform/shell.h"

TEST(Shell, WaitsForAProgramAndReportsHowItEnded) {
    namespace shell = platform::shell;
    int codigo = -1;
    EXPECT_EQ(
        shell::runAndWait(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exit 3")}, 5000, &codigo),
        shell::Wait::Finished);
    EXPECT_EQ(codigo, 3);
    EXPECT_EQ(shell::runAndWait(QStringLiteral("/nao/existe/USB_Driver"), {QStringLiteral("0")}, 5000),
              shell::Wait::NotStarted);
    // An argument is handed over as it is, never read by a command interpreter.
    EXPECT_EQ(shell::runAndWait(QStringLiteral("/bin/test"), {QStringLiteral("a; exit 0"), QStringLiteral("=")}, 5000,
                                &codigo),
              shell::Wait::Finished);
    EXPECT_NE(codigo, 0);
}

#include <QApplication>
#include <QDir>
#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>

#include "platform/paths.h"

TEST(Dialogs, APasswordIsTypedIntoAPasswordField) {
    platform::dialogs::Unscripted real;
    QLineEdit::EchoMode eco = QLineEdit::Normal;
    QTimer::singleShot(0, [&eco] {
        QWidget* caixa = QApplication::activeModalWidget();
        if (auto* entrada = qobject_cast<QInputDialog*>(caixa)) {
            auto* edicao = entrada->findChild<QLineEdit*>();
            eco = edicao->echoMode();
            edicao->setText(QStringLiteral("segredo"));
            entrada->accept();
        } else if (caixa) {
            caixa->close();
        }
    });
    EXPECT_EQ(platform::dialogs::password(QStringLiteral("Senha"), QStringLiteral("Digite")),
              QStringLiteral("segredo"));
    EXPECT_EQ(eco, QLineEdit::Password);
}

TEST(Paths, AFolderWithoutItsTrailingSeparator) {
    namespace paths = platform::paths;
    const QString sep = paths::separator();
    // Given in either separator, kept in the platform's own.
    EXPECT_EQ(paths::withoutSeparator(QStringLiteral("/tmp/Cadastro/")),
              QDir::toNativeSeparators(QStringLiteral("/tmp/Cadastro")));
    EXPECT_EQ(paths::withoutSeparator(QStringLiteral("/tmp/Cadastro//")),
              QDir::toNativeSeparators(QStringLiteral("/tmp/Cadastro")));
    EXPECT_EQ(paths::withoutSeparator(QStringLiteral("/tmp/Cadastro")),
              QDir::toNativeSeparators(QStringLiteral("/tmp/Cadastro")));
    EXPECT_EQ(paths::withoutSeparator(QStringLiteral("/")), sep);
    EXPECT_EQ(paths::withoutSeparator(QStringLiteral("C:/")), QStringLiteral("C:") + sep);
}
