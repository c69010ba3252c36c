#pragma once
// The star list of the demonstration frames samples/field001-005.fit, as the desktop
// program holds it after "Initialize star list" on field001 and as an objects file of
// corvane-cli: stars 1 to 3 of the field with two boxes each, and the asteroid.

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "photometry/object_list.h"
#include "photometry/photometry_parameters.h"

namespace corvane::test {

// The samples folder of the source tree.
std::string SamplesDirectory();

// The five frames in order, full paths.
std::vector<std::string> SampleFrames();

// Fills the records with the list entered on field001 (Automatic centring).
void SampleStarList(PhotometryParameters& params, ObjectList& objects);

// The same list as an objects file.
nlohmann::json SampleObjectsJson();

// Where the asteroid is clicked on field001 and field002; later frames follow the line.
inline constexpr PixelPoint kSampleAsteroid1{140, 330};
inline constexpr PixelPoint kSampleAsteroid2{144, 328};

}  // namespace corvane::test
