// The pictures of the window's seven large buttons, drawn here rather than
// kept as image files, so that they stay sharp at any screen scale.
#pragma once

#include <QIcon>

namespace uDadosMFeMFD {

enum class Figura {
    ArquivoMFD,         // tape roll and a file falling out of it
    EspelhoMFD,         // tape roll copied into a text page
    EspelhoArquivo,     // stored file turned into a text page
    DadosZ,             // receipt of the reduction
    DownloadMF,         // memory chip and a file falling out of it
    ImprimirConfig,     // printer with its slip
    ValidarAssinatura,  // page with a seal
};

// Side of the square the pictures are drawn on, in device-independent pixels.
constexpr int kLadoFigura = 44;

QIcon icone(Figura figura);

}  // namespace uDadosMFeMFD
