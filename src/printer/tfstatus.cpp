#include "tfstatus.h"

#include <QCloseEvent>
#include <QScrollBar>

#include "avisos.h"
#include "janela.h"
#include "platform/accessibility.h"
#include "ui_tfstatus.h"
#include "ustatus.h"

namespace UStatus {

TFstatus* Fstatus = nullptr;

void AtualizaPainelStatus() {
    for (int grupo = 0; grupo < 2; ++grupo) {
        const QString& bits = grupo == 0 ? sBitsST1 : sBitsST2;
        for (int i = 0; i < 8 && i < bits.size(); ++i) {
            // Drawn at once, while the handler keeps the event loop waiting:
            // the lights and the memo show every command of a long sequence
            // as it is answered.  Only what changed is drawn again.
            if (bits[i] != QLatin1Char('1') && bits[i] != QLatin1Char('0')) continue;
            if (Fstatus->acendePainel(grupo * 8 + i, bits[i] == QLatin1Char('1')))
                Fstatus->painel(grupo * 8 + i)->repaint();
        }
    }

    QStringList bloco{QString(38, QLatin1Char('#')), QStringLiteral("Enviando Comando: ") + sComando,
                      QString(37, QLatin1Char('-')), QStringLiteral("Retorno Extendido: ") + sRetornoEstendido};
    if (sRetornoEstendido.size() < 27) bloco << QStringLiteral("  ");
    bloco << QString(37, QLatin1Char('-')) << QStringLiteral("Retorno do ECF: ") + sRetornoECF;
    Fstatus->acrescentaMemo(bloco);
}

}  // namespace UStatus

TFstatus::TFstatus(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TFstatus>()) {
    ui->setupUi(this);
    printer::preparaJanela(this, Qt::WindowFlags());
    printer::instalaAjuda(this);
    JanelaSalvar.title = QStringLiteral("Arquivo de Configuração");

    paineis_ = {ui->PnFimDePapel,    ui->PnPoucoPapel,         ui->PnErroNoRelogio, ui->PnEcfEmErro,
                ui->PnCmdSemESC,     ui->PnCmdInexistente,     ui->PnCupomAberto,   ui->PnParamInv,
                ui->PnErroTipoParam, ui->PnMFLotada,           ui->PnErroDeCMOS,    ui->PnAliqNaoPRog,
                ui->PnAliqEsgotada,  ui->PnCancelNaoPermitido, ui->PnCnpjIeNaoProg, ui->PnCmdNaoExc};
    for (int i = 0; i < 16; ++i) acendePainel(i, false);

    TimerMonitorGeral.setInterval(100);
    connect(&TimerMonitorGeral, &QTimer::timeout, this, &TFstatus::TimerMonitorGeralTimer);
    TimerMonitorGeral.start();
    connect(&printer::avisos(), &printer::Avisos::respostaDecodificada, this, &UStatus::AtualizaPainelStatus);
}

TFstatus::~TFstatus() = default;

void TFstatus::closeEvent(QCloseEvent* event) { event->ignore(); }

QFrame* TFstatus::painel(int posicao) const { return paineis_.at(size_t(posicao)); }

bool TFstatus::acendePainel(int posicao, bool aceso) {
    QFrame* p = painel(posicao);
    // Restyling a panel costs more than a command's answer: a light that
    // keeps its state is left alone.
    if (p->property("skinSection").isValid() && painelAceso(p) == aceso) return false;
    p->setProperty("skinSection", aceso ? QString() : QStringLiteral("PANEL"));
    p->setStyleSheet(aceso ? QStringLiteral("QFrame#%1 { background-color: #FF0000; }").arg(p->objectName())
                           : QString());
    platform::accessibility::setLit(p, aceso);
    return true;
}

bool TFstatus::painelAceso(const QFrame* painel) { return painel->property("skinSection").toString().isEmpty(); }

void TFstatus::acrescentaMemo(const QStringList& linhas) {
    // One edit for the whole block: the memo lays itself out once.  Each line
    // stays a paragraph of its own, as appended one by one (a line ending in
    // a carriage return keeps its own break).
    ui->MemoStatus->appendPlainText(linhas.join(QChar(QChar::ParagraphSeparator)));
    ui->MemoStatus->repaint();
}

void TFstatus::segue(const QWidget* principal) {
    principal_ = principal;
    posiciona();
}

void TFstatus::posiciona() {
    if (!principal_) return;
    move(principal_->x(), principal_->y() + kDistanciaDaPrincipal);
    repaint();
}

void TFstatus::TimerMonitorGeralTimer() {
    posiciona();
    emit monitorou();
}

namespace printer {

platform::dialogs::FileDialog& janelaSalvar() { return UStatus::Fstatus->JanelaSalvar; }
platform::dialogs::FileDialog& janelaAbrir() { return UStatus::Fstatus->JanelaAbrir; }

}  // namespace printer
