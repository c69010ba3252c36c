#pragma once
// The OK logic of the manual levels dialog "Show".

#include <cstdint>
#include <string_view>

#include "display/display_state.h"
#include "platform/dialogs.h"

namespace corvane {

// The fields as the dialog opens: both limits as signed decimals.
ManualLevelsFields ManualLevelsFieldsOf(const DisplayLevels& levels);

// OK: a valid "Min" becomes the low limit at once; then a valid "Max" becomes the high
// limit and the dialog may end (true). With either field invalid the dialog stays open,
// and a low limit already taken keeps its new value even if the user then cancels. The
// two limits are not compared: low above high is a display of its own.
bool ApplyManualLevels(const ManualLevelsFields& fields, DisplayLevels& levels);

// A signed decimal integer in the 32-bit range, blanks around it allowed, nothing else.
bool ParseSignedInteger(std::string_view text, std::int32_t& value);

}  // namespace corvane
