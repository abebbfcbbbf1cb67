#include "tfbobina.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include "core/relatorios.h"
#include "platform/dialogs.h"
#include "printer/avisos.h"
#include "printer/colunas.h"
#include "printer/janela.h"
#include "ui_tfbobina.h"

namespace {

const QString kTitulo = QStringLiteral("BOBINA");

}  // namespace

QString textoDaBobina(const std::vector<printer::RegistroDaFita>& registros, int colunas) {
    QString texto;
    const QString corte = QStringLiteral("- ").repeated(colunas / 2).left(colunas);
    for (const printer::RegistroDaFita& r : registros) {
        if (!texto.isEmpty()) texto += QLatin1Char('\n');
        QString impresso = r.texto;
        impresso.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        impresso.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        if (impresso.endsWith(QLatin1Char('\n'))) impresso.chop(1);
        texto += printer::cabecalhoDoRegistro(r, colunas) + QLatin1Char('\n');
        if (!impresso.isEmpty()) texto += impresso + QLatin1Char('\n');
        texto += corte;
    }
    return texto;
}

TFBobina::TFBobina(const printer::Fita& fita, QWidget* parent)
    : QWidget(parent), fita_(fita), ui(std::make_unique<Ui::TFBobina>()) {
    ui->setupUi(this);
    printer::preparaJanela(this, Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    printer::instalaAjuda(this);
    printer::mostraEmColunas(ui->MemoBobina, printer::kColunasDaBobina);
    ui->MemoBobina->setUndoRedoEnabled(false);

    connect(ui->BtProcuraCoo, &QPushButton::clicked, this, &TFBobina::BtProcuraCooClick);
    connect(ui->EdCoo, &QLineEdit::returnPressed, this, &TFBobina::BtProcuraCooClick);
    connect(ui->BtProcuraData, &QPushButton::clicked, this, &TFBobina::BtProcuraDataClick);
    connect(ui->EdData, &QLineEdit::returnPressed, this, &TFBobina::BtProcuraDataClick);
    connect(ui->BtFim, &QPushButton::clicked, this, &TFBobina::BtFimClick);
    connect(ui->BtFechar, &QPushButton::clicked, this, &TFBobina::BtFecharClick);
    connect(ui->MemoBobina->verticalScrollBar(), &QScrollBar::valueChanged, this, &TFBobina::anterioresAoRolar);

    TimerAcompanha.setInterval(1000);
    connect(&TimerAcompanha, &QTimer::timeout, this, &TFBobina::Acompanha);
    // After each command of the program, once its handler is done.
    connect(&printer::avisos(), &printer::Avisos::comandoVerificado, this,
            [this] { QTimer::singleShot(0, this, &TFBobina::Acompanha); });
}

TFBobina::~TFBobina() = default;

void TFBobina::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    TimerAcompanha.start();
}

void TFBobina::hideEvent(QHideEvent* event) {
    TimerAcompanha.stop();
    QWidget::hideEvent(event);
}

void TFBobina::Abre(const QWidget* principal) {
    const QRect moldura = principal->frameGeometry();
    QPoint lugar(moldura.right() + 1, moldura.top());
    if (const QScreen* tela = principal->screen()) {
        if (!tela->availableGeometry().contains(QRect(lugar, frameGeometry().size()))) lugar = moldura.topLeft();
    }
    move(lugar);
    show();
    raise();
    activateWindow();
    mostraFim();
}

void TFBobina::falhou(int retorno) {
    falha_ = retorno == 0    ? QStringLiteral("A impressora não responde: verifique se está ligada.")
             : retorno == -5 ? QStringLiteral("A porta da impressora está fechada: localize a impressora.")
                             : QStringLiteral("A bobina não pôde ser lida (retorno %1).").arg(retorno);
    mostraSituacao();
}

bool TFBobina::leLimites() {
    const int retorno = fita_.limites(primeiroDaFita_, ultimoDaFita_);
    if (retorno != 1) {
        falhou(retorno);
        return false;
    }
    return true;
}

bool TFBobina::le(qint64 numero, int sentido, std::vector<printer::RegistroDaFita>& registros) {
    const int retorno = fita_.le(numero, sentido, kPagina, registros);
    if (retorno != 1) {
        falhou(retorno);
        return false;
    }
    falha_.clear();
    return true;
}

void TFBobina::acrescenta(const std::vector<printer::RegistroDaFita>& registros) {
    if (registros.empty()) return;
    QPlainTextEdit* memo = ui->MemoBobina;
    QScrollBar* barra = memo->verticalScrollBar();
    const bool noFundo = barra->value() >= barra->maximum();
    const bool carregando = carregando_;
    carregando_ = true;
    memo->appendPlainText(textoDaBobina(registros, printer::kColunasDaBobina));
    if (primeiro_ == 0) primeiro_ = registros.front().numero;
    ultimo_ = registros.back().numero;
    if (noFundo) barra->setValue(barra->maximum());
    carregando_ = carregando;
}

void TFBobina::mostraFim() {
    std::vector<printer::RegistroDaFita> registros;
    if (!leLimites() || !le(ultimoDaFita_, -1, registros)) return;
    carregando_ = true;
    ui->MemoBobina->clear();
    primeiro_ = ultimo_ = 0;
    carregando_ = false;
    acrescenta(registros);
    ui->MemoBobina->verticalScrollBar()->setValue(ui->MemoBobina->verticalScrollBar()->maximum());
    mostraSituacao();
}

void TFBobina::mostraDesde(qint64 numero) {
    std::vector<printer::RegistroDaFita> registros;
    if (!leLimites() || !le(numero, 1, registros) || registros.empty()) return;
    carregando_ = true;
    ui->MemoBobina->clear();
    primeiro_ = ultimo_ = 0;
    acrescenta(registros);
    // The record found at the top.
    ui->MemoBobina->verticalScrollBar()->setValue(0);
    carregando_ = false;
    mostraSituacao();
}

void TFBobina::anterioresAoRolar(int valor) {
    if (carregando_ || primeiro_ == 0) return;
    QScrollBar* barra = ui->MemoBobina->verticalScrollBar();
    std::vector<printer::RegistroDaFita> registros;
    if (valor == barra->minimum() && primeiro_ > primeiroDaFita_) {
        if (!le(primeiro_ - 1, -1, registros) || registros.empty()) return;
        carregando_ = true;
        const int antes = ui->MemoBobina->document()->blockCount();
        QTextCursor cursor(ui->MemoBobina->document());
        cursor.movePosition(QTextCursor::Start);
        cursor.insertText(textoDaBobina(registros, printer::kColunasDaBobina) + QLatin1Char('\n'));
        primeiro_ = registros.front().numero;
        // The line that stood at the top stays there.
        barra->setValue(ui->MemoBobina->document()->blockCount() - antes);
        carregando_ = false;
        mostraSituacao();
    } else if (valor == barra->maximum() && ultimo_ < ultimoDaFita_) {
        if (!le(ultimo_ + 1, 1, registros)) return;
        carregando_ = true;
        const int posicao = barra->value();
        acrescenta(registros);
        barra->setValue(posicao);
        carregando_ = false;
        mostraSituacao();
    }
}

void TFBobina::Acompanha() {
    if (!isVisible() || platform::dialogs::anyOpen()) return;
    const qint64 conhecido = ultimoDaFita_;
    if (!leLimites()) return;
    // Nothing on screen yet (the printer did not answer), or another tape.
    if (ultimo_ == 0 || ultimoDaFita_ < ultimo_ || primeiroDaFita_ > primeiro_) {
        mostraFim();
        return;
    }
    if (ultimo_ >= conhecido) {
        // The view reaches the end: whatever came after it, a page at a time.
        std::vector<printer::RegistroDaFita> registros;
        while (ultimo_ < ultimoDaFita_) {
            if (!le(ultimo_ + 1, 1, registros) || registros.empty()) return;
            acrescenta(registros);
        }
    }
    falha_.clear();
    mostraSituacao();
}

void TFBobina::mostraSituacao() {
    if (!falha_.isEmpty()) {
        ui->LbSituacao->setText(falha_);
        return;
    }
    if (ultimo_ == 0) {
        ui->LbSituacao->setText(QStringLiteral("A bobina está vazia."));
        return;
    }
    ui->LbSituacao->setText(ultimo_ >= ultimoDaFita_ ? QStringLiteral("Fim da bobina: acompanhando a impressão.")
                                                     : QStringLiteral("Role até o fim ou use Ir ao Fim para "
                                                                      "acompanhar a impressão."));
}

void TFBobina::BtProcuraCooClick() {
    bool numero = false;
    const qint64 coo = ui->EdCoo->text().trimmed().toLongLong(&numero);
    if (!numero || coo < 1 || coo > 999999) {
        platform::dialogs::information(kTitulo, QStringLiteral("Informe um COO de 1 a 999999."));
        return;
    }
    qint64 registro = 0;
    const int retorno = fita_.procuraCoo(coo, registro);
    if (retorno != 1) return falhou(retorno);
    if (registro == 0) {
        platform::dialogs::information(
            kTitulo, QStringLiteral("COO %1 Não Encontrado na Bobina.").arg(coo, 6, 10, QLatin1Char('0')));
        return;
    }
    mostraDesde(registro);
}

void TFBobina::BtProcuraDataClick() {
    const auto dia = URelFiscais::converteData(ui->EdData->texto());
    if (!dia) {
        platform::dialogs::information(kTitulo, QStringLiteral("Data Inválida."));
        return;
    }
    qint64 registro = 0;
    const int retorno = fita_.procuraDia(*dia, registro);
    if (retorno != 1) return falhou(retorno);
    if (registro == 0) {
        platform::dialogs::information(
            kTitulo,
            QStringLiteral("Nenhum Documento em %1 na Bobina.").arg(dia->toString(QStringLiteral("dd/MM/yyyy"))));
        return;
    }
    mostraDesde(registro);
}

void TFBobina::BtFimClick() { mostraFim(); }

void TFBobina::BtFecharClick() { hide(); }
