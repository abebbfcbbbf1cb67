// Keeps every test's boxes to account: a test fails when a box appeared
// while it had no script, when a box wanted an answer it did not script,
// and when an answer it scripted was never used.
#pragma once

namespace platform::dialogs {
class Script;
}

// Installs the check for the whole run; `base` is the outermost script,
// alive for as long as the tests run, which every test's scripts report to.
void contaCaixasDeCadaTeste(platform::dialogs::Script& base);
