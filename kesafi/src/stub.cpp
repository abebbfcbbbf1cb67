// Temporary entry points: every function of the library, not yet implemented.
#include "kesafi32.h"
#include "kesafi_virtual.h"

extern "C" {

KESAFI_API int KESAFI_CALL Kestrona_FI_AbrePortaSerial(void) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_FechaPortaSerial(void) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_SelecionaIniLocal(void) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_ReloadINIFile(void) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_RetornoImpressoraMFD(int*, int*, int*, int*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_HabilitaDesabilitaRetornoEstendidoMFD(const char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_AtivaDesativaTratamentoONOFFLineMFD(int) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_VersaoDll(char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_NumeroSerieMFD(char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_ModeloImpressora(char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_VersaoFirmwareMFD(char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_ReducoesRestantesMFD(char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_DataHoraUltimoDocumentoMFD(char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_DataHoraReducao(char*, char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_DataMovimento(char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_PercentualLivreMFD(char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_FlagsFiscais(int*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_DataHoraImpressora(char*, char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_NumeroCupom(char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_DadosUltimaReducaoMFD(char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_RetornoAliquotas(char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_VerificaIndiceAliquotasIss(char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_ProgramaAliquota(const char*, int) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_VerificaFormasPagamento(char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_ProgramaFormaPagamentoMFD(const char*, const char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_VerificaRecebimentoNaoFiscalMFD(char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_NomeiaTotalizadorNaoSujeitoIcms(int, const char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_VerificaRelatorioGerencialMFD(char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_NomeiaRelatorioGerencialMFD(const char*, const char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_LeituraX(void) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_LeituraXSerial(void) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_ReducaoZ(const char*, const char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_LeituraMemoriaFiscalDataMFD(const char*, const char*, const char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_LeituraMemoriaFiscalReducaoMFD(const char*, const char*, const char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_LeituraMemoriaFiscalSerialDataMFD(const char*, const char*, const char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_LeituraMemoriaFiscalSerialReducaoMFD(const char*, const char*, const char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_ProgramaHorarioVerao(void) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_AcionaGaveta(void) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_VerificaEstadoGaveta(int*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_AtivaDesativaGuilhotinaMFD(int) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_AtivaDesativaCorteTotalMFD(int) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_AcionaGuilhotinaMFD(int) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_AbreRelatorioGerencialMFD(const char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_UsaRelatorioGerencialMFD(const char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_FechaRelatorioGerencial(void) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_EspacoEntreLinhas(int) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_LinhasEntreCupons(int) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_CancelaCupom(void) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_CancelaRecebimentoNaoFiscalMFD(const char*, const char*, const char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_DownloadMF(const char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_ArquivoMFD(const char*, const char*, const char*, const char*, const char*, int, const char*, const char*, int) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_EspelhoMFD(const char*, const char*, const char*, const char*, const char*, const char*, const char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_FormatoDadosMFD(const char*, const char*, const char*, const char*, const char*, const char*, const char*) { return -1; }
KESAFI_API int KESAFI_CALL Kestrona_FI_ImprimeConfiguracoesImpressora(void) { return -1; }
KESAFI_API int KESAFI_CALL KesafiVirtual_DefinePastaBase(const char*) { return -1; }
KESAFI_API int KESAFI_CALL KesafiVirtual_CriaImpressora(const char*, int) { return -1; }
KESAFI_API int KESAFI_CALL KesafiVirtual_DefineDeslocamentoRelogio(long long) { return -1; }
KESAFI_API int KESAFI_CALL KesafiVirtual_FixaRelogio(const char*) { return -1; }
KESAFI_API int KESAFI_CALL KesafiVirtual_Liga(int) { return -1; }
KESAFI_API int KESAFI_CALL KesafiVirtual_Conecta(const char*) { return -1; }
KESAFI_API int KESAFI_CALL KesafiVirtual_ForcaResposta(int, int, int, int, int) { return -1; }
KESAFI_API int KESAFI_CALL KesafiVirtual_ForcaBufferLixo(const char*, int) { return -1; }
KESAFI_API int KESAFI_CALL KesafiVirtual_LimpaForcados(void) { return -1; }
KESAFI_API int KESAFI_CALL KesafiVirtual_AdicionaVendas(int) { return -1; }
KESAFI_API int KESAFI_CALL KesafiVirtual_LeFita(int, char*, int) { return -1; }
KESAFI_API int KESAFI_CALL KesafiVirtual_LeContador(const char*, long long*) { return -1; }
KESAFI_API int KESAFI_CALL KesafiVirtual_ContaChamadas(const char*, int*) { return -1; }
}
