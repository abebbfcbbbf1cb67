#include "pasta_programa.h"

#include <cstdlib>
#include <filesystem>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace kesafi {

std::string pastaDoPrograma() {
    if (const char* dados = std::getenv("ZENTORA_PASTA_BASE"); dados && *dados) {
        std::error_code ec;
        std::string pasta = std::filesystem::absolute(dados, ec).string();
        if (ec) pasta = dados;
        if (pasta.back() != '/' && pasta.back() != '\\') pasta.push_back('/');
        return pasta;
    }
    std::string caminho;
#if defined(_WIN32)
    char buf[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
    if (n > 0 && n < MAX_PATH) caminho.assign(buf, n);
#else
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n > 0) caminho.assign(buf, static_cast<size_t>(n));
#endif
    const size_t sep = caminho.find_last_of("/\\");
    if (sep == std::string::npos) return "./";
    return caminho.substr(0, sep + 1);
}

}  // namespace kesafi
