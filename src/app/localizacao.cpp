#include "localizacao.h"

#include <QIcon>
#include <QLabel>
#include <vector>

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

bool falhaDeComunicacao(int retorno) { return retorno == 0 || retorno == -5 || retorno == -6; }

void marcaAtualizado(QWidget* valor, bool atualizado) {
    valor->setEnabled(atualizado);
    valor->setToolTip(atualizado ? QString()
                                 : QStringLiteral("Não Atualizado: a Impressora não Respondeu à Última Leitura"));
}

namespace {

// The panel's values in the order LeInformacoesECF reads them.
std::vector<QWidget*> valoresDoPainel() {
    auto* ui = Fprincipal->ui.get();
    return {ui->LbNumeroSerie, ui->LbVersao,      ui->LbZRestantes, ui->LbUltimoDocMFD,
            ui->LbUltimaZ,     ui->LbStatusVerao, ui->GMfd};
}

// One read of the panel: a fresh buffer of `largura` blanks, the command
// named and sent; `global` takes the buffer only when the printer answered.
// `analisa`: the answer goes through VerificaRetorno (its box included).
using LeituraDeBuffer = decltype(&Kestrona_FI_ReducoesRestantesMFD);
int lePainel(const char* nome, QByteArray& global, int largura, LeituraDeBuffer chamada, bool analisa) {
    QByteArray buffer = bufferEmBranco(largura);
    if (analisa) sComando = QString::fromUtf8(nome);
    const int retorno = chamada(buffer.data());
    if (analisa) {
        iRetorno = retorno;
        VerificaRetorno();
    }
    if (!falhaDeComunicacao(retorno)) global = buffer;
    return retorno;
}

void mostraZRestantes() { Fprincipal->ui->LbZRestantes->setText(printer::texto(sReducoesRestantes)); }
void mostraUltimoDoc() {
    Fprincipal->ui->LbUltimoDocMFD->setText(formataDataHora(sDataHoraUltimoDoc, 1, sDataHoraUltimoDoc, 7));
}
void mostraMfdLivre() { Fprincipal->ui->GMfd->setValue(percentualLivre(sPercentualLivreMFD)); }

}  // namespace

bool LeInformacoesECF() {
    auto* ui = Fprincipal->ui.get();
    const std::vector<QWidget*> valores = valoresDoPainel();
    size_t lidos = 0;
    // The first read the printer does not answer ends the sequence with its
    // one box: that value and those after it keep what was read before,
    // marked as not refreshed.
    const auto respondeu = [&](int retorno) {
        if (falhaDeComunicacao(retorno)) {
            for (size_t i = lidos; i < valores.size(); ++i) marcaAtualizado(valores[i], false);
            return false;
        }
        return true;
    };
    const auto lido = [&](QWidget* valor) {
        marcaAtualizado(valor, true);
        ++lidos;
    };

    ui->Gstatus->setValue(5);
    QByteArray serie = bufferEmBranco(20);
    sComando = QStringLiteral("Lendo Número de Série");
    const int retornoSerie = iRetorno = Kestrona_FI_NumeroSerieMFD(serie.data());
    if (!falhaDeComunicacao(retornoSerie)) {
        sNumeroSerie = printer::texto(serie);
        ui->LbNumeroSerie->setText(sNumeroSerie);
    }
    VerificaRetorno();
    if (!respondeu(retornoSerie)) return false;
    lido(ui->LbNumeroSerie);

    QByteArray modelo;
    if (!respondeu(lePainel("Lendo Modelo", modelo, 11, &Kestrona_FI_ModeloImpressora, true))) return false;
    if (!modelo.isNull()) sModelo = modelo.left(8);

    ui->Gstatus->setValue(6);
    if (!respondeu(
            lePainel("Lendo Versão do Software Básico", sVersaoFirmware, 7, &Kestrona_FI_VersaoFirmwareMFD, true)))
        return false;
    ui->LbVersao->setText(formataVersao(sVersaoFirmware));
    lido(ui->LbVersao);

    ui->Gstatus->setValue(7);
    if (!respondeu(lePainel("Lendo Número Reduções Restantes", sReducoesRestantes, 4, &Kestrona_FI_ReducoesRestantesMFD,
                            true)))
        return false;
    mostraZRestantes();
    lido(ui->LbZRestantes);

    ui->Gstatus->setValue(8);
    if (!respondeu(lePainel("Lendo Data Último Doc na MFD", sDataHoraUltimoDoc, 12,
                            &Kestrona_FI_DataHoraUltimoDocumentoMFD, true)))
        return false;
    mostraUltimoDoc();
    lido(ui->LbUltimoDocMFD);

    ui->Gstatus->setValue(9);
    QByteArray data = bufferEmBranco(6);
    QByteArray hora = bufferEmBranco(6);
    sComando = QStringLiteral("Lendo Data da Última Redução");
    const int retornoReducao = iRetorno = Kestrona_FI_DataHoraReducao(data.data(), hora.data());
    VerificaRetorno();
    if (!respondeu(retornoReducao)) return false;
    sDataUltimaReducao = data;
    sHoraUltimaReducao = hora;
    ui->LbUltimaZ->setText(formataDataHora(sDataUltimaReducao, 1, sHoraUltimaReducao, 1));
    lido(ui->LbUltimaZ);

    ui->Gstatus->setValue(10);
    sComando = QStringLiteral("Lendo status do Horário de Verão");
    if (!respondeu(LeStatusHorarioVerao())) return false;
    ++lidos;  // marked by the reading itself

    if (!respondeu(lePainel("Lendo Uso da MFD", sPercentualLivreMFD, 6, &Kestrona_FI_PercentualLivreMFD, true)))
        return false;
    mostraMfdLivre();
    lido(ui->GMfd);
    return true;
}

void LeContadoresDoPainel() {
    auto* ui = Fprincipal->ui.get();
    // Only a read that succeeded replaces what the panel shows.
    const auto le = [](QByteArray& global, int largura, LeituraDeBuffer chamada, QWidget* valor, void (*mostra)()) {
        QByteArray lido;
        const bool respondeu = lePainel(nullptr, lido, largura, chamada, false) == 1;
        if (respondeu) {
            global = lido;
            mostra();
        }
        marcaAtualizado(valor, respondeu);
    };
    le(sReducoesRestantes, 4, &Kestrona_FI_ReducoesRestantesMFD, ui->LbZRestantes, &mostraZRestantes);
    le(sDataHoraUltimoDoc, 12, &Kestrona_FI_DataHoraUltimoDocumentoMFD, ui->LbUltimoDocMFD, &mostraUltimoDoc);
    le(sPercentualLivreMFD, 6, &Kestrona_FI_PercentualLivreMFD, ui->GMfd, &mostraMfdLivre);
}

void MarcaContadoresNaoAtualizados() {
    auto* ui = Fprincipal->ui.get();
    for (QWidget* valor : std::initializer_list<QWidget*>{ui->LbZRestantes, ui->LbUltimoDocMFD, ui->GMfd})
        marcaAtualizado(valor, false);
}

void MostraNaoLocalizada() {
    auto* ui = Fprincipal->ui.get();
    ui->Gstatus->setValue(0);
    for (QPushButton* botao :
         {ui->BtConfigFiscais, ui->BtRelatoriosFiscais, ui->BtComandosAdicionais, ui->BtDadosDaMFD})
        botao->setEnabled(false);
    ui->BtBobina->setEnabled(false);
    ui->BtLocalizarImpressora->setText(QStringLiteral("Localizar Impressora"));
    ui->BtLocalizarImpressora->setIcon(QIcon());
    ui->BtLocalizarImpressora->setProperty("imagem", QVariant());
    for (QWidget* valor : valoresDoPainel()) {
        marcaAtualizado(valor, true);
        if (auto* rotulo = qobject_cast<QLabel*>(valor)) rotulo->setText(QStringLiteral("*"));
    }
    ui->GMfd->setValue(0);
}

int LeStatusHorarioVerao() {
    int flags = 0;
    sComando = QStringLiteral("Lendo Flags Fiscais");
    const int retorno = iRetorno = Kestrona_FI_FlagsFiscais(&flags);
    VerificaRetorno();
    // A failed read says nothing about the flags: the state read before
    // stays (none before the first read), marked as not refreshed.
    if (retorno < 1) {
        marcaAtualizado(Fprincipal->ui->LbStatusVerao, false);
        return retorno;
    }

    const bool ativo = (flags & 4) != 0;
    sHorarioVerao = ativo ? QStringLiteral("ATIVO") : QStringLiteral("INATIVO");
    Fprincipal->ui->LbStatusVerao->setText(ativo ? QStringLiteral("Ativo") : QStringLiteral("Inativo"));
    marcaAtualizado(Fprincipal->ui->LbStatusVerao, true);
    MostraHorarioVerao(uComandosAdicionais::FComandosAdicionais.existente());
    MostraHorarioVerao(URelFiscais::FRelFiscais.existente());
    return retorno;
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

    // From here the port is closed: whatever stops the location leaves the
    // window as before the printer was located.
    if (!ini.writeString(kSistema, QStringLiteral("Porta"), QStringLiteral("USB")))
        return uZentora3::MostraNaoLocalizada();
    recarregaIni();
    sComando = QStringLiteral("Abrindo Porta USB");
    int retorno = iRetorno = Kestrona_FI_AbrePortaSerial();
    if (retorno == 1) VerificaRetorno();

    if (retorno < 1) {
        ui->Gstatus->setValue(2);
        Kestrona_FI_FechaPortaSerial();
        if (!ini.writeString(QStringLiteral("MFD"), QStringLiteral("Impressora"), QStringLiteral("1")) ||
            !ini.writeString(kSistema, QStringLiteral("Porta"), QStringLiteral("Default")))
            return uZentora3::MostraNaoLocalizada();
        recarregaIni();
        sComando = QStringLiteral("Abrindo Porta Serial");
        retorno = iRetorno = Kestrona_FI_AbrePortaSerial();
        VerificaRetorno();
        if (retorno < 1) return uZentora3::MostraNaoLocalizada();
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

    // A printer that stops answering while it is identified is not located.
    if (!uZentora3::LeInformacoesECF()) {
        Kestrona_FI_FechaPortaSerial();
        return uZentora3::MostraNaoLocalizada();
    }
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
