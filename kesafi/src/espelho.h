// The mirror of a stretch of the tape ("Espelho da MFD"): every document as
// printed, under a line that names it, after a heading that names the
// printer and the stretch.  The same report comes out of the printer's
// memory (EspelhoMFD) and of a stored Download.MFD (FormatoDadosMFD), as
// text, as RTF or as an SQLite database; every one is signed.
//
// The text (in the system's code page, UTF-8 on Linux; CR LF):
//
//   ESPELHO DA MFD - MEMÓRIA DE FITA-DETALHE
//   NÚMERO DE FABRICAÇÃO: VF080000000000010247
//   MODELO: VF-80 TH
//   USUÁRIO: 01
//   INTERVALO: DATAS 01/03/2024 A 12/03/2024          (or COO 000001 A 000123)
//   GERADO EM: 12/03/2024 10:00:00
//   ================================================
//   COO:000123 CUPOM 12/03/2024 10:00:01              (COO:000000 for a trace)
//   ...the document as printed...
//   ================================================
//   ...
//   TOTAL DE DOCUMENTOS: 123
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "memoria.h"
#include "saida.h"

namespace kesafi::espelho {

struct Identificacao {
    std::string serie, modelo;
    int usuario = 1;
    Faixa faixa;
    int64_t gerado = 0;  // wall time
};

enum class Formato { Texto, Rtf, Banco };

// Hands every document of the stretch (and each receipt's data, after its
// document) to the two functions; false when the source failed.
using Fonte = std::function<bool(const std::function<void(const Documento&)>& documento,
                                 const std::function<void(const Cupom&)>& cupom)>;

// Writes the report into `f` and signs it with the two key texts; the caller
// puts it in place (ArquivoAssinado::publica).  False when it could not be
// written or the source failed.
bool escreve(Formato formato, ArquivoAssinado& f, const Identificacao& id, const Fonte& fonte, std::string_view chave1,
             std::string_view chave2);

// The heading line of a document in the text.
std::string titulo(const Documento& d);

}  // namespace kesafi::espelho
