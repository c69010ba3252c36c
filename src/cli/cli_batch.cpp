// corvane-cli photometry: the desktop program's photometry run over a sequence of images,
// every dialog answered "go" and "write", the records appended to the output files.

#include <charconv>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/photometry_clicks.h"
#include "cli/cli_common.h"
#include "cli/objects_file.h"
#include "photometry/photometry_run.h"

namespace corvane::cli {

namespace {

using nlohmann::json;

// A whole number within a million pixels, nothing else.
std::optional<int> ParseCoordinate(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [stop, rc] = std::from_chars(text.data(), end, value);
    if (rc != std::errc() || stop != end || value < -1000000 || value > 1000000) {
        return std::nullopt;
    }
    return value;
}

// "X,Y" as two integers.
std::optional<PixelPoint> ParsePosition(const std::string& text) {
    std::size_t comma = text.find(',');
    if (comma == std::string::npos) {
        return std::nullopt;
    }
    std::optional<int> x = ParseCoordinate(text.substr(0, comma));
    std::optional<int> y = ParseCoordinate(text.substr(comma + 1));
    if (!x || !y) {
        return std::nullopt;
    }
    return PixelPoint{*x, *y};
}

// The asteroid's click on image k: given, or on the line through the first two given.
PixelPoint AsteroidOn(const std::vector<PixelPoint>& given, std::size_t k) {
    if (k < given.size()) {
        return given[k];
    }
    const PixelPoint step = OffsetBetween(given[1], given[0]);
    const auto times = static_cast<long long>(k);
    return {ClampPosition(given[0].x + times * step.x), ClampPosition(given[0].y + times * step.y)};
}

const char* EndName(RunEnd end) {
    switch (end) {
        case RunEnd::Written: return "written";
        case RunEnd::NotWritten: return "not written";
        case RunEnd::Failed: return "failed";
        case RunEnd::WriteFailed: return "write failed";
    }
    return "failed";
}

constexpr const char* kHelp =
    "Run the desktop program's photometry (Do!) on each IMAGE in turn, for the objects in "
    "OBJECTS.json (the format of 'measure'), with every confirmation answered \"Go with this "
    "!\" and every results box \"OK\", and append one record per image to PREFIX.lis and "
    "PREFIX.heu (created empty when missing, appended to when they exist). On each image "
    "the reference star is clicked where the previous run left it (in the Automatic mode "
    "the star list follows the field), the asteroid at its --asteroid position (one per "
    "image, or predicted on the line through the first two; none given: the objects file's "
    "position), and its boxes at the objects file's offsets. Messages go to stderr, each "
    "with its image's name; a failed image is reported, nothing is written for it, and the "
    "batch goes on. Prints {\"runs\": [...]} with each run's image, end and results rows. Exit code 1 "
    "when an image was not written, 2 for unusable arguments.";

}  // namespace

void RegisterBatchCommands(CLI::App& app, int& exitCode) {
    struct Args {
        std::string objects;
        std::string out;
        std::vector<std::string> asteroid;
        std::vector<std::string> images;
        bool small = false;
        RawArguments raw;
    };
    auto args = std::make_shared<Args>();
    CLI::App* cmd = app.add_subcommand("photometry", kHelp);
    cmd->add_option("--objects", args->objects, "the object list, JSON")->required();
    cmd->add_option("--out", args->out, "prefix of the output files PREFIX.lis and PREFIX.heu")
        ->required();
    cmd->add_option("--asteroid", args->asteroid,
                    "X,Y: the asteroid's click on the next image (repeat per image)")
        ->allow_extra_args(false);
    cmd->add_flag("--small", args->small, "16-pixel background boxes (\"Small ROI\")");
    cmd->add_option("IMAGE", args->images, "image files, measured in this order")->required();
    AddRawOptions(*cmd, args->raw);

    cmd->callback([args, &exitCode] {
        auto program = std::make_unique<Program>();
        std::string error;
        if (!ReadObjectsFile(args->objects, program->photometry, program->objects, error)) {
            std::cerr << "photometry: " << error << "\n";
            exitCode = 2;
            return;
        }
        ObjectList& objects = program->objects;
        objects.initialised = true;

        std::vector<PixelPoint> asteroid;
        for (const std::string& text : args->asteroid) {
            std::optional<PixelPoint> p = ParsePosition(text);
            if (!p) {
                std::cerr << "photometry: --asteroid " << text << " is not X,Y\n";
                exitCode = 2;
                return;
            }
            asteroid.push_back(*p);
        }
        if (asteroid.empty()) {
            asteroid.push_back(objects.asteroidPosition);
        }
        if (objects.asteroidSelected && asteroid.size() < 2 && args->images.size() > 1) {
            std::cerr << "photometry: two --asteroid positions are needed to follow the "
                         "asteroid over several images\n";
            exitCode = 2;
            return;
        }
        // Boxes are clicked anew on every image, at the same offsets from the asteroid.
        const auto boxOffsets = objects.asteroidBoxOffsets;

        ConsoleHost host;
        host.outputPrefix = args->out;
        host.appendChoice = AppendChoice::Append;
        if (!ChooseOutputFiles(program->outputFiles, host)) {
            exitCode = 2;
            return;
        }
        program->outputFilesChosen = true;
        program->roi.side = args->small ? 16 : 32;
        GenerateOutlines(program->photometry, host);

        json runs = json::array();
        for (std::size_t k = 0; k < args->images.size(); ++k) {
            const std::string& image = args->images[k];
            host.messagePrefix = image + ": ";
            host.resultRows.clear();
            RunEnd end = RunEnd::Failed;
            if (LoadForCli(*program, host, image, args->raw)) {
                StarInput in = MakeStarInput(*program, host);
                BeginObjectInput(in);
                PhotometryRun run{in, program->image, program->header, program->outputFiles};
                std::vector<PixelPoint> clicks = {objects.referencePosition};
                if (objects.asteroidSelected) {
                    const PixelPoint at = AsteroidOn(asteroid, k);
                    clicks.push_back(at);
                    for (int j = 0; j < program->photometry.numberOfBoxes; ++j) {
                        clicks.push_back(MoveBy(at, boxOffsets[j]));
                    }
                }
                for (PixelPoint click : clicks) {
                    if (PhotometryClick(run, click, &end) == SequenceStep::Ends) {
                        break;
                    }
                }
            }
            if (end != RunEnd::Written) {
                std::cerr << host.messagePrefix << "skipped, nothing written ("
                          << EndName(end) << ")\n";
                exitCode = 1;
            }
            json rows = json::array();
            for (const std::string& row : host.resultRows) {
                rows.push_back(Utf8Text(row));
            }
            runs.push_back({{"image", Utf8Text(image)}, {"end", EndName(end)}, {"rows", rows}});
        }
        PrintJson({{"runs", runs}});
    });
}

}  // namespace corvane::cli
