// The registers of the "Tipo E" text files (the public fiscal layout of the
// file generated from a printer's memories): fixed-position fields, each
// record ended by CR LF, ASCII only.  N fields are right-aligned zeros, X
// fields left-aligned blanks, D dates yyyymmdd, H times hhmmss; amounts carry
// two implied decimals.  Only the registers whose field tables are known are
// written: E01, E02, E12, E13, E14, E15 and E18 (README says which sources
// are unverified and what is left out).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "estado.h"

namespace kesafi::tipo_e {

// Who the printer and its user are, as the registers name them.
struct Identidade {
    std::string serie, modelo, marca, tipoEcf, versaoSb;
    int64_t gravacaoSb = 0;  // wall time the firmware version was recorded
    int sequencial = 1;      // the printer's number in the shop
    std::string cnpj, inscricaoEstadual, razaoSocial, endereco;
    int64_t cadastro = 0;  // wall time the user was registered
    int64_t croCadastro = 1, gtCadastro = 0;
    int usuario = 1;
    std::string versaoBiblioteca;
};

// Windows-1252 text as ASCII: accented letters lose their accents, anything
// else outside ASCII becomes a blank.
std::string ascii(std::string_view cp1252);

// One record each, CR LF included.
std::string e01(const Identidade& id, std::string_view comando, int64_t crzInicial, int64_t crzFinal, int dataInicial,
                int dataFinal);
std::string e02(const Identidade& id);
std::string e12(const Identidade& id, const Reducao& r);
// One record per partial total of the reduction, sorted by the total's code.
std::string e13(const Identidade& id, const Reducao& r);
std::string e14(const Identidade& id, const Cupom& c, int64_t emissao);
std::string e15(const Identidade& id, const Cupom& c, const Item& i);
// One record per payment method that received an amount in the reduction's day.
std::string e18(const Identidade& id, const Reducao& r, const Tabelas& t);

}  // namespace kesafi::tipo_e
