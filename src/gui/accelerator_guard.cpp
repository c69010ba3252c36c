#include "gui/accelerator_guard.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMenuBar>
#include <QWidget>

namespace corvane {

KeyboardHolder CurrentKeyboardHolder() {
    // An open menu is the active popup; a menu bar walked with the keys has the focus.
    if (QApplication::activePopupWidget() != nullptr ||
        qobject_cast<QMenuBar*>(QApplication::focusWidget()) != nullptr) {
        return KeyboardHolder::Menu;
    }
    if (QApplication::activeModalWidget() != nullptr ||
        qobject_cast<QDialog*>(QApplication::activeWindow()) != nullptr) {
        return KeyboardHolder::Dialog;
    }
    return KeyboardHolder::ProgramWindow;
}

AcceleratorGuard::AcceleratorGuard(QWidget& window) : QObject(&window), window_(window) {
    qApp->installEventFilter(this);
}

bool AcceleratorGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride || AcceleratorsAct(CurrentKeyboardHolder())) {
        return QObject::eventFilter(watched, event);
    }
    // An accepted override hands the key to whoever has the keyboard instead.
    auto* key = static_cast<QKeyEvent*>(event);
    // Keypad arrows carry the keypad modifier; the shortcut map matches them without it.
    const QKeySequence pressed(
        QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
    for (const QAction* action : window_.actions()) {
        if (!action->shortcut().isEmpty() && action->shortcut() == pressed) {
            key->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace corvane
