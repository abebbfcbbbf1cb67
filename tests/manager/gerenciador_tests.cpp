// The command manager driven through the main window's "Gerenciador de
// Comandos": the availability flags on every window, their setting, and the
// password that guards the manager.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <functional>

#include "auxiliares.h"
#include "core/disponibilidade.h"
#include "janelas.h"
#include "manager/tfgerenciador.h"
#include "platform/profile.h"
#include "reports/tfrelfiscais.h"

using platform::dialogs::Kind;
using namespace UGerenciador;

// Readable texts in failures.
static void PrintTo(const QString& texto, std::ostream* os) { *os << '"' << texto.toStdString() << '"'; }

namespace {

const QString kSecao = QStringLiteral("Zentora3");

class Gerenciador : public Instalacao {
protected:
    void SetUp() override {
        Instalacao::SetUp();
        if (HasFatalFailure()) return;
        criaJanelas();
    }

    TFGerenciador* janela() const { return FGerenciador; }
    template <class T>
    static T* gerenciador(const char* nome) {
        return controle<T>(FGerenciador, nome);
    }
    static QCheckBox* caixa(const char* nome) { return gerenciador<QCheckBox>(nome); }
    QPushButton* btAdm() const { return naPrincipal<QPushButton>("BtAdm"); }

    // The governed control of a function, when its window has it.
    static QWidget* governado(const Funcao& funcao) {
        QWidget* janela = janelaDoPrograma(funcao.janela);
        return janela ? janela->findChild<QWidget*>(QLatin1String(funcao.controle)) : nullptr;
    }

    // Presses "Gerenciador de Comandos"; while the manager is open runs
    // `acao`, then closes it with its close box unless `acao` closed it.
    // True when the manager opened, modally over the main window.
    bool entra(const std::function<void()>& acao = {}) {
        bool aberto = false;
        QTimer vez;
        vez.setSingleShot(true);
        QObject::connect(&vez, &QTimer::timeout, [&] {
            aberto = janela()->isVisible();
            EXPECT_TRUE(QApplication::activeModalWidget() == janela());
            EXPECT_EQ(janela()->pos(), uZentora3::Fprincipal->pos());
            if (acao) acao();
            if (janela()->isVisible()) janela()->close();
        });
        vez.start(0);
        QTest::mouseClick(btAdm(), Qt::LeftButton);
        vez.stop();
        return aberto;
    }

    void gravaSenha(const QString& senha) {
        gravaIni(kSecao, QStringLiteral("UsaCodigo"), QStringLiteral("Sim"));
        gravaIni(kSecao, QStringLiteral("Codigo"), TextoParaHex(senha));
    }
    // A click on a check box's square, wherever its caption ends.
    static void clica(QCheckBox* caixa) {
        QTest::mouseClick(caixa, Qt::LeftButton, {}, QPoint(8, caixa->height() / 2));
    }
    // Types `texto` key by key, as the keyboard would.
    static void digita(QLineEdit* edicao, const QString& texto) {
        for (const QChar c : texto)
            QTest::sendKeyEvent(QTest::Click, edicao, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    bool temChave(const QString& chave) const { return platform::Profile(ini()).hasKey(kSecao, chave); }
};

TEST_F(Gerenciador, JanelaComSuasLegendasEOEstadoInicial) {
    EXPECT_EQ(janela()->windowTitle(), QStringLiteral("Gerenciador de Comandos"));
    EXPECT_EQ(janela()->size(), QSize(792, 450));
    EXPECT_EQ(janela()->minimumSize(), janela()->maximumSize());
    EXPECT_EQ(gerenciador<QLabel>("LbInstrucao")->text(),
              QStringLiteral("Selecione os Botões que Deseja Disponibilizar aos Usuários do Zentora"));
    EXPECT_EQ(gerenciador<QPushButton>("BtHabilitaTodos")->text(), QStringLiteral("Habilitar Todos"));
    EXPECT_EQ(gerenciador<QPushButton>("BtDesabilitaTodos")->text(), QStringLiteral("Desabilitar Todos"));
    EXPECT_EQ(gerenciador<QPushButton>("BtSalvarSenha")->text(), QStringLiteral("   Salvar Senha     "));
    EXPECT_FALSE(gerenciador<QPushButton>("BtSalvarSenha")->isEnabled());
    EXPECT_EQ(gerenciador<QCheckBox>("CbHabilitaSenha")->text(), QStringLiteral("Solicitar Senha de Acesso"));
    EXPECT_FALSE(gerenciador<QCheckBox>("CbHabilitaSenha")->isChecked());
    for (QLineEdit* senha : {gerenciador<QLineEdit>("MeSenha1"), gerenciador<QLineEdit>("MeSenha2")}) {
        EXPECT_FALSE(senha->isEnabled());
        EXPECT_TRUE(senha->text().isEmpty());
        EXPECT_EQ(senha->echoMode(), QLineEdit::Password);
    }

    const char* const legendas[kFuncoes] = {"Instalar Driver USB",
                                            "Configurações do Zentora",
                                            "Emitir Leitura X",
                                            "Emitir Leitura da Memória Fiscal",
                                            "Emitir Redução Z",
                                            "Comparar Relógio",
                                            "Horário de Verão",
                                            "Abrir ou Verificar Gaveta",
                                            "Testar Guilhotina",
                                            "Configurar Guilhotina",
                                            "Configurar Espaçamentos",
                                            "Cancelar Cupom Fiscal",
                                            "Cancelar CNF",
                                            "Fechar Relatório Gerencial",
                                            "Download dos Dados Ultima Z",
                                            "Download do Arquivo .MF",
                                            "Validar Assinatura",
                                            "Imprimir Configurações do ECF",
                                            "Gerar Arquivo MFD e Tipo E",
                                            "Gerar Espelho da MFD",
                                            "Gerar Espelho do Arquivo .MFD",
                                            "Enviar do Arquivo Para a Impressora",
                                            "Enviar da Impressora Para o Arquivo",
                                            "Enviar Forma de Pagamento",
                                            "Enviar do Arquivo Para a Impressora",
                                            "Enviar da Impressora Para o Arquivo",
                                            "Enviar Alíquota",
                                            "Enviar do Arquivo Para a Impressora",
                                            "Enviar da Impressora Para o Arquivo",
                                            "Enviar Comprovante Não Fiscal",
                                            "Enviar do Arquivo Para a Impressora",
                                            "Enviar da Impressora Para o Arquivo",
                                            "Enviar Relatório Gerencial"};
    for (const Funcao& funcao : Funcoes()) {
        QCheckBox* c = caixa(funcao.caixa);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->text(), QString::fromUtf8(legendas[funcao.posicao - 1])) << funcao.caixa;
        EXPECT_TRUE(c->isChecked() && c->isEnabled()) << funcao.caixa;
        // A caption is never cut short.
        EXPECT_GE(c->width(), c->sizeHint().width()) << funcao.caixa;
    }
    const std::pair<const char*, const char*> sempre[] = {{"CbConfigECF", "Configurações do ECF"},
                                                          {"CbRelFiscais", "Relatórios Fiscais"},
                                                          {"CbCmdAdicionais", "Comandos Adicionais"},
                                                          {"CbMFMFD", "MF-MFD Informações do ECF"}};
    for (const auto& [nome, legenda] : sempre) {
        EXPECT_EQ(caixa(nome)->text(), QString::fromUtf8(legenda));
        EXPECT_TRUE(caixa(nome)->isChecked());
        EXPECT_FALSE(caixa(nome)->isEnabled());
    }
}

TEST_F(Gerenciador, SemStatusTudoFicaDisponivelEAChaveSoEGravadaAoFechar) {
    for (const Funcao& funcao : Funcoes())
        if (QWidget* c = governado(funcao)) {
            EXPECT_TRUE(c->isEnabled()) << funcao.controle;
        }
    EXPECT_FALSE(temChave(QStringLiteral("Status")));

    // No password set up: the manager opens at once, and UsaCodigo is written.
    ASSERT_TRUE(entra());
    EXPECT_TRUE(caixas().empty());
    EXPECT_EQ(leIni(kSecao, QStringLiteral("UsaCodigo")), QStringLiteral("Nao"));
    // Closed with its close box, like any other close: applied and stored.
    EXPECT_EQ(leIni(kSecao, QStringLiteral("Status")), QString(kFuncoes, QLatin1Char('1')));
    EXPECT_FALSE(janela()->isVisible());
}

TEST_F(Gerenciador, StatusCurtoOuComOutrosCaracteresContaComoDisponivel) {
    gravaIni(kSecao, QStringLiteral("Status"), QStringLiteral("00x"));
    criaJanelas();  // the flags are read at start-up
    EXPECT_FALSE(naPrincipal<QPushButton>("BtInstalaUSB")->isEnabled());
    EXPECT_FALSE(naPrincipal<QPushButton>("BtConfig")->isEnabled());
    EXPECT_TRUE(naPrincipal<QPushButton>("BtAdm")->isEnabled());
    EXPECT_FALSE(caixa("CbDriverUSB")->isChecked());
    EXPECT_FALSE(caixa("CbConfigZEntora")->isChecked());
    for (const Funcao& funcao : Funcoes()) {
        if (funcao.posicao <= 2) continue;
        EXPECT_TRUE(caixa(funcao.caixa)->isChecked()) << funcao.caixa;
        if (QWidget* c = governado(funcao)) {
            EXPECT_TRUE(c->isEnabled()) << funcao.controle;
        }
    }
    EXPECT_EQ(aStatus[0], QStringLiteral("0"));
    EXPECT_EQ(aStatus[2], QStringLiteral("1"));
    EXPECT_EQ(aStatus[32], QStringLiteral("1"));
    // Nothing is written until the manager closes.
    EXPECT_EQ(leIni(kSecao, QStringLiteral("Status")), QStringLiteral("00x"));
}

TEST_F(Gerenciador, DesabilitarTodosEFecharDesabilitaOs33EDeixaOGerenciadorAoAlcance) {
    criaImpressora();
    uZentora3::Fprincipal->BtLocalizarImpressoraClick();
    caixas();
    QWidget* funcoesDaPrincipal[] = {
        naPrincipal<QPushButton>("BtConfigFiscais"), naPrincipal<QPushButton>("BtRelatoriosFiscais"),
        naPrincipal<QPushButton>("BtComandosAdicionais"), naPrincipal<QPushButton>("BtDadosDaMFD")};

    ASSERT_TRUE(entra([&] {
        QTest::mouseClick(gerenciador<QPushButton>("BtDesabilitaTodos"), Qt::LeftButton);
        for (const char* nome : {"CbConfigECF", "CbRelFiscais", "CbCmdAdicionais", "CbMFMFD"})
            EXPECT_FALSE(caixa(nome)->isChecked()) << nome;
        // Nothing takes effect while the manager is open.
        EXPECT_TRUE(naPrincipal<QPushButton>("BtInstalaUSB")->isEnabled());
        EXPECT_FALSE(temChave(QStringLiteral("Status")));
        QTest::keyClick(janela(), Qt::Key_Escape);
    }));
    int governados = 0;
    for (const Funcao& funcao : Funcoes())
        if (QWidget* c = governado(funcao)) {
            ++governados;
            EXPECT_FALSE(c->isEnabled()) << funcao.controle;
        }
    EXPECT_GE(governados, 6);  // at least the main window's, the reports' and the clock commands'
    EXPECT_EQ(leIni(kSecao, QStringLiteral("Status")), QString(kFuncoes, QLatin1Char('0')));
    EXPECT_TRUE(naPrincipal<QPushButton>("BtAdm")->isEnabled());
    // The four function buttons depend on the location only.
    for (QWidget* b : funcoesDaPrincipal) EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();

    // The choice survives a restart...
    criaJanelas();
    EXPECT_FALSE(naPrincipal<QPushButton>("BtInstalaUSB")->isEnabled());
    EXPECT_FALSE(naPrincipal<QPushButton>("BtConfig")->isEnabled());
    EXPECT_FALSE(caixa("CbLeituraX")->isChecked());

    // ...until "Habilitar Todos" and a close give everything back.
    ASSERT_TRUE(entra([&] { QTest::mouseClick(gerenciador<QPushButton>("BtHabilitaTodos"), Qt::LeftButton); }));
    for (const Funcao& funcao : Funcoes())
        if (QWidget* c = governado(funcao)) {
            EXPECT_TRUE(c->isEnabled()) << funcao.controle;
        }
    EXPECT_EQ(leIni(kSecao, QStringLiteral("Status")), QString(kFuncoes, QLatin1Char('1')));
}

TEST_F(Gerenciador, ReducaoZIndisponivelSoTravaOPortao) {
    criaImpressora();
    uZentora3::Fprincipal->BtLocalizarImpressoraClick();
    uZentora3::Fprincipal->BtRelatoriosFiscaisClick();
    auto* portao = URelFiscais::FRelFiscais.get()->findChild<QCheckBox*>(QStringLiteral("CbHabilitaZ"));
    auto* reducao = URelFiscais::FRelFiscais.get()->findChild<QPushButton*>(QStringLiteral("BtReducaoZ"));
    ASSERT_TRUE(portao && reducao);
    clica(portao);
    ASSERT_TRUE(reducao->isEnabled());
    caixas();

    ASSERT_TRUE(entra([&] { clica(caixa("CbLeituraZ")); }));
    EXPECT_FALSE(portao->isEnabled());
    EXPECT_TRUE(portao->isChecked());
    EXPECT_TRUE(reducao->isEnabled());
    EXPECT_EQ(leIni(kSecao, QStringLiteral("Status")).mid(2, 4), QStringLiteral("1101"));
    // The locked gate cannot be unchecked...
    clica(portao);
    EXPECT_TRUE(portao->isChecked());
    EXPECT_TRUE(reducao->isEnabled());

    // ...until the function is offered again.
    ASSERT_TRUE(entra([&] { clica(caixa("CbLeituraZ")); }));
    clica(portao);
    EXPECT_FALSE(portao->isChecked());
    EXPECT_FALSE(reducao->isEnabled());
}

TEST_F(Gerenciador, SenhaCertaAbreESenhaErradaOuCancelarRecusa) {
    gravaSenha(QStringLiteral("Cão1"));

    dialogos.text(QStringLiteral("cão1"));
    EXPECT_FALSE(entra());
    auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 2u);
    EXPECT_EQ(vistas[0].kind, Kind::Password);  // typed as a password field, not in clear
    EXPECT_EQ(vistas[0].title, QStringLiteral("Senha Gerenciador"));
    EXPECT_EQ(vistas[0].text, QStringLiteral("Digite a Senha de Configuração"));
    EXPECT_EQ(vistas[1].kind, Kind::Information);
    EXPECT_EQ(vistas[1].title, QStringLiteral("GERENCIADOR"));
    EXPECT_EQ(vistas[1].text, QStringLiteral("Senha de Configuração Inválida!"));

    dialogos.cancel();
    EXPECT_FALSE(entra());
    EXPECT_EQ(caixas().back().text, QStringLiteral("Senha de Configuração Inválida!"));
    EXPECT_FALSE(temChave(QStringLiteral("Status")));  // never opened, never closed

    dialogos.text(QStringLiteral("Cão1"));
    EXPECT_TRUE(entra([&] {
        EXPECT_TRUE(gerenciador<QCheckBox>("CbHabilitaSenha")->isChecked());
        EXPECT_TRUE(gerenciador<QLineEdit>("MeSenha1")->isEnabled());
        EXPECT_EQ(gerenciador<QLineEdit>("MeSenha1")->text(), QStringLiteral("Cão1"));
        EXPECT_EQ(gerenciador<QLineEdit>("MeSenha2")->text(), QStringLiteral("Cão1"));
    }));
    EXPECT_EQ(caixas().size(), 1u);
    EXPECT_EQ(leIni(kSecao, QStringLiteral("UsaCodigo")), QStringLiteral("Sim"));
}

TEST_F(Gerenciador, SenhaLigadaComCodigoVazioAbreComOkVazioOuCancelar) {
    gravaIni(kSecao, QStringLiteral("UsaCodigo"), QStringLiteral("sim"));  // anything but "Nao" asks
    dialogos.text(QString());
    EXPECT_TRUE(entra());
    dialogos.cancel();
    EXPECT_TRUE(entra());
    EXPECT_EQ(caixas().size(), 2u);  // the two password boxes, no refusal
}

TEST_F(Gerenciador, CodigoNaoHexadecimalTerminaComErroSemPedirSenha) {
    gravaIni(kSecao, QStringLiteral("UsaCodigo"), QStringLiteral("Sim"));
    gravaIni(kSecao, QStringLiteral("Codigo"), QStringLiteral("616G"));
    EXPECT_FALSE(entra());
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u);
    EXPECT_EQ(vistas[0].kind, Kind::Error);
    EXPECT_EQ(vistas[0].title, QStringLiteral("GERENCIADOR"));
    EXPECT_TRUE(vistas[0].text.contains(QStringLiteral("Codigo"))) << descreve(vistas[0]);
    // Nothing asked: a question, which nobody answers here, would fail the test.
    EXPECT_EQ(leIni(kSecao, QStringLiteral("Codigo")), QStringLiteral("616G"));
}

TEST_F(Gerenciador, SalvarSenhaSoComAsDuasIguaisELigaASenha) {
    ASSERT_TRUE(entra([&] {
        clica(gerenciador<QCheckBox>("CbHabilitaSenha"));
        EXPECT_TRUE(gerenciador<QLineEdit>("MeSenha1")->isEnabled() && gerenciador<QLineEdit>("MeSenha2")->isEnabled());
        // Checking the box alone does not switch the password on.
        EXPECT_EQ(leIni(kSecao, QStringLiteral("UsaCodigo")), QStringLiteral("Nao"));

        digita(gerenciador<QLineEdit>("MeSenha1"), QStringLiteral("abc"));
        EXPECT_FALSE(gerenciador<QPushButton>("BtSalvarSenha")->isEnabled());
        digita(gerenciador<QLineEdit>("MeSenha2"), QStringLiteral("abd"));
        EXPECT_FALSE(gerenciador<QPushButton>("BtSalvarSenha")->isEnabled());
        QTest::keyClick(gerenciador<QLineEdit>("MeSenha2"), Qt::Key_Backspace);
        digita(gerenciador<QLineEdit>("MeSenha2"), QStringLiteral("c"));
        EXPECT_TRUE(gerenciador<QPushButton>("BtSalvarSenha")->isEnabled());
        digita(gerenciador<QLineEdit>("MeSenha1"), QStringLiteral("d"));
        EXPECT_FALSE(gerenciador<QPushButton>("BtSalvarSenha")->isEnabled());
        QTest::keyClick(gerenciador<QLineEdit>("MeSenha1"), Qt::Key_Backspace);
        EXPECT_TRUE(gerenciador<QPushButton>("BtSalvarSenha")->isEnabled());

        QTest::mouseClick(gerenciador<QPushButton>("BtSalvarSenha"), Qt::LeftButton);
        EXPECT_EQ(leIni(kSecao, QStringLiteral("Codigo")), QStringLiteral("616263"));
        EXPECT_EQ(leIni(kSecao, QStringLiteral("UsaCodigo")), QStringLiteral("Sim"));
        EXPECT_TRUE(gerenciador<QPushButton>("BtSalvarSenha")->isEnabled());
    }));
    EXPECT_TRUE(caixas().empty());

    // From now on the manager asks for it.
    dialogos.text(QStringLiteral("abc"));
    EXPECT_TRUE(entra());
    EXPECT_EQ(caixas().size(), 1u);
}

TEST_F(Gerenciador, DuasSenhasVaziasNaoHabilitamSalvar) {
    ASSERT_TRUE(entra([&] {
        gerenciador<QCheckBox>("CbHabilitaSenha")->setChecked(true);
        digita(gerenciador<QLineEdit>("MeSenha1"), QStringLiteral("x"));
        QTest::keyClick(gerenciador<QLineEdit>("MeSenha1"), Qt::Key_Backspace);
        EXPECT_FALSE(gerenciador<QPushButton>("BtSalvarSenha")->isEnabled());
    }));
}

TEST_F(Gerenciador, SenhaComCaractereAcimaDe255ERecusadaAntesDeGravar) {
    gravaSenha(QStringLiteral("velha"));
    dialogos.text(QStringLiteral("velha"));
    ASSERT_TRUE(entra([&] {
        for (QLineEdit* e : {gerenciador<QLineEdit>("MeSenha1"), gerenciador<QLineEdit>("MeSenha2")}) {
            e->selectAll();
            digita(e, QStringLiteral("caf€"));
        }
        ASSERT_TRUE(gerenciador<QPushButton>("BtSalvarSenha")->isEnabled());
        caixas();
        QTest::mouseClick(gerenciador<QPushButton>("BtSalvarSenha"), Qt::LeftButton);
    }));
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u);
    EXPECT_EQ(vistas[0].kind, Kind::Error);
    EXPECT_EQ(vistas[0].title, QStringLiteral("GERENCIADOR"));
    EXPECT_TRUE(vistas[0].text.startsWith(QStringLiteral("Senha Não Salva!"))) << descreve(vistas[0]);
    // The stored password is the old one, still readable.
    EXPECT_EQ(HexParaTexto(leIni(kSecao, QStringLiteral("Codigo"))), QStringLiteral("velha"));
}

TEST_F(Gerenciador, DesmarcarSolicitarSenhaApagaASenhaNaHora) {
    gravaSenha(QStringLiteral("abc"));
    dialogos.text(QStringLiteral("abc"));
    ASSERT_TRUE(entra([&] {
        gerenciador<QPushButton>("BtSalvarSenha")->setEnabled(true);
        clica(gerenciador<QCheckBox>("CbHabilitaSenha"));
        EXPECT_EQ(leIni(kSecao, QStringLiteral("UsaCodigo")), QStringLiteral("Nao"));
        EXPECT_TRUE(temChave(QStringLiteral("Codigo")));
        EXPECT_EQ(leIni(kSecao, QStringLiteral("Codigo")), QString());
        for (QLineEdit* e : {gerenciador<QLineEdit>("MeSenha1"), gerenciador<QLineEdit>("MeSenha2")}) {
            EXPECT_TRUE(e->text().isEmpty());
            EXPECT_FALSE(e->isEnabled());
        }
        EXPECT_FALSE(gerenciador<QPushButton>("BtSalvarSenha")->isEnabled());
    }));
    caixas();
    EXPECT_TRUE(entra());
    EXPECT_TRUE(caixas().empty());
}

TEST(Disponibilidade, SenhaGuardadaEmHexadecimalDeDoisDigitosPorCaractere) {
    EXPECT_EQ(TextoParaHex(QStringLiteral("abc")), QStringLiteral("616263"));
    EXPECT_EQ(TextoParaHex(QStringLiteral("\tÿç")), QStringLiteral("09FFE7"));
    EXPECT_EQ(TextoParaHex(QString()), QString());
    EXPECT_EQ(HexParaTexto(QStringLiteral("09FFE7")), QStringLiteral("\tÿç"));
    EXPECT_EQ(HexParaTexto(QStringLiteral("6a6B")), QStringLiteral("jk"));
    EXPECT_EQ(HexParaTexto(QStringLiteral("6162F")), QStringLiteral("ab"));  // a last lone digit is ignored
    EXPECT_EQ(HexParaTexto(QString()), QString());
    EXPECT_EQ(HexParaTexto(QStringLiteral("61 2")), std::nullopt);
    EXPECT_EQ(HexParaTexto(QStringLiteral("0x61")), std::nullopt);

    EXPECT_TRUE(SenhaGravavel(QStringLiteral("Ação ÿ")));
    EXPECT_FALSE(SenhaGravavel(QStringLiteral("€")));
    EXPECT_FALSE(SenhaGravavel(QStringLiteral("a😀")));
    const QString latin1 = QStringLiteral("Senha ÀÉÎõü ÿ!");
    EXPECT_EQ(HexParaTexto(TextoParaHex(latin1)), latin1);
}

TEST(Disponibilidade, FlagsDeUmStatusGuardado) {
    EXPECT_EQ(JuntaFlags(LeFlags(QString())), QString(kFuncoes, QLatin1Char('1')));
    const QString longo = QStringLiteral("0a1 0") + QString(40, QLatin1Char('0'));
    EXPECT_EQ(JuntaFlags(LeFlags(longo)), QStringLiteral("01110") + QString(kFuncoes - 5, QLatin1Char('0')));
    const QString misto = QStringLiteral("010011000111000011110000011111000");
    EXPECT_EQ(JuntaFlags(LeFlags(misto)), misto);
}

TEST(Disponibilidade, CadaFuncaoTemSuaCaixaESeuControle) {
    QSet<QString> caixasVistas;
    QSet<QString> controles;
    for (const Funcao& funcao : Funcoes()) {
        caixasVistas.insert(QLatin1String(funcao.caixa));
        controles.insert(QLatin1String(NomeDaJanela(funcao.janela)) + QLatin1Char('.') +
                         QLatin1String(funcao.controle));
    }
    EXPECT_EQ(caixasVistas.size(), kFuncoes);
    EXPECT_EQ(controles.size(), kFuncoes);
}

}  // namespace
