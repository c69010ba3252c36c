// corvane-cli aperture and measure: the aperture shapes, and the measuring steps of a
// photometry run on one image, without dialogs.

#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_common.h"
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
        messages.push_back({{"caption", std::string(caption)},
                            {"text", std::string(text)},
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

// --- reading the objects file ---

// Reads the objects file into the records; on a fault `error` says where.
class ObjectsReader {
public:
    std::string error;

    bool Read(const json& j, PhotometryParameters& params, ObjectList& list) {
        if (!j.is_object()) {
            return Fail("the file must hold one JSON object");
        }
        std::string mode = "Automatic";
        if (j.contains("centringMode")) {
            if (!j["centringMode"].is_string()) {
                return Fail("centringMode must be \"Automatic\" or \"Manual\"");
            }
            mode = j["centringMode"].get<std::string>();
        }
        if (mode != "Automatic" && mode != "Manual") {
            return Fail("centringMode must be \"Automatic\" or \"Manual\"");
        }
        params.centringMode = mode == "Manual" ? CentringMode::Manual : CentringMode::Automatic;
        if (!Shape(j, "asteroidAperture", params.asteroid) ||
            !Shape(j, "starAperture", params.star) ||
            !Int(j, "backgroundBoxes", 1, kMaxBackgroundBoxes, params.numberOfBoxes) ||
            !Int(j, "referenceStar", 0, kMaxStars - 1, list.referenceStar)) {
            return false;
        }
        if (!j.contains("referencePosition")) {
            return Fail("referencePosition is missing");
        }
        if (!Pair(j["referencePosition"], "referencePosition", list.referencePosition)) {
            return false;
        }

        if (!j.contains("asteroid") || !j["asteroid"].is_object()) {
            return Fail("asteroid must be an object");
        }
        const json& a = j["asteroid"];
        if (!Flag(a, "asteroid.selected", list.asteroidSelected)) {
            return false;
        }
        // An unselected asteroid needs neither position nor boxes.
        if (list.asteroidSelected || a.contains("position")) {
            if (!a.contains("position") ||
                !Pair(a["position"], "asteroid.position", list.asteroidPosition)) {
                return Fail(error.empty() ? "asteroid.position is missing" : error);
            }
        }
        if (list.asteroidSelected || a.contains("boxOffsets")) {
            if (!Boxes(a, "asteroid.boxOffsets", params.numberOfBoxes,
                       [&](int k) -> PixelPoint& { return list.asteroidBoxOffsets[k]; })) {
                return false;
            }
        }

        if (!j.contains("stars") || !j["stars"].is_array() || j["stars"].empty() ||
            j["stars"].size() > kMaxStars) {
            return Fail("stars must be an array of 1 to 16 stars");
        }
        params.numberOfStars = static_cast<int>(j["stars"].size());
        if (list.referenceStar >= params.numberOfStars) {
            return Fail("referenceStar must index one of the stars");
        }
        for (int i = 0; i < params.numberOfStars; ++i) {
            const json& s = j["stars"][static_cast<std::size_t>(i)];
            const std::string name = "stars[" + std::to_string(i) + "]";
            if (!s.is_object()) {
                return Fail(name + " must be an object");
            }
            bool selected = true;
            if (!Flag(s, name + ".selected", selected)) {
                return false;
            }
            list.starSelected[i] = selected;
            if (!s.contains("offset") || !Pair(s["offset"], name + ".offset", list.starOffset[i]) ||
                !Boxes(s, name + ".boxOffsets", params.numberOfBoxes,
                       [&](int k) -> PixelPoint& { return list.starBoxOffsets[k][i]; })) {
                return false;
            }
        }
        return true;
    }

private:
    // Positions and offsets beyond a million pixels belong to no picture.
    static constexpr int kCoordinateLimit = 1000000;

    bool Fail(std::string text) {
        error = std::move(text);
        return false;
    }

    bool Int(const json& j, const char* key, int lo, int hi, int& value) {
        if (!j.contains(key)) {
            return true;
        }
        const json& v = j[key];
        if (!v.is_number_integer() || v.get<long long>() < lo || v.get<long long>() > hi) {
            return Fail(std::string(key) + " must be an integer in " + std::to_string(lo) +
                        " to " + std::to_string(hi));
        }
        value = v.get<int>();
        return true;
    }

    bool Flag(const json& j, const std::string& name, bool& value) {
        const std::string key = name.substr(name.rfind('.') + 1);
        if (!j.contains(key)) {
            return true;
        }
        if (!j[key].is_boolean()) {
            return Fail(name + " must be true or false");
        }
        value = j[key].get<bool>();
        return true;
    }

    bool Pair(const json& v, const std::string& name, PixelPoint& p) {
        if (!v.is_array() || v.size() != 2 || !v[0].is_number_integer() ||
            !v[1].is_number_integer()) {
            return Fail(name + " must be a pair of integers [x, y]");
        }
        long long x = v[0].get<long long>(), y = v[1].get<long long>();
        if (x < -kCoordinateLimit || x > kCoordinateLimit || y < -kCoordinateLimit ||
            y > kCoordinateLimit) {
            return Fail(name + " lies beyond a million pixels");
        }
        p = {static_cast<int>(x), static_cast<int>(y)};
        return true;
    }

    template <class Slot>
    bool Boxes(const json& j, const std::string& name, int nB, Slot slot) {
        const std::string key = name.substr(name.rfind('.') + 1);
        if (!j.contains(key) || !j[key].is_array() ||
            j[key].size() < static_cast<std::size_t>(nB)) {
            return Fail(name + " must hold at least " + std::to_string(nB) + " pairs");
        }
        for (int k = 0; k < nB; ++k) {
            if (!Pair(j[key][static_cast<std::size_t>(k)],
                      name + "[" + std::to_string(k) + "]", slot(k))) {
                return false;
            }
        }
        return true;
    }

    bool Shape(const json& j, const char* key, ApertureShape& shape) {
        if (!j.contains(key)) {
            return true;
        }
        if (!j[key].is_object()) {
            return Fail(std::string(key) + " must be an object {a, b, theta}");
        }
        const json& s = j[key];
        return Int(s, "a", kMinSemiAxis, kMaxSemiAxis, shape.a) &&
               Int(s, "b", kMinSemiAxis, kMaxSemiAxis, shape.b) &&
               Int(s, "theta", kMinTheta, kMaxTheta, shape.theta);
    }
};

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
        std::ifstream in(ms->objects, std::ios::binary);
        if (!in) {
            std::cerr << "measure: cannot read " << ms->objects << "\n";
            exitCode = 2;
            return;
        }
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        json j = json::parse(text, nullptr, false);
        if (j.is_discarded()) {
            std::cerr << "measure: " << ms->objects << " is not valid JSON\n";
            exitCode = 2;
            return;
        }
        auto program = std::make_unique<Program>();
        ObjectsReader reader;
        if (!reader.Read(j, program->photometry, program->objects)) {
            std::cerr << "measure: " << ms->objects << ": " << reader.error << "\n";
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
