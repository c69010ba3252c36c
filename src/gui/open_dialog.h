#pragma once
// The open-file dialog with the program's four filters.

#include <QStringList>
#include <optional>

#include "platform/dialogs.h"

class QWidget;

namespace corvane {

// The filters as Qt names them: "FITS Files (*.FTS;*.FIT;*.FITS;*.MT) (*.fts *.FTS ...)".
// "*.*" matches every name, with or without a dot; each pattern matches either case.
QStringList QtNameFilters(const OpenFileRequest& request);

// Runs the dialog; on OK the current directory moves to the chosen file's folder.
std::optional<OpenFileChoice> RunOpenDialog(const OpenFileRequest& request, QWidget* parent);

}  // namespace corvane
