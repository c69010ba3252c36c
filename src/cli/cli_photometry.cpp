// corvane-cli aperture and measure: the aperture shapes, and the measuring steps of a
// photometry run on one image, without dialogs.

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/objects_file.h"
#include "photometry/measuring.h"
#include "photometry/photometry_parameters.h"

namespace corvane::cli {

namespace {

using nlohmann::json;

const char* IconName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::None: return "none";
        case MessageIcon::Warning: return "exclamation";
        case MessageIcon::Error: return "error";
        case MessageIcon::Information: return "information";
        case MessageIcon::Question: return "question";
    }
    return "none";
}

// The console host, keeping every message for the JSON as well.
class RecordingHost : public ConsoleHost {
public:
    json messages = json::array();
    MessageAnswer ShowMessage(std::string_view caption, std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override {
        messages.push_back({{"caption", Utf8Text(caption)},
                            {"text", Utf8Text(text)},
                            {"icon", IconName(icon)}});
        return ConsoleHost::ShowMessage(caption, text, icon, buttons);
    }
};

json Point(PixelPoint p) { return json::array({p.x, p.y}); }
json Point(FloatPoint p) { return json::array({p.x, p.y}); }

json OutlineJson(const ApertureShape& shape) {
    json points = json::array();
    for (int i = 0; i < shape.outline.count; ++i) {
        points.push_back({shape.outline.points[i].x, shape.outline.points[i].y});
    }
    json rows = json::array();
    for (int i = 0; i < shape.spans.count; ++i) {
        const SpanRow& r = shape.spans.rows[i];
        rows.push_back({r.y, r.xmin, r.xmax});
    }
    return {{"a", shape.a},          {"b", shape.b},          {"theta", shape.theta},
            {"count", shape.outline.count}, {"outline", points},
            {"spanCount", shape.spans.count}, {"spans", rows}};
}

// --- the results ---

json BackgroundJson(const ObjectResult& r, std::int32_t bzero) {
    return {{"mean", r.mean}, {"level", r.mean + bzero}, {"sigma", r.sigma}, {"count", r.count}};
}

json ResultJson(const ObjectResult& r, std::int32_t bzero) {
    return {{"background", BackgroundJson(r, bzero)},
            {"fluxRate", r.fluxRate},
            {"snr", r.snr},
            {"npix", r.npix},
            {"clip", r.clip}};
}

json MeasureJson(const Program& program, bool completed, const json& messages) {
    const ObjectList& list = program.objects;
    const std::int32_t bzero = program.image.bzero;
    json out;
    out["completed"] = completed;
    out["centringMode"] =
        program.photometry.centringMode == CentringMode::Automatic ? "Automatic" : "Manual";
    out["exposure"] = program.header.exposure;
    out["bzero"] = bzero;
    out["referenceStar"] = list.referenceStar;
    out["referencePosition"] = Point(list.referencePosition);

    json asteroid = ResultJson(list.asteroidResult, bzero);
    asteroid["selected"] = list.asteroidSelected;
    asteroid["position"] = Point(list.asteroidPosition);
    asteroid["centre"] = Point(list.asteroidCentre);
    asteroid["printedPosition"] = Point(list.asteroidCentroid);
    out["asteroid"] = asteroid;

    json stars = json::array();
    for (int i = 0; i < program.photometry.numberOfStars; ++i) {
        json s = ResultJson(list.starResults[i], bzero);
        s["number"] = i + 1;
        s["selected"] = list.starSelected[i];
        s["offset"] = Point(list.starOffset[i]);
        s["centroidOffset"] = Point(list.starCentroidOffset[i]);
        s["printedPosition"] = Point(list.starPosition[i]);
        stars.push_back(s);
    }
    out["stars"] = stars;
    out["messages"] = messages;
    return out;
}

constexpr const char* kMeasureHelp =
    "Load FILE and run on it the measuring steps of a photometry run, without dialogs, for "
    "the objects in OBJECTS.json; print every result and message as JSON. Automatic "
    "centring: plain background step, centroiding of all objects, adoption of the centroids "
    "(the reference position and star offsets re-based), two clipped background steps, a "
    "zero exposure replaced by 1.0 s, asteroid and star integration. Manual: plain step, "
    "clicked positions printed, clipped steps, integration.\n"
    "OBJECTS.json: {\"centringMode\": \"Automatic\" | \"Manual\", "
    "\"asteroidAperture\": {\"a\", \"b\", \"theta\"}, \"starAperture\": {...}, "
    "\"backgroundBoxes\": nB (1-20, default 8), \"referenceStar\": index from 0, "
    "\"referencePosition\": [x, y], \"asteroid\": {\"selected\", \"position\": [x, y], "
    "\"boxOffsets\": [[dx, dy], ...] from the asteroid}, \"stars\": [{\"selected\", "
    "\"offset\": [dx, dy], \"boxOffsets\": [[dx, dy], ...]}, ...]}; star offsets and star box "
    "offsets count from the reference position. Apertures default to a = b = 15, theta = 0.";

}  // namespace

void RegisterPhotometryCommands(CLI::App& app, int& exitCode) {
    struct ApertureArgs {
        int a = 15, b = 15, theta = 0;
    };
    auto ap = std::make_shared<ApertureArgs>();
    CLI::App* apertureCmd = app.add_subcommand(
        "aperture",
        "Print the aperture of semi-axes A, B (pixels) at THETA (degrees) as JSON: the outline "
        "points (x, y upwards) with their count, the span rows [y, xmin, xmax], and any "
        "message of the outline generation");
    apertureCmd->add_option("A", ap->a, "semi-axis along the rows at theta 0, 3 to 99")
        ->required()
        ->check(CLI::Range(kMinSemiAxis, kMaxSemiAxis));
    apertureCmd->add_option("B", ap->b, "the other semi-axis, 3 to 99")
        ->required()
        ->check(CLI::Range(kMinSemiAxis, kMaxSemiAxis));
    apertureCmd->add_option("THETA", ap->theta, "angle of the A semi-axis, -90 to 90")
        ->required()
        ->check(CLI::Range(kMinTheta, kMaxTheta));
    apertureCmd->callback([ap] {
        RecordingHost host;
        ApertureShape shape;
        shape.a = ap->a;
        shape.b = ap->b;
        shape.theta = ap->theta;
        GenerateOutline(shape.a, shape.b, shape.theta, shape.outline, host);
        BuildSpans(shape.outline, shape.spans);
        json out = OutlineJson(shape);
        out["messages"] = host.messages;
        PrintJson(out);
    });

    struct MeasureArgs {
        std::string file;
        std::string objects;
        bool small = false;
        RawArguments raw;
    };
    auto ms = std::make_shared<MeasureArgs>();
    CLI::App* measureCmd = app.add_subcommand("measure", kMeasureHelp);
    measureCmd->add_option("FILE", ms->file, "image file")->required();
    measureCmd->add_option("--objects", ms->objects, "the object list, JSON")->required();
    measureCmd->add_flag("--small", ms->small, "16-pixel background boxes (\"Small ROI\")");
    AddRawOptions(*measureCmd, ms->raw);
    measureCmd->callback([ms, &exitCode] {
        auto program = std::make_unique<Program>();
        std::string error;
        if (!ReadObjectsFile(ms->objects, program->photometry, program->objects, error)) {
            std::cerr << "measure: " << error << "\n";
            exitCode = 2;
            return;
        }
        RecordingHost host;
        if (!LoadForCli(*program, host, ms->file, ms->raw)) {
            exitCode = 1;
            return;
        }
        program->roi.side = ms->small ? 16 : 32;
        GenerateOutlines(program->photometry, host);
        BuildSpanTables(program->photometry);
        MeasureTarget target{program->image, program->header, program->photometry,
                             program->objects, program->roi.side, host};
        bool completed = RunMeasuringSteps(target);
        PrintJson(MeasureJson(*program, completed, host.messages));
        if (!completed) {
            exitCode = 3;
        }
    });
}

}  // namespace corvane::cli
