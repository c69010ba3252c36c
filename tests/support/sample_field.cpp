#include "support/sample_field.h"

namespace corvane::test {

namespace {

constexpr PixelPoint kReference{154, 110};
// Stars 1, 2 and 3 of the field's list, brightest first, as clicked on field001.
constexpr PixelPoint kStars[3] = {{154, 110}, {398, 300}, {229, 190}};
// Each object's two boxes lie 40 rows above and below it, clear of other stars.
constexpr PixelPoint kBoxSteps[2] = {{0, -40}, {0, 40}};

nlohmann::json Pair(PixelPoint p) { return nlohmann::json::array({p.x, p.y}); }

}  // namespace

std::string SamplesDirectory() { return std::string(CORVANE_SOURCE_DIR) + "/samples"; }

std::vector<std::string> SampleFrames() {
    std::vector<std::string> frames;
    for (int i = 1; i <= 5; ++i) {
        frames.push_back(SamplesDirectory() + "/field00" + std::to_string(i) + ".fit");
    }
    return frames;
}

void SampleStarList(PhotometryParameters& params, ObjectList& objects) {
    params.numberOfStars = 3;
    params.numberOfBoxes = 2;
    params.centringMode = CentringMode::Automatic;
    objects.initialised = true;
    objects.referenceStar = 0;
    objects.referencePosition = kReference;
    objects.asteroidSelected = true;
    objects.asteroidPosition = kSampleAsteroid1;
    for (int j = 0; j < 2; ++j) {
        objects.asteroidBoxOffsets[j] = kBoxSteps[j];
    }
    for (int i = 0; i < 3; ++i) {
        objects.starSelected[i] = true;
        objects.starOffset[i] = kStars[i] - kReference;
        for (int j = 0; j < 2; ++j) {
            objects.starBoxOffsets[j][i] = kStars[i] + kBoxSteps[j] - kReference;
        }
    }
}

nlohmann::json SampleObjectsJson() {
    PhotometryParameters params;
    ObjectList objects;
    SampleStarList(params, objects);
    nlohmann::json stars = nlohmann::json::array();
    for (int i = 0; i < params.numberOfStars; ++i) {
        stars.push_back({{"offset", Pair(objects.starOffset[i])},
                         {"boxOffsets", {Pair(objects.starBoxOffsets[0][i]),
                                         Pair(objects.starBoxOffsets[1][i])}}});
    }
    return {{"centringMode", "Automatic"},
            {"backgroundBoxes", params.numberOfBoxes},
            {"referenceStar", objects.referenceStar},
            {"referencePosition", Pair(objects.referencePosition)},
            {"asteroid",
             {{"position", Pair(objects.asteroidPosition)},
              {"boxOffsets", {Pair(objects.asteroidBoxOffsets[0]), Pair(objects.asteroidBoxOffsets[1])}}}},
            {"stars", stars}};
}

}  // namespace corvane::test
