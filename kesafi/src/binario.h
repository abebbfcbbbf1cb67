// The binary files the library writes: Download.MFD (a stretch of the tape
// detail memory) and the fiscal memory file (.mf).  Our own layout, version 1:
//
//   8 bytes   signature: "KMFD" (or "KMF " for the fiscal memory), CR, LF,
//             0x1A, LF; a file mangled as text or cut short shows at once
//   2 bytes   layout version (1)
//   records   each: 1 byte type, 4 bytes length of what follows, the fields
//   the EAD signature line, as every file the library generates
//
// Integers are little-endian: u8, u16, u32, i64 (amounts in cents, quantities
// in thousandths); a text (Windows-1252) is its u32 length and its bytes.
// Dates are u32 yyyymmdd, times u32 hhmmss.  Record types:
//
//   'H' header     serial number, model, firmware, brand, library version
//                  (texts), user (u8), range kind (u8: 'D' dates, 'C' COOs,
//                  'M' the whole fiscal memory), first and last (i64: dates
//                  yyyymmdd or COOs), generation date and time
//   'D' document   COO (u32, 0 for a trace of a command), kind (text), date,
//                  time, text as printed (text)
//   'C' receipt    the data of the receipt whose 'D' precedes it: CCF (u32),
//                  subtotal, discount, surcharge, net amount (i64), cancelled
//                  (u8), COO of its credit or debit voucher (u32, 0 for none)
//   'I' item       of that receipt: number (u16), code, description (texts),
//                  quantity (i64), unit (text), unit price, discount,
//                  surcharge, total (i64), partial total's code (text),
//                  cancelled (u8)
//   'P' payment    of that receipt: method (u8), its name (text), amount (i64)
//   'Z' reduction  CRZ, COO (u32), date of movement, date, time, its
//                  answer record (text of KESAFI_LARGURA_DADOS_ULTIMA_REDUCAO
//                  characters, positions as DadosUltimaReducaoMFD gives them)
//   'E' end        number of 'D' and of 'Z' records (u32 each)
//
// A reader skips record types it does not know and stops at 'E'.
#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "estado.h"

namespace kesafi::binario {

inline constexpr char kAssinaturaMfd[] = "KMFD\r\n\x1a\n";
inline constexpr char kAssinaturaMf[] = "KMF \r\n\x1a\n";
inline constexpr uint16_t kVersao = 1;

struct Cabecalho {
    std::string serie, modelo, firmware, marca, versaoBiblioteca;
    int usuario = 1;
    char tipoFaixa = 'D';
    int64_t inicial = 0, final = 0;
    int64_t gerado = 0;  // wall time
};

// Builds one record.
class Registro {
public:
    explicit Registro(char tipo) : tipo_(tipo) {}
    Registro& u8(unsigned v);
    Registro& u16(unsigned v);
    Registro& u32(uint64_t v);
    Registro& i64(int64_t v);
    Registro& texto(std::string_view v);
    Registro& data(int64_t wall);  // date and time of a wall time
    // The record as it goes into the file.
    std::string bytes() const;

private:
    char tipo_;
    std::string campos_;
};

std::string cabecalho(const char* assinatura, const Cabecalho& c);  // signature, version, 'H'
std::string documento(const Documento& d);
std::string cupom(const Cupom& c);  // 'C', its 'I's and 'P's
std::string reducao(const Reducao& r);
std::string fim(uint32_t documentos, uint32_t reducoes);

// Reads a Download.MFD file, streamed.  Every record is checked against its
// length; false (with the reason) for a file that is not one, is of a newer
// version, or is damaged or cut short.  `cupom` receives each receipt with
// its items and payments, after its document.
struct Leitura {
    Cabecalho cabecalho;
    uint32_t documentos = 0, reducoes = 0;
    std::string erro;
};
bool le(const std::string& arquivo, Leitura& saida, const std::function<void(const Documento&)>& documento,
        const std::function<void(const Cupom&)>& cupom = {});
// Only the signature, the version and the header record.
bool leCabecalho(const std::string& arquivo, Leitura& saida);

}  // namespace kesafi::binario
