#include "app/menu_model.h"

#include "app/photometry_commands.h"

namespace corvane {

MenuState ComputeMenuState(const Program& program) {
    const ShellState& shell = program.shell;
    const bool shown = program.image.loaded;
    MenuState menu;
    menu.titles = shell.shortMenuTitles ? kShortMenuTitles : kFullMenuTitles;
    menu.topEnabled[kMenuWindow] = shown;
    menu.topEnabled[kMenuFaceLift] = shown && !shell.faceLiftLocked;
    menu.topEnabled[kMenuPhotometry] = shown;
    menu.nextEnabled = shell.nextEnabled;
    // Reload is enabled by a successful load and grayed by every reset, which are exactly
    // the moments an image starts and stops being shown.
    menu.reloadEnabled = shown;
    menu.outputFilesEnabled = shell.outputFilesEnabled;
    menu.acquireEnabled = shell.acquireAvailable && !shell.acquisitionSession;
    menu.smallRoiChecked = shell.smallRoi;
    menu.lightcurveEnabled = LightcurveAvailable(program);
    return menu;
}

void UpdateMenu(Program& program, Host& host) {
    program.shell.menu = ComputeMenuState(program);
    host.ApplyMenuState(program.shell.menu);
}

}  // namespace corvane
