/* The printer library's public header as a C caller sees it: it compiles as
 * ISO C99, and its names are constant expressions a caller sizes by. */
#include "kesafi32.h"

typedef char kesafi_versao_dll[KESAFI_LARGURA_VERSAO_DLL + 1];
typedef char kesafi_textos_st3[KESAFI_ST3_INTERVALO_INVALIDO + 1];
