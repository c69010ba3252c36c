#pragma once
// The objects file of corvane-cli measure and photometry: the photometry parameters and
// the object list as JSON.

#include <string>

#include "photometry/object_list.h"
#include "photometry/photometry_parameters.h"

namespace corvane::cli {

// Reads the objects file at `path` into the records. On a fault returns false and
// `error` says what is wrong, naming the file.
bool ReadObjectsFile(const std::string& path, PhotometryParameters& params, ObjectList& list,
                     std::string& error);

}  // namespace corvane::cli
