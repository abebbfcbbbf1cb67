#include "tfdadosmfemfd.h"

#include <QButtonGroup>
#include <QFile>
#include <QFileInfo>
#include <QFont>

#include "core/arquivos.h"
#include "core/dadosz.h"
#include "core/relatorios.h"
#include "figuras.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "printer/abertura.h"
#include "printer/buffer.h"
#include "printer/espera.h"
#include "printer/janela.h"
#include "printer/nomes.h"
#include "printer/ustatus.h"
#include "ui_tfdadosmfemfd.h"

using namespace UStatus;
using namespace uDadosMFeMFD;

namespace uDadosMFeMFD {

printer::JanelaSobDemanda<TFDadosMFeMFD> FDadosMFeMFD;
TValidateFile validateFile = &::validateFile;

void AbrePasta(const QString& pasta) {
    printer::avisaSeNaoAbriu(platform::shell::openFolder(pasta), QStringLiteral("ABRIR PASTA"),
                             QStringLiteral("a Pasta"), pasta);
}

}  // namespace uDadosMFeMFD

namespace {

const QString kTituloDownloadMFD = QStringLiteral("DOWNLOAD DA MFD");
const QString kTituloEspelho = QStringLiteral("ESPELHO DA MFD");
const QString kTituloDadosZ = QStringLiteral("DADOS DA REDUÇÃO \"Z\"");
const QString kTituloDownloadMF = QStringLiteral("DOWNLOAD DA MF");
const QString kTituloValidar = QStringLiteral("Validar Assinatura");
const QString kSistema = QStringLiteral("Sistema");
const QString kPath = QStringLiteral("Path");

void aguarde(QAbstractButton* botao) {
    botao->setText(QStringLiteral("Aguarde !!!"));
    botao->repaint();
}

// A path as the libraries open it: 8-bit in the file system's encoding.
QByteArray caminho(const QString& arquivo) { return QFile::encodeName(arquivo); }

// A file of the reports folder by its full path.
QString relatorio(const QString& nome) { return platform::paths::join(pastaRelatorios(), nome); }

}  // namespace

TFDadosMFeMFD::TFDadosMFeMFD(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TFDadosMFeMFD>()) {
    ui->setupUi(this);
    printer::preparaJanela(this, Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    printer::instalaAjuda(this);

    const std::pair<QAbstractButton*, Figura> figuras[] = {{ui->BtDownloadMFD, Figura::ArquivoMFD},
                                                           {ui->BtMFDDiretoTXT, Figura::EspelhoMFD},
                                                           {ui->BtFormatoMFD, Figura::EspelhoArquivo},
                                                           {ui->BtDadosZ, Figura::DadosZ},
                                                           {ui->BtDownloadMF, Figura::DownloadMF},
                                                           {ui->BtImprimirConfig, Figura::ImprimirConfig},
                                                           {ui->BtValidarAssinatura, Figura::ValidarAssinatura}};
    for (const auto& [botao, figura] : figuras) botao->setIcon(icone(figura));

    QFont usuario = ui->LbUsuarioMFD->font();
    usuario.setPixelSize(32);
    usuario.setBold(true);
    ui->LbUsuarioMFD->setFont(usuario);

    // The three ranges are one choice: clicking the chosen one keeps it.
    auto* faixa = new QButtonGroup(this);
    faixa->setObjectName(QStringLiteral("GrupoFaixaMFD"));
    for (QRadioButton* radio : {ui->RbDownloadDataMfd, ui->RbDownloadCOOMfd, ui->RbDownloadTotalMFD})
        faixa->addButton(radio);
    connect(ui->RbDownloadDataMfd, &QRadioButton::clicked, this, &TFDadosMFeMFD::RbDownloadDataMfdClick);
    connect(ui->RbDownloadCOOMfd, &QRadioButton::clicked, this, &TFDadosMFeMFD::RbDownloadCOOMfdClick);
    connect(ui->RbDownloadTotalMFD, &QRadioButton::clicked, this, &TFDadosMFeMFD::RbDownloadTotalMFDClick);
    connect(ui->SbUSuarioMFD, &QScrollBar::valueChanged, this, &TFDadosMFeMFD::SbUSuarioMFDScroll);
    connect(ui->BtDownloadMFD, &QToolButton::clicked, this, &TFDadosMFeMFD::BtDownloadMFDClick);
    connect(ui->BtMFDDiretoTXT, &QToolButton::clicked, this, &TFDadosMFeMFD::BtMFDDiretoTXTClick);
    connect(ui->BtFormatoMFD, &QToolButton::clicked, this, &TFDadosMFeMFD::BtFormatoMFDClick);
    connect(ui->BtDadosZ, &QToolButton::clicked, this, &TFDadosMFeMFD::BtDadosZClick);
    connect(ui->BtDownloadMF, &QToolButton::clicked, this, &TFDadosMFeMFD::BtDownloadMFClick);
    connect(ui->BtImprimirConfig, &QToolButton::clicked, this, &TFDadosMFeMFD::BtImprimirConfigClick);
    connect(ui->BtValidarAssinatura, &QToolButton::clicked, this, &TFDadosMFeMFD::BtValidarAssinaturaClick);
}

TFDadosMFeMFD::~TFDadosMFeMFD() = default;

void TFDadosMFeMFD::showEvent(QShowEvent* evento) {
    MostraArquivoMFD();
    QWidget::showEvent(evento);
}

void TFDadosMFeMFD::MostraArquivoMFD() {
    // Every download replaces the stored file: the panel says what it holds now.
    const QString guardado = relatorio(printer::nomeDeArquivo(sNumeroSerie) + QStringLiteral(".MFD"));
    ui->LbArquivoMFD->setText(DescreveArquivoMFD(guardado));
    ui->LbArquivoMFD->setToolTip(guardado);
}

// ---------------------------------------------------------------- range

void TFDadosMFeMFD::RbDownloadDataMfdClick() {
    ui->EdDataInicialMFD->setEnabled(true);
    ui->EdDataFinalMFD->setEnabled(true);
    ui->EdCooInicialMFD->setEnabled(false);
    ui->EdCooFinalMFD->setEnabled(false);
}

void TFDadosMFeMFD::RbDownloadCOOMfdClick() {
    ui->EdCooInicialMFD->setEnabled(true);
    ui->EdCooFinalMFD->setEnabled(true);
    ui->EdDataInicialMFD->setEnabled(false);
    ui->EdDataFinalMFD->setEnabled(false);
}

void TFDadosMFeMFD::RbDownloadTotalMFDClick() {
    for (QLineEdit* e : std::initializer_list<QLineEdit*>{ui->EdDataInicialMFD, ui->EdDataFinalMFD, ui->EdCooInicialMFD,
                                                          ui->EdCooFinalMFD})
        e->setEnabled(false);
    // Two-digit years: 01/01/2000 and today as the edits hold them.
    ui->EdDataInicialMFD->setText(QStringLiteral("01/01/00"));
    ui->EdDataFinalMFD->setText(platform::clock::now().date().toString(QStringLiteral("dd/MM/yy")));
    ui->EdCooInicialMFD->setText(QStringLiteral("000001"));

    QByteArray coo = printer::bufferEmBranco(KESAFI_LARGURA_COO);
    sComando = QStringLiteral("Verificando Último COO");
    iRetorno = Kestrona_FI_NumeroCupom(coo.data());
    const QString ultimo = printer::texto(coo);
    VerificaRetorno();
    // Shown whatever the result: the COO edits only show the memory's extent.
    ui->EdCooFinalMFD->setText(ultimo);
}

void TFDadosMFeMFD::SbUSuarioMFDScroll() { ui->LbUsuarioMFD->setText(QString::number(ui->SbUSuarioMFD->value())); }

Escolha TFDadosMFeMFD::escolha() const {
    Escolha e;
    if (ui->RbDownloadCOOMfd->isChecked())
        e.faixa = Faixa::Coo;
    else if (ui->RbDownloadDataMfd->isChecked())
        e.faixa = Faixa::Data;
    else if (ui->RbDownloadTotalMFD->isChecked())
        e.faixa = Faixa::Total;
    e.temTipo = tipoDownload().has_value();
    // The texts with the mask's literals and its blanks as spaces.
    e.dataInicial = ui->EdDataInicialMFD->displayText();
    e.dataFinal = ui->EdDataFinalMFD->displayText();
    e.cooInicial = ui->EdCooInicialMFD->displayText();
    e.cooFinal = ui->EdCooFinalMFD->displayText();
    return e;
}

std::optional<int> TFDadosMFeMFD::tipoDownload() const {
    if (ui->RbTipoMF->isChecked()) return 0;
    if (ui->RbTipoMFD->isChecked()) return 1;
    if (ui->RbTipoTDM->isChecked()) return 2;
    if (ui->RbTipoRZ->isChecked()) return 3;
    if (ui->RbTipoRFD->isChecked()) return 4;
    return std::nullopt;
}

QString TFDadosMFeMFD::usuario() const { return QString::number(ui->SbUSuarioMFD->value()); }

int TFDadosMFeMFD::arquivoUnico() const { return ui->CbParticionar->isChecked() ? 0 : 1; }

std::optional<Intervalo> TFDadosMFeMFD::confereIntervalo(const QString& semFaixa, bool exigeTipo) {
    Escolha e = escolha();
    e.exigeTipo = exigeTipo;
    const auto resultado = ConfereIntervalo(e, semFaixa);
    if (const auto* intervalo = std::get_if<Intervalo>(&resultado)) return *intervalo;
    const Recusa& recusa = std::get<Recusa>(resultado);
    platform::dialogs::information(recusa.titulo, recusa.texto);
    if (recusa.foco == Foco::DataInicial)
        ui->EdDataInicialMFD->setFocus();
    else if (recusa.foco == Foco::CooInicial)
        ui->EdCooInicialMFD->setFocus();
    return std::nullopt;
}

// ---------------------------------------------------------- MFD files

void TFDadosMFeMFD::BtDownloadMFDClick() {
    const auto intervalo = confereIntervalo(semFaixaDownload(), true);
    if (!intervalo) return;

    // The library leaves its files in the folder `Path` names at the call.
    platform::Profile ini(sPastaBase + QStringLiteral("KESAFI32.ini"));
    if (!ini.writeString(kSistema, kPath, pastaRelatorios())) return;

    aguarde(ui->BtDownloadMFD);
    sComando = QStringLiteral("Download da MFD");
    const QByteArray inicial = printer::argumento(intervalo->inicial);
    const QByteArray final = printer::argumento(intervalo->final);
    const QByteArray seletor = printer::argumento(seletorMFD(*intervalo));
    const QByteArray numeroUsuario = printer::argumento(usuario());
    const int tipo = *tipoDownload();
    const QByteArray chave1 = printer::argumento(sChaveAssinatura1);
    const QByteArray chave2 = printer::argumento(sChaveAssinatura2);
    const int unico = arquivoUnico();
    iRetorno = printer::AguardaChamada(ui->BtDownloadMFD, [&] {
        return Kestrona_FI_ArquivoMFD(nullptr, inicial.constData(), final.constData(), seletor.constData(),
                                      numeroUsuario.constData(), tipo, chave1.constData(), chave2.constData(), unico);
    });
    // Back at once, whatever became of the download.
    const bool pathDeVolta = ini.writeString(kSistema, kPath, sPastaBase, platform::Profile::OnFailure::Silent);
    VerificaRetorno();
    MostraRespostaImpressora();

    // A failed library call may still have left a download behind.
    const QString nome = printer::nomeDeArquivo(sNumeroSerie) + QStringLiteral(".MFD");
    const Guarda guarda = GuardaDownload(pastaRelatorios(), nome);
    MostraArquivoMFD();
    ui->BtDownloadMFD->setText(QStringLiteral("Gerar Arquivo MFD e Tipo E"));
    if (!pathDeVolta) platform::dialogs::error(QStringLiteral("Erro"), platform::unableToWrite(ini.path()));

    if (guarda == Guarda::Falhou) {
        platform::dialogs::error(kTituloDownloadMFD, QStringLiteral("Não Foi Possível Copiar o Arquivo:\r") +
                                                         relatorio(QStringLiteral("Download.MFD")) +
                                                         QStringLiteral("\rpara:\r") + relatorio(nome) +
                                                         QStringLiteral("\rO Arquivo Download.MFD foi Mantido."));
        return;
    }
    if (iRetorno <= 0) return;
    if (guarda == Guarda::Ausente) {
        platform::dialogs::error(kTituloDownloadMFD, QStringLiteral("A Impressora não Deixou o Arquivo:\r") +
                                                         relatorio(QStringLiteral("Download.MFD")));
        return;
    }
    if (platform::dialogs::question(kTituloDownloadMFD,
                                    QStringLiteral("Arquivo ") + nome +
                                        QStringLiteral(" e Tipo E Gerados com Sucesso na Pasta Relatórios\r") +
                                        QStringLiteral("Deseja Visualizar o Diretório?"),
                                    platform::dialogs::Default::Yes))
        AbrePasta(pastaRelatorios());
}

void TFDadosMFeMFD::BtMFDDiretoTXTClick() {
    sNomeArquivo = printer::nomeDoRelatorio(sNumeroSerie);
    const auto intervalo = confereIntervalo(semFaixaRelatorio(), false);
    if (!intervalo) return;

    aguarde(ui->BtMFDDiretoTXT);
    sComando = QStringLiteral("Espelho da MFD");
    const QString nome = sNomeArquivo + QStringLiteral("_Espelho.txt");
    const QByteArray destino = caminho(relatorio(nome));
    const QByteArray inicial = printer::argumento(intervalo->inicial);
    const QByteArray final = printer::argumento(intervalo->final);
    const QByteArray seletor = printer::argumento(seletorMFD(*intervalo));
    const QByteArray numeroUsuario = printer::argumento(usuario());
    const QByteArray chave1 = printer::argumento(sChaveAssinatura1);
    const QByteArray chave2 = printer::argumento(sChaveAssinatura2);
    iRetorno = printer::AguardaChamada(ui->BtMFDDiretoTXT, [&] {
        return Kestrona_FI_EspelhoMFD(destino.constData(), inicial.constData(), final.constData(), seletor.constData(),
                                      numeroUsuario.constData(), chave1.constData(), chave2.constData());
    });
    VerificaRetorno();
    MostraRespostaImpressora();
    ui->BtMFDDiretoTXT->setText(QStringLiteral("Gerar Espelho da MFD"));

    if (iRetorno > 0 && platform::dialogs::question(kTituloEspelho,
                                                    QStringLiteral("Arquivo ") + nome +
                                                        QStringLiteral(" Gerado com Sucesso na Pasta Relatórios\r") +
                                                        QStringLiteral("Deseja Executar o Arquivo?"),
                                                    platform::dialogs::Default::Yes))
        // The file the library wrote, by its own name.
        URelFiscais::AbreArquivoTXT(sAbreTXT, URelFiscais::caminhoRelatorio(nome));
}

void TFDadosMFeMFD::BtFormatoMFDClick() {
    sNomeArquivo = printer::nomeDoRelatorio(sNumeroSerie);
    const auto intervalo = confereIntervalo(semFaixaRelatorio(), false);
    if (!intervalo) return;

    QString formato;
    QString extensao;
    if (ui->RbSaidaTXT->isChecked()) {
        formato = QStringLiteral("0");
        extensao = QStringLiteral("TXT");
    } else if (ui->RbSaidaRTF->isChecked()) {
        formato = QStringLiteral("1");
        extensao = QStringLiteral("RTF");
    } else if (ui->RbSaidaMDB->isChecked()) {
        formato = QStringLiteral("2");
        extensao = QStringLiteral("MDB");
    } else {
        platform::dialogs::information(QStringLiteral("MFD"),
                                       QStringLiteral("Você Deve Escolher o Formato de Saída do Arquivo"));
        return;
    }

    platform::dialogs::FileDialog& janela = printer::janelaAbrir();
    janela.fileName.clear();
    janela.initialDir = pastaRelatorios();
    janela.defaultExt = QStringLiteral("mfd");
    janela.filter = QStringLiteral("Arquivo MFD|*.mfd");
    if (!janela.execute()) return;

    aguarde(ui->BtFormatoMFD);
    sComando = QStringLiteral("Espelho de Arquivo MFD");
    const QByteArray origem = caminho(janela.fileName);
    const QByteArray destino = caminho(relatorio(sNomeArquivo + QStringLiteral("_EspelhoArquivo.") + extensao));
    const QByteArray codigoFormato = printer::argumento(formato);
    const QByteArray seletor = printer::argumento(seletorArquivo(*intervalo));
    const QByteArray inicial = printer::argumento(intervalo->inicial);
    const QByteArray final = printer::argumento(intervalo->final);
    const QByteArray numeroUsuario = printer::argumento(usuario());
    iRetorno = printer::AguardaChamada(ui->BtFormatoMFD, [&] {
        return Kestrona_FI_FormatoDadosMFD(origem.constData(), destino.constData(), codigoFormato.constData(),
                                           seletor.constData(), inicial.constData(), final.constData(),
                                           numeroUsuario.constData());
    });
    // No printer took part: the answer box only names the reason of a
    // refusal (a range the file does not hold).
    VerificaRetorno();
    if (iRetorno == -27) MostraRespostaImpressora();
    ui->BtFormatoMFD->setText(QStringLiteral("Gerar Espelho do Arquivo .MFD"));

    if (iRetorno > 0 &&
        platform::dialogs::question(kTituloEspelho,
                                    QStringLiteral("Arquivo ") + sNomeArquivo +
                                        QStringLiteral("_EspelhoArquivo Gerado com Sucesso na Pasta Relatórios\r") +
                                        QStringLiteral("Deseja Visualizar o Diretório?"),
                                    platform::dialogs::Default::Yes))
        AbrePasta(pastaRelatorios());
}

// ---------------------------------------------------- other printer data

void TFDadosMFeMFD::BtDadosZClick() {
    sNomeArquivo = printer::nomeDoRelatorio(sNumeroSerie);
    aguarde(ui->BtDadosZ);

    QByteArray dados = printer::bufferEmBranco(KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO);
    sComando = QStringLiteral("Ler Dados da Última Z");
    iRetorno = Kestrona_FI_DadosUltimaReducaoMFD(dados.data());
    const QStringList linhas = LinhasDadosZ(dados);
    VerificaRetorno();
    MostraRespostaImpressora();

    // Written whatever the result: the fields hold what the buffer holds.
    const QString relativo = URelFiscais::caminhoRelatorio(sNomeArquivo + QStringLiteral("_Z.txt"));
    if (!GravaTexto(sPastaBase + relativo, linhas))
        platform::dialogs::error(kTituloDadosZ,
                                 QStringLiteral("Não Foi Possível Gravar o Arquivo:\r") + sPastaBase + relativo);
    else if (iRetorno > 0 && platform::dialogs::question(
                                 kTituloDadosZ,
                                 QStringLiteral("Arquivo Gerado com Sucesso na Pasta Relatórios\rDeseja Visualizar o "
                                                "Arquivo?"),
                                 platform::dialogs::Default::Yes))
        URelFiscais::AbreArquivoTXT(sAbreTXT, relativo);
    ui->BtDadosZ->setText(QStringLiteral("Download dos Dados da Última Z"));
}

void TFDadosMFeMFD::BtDownloadMFClick() {
    sNomeArquivo = printer::nomeDoRelatorio(sNumeroSerie);
    aguarde(ui->BtDownloadMF);

    sComando = QStringLiteral("Download da MF");
    const QByteArray destino = caminho(relatorio(sNomeArquivo + QStringLiteral(".mf")));
    iRetorno = printer::AguardaChamada(ui->BtDownloadMF, [&] { return Kestrona_FI_DownloadMF(destino.constData()); });
    VerificaRetorno();
    MostraRespostaImpressora();

    if (iRetorno > 0 && platform::dialogs::question(kTituloDownloadMF,
                                                    QStringLiteral("Arquivo Gerado com Sucesso na Pasta "
                                                                   "Relatórios\rDeseja Visualizar o Diretório?"),
                                                    platform::dialogs::Default::Yes))
        AbrePasta(pastaRelatorios());
    ui->BtDownloadMF->setText(QStringLiteral("Download do Arquivo .MF"));
}

void TFDadosMFeMFD::BtImprimirConfigClick() {
    aguarde(ui->BtImprimirConfig);
    sComando = QStringLiteral("Imprimir Configurações");
    iRetorno =
        printer::AguardaChamada(ui->BtImprimirConfig, [] { return Kestrona_FI_ImprimeConfiguracoesImpressora(); });
    VerificaRetorno();
    MostraRespostaImpressora();
    ui->BtImprimirConfig->setText(QStringLiteral("Imprimir Configurações do ECF"));
}

void TFDadosMFeMFD::BtValidarAssinaturaClick() {
    platform::dialogs::information(kTituloValidar, QStringLiteral("Informe a Localização do Arquivo"));

    platform::dialogs::FileDialog& janela = printer::janelaAbrir();
    janela.initialDir = pastaRelatorios();
    janela.fileName.clear();
    // Every file is listed: the signed conversions are RTF and MDB files too.
    janela.filter = QStringLiteral(
        "Todos os Arquivos|*|Arquivo TXT|*.txt|Arquivo MFD|*.mfd|Arquivo MF|*.mf|Arquivo RTF|*.rtf|Arquivo MDB|*.mdb");
    if (!janela.execute()) return;

    const QByteArray arquivo = caminho(janela.fileName);
    const QByteArray chave1 = printer::argumento(sChaveAssinatura1);
    const QByteArray chave2 = printer::argumento(sChaveAssinatura2);
    iRetorno = printer::AguardaChamada(ui->BtValidarAssinatura, [&] {
        return uDadosMFeMFD::validateFile(arquivo.constData(), chave1.constData(), chave2.constData());
    });
    if (iRetorno == 0) {
        // A file without a signature line is not a damaged one: it was never signed.
        const std::optional<bool> assinado = TemLinhaAssinatura(janela.fileName);
        if (!assinado)
            platform::dialogs::error(QStringLiteral("ERRO"),
                                     QStringLiteral("Não Foi Possível Ler o Arquivo:\r") + janela.fileName);
        else if (!*assinado)
            platform::dialogs::information(
                QStringLiteral("ERRO"),
                QStringLiteral("O Arquivo não Possui Linha de Assinatura (EAD) !\r") + janela.fileName);
        else
            platform::dialogs::information(QStringLiteral("ERRO"), QStringLiteral("Erro na chave !"));
    } else {
        platform::dialogs::information(kTituloValidar, QStringLiteral("Assinatura validada com sucesso!"));
    }
}
