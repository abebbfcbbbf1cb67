// A file the library generates: written under a temporary name beside its
// destination while every byte goes through the EAD signer, then ended with
// its signature line and put in place under its own name (replacing a file
// of that name).  Until then nothing exists under the destination's name; a
// file that is not concluded leaves no trace.
//
// Temporary names are "<destination>.parcial-<number>".  The process writing
// one holds a lock on it (trava.h) until it is put in place or removed, so a
// temporary nobody holds is what a process killed mid-write left: every new
// file removes those of its folder first.
#pragma once

#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "ead/ead.h"
#include "trava.h"

namespace kesafi {

class ArquivoAssinado {
public:
    explicit ArquivoAssinado(std::string destino);
    ~ArquivoAssinado();
    ArquivoAssinado(const ArquivoAssinado&) = delete;
    ArquivoAssinado& operator=(const ArquivoAssinado&) = delete;

    // False when the file could not be created (no such folder, no permission).
    bool aberto() const { return f_ != nullptr; }
    void escreve(std::string_view bytes);
    // Signs with the two key texts and puts the file in place; false (and no
    // file) when a write failed or the keys are unusable.
    bool conclui(std::string_view chave1, std::string_view chave2) { return fecha(chave1, chave2) && publica(); }
    // The same in two steps, for a set of files that appear together: every
    // one signed and closed first, then each put in place.
    bool fecha(std::string_view chave1, std::string_view chave2);
    bool publica();
    // For writers that hand the file to another library (SQLite) before it
    // is signed: the temporary file, closed here for the other library to
    // write; fechaArquivo then signs it as it stands (publica puts it in place).
    const std::string& entregaTemporario();
    bool fechaArquivo(std::string_view chave1, std::string_view chave2);

private:
    void descarta();
    friend bool publicaTodos(std::span<ArquivoAssinado* const> arquivos);

    std::string destino_, temporario_;
    Trava trava_;
    std::FILE* f_ = nullptr;
    ead::Assinador assinador_;
    bool falhou_ = false, fechado_ = false, concluido_ = false;
};

// Puts every file of a set in place, or none of them: the files already
// under the destinations' names are kept under a second name until all are
// in place, and come back if one cannot be put.  Every file must be closed.
bool publicaTodos(std::span<ArquivoAssinado* const> arquivos);

// Removes the temporaries of the folder that no process is writing.
void removeTemporariosAbandonados(const std::string& pasta);

// The keys sign a file: both are 256 hexadecimal digits and make a key pair.
bool chavesUsaveis(const char* chave1, const char* chave2);

}  // namespace kesafi
