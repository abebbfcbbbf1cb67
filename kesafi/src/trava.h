// One port, one process: the lock of the operating system that a process
// holds on a printer's memory while it has the memory open.  The system
// releases it when the process ends, however it ends (a crash, a kill).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace kesafi {

class Trava {
public:
    enum class Resultado { Obtida, Ocupada, Falhou };

    Trava() = default;
    ~Trava() { solta(); }
    Trava(Trava&& o) noexcept : h_(o.h_) { o.h_ = kNenhuma; }
    Trava& operator=(Trava&& o) noexcept;
    Trava(const Trava&) = delete;
    Trava& operator=(const Trava&) = delete;

    // Takes an exclusive lock on `arquivo` without waiting: Ocupada when
    // another process (or another open of the same file) holds it.  The file
    // is created when missing; its contents are never read nor written.
    // `erro` receives the system's reason when the result is Falhou.
    Resultado obtem(const std::string& arquivo, std::string& erro);
    // The same on a file that must exist already (it is never created):
    // false when it is missing or another open of it holds the lock.
    bool obtemExistente(const std::string& arquivo);
    // Creates `arquivo`, which must not exist, for writing and holds its lock
    // for as long as this Trava holds it, also after the stream is closed.
    // Null when it cannot be made, or when another open took its lock first.
    std::FILE* cria(const std::string& arquivo);
    bool obtida() const { return h_ != kNenhuma; }

private:
    static constexpr intptr_t kNenhuma = -1;
    void solta();

    intptr_t h_ = kNenhuma;  // file descriptor or handle
};

}  // namespace kesafi
