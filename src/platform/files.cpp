#include "files.h"

#include <QFile>

#include "profile/ini.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace platform::files {

bool replace(const QString& path, const QByteArray& bytes) {
    return profile::replaceFile(QFile::encodeName(path).toStdString(),
                                std::string_view(bytes.constData(), size_t(bytes.size())));
}

bool lockedByAnother(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
#if defined(_WIN32)
    HANDLE h = CreateFileA(name.constData(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    OVERLAPPED ov{};
    const bool free = LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &ov);
    if (free) UnlockFileEx(h, 0, 1, 0, &ov);
    CloseHandle(h);
    return !free;
#else
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool free = flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);  // releases the trial lock with the descriptor
    return !free;
#endif
}

}  // namespace platform::files
