// Texts of the printer's answers.
#pragma once

#include <QString>

namespace printer {

// Text of an extended code (ST3); empty for 216 and codes above 218.
QString textoST3(int codigo);
int quantidadeTextosST3();

// Text of a library result code; empty for 1 and every code without a text.
QString textoRetorno(int retorno);

// Name of a status bit of ST1 (byte 1) or ST2 (byte 2), position 1 (value
// 128) to 8 (value 1).
QString nomeBit(int byte, int posicao);

}  // namespace printer
