// The partial totals an item's amount goes to, by the code the printer gives
// each one: "01T1800" (ICMS rate in slot 01, 18,00%), "03S0500" (ISSQN rate in
// slot 03), "F1", "I1", "N1" (ICMS tax substitution, exemption,
// non-incidence) and "FS1", "IS1", "NS1" (the same for ISSQN).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "estado.h"

namespace kesafi {

enum class Parcial { SubstituicaoIcms, IsencaoIcms, NaoIncidenciaIcms, SubstituicaoIss, IsencaoIss, NaoIncidenciaIss };

// Code of the programmed rate in `slot` (1 to 16).
std::string codigoAliquota(const Tabelas& t, int slot);
std::string codigoNaoTributado(Parcial p);

// The day's total a code accumulates in; a code no printer gives means a
// damaged memory (MemoriaIlegivel).
int64_t& parcial(TotaisDia& t, std::string_view codigo);
bool ehIss(std::string_view codigo);
// The code as the receipt prints it beside the item ("T01", "S03", "F1").
std::string situacaoTributaria(std::string_view codigo);

}  // namespace kesafi
