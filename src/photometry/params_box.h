#pragma once
// "ParamsBox": the parameters dialog's opening fields and its OK logic.

#include <optional>
#include <string_view>

#include "photometry/object_list.h"
#include "photometry/photometry_parameters.h"
#include "platform/dialogs.h"
#include "platform/host.h"

namespace corvane {

// A dialog field read as a signed integer: optional blanks, an optional sign and decimal
// digits, nothing else, within int. Anything else is not a number.
std::optional<int> ParseDialogInteger(std::string_view text);

// The fields as the dialog opens: the current values as signed integers and the radio
// button of the current centring mode.
ParamsDialogFields ParamsDialogOpening(const PhotometryParameters& params);

// OK: checks the fields in their order and stores each value as soon as it passes. At the
// first failure it returns false (the dialog stays open, nothing is shown); what was
// stored stays stored. Raising the number of stars or of boxes clears the star list's
// initialised state. Returns true when every field passed.
bool ApplyParamsDialog(const ParamsDialogFields& fields, PhotometryParameters& params,
                       ObjectList& objects);

// The "Parameters..." dialog run to its end: on acceptance both outlines are generated
// anew (their messages go to `host`). Returns true when accepted.
bool RunParamsBox(PhotometryParameters& params, ObjectList& objects, Host& host);

}  // namespace corvane
