#pragma once
// "AppendBox": a file of the chosen name exists; keep it, start it anew, or go back.

#include <QString>

#include "platform/dialogs.h"

class QWidget;

namespace corvane {

AppendChoice RunAppendBox(QWidget* parent, const QString& text);

}  // namespace corvane
