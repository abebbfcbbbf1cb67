// The two fixed signing-key texts handed to the MFD file generation and to
// the signature check: the key pair that signs every file the printer
// library generates (the texts themselves live in sign/ead/chaves.h).
#pragma once

#include <QString>

namespace uZentora3 {

QString ChaveAssinatura1();
QString ChaveAssinatura2();

}  // namespace uZentora3
