#pragma once
// The one place that decides which menu items are enabled, checked and how the menus are
// titled.

#include "app/program.h"
#include "platform/host.h"

namespace corvane {

MenuState ComputeMenuState(const Program& program);

// Computes the state, keeps it in the shell and has the window apply it.
void UpdateMenu(Program& program, Host& host);

}  // namespace corvane
