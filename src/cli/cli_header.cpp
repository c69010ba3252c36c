// corvane-cli header: the texts of the header dialog for a file.

#include <iostream>

#include "cli/cli_common.h"
#include "image/header_fields.h"

namespace corvane::cli {

void RegisterHeaderCommands(CLI::App& app, int& exitCode) {
    struct HeaderArgs {
        std::string file;
        RawArguments raw;
    };
    auto args = std::make_shared<HeaderArgs>();
    CLI::App* command = app.add_subcommand(
        "header", "Load FILE and print the texts of its header dialog (Window > Header) as "
                  "JSON: the caption and every value field");
    command->add_option("FILE", args->file, "image file")->required();
    AddRawOptions(*command, args->raw);
    command->callback([args, &exitCode] {
        Program program;
        ConsoleHost host;
        if (!LoadForCli(program, host, args->file, args->raw)) {
            exitCode = 1;
            return;
        }
        const HeaderDialogFields f = HeaderDialogTexts(program.header, program.image.path);
        nlohmann::ordered_json j;  // in the order of the dialog
        j["caption"] = f.caption;
        j["observer"] = f.observer;
        j["object"] = f.object;
        j["rightAscension"] = f.rightAscension;
        j["declination"] = f.declination;
        j["epoch"] = f.epoch;
        j["temperature"] = f.temperature;
        j["quality"] = f.quality;
        j["comment"] = f.comment;
        j["ut"] = f.ut;
        j["exposure"] = f.exposure;
        j["detector"] = f.detector;
        j["format"] = f.format;
        j["binning"] = f.binning;
        j["systemGain"] = f.systemGain;
        j["electronGain"] = f.electronGain;
        j["filter"] = f.filter;
        j["preflash"] = f.preflash;
        j["observationType"] = f.observationType;
        j["biasLevel"] = f.biasLevel;
        std::cout << j.dump(2) << std::endl;
    });
}

}  // namespace corvane::cli
