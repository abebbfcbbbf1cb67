// Folder of the running executable, where KESAFI32.ini is looked for.
#pragma once

#include <string>

namespace kesafi {

// The folder with a trailing separator; "./" when the system cannot tell.
std::string pastaDoPrograma();

}  // namespace kesafi
