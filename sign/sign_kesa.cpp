// The signature library: validateFile over the EAD line of a generated file.
#include <cstring>
#include <string_view>

#include "ead/ead.h"
#include "kesafi32.h"

extern "C" SIGN_KESA_API int KESAFI_CALL validateFile(const char* arquivo, const char* chave1, const char* /*chave2*/) {
    if (!arquivo || !chave1) return 0;
    // A key text longer than a key is refused without reading all of it.
    const std::string_view modulo(chave1, strnlen(chave1, ead::kDigitos + 1));
    try {
        return ead::validaArquivo(arquivo, modulo) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}
