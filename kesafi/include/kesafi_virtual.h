/*
 * Control of the virtual fiscal printer behind KESAFI32.
 *
 * Not part of the Kestrona_FI_* set: a vendor library does not export these.
 * Tests and the program's own diagnostics use them to steer the virtual
 * printer.  All functions return 1 on success and a negative value on
 * failure (-2 bad argument, -1 anything else).  Texts are 8-bit
 * Windows-1252, zero-terminated; folder names are in the system's code
 * page (UTF-8 on Linux), as in KESAFI32.ini.
 */
/*
 * How the virtual printer answers the Kestrona_FI_* calls:
 *  - results: 1 done; -2 an argument the library rejects (null pointer, bad
 *    format); -4 no KESAFI32.ini in the installation folder; -5 the port is
 *    not open, the printer is not attached to the port being opened, or
 *    another process has the port open (below); -6 opening the port of a
 *    printer switched off; 0 any other call to a printer switched off
 *    (nothing answers); -8 the capture file "Retorno.txt" could not be
 *    written; -27 the printer refused the command (ACK 6, ST1/ST2 bits, ST3
 *    code); -1 the memory failed, or could not be opened because the system
 *    refused (a full disk, no permission: the memory stays as it was), or a
 *    file of the MF/MFD data functions could not be written (kesafi32.h).
 *    Library-side calls (VersaoDll, SelecionaIniLocal, ReloadINIFile,
 *    FechaPortaSerial, HabilitaDesabilitaRetornoEstendidoMFD,
 *    FormatoDadosMFD) need neither port nor printer.
 *  - the memory ("memoria.db" in the memory folder) is never deleted,
 *    truncated or replaced on the way to opening it: only a folder with no
 *    memory at all gets a new printer.  It carries the version of its
 *    layout; an older one is upgraded in one transaction when opened.
 *  - one port, one process: while a process has the printer's memory open
 *    (opened by AbrePortaSerial or by a control call below that reads or
 *    changes the printer, closed by FechaPortaSerial or
 *    KesafiVirtual_DefinePastaBase) it holds a lock of the operating system
 *    on it ("memoria.trava" beside it), which the system releases when the
 *    process ends, however it ends.  Another process's AbrePortaSerial
 *    returns -5 and changes nothing; its control calls return -1.
 *  - a memory that cannot be read (a damaged or truncated file, a malformed
 *    stored value, a layout or a version this library does not know) makes
 *    a printer with a damaged fiscal memory: the port opens; RetornoImpressoraMFD,
 *    the library-side calls, ModeloImpressora and VersaoFirmwareMFD answer;
 *    every other call, NumeroSerieMFD included (the serial number lives in
 *    the memory), is refused with -27, ST1 16 ("ECF em Erro"), ST2 1
 *    ("Comando Não Executado") and ST3 123 ("ERRO NA MEMÓRIA FISCAL CHAMAR
 *    CREDENCIADO"), leaving its buffers alone.  The file's path and the
 *    reason go to the standard error output and the files stay as they
 *    were.  A record found unreadable by a command does the same from then
 *    on (the command is undone).  Of the control calls, AdicionaVendas and
 *    AdicionaRecebimentos are refused like the sales they are, FixaRelogio,
 *    DefineDeslocamentoRelogio, LeFita and the printer's counters of
 *    LeContador return -1, and CriaImpressora replaces the printer.
 *  - text buffers receive as many characters as they hold before their
 *    terminating zero, never more than the field's width.
 *  - the clock: a document is never stored with a time before the last
 *    document's.  While the printer's clock reads earlier than that, every
 *    answer has ST1 bit 32 ("Erro no Relógio") and every command that would
 *    print is refused with ST1 32, ST2 1 and ST3 75 ("DADOS DO RTC
 *    ANTERIORES AO ÚLTIMO DOC ARMAZENADO").
 *  - the tape detail memory (PercentualLivreMFD) shrinks with every record;
 *    at 00,00% free new documents are refused with ST2 1 and ST3 47 ("MFD
 *    LOTADA"); what completes a document already open still goes in.
 *  - a sale paid with a linked payment method (vinculada) is followed by its
 *    credit or debit voucher (a document: COO, GNF and CDC go up); cancelling
 *    the receipt reverses it.
 *  - FlagsFiscais: 1 a fiscal receipt is in progress, 4 daylight-saving
 *    time, 8 the day is closed by a reduction, 32 the last document is a
 *    receipt that may be cancelled, 128 no reductions left in the fiscal
 *    memory.
 *  - documents left open (KesafiVirtual_DeixaDocumentoAberto, [Virtual]
 *    DocumentoAberto): while a fiscal receipt is in progress every answer
 *    has ST1 bit 2 ("Cupom Aberto") and other documents are refused with
 *    ST3 7; an open non-fiscal receipt or managerial report refuses them
 *    with ST1 2 and ST3 48.  CancelaCupom cancels a receipt in progress on
 *    its own paper (no new COO; CFC counts it), otherwise the last receipt
 *    when it is the last document (a new COO; ST2 4 with ST3 26, or 27
 *    once cancelled).  CancelaRecebimentoNaoFiscalMFD does the same for
 *    non-fiscal receipts (CNC).  FechaRelatorioGerencial closes an open
 *    managerial report; with none open it refuses with ST2 1 and ST3 101.
 *  - ranges: EspacoEntreLinhas 0-127 dots, LinhasEntreCupons 5-30 lines
 *    (else ST3 193); cutter and off-line switches 0 or 1 (else -2).
 *  - a drawer opened by AcionaGaveta reads open (0) for ten seconds of the
 *    printer's clock, then closed (1) again (VerificaEstadoGaveta).
 */
#ifndef KESAFI_VIRTUAL_H
#define KESAFI_VIRTUAL_H

#include "kesafi32.h"

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Folder (with or without trailing separator) where the library looks for
 * KESAFI32.ini instead of the program's folder (the folder named by the
 * environment variable ZENTORA_PASTA_BASE, else that of the executable).  The
 * default memory folder ("Impressora Virtual") lies below it as well.
 * Closes the port and forgets all state held in memory (forced answers,
 * garbage buffers, the last status); the printer's memory on disk stays,
 * closed and no longer locked by this process.
 */
KESAFI_API int KESAFI_CALL KesafiVirtual_DefinePastaBase(const char* pasta);

/*
 * Replaces the printer whose memory lives in the given folder by a brand new
 * one (factory tables, a deterministic past of several days of sales with
 * their reductions, the last one on an earlier day).  The folder is created
 * when missing.  An empty or null folder means the configured memory folder.
 * `semente` varies the serial number and the past (0 is the default printer).
 * -1 when another process holds that memory.
 */
KESAFI_API int KESAFI_CALL KesafiVirtual_CriaImpressora(const char* pasta, int semente);

/* Printer's clock: an offset in seconds over the computer's clock. */
KESAFI_API int KESAFI_CALL KesafiVirtual_DefineDeslocamentoRelogio(long long segundos);

/*
 * Freezes the printer's clock at "ddmmyyyyhhmmss" (it no longer runs);
 * null or empty lets it run again from the computer's clock plus offset.
 */
KESAFI_API int KESAFI_CALL KesafiVirtual_FixaRelogio(const char* ddmmyyyyhhmmss);

/*
 * A technical intervention on the printer: its operation restarts (CRO goes
 * up by one) and the tape records it.  Returns the printer's result: 1, or
 * -27 while a document is open or a day's movement waits for its reduction
 * (ST3 89), 0 with the printer switched off.
 */
KESAFI_API int KESAFI_CALL KesafiVirtual_IntervencaoTecnica(void);

/*
 * Switches the printer off (0) or on (1).  A printer switched off answers no
 * call; the setting lasts until the base folder is set again.
 */
KESAFI_API int KESAFI_CALL KesafiVirtual_Liga(int ligada);

/*
 * Where the printer is attached: "USB", "Serial" (the library's serial
 * default) or "" (nowhere).  Written to the [Virtual] section of
 * KESAFI32.ini, so it survives a restart of the program.
 */
KESAFI_API int KESAFI_CALL KesafiVirtual_Conecta(const char* porta);

/*
 * The next Kestrona_FI_* call (other than RetornoImpressoraMFD) does nothing
 * and returns `retorno`; the status read after it gives ack, st1, st2, st3
 * (ack 21 is a NAK), st3 as given whether or not the extended return is on.
 * Calls may be queued: each forced answer serves one call.  A forced answer
 * serves before a garbage buffer.
 */
KESAFI_API int KESAFI_CALL KesafiVirtual_ForcaResposta(int retorno, int ack, int st1, int st2, int st3);

/*
 * The next call that fills a text buffer fills it, within its width, with
 * these bytes repeated (binary, `tamanho` bytes, zeros allowed) and returns
 * 1 with a normal status.
 */
KESAFI_API int KESAFI_CALL KesafiVirtual_ForcaBufferLixo(const char* bytes, int tamanho);

/*
 * The next VerificaEstadoGaveta that reaches the printer reports `estado`
 * whatever the drawer's state (a sensor wired the other way round gives 0
 * for closed, a faulty one any value).  Readings may be queued.
 */
KESAFI_API int KESAFI_CALL KesafiVirtual_ForcaEstadoGaveta(int estado);

/* Forgets every queued forced answer, garbage buffer and drawer reading. */
KESAFI_API int KESAFI_CALL KesafiVirtual_LimpaForcados(void);

/*
 * Issues `quantidade` sales receipts on the current fiscal day (as a cashier
 * would), each one a document on the tape with its COO.  Fails like a real
 * sale would (for instance with a reduction pending from an earlier day).
 */
KESAFI_API int KESAFI_CALL KesafiVirtual_AdicionaVendas(int quantidade);

/*
 * Issues `quantidade` non-fiscal receipts (cash supplies of 50,00 on the
 * factory totalizer 30 "Suprimento"), each one a document with its COO;
 * fails like `KesafiVirtual_AdicionaVendas`.
 */
KESAFI_API int KESAFI_CALL KesafiVirtual_AdicionaRecebimentos(int quantidade);

/*
 * Leaves a document open, as a point-of-sale program that stopped in the
 * middle of it: "Cupom" (a fiscal receipt with its items, not totalled),
 * "NaoFiscal" (a cash supply of 50,00 on totalizer 30, not paid) or
 * "Gerencial" (managerial report 1 with a line of text); any case.  Returns
 * the printer's result: 1, or -27 when it refuses (a document already open,
 * a reduction pending, the day closed), 0 with the printer switched off.
 */
KESAFI_API int KESAFI_CALL KesafiVirtual_DeixaDocumentoAberto(const char* documento);

/*
 * Copies into `destino` (at most `tamanho` - 1 bytes, zero-terminated) the
 * text of the last `documentos` documents of the tape, oldest first, each
 * one preceded by a line "COO nnnnnn <kind> ddmmyyyy hhmmss".  Returns the
 * length of the whole text (which may exceed what fitted).
 */
KESAFI_API int KESAFI_CALL KesafiVirtual_LeFita(int documentos, char* destino, int tamanho);

/*
 * The tape, read only and a page at a time: what a tape view on screen
 * needs (a vendor library has none of these three functions; the program
 * looks them up and does without them).  Every record of the tape (a
 * document with its COO, or the trace of a command with COO 0) has a
 * number that grows along the tape in printing order and is never reused,
 * so a reader that keeps the last number it read reads only what came
 * after it.  They answer from the printer's memory through the open port:
 * -5 with the port closed, 0 with the printer switched off, -1 with a
 * memory that cannot be read.  They send no command, are not counted by
 * KesafiVirtual_ContaChamadas, leave the last status as it was and take no
 * forced answer nor garbage buffer.
 */

/*
 * Numbers of the first and of the last record of the tape (0 and 0 while
 * the tape is empty).
 */
KESAFI_API int KESAFI_CALL KesafiVirtual_FitaLimites(long long* primeiro, long long* ultimo);

/*
 * Reads up to `quantidade` records (1 to 1000), oldest first: those numbered
 * from `numero` on when `sentido` is 1, those up to `numero` when it is -1.
 * The page goes into `destino`, zero-terminated, its length into `bytes`:
 * each record is one line "numero coo tipo ddmmyyyy hhmmss tamanho" (in
 * decimal, the COO in six digits) ending in CR LF, followed by exactly
 * `tamanho` bytes of the record's text as printed (Windows-1252, CR LF).
 * An empty page (no record there) has length 0.  -3 when the page and its
 * zero do not fit in `capacidade` bytes: `bytes` then tells the length and
 * `destino` is left alone.
 */
KESAFI_API int KESAFI_CALL KesafiVirtual_FitaLe(long long numero, int sentido, int quantidade, char* destino,
                                                int capacidade, int* bytes);

/*
 * Number of the first record with a COO from `inicial` to `final`
 * (`porData` 0), or issued on a day from `inicial` to `final` (yyyymmdd,
 * `porData` 1), into `numero`; 0 there when the tape holds none.
 */
KESAFI_API int KESAFI_CALL KesafiVirtual_FitaProcura(int porData, long long inicial, long long final,
                                                     long long* numero);

/*
 * Copies into `destino` (at most `tamanho` - 1 bytes, zero-terminated) the
 * text arguments of the latest Kestrona_FI_* call of the tables, readings,
 * service commands and MF/MFD data functions that takes texts, as the
 * library received them (ArquivoMFD: its seven texts in argument order): each
 * in double quotes, NULL for a null pointer, separated by commas (for
 * instance "5   ","10  ","c").  Empty before any such call since the base
 * folder was set.  Returns the length of the whole text.
 */
KESAFI_API int KESAFI_CALL KesafiVirtual_LeTextos(char* destino, int tamanho);

/*
 * Reads one of the printer's counters or states by name into `valor`:
 * "COO", "CRZ" (reductions), "CRO", "GNF", "CCF", "GRG", "CDC", "CFC", "CNC",
 * "CFD", "CDCCancelados", "ReducoesRestantes",
 * "FlagsFiscais", "Gaveta", "Guilhotina", "CorteTotal", "EspacoEntreLinhas",
 * "LinhasEntreCupons", "TratamentoOffLine", "RetornoEstendido", "PortaAberta",
 * "Documentos" (count on the tape), "Reducoes" (count in the fiscal memory),
 * "RelogioDeslocamento" (clock offset in seconds).
 */
KESAFI_API int KESAFI_CALL KesafiVirtual_LeContador(const char* nome, long long* valor);

/*
 * Number of Kestrona_FI_* calls received by name ("LeituraX" or
 * "Kestrona_FI_LeituraX") since the base folder was set (all when null).
 */
KESAFI_API int KESAFI_CALL KesafiVirtual_ContaChamadas(const char* funcao, int* quantidade);

#ifdef __cplusplus
}
#endif

#endif /* KESAFI_VIRTUAL_H */
