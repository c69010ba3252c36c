// Corvane32: CCD image reduction for the desktop.

#include <QApplication>
#include <memory>
#include <string>

#include "app/program.h"
#include "gui/main_window.h"
#include "gui/termination_watch.h"
#include "platform/temp_pixel_file.h"
#include "platform/termination_signals.h"

int main(int argc, char** argv) {
    const std::unique_ptr<corvane::TerminationSignals> terminationSignals =
        corvane::TerminationSignals::Install();
    // Pixel files that a killed Corvane32 left behind; those of running ones are locked.
    corvane::RemoveStaleTempPixelFiles(corvane::TempPixelFile::Directory());

    int status = 0;
    int endedBy = 0;
    {
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
        std::unique_ptr<corvane::TerminationWatch> watch;
        if (terminationSignals) {
            watch = std::make_unique<corvane::TerminationWatch>(*terminationSignals);
        }
        window.show();
        window.Start(commandLine);
        // A signal during the first load has ended its boxes already; the loop would not
        // see that request any more.
        endedBy = watch ? watch->Signal() : 0;
        if (endedBy == 0) {
            status = QApplication::exec();
            endedBy = watch ? watch->Signal() : 0;
        }
        // Going out of scope: the window closes its local server (the socket goes), then
        // the program releases its image (the temporary pixel file goes).
    }
    if (endedBy != 0) {
        corvane::EndBySignal(endedBy);
    }
    return status;
}
