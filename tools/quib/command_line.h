#pragma once
// quib's command line: the session folder, the folder watch's settings, or an INDI camera
// with its mode and capture settings.

#include <QString>
#include <QStringList>

#include "quib_window.h"

namespace quib {

// Reads `arguments` (the program's, its name first). --help and --version print and end
// the program as usual; any other mistake is said in `error`.
QuibOptions ReadCommandLine(const QStringList& arguments, QString& error);

}  // namespace quib
