#pragma once
// META.json of corvane-cli lightcurve: what the list files cannot know for ALCDEF.

#include <string>

#include "lightcurve/alcdef_export.h"

namespace corvane::cli {

// Reads the file at `path`. On a fault returns false and `error` says what is wrong,
// naming the file.
bool ReadAlcdefMeta(const std::string& path, AlcdefMetadata& meta, std::string& error);

}  // namespace corvane::cli
