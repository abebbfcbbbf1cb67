// The program speaks Brazilian Portuguese whatever the machine's language:
// Qt's own texts (file dialogs, the folder browser, the input box, the
// calendar) come from Qt's Brazilian Portuguese translations, and dates and
// numbers follow the Brazilian locale.
#pragma once

namespace platform::language {

// Makes pt_BR the locale and installs Qt's translations into the running
// application; false (the locale set all the same) when the translation
// file is missing, which is also said on the standard error output.
bool install();

}  // namespace platform::language
