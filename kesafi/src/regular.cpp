#include "regular.h"

#if defined(_WIN32)
#include <sys/stat.h>
#include <sys/types.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kesafi {

#if defined(_WIN32)
// Windows opens a pipe only by its own names (\\.\pipe\...), without
// blocking; the kind is checked once the file is open.
std::FILE* abreRegular(const std::string& arquivo) {
    std::FILE* f = std::fopen(arquivo.c_str(), "rb");
    struct _stat64 st {};
    if (f && (_fstat64(_fileno(f), &st) != 0 || (st.st_mode & _S_IFMT) != _S_IFREG)) {
        std::fclose(f);
        f = nullptr;
    }
    return f;
}
#else
// Opened without blocking (a FIFO with no writer would wait in open), the
// kind checked on the open file itself, then blocking again for the reads.
std::FILE* abreRegular(const std::string& arquivo) {
    const int fd = open(arquivo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    const int flags = fcntl(fd, F_GETFL);
    std::FILE* f =
        fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0
            ? fdopen(fd, "rb")
            : nullptr;
    if (!f) close(fd);
    return f;
}
#endif

}  // namespace kesafi
