#include "ustatus.h"

namespace UStatus {

int iRetorno = 0;
QString sComando;
int iACK = 0;
int iST1 = 0;
int iST2 = 0;
int iST3 = 0;
QString sMensagem;
QString sRetornoECF;
QString sBitsST1;
QString sBitsST2;
QString sPrimeiraResposta;
QString sSegundaResposta;
QString sTerceiraResposta;
QString sRetornoEstendido;

QString sPastaBase;
QString sNumeroSerie;
QString sNomeArquivo;
QString sHorarioVerao;

QString sAbreTXT;
QString sPastaCadastro;
QString sInterface;
QString sEnviaComandoOFFline;
QString sTrataOFFLine;

QString sChaveAssinatura1;
QString sChaveAssinatura2;

void ReiniciaGlobais() {
    iRetorno = iACK = iST1 = iST2 = iST3 = 0;
    for (QString* s : {&sComando,
                       &sMensagem,
                       &sRetornoECF,
                       &sBitsST1,
                       &sBitsST2,
                       &sPrimeiraResposta,
                       &sSegundaResposta,
                       &sTerceiraResposta,
                       &sRetornoEstendido,
                       &sPastaBase,
                       &sNumeroSerie,
                       &sNomeArquivo,
                       &sHorarioVerao,
                       &sAbreTXT,
                       &sPastaCadastro,
                       &sInterface,
                       &sEnviaComandoOFFline,
                       &sTrataOFFLine,
                       &sChaveAssinatura1,
                       &sChaveAssinatura2})
        s->clear();
}

}  // namespace UStatus
