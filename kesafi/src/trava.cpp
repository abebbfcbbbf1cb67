#include "trava.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace kesafi {
namespace {

// The only calls to the system: open the file and lock it at once, or close
// it (closing drops the lock).  A process that dies has its files closed, so
// the lock never outlives it.  The lock is private to this open of the file:
// the handle is not inherited by programs the process starts.
#if defined(_WIN32)
intptr_t travaArquivo(const std::string& arquivo, Trava::Resultado& r, std::string& erro) {
    HANDLE h = CreateFileA(arquivo.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        r = Trava::Resultado::Falhou;
        erro = "erro " + std::to_string(GetLastError());
        return -1;
    }
    OVERLAPPED ov{};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &ov)) {
        const DWORD e = GetLastError();
        CloseHandle(h);
        r = e == ERROR_LOCK_VIOLATION ? Trava::Resultado::Ocupada : Trava::Resultado::Falhou;
        erro = "erro " + std::to_string(e);
        return -1;
    }
    r = Trava::Resultado::Obtida;
    return reinterpret_cast<intptr_t>(h);
}

void soltaArquivo(intptr_t h) { CloseHandle(reinterpret_cast<HANDLE>(h)); }
#else
intptr_t travaArquivo(const std::string& arquivo, Trava::Resultado& r, std::string& erro) {
    const int fd = open(arquivo.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        r = Trava::Resultado::Falhou;
        erro = std::strerror(errno);
        return -1;
    }
    // flock, not fcntl: a record lock would be dropped by any close of the
    // file in this process and is shared by every open of it here.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno;
        close(fd);
        r = e == EWOULDBLOCK ? Trava::Resultado::Ocupada : Trava::Resultado::Falhou;
        erro = std::strerror(e);
        return -1;
    }
    r = Trava::Resultado::Obtida;
    return fd;
}

void soltaArquivo(intptr_t fd) { close(static_cast<int>(fd)); }
#endif

}  // namespace

Trava& Trava::operator=(Trava&& o) noexcept {
    if (this != &o) {
        solta();
        h_ = o.h_;
        o.h_ = kNenhuma;
    }
    return *this;
}

Trava::Resultado Trava::obtem(const std::string& arquivo, std::string& erro) {
    solta();
    Resultado r = Resultado::Falhou;
    h_ = travaArquivo(arquivo, r, erro);
    return r;
}

void Trava::solta() {
    if (h_ == kNenhuma) return;
    soltaArquivo(h_);
    h_ = kNenhuma;
}

}  // namespace kesafi
