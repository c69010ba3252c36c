// corvane-cli header: the texts of the header dialog for a file.

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
        j["caption"] = Utf8Text(f.caption);
        j["observer"] = Utf8Text(f.observer);
        j["object"] = Utf8Text(f.object);
        j["rightAscension"] = Utf8Text(f.rightAscension);
        j["declination"] = Utf8Text(f.declination);
        j["epoch"] = Utf8Text(f.epoch);
        j["temperature"] = Utf8Text(f.temperature);
        j["quality"] = Utf8Text(f.quality);
        j["comment"] = Utf8Text(f.comment);
        j["ut"] = Utf8Text(f.ut);
        j["exposure"] = Utf8Text(f.exposure);
        j["detector"] = Utf8Text(f.detector);
        j["format"] = Utf8Text(f.format);
        j["binning"] = Utf8Text(f.binning);
        j["systemGain"] = Utf8Text(f.systemGain);
        j["electronGain"] = Utf8Text(f.electronGain);
        j["filter"] = Utf8Text(f.filter);
        j["preflash"] = Utf8Text(f.preflash);
        j["observationType"] = Utf8Text(f.observationType);
        j["biasLevel"] = Utf8Text(f.biasLevel);
        PrintOrderedJson(j);
    });
}

}  // namespace corvane::cli
