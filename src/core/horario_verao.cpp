#include "horario_verao.h"

#include "datahora.h"
#include "eventos.h"
#include "kesafi32.h"
#include "platform/dialogs.h"
#include "printer/buffer.h"
#include "printer/ustatus.h"
#include "sessao.h"

using namespace UStatus;
using printer::bufferEmBranco;

namespace uComandosAdicionais {

QString sVeraoPossivel;
QDateTime dHoraECF;
QDateTime dHoraComando;

namespace {

const QString kTituloPergunta = QStringLiteral("HORÁRIO DE VERÃO");

// An exit about to be sent at once ends a wait still running, so that the
// command goes out once.
void encerraEspera() { emit core::eventos().esperaSaidaEncerrada(); }

}  // namespace

void naoLido(const QString& titulo, const QString& oQue, const QString& texto) {
    platform::dialogs::error(
        titulo, QStringLiteral("Não Foi Possível Ler ") + oQue + QStringLiteral(": \"") + texto + QLatin1Char('"'));
}

bool AlteraHorarioVerao() {
    sComando = QStringLiteral("Alterar Horário de Verão");
    const int retorno = iRetorno = Kestrona_FI_ProgramaHorarioVerao();
    VerificaRetorno();
    MostraRespostaImpressora();
    if (retorno <= 0) return false;
    sComando = QStringLiteral("Verificando Horário de Verão");
    uZentora3::LeStatusHorarioVerao();
    return true;
}

void SaiHorarioVerao() {
    QByteArray reducao = bufferEmBranco(KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO);
    sComando = QStringLiteral("Verificando COO da Z");
    iRetorno = Kestrona_FI_DadosUltimaReducaoMFD(reducao.data());
    const QString cooReducao = printer::campo(reducao, 14, 6);
    VerificaRetorno();

    QByteArray coo = bufferEmBranco(KESAFI_LARGURA_COO);
    sComando = QStringLiteral("Verificando Último COO");
    iRetorno = Kestrona_FI_NumeroCupom(coo.data());
    VerificaRetorno();
    sVeraoPossivel = cooReducao == printer::texto(coo) ? QStringLiteral("Possivel") : QStringLiteral("Impossivel");

    QByteArray ultimo = bufferEmBranco(KESAFI_LARGURA_DATA_HORA_ULTIMO_DOC);
    sComando = QStringLiteral("Verificando Ultimo Doc na MFD");
    iRetorno = Kestrona_FI_DataHoraUltimoDocumentoMFD(ultimo.data());
    VerificaRetorno();

    QByteArray data = bufferEmBranco(KESAFI_LARGURA_DATA);
    QByteArray hora = bufferEmBranco(KESAFI_LARGURA_HORA);
    sComando = QStringLiteral("Verificando Relógio do ECF");
    iRetorno = Kestrona_FI_DataHoraImpressora(data.data(), hora.data());
    VerificaRetorno();

    const QString dataECF = dataDoBuffer(data);
    const QString horaECF = horaDoBuffer(hora);
    const QString dataDoc = dataDoBuffer(ultimo, 1);
    const QString horaDoc = horaDoBuffer(ultimo, 7);
    const auto diaECF = dataDeTexto(dataECF);
    if (!diaECF) return naoLido(kTituloPergunta, QStringLiteral("a Data da Impressora"), dataECF);
    const auto horarioECF = horaDeTexto(horaECF);
    if (!horarioECF) return naoLido(kTituloPergunta, QStringLiteral("a Hora da Impressora"), horaECF);
    const auto diaDoc = dataDeTexto(dataDoc);
    if (!diaDoc) return naoLido(kTituloPergunta, QStringLiteral("a Data do Último Documento"), dataDoc);
    const auto horarioDoc = horaDeTexto(horaDoc);
    if (!horarioDoc) return naoLido(kTituloPergunta, QStringLiteral("a Hora do Último Documento"), horaDoc);

    if (diaDoc->daysTo(*diaECF) > 0) {
        encerraEspera();
        AlteraHorarioVerao();
        return;
    }
    // Both on the printer's day: an hour after a document late in the
    // evening falls on the next one.
    dHoraComando = momento(*diaECF, *horarioDoc).addSecs(3600);
    dHoraECF = momento(*diaECF, *horarioECF);
    if (dHoraECF >= dHoraComando) {
        encerraEspera();
        AlteraHorarioVerao();
    } else {
        emit core::eventos().esperaSaidaPedida(dHoraECF);
    }
}

QString DiferencaHoras(const QString& primeira, const QString& segunda) {
    const auto de = horaDeTexto(primeira);
    const auto ate = horaDeTexto(segunda);
    if (!de || !ate) return {};
    int segundos = de->secsTo(*ate);
    if (segundos < 0) segundos += 86400;
    return textoHora(QTime(0, 0).addSecs(segundos));
}

void MostraContagem(const QString& horaECF, const QString& horaComando) {
    emit core::eventos().contagemVerao(QStringLiteral("Aguarde !!! Hora do ECF  : ") + horaECF + QLatin1Char('\r') +
                                       QStringLiteral("Comando Será Enviado as : ") + horaComando);
}

void MostraSemContagem() { emit core::eventos().contagemVerao(QStringLiteral("Emitir Redução Z")); }

}  // namespace uComandosAdicionais
