#include "totalizadores.h"

#include "memoria.h"
#include "texto.h"

namespace kesafi {
namespace {

// Slot of a rate code, 0 when it is none.
int slotDe(std::string_view codigo) {
    if (codigo.size() != 7 || (codigo[2] != 'T' && codigo[2] != 'S')) return 0;
    for (size_t i : {0, 1, 3, 4, 5, 6})
        if (codigo[i] < '0' || codigo[i] > '9') return 0;
    const int slot = (codigo[0] - '0') * 10 + (codigo[1] - '0');
    return slot >= 1 && slot <= 16 ? slot : 0;
}

}  // namespace

std::string codigoAliquota(const Tabelas& t, int slot) {
    const Aliquota& a = t.aliquotas[static_cast<size_t>(slot - 1)];
    return digits(slot, 2) + (a.iss ? "S" : "T") + digits(a.valor, 4);
}

std::string codigoNaoTributado(Parcial p) {
    switch (p) {
        case Parcial::SubstituicaoIcms:
            return "F1";
        case Parcial::IsencaoIcms:
            return "I1";
        case Parcial::NaoIncidenciaIcms:
            return "N1";
        case Parcial::SubstituicaoIss:
            return "FS1";
        case Parcial::IsencaoIss:
            return "IS1";
        case Parcial::NaoIncidenciaIss:
            return "NS1";
    }
    return {};
}

int64_t& parcial(TotaisDia& t, std::string_view codigo) {
    if (const int slot = slotDe(codigo)) return t.aliquotas[static_cast<size_t>(slot - 1)];
    if (codigo == "F1") return t.icms.substituicao;
    if (codigo == "I1") return t.icms.isencao;
    if (codigo == "N1") return t.icms.naoIncidencia;
    if (codigo == "FS1") return t.iss.substituicao;
    if (codigo == "IS1") return t.iss.isencao;
    if (codigo == "NS1") return t.iss.naoIncidencia;
    throw MemoriaIlegivel("totalizador desconhecido: " + std::string(codigo));
}

bool ehIss(std::string_view codigo) {
    if (slotDe(codigo)) return codigo[2] == 'S';
    return codigo == "FS1" || codigo == "IS1" || codigo == "NS1";
}

std::string situacaoTributaria(std::string_view codigo) {
    if (const int slot = slotDe(codigo)) return std::string(1, codigo[2]) + digits(slot, 2);
    return std::string(codigo);
}

}  // namespace kesafi
