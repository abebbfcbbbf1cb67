// The MF/MFD data functions behind ArquivoMFD, EspelhoMFD, FormatoDadosMFD
// and DownloadMF: their arguments checked, the files written (signed, under
// temporary names until every one is whole) and the answer.
//
// Ranges are as the program passes them: dates "dd/mm/yy" (also "ddmmyy",
// "dd/mm/yyyy"), COOs of up to six digits; blanks around them are ignored.
// Paths may use Windows separators.  Results: 1 done; -2 an argument the
// library rejects (a null or overlong text, a selector, user, type, flag or
// format out of its values, key texts that do not sign, a source file given
// to ArquivoMFD, a destination that is one of the library's own files:
// KESAFI32.ini or the printer's memory); -27 the printer refuses: an
// unreadable date (KESAFI_ST3_DATA_INICIAL_INVALIDA or
// KESAFI_ST3_DATA_FINAL_INVALIDA) or COO range, a first value after the last
// (KESAFI_ST3_INTERVALO_INVALIDO), a range without documents or a user the
// printer never had (KESAFI_ST3_SEM_DADOS_NA_MFD); -1 a file that could not
// be written, or a stored file that cannot be read or is no regular file (a
// FIFO is refused at once).
#pragma once

#include "sessao.h"

namespace kesafi::dados {

Resposta arquivoMfd(Sessao& s, const char* origem, const char* inicial, const char* final, const char* seletor,
                    const char* usuario, int tipo, const char* chave1, const char* chave2, int arquivoUnico);
Resposta espelhoMfd(Sessao& s, const char* destino, const char* inicial, const char* final, const char* seletor,
                    const char* usuario, const char* chave1, const char* chave2);
Resposta formatoDadosMfd(const Sessao& s, const char* origem, const char* destino, const char* formato,
                         const char* seletor, const char* inicial, const char* final, const char* usuario);
Resposta downloadMf(Sessao& s, const char* arquivo);

}  // namespace kesafi::dados
