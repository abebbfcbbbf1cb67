#include "eventos.h"

namespace core {

Eventos& eventos() {
    static Eventos instancia;
    return instancia;
}

}  // namespace core
