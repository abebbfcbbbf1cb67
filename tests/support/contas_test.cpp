// The harness itself: a test that leaves a scripted answer unused, meets a
// box it did not script or shows a box with no script at all fails.  Each
// such test runs in a child run of this program, where it is registered.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <cstdlib>

#include "instalacao.h"
#include "platform/dialogs.h"

namespace dialogs = platform::dialogs;

namespace {

constexpr const char* kFilho = "ZENTORA_CONTAS_FILHO";

// The tests a child run holds, by name, with what each does.
struct Caso {
    const char* nome;
    void (*corpo)(dialogs::Script* fixture);
};

const Caso kCasos[] = {
    {"UsaTudo",
     [](dialogs::Script*) {
         dialogs::Script s;
         s.yes().text(QStringLiteral("KS0001.ntf"));
         dialogs::information(QStringLiteral("AVISO"), QStringLiteral("só informa"));
         EXPECT_TRUE(dialogs::question(QStringLiteral("PERGUNTA"), QStringLiteral("Confirma?")));
         EXPECT_EQ(dialogs::input(QStringLiteral("ARQUIVO"), QStringLiteral("Nome"), QString()),
                   QStringLiteral("KS0001.ntf"));
     }},
    {"RespostaSobrando",
     [](dialogs::Script*) {
         dialogs::Script s;
         s.yes();
     }},
    {"RespostaSobrandoNaInstalacao", [](dialogs::Script* fixture) { fixture->text(QStringLiteral("modelo.ntf")); }},
    {"PerguntaSemResposta",
     [](dialogs::Script*) {
         dialogs::Script s;
         dialogs::question(QStringLiteral("REDUÇÃO Z"), QStringLiteral("Confirma a Redução Z?"));
     }},
    {"CaixaSemRoteiro",
     [](dialogs::Script*) { dialogs::error(QStringLiteral("ERRO"), QStringLiteral("sem roteiro")); }},
    // A script inside another one reports through it.
    {"RespostaSobrandoNumRoteiroDentroDeOutro",
     [](dialogs::Script*) {
         dialogs::Script fora;
         {
             dialogs::Script dentro;
             dentro.no();
         }
         fora.yes();
         EXPECT_TRUE(dialogs::question(QStringLiteral("PERGUNTA"), QStringLiteral("Confirma?")));
     }},
};

class Sozinho : public ::testing::Test {
public:
    explicit Sozinho(const Caso& caso) : caso_(caso) {}
    void TestBody() override { caso_.corpo(nullptr); }

private:
    const Caso& caso_;
};

class NaInstalacao : public Instalacao {
public:
    explicit NaInstalacao(const Caso& caso) : caso_(caso) {}
    void TestBody() override { caso_.corpo(&dialogos); }

private:
    const Caso& caso_;
};

// Registered only in a child run, so that the runs of the suite never see them.
[[maybe_unused]] const bool kRegistrados = [] {
    if (!std::getenv(kFilho)) return false;
    for (const Caso& caso : kCasos) {
        const bool instalacao = std::string(caso.nome) == "RespostaSobrandoNaInstalacao";
        ::testing::RegisterTest("Filho", caso.nome, nullptr, nullptr, __FILE__, __LINE__,
                                [&caso, instalacao]() -> ::testing::Test* {
                                    if (instalacao) return new NaInstalacao(caso);
                                    return new Sozinho(caso);
                                });
    }
    return true;
}();

struct Rodada {
    int codigo = -1;
    QString saida;
};

Rodada roda(const char* caso) {
    QProcess filho;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kFilho), QStringLiteral("1"));
    filho.setProcessEnvironment(env);
    filho.setProcessChannelMode(QProcess::MergedChannels);
    filho.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=Filho.") + caso});
    Rodada r;
    if (!filho.waitForFinished(60000)) {
        filho.kill();
        filho.waitForFinished();
        return r;
    }
    r.saida = QString::fromUtf8(filho.readAll());
    if (filho.exitStatus() == QProcess::NormalExit) r.codigo = filho.exitCode();
    return r;
}

}  // namespace

TEST(Contas, ATestThatUsesEveryAnswerAndScriptsEveryQuestionPasses) {
    const Rodada r = roda("UsaTudo");
    EXPECT_EQ(r.codigo, 0) << r.saida.toStdString();
    EXPECT_TRUE(r.saida.contains(QLatin1String("[  PASSED  ] 1 test"))) << r.saida.toStdString();
}

TEST(Contas, ATestFailsOnWhatItsBoxesLeftUnsettled) {
    const std::pair<const char*, const char*> casos[] = {
        {"RespostaSobrando", "scripted answer Yes / OK never used"},
        {"RespostaSobrandoNaInstalacao", "scripted answer \"modelo.ntf\" never used"},
        {"PerguntaSemResposta", "no answer scripted for the box \"REDUÇÃO Z\": Confirma a Redução Z?"},
        {"CaixaSemRoteiro", "a box appeared with no script: Error ERRO: sem roteiro"},
        {"RespostaSobrandoNumRoteiroDentroDeOutro", "scripted answer No / Cancel never used"},
    };
    for (const auto& [caso, motivo] : casos) {
        SCOPED_TRACE(caso);
        const Rodada r = roda(caso);
        EXPECT_EQ(r.codigo, 1) << r.saida.toStdString();
        EXPECT_TRUE(r.saida.contains(QStringLiteral("[  FAILED  ] Filho.") + QLatin1String(caso)))
            << r.saida.toStdString();
        EXPECT_TRUE(r.saida.contains(QString::fromUtf8(motivo))) << r.saida.toStdString();
    }
}
