// Corvane32: CCD image reduction for the desktop.

#include <QApplication>
#include <string>

#include "app/program.h"
#include "gui/main_window.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Corvane32");

    // The command line is one path; a path with blanks may arrive in pieces.
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }

    corvane::Program program;
    corvane::MainWindow window(program);
    window.show();
    window.Start(commandLine);
    return QApplication::exec();
}
