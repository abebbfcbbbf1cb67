/*
 * Fiscal printer library interface, and the signature library's one function.
 *
 * Every function returns a signed 32-bit result: 1 success, 0 communication
 * error, negative library error.  Text inputs are zero-terminated 8-bit
 * strings in the Windows-1252 code page.  Text outputs are caller buffers
 * that hold exactly as many spaces as the field is wide (plus the
 * terminating zero); the library writes at most that many characters into
 * them.  Integer outputs are pointers to signed 32-bit integers.
 *
 * Any library exporting these functions with these signatures can take the
 * place of the virtual printer shipped with the program.
 */
#ifndef KESAFI32_H
#define KESAFI32_H

#if defined(_WIN32)
#define KESAFI_CALL __stdcall
#if defined(KESAFI_BUILDING)
#define KESAFI_API __declspec(dllexport)
#else
#define KESAFI_API __declspec(dllimport)
#endif
#else
#define KESAFI_CALL
#define KESAFI_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The acknowledge byte of the printer's answer (RetornoImpressoraMFD). */
enum { KESAFI_ACK = 6, KESAFI_NAK = 21 };

/* The status bits of the answer's first byte (ST1). */
enum {
    KESAFI_ST1_FIM_DE_PAPEL = 128,
    KESAFI_ST1_POUCO_PAPEL = 64,
    KESAFI_ST1_ERRO_NO_RELOGIO = 32,
    KESAFI_ST1_ECF_EM_ERRO = 16,
    KESAFI_ST1_COMANDO_SEM_ESC = 8,
    KESAFI_ST1_COMANDO_INEXISTENTE = 4,
    KESAFI_ST1_CUPOM_ABERTO = 2,
    KESAFI_ST1_PARAMETRO_INVALIDO = 1
};

/* The status bits of the answer's second byte (ST2). */
enum {
    KESAFI_ST2_ERRO_NO_TIPO_DE_PARAMETRO = 128,
    KESAFI_ST2_MEMORIA_FISCAL_LOTADA = 64,
    KESAFI_ST2_ERRO_DE_CMOS = 32,
    KESAFI_ST2_ALIQUOTA_NAO_PROGRAMADA = 16,
    KESAFI_ST2_ALIQUOTA_ESGOTADA = 8,
    KESAFI_ST2_CANCELAMENTO_NAO_PERMITIDO = 4,
    KESAFI_ST2_CNPJ_IE_NAO_PROGRAMADOS = 2,
    KESAFI_ST2_COMANDO_NAO_EXECUTADO = 1
};

/* The extended codes (ST3, with the extended return on) this library
 * answers; the printer's documentation gives others it never sends. */
enum {
    KESAFI_ST3_COMANDO_OK = 0,
    KESAFI_ST3_TIPO_DE_PARAMETRO_INVALIDO = 4,
    KESAFI_ST3_TODAS_ALIQUOTAS_JA_PROGRAMADAS = 5,
    KESAFI_ST3_TOTALIZADOR_NAO_FISCAL_JA_PROGRAMADO = 6,
    KESAFI_ST3_CUPOM_FISCAL_ABERTO = 7,
    KESAFI_ST3_COMANDO_NAO_EFETIVADO = 18,
    KESAFI_ST3_SEM_ESPACO_PARA_FORMAS_DE_PAGAMENTO = 19,
    KESAFI_ST3_NAO_IMEDIATAMENTE_APOS_O_CUPOM = 26,
    KESAFI_ST3_CANCELAMENTO_JA_EFETUADO = 27,
    KESAFI_ST3_RELATORIO_GERENCIAL_JA_PROGRAMADO = 40,
    KESAFI_ST3_RELATORIO_GERENCIAL_NAO_PROGRAMADO = 41,
    KESAFI_ST3_MFD_LOTADA = 47,
    KESAFI_ST3_CUPOM_NAO_FISCAL_ABERTO = 48,
    KESAFI_ST3_MEMORIA_FISCAL_LOTADA = 51,
    KESAFI_ST3_DATA_INICIAL_INVALIDA = 52,
    KESAFI_ST3_DATA_FINAL_INVALIDA = 53,
    KESAFI_ST3_REDUCAO_INICIAL_INVALIDA = 54,
    KESAFI_ST3_REDUCAO_FINAL_INVALIDA = 55,
    KESAFI_ST3_JA_HOUVE_MOVIMENTO_NO_DIA = 62,
    KESAFI_ST3_BLOQUEIO_POR_RZ = 63,
    KESAFI_ST3_AGUARDANDO_RZ = 66,
    KESAFI_ST3_RELOGIO_ANTERIOR_AO_ULTIMO_DOC = 75,
    KESAFI_ST3_DESCRICAO_IGUAL_A_DEFAULT = 78,
    KESAFI_ST3_AGUARDANDO_RZ_PARA_INTERVENCAO = 89,
    KESAFI_ST3_DATA_E_HORA_INVALIDA = 100,
    KESAFI_ST3_SEM_RELATORIO_GERENCIAL_ABERTO = 101,
    KESAFI_ST3_NUMERO_DO_TOTALIZADOR_INVALIDO = 102,
    KESAFI_ST3_NUMERO_DO_RELATORIO_INVALIDO = 105,
    KESAFI_ST3_NOME_EM_BRANCO = 111,
    KESAFI_ST3_DATA_E_HORA_ANTERIORES_AO_ULTIMO_DOC = 112,
    KESAFI_ST3_ERRO_NA_MEMORIA_FISCAL = 123,
    KESAFI_ST3_FORMA_DE_PAGAMENTO_JA_PROGRAMADA = 155,
    KESAFI_ST3_HORARIO_DE_VERAO_SO_APOS_RZ = 156,
    KESAFI_ST3_SEM_DADOS_NA_MFD = 160,
    KESAFI_ST3_ESPACOS_FORA_DO_PERMITIDO = 193,
    KESAFI_ST3_ALIQUOTA_COM_VALOR_NULO = 195,
    KESAFI_ST3_INTERVALO_INVALIDO = 214
};

/* Widths of the answer buffers, in characters, without the terminating zero. */
enum {
    KESAFI_LARGURA_VERSAO_DLL = 9,
    KESAFI_LARGURA_NUMERO_SERIE = 20,
    KESAFI_LARGURA_MODELO = 11,
    KESAFI_LARGURA_VERSAO_FIRMWARE = 7,
    KESAFI_LARGURA_REDUCOES_RESTANTES = 4,
    KESAFI_LARGURA_DATA_HORA_ULTIMO_DOC = 12,
    KESAFI_LARGURA_DATA = 6, /* ddmmyy */
    KESAFI_LARGURA_HORA = 6, /* hhmmss */
    KESAFI_LARGURA_PERCENTUAL_LIVRE = 6,
    KESAFI_LARGURA_COO = 6,
    KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO = 1279,
    KESAFI_LARGURA_ALIQUOTAS = 79,
    KESAFI_LARGURA_INDICES_ISS = 48,
    KESAFI_LARGURA_FORMAS_PAGAMENTO = 3016,
    KESAFI_LARGURA_RECEBIMENTOS = 1077,
    KESAFI_LARGURA_RELATORIOS_GERENCIAIS = 659
};

/* Port and library */
KESAFI_API int KESAFI_CALL Kestrona_FI_AbrePortaSerial(void);
KESAFI_API int KESAFI_CALL Kestrona_FI_FechaPortaSerial(void);
KESAFI_API int KESAFI_CALL Kestrona_FI_SelecionaIniLocal(void);
KESAFI_API int KESAFI_CALL Kestrona_FI_ReloadINIFile(void);
KESAFI_API int KESAFI_CALL Kestrona_FI_RetornoImpressoraMFD(int* ack, int* st1, int* st2, int* st3);
KESAFI_API int KESAFI_CALL Kestrona_FI_HabilitaDesabilitaRetornoEstendidoMFD(const char* flag);
KESAFI_API int KESAFI_CALL Kestrona_FI_AtivaDesativaTratamentoONOFFLineMFD(int modo);
KESAFI_API int KESAFI_CALL Kestrona_FI_VersaoDll(char* versao /* KESAFI_LARGURA_VERSAO_DLL */);

/* Identity and state */
KESAFI_API int KESAFI_CALL Kestrona_FI_NumeroSerieMFD(char* numeroSerie /* KESAFI_LARGURA_NUMERO_SERIE */);
KESAFI_API int KESAFI_CALL Kestrona_FI_ModeloImpressora(char* modelo /* KESAFI_LARGURA_MODELO */);
KESAFI_API int KESAFI_CALL Kestrona_FI_VersaoFirmwareMFD(char* versao /* KESAFI_LARGURA_VERSAO_FIRMWARE */);
KESAFI_API int KESAFI_CALL Kestrona_FI_ReducoesRestantesMFD(char* reducoes /* KESAFI_LARGURA_REDUCOES_RESTANTES */);
KESAFI_API int KESAFI_CALL
Kestrona_FI_DataHoraUltimoDocumentoMFD(char* dataHora /* KESAFI_LARGURA_DATA_HORA_ULTIMO_DOC */);
KESAFI_API int KESAFI_CALL Kestrona_FI_DataHoraReducao(char* data /* KESAFI_LARGURA_DATA */,
                                                       char* hora /* KESAFI_LARGURA_HORA */);
KESAFI_API int KESAFI_CALL Kestrona_FI_DataMovimento(char* data /* KESAFI_LARGURA_DATA */);
KESAFI_API int KESAFI_CALL Kestrona_FI_PercentualLivreMFD(char* percentual /* KESAFI_LARGURA_PERCENTUAL_LIVRE */);
KESAFI_API int KESAFI_CALL Kestrona_FI_FlagsFiscais(int* flags);
KESAFI_API int KESAFI_CALL Kestrona_FI_DataHoraImpressora(char* data /* KESAFI_LARGURA_DATA */,
                                                          char* hora /* KESAFI_LARGURA_HORA */);
KESAFI_API int KESAFI_CALL Kestrona_FI_NumeroCupom(char* coo /* KESAFI_LARGURA_COO */);
KESAFI_API int KESAFI_CALL Kestrona_FI_DadosUltimaReducaoMFD(char* dados /* KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO */);

/* Fiscal tables */
KESAFI_API int KESAFI_CALL Kestrona_FI_RetornoAliquotas(char* aliquotas /* KESAFI_LARGURA_ALIQUOTAS */);
KESAFI_API int KESAFI_CALL Kestrona_FI_VerificaIndiceAliquotasIss(char* indices /* KESAFI_LARGURA_INDICES_ISS */);
KESAFI_API int KESAFI_CALL Kestrona_FI_ProgramaAliquota(const char* aliquota, int tipo);
/* The three naming functions refuse a name with a control character (below
 * 0x20, DEL) or a byte Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90,
 * 0x9D): -2, answered KESAFI_ACK, KESAFI_ST1_PARAMETRO_INVALIDO and
 * KESAFI_ST3_TIPO_DE_PARAMETRO_INVALIDO; the tables stay as they were. */
KESAFI_API int KESAFI_CALL Kestrona_FI_VerificaFormasPagamento(char* formas /* KESAFI_LARGURA_FORMAS_PAGAMENTO */);
KESAFI_API int KESAFI_CALL Kestrona_FI_ProgramaFormaPagamentoMFD(const char* nome, const char* vinculo);
KESAFI_API int KESAFI_CALL
Kestrona_FI_VerificaRecebimentoNaoFiscalMFD(char* recebimentos /* KESAFI_LARGURA_RECEBIMENTOS */);
KESAFI_API int KESAFI_CALL Kestrona_FI_NomeiaTotalizadorNaoSujeitoIcms(int indice, const char* nome);
KESAFI_API int KESAFI_CALL
Kestrona_FI_VerificaRelatorioGerencialMFD(char* relatorios /* KESAFI_LARGURA_RELATORIOS_GERENCIAIS */);
KESAFI_API int KESAFI_CALL Kestrona_FI_NomeiaRelatorioGerencialMFD(const char* indice, const char* nome);

/* Fiscal reports */
KESAFI_API int KESAFI_CALL Kestrona_FI_LeituraX(void);
KESAFI_API int KESAFI_CALL Kestrona_FI_LeituraXSerial(void);
KESAFI_API int KESAFI_CALL Kestrona_FI_ReducaoZ(const char* data /* ddmmyy or null */,
                                                const char* hora /* hhmmss or null */);
KESAFI_API int KESAFI_CALL Kestrona_FI_LeituraMemoriaFiscalDataMFD(const char* inicial, const char* final,
                                                                   const char* tipo);
KESAFI_API int KESAFI_CALL Kestrona_FI_LeituraMemoriaFiscalReducaoMFD(const char* inicial, const char* final,
                                                                      const char* tipo);
KESAFI_API int KESAFI_CALL Kestrona_FI_LeituraMemoriaFiscalSerialDataMFD(const char* inicial, const char* final,
                                                                         const char* tipo);
KESAFI_API int KESAFI_CALL Kestrona_FI_LeituraMemoriaFiscalSerialReducaoMFD(const char* inicial, const char* final,
                                                                            const char* tipo);

/* Service commands */
KESAFI_API int KESAFI_CALL Kestrona_FI_ProgramaHorarioVerao(void);
KESAFI_API int KESAFI_CALL Kestrona_FI_AcionaGaveta(void);
KESAFI_API int KESAFI_CALL Kestrona_FI_VerificaEstadoGaveta(int* estado);
KESAFI_API int KESAFI_CALL Kestrona_FI_AtivaDesativaGuilhotinaMFD(int ativa);
KESAFI_API int KESAFI_CALL Kestrona_FI_AtivaDesativaCorteTotalMFD(int ativa);
KESAFI_API int KESAFI_CALL Kestrona_FI_AcionaGuilhotinaMFD(int tipoCorte);
KESAFI_API int KESAFI_CALL Kestrona_FI_AbreRelatorioGerencialMFD(const char* indice);
KESAFI_API int KESAFI_CALL Kestrona_FI_UsaRelatorioGerencialMFD(const char* texto);
KESAFI_API int KESAFI_CALL Kestrona_FI_FechaRelatorioGerencial(void);
KESAFI_API int KESAFI_CALL Kestrona_FI_EspacoEntreLinhas(int pontos);
KESAFI_API int KESAFI_CALL Kestrona_FI_LinhasEntreCupons(int linhas);
KESAFI_API int KESAFI_CALL Kestrona_FI_CancelaCupom(void);
KESAFI_API int KESAFI_CALL Kestrona_FI_CancelaRecebimentoNaoFiscalMFD(const char* formaPagamento, const char* valor,
                                                                      const char* cpf);

/*
 * Fiscal memory and tape data.  Every file these functions write ends with
 * the EAD signature line (validateFile checks it): signed with the two key
 * texts given to ArquivoMFD and EspelhoMFD, with the program's own key pair
 * for the others.  Paths may use Windows separators.  A file is written under
 * a temporary name and appears whole, replacing a file of its name; on any
 * failure nothing is left (ArquivoMFD's files appear together or not at
 * all).  Temporaries ("<name>.parcial-<number>") that a killed process left
 * are removed by the next call writing into their folder.
 *
 * Ranges: selector "D" (FormatoDadosMFD: "1") with dates "dd/mm/yy" (also
 * "ddmmyy" or "dd/mm/yyyy"), "C" ("2") with COOs of up to six digits; blanks
 * around them are ignored.  User "1" to "5" (the printer has one user, 1).
 * Results: 1 done; -2 a rejected argument (null or overlong text, selector,
 * user, type, flag or format out of its values, keys that do not sign, a
 * source file given to ArquivoMFD, a destination that is KESAFI32.ini or the
 * printer's memory however spelt); -27 refused by the printer: an
 * unreadable date (KESAFI_ST3_DATA_INICIAL_INVALIDA,
 * KESAFI_ST3_DATA_FINAL_INVALIDA) or COO, a first value after the last
 * (KESAFI_ST3_INTERVALO_INVALIDO), a range without documents or another user
 * (KESAFI_ST3_SEM_DADOS_NA_MFD); -1 a file that could not be written, or a
 * stored file that is not a Download.MFD, is damaged or is no regular file (a
 * FIFO is refused at once).
 */

/* The fiscal memory (every reduction with its totals) into `arquivo`, in
 * the library's binary layout (README). */
KESAFI_API int KESAFI_CALL Kestrona_FI_DownloadMF(const char* arquivo);
/* A range of the tape into the folder named by [Sistema] Path at the moment
 * of the call: "Download.MFD" (binary, README) and the "Tipo E" file of type
 * `tipo` (0 MF, 1 MFD, 2 TDM, 3 RZ, 4 RFD: the tape's image), named
 * <type><serial>_<yyyymmdd>_<hhmmss>.TXT; with `arquivoUnico` 0 one file per
 * day of movement (its date in the name).  `origem` must be null or empty:
 * the data come from the printer. */
KESAFI_API int KESAFI_CALL Kestrona_FI_ArquivoMFD(const char* origem, const char* inicial, const char* final,
                                                  const char* seletor, const char* usuario, int tipo,
                                                  const char* chave1, const char* chave2, int arquivoUnico);
/* The mirror of a range (every document as printed) into `destino`. */
KESAFI_API int KESAFI_CALL Kestrona_FI_EspelhoMFD(const char* destino, const char* inicial, const char* final,
                                                  const char* seletor, const char* usuario, const char* chave1,
                                                  const char* chave2);
/* A stored Download.MFD (`origem`) turned into the mirror of a range, without
 * the printer: text ("0", as EspelhoMFD writes it), RTF ("1") or an SQLite
 * database ("2"). */
KESAFI_API int KESAFI_CALL Kestrona_FI_FormatoDadosMFD(const char* origem, const char* destino, const char* formato,
                                                       const char* seletor, const char* inicial, const char* final,
                                                       const char* usuario);
KESAFI_API int KESAFI_CALL Kestrona_FI_ImprimeConfiguracoesImpressora(void);

/*
 * Signature library (a separate shared library, sign_kesa): 1 when the file
 * ends with an EAD line whose signature validates against the key texts, 0
 * otherwise (no file, no EAD line, a changed byte, unusable keys).  chave1 is
 * the modulus (256 hexadecimal digits, public exponent 65537) and all that
 * checking needs; chave2, the private exponent, is accepted and not used.
 * Null pointers give 0.
 */
#if defined(_WIN32) && !defined(SIGN_KESA_BUILDING)
#define SIGN_KESA_API __declspec(dllimport)
#elif defined(_WIN32)
#define SIGN_KESA_API __declspec(dllexport)
#else
#define SIGN_KESA_API __attribute__((visibility("default")))
#endif
SIGN_KESA_API int KESAFI_CALL validateFile(const char* arquivo, const char* chave1, const char* chave2);

#ifdef __cplusplus
}
#endif

#endif /* KESAFI32_H */
