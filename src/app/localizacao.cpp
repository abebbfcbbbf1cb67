#include "localizacao.h"

#include <QIcon>

#include "commands/tfcomandosadicionais.h"
#include "kesafi32.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/profile.h"
#include "printer/buffer.h"
#include "printer/ustatus.h"
#include "relogio_ecf.h"
#include "reports/tfrelfiscais.h"
#include "tfprincipal.h"
#include "ui_tfcomandosadicionais.h"
#include "ui_tfprincipal.h"
#include "ui_tfrelfiscais.h"

using namespace UStatus;
using printer::bufferEmBranco;
using printer::campo;

namespace {

bool soDigitos(const QString& texto) {
    if (texto.isEmpty()) return false;
    for (QChar c : texto)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

}  // namespace

namespace uZentora3 {

QByteArray sModelo;
QByteArray sVersaoFirmware;
QByteArray sReducoesRestantes;
QByteArray sDataHoraUltimoDoc;
QByteArray sDataUltimaReducao;
QByteArray sHoraUltimaReducao;
QByteArray sPercentualLivreMFD;

QString formataDataHora(const QByteArray& data, int inicioData, const QByteArray& hora, int inicioHora) {
    return campo(data, inicioData, 2) + QLatin1Char('/') + campo(data, inicioData + 2, 2) + QLatin1Char('/') +
           campo(data, inicioData + 4, 2) + QStringLiteral(" - ") + campo(hora, inicioHora, 2) + QLatin1Char(':') +
           campo(hora, inicioHora + 2, 2) + QLatin1Char(':') + campo(hora, inicioHora + 4, 2);
}

QString formataVersao(const QByteArray& firmware) {
    return campo(firmware, 1, 2) + QLatin1Char('.') + campo(firmware, 3, 2) + QLatin1Char('.') + campo(firmware, 5, 2);
}

Movimento avaliaMovimento(const QByteArray& dataMovimento, const QDate& hoje) {
    // ddmmyy rearranged as yymmdd, compared as a number with today's yymmdd.
    const QString data = campo(dataMovimento, 5, 2) + campo(dataMovimento, 3, 2) + campo(dataMovimento, 1, 2);
    if (data == QLatin1String("000000")) return Movimento::Nenhum;
    if (soDigitos(data) && data.toInt() < hoje.toString(QStringLiteral("yyMMdd")).toInt())
        return Movimento::AguardandoReducao;
    return Movimento::EmDia;
}

int percentualLivre(const QByteArray& buffer) {
    const QString inteiro = campo(buffer, 1, 2).trimmed();
    return soDigitos(inteiro) ? qBound(0, inteiro.toInt(), 100) : 0;
}

void LeInformacoesECF() {
    auto* ui = Fprincipal->ui.get();

    ui->Gstatus->setValue(5);
    QByteArray serie = bufferEmBranco(20);
    sComando = QStringLiteral("Lendo Número de Série");
    iRetorno = Kestrona_FI_NumeroSerieMFD(serie.data());
    sNumeroSerie = printer::texto(serie);
    ui->LbNumeroSerie->setText(sNumeroSerie);
    VerificaRetorno();

    sModelo = bufferEmBranco(11);
    sComando = QStringLiteral("Lendo Modelo");
    iRetorno = Kestrona_FI_ModeloImpressora(sModelo.data());
    VerificaRetorno();
    sModelo = sModelo.left(8);

    ui->Gstatus->setValue(6);
    sVersaoFirmware = bufferEmBranco(7);
    sComando = QStringLiteral("Lendo Versão do Software Básico");
    iRetorno = Kestrona_FI_VersaoFirmwareMFD(sVersaoFirmware.data());
    VerificaRetorno();
    ui->LbVersao->setText(formataVersao(sVersaoFirmware));

    ui->Gstatus->setValue(7);
    sReducoesRestantes = bufferEmBranco(4);
    sComando = QStringLiteral("Lendo Número Reduções Restantes");
    iRetorno = Kestrona_FI_ReducoesRestantesMFD(sReducoesRestantes.data());
    VerificaRetorno();
    ui->LbZRestantes->setText(printer::texto(sReducoesRestantes));

    ui->Gstatus->setValue(8);
    sDataHoraUltimoDoc = bufferEmBranco(12);
    sComando = QStringLiteral("Lendo Data Último Doc na MFD");
    iRetorno = Kestrona_FI_DataHoraUltimoDocumentoMFD(sDataHoraUltimoDoc.data());
    VerificaRetorno();
    ui->LbUltimoDocMFD->setText(formataDataHora(sDataHoraUltimoDoc, 1, sDataHoraUltimoDoc, 7));

    ui->Gstatus->setValue(9);
    sDataUltimaReducao = bufferEmBranco(6);
    sHoraUltimaReducao = bufferEmBranco(6);
    sComando = QStringLiteral("Lendo Data da Última Redução");
    iRetorno = Kestrona_FI_DataHoraReducao(sDataUltimaReducao.data(), sHoraUltimaReducao.data());
    VerificaRetorno();
    ui->LbUltimaZ->setText(formataDataHora(sDataUltimaReducao, 1, sHoraUltimaReducao, 1));

    ui->Gstatus->setValue(10);
    sComando = QStringLiteral("Lendo status do Horário de Verão");
    LeStatusHorarioVerao();

    sPercentualLivreMFD = bufferEmBranco(6);
    sComando = QStringLiteral("Lendo Uso da MFD");
    iRetorno = Kestrona_FI_PercentualLivreMFD(sPercentualLivreMFD.data());
    VerificaRetorno();
    ui->GMfd->setValue(percentualLivre(sPercentualLivreMFD));
}

void LeStatusHorarioVerao() {
    int flags = 0;
    sComando = QStringLiteral("Lendo Flags Fiscais");
    const int retorno = iRetorno = Kestrona_FI_FlagsFiscais(&flags);
    VerificaRetorno();
    // A failed read says nothing about the flags: the state shows as inactive.
    if (retorno < 1) flags = 0;

    const bool ativo = (flags & 4) != 0;
    sHorarioVerao = ativo ? QStringLiteral("ATIVO") : QStringLiteral("INATIVO");
    Fprincipal->ui->LbStatusVerao->setText(ativo ? QStringLiteral("Ativo") : QStringLiteral("Inativo"));
    MostraHorarioVerao(uComandosAdicionais::FComandosAdicionais.existente());
    MostraHorarioVerao(URelFiscais::FRelFiscais.existente());
}

void MostraHorarioVerao(QWidget* janela) {
    if (sHorarioVerao.isEmpty()) return;
    const bool ativo = sHorarioVerao == QLatin1String("ATIVO");
    if (auto* comandos = qobject_cast<TFComandosAdicionais*>(janela))
        comandos->ui->BtHorarioVerao->setText(ativo ? QStringLiteral("Sair do Horário de Verão")
                                                    : QStringLiteral("Entrar no Horário de Verão"));
    else if (auto* relatorios = qobject_cast<TFRelFiscais*>(janela))
        relatorios->ui->CbHorarioVeraoZ->setText(QStringLiteral("Ajustar Horário de Verão Após a Redução(Atualmente ") +
                                                 sHorarioVerao + QLatin1Char(')'));
}

}  // namespace uZentora3

namespace {

const QString kSistema = QStringLiteral("Sistema");

void recarregaIni() {
    Kestrona_FI_SelecionaIniLocal();
    Kestrona_FI_ReloadINIFile();
}

}  // namespace

void TFprincipal::BtLocalizarImpressoraClick() {
    platform::Profile ini(sPastaBase + QStringLiteral("KESAFI32.ini"));
    relogioDoECF()->para();
    Kestrona_FI_FechaPortaSerial();
    ui->Gstatus->setValue(1);

    if (!ini.writeString(kSistema, QStringLiteral("Porta"), QStringLiteral("USB"))) return;
    recarregaIni();
    sComando = QStringLiteral("Abrindo Porta USB");
    int retorno = iRetorno = Kestrona_FI_AbrePortaSerial();
    if (retorno == 1) VerificaRetorno();

    if (retorno < 1) {
        ui->Gstatus->setValue(2);
        Kestrona_FI_FechaPortaSerial();
        if (!ini.writeString(QStringLiteral("MFD"), QStringLiteral("Impressora"), QStringLiteral("1")) ||
            !ini.writeString(kSistema, QStringLiteral("Porta"), QStringLiteral("Default")))
            return;
        recarregaIni();
        sComando = QStringLiteral("Abrindo Porta Serial");
        retorno = iRetorno = Kestrona_FI_AbrePortaSerial();
        VerificaRetorno();
        if (retorno < 1) {
            ui->Gstatus->setValue(0);
            return;
        }
    }

    ui->Gstatus->setValue(3);
    for (QPushButton* botao :
         {ui->BtConfigFiscais, ui->BtRelatoriosFiscais, ui->BtComandosAdicionais, ui->BtDadosDaMFD})
        botao->setEnabled(true);
    ui->BtBobina->setEnabled(true);

    if (sEnviaComandoOFFline == QLatin1String("Sim"))
        iRetorno = Kestrona_FI_AtivaDesativaTratamentoONOFFLineMFD(sTrataOFFLine == QLatin1String("Sim") ? 0 : 1);

    ui->Gstatus->setValue(4);
    sComando = QStringLiteral("Habilitando Retorno Extendido");
    iRetorno = Kestrona_FI_HabilitaDesabilitaRetornoEstendidoMFD("1");
    VerificaRetorno();

    uZentora3::LeInformacoesECF();
    relogioDoECF()->inicia();

    const QString porta = ini.readString(kSistema, QStringLiteral("Porta"));
    ui->BtLocalizarImpressora->setText(printer::texto(uZentora3::sModelo) + QStringLiteral(" na ") + porta +
                                       QStringLiteral(" - Localizar Novamente?"));
    const QString imagem = porta == QLatin1String("USB") ? QStringLiteral("usb.bmp") : QStringLiteral("serial.bmp");
    ui->BtLocalizarImpressora->setIcon(QIcon(sPastaBase + imagem));
    ui->BtLocalizarImpressora->setProperty("imagem", imagem);
    ui->BtLocalizarImpressora->repaint();

    QByteArray movimento = bufferEmBranco(6);
    iRetorno = Kestrona_FI_DataMovimento(movimento.data());
    VerificaRetorno();
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
