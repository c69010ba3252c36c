// corvane-cli: the program's loaders, measurements and output files from a shell.

#include <CLI/CLI.hpp>

#include "cli/cli_common.h"

int main(int argc, char** argv) {
    CLI::App app{"corvane-cli: Corvane32's image loading, display and photometry from the "
                 "command line"};
    app.require_subcommand(1);
    int exitCode = 0;
    corvane::cli::RegisterInfoCommands(app, exitCode);
    corvane::cli::RegisterDisplayCommands(app, exitCode);
    corvane::cli::RegisterAnalysisCommands(app, exitCode);
    corvane::cli::RegisterPhotometryCommands(app, exitCode);
    corvane::cli::RegisterHeaderCommands(app, exitCode);
    corvane::cli::RegisterBatchCommands(app, exitCode);
    corvane::cli::RegisterLightcurveCommands(app, exitCode);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        // lightcurve answers every unusable argument with 2, its own checks' code.
        return code != 0 && app.get_subcommand("lightcurve")->parsed() ? 2 : code;
    }
    return exitCode;
}
