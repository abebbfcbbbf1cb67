// The program's folder, where KESAFI32.ini is looked for: the folder named
// by the environment variable ZENTORA_PASTA_BASE when it is set (the
// package's launcher points it at the user's data folder), else the folder
// of the running executable.
#pragma once

#include <string>

namespace kesafi {

// The folder with a trailing separator; "./" when the system cannot tell.
std::string pastaDoPrograma();

}  // namespace kesafi
