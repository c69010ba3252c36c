#include "app/photometry_commands.h"

#include "app/menu_model.h"
#include "app/photometry_clicks.h"
#include "photometry/photometry_run.h"

namespace corvane {

bool PhotometryRunClick(Program& program, Host& host, int column, int row) {
    if (program.shell.mouseMode != MouseMode::Photometry) {
        return false;
    }
    // The click that completes the run measures inside it, through two modal boxes; no
    // hand-over may change the image until the run has ended.
    HandOverHold hold(program.handOvers, host);
    StarInput in = MakeStarInput(program, host);
    PhotometryRun run{in, program.image, program.header, program.outputFiles,
                      program.lightcurve.recordWritten};
    if (PhotometryClick(run, PixelPoint{column, row}) == SequenceStep::Ends) {
        program.shell.mouseMode = MouseMode::None;
        host.InvalidateAll();
        host.UpdateWindow();
    }
    return true;
}

void OutputFilesCommand(Program& program, Host& host) {
    if (!program.image.loaded) {
        return;
    }
    if (ChooseOutputFiles(program.outputFiles, host)) {
        program.outputFilesChosen = true;
        UpdateMenu(program, host);
    }
}

bool LightcurveAvailable(const Program& program) {
    return program.outputFilesChosen || program.lightcurve.listFilesOpened;
}

void LightcurveCommand(Program& program) {
    if (!LightcurveAvailable(program) || !program.lightcurve.open) {
        return;
    }
    program.lightcurve.open(program.outputFilesChosen ? program.outputFiles.listPath
                                                      : std::string());
}

void NoteLightcurveListFiles(Program& program, Host& host) {
    if (!program.lightcurve.listFilesOpened) {
        program.lightcurve.listFilesOpened = true;
        UpdateMenu(program, host);
    }
}

}  // namespace corvane
