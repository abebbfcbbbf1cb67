// The drawer, cutter, spacing and cancel boxes of the additional commands
// window against the virtual printer.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "core/sessao.h"
#include "auxiliares.h"
#include "commands/tfcomandosadicionais.h"
#include "kesafi32.h"
#include "kesafi_virtual.h"
#include "platform/clock.h"
#include "printer/ustatus.h"
#include "tela.h"
#include "ui_tfcomandosadicionais.h"
#include "ui_tfprincipal.h"

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
        uZentora3::Fprincipal->ui->BtLocalizarImpressora->click();
        uZentora3::Fprincipal->BtComandosAdicionaisClick();
        caixas();
        // The printer's clock stands still at 10:00 of the day after its last reduction.
        relogio(QTime(10, 0, 0));
    }

    Ui::TFComandosAdicionais* ui() const { return FComandosAdicionais.get()->ui.get(); }
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
        {ui()->BtGaveta, "GbGaveta"},
        {ui()->CbGaveta, "GbGaveta"},
        {ui()->LbGaveta, "GbGaveta"},
        {ui()->BtTestaGuilhotina, "GbTestaGuilhotina"},
        {ui()->CbTesteGuilhotina, "GbTestaGuilhotina"},
        {ui()->CbCorteLongo, "GbTestaGuilhotina"},
        {ui()->CbConfirmaCorte, "GbTestaGuilhotina"},
        {ui()->BtCOnfiguraGuilhotina, "GbConfigGuilhotina"},
        {ui()->CbConfigGuilhotina, "GbConfigGuilhotina"},
        {ui()->LbConfigGuilhotina, "GbConfigGuilhotina"},
        {ui()->BtEspacos, "GbEspacos"},
        {ui()->CbEspacos, "GbEspacos"},
        {ui()->RbEntreLinhas, "GbEspacos"},
        {ui()->RbEntreCupons, "GbEspacos"},
        {ui()->BtCancelaCupom, "GbCancelaCupom"},
        {ui()->BtCancelaCNF, "GbCancelaCNF"},
        {ui()->BtFechaGerencial, "GbFechaGerencial"},
    };
    for (const auto& [controle, caixa] : controles) {
        EXPECT_EQ(controle->parentWidget()->objectName(), QLatin1String(caixa)) << caixa;
        EXPECT_TRUE(controle->parentWidget()->rect().contains(controle->geometry())) << caixa;
        EXPECT_TRUE(controle->isEnabled());
    }
    EXPECT_EQ(ui()->BtGaveta->text(), QStringLiteral("Abrir ou Verificar Gaveta"));
    EXPECT_EQ(ui()->CbGaveta->text(), QStringLiteral("Apenas Verificar o Estado da Gaveta"));
    EXPECT_FALSE(ui()->CbGaveta->isChecked());
    EXPECT_EQ(ui()->LbGaveta->text(), QStringLiteral("Estado da Gaveta"));
    EXPECT_TRUE(ui()->LbGaveta->font().bold());
    EXPECT_EQ(ui()->BtTestaGuilhotina->text(), QStringLiteral("Testar Guilhotina"));
    EXPECT_TRUE(ui()->CbCorteLongo->isChecked());
    EXPECT_EQ(ui()->CbCorteLongo->text(), QStringLiteral("Espaço Longo Entre os Cortes"));
    EXPECT_FALSE(ui()->CbConfirmaCorte->isChecked());
    EXPECT_EQ(ui()->CbConfirmaCorte->text(), QStringLiteral("Aguardar Confirmação em Cada Corte"));
    EXPECT_EQ(ui()->BtCOnfiguraGuilhotina->text(), QStringLiteral("Configurar Guilhotina"));
    EXPECT_EQ(
        ui()->LbConfigGuilhotina->text(),
        QStringLiteral("Nem Todos os Modelos São Compatíveis aos\r\nMesmos Comandos de Configuração da Guilhotina"));
    EXPECT_EQ(ui()->BtEspacos->text(), QStringLiteral("Configurar Espaçamentos"));
    EXPECT_FALSE(ui()->RbEntreLinhas->isChecked());
    EXPECT_FALSE(ui()->RbEntreCupons->isChecked());
    EXPECT_EQ(ui()->RbEntreLinhas->text() + '|' + ui()->RbEntreCupons->text(),
              QStringLiteral("Espaço Entre Linhas|Espaço Entre Cupons"));
    EXPECT_EQ(ui()->BtCancelaCupom->text(), QStringLiteral("Cancelar Cupom Fiscal"));
    EXPECT_EQ(ui()->BtCancelaCNF->text(), QStringLiteral("Cancelar Comprovante não Fiscal"));
    EXPECT_EQ(ui()->BtFechaGerencial->text(), QStringLiteral("Fechar Relatório Gerencial"));

    // 51 cut counts without 22; the configurations; 1 to 255 spaces; nothing typed.
    QStringList cortes;
    for (int i = 0; i < ui()->CbTesteGuilhotina->count(); ++i) cortes << ui()->CbTesteGuilhotina->itemText(i);
    ASSERT_EQ(cortes.size(), 51);
    EXPECT_EQ(cortes[0], QStringLiteral("Selecione o Número de Cortes - Click Aqui"));
    EXPECT_EQ(cortes.mid(21, 3), QStringList({QStringLiteral("20"), QStringLiteral("21"), QStringLiteral("23")}));
    EXPECT_EQ(cortes[1] + '|' + cortes[50], QStringLiteral("0|50"));
    EXPECT_FALSE(cortes.contains(QStringLiteral("22")));
    QStringList configuracoes;
    for (int i = 0; i < ui()->CbConfigGuilhotina->count(); ++i) configuracoes << ui()->CbConfigGuilhotina->itemText(i);
    EXPECT_EQ(configuracoes,
              QStringList({QStringLiteral("Selecione a Configuração - Click Aqui"),
                           QStringLiteral("Ativar Corte Total"), QStringLiteral("Desativar Corte Total"),
                           QStringLiteral("Ativar Guilhotina"), QStringLiteral("Desativar Guilhotina")}));
    ASSERT_EQ(ui()->CbEspacos->count(), 256);
    EXPECT_EQ(ui()->CbEspacos->itemText(0), QStringLiteral("Selecione o Número de Espaços - Click Aqui"));
    EXPECT_EQ(ui()->CbEspacos->itemText(1) + '|' + ui()->CbEspacos->itemText(255), QStringLiteral("1|255"));
    for (QComboBox* lista : {ui()->CbTesteGuilhotina, ui()->CbConfigGuilhotina, ui()->CbEspacos}) {
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

    EXPECT_EQ(legendaDesenhada(ui()->LbConfigGuilhotina).linhas, 2);
    EXPECT_EQ(legendaDesenhada(ui()->LbGaveta).linhas, 1);
    ui()->BtCompararRelogio->click();
    caixas();
    ASSERT_TRUE(ui()->LbDiferenca->text().contains(QLatin1Char('\r')));
    const LegendaDesenhada diferenca = legendaDesenhada(ui()->LbDiferenca);
    EXPECT_EQ(diferenca.linhas, 2);
    EXPECT_LT(diferenca.area.right(), ui()->LbDiferenca->width() - 1);
}

TEST_F(ServicosTest, AbrirAGavetaMostraOEstadoLidoDepois) {
    ASSERT_EQ(contador("Gaveta"), 1);
    ui()->BtGaveta->click();
    auto vistas = caixas();
    EXPECT_EQ(titulos(vistas), QStringList{kResposta});
    EXPECT_TRUE(vistas[0].text.startsWith(QStringLiteral("RESPOSTA DA IMPRESSORA AO COMANDO : Abrir a Gaveta\r")));
    EXPECT_EQ(chamadas("AcionaGaveta"), 1);
    EXPECT_EQ(chamadas("VerificaEstadoGaveta"), 1);
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Estado da Gaveta"));
    EXPECT_EQ(ui()->LbGaveta->text(), QStringLiteral("Gaveta Aberta"));

    // A drawer that reads closed right after the pulse (state 1); one that
    // cannot be read stays 0, open.
    ASSERT_EQ(KesafiVirtual_ForcaEstadoGaveta(1), 1);
    ui()->BtGaveta->click();
    EXPECT_EQ(ui()->LbGaveta->text(), QStringLiteral("Gaveta Fechada"));
    caixas();
    KesafiVirtual_ForcaResposta(1, KESAFI_ACK, 0, 0, 0);  // the pulse
    KesafiVirtual_ForcaResposta(-27, KESAFI_ACK, 0, 1, 2);
    ui()->BtGaveta->click();
    EXPECT_EQ(ui()->LbGaveta->text(), QStringLiteral("Gaveta Aberta"));
    EXPECT_EQ(titulos(caixas()), QStringList({kResposta, kRetorno}));
}

TEST_F(ServicosTest, VerificarAGavetaInformaOValorLido) {
    ui()->CbGaveta->setChecked(true);
    const auto verifica = [this](const QString& estado, const QString& rotulo) {
        ui()->BtGaveta->click();
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
    EXPECT_EQ(ui()->LbGaveta->text(), QStringLiteral("Gaveta Fechada"));
    EXPECT_EQ(chamadas("AcionaGaveta"), 0);

    ASSERT_EQ(Kestrona_FI_AcionaGaveta(), 1);
    verifica(QStringLiteral("ABERTA"), QStringLiteral("0"));
    EXPECT_EQ(ui()->LbGaveta->text(), QStringLiteral("Gaveta Aberta"));
    relogio(QTime(10, 0, 10));  // the drawer is pushed shut again
    verifica(QStringLiteral("FECHADA"), QStringLiteral("1"));

    ASSERT_EQ(KesafiVirtual_ForcaEstadoGaveta(7), 1);
    verifica(QStringLiteral("ABERTA"), QStringLiteral("7"));
    EXPECT_EQ(ui()->LbGaveta->text(), QStringLiteral("Gaveta Aberta"));

    // Switched off: nothing read, shown as open with the value 0.
    KesafiVirtual_Liga(0);
    ui()->BtGaveta->click();
    const auto vistas = caixas();
    ASSERT_EQ(vistas.size(), 3u);
    EXPECT_EQ(vistas[0].title, kRetorno);
    EXPECT_EQ(vistas[0].text, QStringLiteral("Erro de Comunicação !"));
    EXPECT_TRUE(vistas[2].text.endsWith(QStringLiteral(">> ABERTA << Com Base no Padão Kestrona - VALOR = 0")));
}

TEST_F(ServicosTest, TesteDeGuilhotinaCortaONumeroEscolhido) {
    ui()->BtTestaGuilhotina->click();
    faltaEscolha(QStringLiteral("Escolha o Número de Cortes."));
    EXPECT_EQ(FComandosAdicionais.get()->focusWidget(), ui()->CbTesteGuilhotina);
    EXPECT_EQ(chamadas("AbreRelatorioGerencialMFD"), 0);

    // 23 cuts with the long text; one answer box, after the report is closed.
    escolhe(ui()->CbTesteGuilhotina, QStringLiteral("23"));
    QString legendaNaResposta;
    dialogos.whileOpen([&](const Record&) { legendaNaResposta = ui()->BtTestaGuilhotina->text(); });
    const long long grg = contador("GRG");
    ui()->BtTestaGuilhotina->click();
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
    EXPECT_EQ(ui()->BtTestaGuilhotina->text(), QStringLiteral("Testar Guilhotina"));

    // 0 cuts: the report opened and closed, no text, no cut.
    escolhe(ui()->CbTesteGuilhotina, QStringLiteral("0"));
    ui()->BtTestaGuilhotina->click();
    EXPECT_EQ(chamadas("AbreRelatorioGerencialMFD"), 2);
    EXPECT_EQ(chamadas("UsaRelatorioGerencialMFD"), 23);
    EXPECT_EQ(chamadas("AcionaGuilhotinaMFD"), 23);
    EXPECT_EQ(chamadas("FechaRelatorioGerencial"), 2);
    EXPECT_EQ(contador("GRG"), grg + 2);
    EXPECT_EQ(caixas().size(), 1u);
}

TEST_F(ServicosTest, ComConfirmacaoCadaCorteEsperaPelaResposta) {
    escolhe(ui()->CbTesteGuilhotina, QStringLiteral("2"));
    ui()->CbConfirmaCorte->setChecked(true);
    ui()->CbCorteLongo->setChecked(false);
    QStringList legendas;
    dialogos.whileOpen([&](const Record&) { legendas << ui()->BtTestaGuilhotina->text(); });
    ui()->BtTestaGuilhotina->click();

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
    escolhe(ui()->CbTesteGuilhotina, QStringLiteral("23"));
    const auto enviados = [] {
        return QList<int>{chamadas("AbreRelatorioGerencialMFD"), chamadas("UsaRelatorioGerencialMFD"),
                          chamadas("AcionaGuilhotinaMFD"), chamadas("FechaRelatorioGerencial")};
    };

    // A receipt left open: the report is refused, nothing follows it.
    ASSERT_EQ(KesafiVirtual_DeixaDocumentoAberto("Cupom"), 1);
    ui()->BtTestaGuilhotina->click();
    EXPECT_EQ(descritas(caixas()), Caixas{"Information RETORNO DO ECF: Status diferente de 6, 0, 0 !"});
    EXPECT_EQ(enviados(), QList<int>({1, 0, 0, 0}));
    EXPECT_EQ(ui()->BtTestaGuilhotina->text(), QStringLiteral("Testar Guilhotina"));
    ASSERT_EQ(Kestrona_FI_CancelaCupom(), 1);

    // The cutter switched off: the first cut is refused and the open report
    // is closed, with no box of its own.
    ASSERT_EQ(Kestrona_FI_AtivaDesativaGuilhotinaMFD(0), 1);
    const long long grg = contador("GRG");
    ui()->BtTestaGuilhotina->click();
    EXPECT_EQ(titulos(caixas()), QStringList{kRetorno});
    EXPECT_EQ(enviados(), QList<int>({2, 1, 1, 1}));
    EXPECT_EQ(contador("GRG"), grg + 1);
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Fechando Relatório"));
    EXPECT_EQ(UStatus::iRetorno, 1);
    ASSERT_EQ(Kestrona_FI_AtivaDesativaGuilhotinaMFD(1), 1);

    // A NAK on the report's text, with confirmation of each cut: the NAK box
    // only, and no answer box carrying the opening's "COMANDO OK".
    ui()->CbConfirmaCorte->setChecked(true);
    ASSERT_EQ(KesafiVirtual_ForcaResposta(1, KESAFI_ACK, 0, 0, 0), 1);
    ASSERT_EQ(KesafiVirtual_ForcaResposta(1, KESAFI_NAK, 0, 0, 0), 1);
    ui()->BtTestaGuilhotina->click();
    EXPECT_EQ(titulos(caixas()), QStringList({kResposta, QStringLiteral("Atenção")}));
    EXPECT_EQ(enviados(), QList<int>({3, 2, 1, 1}));
    ui()->CbConfirmaCorte->setChecked(false);

    // The printer switched off: one communication error box.
    KesafiVirtual_Liga(0);
    ui()->BtTestaGuilhotina->click();
    EXPECT_EQ(descritas(caixas()), Caixas{"Information RETORNO DO ECF: Erro de Comunicação !"});
    EXPECT_EQ(enviados(), QList<int>({4, 2, 1, 1}));
    EXPECT_EQ(ui()->BtTestaGuilhotina->text(), QStringLiteral("Testar Guilhotina"));
}

TEST_F(ServicosTest, ConfiguracaoDaGuilhotina) {
    ui()->BtCOnfiguraGuilhotina->click();
    faltaEscolha(QStringLiteral("Escolha uma Configuração!"));
    EXPECT_EQ(FComandosAdicionais.get()->focusWidget(), ui()->CbConfigGuilhotina);

    const std::tuple<const char*, const char*, long long> casos[] = {
        {"Desativar Corte Total", "CorteTotal", 0},
        {"Ativar Corte Total", "CorteTotal", 1},
        {"Desativar Guilhotina", "Guilhotina", 0},
        {"Ativar Guilhotina", "Guilhotina", 1},
    };
    for (const auto& [item, estado, valor] : casos) {
        escolhe(ui()->CbConfigGuilhotina, QString::fromUtf8(item));
        ui()->BtCOnfiguraGuilhotina->click();
        EXPECT_EQ(contador(estado), valor) << item;
        EXPECT_EQ(UStatus::sComando, QStringLiteral("Configurando Guilhotina"));
        EXPECT_EQ(titulos(caixas()), QStringList{kResposta}) << item;
    }
    EXPECT_EQ(chamadas("AtivaDesativaCorteTotalMFD"), 2);
    EXPECT_EQ(chamadas("AtivaDesativaGuilhotinaMFD"), 2);
}

TEST_F(ServicosTest, EspacamentosEnviamONumeroEscolhido) {
    escolhe(ui()->CbEspacos, QStringLiteral("12"));
    ui()->BtEspacos->click();
    faltaEscolha(QStringLiteral("Escolha o Tipo de Espaçamento(Entre Linhas ou Cupons)!"));
    ui()->RbEntreCupons->setChecked(true);
    ui()->CbEspacos->setCurrentIndex(0);
    ui()->BtEspacos->click();
    faltaEscolha(QStringLiteral("Escolha um Valor Para o Espaçamento!"));
    EXPECT_EQ(FComandosAdicionais.get()->focusWidget(), ui()->CbEspacos);

    escolhe(ui()->CbEspacos, QStringLiteral("12"));
    ui()->BtEspacos->click();
    EXPECT_EQ(contador("LinhasEntreCupons"), 12);
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Configurando Espaços Entre Cupons"));
    EXPECT_EQ(titulos(caixas()), QStringList{kResposta});

    ui()->RbEntreLinhas->setChecked(true);
    for (const char* valor : {"1", "127"}) {
        escolhe(ui()->CbEspacos, QString::fromLatin1(valor));
        ui()->BtEspacos->click();
        EXPECT_EQ(contador("EspacoEntreLinhas"), QByteArray(valor).toInt());
        EXPECT_EQ(UStatus::sComando, QStringLiteral("Confugurando Espaço Entre Linhas"));
        EXPECT_EQ(titulos(caixas()), QStringList{kResposta});
    }
    // 255 is sent as chosen; this printer takes at most 127 dots.
    escolhe(ui()->CbEspacos, QStringLiteral("255"));
    ui()->BtEspacos->click();
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
    ui()->BtCancelaCupom->click();
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
    ui()->BtCancelaCupom->click();
    vistas = caixas();
    EXPECT_EQ(titulos(vistas), QStringList{kResposta});
    EXPECT_TRUE(vistas[0].text.contains(QStringLiteral("Primeira Resposta : OK\r")));
    EXPECT_EQ(contador("CFC"), cfc + 1);
    EXPECT_EQ(contador("FlagsFiscais") & 1, 0);

    ui()->BtCancelaCupom->click();
    EXPECT_TRUE(terceiraResposta(caixas()).endsWith(QStringLiteral("CANCELAMENTO JÁ EFETUADO")));
}

TEST_F(ServicosTest, CancelarComprovanteNaoFiscalEFecharRelatorioGerencial) {
    ASSERT_EQ(KesafiVirtual_DeixaDocumentoAberto("NaoFiscal"), 1);
    const long long cnc = contador("CNC");
    ui()->BtCancelaCNF->click();
    EXPECT_EQ(titulos(caixas()), QStringList{kResposta});
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Cancelando Comprovante Não Fiscal"));
    EXPECT_EQ(textos(), QStringLiteral("NULL,NULL,NULL"));
    EXPECT_EQ(contador("CNC"), cnc + 1);
    ui()->BtCancelaCNF->click();
    EXPECT_TRUE(terceiraResposta(caixas()).endsWith(QStringLiteral("CANCELAMENTO JÁ EFETUADO")));

    ASSERT_EQ(KesafiVirtual_DeixaDocumentoAberto("Gerencial"), 1);
    // The open report holds every other document back.
    ui()->BtCancelaCupom->click();
    EXPECT_TRUE(terceiraResposta(caixas()).endsWith(QStringLiteral("CUPOM NÃO FISCAL ABERTO")));
    ui()->BtFechaGerencial->click();
    EXPECT_EQ(titulos(caixas()), QStringList{kResposta});
    EXPECT_EQ(UStatus::sComando, QStringLiteral("Fechar Relatorio Gerencial"));
    ui()->BtFechaGerencial->click();
    EXPECT_TRUE(terceiraResposta(caixas()).endsWith(
        QStringLiteral("SEM RELATÓRIO GERENCIAL OU COMPROVANTE DE CRÉDITO OU DÉBITO ABERTO")));
}

TEST_F(ServicosTest, ImpressoraDesligadaOuNakEmCadaComando) {
    escolhe(ui()->CbConfigGuilhotina, QStringLiteral("Ativar Guilhotina"));
    escolhe(ui()->CbEspacos, QStringLiteral("20"));
    ui()->RbEntreLinhas->setChecked(true);
    QPushButton* const botoes[] = {ui()->BtCOnfiguraGuilhotina, ui()->BtEspacos, ui()->BtCancelaCupom,
                                   ui()->BtCancelaCNF, ui()->BtFechaGerencial};
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
