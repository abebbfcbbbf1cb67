#include "trava.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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
// The byte locked lies far past any content: a lock of Windows also stops
// reads and writes of its region, and a locked file is still written.
bool travaHandle(HANDLE h, DWORD& e) {
    OVERLAPPED ov{};
    ov.Offset = 0xFFFFFFFEu;
    ov.OffsetHigh = 0x7FFFFFFFu;
    if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &ov)) return true;
    e = GetLastError();
    return false;
}

intptr_t travaArquivo(const std::string& arquivo, bool criando, Trava::Resultado& r, std::string& erro) {
    HANDLE h = CreateFileA(arquivo.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           criando ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        r = Trava::Resultado::Falhou;
        erro = "erro " + std::to_string(GetLastError());
        return -1;
    }
    DWORD e = 0;
    if (!travaHandle(h, e)) {
        CloseHandle(h);
        r = e == ERROR_LOCK_VIOLATION ? Trava::Resultado::Ocupada : Trava::Resultado::Falhou;
        erro = "erro " + std::to_string(e);
        return -1;
    }
    r = Trava::Resultado::Obtida;
    return reinterpret_cast<intptr_t>(h);
}

std::FILE* criaTravado(const std::string& arquivo, intptr_t& trava) {
    HANDLE h = CreateFileA(arquivo.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    DWORD e = 0;
    HANDLE escrita = nullptr;
    if (!travaHandle(h, e) ||
        !DuplicateHandle(GetCurrentProcess(), h, GetCurrentProcess(), &escrita, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        CloseHandle(h);
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(escrita), _O_BINARY);
    std::FILE* f = fd < 0 ? nullptr : _fdopen(fd, "wb");
    if (!f) {
        if (fd < 0)
            CloseHandle(escrita);
        else
            _close(fd);
        CloseHandle(h);
        return nullptr;
    }
    trava = reinterpret_cast<intptr_t>(h);
    return f;
}

void soltaArquivo(intptr_t h) { CloseHandle(reinterpret_cast<HANDLE>(h)); }
#else
intptr_t travaArquivo(const std::string& arquivo, bool criando, Trava::Resultado& r, std::string& erro) {
    const int fd = open(arquivo.c_str(), O_RDONLY | O_CLOEXEC | (criando ? O_CREAT : O_NOFOLLOW), 0666);
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

// The lock is taken on the open that made the file and kept on a duplicate
// of it, which the stream's close leaves open.  The name must still lead to
// the file made: another process may have taken the lock and removed it.
std::FILE* criaTravado(const std::string& arquivo, intptr_t& trava) {
    const int fd = open(arquivo.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    struct stat aberto {
    }, nome{};
    const int copia = flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &aberto) == 0 &&
                              stat(arquivo.c_str(), &nome) == 0 && aberto.st_dev == nome.st_dev &&
                              aberto.st_ino == nome.st_ino
                          ? fcntl(fd, F_DUPFD_CLOEXEC, 0)
                          : -1;
    std::FILE* f = copia < 0 ? nullptr : fdopen(fd, "wb");
    if (!f) {
        close(fd);
        if (copia >= 0) close(copia);
        return nullptr;
    }
    trava = copia;
    return f;
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
    h_ = travaArquivo(arquivo, true, r, erro);
    return r;
}

bool Trava::obtemExistente(const std::string& arquivo) {
    solta();
    Resultado r = Resultado::Falhou;
    std::string erro;
    h_ = travaArquivo(arquivo, false, r, erro);
    return r == Resultado::Obtida;
}

std::FILE* Trava::cria(const std::string& arquivo) {
    solta();
    return criaTravado(arquivo, h_);
}

void Trava::solta() {
    if (h_ == kNenhuma) return;
    soltaArquivo(h_);
    h_ = kNenhuma;
}

}  // namespace kesafi
