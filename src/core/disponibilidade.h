// What the command manager governs and how it keeps it: the 33 functions
// offered to users, in the order of their flags in the setting `Status`,
// the flags themselves and the stored form of the manager's password.
#pragma once

#include <QString>
#include <array>
#include <optional>

namespace UGerenciador {

constexpr int kFuncoes = 33;

// The windows whose controls the manager governs.
enum class Janela { Principal, ConfigECF, RelFiscais, ComandosAdicionais, DadosMFeMFD };

// One governed function: its flag's position in `Status` (from 1), its check
// box in the manager and the control it enables, found by name in its window
// whenever the flags are applied.
struct Funcao {
    int posicao;
    const char* caixa;
    Janela janela;
    const char* controle;
};

// The 33 functions, in the order of their flags.
const std::array<Funcao, kFuncoes>& Funcoes();

// Name of a window for messages ("TFRelFiscais").
const char* NomeDaJanela(Janela janela);

// The flags in memory: "1" available, "0" not.
extern std::array<QString, kFuncoes> aStatus;

// The flags a stored `Status` value stands for: "0" where the value holds
// "0"; "1" for any other character and for the positions a short value lacks.
std::array<QString, kFuncoes> LeFlags(const QString& status);
// The flags joined in order, as `Status` keeps them.
QString JuntaFlags(const std::array<QString, kFuncoes>& flags);

// Each character's code in upper-case hexadecimal, at least two digits:
// "abc" gives "616263".
QString TextoParaHex(const QString& texto);
// Each successive pair of hexadecimal digits (either case) read as a
// character code; a last lone digit is ignored.  Nothing when a pair is not
// hexadecimal.
std::optional<QString> HexParaTexto(const QString& hex);
// True when every character of `senha` has a code up to 255, so that its
// two-digit form reads back as the same text.
bool SenhaGravavel(const QString& senha);

}  // namespace UGerenciador
