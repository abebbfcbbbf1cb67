#include "tfcomandosadicionais.h"

#include <functional>

#include "core/datahora.h"
#include "core/eventos.h"
#include "core/horario_verao.h"
#include "core/sessao.h"
#include "kesafi32.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "printer/buffer.h"
#include "printer/janela.h"
#include "printer/ustatus.h"
#include "ui_tfcomandosadicionais.h"

using namespace UStatus;
using printer::bufferEmBranco;

namespace uComandosAdicionais {

printer::JanelaSobDemanda<TFComandosAdicionais> FComandosAdicionais;

namespace {

const QString kAtivo = QStringLiteral("ATIVO");
const QString kInativo = QStringLiteral("INATIVO");
const QString kTituloVerao = QStringLiteral("HORÁRIO VERÃO");
const QString kTituloPergunta = QStringLiteral("HORÁRIO DE VERÃO");
const QString kTituloRelogio = QStringLiteral("COMPARAR RELÓGIO");
const QString kLegendaVerao = QStringLiteral("Horário de Verão");
const QString kHoraZero = QStringLiteral("00:00:00");
const QString kTituloConfiguracao = QStringLiteral("CONFIGURAÇÃO");
const QString kLegendaTestaGuilhotina = QStringLiteral("Testar Guilhotina");
const QString kAguardarNovamente =
    QStringLiteral("O ECF Recusou a Saída do Horário de Verão.\rDeseja Aguardar a Hora do Comando Novamente?");

// A box of the window whose choice is missing: what to choose, and the list
// to choose it from.
void escolha(const QString& texto, QWidget* lista) {
    platform::dialogs::information(kTituloConfiguracao, texto);
    lista->setFocus();
}

// One command of the common pattern, its answer shown.
void comando(const QString& nome, const std::function<int()>& chamada) {
    sComando = nome;
    iRetorno = chamada();
    VerificaRetorno();
    MostraRespostaImpressora();
}

}  // namespace

QString textoCorteCurto() { return QStringLiteral("Teste guilhotina Zentora , Documento sem valor!").repeated(5); }

QString textoCorteLongo() {
    return QStringLiteral("Teste guilhotina Zentora , Documento sem valor!").repeated(10) +
           QStringLiteral("Teste guilhotina Zentora,Documento sem valor!").repeated(3);
}

}  // namespace uComandosAdicionais

using namespace uComandosAdicionais;

TFComandosAdicionais::TFComandosAdicionais(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TFComandosAdicionais>()) {
    ui->setupUi(this);
    printer::preparaJanela(this, Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    printer::instalaAjuda(this);

    TimerVerao.setInterval(1000);
    connect(&TimerVerao, &QTimer::timeout, this, &TFComandosAdicionais::TimerVeraoTimer);
    connect(ui->BtCompararRelogio, &QPushButton::clicked, this, &TFComandosAdicionais::BtCompararRelogioClick);
    connect(ui->BtHorarioVerao, &QPushButton::clicked, this, &TFComandosAdicionais::BtHorarioVeraoClick);

    ui->CbTesteGuilhotina->addItem(QStringLiteral("Selecione o Número de Cortes - Click Aqui"));
    for (int cortes = 0; cortes <= 50; ++cortes)
        if (cortes != 22) ui->CbTesteGuilhotina->addItem(QString::number(cortes));
    ui->CbConfigGuilhotina->addItems({QStringLiteral("Selecione a Configuração - Click Aqui"),
                                      QStringLiteral("Ativar Corte Total"), QStringLiteral("Desativar Corte Total"),
                                      QStringLiteral("Ativar Guilhotina"), QStringLiteral("Desativar Guilhotina")});
    ui->CbEspacos->addItem(QStringLiteral("Selecione o Número de Espaços - Click Aqui"));
    for (int espacos = 1; espacos <= 255; ++espacos) ui->CbEspacos->addItem(QString::number(espacos));
    // A layout file carries line breaks without their carriage returns.
    ui->LbConfigGuilhotina->setText(
        QStringLiteral("Nem Todos os Modelos São Compatíveis aos\r\nMesmos Comandos de Configuração da Guilhotina"));

    connect(ui->BtGaveta, &QPushButton::clicked, this, &TFComandosAdicionais::BtGavetaClick);
    connect(ui->BtTestaGuilhotina, &QPushButton::clicked, this, &TFComandosAdicionais::BtTestaGuilhotinaClick);
    connect(ui->BtCOnfiguraGuilhotina, &QPushButton::clicked, this, &TFComandosAdicionais::BtCOnfiguraGuilhotinaClick);
    connect(ui->BtEspacos, &QPushButton::clicked, this, &TFComandosAdicionais::BtEspacosClick);
    connect(ui->BtCancelaCupom, &QPushButton::clicked, this, &TFComandosAdicionais::BtCancelaCupomClick);
    connect(ui->BtCancelaCNF, &QPushButton::clicked, this, &TFComandosAdicionais::BtCancelaCNFClick);
    connect(ui->BtFechaGerencial, &QPushButton::clicked, this, &TFComandosAdicionais::BtFechaGerencialClick);

    core::Eventos& eventos = core::eventos();
    connect(&eventos, &core::Eventos::esperaSaidaPedida, this, &TFComandosAdicionais::EsperaSaida);
    connect(&eventos, &core::Eventos::esperaSaidaEncerrada, this, &TFComandosAdicionais::encerraEspera);
    connect(&eventos, &core::Eventos::horarioVeraoLido, this, &TFComandosAdicionais::mostraHorarioVerao);
    mostraHorarioVerao();
}

void TFComandosAdicionais::mostraHorarioVerao() {
    if (sHorarioVerao.isEmpty()) return;
    ui->BtHorarioVerao->setText(sHorarioVerao == kAtivo ? QStringLiteral("Sair do Horário de Verão")
                                                        : QStringLiteral("Entrar no Horário de Verão"));
}

void TFComandosAdicionais::mostraSemEspera() {
    ui->LbHoraAtual->setText(kHoraZero);
    ui->LbHoraComando->setText(kHoraZero);
    MostraSemContagem();
}

void TFComandosAdicionais::encerraEspera() {
    if (!TimerVerao.isActive()) return;
    TimerVerao.stop();
    ui->BtHorarioVerao->setText(kLegendaVerao);
    mostraSemEspera();
}

TFComandosAdicionais::~TFComandosAdicionais() = default;

void TFComandosAdicionais::BtCompararRelogioClick() {
    const QDateTime agora = platform::clock::now();
    const QDate diaPC = agora.date();
    const QTime horarioPC(agora.time().hour(), agora.time().minute(), agora.time().second());

    QByteArray data = bufferEmBranco(KESAFI_LARGURA_DATA);
    QByteArray hora = bufferEmBranco(KESAFI_LARGURA_HORA);
    sComando = QStringLiteral("Data e Hora do ECF");
    iRetorno = Kestrona_FI_DataHoraImpressora(data.data(), hora.data());
    VerificaRetorno();
    MostraRespostaImpressora();
    const QString dataECF = dataDoBuffer(data);
    uZentora3::LeStatusHorarioVerao();
    const QString horaECF = horaDoBuffer(hora);

    ui->LbHoraPC->setText(textoData(diaPC) + QStringLiteral("  ") + textoHora(horarioPC));
    ui->LbHoraECF->setText(dataECF + QStringLiteral("  ") + horaECF +
                           (sHorarioVerao == kAtivo ? QStringLiteral(" V") : QString()));

    const auto diaECF = dataDeTexto(dataECF);
    if (!diaECF) return naoLido(kTituloRelogio, QStringLiteral("a Data da Impressora"), dataECF);
    const auto horarioECF = horaDeTexto(horaECF);
    if (!horarioECF) return naoLido(kTituloRelogio, QStringLiteral("a Hora da Impressora"), horaECF);
    ui->LbDiferenca->setText(textoDiferenca(momento(*diaECF, *horarioECF).secsTo(momento(diaPC, horarioPC))));
}

void TFComandosAdicionais::BtHorarioVeraoClick() {
    if (sVeraoPossivel == QLatin1String("Impossivel"))
        platform::dialogs::information(kTituloVerao, QStringLiteral("Documentos Foram Impressos Após a Redução Z\rVocê "
                                                                    "Provavelmente não Conseguirá Alterar o\rHorário "
                                                                    "de Verão!!"));
    const QString estado = sHorarioVerao;
    bool sim = false;
    if (estado == kAtivo)
        sim = platform::dialogs::question(
            kTituloPergunta,
            QStringLiteral("Impressora com o Horário de Verão \"ATIVO\"\rDeseja sair do Horário de Verão?"),
            platform::dialogs::Default::No);
    else if (estado == kInativo)
        sim = platform::dialogs::question(
            kTituloPergunta,
            QStringLiteral("Impressora com o Horário de Verão \"INATIVO\"\rDeseja Entrar no Horário de Verão?"),
            platform::dialogs::Default::No);
    if (!sim) {
        platform::dialogs::information(kTituloVerao, QStringLiteral("Comando Cancelado"));
        return;
    }
    if (estado == kAtivo)
        SaiHorarioVerao();
    else
        AlteraHorarioVerao();
}

void TFComandosAdicionais::EsperaSaida(const QDateTime& horaECF) {
    dHoraECF = horaLida_ = horaECF;
    lidaEm_ = platform::clock::now();
    TimerVerao.start();
}

void TFComandosAdicionais::MostraEspera() {
    if (TimerVerao.isActive()) MostraContagem(textoHora(dHoraECF.time()), textoHora(dHoraComando.time()));
}

void TFComandosAdicionais::TimerVeraoTimer() {
    ui->BtHorarioVerao->setText(QStringLiteral("Aguarde a Hora do Comando !!!"));
    // The printer's time read in whole seconds was at least that: counted
    // from it by the computer's clock, the command is never due before the
    // printer's clock has reached its time.
    dHoraECF = horaLida_.addMSecs(lidaEm_.msecsTo(platform::clock::now()));
    const QString horaECF = textoHora(dHoraECF.time());
    const QString horaComando = textoHora(dHoraComando.time());
    ui->LbHoraAtual->setText(horaECF);
    ui->LbHoraComando->setText(horaComando);
    MostraContagem(horaECF, horaComando);
    // A command past midnight is reached only once the counted time has
    // passed midnight too.  Nothing is sent while a
    // box is open: a handler showing it is between its command and the
    // analysis of the answer.  The first tick after it has closed sends.
    if (dHoraECF >= dHoraComando && !platform::dialogs::anyOpen()) {
        TimerVerao.stop();
        ui->BtHorarioVerao->setText(kLegendaVerao);
        const bool aceito = AlteraHorarioVerao();
        mostraSemEspera();
        // Refused (the printer's clock behind, a document printed meanwhile):
        // the printer is still in daylight-saving time; the procedure may
        // run again with fresh values.
        if (!aceito && platform::dialogs::question(kTituloPergunta, kAguardarNovamente)) SaiHorarioVerao();
    }
}

void TFComandosAdicionais::BtGavetaClick() {
    int estado = 0;  // stays 0 (open) when the state cannot be read
    if (ui->CbGaveta->isChecked()) {
        comando(QStringLiteral("Estado da Gaveta"), [&] { return Kestrona_FI_VerificaEstadoGaveta(&estado); });
        const QString valor = QString::number(estado);
        if (estado == 1) {
            platform::dialogs::plain(
                QStringLiteral("A Gaveta Esta >> FECHADA << Com Base no Padão Kestrona - VALOR = ") + valor);
            ui->LbGaveta->setText(QStringLiteral("Gaveta Fechada"));
        } else {
            platform::dialogs::plain(
                QStringLiteral("A Gaveta Esta >> ABERTA << Com Base no Padão Kestrona - VALOR = ") + valor);
            ui->LbGaveta->setText(QStringLiteral("Gaveta Aberta"));
        }
        return;
    }
    comando(QStringLiteral("Abrir a Gaveta"), [] { return Kestrona_FI_AcionaGaveta(); });
    sComando = QStringLiteral("Estado da Gaveta");
    iRetorno = Kestrona_FI_VerificaEstadoGaveta(&estado);
    VerificaRetorno();
    ui->LbGaveta->setText(estado == 1 ? QStringLiteral("Gaveta Fechada") : QStringLiteral("Gaveta Aberta"));
}

void TFComandosAdicionais::BtTestaGuilhotinaClick() {
    if (ui->CbTesteGuilhotina->currentIndex() <= 0)
        return escolha(QStringLiteral("Escolha o Número de Cortes."), ui->CbTesteGuilhotina);
    QPushButton* botao = ui->BtTestaGuilhotina;
    botao->setText(QStringLiteral("Aguarde !!!"));
    botao->repaint();
    const int cortes = ui->CbTesteGuilhotina->currentText().toInt();
    // With confirmation the answer box after each step holds the test until
    // the user closes it.
    const bool confirma = ui->CbConfirmaCorte->isChecked();
    const QByteArray texto = printer::argumento(ui->CbCorteLongo->isChecked() ? textoCorteLongo() : textoCorteCurto());

    // A step the printer did not do (a failed call, a NAK) ends the test: its
    // analysis has shown the one box, and no later step is sent after it.
    const auto recusado = [] { return iRetorno < 1 || iACK == KESAFI_NAK; };
    const auto termina = [botao] {
        botao->setText(kLegendaTestaGuilhotina);
        botao->repaint();
    };

    sComando = QStringLiteral("Abrir Relatório Gerencial");
    iRetorno = Kestrona_FI_AbreRelatorioGerencialMFD("1");
    VerificaRetorno();
    if (recusado()) return termina();
    if (confirma) MostraRespostaImpressora();
    for (int corte = 1; corte <= cortes; ++corte) {
        sComando = QStringLiteral("Imprimindo Dados do Relatório");
        iRetorno = Kestrona_FI_UsaRelatorioGerencialMFD(texto.constData());
        VerificaRetorno();
        if (!recusado()) {
            sComando = QStringLiteral("Acionar Guilhotina");
            iRetorno = Kestrona_FI_AcionaGuilhotinaMFD(0);
            VerificaRetorno();
        }
        if (recusado()) {
            // A printer that answered still has the report open: it is closed,
            // and only a refusal of that shows a further box.
            if (iRetorno != 0 && iACK != KESAFI_NAK) {
                sComando = QStringLiteral("Fechando Relatório");
                iRetorno = Kestrona_FI_FechaRelatorioGerencial();
                VerificaRetorno();
            }
            return termina();
        }
        if (confirma) MostraRespostaImpressora();
        botao->setText(QStringLiteral("Números de Cortes : ") + QString::number(corte));
        botao->repaint();
    }
    comando(QStringLiteral("Fechando Relatório"), [] { return Kestrona_FI_FechaRelatorioGerencial(); });
    termina();
}

void TFComandosAdicionais::BtCOnfiguraGuilhotinaClick() {
    const int escolhida = ui->CbConfigGuilhotina->currentIndex();
    if (escolhida <= 0) return escolha(QStringLiteral("Escolha uma Configuração!"), ui->CbConfigGuilhotina);
    // "Ativar Corte Total", "Desativar Corte Total", "Ativar Guilhotina", "Desativar Guilhotina".
    const int ativa = escolhida % 2;
    comando(QStringLiteral("Configurando Guilhotina"), [&] {
        return escolhida <= 2 ? Kestrona_FI_AtivaDesativaCorteTotalMFD(ativa)
                              : Kestrona_FI_AtivaDesativaGuilhotinaMFD(ativa);
    });
}

void TFComandosAdicionais::BtEspacosClick() {
    if (!ui->RbEntreLinhas->isChecked() && !ui->RbEntreCupons->isChecked()) {
        platform::dialogs::information(kTituloConfiguracao,
                                       QStringLiteral("Escolha o Tipo de Espaçamento(Entre Linhas ou Cupons)!"));
        return;
    }
    if (ui->CbEspacos->currentIndex() <= 0)
        return escolha(QStringLiteral("Escolha um Valor Para o Espaçamento!"), ui->CbEspacos);
    const int espacos = ui->CbEspacos->currentText().toInt();
    if (ui->RbEntreLinhas->isChecked())
        comando(QStringLiteral("Confugurando Espaço Entre Linhas"),
                [&] { return Kestrona_FI_EspacoEntreLinhas(espacos); });
    else
        comando(QStringLiteral("Configurando Espaços Entre Cupons"),
                [&] { return Kestrona_FI_LinhasEntreCupons(espacos); });
}

void TFComandosAdicionais::BtCancelaCupomClick() {
    comando(QStringLiteral("Cancelando Cupom Fiscal"), [] { return Kestrona_FI_CancelaCupom(); });
}

void TFComandosAdicionais::BtCancelaCNFClick() {
    comando(QStringLiteral("Cancelando Comprovante Não Fiscal"),
            [] { return Kestrona_FI_CancelaRecebimentoNaoFiscalMFD(nullptr, nullptr, nullptr); });
}

void TFComandosAdicionais::BtFechaGerencialClick() {
    comando(QStringLiteral("Fechar Relatorio Gerencial"), [] { return Kestrona_FI_FechaRelatorioGerencial(); });
}
