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
    CLI11_PARSE(app, argc, argv);
    return exitCode;
}
