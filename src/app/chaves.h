// The two fixed signing-key texts handed to the MFD file generation and to
// the signature check.
#pragma once

#include <QString>

namespace uZentora3 {

QString ChaveAssinatura1();
QString ChaveAssinatura2();

}  // namespace uZentora3
