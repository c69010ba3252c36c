#pragma once
// The one QApplication of the GUI tests, made by whichever test needs it first.

#include <QApplication>

namespace corvane::test {

inline QApplication& GuiApplication() {
    static int argc = 1;
    static char name[] = "test_gui";
    static char* argv[] = {name, nullptr};
    if (qApp == nullptr) {
        new QApplication(argc, argv);
    }
    return *static_cast<QApplication*>(QCoreApplication::instance());
}

}  // namespace corvane::test
