#include "app/display_commands.h"

#include "display/display_levels.h"
#include "display/display_mapping.h"
#include "display/display_scaling.h"
#include "display/manual_levels.h"

namespace corvane {

namespace {

// A linear display already showing these limits is not rebuilt.
void RebuildLinearUnlessUnchanged(Program& program, Host& host, const DisplayLevels& before) {
    DisplayState& display = program.display;
    if (display.levels == before && IsLinearMode(display.mode)) return;
    ScaleLinear(program.image, display.levels, host);
    host.InvalidateAll();
}

template <class Compute>
void AutomaticLevels(Program& program, Host& host, std::int32_t mode, Compute compute) {
    if (program.image.loaded) {
        const DisplayLevels before = program.display.levels;
        compute(program.image, program.display.levels);
        RebuildLinearUnlessUnchanged(program, host, before);
    }
    program.display.mode = mode;
}

void ManualLevels(Program& program, Host& host) {
    if (!program.image.loaded) return;
    DisplayState& display = program.display;
    const DisplayLevels before = display.levels;
    ManualLevelsFields fields = ManualLevelsFieldsOf(display.levels);
    const bool ok = host.RunManualLevelsDialog(fields, [&display](const ManualLevelsFields& f) {
        return ApplyManualLevels(f, display.levels);
    });
    host.UpdateWindow();
    if (!ok) return;
    RebuildLinearUnlessUnchanged(program, host, before);
    display.mode = kModeManual;
}

void LogDisplay(Program& program, Host& host, std::int32_t mode) {
    if (!program.image.loaded) return;
    program.display.logMultiplier = LogMultiplierOf(mode);
    program.display.mode = mode;
    ScaleLog(program.image, program.header, program.display, host);
    host.InvalidateAll();
}

void HiPassDisplay(Program& program, Host& host) {
    if (program.image.loaded) {
        ScaleHiPass(program.image, host);
        host.InvalidateAll();
    }
    program.display.mode = kModeHiPass;
}

}  // namespace

bool RunDisplayModeCommand(Program& program, Host& host, int commandId) {
    switch (static_cast<DisplayCommand>(commandId)) {
        case DisplayCommand::Manual:
            ManualLevels(program, host);
            return true;
        case DisplayCommand::Histogram:
            AutomaticLevels(program, host, kModeHistogram,
                            [&host](const ImageRecord& image, DisplayLevels& levels) {
                                ComputeHistogramLevels(image, levels, host);
                            });
            return true;
        case DisplayCommand::Fshow:
            AutomaticLevels(program, host, kModeFshow, ComputeFshowLevels);
            return true;
        case DisplayCommand::MinMax:
            AutomaticLevels(program, host, kModeMinMax, ComputeMinMaxLevels);
            return true;
        case DisplayCommand::Log:
            LogDisplay(program, host, kModeLog);
            return true;
        case DisplayCommand::LogTimes2:
            LogDisplay(program, host, kModeLogTimes2);
            return true;
        case DisplayCommand::LogTimes4:
            LogDisplay(program, host, kModeLogTimes4);
            return true;
        case DisplayCommand::HiPass:
            HiPassDisplay(program, host);
            return true;
    }
    return false;
}

void RedisplayAfterMedianFilter(Program& program, Host& host) {
    if (!program.image.loaded) return;
    ScaleLinear(program.image, program.display.levels, host);
    host.InvalidateAll();
}

}  // namespace corvane
