#pragma once
// The accelerators are application-wide shortcuts, so that they act from the tool box and
// the close-up window too. This keeps them from taking keys while an open menu or a dialog
// has the keyboard: Left and Right then move between menus, Home and End within a field.

#include <QObject>

#include "app/commands.h"

class QWidget;

namespace corvane {

// Who has the keyboard now, as the program's rule for its accelerators asks.
KeyboardHolder CurrentKeyboardHolder();

class AcceleratorGuard : public QObject {
    Q_OBJECT
public:
    // Guards the shortcuts of `window`'s actions; watches the whole application.
    explicit AcceleratorGuard(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
};

}  // namespace corvane
