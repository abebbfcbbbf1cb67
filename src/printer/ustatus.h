// Globals shared by every window, and the analysis that follows every
// printer command.
#pragma once

#include <QString>

namespace UStatus {

// Result of the last library call: 1 success, 0 communication error,
// negative library error.
extern int iRetorno;
// Text naming the command about to be sent ("Lendo Modelo").
extern QString sComando;

// The last command's answer: acknowledge byte (6 ACK, 21 NAK), status bytes
// ST1 and ST2 and the extended code ST3.
extern int iACK;
extern int iST1;
extern int iST2;
extern int iST3;

extern QString sMensagem;
extern QString sRetornoECF;
extern QString sBitsST1;
extern QString sBitsST2;
extern QString sPrimeiraResposta;
extern QString sSegundaResposta;
extern QString sTerceiraResposta;
extern QString sRetornoEstendido;

// The program's folder with its trailing separator.
extern QString sPastaBase;
// The located printer's serial number, 20 characters, blanks included.
extern QString sNumeroSerie;
// Stem of the report file names: serial number, "_", ddmmyyyy_hhmmss.
extern QString sNomeArquivo;
// The printer's daylight-saving state: "ATIVO", "INATIVO" or empty.
extern QString sHorarioVerao;

// The program's settings as loaded at start and changed by the settings window.
extern QString sAbreTXT;
extern QString sPastaCadastro;
extern QString sInterface;
extern QString sEnviaComandoOFFline;
extern QString sTrataOFFLine;

// The two signing-key texts, 256 upper-case hexadecimal digits each.
extern QString sChaveAssinatura1;
extern QString sChaveAssinatura2;

// Turns iRetorno and the printer's answer into the globals above and boxes;
// the status strip lights its panels and appends its memo block from them
// (printer::avisos()).
void VerificaRetorno();
// Shows "RESPOSTA DO ECF" with the three answers of the last analysis;
// nothing after a NAK, whose box has already been shown.
void MostraRespostaImpressora();

// Puts every global back to its value at program start (tests).
void ReiniciaGlobais();

}  // namespace UStatus
