// The pictures of the skin choice: each skin drawn on a small sample window,
// straight from its style sheet, so a preview always matches its skin.
#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace UConfig {

// A sample window of `tamanho` pixels (buttons, a check box, a radio, an
// edit and a gauge under the skin's name) styled by `folhaDeEstilo`; the
// plain style when the sheet is empty.
QPixmap PreviaDaInterface(const QString& nome, const QString& folhaDeEstilo, QSize tamanho, qreal escala = 1.0);

}  // namespace UConfig
