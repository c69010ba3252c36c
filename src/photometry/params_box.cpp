#include "photometry/params_box.h"

#include <cctype>
#include <climits>
#include <string>

namespace corvane {

std::optional<int> ParseDialogInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            return std::nullopt;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX || value < INT_MIN) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

ParamsDialogFields ParamsDialogOpening(const PhotometryParameters& params) {
    ParamsDialogFields f;
    f.stars = std::to_string(params.numberOfStars);
    f.background = std::to_string(params.numberOfBoxes);
    f.asteroidA = std::to_string(params.asteroid.a);
    f.asteroidB = std::to_string(params.asteroid.b);
    f.asteroidTheta = std::to_string(params.asteroid.theta);
    f.starA = std::to_string(params.star.a);
    f.starB = std::to_string(params.star.b);
    f.starTheta = std::to_string(params.star.theta);
    f.automatic = params.centringMode == CentringMode::Automatic;
    return f;
}

namespace {

bool InRange(int v, int lo, int hi) { return lo <= v && v <= hi; }

// Fields 503 to 508 test only their range: a text that is not a number reads as 0.
bool StoreShapeField(const std::string& text, int lo, int hi, int& field) {
    int v = ParseDialogInteger(text).value_or(0);
    if (!InRange(v, lo, hi)) {
        return false;
    }
    field = v;
    return true;
}

// Fields 501 and 502 must be valid numbers from 1 to `max`; raising either count leaves
// entries of the star list never entered, so the list needs a new initialisation.
bool StoreCountField(const std::string& text, int max, int& field, ObjectList& objects) {
    std::optional<int> v = ParseDialogInteger(text);
    if (!v || !InRange(*v, 1, max)) {
        return false;
    }
    if (*v > field) {
        objects.initialised = false;
    }
    field = *v;
    return true;
}

}  // namespace

bool ApplyParamsDialog(const ParamsDialogFields& fields, PhotometryParameters& params,
                       ObjectList& objects) {
    if (!StoreCountField(fields.stars, kMaxStars, params.numberOfStars, objects) ||
        !StoreCountField(fields.background, kMaxBackgroundBoxes, params.numberOfBoxes, objects)) {
        return false;
    }

    if (!StoreShapeField(fields.asteroidA, kMinSemiAxis, kMaxSemiAxis, params.asteroid.a) ||
        !StoreShapeField(fields.asteroidB, kMinSemiAxis, kMaxSemiAxis, params.asteroid.b) ||
        !StoreShapeField(fields.asteroidTheta, kMinTheta, kMaxTheta, params.asteroid.theta) ||
        !StoreShapeField(fields.starA, kMinSemiAxis, kMaxSemiAxis, params.star.a) ||
        !StoreShapeField(fields.starB, kMinSemiAxis, kMaxSemiAxis, params.star.b) ||
        !StoreShapeField(fields.starTheta, kMinTheta, kMaxTheta, params.star.theta)) {
        return false;
    }

    params.centringMode = fields.automatic ? CentringMode::Automatic : CentringMode::Manual;
    return true;
}

bool RunParamsBox(PhotometryParameters& params, ObjectList& objects, Host& host) {
    ParamsDialogFields fields = ParamsDialogOpening(params);
    bool accepted = host.RunParamsDialog(fields, [&](const ParamsDialogFields& typed) {
        return ApplyParamsDialog(typed, params, objects);
    });
    if (accepted) {
        GenerateOutlines(params, host);
    }
    return accepted;
}

}  // namespace corvane
