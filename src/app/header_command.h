#pragma once
// Window > Header (command 111): the observation header of the loaded image.

#include "app/program.h"
#include "platform/host.h"

namespace corvane {

inline constexpr int kCommandHeader = 111;

// Shows the header dialog for the loaded image; does nothing while no image is loaded.
void ShowHeader(const Program& program, Host& host);

}  // namespace corvane
