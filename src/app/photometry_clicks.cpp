#include "app/photometry_clicks.h"

#include "app/image_commands.h"
#include "photometry/params_box.h"
#include "photometry/select_box.h"

namespace corvane {

StarInput MakeStarInput(Program& program, Host& host) {
    // The overlay is drawn by the paint from the records, so a mark entered is shown by
    // repainting.
    DrawMark draw = [&host](const Mark&) { host.InvalidateAll(); };
    return StarInput{program.objects,   program.photometry, program.starInput,
                     program.shell.overlaysShown, host,     std::move(draw),
                     program.roi.side,  IdlePrompt(program)};
}

void InitializeStarListCommand(Program& program, Host& host) {
    if (!program.image.loaded) {
        return;
    }
    program.shell.mouseMode = MouseMode::InitStarList;
    StarInput in = MakeStarInput(program, host);
    BeginStarListInput(in);
}

void AddStarCommand(Program& program, Host& host) {
    if (program.shell.mouseMode != MouseMode::None || !program.image.loaded ||
        program.photometry.numberOfStars >= kMaxStars) {
        return;
    }
    if (!ObjectInputAllowed(program.objects, program.outputFilesChosen, host)) {
        return;
    }
    program.shell.mouseMode = MouseMode::AddStar;
    StarInput in = MakeStarInput(program, host);
    BeginObjectInput(in);
}

bool StarInputClick(Program& program, Host& host, int column, int row) {
    const MouseMode mode = program.shell.mouseMode;
    if (mode != MouseMode::InitStarList && mode != MouseMode::AddStar) {
        return false;
    }
    StarInput in = MakeStarInput(program, host);
    const PixelPoint at{column, row};
    SequenceStep step =
        mode == MouseMode::InitStarList ? StarListClick(in, at) : AddStarClick(in, at);
    if (step == SequenceStep::Ends) {
        program.shell.mouseMode = MouseMode::None;
    }
    return true;
}

void CancelObjectInput(Program& program, Host& host) {
    const MouseMode mode = program.shell.mouseMode;
    if (mode == MouseMode::None) {
        return;
    }
    host.Beep(BeepKind::Default);
    program.shell.mouseMode = MouseMode::None;
    StarInput in = MakeStarInput(program, host);
    CancelStarInput(in, mode == MouseMode::InitStarList);
}

void ParametersCommand(Program& program, Host& host) {
    if (!program.image.loaded) {
        return;
    }
    RunParamsBox(program.photometry, program.objects, host);
}

void SelectStarsCommand(Program& program, Host& host) {
    RunSelectBox(program.objects, program.photometry, host);
}

}  // namespace corvane
