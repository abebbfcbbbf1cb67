#include "tfconfigecf.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QShowEvent>

#include "core/eventos.h"
#include "core/relatorios.h"
#include "entradas.h"
#include "kesafi32.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "printer/buffer.h"
#include "printer/janela.h"
#include "printer/ustatus.h"
#include "ui_tfconfigecf.h"

using namespace UStatus;
using configfiscal::Grade;
using configfiscal::Linha;
using printer::argumento;
using printer::bufferEmBranco;
namespace cf = configfiscal;
namespace dialogs = platform::dialogs;

namespace {

const QString kConfiguracao = QStringLiteral("CONFIGURAÇÃO");
const QString kConfiguracoes = QStringLiteral("CONFIGURAÇÕES");
const QString kCadastro = QStringLiteral("CADASTRO");

void cancelado() { dialogs::information(kConfiguracao, QStringLiteral("Comando Cancelado")); }

// Width of a table's names (of the rate text) in characters.
int largura(cf::Tabela tabela) { return cf::formato(tabela).largura; }
// Whether grid row `linha` (from 1) is one of those the registration file keeps.
bool gravada(cf::Tabela tabela, int linha) {
    const cf::Formato& f = cf::formato(tabela);
    return linha >= f.primeiraGravada && linha <= f.ultimaGravada;
}

void limpa(QLineEdit* edit) {
    edit->clear();
    edit->setFocus();
}

// A library call into a buffer of `largura` blanks, with its analysis.
QByteArray le(const QString& comando, int largura, int (*chamada)(char*)) {
    QByteArray buffer = bufferEmBranco(largura);
    sComando = comando;
    iRetorno = chamada(buffer.data());
    VerificaRetorno();
    return buffer;
}

// The last call was answered: a result above 0 without a NAK.
bool respondeu() { return iRetorno > 0 && iACK != KESAFI_NAK; }

void erroCopia(const QString& origem, const QString& destino) {
    dialogs::error(kCadastro, QStringLiteral("Não Foi Possível Copiar o Arquivo:\r") + origem +
                                  QStringLiteral("\rPara:\r") + destino);
}

void avisaIlegivel(const QString& arquivo) {
    dialogs::error(kCadastro, QStringLiteral("Não Foi Possível Ler o Arquivo de Cadastro:\r") + arquivo +
                                  QStringLiteral("\rEle Não Será Alterado."));
}

void defineTransparente(QLabel* aviso, bool transparente) {
    aviso->setProperty("transparente", transparente);
    aviso->setStyleSheet(
        QStringLiteral("QLabel#%1 { background-color: %2; }")
            .arg(aviso->objectName(), transparente ? QStringLiteral("transparent") : QStringLiteral("#FFFF00")));
}

const QString kPerguntaCopia = QStringLiteral(
    "Deseja Realmente Copiar da Impressora para o Arquivo?\rAs Configurações Antigas Serão Perdidas!\r"
    "Continuar?");

// The printer's answer to one row of a file-to-printer send.
QString retornoDaLinha() {
    // A NAK leaves the previous analysis in place: that row did not pass.
    return iACK == KESAFI_NAK ? QStringLiteral("A Impressora retornou NAK !") : sRetornoEstendido;
}

}  // namespace

// What one table gives the shared printer-to-file copy and file-to-printer send.
struct TFConfigECF::Tabela {
    cf::Tabela qual;
    bool (*releitura)();
    // Printer-to-file: the question's title, the grid made from the
    // printer-side table (filled and cleaned up) and the success text.
    QString tituloCopia;
    Grade (*daImpressora)();
    QString sucessoCopia;
    // File-to-printer: question, what counts as free and its line, the send
    // of one row and the line prefix of a sent row.  The rows sent are those
    // the registration file keeps.
    QString perguntaEnvio;
    QString tituloEnvio;
    bool (*livre)(const Linha&);
    QString textoLivre;
    void (*envia)(int linha, const Linha&);
    QString prefixo;
};

namespace UConfigFiscais {

printer::JanelaSobDemanda<TFConfigECF> FConfigECF;

cf::FormasPagamento aFormasPagamento;
cf::Aliquotas aAliquotas;
cf::Nomes aComprovantes;
cf::Nomes aRelatorios;

bool LeFormasPagamento() {
    aFormasPagamento = cf::formasDaResposta(le(QStringLiteral("Lendo Formas de Pagamento"),
                                               KESAFI_LARGURA_FORMAS_PAGAMENTO, Kestrona_FI_VerificaFormasPagamento));
    return respondeu();
}

bool LeAliquotas() {
    const QByteArray valores =
        le(QStringLiteral("Lendo Alíquotas"), KESAFI_LARGURA_ALIQUOTAS, Kestrona_FI_RetornoAliquotas);
    const bool lidas = respondeu();
    const QByteArray indices = le(QStringLiteral("Verificando Índices de Serviço"), KESAFI_LARGURA_INDICES_ISS,
                                  Kestrona_FI_VerificaIndiceAliquotasIss);
    aAliquotas = cf::aliquotasDaResposta(valores, indices);
    return lidas && respondeu();
}

bool LeComprovantes() {
    aComprovantes =
        cf::comprovantesDaResposta(le(QStringLiteral("Lendo Comprovantes não Fiscais"), KESAFI_LARGURA_RECEBIMENTOS,
                                      Kestrona_FI_VerificaRecebimentoNaoFiscalMFD));
    return respondeu();
}

bool LeRelatorios() {
    aRelatorios =
        cf::relatoriosDaResposta(le(QStringLiteral("Lendo Relatórios Gerenciais"), KESAFI_LARGURA_RELATORIOS_GERENCIAIS,
                                    Kestrona_FI_VerificaRelatorioGerencialMFD));
    return respondeu();
}

void EnviaFormaPagamento(const QString& nome, const QString& vinculo) {
    sComando = QStringLiteral("Enviando Forma de Pagamento");
    iRetorno = Kestrona_FI_ProgramaFormaPagamentoMFD(argumento(nome).constData(), argumento(vinculo).constData());
    VerificaRetorno();
}

}  // namespace UConfigFiscais

using namespace UConfigFiscais;

TFConfigECF::TFConfigECF(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TFConfigECF>()) {
    ui->setupUi(this);
    printer::preparaJanela(this, Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    printer::instalaAjuda(this);

    // The printer-side tables start empty with the window.
    aFormasPagamento = {};
    aAliquotas = {};
    aComprovantes = {};
    aRelatorios = {};

    // A layout file carries line breaks without their carriage returns.
    const QString modelos = QStringLiteral(
        "Modelos Superiores a RX10 e RX30 TH FI Aceitarão\r\n%1 Caracteres mas "
        "Somente os 15 Primeiros serão Registrados");
    ui->LbFormaPagamento->setText(modelos.arg(largura(cf::Tabela::FormaPagamento)));
    ui->LbCNF->setText(modelos.arg(largura(cf::Tabela::CNF)));
    ui->LbRelGerencial->setText(modelos.arg(largura(cf::Tabela::RelGerencial)));
    ui->sLabel8->setText(
        QStringLiteral("Para que não Ocorra Erros de Configuração\r\nDigite os 4 Caracteres no Campo Alíquota"));
    ui->LbApagaAliquota->setText(
        QStringLiteral("Dê um Clic Duplo para Apagar a Alíquota\r\n\r\nAlíquotas Configuradas com o Valor 00,00% "
                       "não\r\nSerão Copiadas da Impressora"));
    for (QLabel* aviso : {ui->LbFormaPagamento, ui->LbCNF, ui->LbRelGerencial}) defineTransparente(aviso, false);

    for (cf::Tabela t : cf::kTabelas) preparaGrade(t);

    tabelas_ = std::make_unique<std::array<Tabela, 4>>(std::array<Tabela, 4>{
        Tabela{
            cf::Tabela::FormaPagamento,
            LeFormasPagamento,
            QStringLiteral("ADICIONAR FORMA DE PAGAMENTO"),
            [] { return cf::gradeDasFormas(aFormasPagamento); },
            QStringLiteral("Formas de Pagamento Copiadas com Sucesso"),
            QStringLiteral("Deseja Realmente Adicionar as Formas de Pagamento na Impressora?\rTenha Certeza ao "
                           "Executar Este Comando !\rAs Formas de Pagamento não Poderão ser Apagadas ou Alteradas\rsem "
                           "Intervenção Técnica !!!\r\rContinuar?"),
            QStringLiteral("ADICIONAR FORMA DE PAGAMENTO"),
            [](const Linha& l) { return l.c1.isEmpty() || cf::brancos(l.c1, largura(cf::Tabela::FormaPagamento)); },
            QStringLiteral("Forma de Pagamento Livre Para Cadastro"),
            [](int, const Linha& l) {
                EnviaFormaPagamento(l.c1, l.c2 == QLatin1String("V") ? QStringLiteral("1") : QStringLiteral("0"));
            },
            QStringLiteral("Enviando Forma de pagamento \""),
        },
        Tabela{
            cf::Tabela::Aliquota,
            LeAliquotas,
            QStringLiteral("ADICIONAR Alíquota"),
            [] { return cf::gradeDasAliquotas(aAliquotas); },
            QStringLiteral("Alíquotas Copiadas com Sucesso"),
            QStringLiteral("Deseja Realmente Adicionar as Alíquotas na Impressora?\rTenha Certeza ao Executar Este "
                           "Comando !\rAs Alíquotas não Poderão ser Apagadas ou Alteradas\rsem Intervenção Técnica "
                           "!!!\r\rContinuar?"),
            QStringLiteral("ADICIONAR ALÍQUOTA"),
            [](const Linha& l) { return l.c1.isEmpty() || l.c1 == QLatin1String("00,00%"); },
            QStringLiteral("Alíquota Livre Para Cadastro"),
            [](int, const Linha& l) {
                // Characters 1, 2, 4 and 5 of "17,00%".
                sComando = QStringLiteral("Programando Alíquota");
                iRetorno = Kestrona_FI_ProgramaAliquota(argumento(l.c1.mid(0, 2) + l.c1.mid(3, 2)).constData(),
                                                        l.c2 == cf::kTipoICMS ? 0 : 1);
                VerificaRetorno();
            },
            QStringLiteral("Enviando Alíquota \""),
        },
        Tabela{
            cf::Tabela::CNF,
            LeComprovantes,
            QStringLiteral("ADICIONAR COMPROVANTE NÃO FISCAL"),
            [] { return cf::gradeDosNomes(aComprovantes, largura(cf::Tabela::CNF)); },
            QStringLiteral("Comprovantes Copiados com Sucesso"),
            QStringLiteral("Deseja Realmente Adicionar os Comprovantes na Impressora?\rTenha Certeza ao Executar Este "
                           "Comando !\rOs Comprovantes não Poderão ser Apagados ou Alterados\rsem Intervenção Técnica "
                           "!!!\r\rContinuar?"),
            QStringLiteral("ADICIONAR COMPROVANTE NÃO FISCAL"),
            [](const Linha& l) { return l.c1.isEmpty(); },
            QStringLiteral("Comprovante Livre Para Cadastro"),
            [](int linha, const Linha& l) {
                sComando = QStringLiteral("Enviando Comprovante não Fiscal");
                iRetorno = Kestrona_FI_NomeiaTotalizadorNaoSujeitoIcms(linha, argumento(l.c1).constData());
                VerificaRetorno();
            },
            QStringLiteral("Enviando Comprovante \""),
        },
        Tabela{
            cf::Tabela::RelGerencial,
            LeRelatorios,
            QStringLiteral("ADICIONAR RELATÓRIO GERENCIAL"),
            [] { return cf::gradeDosNomes(aRelatorios, largura(cf::Tabela::RelGerencial)); },
            QStringLiteral("Relatórios Gerenciais Copiados com Sucesso"),
            QStringLiteral("Deseja Realmente Adicionar os Relatórios na Impressora?\rTenha Certeza ao Executar Este "
                           "Comando !\rOs Relatórios não Poderão ser Apagados ou Alterados\rsem Intervenção Técnica "
                           "!!!\r\rContinuar?"),
            QStringLiteral("ADICIONAR RELATÓRIO GERENCIAL"),
            [](const Linha& l) { return l.c1.isEmpty(); },
            QStringLiteral("Relatório Livre Para Cadastro"),
            [](int linha, const Linha& l) {
                // The report number without a leading zero.
                sComando = QStringLiteral("Enviando Relatório Gerencial");
                iRetorno = Kestrona_FI_NomeiaRelatorioGerencialMFD(argumento(QString::number(linha)).constData(),
                                                                   argumento(l.c1).constData());
                VerificaRetorno();
            },
            QStringLiteral("Enviando Relatório \""),
        },
    });

    connect(ui->SgFormaPagamento, &QTableWidget::cellDoubleClicked, this, &TFConfigECF::SgFormaPagamentoDblClick);
    connect(ui->SgAliquotas, &QTableWidget::cellDoubleClicked, this, &TFConfigECF::SgAliquotasDblClick);
    connect(ui->SgCNF, &QTableWidget::cellDoubleClicked, this, &TFConfigECF::SgCNFDblClick);
    connect(ui->SgRelGerencial, &QTableWidget::cellDoubleClicked, this, &TFConfigECF::SgRelGerencialDblClick);
    connect(ui->BtSalvaModeloConfig, &QPushButton::clicked, this, &TFConfigECF::BtSalvaModeloConfigClick);
    connect(ui->BtImportaModeloConfig, &QPushButton::clicked, this, &TFConfigECF::BtImportaModeloConfigClick);
    connect(ui->BtSalvaTudoArquivo, &QPushButton::clicked, this, &TFConfigECF::BtSalvaTudoArquivoClick);
    connect(ui->BtEnviarAliquota, &QPushButton::clicked, this, &TFConfigECF::BtEnviarAliquotaClick);
    connect(ui->BtImpressoraArquivoAL, &QPushButton::clicked, this, &TFConfigECF::BtImpressoraArquivoALClick);
    connect(ui->BtArquivoIpressoraAL, &QPushButton::clicked, this, &TFConfigECF::BtArquivoIpressoraALClick);
    connect(ui->BtEnviarFormaPagto, &QPushButton::clicked, this, &TFConfigECF::BtEnviarFormaPagtoClick);
    connect(ui->BtImpressoraArquivoFP, &QPushButton::clicked, this, &TFConfigECF::BtImpressoraArquivoFPClick);
    connect(ui->BtArquivoImpressoraFP, &QPushButton::clicked, this, &TFConfigECF::BtArquivoImpressoraFPClick);
    connect(ui->BtEnviarCNF, &QPushButton::clicked, this, &TFConfigECF::BtEnviarCNFClick);
    connect(ui->BtImpressoraArquivoCNF, &QPushButton::clicked, this, &TFConfigECF::BtImpressoraArquivoCNFClick);
    connect(ui->BtArquivoImpressoraCNF, &QPushButton::clicked, this, &TFConfigECF::BtArquivoImpressoraCNFClick);
    connect(ui->BtEnviarRelGerencial, &QPushButton::clicked, this, &TFConfigECF::BtEnviarRelGerencialClick);
    connect(ui->BtEnviarImpressoraArquivoRG, &QPushButton::clicked, this,
            &TFConfigECF::BtEnviarImpressoraArquivoRGClick);
    connect(ui->BtEnviarArquivoImpressoraRG, &QPushButton::clicked, this,
            &TFConfigECF::BtEnviarArquivoImpressoraRGClick);

    TimerPiscaLabel.setInterval(800);
    connect(&TimerPiscaLabel, &QTimer::timeout, this, &TFConfigECF::TimerPiscaLabelTimer);
    TimerPiscaLabel.start();
}

TFConfigECF::~TFConfigECF() = default;

void TFConfigECF::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Shown by the program, not restored from the task bar.
    if (!event->spontaneous()) FormShow();
}

// ---- grids ----------------------------------------------------------------

QTableWidget* TFConfigECF::widgetDa(cf::Tabela tabela) const {
    switch (tabela) {
        case cf::Tabela::FormaPagamento:
            return ui->SgFormaPagamento;
        case cf::Tabela::Aliquota:
            return ui->SgAliquotas;
        case cf::Tabela::CNF:
            return ui->SgCNF;
        case cf::Tabela::RelGerencial:
            return ui->SgRelGerencial;
    }
    return nullptr;
}

void TFConfigECF::preparaGrade(cf::Tabela tabela) {
    struct Colunas {
        QStringList titulos;
        QList<int> larguras;
        int altura;
    };
    static const Colunas kColunas[] = {
        {{QStringLiteral("Índice"), QStringLiteral("Descrição"), QStringLiteral("Vínculo")}, {40, 170, 45}, 17},
        {{QStringLiteral("Índice"), QStringLiteral("Descrição"), QStringLiteral("Tipo")}, {40, 120, 95}, 17},
        {{QStringLiteral("Índice"), QStringLiteral("Descrição")}, {40, 200}, 15},
        {{QStringLiteral("Índice"), QStringLiteral("Descrição")}, {40, 200}, 15},
    };
    const Colunas& c = kColunas[cf::indice(tabela)];
    QTableWidget* g = widgetDa(tabela);
    g->setColumnCount(int(c.titulos.size()));
    g->setRowCount(cf::formato(tabela).linhas);
    g->setHorizontalHeaderLabels(c.titulos);
    g->verticalHeader()->setVisible(false);
    g->verticalHeader()->setMinimumSectionSize(c.altura);
    g->verticalHeader()->setDefaultSectionSize(c.altura);
    g->horizontalHeader()->setHighlightSections(false);
    // Captions such as "Índice" and "Vínculo" fill their narrow columns: a
    // size smaller than the grid's keeps them whole in the skins' bold.
    // (The header draws on its viewport, which keeps a font of its own.)
    QFont titulos = g->horizontalHeader()->font();
    titulos.setPointSize(7);
    g->horizontalHeader()->setFont(titulos);
    g->horizontalHeader()->viewport()->setFont(titulos);
    for (int coluna = 0; coluna < c.larguras.size(); ++coluna) g->setColumnWidth(coluna, c.larguras[coluna]);
    for (int linha = 0; linha < g->rowCount(); ++linha) {
        // Column 0 holds the row number and, like the header, takes no clicks.
        auto* numero = new QTableWidgetItem(QString::number(linha + 1));
        numero->setFlags(Qt::NoItemFlags);
        numero->setForeground(palette().color(QPalette::WindowText));
        numero->setBackground(palette().color(QPalette::Button));
        g->setItem(linha, 0, numero);
        for (int coluna = 1; coluna < g->columnCount(); ++coluna) {
            auto* celula = new QTableWidgetItem;
            celula->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            g->setItem(linha, coluna, celula);
        }
    }
    g->setCurrentCell(0, 1);
}

Grade TFConfigECF::grade(cf::Tabela tabela) const {
    const QTableWidget* g = widgetDa(tabela);
    Grade linhas;
    for (int linha = 0; linha < g->rowCount(); ++linha)
        linhas.append(Linha{g->item(linha, 1)->text(), g->columnCount() > 2 ? g->item(linha, 2)->text() : QString()});
    return linhas;
}

void TFConfigECF::mostraGrade(cf::Tabela tabela, const Grade& linhas) {
    QTableWidget* g = widgetDa(tabela);
    for (int linha = 0; linha < g->rowCount(); ++linha) {
        const Linha l = linha < linhas.size() ? linhas[linha] : Linha{};
        g->item(linha, 1)->setText(l.c1);
        if (g->columnCount() > 2) g->item(linha, 2)->setText(l.c2);
    }
}

// ---- the registration file -------------------------------------------------

QString TFConfigECF::arquivoCadastro() const { return cf::arquivoCadastro(sPastaCadastro, sNumeroSerie); }

void TFConfigECF::CarregaCadastro() {
    arquivo_ = arquivoCadastro();
    cf::Leitura leitura = cf::leCadastro(arquivo_);
    // A printer seen for the first time starts from the template; without
    // one its grids stay empty until the first save creates the file.
    const QString modelo = sPastaBase + QStringLiteral("Modelo.ntf");
    if (leitura.estado == platform::ProfileSnapshot::State::Missing && QFileInfo::exists(modelo)) {
        if (URelFiscais::copiaArquivo(modelo, arquivo_))
            leitura = cf::leCadastro(arquivo_);
        else
            erroCopia(modelo, arquivo_);
    }
    mostraCadastro(leitura);
    if (cadastroIlegivel_) avisaIlegivel(arquivo_);
}

void TFConfigECF::mostraCadastro(const cf::Leitura& leitura) {
    cadastroIlegivel_ = leitura.estado == platform::ProfileSnapshot::State::Unreadable;
    for (cf::Tabela t : cf::kTabelas) mostraGrade(t, leitura.cadastro[size_t(cf::indice(t))]);
}

bool TFConfigECF::GravaCadastro() {
    // The grids belong to the file they were loaded from, even if another
    // printer has been located since.
    if (arquivo_.isEmpty()) arquivo_ = arquivoCadastro();
    if (cadastroIlegivel_) {
        avisaIlegivel(arquivo_);
        return false;
    }
    cf::Cadastro cadastro;
    for (cf::Tabela t : cf::kTabelas) cadastro[size_t(cf::indice(t))] = grade(t);
    if (cf::gravaCadastro(arquivo_, cadastro)) return true;
    // The grids show what the file holds, never a change it did not take.
    mostraCadastro(cf::leCadastro(arquivo_));
    return false;
}

void TFConfigECF::ApagaLinha(QTableWidget* g, int linha) {
    for (cf::Tabela t : cf::kTabelas) {
        if (widgetDa(t) != g) continue;
        Grade linhas = grade(t);
        cf::apagaLinha(linhas, linha);
        mostraGrade(t, linhas);
    }
}

void TFConfigECF::SgFormaPagamentoDblClick() {
    // Payment method 1 is the printer's own and stays.
    const int linha = ui->SgFormaPagamento->currentRow() + 1;
    if (!gravada(cf::Tabela::FormaPagamento, linha)) return;
    ApagaLinha(ui->SgFormaPagamento, linha);
    GravaCadastro();
}

void TFConfigECF::SgAliquotasDblClick() {
    const int linha = ui->SgAliquotas->currentRow() + 1;
    if (!gravada(cf::Tabela::Aliquota, linha)) return;
    ApagaLinha(ui->SgAliquotas, linha);
    GravaCadastro();
}

void TFConfigECF::SgCNFDblClick() {
    const int linha = ui->SgCNF->currentRow() + 1;
    if (gravada(cf::Tabela::CNF, linha)) ui->SgCNF->item(linha - 1, 1)->setText(QString());
    GravaCadastro();
}

void TFConfigECF::SgRelGerencialDblClick() {
    const int linha = ui->SgRelGerencial->currentRow() + 1;
    if (gravada(cf::Tabela::RelGerencial, linha)) ui->SgRelGerencial->item(linha - 1, 1)->setText(QString());
    GravaCadastro();
}

namespace {

dialogs::FileDialog& preparaDialogo(dialogs::FileDialog& dialogo) {
    dialogo.fileName.clear();
    dialogo.initialDir = platform::paths::join(sPastaCadastro, QStringLiteral("Modelos"));
    dialogo.defaultExt = QStringLiteral("ntf");
    dialogo.filter = QStringLiteral("Arquivo NTF|*.ntf");
    return dialogo;
}

}  // namespace

void TFConfigECF::BtSalvaModeloConfigClick() {
    dialogs::FileDialog& dialogo = preparaDialogo(printer::janelaSalvar());
    dialogo.title = QStringLiteral("Arquivo de Configuração");
    if (!dialogo.execute()) return;
    if (arquivo_.isEmpty()) arquivo_ = arquivoCadastro();
    if (!URelFiscais::copiaArquivo(arquivo_, dialogo.fileName)) {
        erroCopia(arquivo_, dialogo.fileName);
        return;
    }
    dialogs::information(kCadastro, QStringLiteral("Configurações Salvas com Sucesso"));
}

void TFConfigECF::BtImportaModeloConfigClick() {
    dialogs::FileDialog& dialogo = preparaDialogo(printer::janelaAbrir());
    dialogo.title.clear();
    if (!dialogo.execute()) return;
    if (arquivo_.isEmpty()) arquivo_ = arquivoCadastro();
    const QString problema = cf::problemaDoModelo(dialogo.fileName);
    if (!problema.isEmpty()) {
        dialogs::error(kCadastro, QStringLiteral("O Arquivo\r") + dialogo.fileName +
                                      QStringLiteral("\rNão é um Modelo de Configuração: ") + problema +
                                      QStringLiteral("\rO Arquivo de Cadastro\r") + arquivo_ +
                                      QStringLiteral("\rNão Foi Alterado."));
        return;
    }
    // The plan replaced stays beside it, so that an import can be undone.
    const QString copia = cf::copiaDeSeguranca(arquivo_);
    if (QFileInfo::exists(arquivo_) && !URelFiscais::copiaArquivo(arquivo_, copia)) {
        erroCopia(arquivo_, copia);
        return;
    }
    if (!URelFiscais::copiaArquivo(dialogo.fileName, arquivo_)) {
        erroCopia(dialogo.fileName, arquivo_);
        return;
    }
    CarregaCadastro();
    dialogs::information(kCadastro,
                         QStringLiteral("Configurações Importadas com Sucesso\rVerifique as Abas de Configuração!"));
}

// ---- the printer's tables --------------------------------------------------

void TFConfigECF::FormShow() {
    // The main window's gauge follows the reading.
    auto passo = [](int valor) { emit core::eventos().progresso(valor); };
    passo(2);
    LeFormasPagamento();
    passo(4);
    LeAliquotas();
    passo(7);
    LeComprovantes();
    passo(9);
    LeRelatorios();
    MostraConfiguracaoAtual();
    CarregaCadastro();
    passo(0);
}

void TFConfigECF::MostraConfiguracaoAtual() {
    const auto mostra = [](QPlainTextEdit* memo, const QStringList& linhas) {
        memo->setPlainText(linhas.join(QLatin1Char('\n')));
    };
    mostra(ui->MemoAtualFormaPagamento, cf::linhasFormasPagamento(aFormasPagamento, true));
    mostra(ui->MemoFormaPagamento, cf::linhasFormasPagamento(aFormasPagamento, false));
    const QStringList aliquotas = cf::linhasAliquotas(aAliquotas);
    mostra(ui->MemoAtualAliquota, aliquotas);
    mostra(ui->MemoAliquota, aliquotas);
    const QStringList comprovantes = cf::linhasNomes(aComprovantes);
    mostra(ui->MemoAtualCNF, comprovantes);
    mostra(ui->MemoCNF, comprovantes);
    const QStringList relatorios = cf::linhasNomes(aRelatorios);
    mostra(ui->MemoAtualRelGerencial, relatorios);
    mostra(ui->MemoRelGerencial, relatorios);
}

// ---- the shared copy and send ----------------------------------------------

void TFConfigECF::copiaDaImpressora(const Tabela& tabela) {
    if (!dialogs::question(tabela.tituloCopia, kPerguntaCopia, dialogs::Default::No)) {
        cancelado();
        return;
    }
    const bool lida = tabela.releitura();
    MostraConfiguracaoAtual();
    // A read that failed has been reported; the plan is not replaced by an
    // empty buffer.
    if (!lida) return;
    mostraGrade(tabela.qual, tabela.daImpressora());
    if (!GravaCadastro()) return;
    dialogs::information(kConfiguracoes, tabela.sucessoCopia);
}

void TFConfigECF::enviaParaImpressora(const Tabela& tabela) {
    const Grade linhas = grade(tabela.qual);
    const cf::Formato& formato = cf::formato(tabela.qual);
    QStringList nomes;
    for (const Linha& l : linhas) nomes << l.c1;
    const QString recusa = cf::recusaDasLinhas(nomes, formato.primeiraGravada, formato.ultimaGravada);
    if (!recusa.isEmpty()) {
        dialogs::information(kConfiguracoes, recusa);
        return;
    }
    if (!dialogs::question(tabela.tituloEnvio, tabela.perguntaEnvio, dialogs::Default::No)) {
        cancelado();
        return;
    }
    QStringList relatorio;
    for (int linha = formato.primeiraGravada; linha <= formato.ultimaGravada; ++linha) {
        const Linha& l = linhas[linha - 1];
        if (tabela.livre(l)) {
            relatorio << tabela.textoLivre;
            continue;
        }
        tabela.envia(linha, l);
        relatorio << tabela.prefixo + l.c1 + QStringLiteral("\" : ") + retornoDaLinha();
    }
    tabela.releitura();
    MostraConfiguracaoAtual();
    dialogs::plain(cf::relatorioDeEnvio(formato.primeiraGravada, relatorio));
}

void TFConfigECF::BtImpressoraArquivoFPClick() { copiaDaImpressora((*tabelas_)[0]); }
void TFConfigECF::BtImpressoraArquivoALClick() { copiaDaImpressora((*tabelas_)[1]); }
void TFConfigECF::BtImpressoraArquivoCNFClick() { copiaDaImpressora((*tabelas_)[2]); }
void TFConfigECF::BtEnviarImpressoraArquivoRGClick() { copiaDaImpressora((*tabelas_)[3]); }
void TFConfigECF::BtArquivoImpressoraFPClick() { enviaParaImpressora((*tabelas_)[0]); }
void TFConfigECF::BtArquivoIpressoraALClick() { enviaParaImpressora((*tabelas_)[1]); }
void TFConfigECF::BtArquivoImpressoraCNFClick() { enviaParaImpressora((*tabelas_)[2]); }
void TFConfigECF::BtEnviarArquivoImpressoraRGClick() { enviaParaImpressora((*tabelas_)[3]); }

void TFConfigECF::BtSalvaTudoArquivoClick() {
    // Whatever the command manager allows of the four buttons.
    BtImpressoraArquivoFPClick();
    BtImpressoraArquivoALClick();
    BtImpressoraArquivoCNFClick();
    BtEnviarImpressoraArquivoRGClick();
}

// ---- single entries ----------------------------------------------------------

void TFConfigECF::enviaUm(const QString& pergunta, const QString& titulo, const std::function<void()>& envia,
                          bool (*releitura)(), bool releSempre, QLineEdit* edit) {
    if (!dialogs::question(titulo, pergunta, dialogs::Default::No)) {
        cancelado();
        limpa(edit);
        return;
    }
    envia();
    MostraRespostaImpressora();
    if (releSempre || iRetorno > 0) releitura();
    limpa(edit);
    MostraConfiguracaoAtual();
}

void TFConfigECF::cadastraNome(cf::Tabela tabela, int linha, const Linha& nome, QLineEdit* edit) {
    Grade linhas = grade(tabela);
    linhas[linha - 1] = nome;
    mostraGrade(tabela, linhas);
    const QString digitado = edit->text();
    limpa(edit);
    // What the file did not take stays typed, to be saved again.
    if (!GravaCadastro()) edit->setText(digitado);
}

bool TFConfigECF::recusaCaracteres(QLineEdit* edit) {
    const QString recusa = cf::recusaDoNome(edit->text());
    if (recusa.isEmpty()) return false;
    dialogs::information(kConfiguracoes, recusa);
    edit->setFocus();
    return true;
}

void TFConfigECF::BtEnviarAliquotaClick() {
    if (!ui->RbICMS->isChecked() && !ui->RbISS->isChecked()) {
        dialogs::information(kConfiguracoes, QStringLiteral("Você Deve Escolher o Tipo de Alíquota(ICMS ou ISS)!"));
        return;
    }
    const int tipo = ui->RbICMS->isChecked() ? 0 : 1;
    const QString texto = cf::textoDaMascara(ui->MEAliquota->displayText());
    const std::optional<QString> taxa = cf::aliquotaParaEnvio(texto);
    if (!taxa) {
        dialogs::information(kConfiguracoes, QStringLiteral("É Necessário Digitar Uma Alíquota Válida!"));
        ui->MEAliquota->setFocus();
        return;
    }
    if (ui->RbAliquotaECF->isChecked()) {
        enviaUm(
            QStringLiteral("Deseja Realmente Adicionar a Alíquota?\rTenha Certeza ao Executar este Comando!\rA "
                           "Alíquota não Poderá Ser Apagada ou ALterada!\rsem Intervenção Técnica!!!\r\rContinuar ?"),
            QStringLiteral("ADICIONAR ALÍQUOTA"),
            [&] {
                sComando = QStringLiteral("Enviando Alíquota");
                iRetorno = Kestrona_FI_ProgramaAliquota(argumento(*taxa).constData(), tipo);
                VerificaRetorno();
            },
            LeAliquotas, true, ui->MEAliquota);
        return;
    }
    const cf::Formato& formato = cf::formato(cf::Tabela::Aliquota);
    const int linha = cf::primeiraLivre(grade(cf::Tabela::Aliquota), formato.primeiraGravada, formato.ultimaGravada);
    if (linha == 0) {
        dialogs::information(kConfiguracoes,
                             QStringLiteral("As 16 Linhas de Alíquotas do Arquivo de Cadastro Estão Ocupadas.\r"
                                            "Apague Uma Alíquota com um Clic Duplo Para Cadastrar Outra."));
        return;
    }
    cadastraNome(cf::Tabela::Aliquota, linha, Linha{texto, tipo == 0 ? cf::kTipoICMS : cf::kTipoISS}, ui->MEAliquota);
}

void TFConfigECF::BtEnviarFormaPagtoClick() {
    const QString vinculo = ui->CbVincularPgto->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    ui->EdFormaPagamento->setText(cf::completa(ui->EdFormaPagamento->text(), largura(cf::Tabela::FormaPagamento)));
    const QString nome = ui->EdFormaPagamento->text();
    if (cf::brancos(nome, largura(cf::Tabela::FormaPagamento))) {
        dialogs::information(kConfiguracoes,
                             QStringLiteral("Forma de Pagamento não Pode Ser Formada de Espaços ou Vazia!"));
        limpa(ui->EdFormaPagamento);
        return;
    }
    if (recusaCaracteres(ui->EdFormaPagamento)) return;
    if (ui->RbFormaPagtoECF->isChecked()) {
        enviaUm(
            QStringLiteral("Deseja Realmente Adicionar a Forma de Pagamento na Impressora?\rTenha Certeza ao "
                           "Executar Este Comando !\rA Forma de Pagamento não Poderá ser Apagada ou Alterada\rsem "
                           "Intervenção Técnica !!!\r\rContinuar?"),
            QStringLiteral("ADICIONAR FORMA DE PAGAMENTO"), [&] { EnviaFormaPagamento(nome, vinculo); },
            LeFormasPagamento, false, ui->EdFormaPagamento);
        return;
    }
    const cf::Formato& formato = cf::formato(cf::Tabela::FormaPagamento);
    const int linha =
        cf::primeiraLivre(grade(cf::Tabela::FormaPagamento), formato.primeiraGravada, formato.ultimaGravada);
    if (linha == 0) {
        dialogs::information(kConfiguracoes,
                             QStringLiteral("As Linhas 2 a 20 de Formas de Pagamento do Arquivo de Cadastro Estão "
                                            "Ocupadas.\rApague Uma Forma de Pagamento com um Clic Duplo Para "
                                            "Cadastrar Outra."));
        return;
    }
    cadastraNome(cf::Tabela::FormaPagamento, linha,
                 Linha{nome, ui->CbVincularPgto->isChecked() ? QStringLiteral("V") : QStringLiteral("N")},
                 ui->EdFormaPagamento);
}

void TFConfigECF::BtEnviarCNFClick() {
    if (ui->CbCNF->currentIndex() < 0) {
        dialogs::information(kConfiguracoes, QStringLiteral("Você Deve Escolher o Índice do Totalizador!"));
        ui->CbCNF->setFocus();
        return;
    }
    ui->EdCNF->setText(cf::completa(ui->EdCNF->text(), largura(cf::Tabela::CNF)));
    const QString nome = ui->EdCNF->text();
    if (cf::brancos(nome, largura(cf::Tabela::CNF))) {
        dialogs::information(kConfiguracao, QStringLiteral("Comprovante Inválido para Cadastro"));
        limpa(ui->EdCNF);
        return;
    }
    if (recusaCaracteres(ui->EdCNF)) return;
    const int indice = ui->CbCNF->currentText().toInt();
    if (ui->RbCNFEcf->isChecked()) {
        enviaUm(
            QStringLiteral("Deseja Realmente Adicionar o Comprovante?\rTenha Certeza ao Executar este Comando!\rO "
                           "Comprovante não Poderá Ser Apagado ou Alterada!\rsem Intervenção "
                           "Técnica!!!\r\rContinuar ?"),
            QStringLiteral("ADICIONAR CNF"),
            [&] {
                sComando = QStringLiteral("Enviando CNF");
                iRetorno = Kestrona_FI_NomeiaTotalizadorNaoSujeitoIcms(indice, argumento(nome).constData());
                VerificaRetorno();
            },
            LeComprovantes, false, ui->EdCNF);
        return;
    }
    if (!gravada(cf::Tabela::CNF, indice)) {
        dialogs::information(kConfiguracao, QStringLiteral("Índice Inválido para Cadastro"));
        return;
    }
    cadastraNome(cf::Tabela::CNF, indice, Linha{nome, {}}, ui->EdCNF);
}

void TFConfigECF::BtEnviarRelGerencialClick() {
    const QString indice = ui->CbRelGerencial->currentText();
    if (ui->CbRelGerencial->currentIndex() < 0 || indice == QLatin1String("1") || indice == QLatin1String("01")) {
        dialogs::information(kConfiguracao, QStringLiteral("Índice Inválido para Cadastro"));
        ui->CbRelGerencial->setFocus();
        return;
    }
    ui->EdRelGerencial->setText(cf::completa(ui->EdRelGerencial->text(), largura(cf::Tabela::RelGerencial)));
    const QString nome = ui->EdRelGerencial->text();
    if (cf::brancos(nome, largura(cf::Tabela::RelGerencial))) {
        dialogs::information(kConfiguracao, QStringLiteral("Relatório Inválido para Cadastro"));
        limpa(ui->EdRelGerencial);
        return;
    }
    if (recusaCaracteres(ui->EdRelGerencial)) return;
    if (ui->RbRelGerencialECF->isChecked()) {
        enviaUm(
            QStringLiteral("Deseja Realmente Adicionar o Relatório?\rTenha Certeza ao Executar este Comando!\rO "
                           "Relatório não Poderá Ser Apagado ou Alterado!\rsem Intervenção "
                           "Técnica!!!\r\rContinuar ?"),
            QStringLiteral("ADICIONAR RELATÓRIO GERENCIAL"),
            [&] {
                sComando = QStringLiteral("Enviando Relatório Gerencial");
                iRetorno =
                    Kestrona_FI_NomeiaRelatorioGerencialMFD(argumento(indice).constData(), argumento(nome).constData());
                VerificaRetorno();
            },
            LeRelatorios, false, ui->EdRelGerencial);
        return;
    }
    cadastraNome(cf::Tabela::RelGerencial, indice.toInt(), Linha{nome, {}}, ui->EdRelGerencial);
}

// ---- the aids of the name edits ----------------------------------------------

void TFConfigECF::TimerPiscaLabelTimer() {
    const std::pair<const QLineEdit*, QLabel*> pares[] = {
        {ui->EdFormaPagamento, ui->LbFormaPagamento}, {ui->EdCNF, ui->LbCNF}, {ui->EdRelGerencial, ui->LbRelGerencial}};
    for (const auto& [edit, aviso] : pares)
        defineTransparente(aviso, edit->text().size() <= 15 ? true : !transparente(aviso));
}

bool TFConfigECF::transparente(const QLabel* aviso) { return aviso->property("transparente").toBool(); }

void TFConfigECF::AtualizaContadores() {
    const std::pair<const QLineEdit*, QLabel*> pares[] = {{ui->EdFormaPagamento, ui->LbTamanhoFormaPagamento},
                                                          {ui->EdCNF, ui->LbTamanhoCNF},
                                                          {ui->EdRelGerencial, ui->LbTamanhoRG}};
    for (const auto& [edit, contador] : pares) contador->setText(cf::textoContador(edit->text()));
}
