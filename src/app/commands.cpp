#include "app/commands.h"

#include <cstdio>

#include "app/acquisition.h"
#include "app/analysis_commands.h"
#include "app/close_up.h"
#include "app/command_ids.h"
#include "app/display_commands.h"
#include "app/header_command.h"
#include "app/image_commands.h"
#include "app/menu_model.h"
#include "app/mouse_modes.h"
#include "app/photometry_clicks.h"
#include "app/tool_box.h"
#include "app/photometry_commands.h"
#include "app/window_layout.h"
#include "display/display_state.h"
#include "image/image_record.h"
#include "platform/file_lookup.h"
#include "platform/file_names.h"

namespace corvane {

std::vector<OpenFileFilter> ParseOpenFilter(std::string_view text) {
    std::vector<OpenFileFilter> filters;
    if (text.empty()) {
        return filters;
    }
    const char separator = text.back();
    std::vector<std::string> parts;
    std::string part;
    for (char c : text) {
        if (c == separator) {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        filters.push_back({parts[i], parts[i + 1]});
    }
    return filters;
}

int FilterIndexForFormat(int formatCode) {
    switch (formatCode) {
        case kFormatHk:
        case kFormatPc:
            return 1;
        case kFormatFits:
            return 2;
        case kFormatRaw:
            return kRawFilter;
        default:
            return 4;
    }
}

std::string AboutVersionText() {
    char text[32];
    std::snprintf(text, sizeof text, "Version %4.2lf dev.", 2.45);
    return text;
}

std::string OpenDialogFolder(const ShellState& shell) {
    return shell.lastImageFolder.empty() ? shell.initialDirectory : shell.lastImageFolder;
}

namespace {

bool Shown(const Program& program) { return program.image.loaded; }
bool Idle(const Program& program) { return program.shell.mouseMode == MouseMode::None; }
bool AtOneToOne(const Program& program) { return program.shell.view.zoom == kOneToOne; }

// The file the user chose, read as the filter it was chosen under says.
void OpenChosenFile(Program& program, Host& host, const std::string& path, int filterIndex) {
    ShellState& shell = program.shell;
    shell.initialDirectory.clear();
    shell.openFilterIndex = filterIndex;
    shell.openAsRaw = filterIndex == kRawFilter;
    LoadImage(program, host, path);
}

void Open(Program& program, Host& host) {
    const ShellState& shell = program.shell;
    OpenFileRequest request{ParseOpenFilter(kOpenFilterText), shell.openFilterIndex,
                            OpenDialogFolder(shell)};
    std::optional<OpenFileChoice> choice = host.RunOpenFileDialog(request);
    if (!choice) {
        return;
    }
    OpenChosenFile(program, host, choice->path, choice->filterIndex);
}

void Next(Program& program, Host& host) {
    if (!Idle(program)) {
        return;
    }
    std::optional<std::string> candidate = NextFileName(program.image.path);
    if (!candidate) {
        return;
    }
    while (!FileExists(*candidate)) {
        const std::string text = "Error in opening file  " + *candidate + "\n\t Try Next ?";
        if (host.ShowMessage("MSG 7", text, MessageIcon::Warning, MessageButtons::YesNo) !=
            MessageAnswer::Yes) {
            return;
        }
        candidate = NextFileName(*candidate);
        if (!candidate) {
            return;
        }
    }
    LoadImage(program, host, *candidate);
}

// Small ROI: the region sizes and the check mark, then the box cursor and outline that
// follow from them.
void SmallRoi(Program& program, Host& host) {
    ToggleSmallRoi(program, host);
    ShellState& shell = program.shell;
    shell.smallRoi = shell.menu.smallRoiChecked;
    shell.boxCursor = RegionBoxCursor(program);
    shell.boxOutline = MakeBoxOutline(program.roi.side);
    UpdateMenu(program, host);
}

// Initialize star list, Do! and Add star start at 1:1 with the overlays hidden.
void PrepareObjectInput(Program& program, Host& host) {
    if (!AtOneToOne(program)) {
        ResizeToOneToOne(program, host);
    }
    if (program.shell.overlaysShown) {
        program.shell.overlaysShown = false;
        host.InvalidateAll();
    }
}

// Do! and Add star need no mode, an image, the star list and the output files.
bool ReadyForRun(Program& program, Host& host) {
    if (!Idle(program) || !Shown(program)) {
        return false;
    }
    return ObjectInputAllowed(program.objects, program.outputFilesChosen, host);
}

}  // namespace

bool OnCommand(Program& program, Host& host, int id) {
    using namespace command;
    ShellState& shell = program.shell;
    switch (id) {
        case kAbout:
            host.ShowAboutBox(AboutVersionText());
            return true;
        case kZoom:
            ZoomIn(program, host);
            return true;
        case kSqueeze:
            ZoomOut(program, host);
            return true;
        case kResize:
            ResizeToOneToOne(program, host);
            return true;
        case kManual:
        case kFshow:
        case kHistogram:
        case kMinMax:
        case kHiPass:
        case kLog:
        case kLog2:
        case kLog4:
            // Each display command checks for the image itself: some record their mode
            // without one, for the next load.
            RunDisplayModeCommand(program, host, id);
            return true;
        case kOpen:
            Open(program, host);
            return true;
        case kNext:
            Next(program, host);
            return true;
        case kExit:
            host.RequestClose();
            return true;
        case kHeader:
            ShowHeader(program, host);
            return true;
        case kCloseUp:
            OpenCloseUp(program, host);
            return true;
        case kStats:
            RunStats(program, host);
            return true;
        case kMaxMin:
            RunMaxMin(program, host);
            return true;
        case kGlobalMaxMin:
            RunGlobalMaxMin(program, host);
            return true;
        case kDo: {
            if (!ReadyForRun(program, host)) return true;
            PrepareObjectInput(program, host);
            shell.mouseMode = MouseMode::Photometry;
            StarInput input = MakeStarInput(program, host);
            BeginObjectInput(input);
            return true;
        }
        case kParameters:
            ParametersCommand(program, host);
            return true;
        case kInitStarList:
            if (!Shown(program)) return true;
            PrepareObjectInput(program, host);
            InitializeStarListCommand(program, host);
            return true;
        case kSmallRoi:
            SmallRoi(program, host);
            return true;
        case kReload:
            LoadImage(program, host, program.image.path);
            return true;
        case kEditPixel:
            StartEditPixel(program, host);
            return true;
        case kCleanRoi:
            StartCleanRoi(program, host, shell.view.zoom);
            return true;
        case kSetRoi:
            if (!Shown(program)) return true;
            SetMouseMode(program, host, MouseMode::SetRoi, "Select Region of Interest");
            return true;
        case kPatch:
            StartPatch(program, host, shell.view.zoom);
            return true;
        case kRedraw:
            host.InvalidateAll();
            return true;
        case kOutputFiles:
            OutputFilesCommand(program, host);
            return true;
        case kBitHistogram:
            RunBitHistogram(program, host);
            return true;
        case kPageUp:
        case kPageDown:
        case kEnd:
        case kHome:
        case kRight:
        case kLeft:
        case kUp:
        case kDown:
        case kCtrlPageUp:
        case kCtrlPageDown:
        case kCtrlEnd:
        case kCtrlHome:
            if (!Shown(program)) return true;
            ScrollByKey(program, host, id);
            return true;
        case kAcquire:
            Acquire(program, host);
            return true;
        case kClose:
            if (!Shown(program)) return true;
            CloseImage(program, host);
            return true;
        case kSelectStars:
            SelectStarsCommand(program, host);
            return true;
        case kToolBox:
            OpenToolBox(program, host);
            return true;
        case kAddStar:
            if (program.photometry.numberOfStars >= kMaxStars) return true;
            if (!ReadyForRun(program, host)) return true;
            PrepareObjectInput(program, host);
            AddStarCommand(program, host);
            return true;
        case kPsf:
            StartPsf(program, host);
            return true;
        case kMedianFilter:
            RunMedianFilter(program, host, MakeAnalysisDisplay(program, host));
            return true;
        case kLightcurve:
            LightcurveCommand(program);
            return true;
        default:
            return false;
    }
}

bool AcceptsDrop(const Program& program, std::size_t files) {
    return files == 1 && Idle(program) && !program.shell.acquisitionSession;
}

void OpenDroppedFile(Program& program, Host& host, const std::string& path) {
    if (AcceptsDrop(program, 1)) {
        // A drop shows no filter to choose: the file is recognised by its first bytes (an
        // unknown one still asks whether to open it as raw), whatever filter Open last used.
        const int filter = program.shell.openFilterIndex == kRawFilter
                               ? kAllFilesFilter
                               : program.shell.openFilterIndex;
        OpenChosenFile(program, host, path, filter);
    }
}

void StartMainWindow(Program& program, Host& host, const std::string& startDirectory) {
    ShellState& shell = program.shell;
    InitDisplay(program.display);
    GenerateOutlines(program.photometry, host);
    shell.boxOutline = MakeBoxOutline(program.roi.side);
    shell.boxCursor = CursorShape::LargeBox;
    shell.initialDirectory = startDirectory;
    shell.openFilterIndex = 1;
    UpdateMenu(program, host);
    host.SetPaneText(Pane::Prompt, "");
    const WindowMetrics metrics = host.GetWindowMetrics();
    host.SetWindowSize(kEmptyWindowWidth, NonClientHeight(metrics) + metrics.statusBarHeight,
                       false);
    LayoutChildren(program, host);
}

void OpenCommandLineFile(Program& program, Host& host, const std::string& argument) {
    std::string path = argument;
    if (!path.empty() && path.front() == '"') {
        path = path.size() >= 2 ? path.substr(1, path.size() - 2) : std::string();
    }
    path = AbsolutePath(path);
    if (path.empty() || !FileExists(path)) {
        return;
    }
    if (!LoadImage(program, host, path)) {
        host.ShowMessage("readfile failed", path, MessageIcon::None);
        return;
    }
    program.shell.openFilterIndex = FilterIndexForFormat(program.image.formatCode);
    program.shell.openAsRaw = program.image.formatCode == kFormatRaw;
}

bool OnCloseRequest(Program& program, Host& host) {
    ShellState& shell = program.shell;
    if (shell.acquisitionSession) {
        host.ShowMessage("Corvane", "There is an open acquisition session. Please close it first.",
                         MessageIcon::Error);
        return false;
    }
    if (shell.toolBoxOpen) {
        host.CloseModeless(ModelessWindow::ToolBox);
        shell.toolBoxOpen = false;
    }
    if (shell.closeUpOpen) {
        host.CloseModeless(ModelessWindow::CloseUp);
        shell.closeUpOpen = false;
        shell.frozen = false;
    }
    return true;
}

}  // namespace corvane
