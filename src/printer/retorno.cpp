// Analysis of the printer's answer after every command.

#include <QStringList>

#include "avisos.h"
#include "kesafi32.h"
#include "platform/dialogs.h"
#include "textos_st3.h"
#include "ustatus.h"

namespace printer {

QString textoRetorno(int retorno) {
    switch (retorno) {
        case 0:
            return QStringLiteral("Erro de Comunicação !");
        case -1:
            return QStringLiteral("Erro de execução na Função !");
        case -2:
            return QStringLiteral("Parâmetro inválido na Função !");
        case -3:
            return QStringLiteral("Alíquota não Programada !");
        case -4:
            return QStringLiteral("Arquivo KESAFI32.INI não Encontrado !");
        case -5:
            return QStringLiteral("Erro ao abrir a Porta de Comunicação !");
        case -6:
            return QStringLiteral("Impressora Desligada ou Cabo de Comunicação Desconectado !");
        case -7:
            return QStringLiteral("Código do Banco não encontrado no arquivo KESAFI32.INI !");
        case -8:
            return QStringLiteral("Erro ao criar ou gravar arquivo STATUS.TXT ou RETORNO.TXT !");
        case -27:
            return QStringLiteral("Status diferente de 6, 0, 0 !");
        case -30:
            return QStringLiteral("Função incompatível com a impressora fiscal YANCO !");
        default:
            return {};
    }
}

QString nomeBit(int byte, int posicao) {
    static const char16_t* const kST1[] = {u"Fim do Papel", u"Pouco Papel",       u"Erro no Relógio",
                                           u"ECF em Erro",  u"Comando sem ESC",   u"Comando Inexistente",
                                           u"Cupom Aberto", u"Parâmetro Inválido"};
    static const char16_t* const kST2[] = {
        u"Erro no Tipo de Parâmetro",   u"Memória Fiscal Lotada", u"Erro de CMOS",
        u"Alíquota Não Programada",     u"Alíquota Esgotada",     u"Cancelamento Não Permitido",
        u"CNPJ e I.E. não Programados", u"Comando Não Executado"};
    if (posicao < 1 || posicao > 8 || (byte != 1 && byte != 2)) return {};
    return QString::fromUtf16((byte == 1 ? kST1 : kST2)[posicao - 1]);
}

}  // namespace printer

namespace UStatus {
namespace {

// Successive subtraction of the bit values 128 down to 1: a "1" or "0" per
// bit into `bits`, and the quoted name of each set bit into `resposta`.  A
// negative value leaves every bit at "0".
void decodificaBits(int byte, int valor, QString& bits, QString& resposta) {
    int resto = valor;
    int peso = 128;
    for (int posicao = 1; posicao <= 8; ++posicao, peso /= 2) {
        if (resto >= peso) {
            resto -= peso;
            bits += QLatin1Char('1');
            resposta += QStringLiteral(" \"") + printer::nomeBit(byte, posicao) + QLatin1Char('"');
        } else {
            bits += QLatin1Char('0');
        }
    }
}

}  // namespace

void VerificaRetorno() {
    emit printer::avisos().comandoVerificado();
    sBitsST1.clear();
    sBitsST2.clear();
    sMensagem = printer::textoRetorno(iRetorno);

    Kestrona_FI_RetornoImpressoraMFD(&iACK, &iST1, &iST2, &iST3);

    if (iACK == KESAFI_NAK) {
        platform::dialogs::error(QStringLiteral("Atenção"),
                                 QStringLiteral("A Impressora retornou NAK !\rErro de Protocolo de Comunicação !"));
        return;
    }

    sPrimeiraResposta = iST1 == 0 ? QStringLiteral("OK") : QString();
    sSegundaResposta = iST2 == 0 ? QStringLiteral("OK") : QString();
    sRetornoECF = QStringLiteral("ACK - ST1 - ST2 - ST3 = %1, %2, %3, %4").arg(iACK).arg(iST1).arg(iST2).arg(iST3);

    // The whole answer is decoded before a box can open, so that nothing
    // running while it is open finds the globals half written.
    const QString textoDoRetorno = sMensagem;
    decodificaBits(1, iST1, sBitsST1, sPrimeiraResposta);
    decodificaBits(2, iST2, sBitsST2, sSegundaResposta);
    sMensagem += printer::textoST3(iST3);
    sRetornoEstendido = sMensagem;
    sTerceiraResposta = sRetornoEstendido;

    if (iRetorno < 1) platform::dialogs::information(QStringLiteral("RETORNO DO ECF"), textoDoRetorno);

    emit printer::avisos().respostaDecodificada();
}

void MostraRespostaImpressora() {
    // A NAK left the answers of the command before: its box has said that
    // this one was not acknowledged, and there is no answer to show.
    if (iACK == KESAFI_NAK) return;
    platform::dialogs::information(QStringLiteral("RESPOSTA DO ECF"),
                                   QStringLiteral("RESPOSTA DA IMPRESSORA AO COMANDO : ") + sComando +
                                       QStringLiteral("\r\rPrimeira Resposta : ") + sPrimeiraResposta +
                                       QStringLiteral("\r\rSegunda Resposta : ") + sSegundaResposta +
                                       QStringLiteral("\r\rTerceira Resposta : ") + sTerceiraResposta);
}

}  // namespace UStatus
