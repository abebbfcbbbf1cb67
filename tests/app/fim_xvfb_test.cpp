// The built program under a real X server (this test runs under xvfb-run):
// it is located by a click on its button, then ended by a click on
// "Finalizar Programa", and, started again, by the close a window manager
// sends; each time the process ends at once with 0.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPoint>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>

namespace {

const QString kPrincipal = QStringLiteral("^Zentora 3.0 - Impressoras Fiscais");
const QString kFaixa = QStringLiteral("^Informações de Retorno da Impressora Fiscal");
const QString kLocalizada = QStringLiteral("^LOCALIZAÇÃO DO ECF$");
// Centres of the buttons in the main window, as its layout places them.
const QPoint kLocalizar(224 + 344 / 2, 8 + 112 / 2);
const QPoint kFinalizar(6 + 6 + 200 / 2, 96 + 260 + 76 / 2);
constexpr int kEspera = 20000;

// Runs xdotool; its output, trimmed.  A failure when it fails.
QString xdotool(const QStringList& argumentos, bool deveDarCerto = true) {
    QProcess x;
    x.start(QStringLiteral("xdotool"), argumentos);
    if (!x.waitForFinished(kEspera)) {
        x.kill();
        x.waitForFinished();
        ADD_FAILURE() << "xdotool " << argumentos.join(' ').toStdString() << " did not end";
        return {};
    }
    if (deveDarCerto && (x.exitStatus() != QProcess::NormalExit || x.exitCode() != 0))
        ADD_FAILURE() << "xdotool " << argumentos.join(' ').toStdString() << ": "
                      << x.readAllStandardError().toStdString();
    return QString::fromUtf8(x.readAllStandardOutput()).trimmed();
}

// The first visible window of process `pid` whose title matches, once it
// is there (the windows of a program that has just ended may linger a moment).
QString janela(qint64 pid, const QString& titulo) {
    return xdotool({QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--sync"),
                    QStringLiteral("--onlyvisible"), QStringLiteral("--pid"), QString::number(pid),
                    QStringLiteral("--name"), titulo})
        .section(QLatin1Char('\n'), 0, 0);
}

bool visivel(qint64 pid, const QString& titulo) {
    return !xdotool({QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible"),
                     QStringLiteral("--pid"), QString::number(pid), QStringLiteral("--name"), titulo},
                    false)
                .isEmpty();
}

void clica(const QString& id, QPoint ponto) {
    xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QStringLiteral("--window"), id,
             QString::number(ponto.x()), QString::number(ponto.y()), QStringLiteral("click"), QStringLiteral("1")});
}

// What a window manager sends when its close button is pressed.
void pedeParaFechar(const QString& id) {
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    ASSERT_EQ(xcb_connection_has_error(x), 0);
    const auto atomo = [x](const char* nome) {
        xcb_intern_atom_reply_t* r =
            xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, uint16_t(std::strlen(nome)), nome), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(r);
        return a;
    };
    xcb_client_message_event_t fecha{};
    fecha.response_type = XCB_CLIENT_MESSAGE;
    fecha.format = 32;
    fecha.window = id.toUInt();
    fecha.type = atomo("WM_PROTOCOLS");
    fecha.data.data32[0] = atomo("WM_DELETE_WINDOW");
    fecha.data.data32[1] = XCB_CURRENT_TIME;
    const xcb_void_cookie_t envio =
        xcb_send_event_checked(x, 0, fecha.window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&fecha));
    xcb_generic_error_t* erro = xcb_request_check(x, envio);
    EXPECT_EQ(erro, nullptr) << "X error " << int(erro->error_code) << " sending to window " << fecha.window;
    std::free(erro);
    xcb_disconnect(x);
}

class FimNoX : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(qEnvironmentVariableIsSet("DISPLAY")) << "run under xvfb-run";
        ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            << "xdotool is missing (scripts/setup installs it)";
        ASSERT_TRUE(pasta_.isValid());
        const QString origem = QStringLiteral(ZENTORA_INSTALL_DIR "/");
        for (const char* item : {"Modelo.ntf", "usb.bmp", "serial.bmp"})
            ASSERT_TRUE(QFile::copy(origem + QLatin1String(item), pasta_.filePath(QLatin1String(item))));
        ASSERT_TRUE(QFile::link(origem + QStringLiteral("Skins"), pasta_.filePath(QStringLiteral("Skins"))));
        QDir(pasta_.path()).mkpath(QStringLiteral("Relatorios"));
    }
    void TearDown() override {
        if (programa_.state() != QProcess::NotRunning) {
            programa_.kill();
            programa_.waitForFinished();
        }
    }

    // Starts the program in its own folder and locates the printer through
    // the screen; the main window's id.
    QString iniciaELocaliza() {
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        ambiente.insert(QStringLiteral("ZENTORA_PASTA_BASE"), pasta_.path() + QLatin1Char('/'));
        programa_.setProcessEnvironment(ambiente);
        programa_.setProcessChannelMode(QProcess::ForwardedChannels);
        programa_.start(QStringLiteral(ZENTORA_PROGRAMA), {});
        if (!programa_.waitForStarted(kEspera)) {
            ADD_FAILURE() << "the program did not start";
            return {};
        }
        const qint64 pid = programa_.processId();
        const QString principal = janela(pid, kPrincipal);
        EXPECT_FALSE(janela(pid, kFaixa).isEmpty());
        clica(principal, kLocalizar);
        // Only a printer found says so under this title.
        const QString aviso = janela(pid, kLocalizada);
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), aviso, QStringLiteral("key"),
                 QStringLiteral("Return")});
        QElapsedTimer relogio;
        relogio.start();
        while (visivel(pid, kLocalizada) && relogio.elapsed() < kEspera) {
        }
        EXPECT_FALSE(visivel(pid, kLocalizada));
        return principal;
    }

    // The program ends within a second of being asked, with 0.
    void terminouComZero() {
        QElapsedTimer relogio;
        relogio.start();
        ASSERT_TRUE(programa_.waitForFinished(kEspera)) << "the program is still running";
        EXPECT_LT(relogio.elapsed(), 1000);
        EXPECT_EQ(programa_.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(programa_.exitCode(), 0) << programa_.readAllStandardError().toStdString();
    }

    QTemporaryDir pasta_;
    QProcess programa_;
};

TEST_F(FimNoX, FinalizarProgramaEOFechamentoDaJanelaTerminamOProcesso) {
    const QString principal = iniciaELocaliza();
    ASSERT_FALSE(principal.isEmpty());
    clica(principal, kFinalizar);
    terminouComZero();

    // Started again, it finds the printer free at once.
    const QString deNovo = iniciaELocaliza();
    ASSERT_FALSE(deNovo.isEmpty());
    pedeParaFechar(deNovo);
    terminouComZero();
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication aplicacao(argc, argv);
    return RUN_ALL_TESTS();
}
