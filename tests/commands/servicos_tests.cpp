// The drawer, cutter, spacing and cancel boxes of the additional commands
// window against the virtual printer.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "auxiliares.h"
#include "commands/tfcomandosadicionais.h"
#include "core/sessao.h"
#include "kesafi32.h"
#include "kesafi_virtual.h"
#include "platform/clock.h"
#include "printer/ustatus.h"
#include "tela.h"

using platform::dialogs::Kind;
using platform::dialogs::Record;
using namespace uComandosAdicionais;

namespace {

const QString kConfiguracao = QStringLiteral("CONFIGURAÇÃO");
const QString kResposta = QStringLiteral("RESPOSTA DO ECF");
const QString kRetorno = QStringLiteral("RETORNO DO ECF");

QStringList titulos(const std::vector<Record>& caixas) {
    QStringList t;
    for (const Record& c : caixas) t << c.title;
    return t;
}

class ServicosTest : public Instalacao {
protected:
    void SetUp() override {
        Instalacao::SetUp();
        if (HasFatalFailure()) return;
        criaImpressora();
        if (HasFatalFailure()) return;
        criaJanelas();
        naPrincipal<QToolButton>("BtLocalizarImpressora")->click();
        uZentora3::Fprincipal->BtComandosAdicionaisClick();
        caixas();
        // The printer's clock stands still at 10:00 of the day after its last reduction.
        relogio(QTime(10, 0, 0));
    }

    template <class T>
    static T* comandos(const char* nome) {
        return controle<T>(FComandosAdicionais.get(), nome);
    }
    static void relogio(const QTime& hora) {
        const QString d = QDate::currentDate().addDays(1).toString(QStringLiteral("ddMMyyyy"));
        ASSERT_EQ(KesafiVirtual_FixaRelogio((d + hora.toString(QStringLiteral("HHmmss"))).toLatin1().constData()), 1);
    }
    static void escolhe(QComboBox* lista, const QString& item) {
        const int i = lista->findText(item);
        ASSERT_GE(i, 0) << item.toStdString();
        lista->setCurrentIndex(i);
    }
    // The one information box of a missing choice; nothing sent.
    void faltaEscolha(const QString& texto) {
        const auto vistas = caixas();
        ASSERT_EQ(vistas.size(), 1u);
        EXPECT_EQ(vistas[0].kind, Kind::Information);
        EXPECT_EQ(vistas[0].title, kConfiguracao);
        EXPECT_EQ(vistas[0].text, texto);
    }
    // The answer box of the last command, and its third response.
    QString terceiraResposta(const std::vector<Record>& vistas) {
        if (vistas.empty() || vistas.back().title != kResposta) return QStringLiteral("(sem resposta)");
        return vistas.back().text.section(QStringLiteral("Terceira Resposta : "), 1);
    }
};

TEST_F(ServicosTest, AsSeteCaixasComSeusControlesEListas) {
    const std::pair<QWidget*, const char*> controles[] = {
        {comandos<QPushButton>("BtGaveta"), "GbGaveta"},
        {comandos<QCheckBox>("CbGaveta"), "GbGaveta"},
        {comandos<QLabel>("LbGaveta"), "GbGaveta"},
        {comandos<QPushButton>("BtTestaGuilhotina"), "GbTestaGuilhotina"},
        {comandos<QComboBox>("CbTesteGuilhotina"), "GbTestaGuilhotina"},
        {comandos<QCheckBox>("CbCorteLongo"), "GbTestaGuilhotina"},
        {comandos<QCheckBox>("CbConfirmaCorte"), "GbTestaGuilhotina"},
        {comandos<QPushButton>("BtCOnfiguraGuilhotina"), "GbConfigGuilhotina"},
        {comandos<QComboBox>("CbConfigGuilhotina"), "GbConfigGuilhotina"},
        {comandos<QLabel>("LbConfigGuilhotina"), "GbConfigGuilhotina"},
        {comandos<QPushButton>("BtEspacos"), "GbEspacos"},
        {comandos<QComboBox>("CbEspacos"), "GbEspacos"},
        {comandos<QRadioButton>("RbEntreLinhas"), "GbEspacos"},
        {comandos<QRadioButton>("RbEntreCupons"), "GbEspacos"},
        {comandos<QPushButton>("BtCancelaCupom"), "GbCancelaCupom"},
        {comandos<QPushButton>("BtCancelaCNF"), "GbCancelaCNF"},
        {comandos<QPushButton>("BtFechaGerencial"), "GbFechaGerencial"},
    };
    for (const auto& [controle, caixa] : controles) {
        EXPECT_EQ(controle->parentWidget()->objectName(), QLatin1String(caixa)) << caixa;
        EXPECT_TRUE(controle->parentWidget()->rect().contains(controle->geometry())) << caixa;
        EXPECT_TRUE(controle->isEnabled());
    }
    EXPECT_EQ(comandos<QPushButton>("BtGaveta")->text(), QStringLiteral("Abrir ou Verificar Gaveta"));
    EXPECT_EQ(comandos<QCheckBox>("CbGaveta")->text(), QStringLiteral("Apenas Verificar o Estado da Gaveta"));
    EXPECT_FALSE(comandos<QCheckBox>("CbGaveta")->isChecked());
    EXPECT_EQ(comandos<QLabel>("LbGaveta")->text(), QStringLiteral("Estado da Gaveta"));
    EXPECT_TRUE(comandos<QLabel>("LbGaveta")->font().bold());
    EXPECT_EQ(comandos<QPushButton>("BtTestaGuilhotina")->text(), QStringLiteral("Testar Guilhotina"));
    EXPECT_TRUE(comandos<QCheckBox>("CbCorteLongo")->isChecked());
    EXPECT_EQ(comandos<QCheckBox>("CbCorteLongo")->text(), QStringLiteral("Espaço Longo Entre os Cortes"));
    EXPECT_FALSE(comandos<QCheckBox>("CbConfirmaCorte")->isChecked());
    EXPECT_EQ(comandos<QCheckBox>("CbConfirmaCorte")->text(), QStringLiteral("Aguardar Confirmação em Cada Corte"));
    EXPECT_EQ(comandos<QPushButton>("BtCOnfiguraGuilhotina")->text(), QStringLiteral("Configurar Guilhotina"));
    EXPECT_EQ(
        comandos<QLabel>("LbConfigGuilhotina")->text(),
        QStringLiteral("Nem Todos os Modelos São Compatíveis aos\r\nMesmos Comandos de Configuração da Guilhotina"));
    EXPECT_EQ(comandos<QPushButton>("BtEspacos")->text(), QStringLiteral("Configurar Espaçamentos"));
    EXPECT_FALSE(comandos<QRadioButton>("RbEntreLinhas")->isChecked());
    EXPECT_FALSE(comandos<QRadioButton>("RbEntreCupons")->isChecked());
    EXPECT_EQ(comandos<QRadioButton>("RbEntreLinhas")->text() + '|' + comandos<QRadioButton>("RbEntreCupons")->text(),
              QStringLiteral("Espaço Entre Linhas|Espaço Entre Cupons"));
    EXPECT_EQ(comandos<QPushButton>("BtCancelaCupom")->text(), QStringLiteral("Cancelar Cupom Fiscal"));
    EXPECT_EQ(comandos<QPushButton>("BtCancelaCNF")->text(), QStringLiteral("Cancelar Comprovante não Fiscal"));
    EXPECT_EQ(comandos<QPushButton>("BtFechaGerencial")->text(), QStringLiteral("Fechar Relatório Gerencial"));

    // 51 cut counts without 22; the configurations; 1 to 255 spaces; nothing typed.
    QStringList cortes;
    for (int i = 0; i < comandos<QComboBox>("CbTesteGuilhotina")->count(); ++i)
        cortes << comandos<QComboBox>("CbTesteGuilhotina")->itemText(i);
    ASSERT_EQ(cortes.size(), 51);
    EXPECT_EQ(cortes[0], QStringLiteral("Selecione o Número de Cortes - Click Aqui"));
    EXPECT_EQ(cortes.mid(21, 3), QStringList({QStringLiteral("20"), QStringLiteral("21"), QStringLiteral("23")}));
    EXPECT_EQ(cortes[1] + '|' + cortes[50], QStringLiteral("0|50"));
    EXPECT_FALSE(cortes.contains(QStringLiteral("22")));
    QStringList configuracoes;
    for (int i = 0; i < comandos<QComboBox>("CbConfigGuilhotina")->count(); ++i)
        configuracoes << comandos<QComboBox>("CbConfigGuilhotina")->itemText(i);
    EXPECT_EQ(configuracoes,
              QStringList({QStringLiteral("Selecione a Configuração - Click Aqui"),
                           QStringLiteral("Ativar Corte Total"), QStringLiteral("Desativar Corte Total"),
                           QStringLiteral("Ativar Guilhotina"), QStringLiteral("Desativar Guilhotina")}));
    ASSERT_EQ(comandos<QComboBox>("CbEspacos")->count(), 256);
    EXPECT_EQ(comandos<QComboBox>("CbEspacos")->itemText(0),
              QStringLiteral("Selecione o Número de Espaços - Click Aqui"));
    EXPECT_EQ(comandos<QComboBox>("CbEspacos")->itemText(1) + '|' + comandos<QComboBox>("CbEspacos")->itemText(255),
              QStringLiteral("1|255"));
    for (QComboBox* lista : {comandos<QComboBox>("CbTesteGuilhotina"), comandos<QComboBox>("CbConfigGuilhotina"),
                             comandos<QComboBox>("CbEspacos")}) {
        EXPECT_EQ(lista->currentIndex(), 0);
        EXPECT_FALSE(lista->isEditable());
    }
}

TEST_F(ServicosTest, CaptionsFitAndBreakWhereTheirTextsBreak) {
    // Every caption of the window whole in its control, at its font.
    for (QAbstractButton* b : FComandosAdicionais.get()->findChildren<QAbstractButton*>()) {
        const int indicador = qobject_cast<QPushButton*>(b) ? 8 : 24;
        EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()) + indicador, b->width())
            << b->objectName().toStdString();
    }
    for (QComboBox* lista : FComandosAdicionais.get()->findChildren<QComboBox*>())
        EXPECT_LE(lista->fontMetrics().horizontalAdvance(lista->itemText(0)) + 30, lista->width())
            << lista->objectName().toStdString();

    EXPECT_EQ(legendaDesenhada(comandos<QLabel>("LbConfigGuilhotina")).linhas, 2);
    EXPECT_EQ(legendaDesenhada(comandos<QLabel>("LbGaveta")).linhas, 1);
    comandos<QPushButton>("BtCompararRelogio")->click();
    caixas();
    ASSERT_TRUE(comandos<QLabel>("LbDiferenca")->text().contains(QLatin1Char('\r')));
    const LegendaDesenhada diferenca = legendaDesenhada(comandos<QLabel>("LbDiferenca"));
    EXPECT_EQ(diferenca.linhas, 2);
    EXPECT_LT(diferenca.area.right(), comandos<QLabel>("LbDiferenca")->width() - 1);
}

TEST_F(ServicosTest, AbrirAGavetaMostraOEstadoLidoDepois) {
    ASSERT_EQ(contador("Gaveta"), 1);
    comandos<QPushButton>("BtGaveta")->click();
    auto vistas = caixas();
    EXPECT_EQ(titulos(vistas), QStringList{kResposta});
    EXPECT_TRUE(vistas[0].text.startsWith(QStringLiteral("RESPOSTA DA IMPRESSORA AO COMANDO : Abrir a Gaveta\r")));
    EXPECT_EQ(chamadas("AcionaGaveta"), 1);
    EXPECT_EQ(chamadas("VerificaEstadoGaveta"), 1);
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Estado da Gaveta"));
    EXPECT_EQ(comandos<QLabel>("LbGaveta")->text(), QStringLiteral("Gaveta Aberta"));

    // A drawer that reads closed right after the pulse (state 1); one that
    // cannot be read stays 0, open.
    ASSERT_EQ(KesafiVirtual_ForcaEstadoGaveta(1), 1);
    comandos<QPushButton>("BtGaveta")->click();
    EXPECT_EQ(comandos<QLabel>("LbGaveta")->text(), QStringLiteral("Gaveta Fechada"));
    caixas();
    KesafiVirtual_ForcaResposta(1, KESAFI_ACK, 0, 0, 0);  // the pulse
    KesafiVirtual_ForcaResposta(-27, KESAFI_ACK, 0, 1, 2);
    comandos<QPushButton>("BtGaveta")->click();
    EXPECT_EQ(comandos<QLabel>("LbGaveta")->text(), QStringLiteral("Gaveta Aberta"));
    EXPECT_EQ(titulos(caixas()), QStringList({kResposta, kRetorno}));
}

TEST_F(ServicosTest, VerificarAGavetaInformaOValorLido) {
    comandos<QCheckBox>("CbGaveta")->setChecked(true);
    const auto verifica = [this](const QString& estado, const QString& rotulo) {
        comandos<QPushButton>("BtGaveta")->click();
        const auto vistas = caixas();
        ASSERT_EQ(vistas.size(), 2u);
        EXPECT_EQ(vistas[0].title, kResposta);
        EXPECT_TRUE(vistas[0].text.startsWith(QStringLiteral("RESPOSTA DA IMPRESSORA AO COMANDO : Estado da Gaveta")));
        EXPECT_EQ(vistas[1].kind, Kind::Plain);
        EXPECT_EQ(vistas[1].title, platform::dialogs::applicationTitle());
        EXPECT_EQ(vistas[1].text, QStringLiteral("A Gaveta Esta >> ") + estado +
                                      QStringLiteral(" << Com Base no Padão Kestrona - VALOR = ") + rotulo);
    };
    verifica(QStringLiteral("FECHADA"), QStringLiteral("1"));
    EXPECT_EQ(comandos<QLabel>("LbGaveta")->text(), QStringLiteral("Gaveta Fechada"));
    EXPECT_EQ(chamadas("AcionaGaveta"), 0);

    ASSERT_EQ(Kestrona_FI_AcionaGaveta(), 1);
    verifica(QStringLiteral("ABERTA"), QStringLiteral("0"));
    EXPECT_EQ(comandos<QLabel>("LbGaveta")->text(), QStringLiteral("Gaveta Aberta"));
    relogio(QTime(10, 0, 10));  // the drawer is pushed shut again
    verifica(QStringLiteral("FECHADA"), QStringLiteral("1"));

    ASSERT_EQ(KesafiVirtual_ForcaEstadoGaveta(7), 1);
    verifica(QStringLiteral("ABERTA"), QStringLiteral("7"));
    EXPECT_EQ(comandos<QLabel>("LbGaveta")->text(), QStringLiteral("Gaveta Aberta"));

    // Switched off: nothing read, shown as open with the value 0.
    KesafiVirtual_Liga(0);
    comandos<QPushButton>("BtGaveta")->click();
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 3u);
    EXPECT_EQ(vistas[0].title, kRetorno);
    EXPECT_EQ(vistas[0].text, QStringLiteral("Erro de Comunicação !"));
    EXPECT_TRUE(vistas[2].text.endsWith(QStringLiteral(">> ABERTA << Com Base no Padão Kestrona - VALOR = 0")));
}

TEST_F(ServicosTest, TesteDeGuilhotinaCortaONumeroEscolhido) {
    comandos<QPushButton>("BtTestaGuilhotina")->click();
    faltaEscolha(QStringLiteral("Escolha o Número de Cortes."));
    EXPECT_EQ(FComandosAdicionais.get()->focusWidget(), comandos<QComboBox>("CbTesteGuilhotina"));
    EXPECT_EQ(chamadas("AbreRelatorioGerencialMFD"), 0);

    // 23 cuts with the long text; one answer box, after the report is closed.
    escolhe(comandos<QComboBox>("CbTesteGuilhotina"), QStringLiteral("23"));
    QString legendaNaResposta;
    dialogos.whileOpen([&](const Record&) { legendaNaResposta = comandos<QPushButton>("BtTestaGuilhotina")->text(); });
    const long long grg = contador("GRG");
    comandos<QPushButton>("BtTestaGuilhotina")->click();
    EXPECT_EQ(chamadas("AbreRelatorioGerencialMFD"), 1);
    EXPECT_EQ(chamadas("UsaRelatorioGerencialMFD"), 23);
    EXPECT_EQ(chamadas("AcionaGuilhotinaMFD"), 23);
    EXPECT_EQ(chamadas("FechaRelatorioGerencial"), 1);
    EXPECT_EQ(contador("GRG"), grg + 1);
    EXPECT_EQ(textos(), QLatin1Char('"') + textoCorteLongo() + QLatin1Char('"'));
    auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 1u);
    EXPECT_TRUE(vistas[0].text.startsWith(QStringLiteral("RESPOSTA DA IMPRESSORA AO COMANDO : Fechando Relatório\r")));
    EXPECT_EQ(legendaNaResposta, QStringLiteral("Números de Cortes : 23"));
    EXPECT_EQ(comandos<QPushButton>("BtTestaGuilhotina")->text(), QStringLiteral("Testar Guilhotina"));

    // 0 cuts: the report opened and closed, no text, no cut.
    escolhe(comandos<QComboBox>("CbTesteGuilhotina"), QStringLiteral("0"));
    comandos<QPushButton>("BtTestaGuilhotina")->click();
    EXPECT_EQ(chamadas("AbreRelatorioGerencialMFD"), 2);
    EXPECT_EQ(chamadas("UsaRelatorioGerencialMFD"), 23);
    EXPECT_EQ(chamadas("AcionaGuilhotinaMFD"), 23);
    EXPECT_EQ(chamadas("FechaRelatorioGerencial"), 2);
    EXPECT_EQ(contador("GRG"), grg + 2);
    EXPECT_EQ(caixas().size(), 1u);
}

TEST_F(ServicosTest, ComConfirmacaoCadaCorteEsperaPelaResposta) {
    escolhe(comandos<QComboBox>("CbTesteGuilhotina"), QStringLiteral("2"));
    comandos<QCheckBox>("CbConfirmaCorte")->setChecked(true);
    comandos<QCheckBox>("CbCorteLongo")->setChecked(false);
    QStringList legendas;
    dialogos.whileOpen([&](const Record&) { legendas << comandos<QPushButton>("BtTestaGuilhotina")->text(); });
    comandos<QPushButton>("BtTestaGuilhotina")->click();

    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 4u);
    QStringList comandos;
    for (const Record& r : vistas) comandos << r.text.section(QLatin1Char('\r'), 0, 0).section(QStringLiteral(": "), 1);
    EXPECT_EQ(comandos, QStringList({QStringLiteral("Abrir Relatório Gerencial"), QStringLiteral("Acionar Guilhotina"),
                                     QStringLiteral("Acionar Guilhotina"), QStringLiteral("Fechando Relatório")}));
    EXPECT_EQ(legendas,
              QStringList({QStringLiteral("Aguarde !!!"), QStringLiteral("Aguarde !!!"),
                           QStringLiteral("Números de Cortes : 1"), QStringLiteral("Números de Cortes : 2")}));
    EXPECT_EQ(textos(), QLatin1Char('"') + textoCorteCurto() + QLatin1Char('"'));
    EXPECT_EQ(textoCorteCurto().size(), 5 * 47);
    EXPECT_EQ(textoCorteLongo().size(), 10 * 47 + 3 * 45);
    EXPECT_TRUE(textoCorteLongo().endsWith(QStringLiteral("valor!Teste guilhotina Zentora,Documento sem valor!")));
}

TEST_F(ServicosTest, OTesteDeGuilhotinaParaNoPrimeiroPassoRecusadoComUmaCaixa) {
    escolhe(comandos<QComboBox>("CbTesteGuilhotina"), QStringLiteral("23"));
    const auto enviados = [] {
        return QList<int>{chamadas("AbreRelatorioGerencialMFD"), chamadas("UsaRelatorioGerencialMFD"),
                          chamadas("AcionaGuilhotinaMFD"), chamadas("FechaRelatorioGerencial")};
    };

    // A receipt left open: the report is refused, nothing follows it.
    ASSERT_EQ(KesafiVirtual_DeixaDocumentoAberto("Cupom"), 1);
    comandos<QPushButton>("BtTestaGuilhotina")->click();
    EXPECT_EQ(descritas(caixas()), Caixas{"Information RETORNO DO ECF: Status diferente de 6, 0, 0 !"});
    EXPECT_EQ(enviados(), QList<int>({1, 0, 0, 0}));
    EXPECT_EQ(comandos<QPushButton>("BtTestaGuilhotina")->text(), QStringLiteral("Testar Guilhotina"));
    ASSERT_EQ(Kestrona_FI_CancelaCupom(), 1);

    // The cutter switched off: the first cut is refused and the open report
    // is closed, with no box of its own.
    ASSERT_EQ(Kestrona_FI_AtivaDesativaGuilhotinaMFD(0), 1);
    const long long grg = contador("GRG");
    comandos<QPushButton>("BtTestaGuilhotina")->click();
    EXPECT_EQ(titulos(caixas()), QStringList{kRetorno});
    EXPECT_EQ(enviados(), QList<int>({2, 1, 1, 1}));
    EXPECT_EQ(contador("GRG"), grg + 1);
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Fechando Relatório"));
    EXPECT_EQ(UStatus::iRetorno, 1);
    ASSERT_EQ(Kestrona_FI_AtivaDesativaGuilhotinaMFD(1), 1);

    // A NAK on the report's text, with confirmation of each cut: the NAK box
    // only, and no answer box carrying the opening's "COMANDO OK".
    comandos<QCheckBox>("CbConfirmaCorte")->setChecked(true);
    ASSERT_EQ(KesafiVirtual_ForcaResposta(1, KESAFI_ACK, 0, 0, 0), 1);
    ASSERT_EQ(KesafiVirtual_ForcaResposta(1, KESAFI_NAK, 0, 0, 0), 1);
    comandos<QPushButton>("BtTestaGuilhotina")->click();
    EXPECT_EQ(titulos(caixas()), QStringList({kResposta, QStringLiteral("Atenção")}));
    EXPECT_EQ(enviados(), QList<int>({3, 2, 1, 1}));
    comandos<QCheckBox>("CbConfirmaCorte")->setChecked(false);

    // The printer switched off: one communication error box.
    KesafiVirtual_Liga(0);
    comandos<QPushButton>("BtTestaGuilhotina")->click();
    EXPECT_EQ(descritas(caixas()), Caixas{"Information RETORNO DO ECF: Erro de Comunicação !"});
    EXPECT_EQ(enviados(), QList<int>({4, 2, 1, 1}));
    EXPECT_EQ(comandos<QPushButton>("BtTestaGuilhotina")->text(), QStringLiteral("Testar Guilhotina"));
}

TEST_F(ServicosTest, ConfiguracaoDaGuilhotina) {
    comandos<QPushButton>("BtCOnfiguraGuilhotina")->click();
    faltaEscolha(QStringLiteral("Escolha uma Configuração!"));
    EXPECT_EQ(FComandosAdicionais.get()->focusWidget(), comandos<QComboBox>("CbConfigGuilhotina"));

    const std::tuple<const char*, const char*, long long> casos[] = {
        {"Desativar Corte Total", "CorteTotal", 0},
        {"Ativar Corte Total", "CorteTotal", 1},
        {"Desativar Guilhotina", "Guilhotina", 0},
        {"Ativar Guilhotina", "Guilhotina", 1},
    };
    for (const auto& [item, estado, valor] : casos) {
        escolhe(comandos<QComboBox>("CbConfigGuilhotina"), QString::fromUtf8(item));
        comandos<QPushButton>("BtCOnfiguraGuilhotina")->click();
        EXPECT_EQ(contador(estado), valor) << item;
        EXPECT_EQ(UStatus::sComando, QStringLiteral("Configurando Guilhotina"));
        EXPECT_EQ(titulos(caixas()), QStringList{kResposta}) << item;
    }
    EXPECT_EQ(chamadas("AtivaDesativaCorteTotalMFD"), 2);
    EXPECT_EQ(chamadas("AtivaDesativaGuilhotinaMFD"), 2);
}

TEST_F(ServicosTest, EspacamentosEnviamONumeroEscolhido) {
    escolhe(comandos<QComboBox>("CbEspacos"), QStringLiteral("12"));
    comandos<QPushButton>("BtEspacos")->click();
    faltaEscolha(QStringLiteral("Escolha o Tipo de Espaçamento(Entre Linhas ou Cupons)!"));
    comandos<QRadioButton>("RbEntreCupons")->setChecked(true);
    comandos<QComboBox>("CbEspacos")->setCurrentIndex(0);
    comandos<QPushButton>("BtEspacos")->click();
    faltaEscolha(QStringLiteral("Escolha um Valor Para o Espaçamento!"));
    EXPECT_EQ(FComandosAdicionais.get()->focusWidget(), comandos<QComboBox>("CbEspacos"));

    escolhe(comandos<QComboBox>("CbEspacos"), QStringLiteral("12"));
    comandos<QPushButton>("BtEspacos")->click();
    EXPECT_EQ(contador("LinhasEntreCupons"), 12);
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Configurando Espaços Entre Cupons"));
    EXPECT_EQ(titulos(caixas()), QStringList{kResposta});

    comandos<QRadioButton>("RbEntreLinhas")->setChecked(true);
    for (const char* valor : {"1", "127"}) {
        escolhe(comandos<QComboBox>("CbEspacos"), QString::fromLatin1(valor));
        comandos<QPushButton>("BtEspacos")->click();
        EXPECT_EQ(contador("EspacoEntreLinhas"), QByteArray(valor).toInt());
        EXPECT_EQ(UStatus::sComando, QStringLiteral("Confugurando Espaço Entre Linhas"));
        EXPECT_EQ(titulos(caixas()), QStringList{kResposta});
    }
    // 255 is sent as chosen; this printer takes at most 127 dots.
    escolhe(comandos<QComboBox>("CbEspacos"), QStringLiteral("255"));
    comandos<QPushButton>("BtEspacos")->click();
    const auto vistas = caixas();
    EXPECT_EQ(titulos(vistas), QStringList({kRetorno, kResposta}));
    EXPECT_TRUE(terceiraResposta(vistas).endsWith(
        QStringLiteral("PROGRAMAÇÃO DE ESPAÇOS ENTRE CUPONS MENOR QUE O MÍNIMO PERMITIDO")));
    EXPECT_EQ(contador("EspacoEntreLinhas"), 127);
    EXPECT_EQ(chamadas("EspacoEntreLinhas"), 3);
    EXPECT_EQ(chamadas("LinhasEntreCupons"), 1);
}

TEST_F(ServicosTest, CancelarUmCupomDeixadoAbertoEOQuandoNaoHaNenhum) {
    // None open, and the last document is no receipt: refused.
    const long long cfc = contador("CFC");
    comandos<QPushButton>("BtCancelaCupom")->click();
    auto vistas = caixas();
    EXPECT_EQ(titulos(vistas), QStringList({kRetorno, kResposta}));
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Cancelando Cupom Fiscal"));
    EXPECT_TRUE(terceiraResposta(vistas).endsWith(
        QStringLiteral("COMANDO NÃO FOI EXECUTADO IMEDIATAMENTE APÓS O CUPOM OU CNF")));
    EXPECT_EQ(contador("CFC"), cfc);

    // A point-of-sale program stopped in the middle of a receipt.
    ASSERT_EQ(KesafiVirtual_DeixaDocumentoAberto("Cupom"), 1);
    uZentora3::LeInformacoesECF();
    caixas();
    comandos<QPushButton>("BtCancelaCupom")->click();
    vistas = caixas();
    EXPECT_EQ(titulos(vistas), QStringList{kResposta});
    EXPECT_TRUE(vistas[0].text.contains(QStringLiteral("Primeira Resposta : OK\r")));
    EXPECT_EQ(contador("CFC"), cfc + 1);
    EXPECT_EQ(contador("FlagsFiscais") & 1, 0);

    comandos<QPushButton>("BtCancelaCupom")->click();
    EXPECT_TRUE(terceiraResposta(caixas()).endsWith(QStringLiteral("CANCELAMENTO JÁ EFETUADO")));
}

TEST_F(ServicosTest, CancelarComprovanteNaoFiscalEFecharRelatorioGerencial) {
    ASSERT_EQ(KesafiVirtual_DeixaDocumentoAberto("NaoFiscal"), 1);
    const long long cnc = contador("CNC");
    comandos<QPushButton>("BtCancelaCNF")->click();
    EXPECT_EQ(titulos(caixas()), QStringList{kResposta});
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Cancelando Comprovante Não Fiscal"));
    EXPECT_EQ(textos(), QStringLiteral("NULL,NULL,NULL"));
    EXPECT_EQ(contador("CNC"), cnc + 1);
    comandos<QPushButton>("BtCancelaCNF")->click();
    EXPECT_TRUE(terceiraResposta(caixas()).endsWith(QStringLiteral("CANCELAMENTO JÁ EFETUADO")));

    ASSERT_EQ(KesafiVirtual_DeixaDocumentoAberto("Gerencial"), 1);
    // The open report holds every other document back.
    comandos<QPushButton>("BtCancelaCupom")->click();
    EXPECT_TRUE(terceiraResposta(caixas()).endsWith(QStringLiteral("CUPOM NÃO FISCAL ABERTO")));
    comandos<QPushButton>("BtFechaGerencial")->click();
    EXPECT_EQ(titulos(caixas()), QStringList{kResposta});
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Fechar Relatorio Gerencial"));
    comandos<QPushButton>("BtFechaGerencial")->click();
    EXPECT_TRUE(terceiraResposta(caixas()).endsWith(
        QStringLiteral("SEM RELATÓRIO GERENCIAL OU COMPROVANTE DE CRÉDITO OU DÉBITO ABERTO")));
}

TEST_F(ServicosTest, ImpressoraDesligadaOuNakEmCadaComando) {
    escolhe(comandos<QComboBox>("CbConfigGuilhotina"), QStringLiteral("Ativar Guilhotina"));
    escolhe(comandos<QComboBox>("CbEspacos"), QStringLiteral("20"));
    comandos<QRadioButton>("RbEntreLinhas")->setChecked(true);
    QPushButton* const botoes[] = {comandos<QPushButton>("BtCOnfiguraGuilhotina"), comandos<QPushButton>("BtEspacos"),
                                   comandos<QPushButton>("BtCancelaCupom"), comandos<QPushButton>("BtCancelaCNF"),
                                   comandos<QPushButton>("BtFechaGerencial")};
    KesafiVirtual_Liga(0);
    for (QPushButton* b : botoes) {
        b->click();
        const auto vistas = caixas();
        EXPECT_EQ(titulos(vistas), QStringList({kRetorno, kResposta})) << b->objectName().toStdString();
        EXPECT_EQ(vistas[0].text, QStringLiteral("Erro de Comunicação !"));
    }
    KesafiVirtual_Liga(1);
    for (QPushButton* b : botoes) {
        KesafiVirtual_ForcaResposta(-27, KESAFI_NAK, 0, 0, 0);
        b->click();
        const auto vistas = caixas();
        // The NAK box alone: no answer box repeats the command before.
        ASSERT_EQ(vistas.size(), 1u) << b->objectName().toStdString();
        EXPECT_EQ(vistas[0].kind, Kind::Error);
        EXPECT_EQ(vistas[0].title, QStringLiteral("Atenção"));
    }
}

}  // namespace
