#include "chaves.h"

#include "ead/chaves.h"

namespace uZentora3 {

QString ChaveAssinatura1() { return QString::fromLatin1(ead::kChave1); }

QString ChaveAssinatura2() { return QString::fromLatin1(ead::kChave2); }

}  // namespace uZentora3
