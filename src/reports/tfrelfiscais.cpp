#include "tfrelfiscais.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "app/localizacao.h"
#include "commands/tfcomandosadicionais.h"
#include "kesafi32.h"
#include "platform/clock.h"
#include "platform/cp1252.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "printer/buffer.h"
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

// The button shows the wait while the library call blocks the window.
void aguarde(QPushButton* botao) {
    botao->setText(QStringLiteral("Aguarde !!!"));
    botao->repaint();
}

void cancelado() { platform::dialogs::information(kTituloReducao, QStringLiteral("Comando Cancelado")); }

// Word processors tried for "Wordpad" when no program of that name exists,
// each with the arguments that come before the file.
struct Processador {
    const char* programa;
    QStringList argumentos;
};
const Processador kProcessadores[] = {
    {"lowriter", {}},
    {"libreoffice", {QStringLiteral("--writer")}},
    {"abiword", {}},
};

}  // namespace

namespace URelFiscais {

TFRelFiscais* FRelFiscais = nullptr;

void AbreArquivoTXT(const QString& programa, const QString& arquivo) {
    namespace shell = platform::shell;
    const QString caminho = QDir::isAbsolutePath(arquivo) ? arquivo : sPastaBase + arquivo;
    if (!programa.isEmpty()) {
        if (const QString achado = shell::findProgram(programa); !achado.isEmpty()) {
            shell::startProgram(achado, {caminho});
            return;
        }
    }
    if (programa == QLatin1String("Wordpad")) {
        for (const Processador& p : kProcessadores) {
            const QString achado = shell::findProgram(QString::fromLatin1(p.programa));
            if (achado.isEmpty()) continue;
            shell::startProgram(achado, p.argumentos + QStringList{caminho});
            return;
        }
    }
    shell::openDocument(caminho);
}

QString caminhoRelatorio(const QString& nome) { return platform::paths::join(QStringLiteral("Relatorios"), nome); }

QString arquivoCaptura() { return sPastaBase + QStringLiteral("Retorno.txt"); }

std::optional<QStringList> leLinhas(const QString& arquivo) {
    QFile entrada(arquivo);
    if (!entrada.open(QIODevice::ReadOnly)) return std::nullopt;
    const QString texto = platform::fromCp1252(entrada.readAll());
    QStringList linhas;
    qsizetype inicio = 0;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
        linhas.append(texto.mid(inicio, i - inicio));
        if (c == QLatin1Char('\r') && i + 1 < texto.size() && texto.at(i + 1) == QLatin1Char('\n')) ++i;
        inicio = i + 1;
    }
    if (inicio < texto.size()) linhas.append(texto.mid(inicio));
    return linhas;
}

bool copiaArquivo(const QString& origem, const QString& destino) {
    QFile entrada(origem);
    if (!entrada.open(QIODevice::ReadOnly)) return false;
    QSaveFile saida(destino);
    if (!saida.open(QIODevice::WriteOnly)) return false;
    QByteArray bloco(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 lidos = entrada.read(bloco.data(), bloco.size());
        if (lidos < 0) return false;
        if (lidos == 0) break;
        if (saida.write(bloco.constData(), lidos) != lidos) return false;
    }
    return saida.commit();
}

bool mostraCaptura(QPlainTextEdit* memo, const QString& primeiraLinha, const QString& titulo) {
    memo->clear();
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

void salvaCaptura(const QString& sufixo, const QString& titulo) {
    const QString relativo = caminhoRelatorio(sNomeArquivo + sufixo);
    const QString destino = sPastaBase + relativo;
    if (!copiaArquivo(arquivoCaptura(), destino)) {
        platform::dialogs::error(titulo, QStringLiteral("Não Foi Possível Gravar o Arquivo:\r") + destino);
        return;
    }
    if (platform::dialogs::question(
            titulo, QStringLiteral("Arquivo Gerado com Sucesso na Pasta Relatórios\rDeseja Visualizar o Arquivo?")))
        AbreArquivoTXT(sAbreTXT, relativo);
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

    connect(ui->BtLeituraX, &QPushButton::clicked, this, &TFRelFiscais::BtLeituraXClick);
    // The gate follows every change of the box, also one made by the program.
    connect(ui->CbHabilitaZ, &QCheckBox::toggled, this, &TFRelFiscais::CbHabilitaZClick);
    connect(ui->BtReducaoZ, &QPushButton::clicked, this, &TFRelFiscais::BtReducaoZClick);
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
    const int retorno = iRetorno = Kestrona_FI_LeituraXSerial();
    VerificaRetorno();
    MostraRespostaImpressora();
    ui->BtLeituraX->setText(kLegendaLeituraX);

    if (ui->RbVisualizarX->isChecked())
        // Shown whatever the result: the capture file holds what the library left.
        URelFiscais::mostraCaptura(ui->MemoRelFiscal, QStringLiteral("Leitura X pela Serial"), kTituloLeituraX);
    else if (retorno > 0)
        URelFiscais::salvaCaptura(QStringLiteral("_LX.txt"), kTituloLeituraX);
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
                               "Data e Hora de seu Computador esta Correta?"))) {
            cancelado();
            return;
        }
    }
    if (!platform::dialogs::question(kTituloEmissaoZ,
                                     QStringLiteral("Deseja Realmente Emitir a Redução Z?\rse a Redução não Estiver "
                                                    "Pendente ,\ro ECF Ficará Bloqueado até as 23:59:59!"))) {
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
