#include "localizacao.h"

#include <QIcon>
#include <QLabel>

#include "core/eventos.h"
#include "core/sessao.h"
#include "kesafi32.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "printer/buffer.h"
#include "printer/ustatus.h"
#include "relogio_ecf.h"
#include "tfprincipal.h"
#include "ui_tfprincipal.h"

using namespace UStatus;
using uZentora3::Valor;

namespace uZentora3 {

void marcaAtualizado(QWidget* valor, bool atualizado) {
    valor->setEnabled(atualizado);
    valor->setToolTip(atualizado ? QString()
                                 : QStringLiteral("Não Atualizado: a Impressora não Respondeu à Última Leitura"));
}

}  // namespace uZentora3

QWidget* TFprincipal::valorDoPainel(Valor valor) const {
    switch (valor) {
        case Valor::NumeroSerie:
            return ui->LbNumeroSerie;
        case Valor::Versao:
            return ui->LbVersao;
        case Valor::ZRestantes:
            return ui->LbZRestantes;
        case Valor::UltimoDocMFD:
            return ui->LbUltimoDocMFD;
        case Valor::UltimaZ:
            return ui->LbUltimaZ;
        case Valor::StatusVerao:
            return ui->LbStatusVerao;
        case Valor::MfdLivre:
            return ui->GMfd;
    }
    return nullptr;
}

void TFprincipal::ligaPainel() {
    core::Eventos& eventos = core::eventos();
    connect(&eventos, &core::Eventos::progresso, ui->Gstatus, &QProgressBar::setValue);
    connect(&eventos, &core::Eventos::valorLido, this, [this](Valor valor, const QString& texto) {
        if (valor == Valor::MfdLivre)
            ui->GMfd->setValue(texto.toInt());
        else if (auto* rotulo = qobject_cast<QLabel*>(valorDoPainel(valor)))
            rotulo->setText(texto);
    });
    connect(&eventos, &core::Eventos::valorAtualizado, this,
            [this](Valor valor, bool atualizado) { uZentora3::marcaAtualizado(valorDoPainel(valor), atualizado); });
}

void TFprincipal::MostraNaoLocalizada() {
    ui->Gstatus->setValue(0);
    for (QPushButton* botao :
         {ui->BtConfigFiscais, ui->BtRelatoriosFiscais, ui->BtComandosAdicionais, ui->BtDadosDaMFD})
        botao->setEnabled(false);
    ui->BtBobina->setEnabled(false);
    ui->BtLocalizarImpressora->setText(QStringLiteral("Localizar Impressora"));
    ui->BtLocalizarImpressora->setIcon(QIcon());
    ui->BtLocalizarImpressora->setProperty("imagem", QVariant());
    for (Valor valor : {Valor::NumeroSerie, Valor::Versao, Valor::ZRestantes, Valor::UltimoDocMFD, Valor::UltimaZ,
                        Valor::StatusVerao, Valor::MfdLivre}) {
        QWidget* campo = valorDoPainel(valor);
        uZentora3::marcaAtualizado(campo, true);
        if (auto* rotulo = qobject_cast<QLabel*>(campo)) rotulo->setText(QStringLiteral("*"));
    }
    ui->GMfd->setValue(0);
}

void TFprincipal::BtLocalizarImpressoraClick() {
    relogioDoECF()->para();
    Kestrona_FI_FechaPortaSerial();

    // From here the port is closed: whatever stops the location leaves the
    // window as before the printer was located.
    if (!uZentora3::AbrePorta()) return MostraNaoLocalizada();
    for (QPushButton* botao :
         {ui->BtConfigFiscais, ui->BtRelatoriosFiscais, ui->BtComandosAdicionais, ui->BtDadosDaMFD})
        botao->setEnabled(true);
    ui->BtBobina->setEnabled(true);
    if (!uZentora3::IdentificaImpressora()) return MostraNaoLocalizada();
    relogioDoECF()->inicia();

    const QString porta = uZentora3::PortaAtual();
    ui->BtLocalizarImpressora->setText(printer::texto(uZentora3::sModelo) + QStringLiteral(" na ") + porta +
                                       QStringLiteral(" - Localizar Novamente?"));
    const QString imagem = porta == QLatin1String("USB") ? QStringLiteral("usb.bmp") : QStringLiteral("serial.bmp");
    ui->BtLocalizarImpressora->setIcon(QIcon(sPastaBase + imagem));
    ui->BtLocalizarImpressora->setProperty("imagem", imagem);
    ui->BtLocalizarImpressora->repaint();

    const QByteArray movimento = uZentora3::LeMovimento();
    const QString titulo = QStringLiteral("LOCALIZAÇÃO DO ECF");
    const QString sucesso = QStringLiteral("Impressora Fiscal Localizada com Sucesso!");
    switch (uZentora3::avaliaMovimento(movimento, platform::clock::now().date())) {
        case uZentora3::Movimento::Nenhum:
            platform::dialogs::information(titulo, sucesso);
            ui->Gstatus->setValue(0);
            break;
        case uZentora3::Movimento::AguardandoReducao:
            platform::dialogs::information(
                titulo, sucesso + QStringLiteral("\r\rIMPRESSORA AGUARDANDO REDUÇÃO Z !!!\r\rECF BLOQUEADO ATÉ A "
                                                 "IMPRESSÃO DA LEITURA!"));
            break;
        case uZentora3::Movimento::EmDia:
            platform::dialogs::information(titulo, sucesso);
            break;
    }
}
