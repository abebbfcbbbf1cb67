// The program's texts break lines with a carriage return, alone or before a
// line feed ("...\rComando Será Enviado as : ..."); Qt breaks them only at a
// line feed and draws a lone carriage return as a blank.
#pragma once

#include <QString>

namespace platform::captions {

// `text` as Qt shows it: every carriage return, alone or before a line
// feed, made one line feed.
QString shown(const QString& text);

// From now on every label, button, check box and radio caption shows a
// carriage return as a line break, the caption itself kept as given (its
// text() is unchanged).  Needs the application object; installed once per
// process, skins' style sheets keep it.
void install();

}  // namespace platform::captions
