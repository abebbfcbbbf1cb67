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
// E13 and E18 detail a reduction as it closed the day: one record per partial
// total of the reduction (the rates programmed then and every untaxed,
// adjustment and non-fiscal total) and one per payment method of the table,
// zero amounts included, each reduction's records in the order of their keys.
std::string e13(const Identidade& id, const Reducao& r);
std::string e14(const Identidade& id, const Cupom& c, int64_t emissao);
std::string e15(const Identidade& id, const Cupom& c, const Item& i);
std::string e18(const Identidade& id, const Reducao& r, const Tabelas& t);

// The registers a file may hold with no data for them.
enum class Registro { E12, E13, E14, E15, E18 };

// The one record written for a register that a file holds but that has no
// data: its first four fields identify the printer (the register's name, the
// serial number, the additional-MF letter, the model), every other field is
// zeros (N, D, H) or blanks (X).
std::string vazio(Registro registro, const Identidade& id);

}  // namespace kesafi::tipo_e
