#include "library.h"

#include <QLibrary>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace platform::library {

QString fileOf(const void* address) {
#ifdef Q_OS_WIN
    HMODULE modulo = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(address), &modulo))
        return {};
    wchar_t caminho[MAX_PATH];
    const DWORD n = GetModuleFileNameW(modulo, caminho, MAX_PATH);
    return n == 0 || n == MAX_PATH ? QString() : QString::fromWCharArray(caminho, static_cast<int>(n));
#else
    Dl_info info{};
    if (!address || dladdr(address, &info) == 0 || !info.dli_fname) return {};
    return QString::fromLocal8Bit(info.dli_fname);
#endif
}

void* resolve(const QString& file, const char* name) {
    if (file.isEmpty() || !name) return nullptr;
    QLibrary biblioteca(file);
    return reinterpret_cast<void*>(biblioteca.resolve(name));
}

}  // namespace platform::library
