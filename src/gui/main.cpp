// Corvane32: CCD image reduction for the desktop.

#include <QApplication>

#include "app/program.h"
#include "gui/main_window.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Corvane32");

    corvane::Program program;
    corvane::MainWindow window(program);
    window.show();
    if (argc > 1) {
        window.OpenCommandLineFile(argv[1]);
    }
    return QApplication::exec();
}
