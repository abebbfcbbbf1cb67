#include "tfrelfiscais.h"

#include "core/eventos.h"
#include "core/horario_verao.h"
#include "core/sessao.h"
#include "kesafi32.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "printer/buffer.h"
#include "printer/colunas.h"
#include "printer/janela.h"
#include "printer/nomes.h"
#include "printer/ustatus.h"
#include "ui_tfrelfiscais.h"

using namespace UStatus;

namespace {

const QString kTituloLeituraX = QStringLiteral("LEITURA \"X\"");
const QString kTituloReducao = QStringLiteral("REDUÇÃO");
const QString kTituloEmissaoZ = QStringLiteral("EMISSÃO DA REDUÇÃO \"Z\"");
const QString kLegendaLeituraX = QStringLiteral("Emitir Leitura X");
const QString kLegendaReducaoZ = QStringLiteral("Emitir Redução Z");
const QString kTituloMF = QStringLiteral("Leitura da MF");
const QString kTituloLeituraMF = QStringLiteral("LEITURA \"MF\"");
const QString kLegendaLeituraMF = QStringLiteral("Emitir Leitura da Memória Fiscal");

// The button shows the wait while the library call blocks the window.
void aguarde(QPushButton* botao) {
    botao->setText(QStringLiteral("Aguarde !!!"));
    botao->repaint();
}

void cancelado() { platform::dialogs::information(kTituloReducao, QStringLiteral("Comando Cancelado")); }

void avisoMF(const QString& texto) { platform::dialogs::information(kTituloMF, texto); }

// A reduction number as typed over its mask ("12  ", "0005"), blanks left out.
int numeroReducao(QString texto) {
    texto.remove(QLatin1Char(' '));
    return texto.toInt();
}

}  // namespace

namespace URelFiscais {

printer::JanelaSobDemanda<TFRelFiscais> FRelFiscais;

bool mostraCaptura(QPlainTextEdit* memo, const QString& primeiraLinha, const QString& titulo, const Captura& captura) {
    memo->clear();
    if (!captura.nova()) {
        memo->setPlainText(primeiraLinha + QLatin1Char('\n') + semLeitura());
        memo->repaint();
        return false;
    }
    const QString arquivo = arquivoCaptura();
    const std::optional<QStringList> linhas = leLinhas(arquivo);
    if (!linhas) {
        memo->repaint();
        platform::dialogs::error(titulo, QStringLiteral("Não Foi Possível Abrir o Arquivo da Leitura:\r") + arquivo);
        return false;
    }
    memo->setPlainText((QStringList{primeiraLinha} + *linhas).join(QLatin1Char('\n')));
    memo->repaint();
    return true;
}

}  // namespace URelFiscais

TFRelFiscais::TFRelFiscais(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TFRelFiscais>()) {
    ui->setupUi(this);
    printer::preparaJanela(this, Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    printer::instalaAjuda(this);
    // A layout file carries line breaks without their carriage returns.
    ui->sLabel1->setText(QStringLiteral(
        "Utilize Papel Homologado pelo Ato Cotepe ICMS Nº 7, de 16 de Março de 2011\r\nPapel Termoscript KPR 55"));
    ui->LbMsgZ->setText(QStringLiteral("Marque a Caixa e Leia\r\no Texto Antes de\r\nHabilitar o Botão"));
    ui->LbInfo30Dias->setText(QStringLiteral("Todas as Reduções\r\ndos Últimos 30 Dias"));
    // Readings show as printed.
    printer::mostraEmColunas(ui->MemoRelFiscal, printer::kColunasDaBobina);

    connect(ui->BtLeituraX, &QPushButton::clicked, this, &TFRelFiscais::BtLeituraXClick);
    // The gate follows every change of the box, also one made by the program.
    connect(ui->CbHabilitaZ, &QCheckBox::toggled, this, &TFRelFiscais::CbHabilitaZClick);
    connect(ui->BtReducaoZ, &QPushButton::clicked, this, &TFRelFiscais::BtReducaoZClick);

    // A range is chosen when its radio becomes checked, by the user or by the program.
    const auto aoMarcar = [this](QRadioButton* radio, void (TFRelFiscais::*handler)()) {
        connect(radio, &QRadioButton::toggled, this, [this, handler](bool marcado) {
            if (marcado) (this->*handler)();
        });
    };
    aoMarcar(ui->RbMfPorData, &TFRelFiscais::RbMfPorDataClick);
    aoMarcar(ui->RbMfPorZ, &TFRelFiscais::RbMfPorZClick);
    aoMarcar(ui->RbMf30Dias, &TFRelFiscais::RbMf30DiasClick);
    connect(ui->BtLeituraMF, &QPushButton::clicked, this, &TFRelFiscais::BtLeituraMFClick);

    core::Eventos& eventos = core::eventos();
    connect(&eventos, &core::Eventos::horarioVeraoLido, this, &TFRelFiscais::mostraHorarioVerao);
    connect(&eventos, &core::Eventos::contagemVerao, ui->BtReducaoZ, &QPushButton::setText);
    mostraHorarioVerao();
}

void TFRelFiscais::mostraHorarioVerao() {
    if (sHorarioVerao.isEmpty()) return;
    ui->CbHorarioVeraoZ->setText(QStringLiteral("Ajustar Horário de Verão Após a Redução(Atualmente ") + sHorarioVerao +
                                 QLatin1Char(')'));
}

TFRelFiscais::~TFRelFiscais() = default;

void TFRelFiscais::BtLeituraXClick() {
    sNomeArquivo = printer::nomeDoRelatorio(sNumeroSerie);
    ui->MemoRelFiscal->clear();
    ui->MemoRelFiscal->repaint();

    if (ui->RbImprimirX->isChecked()) {
        aguarde(ui->BtLeituraX);
        sComando = QStringLiteral("Imprimindo Leitura X");
        iRetorno = Kestrona_FI_LeituraX();
        VerificaRetorno();
        MostraRespostaImpressora();
        ui->BtLeituraX->setText(kLegendaLeituraX);
        return;
    }

    aguarde(ui->BtLeituraX);
    sComando = QStringLiteral("Obtendo Leitura X");
    const URelFiscais::Captura captura;
    const int retorno = iRetorno = Kestrona_FI_LeituraXSerial();
    VerificaRetorno();
    MostraRespostaImpressora();
    ui->BtLeituraX->setText(kLegendaLeituraX);

    if (ui->RbVisualizarX->isChecked())
        // Whatever the result, what this call captured, if anything.
        URelFiscais::mostraCaptura(ui->MemoRelFiscal, QStringLiteral("Leitura X pela Serial"), kTituloLeituraX,
                                   captura);
    else if (retorno > 0)
        URelFiscais::salvaCaptura(QStringLiteral("_LX.txt"), kTituloLeituraX, captura);
}

void TFRelFiscais::CbHabilitaZClick() {
    if (ui->CbHabilitaZ->isChecked()) {
        platform::dialogs::information(
            kTituloReducao,
            QStringLiteral("Estou ciente que, ao emitir a Redução Z pelo Zentora ,\rpoderei ter problemas com o meu "
                           "aplicativo PAF-ECF e \restou executando este comando mediante a orientação do \rsuporte "
                           "técnico da empresa responsável por meus aplicativos fiscais."));
        ui->BtReducaoZ->setEnabled(true);
    } else {
        ui->BtReducaoZ->setEnabled(false);
    }
}

void TFRelFiscais::BtReducaoZClick() {
    // The computer's date and time of the click, before any question.
    const bool ajustaRelogio = ui->CbAjustaHora->isChecked();
    QByteArray data;
    QByteArray hora;
    if (ajustaRelogio) {
        const QDateTime agora = platform::clock::now();
        data = printer::argumento(agora.toString(QStringLiteral("ddMMyy")));
        hora = printer::argumento(agora.toString(QStringLiteral("HHmmss")));
        if (!platform::dialogs::question(
                kTituloEmissaoZ,
                QStringLiteral("Atenção!!! Você Marcou a Opção de Ajuste de Relógio\rDessa Forma, o ECF Ajustará seu "
                               "Relógio em Até 5 Minutos\rem Relação a Hora do Computador.!\rVocê Tem Certeza que a "
                               "Data e Hora de seu Computador esta Correta?"),
                platform::dialogs::Default::No)) {
            cancelado();
            return;
        }
    }
    if (!platform::dialogs::question(kTituloEmissaoZ,
                                     QStringLiteral("Deseja Realmente Emitir a Redução Z?\rse a Redução não Estiver "
                                                    "Pendente ,\ro ECF Ficará Bloqueado até as 23:59:59!"),
                                     platform::dialogs::Default::No)) {
        cancelado();
        return;
    }

    aguarde(ui->BtReducaoZ);
    sComando = QStringLiteral("Redução Z");
    iRetorno =
        Kestrona_FI_ReducaoZ(ajustaRelogio ? data.constData() : nullptr, ajustaRelogio ? hora.constData() : nullptr);
    VerificaRetorno();
    MostraRespostaImpressora();
    ui->BtReducaoZ->setText(kLegendaReducaoZ);

    // The switch follows the reduction whatever its result.
    if (ui->CbHorarioVeraoZ->isChecked()) {
        if (sHorarioVerao == QLatin1String("ATIVO"))
            uComandosAdicionais::SaiHorarioVerao();
        else
            uComandosAdicionais::AlteraHorarioVerao();
    }

    uZentora3::LeInformacoesECF();
}

void TFRelFiscais::RbMfPorDataClick() {
    ui->EdMFZInicial->setEnabled(false);
    ui->EdMFZFinal->setEnabled(false);
    ui->EdMfDataInicial->setEnabled(true);
    ui->EdMfDataFinal->setEnabled(true);
    ui->EdMfDataInicial->clear();
    ui->EdMfDataFinal->clear();
    ui->EdMfDataInicial->setFocus();
}

void TFRelFiscais::RbMfPorZClick() {
    ui->EdMFZInicial->setEnabled(true);
    ui->EdMFZFinal->setEnabled(true);
    ui->EdMfDataInicial->setEnabled(false);
    ui->EdMfDataFinal->setEnabled(false);
    ui->EdMFZInicial->clear();
    ui->EdMFZFinal->clear();
    ui->EdMFZInicial->setFocus();
}

void TFRelFiscais::RbMf30DiasClick() {
    for (QLineEdit* edit : {static_cast<QLineEdit*>(ui->EdMfDataInicial), static_cast<QLineEdit*>(ui->EdMfDataFinal),
                            ui->EdMFZInicial, ui->EdMFZFinal})
        edit->setEnabled(false);
    const QDate hoje = platform::clock::now().date();
    ui->EdMfDataInicial->setText(hoje.addDays(-30).toString(QStringLiteral("dd/MM/yy")));
    ui->EdMfDataFinal->setText(hoje.toString(QStringLiteral("dd/MM/yy")));
}

void TFRelFiscais::BtLeituraMFClick() {
    sNomeArquivo = printer::nomeDoRelatorio(sNumeroSerie);
    const bool porData = ui->RbMfPorData->isChecked() || ui->RbMf30Dias->isChecked();
    if (!porData && !ui->RbMfPorZ->isChecked()) {
        avisoMF(
            QStringLiteral("Você deve Escolher o Tipo de Leitura!\rEscolha por Data, Redução ou dos Últimos 30 Dias"));
        return;
    }

    const QString flag = ui->CbMfSimplificada->isChecked() ? QStringLiteral("s") : QStringLiteral("c");
    const bool imprimir = ui->RbImprimirMF->isChecked();
    // As shown: the dates with their slashes, the reductions with their blanks.
    const QString inicial = porData ? ui->EdMfDataInicial->texto() : ui->EdMFZInicial->displayText();
    const QString final = porData ? ui->EdMfDataFinal->texto() : ui->EdMFZFinal->displayText();

    if (porData) {
        if (!URelFiscais::DataValida(inicial) || !URelFiscais::DataValida(final)) {
            avisoMF(QStringLiteral("Você deve Escolher uma Data Válida!\rDigite uma Data Válida entre 2000 e 2060"));
            ui->EdMfDataInicial->setFocus();
            return;
        }
        for (const QString& data : {inicial, final}) {
            const QString ano = data.mid(6, 2).trimmed();
            if (!printer::soDigitos(ano)) {
                platform::dialogs::error(kTituloMF,
                                         QStringLiteral("Não Foi Possível Ler o Ano da Data: \"") + data + u'"');
                return;
            }
            if (ano.toInt() > 60) {
                avisoMF(QStringLiteral("O Intervalo das Datas Devem Ficar Entre os Anos 2000 e 2060"));
                return;
            }
        }
        if (*URelFiscais::converteData(inicial) > *URelFiscais::converteData(final)) {
            avisoMF(QStringLiteral("A Data Final não Pode ser Inferior a Data Inicial"));
            ui->EdMfDataInicial->setFocus();
            return;
        }
    } else {
        if (inicial.trimmed().isEmpty() || final.trimmed().isEmpty()) {
            avisoMF(QStringLiteral("Você deve Escolher um Intervalo de Reduções!\rDigite um Valor entre 0001 e 9999"));
            ui->EdMFZInicial->setFocus();
            return;
        }
        // As numbers, so that 5 to 10 typed without leading zeros is a range;
        // the library still gets the texts as typed.
        if (numeroReducao(inicial) > numeroReducao(final)) {
            avisoMF(QStringLiteral("O Valor Final não Pode ser Inferior ao Valor Inicial"));
            ui->EdMFZInicial->setFocus();
            return;
        }
    }

    aguarde(ui->BtLeituraMF);
    sComando = QStringLiteral("Leitura Memória Fiscal");
    const QByteArray primeiro = printer::argumento(inicial);
    const QByteArray ultimo = printer::argumento(final);
    const QByteArray tipo = printer::argumento(flag);
    // Set aside for the serial variants only: a printed reading captures nothing.
    std::optional<URelFiscais::Captura> captura;
    if (!imprimir) captura.emplace();
    const auto chamada =
        porData ? (imprimir ? Kestrona_FI_LeituraMemoriaFiscalDataMFD : Kestrona_FI_LeituraMemoriaFiscalSerialDataMFD)
                : (imprimir ? Kestrona_FI_LeituraMemoriaFiscalReducaoMFD
                            : Kestrona_FI_LeituraMemoriaFiscalSerialReducaoMFD);
    iRetorno = chamada(primeiro.constData(), ultimo.constData(), tipo.constData());
    VerificaRetorno();
    MostraRespostaImpressora();

    if (ui->RbVisualizarMF->isChecked()) {
        // Whatever the result, what this call captured, if anything.
        sComando = QStringLiteral("Obtendo Leitura da M.F.");
        URelFiscais::mostraCaptura(ui->MemoRelFiscal, QStringLiteral("Leitura M.F. pela Serial"), kTituloLeituraMF,
                                   *captura);
    }
    ui->BtLeituraMF->setText(kLegendaLeituraMF);
    ui->BtLeituraMF->repaint();
    if (ui->RbSalvarMF->isChecked() && iRetorno > 0)
        URelFiscais::salvaCaptura(QStringLiteral("_MF.txt"), kTituloLeituraMF, *captura);
}
