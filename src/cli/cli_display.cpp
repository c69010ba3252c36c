// corvane-cli display: the display image of a file under one of the eight display modes,
// and the palette it is drawn with.

#include <cstdio>
#include <iostream>
#include <optional>

#include "app/display_commands.h"
#include "cli/cli_common.h"
#include "display/manual_levels.h"
#include "platform/output_file.h"

namespace corvane::cli {

namespace {

// The Display menu command that selects `mode`.
DisplayCommand CommandOfMode(int mode) {
    switch (mode) {
        case kModeLog: return DisplayCommand::Log;
        case kModeLogTimes2: return DisplayCommand::LogTimes2;
        case kModeLogTimes4: return DisplayCommand::LogTimes4;
        case kModeHiPass: return DisplayCommand::HiPass;
        case kModeManual: return DisplayCommand::Manual;
        case kModeMinMax: return DisplayCommand::MinMax;
        case kModeFshow: return DisplayCommand::Fshow;
        default: return DisplayCommand::Histogram;
    }
}

nlohmann::json PaletteJson(const DisplayPalette& palette) {
    nlohmann::json entries = nlohmann::json::array();
    for (const PaletteEntry& e : palette.entries) {
        entries.push_back({{"red", e.red}, {"green", e.green}, {"blue", e.blue},
                           {"flags", e.flags}});
    }
    return entries;
}

// The image rows of the display image, without their padding, as a binary PGM whose
// sample values are the palette indices 0 … 192.
bool WritePgm(const ImageRecord& image, const std::string& path) {
    std::string bytes = "P5\n" + std::to_string(image.width) + " " +
                        std::to_string(image.height) + "\n255\n";
    for (int row = 0; row < image.height; ++row) {
        const auto* first = reinterpret_cast<const char*>(image.displayImage.data()) +
                            static_cast<std::size_t>(row) *
                                static_cast<std::size_t>(image.paddedWidth);
        bytes.append(first, static_cast<std::size_t>(image.width));
    }
    if (!WriteFileBytes(path, bytes)) {
        std::fprintf(stderr, "%s: write failed\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

void RegisterDisplayCommands(CLI::App& app, int& exitCode) {
    struct DisplayArgs {
        std::string file;
        std::optional<int> mode;
        std::optional<std::int32_t> low, high;
        std::string out;
        bool palette = false;
        RawArguments raw;
    };
    auto args = std::make_shared<DisplayArgs>();
    CLI::App* cmd = app.add_subcommand(
        "display",
        "Load FILE, choose the display mode's menu command as after a load in the desktop "
        "program, write the display image (palette indices 0 black to 192 white, one byte a "
        "pixel, rows without padding) as a binary PGM to --out and print the resulting "
        "levels and mode as JSON. With --palette, print the 193 palette entries instead");
    cmd->add_option("FILE", args->file, "image file");
    cmd->add_option("--mode", args->mode,
                    "display mode: 1 Histogram, 2 Log., 3 Log. x 2, 4 Log. x 4, 5 Hi-pass, "
                    "6 Manual..., 7 Min-Max, 8 Fshow (default: as loaded, Histogram)")
        ->check(CLI::Range(1, 8));
    CLI::Option* low = cmd->add_option("--low", args->low, "manual low limit (true value)");
    CLI::Option* high = cmd->add_option("--high", args->high, "manual high limit (true value)");
    low->needs(high);
    high->needs(low);
    cmd->add_option("--out", args->out, "PGM file to write");
    cmd->add_flag("--palette", args->palette, "print the palette as JSON and load nothing");
    AddRawOptions(*cmd, args->raw);

    cmd->callback([args, &exitCode] {
        Program program;
        InitDisplay(program.display);
        if (args->palette) {
            PrintJson(PaletteJson(program.display.palette));
            return;
        }
        if (args->file.empty() || args->out.empty()) {
            std::cerr << "display: FILE and --out are needed (or --palette)\n";
            exitCode = 2;
            return;
        }
        const bool manual = args->low.has_value();
        if (manual && args->mode.value_or(kModeManual) != kModeManual) {
            std::cerr << "display: --low and --high select mode 6\n";
            exitCode = 2;
            return;
        }

        ConsoleHost host;
        if (!LoadForCli(program, host, args->file, args->raw)) {
            exitCode = 1;
            return;
        }
        if (manual || args->mode) {
            // The dialog of Manual... answered with OK: the given limits, or the limits as
            // they stand.
            DisplayLevels typed = program.display.levels;
            if (manual) typed = {*args->low, *args->high};
            host.manualLevelsFields = ManualLevelsFieldsOf(typed);
            const int mode = manual ? kModeManual : *args->mode;
            RunDisplayModeCommand(program, host, static_cast<int>(CommandOfMode(mode)));
        }
        if (!WritePgm(program.image, args->out)) {
            exitCode = 1;
            return;
        }
        const DisplayState& d = program.display;
        PrintJson({{"mode", d.mode},
                   {"low", d.levels.low},
                   {"high", d.levels.high},
                   {"logMultiplier", d.logMultiplier},
                   {"width", program.image.width},
                   {"height", program.image.height}});
    });
}

}  // namespace corvane::cli
