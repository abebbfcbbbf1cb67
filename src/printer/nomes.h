// Names of the files the program makes from what the printer says.
#pragma once

#include <QString>

namespace printer {

// The serial number as it may stand in a file name: the 20 characters,
// blanks included, with every path separator, character Windows refuses in
// a name and control character replaced by '_', so that no name built from
// it ever leaves its folder.
QString nomeDeArquivo(const QString& numeroSerie);

// Stem of the report file names: serial number, "_", ddmmyyyy_hhmmss of the
// computer's clock now.
QString nomeDoRelatorio(const QString& numeroSerie);

}  // namespace printer
