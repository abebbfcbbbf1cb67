// What the library reads from KESAFI32.ini in the program's folder: the port
// the program tries ([Sistema] Porta), the folder its files go to ([Sistema]
// Path) and the virtual printer's own section [Virtual].  Read at the moment
// it is needed, never cached, except where the library's calls say so (the
// port is taken at SelecionaIniLocal and ReloadINIFile).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kesafi {

enum class Porta { Nenhuma, Usb, Serial };

// Upper case of the ASCII letters, blanks at both ends removed.
std::string maiusculas(std::string_view v);
// A folder or file path as the system takes it: Windows separators become
// the platform's.
std::string caminhoDoSistema(std::string_view caminho);
// The folder with a trailing separator.
std::string comBarra(std::string pasta);

class Configuracao {
public:
    explicit Configuracao(std::string base) : base_(std::move(base)) {}

    const std::string& base() const { return base_; }  // program's folder, trailing separator
    std::string arquivo() const { return base_ + "KESAFI32.ini"; }
    bool existe() const;

    // [Sistema] Porta.
    std::string portaSistema() const;
    // Where the virtual printer is attached ([Virtual] Porta; USB when absent).
    Porta portaConectada() const;
    bool conecta(std::string_view valor) const;  // writes [Virtual] Porta
    // Folder of the printer's memory ([Virtual] Memoria, relative to the
    // program's folder; "Impressora Virtual" when absent).
    std::string pastaMemoria() const;
    int semente() const;                  // [Virtual] Semente, 0 when absent or no number
    std::string documentoAberto() const;  // [Virtual] DocumentoAberto
    // The folder named by [Sistema] Path (the program's folder when empty),
    // with trailing separator.
    std::string pastaDeSaida() const;
    // True when `caminho` names one of the library's own files: this
    // KESAFI32.ini or the printer's memory (memoria.db with its -wal, -shm
    // and -journal, memoria.trava), however it is spelt (relative, "..",
    // symbolic links, another case, a second hard link).  No generated
    // file may replace them.
    bool arquivoProprio(const std::string& caminho) const;

private:
    std::string le(const char* secao, const char* chave) const;
    std::string base_;
};

}  // namespace kesafi
