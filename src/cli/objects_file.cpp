#include "cli/objects_file.h"

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

namespace corvane::cli {

namespace {

using nlohmann::json;

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

}  // namespace

bool ReadObjectsFile(const std::string& path, PhotometryParameters& params, ObjectList& list,
                     std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    json j = json::parse(text, nullptr, false);
    if (j.is_discarded()) {
        error = path + " is not valid JSON";
        return false;
    }
    ObjectsReader reader;
    if (!reader.Read(j, params, list)) {
        error = path + ": " + reader.error;
        return false;
    }
    return true;
}

}  // namespace corvane::cli
