#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/clock.h"
#include "platform/dialogs.h"

namespace dialogs = platform::dialogs;

TEST(Dialogs, AScriptAnswersInOrderAndRecordsEveryBox) {
    dialogs::Script script;
    script.yes().no().text(QStringLiteral("segredo"));
    dialogs::information(QStringLiteral("T1"), QStringLiteral("info"));
    EXPECT_TRUE(dialogs::question(QStringLiteral("T2"), QStringLiteral("sim?"), dialogs::Default::Yes));
    EXPECT_FALSE(dialogs::question(QStringLiteral("T3"), QStringLiteral("não?"), dialogs::Default::No));
    EXPECT_EQ(dialogs::input(QStringLiteral("Senha"), QStringLiteral("Digite"), QString()), QStringLiteral("segredo"));
    // Nobody left to answer: No, and an empty text.
    EXPECT_FALSE(dialogs::question(QStringLiteral("T4"), QStringLiteral("?"), dialogs::Default::Yes));
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
    EXPECT_FALSE(r[1].defaultNo);
    EXPECT_TRUE(r[2].defaultNo);
    EXPECT_EQ(r[6].kind, dialogs::Kind::Plain);
    EXPECT_EQ(r[6].title, dialogs::applicationTitle());
    EXPECT_TRUE(script.records().empty());
}

// A question really shown: its buttons read "Sim" and "Não", and Enter
// presses the default one.
TEST(Dialogs, EnterPressesTheQuestionsDefaultButton) {
    platform::dialogs::Unscripted real;
    for (const auto padrao : {dialogs::Default::Yes, dialogs::Default::No}) {
        QStringList botoes;
        QTimer::singleShot(0, [&botoes] {
            QWidget* caixa = QApplication::activeModalWidget();
            if (!caixa) return ADD_FAILURE() << "no box open";
            for (const QPushButton* b : caixa->findChildren<QPushButton*>()) botoes << b->text();
            QTest::keyClick(caixa, Qt::Key_Return);
        });
        EXPECT_EQ(dialogs::question(QStringLiteral("REDUÇÃO"), QStringLiteral("Continuar?"), padrao),
                  padrao == dialogs::Default::Yes);
        botoes.sort();
        EXPECT_EQ(botoes, QStringList({QStringLiteral("Não"), QStringLiteral("Sim")}));
    }
}

namespace {

// Reads the buttons of the box that opens next into `botoes` once it is up;
// then cancels it.
void leBotoesDaProximaCaixa(QStringList& botoes) {
    QTimer::singleShot(0, [&botoes] {
        auto* caixa = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!caixa) return ADD_FAILURE() << "no box open";
        for (const QPushButton* b : caixa->findChildren<QPushButton*>())
            if (b->isVisible()) botoes << b->text().remove(QLatin1Char('&'));
        caixa->reject();
    });
}

}  // namespace

// Qt's own dialogs speak the program's language, whatever the machine's.
TEST(Dialogs, QtsOwnDialogsSpeakPortuguese) {
    platform::dialogs::Unscripted real;
    QStringList abrir;
    leBotoesDaProximaCaixa(abrir);
    dialogs::FileDialog arquivo(dialogs::FileDialog::Mode::Open);
    arquivo.initialDir = QDir::tempPath();
    arquivo.filter = QStringLiteral("Arquivo TXT|*.txt");
    EXPECT_FALSE(arquivo.execute());
    EXPECT_TRUE(abrir.contains(QStringLiteral("Abrir"))) << abrir.join('|').toStdString();
    EXPECT_TRUE(abrir.contains(QStringLiteral("Cancelar"))) << abrir.join('|').toStdString();

    QStringList entrada;
    leBotoesDaProximaCaixa(entrada);
    EXPECT_EQ(dialogs::input(QStringLiteral("SENHA"), QStringLiteral("Digite"), QString()), QString());
    EXPECT_TRUE(entrada.contains(QStringLiteral("Cancelar"))) << entrada.join('|').toStdString();
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

TEST(Dialogs, ASaveDialogAsksBeforeReplacingAFile) {
    QTemporaryDir dir;
    const QString existente = dir.filePath(QStringLiteral("Loja.ntf"));
    QFile f(existente);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    dialogs::Script script;
    dialogs::FileDialog salvar(dialogs::FileDialog::Mode::Save);
    salvar.title = QStringLiteral("Arquivo de Configuração");
    script.text(existente).no().text(existente).yes().text(dir.filePath(QStringLiteral("Nova.ntf")));
    EXPECT_FALSE(salvar.execute());
    EXPECT_TRUE(salvar.execute());
    EXPECT_TRUE(salvar.execute());
    const auto r = script.take();
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(r[1].kind, dialogs::Kind::Question);
    EXPECT_EQ(r[1].title, QStringLiteral("Arquivo de Configuração"));
    EXPECT_EQ(r[1].text,
              QStringLiteral("O Arquivo\r") + existente + QStringLiteral("\rJá Existe. Deseja Substituí-lo?"));
    EXPECT_TRUE(r[1].defaultNo);
    EXPECT_EQ(r[4].kind, dialogs::Kind::SaveFile);
    // Opening an existing file asks nothing.
    dialogs::FileDialog abrir(dialogs::FileDialog::Mode::Open);
    script.text(existente);
    EXPECT_TRUE(abrir.execute());
    EXPECT_EQ(script.take().size(), 1u);
    EXPECT_EQ(script.pending(), 0u);
}

TEST(Dialogs, KnowWhileABoxOrAModalWindowIsOpen) {
    EXPECT_FALSE(dialogs::anyOpen());
    {
        dialogs::Script script;
        std::vector<bool> aberta;
        script.whileOpen([&](const dialogs::Record&) { aberta.push_back(dialogs::anyOpen()); });
        script.no().cancel();
        dialogs::information(QStringLiteral("T"), QStringLiteral("i"));
        dialogs::question(QStringLiteral("T"), QStringLiteral("q"), dialogs::Default::No);
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

#include <QMessageBox>
#include <QPushButton>

TEST(Dialogs, AQuestionWhoseYesCannotBeUndoneHasNoAsItsDefault) {
    platform::dialogs::Unscripted real;
    QString padrao;
    QTimer::singleShot(0, [&padrao] {
        if (auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            padrao = caixa->defaultButton()->text();
            caixa->defaultButton()->click();
        }
    });
    EXPECT_FALSE(dialogs::question(QStringLiteral("T"), QStringLiteral("Substituir?"), dialogs::Default::No));
    EXPECT_EQ(padrao, QStringLiteral("Não"));
}
