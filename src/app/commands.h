#pragma once
// The main window's commands: every id of the menu, the accelerator table and the tool box
// arrives here, checks its own conditions and acts or hands over.

#include <string>
#include <string_view>
#include <vector>

#include "app/program.h"
#include "platform/dialogs.h"
#include "platform/host.h"

namespace corvane {

// Runs command `id`; false for an id this window does not know.
bool OnCommand(Program& program, Host& host, int id);

// The start of the program, once the window and its children exist: the box outline, the
// start directory, the empty window.
void StartMainWindow(Program& program, Host& host, const std::string& startDirectory);

// The file named on the command line: quotes removed, opened when it exists.
void OpenCommandLineFile(Program& program, Host& host, const std::string& argument);

// The close box, Exit and the end of the session ask here; false keeps the window open.
bool OnCloseRequest(Program& program, Host& host);

// The folder the open dialog starts in: that of the last image shown, else the start
// directory; empty (the current directory) once an Open has emptied that.
std::string OpenDialogFolder(const ShellState& shell);

// Files dragged over the main window: one file is taken while no mouse mode waits for its
// click and no acquisition session hands over images.
bool AcceptsDrop(const Program& program, std::size_t files);
// A dropped file opens as File > Open would, read as the filter the open dialog would
// start on (raw when that is the raw filter).
void OpenDroppedFile(Program& program, Host& host, const std::string& path);

// Who has the keyboard when an accelerator key is pressed.
enum class KeyboardHolder { ProgramWindow, Menu, Dialog };

// The accelerators act from the main window, the tool box and the close-up window only: an
// open menu keeps its arrows for moving between menus and items, a dialog its keys.
inline bool AcceleratorsAct(KeyboardHolder holder) {
    return holder == KeyboardHolder::ProgramWindow;
}

// The open dialog's filter text, split at its last character into the four filters.
std::vector<OpenFileFilter> ParseOpenFilter(std::string_view text);
inline constexpr std::string_view kOpenFilterText =
    "Corvane Files (*.DAT;*.CAL;*.ABS;*.AFL)|*.dat;*.cal;*.abs;*.afl|"
    "FITS Files (*.FTS;*.FIT;*.FITS;*.MT)|*.fts;*.fit;*.fits;*.mt|"
    "RAW - Raw File Format|*.*|All Files|*.*|";
inline constexpr int kRawFilter = 3;
inline constexpr int kAllFilesFilter = 4;

// The filter the open dialog starts on after loading a file of this format.
int FilterIndexForFormat(int formatCode);

// "Version %4.2lf dev." with the program's version.
std::string AboutVersionText();

}  // namespace corvane
