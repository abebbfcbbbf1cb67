#include "avisos.h"

namespace printer {

Avisos& avisos() {
    static Avisos instancia;
    return instancia;
}

}  // namespace printer
