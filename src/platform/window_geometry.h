#pragma once
// What the main window reports about its frame and screen, and what the program asks of
// it: window size, the places of its children, scroll bars and size limits.

#include <array>

namespace corvane {

struct PixelSize {
    int width = 0;
    int height = 0;
};

// Sizes of the window's frame and of its standard children, in screen pixels. The frame
// counts once per side: the window is 2 × (edge + sizing frame) wider than its client.
struct WindowMetrics {
    int edgeWidth = 0;
    int edgeHeight = 0;
    int sizingFrameWidth = 0;
    int sizingFrameHeight = 0;
    int captionHeight = 0;
    int menuHeight = 0;
    int verticalScrollWidth = 0;     // t_v
    int horizontalScrollHeight = 0;  // t_h, also the thickness the bars and corner box get
    int statusBarHeight = 0;         // s, measured once after the status bar is made
    int workAreaRight = 0;           // the screen less the task bar
    int workAreaBottom = 0;
    bool maximized = false;
};

inline int HorizontalFrame(const WindowMetrics& m) {
    return 2 * (m.edgeWidth + m.sizingFrameWidth);
}

// Frame, caption and menu bar: the window height less the client height.
inline int NonClientHeight(const WindowMetrics& m) {
    return 2 * (m.edgeHeight + m.sizingFrameHeight) + m.menuHeight + m.captionHeight;
}

struct ChildRect {
    int x = 0, y = 0, width = 0, height = 0;  // client pixels
};

// One placement of every child of the main window.
struct ChildLayout {
    int statusBarWidth = 0;  // the status bar sits at the bottom by itself
    ChildRect horizontalBar;
    ChildRect verticalBar;
    ChildRect corner;
    std::array<int, 3> paneRightEdges{};  // -1: to the right end
    ChildRect progress;                   // in status-bar coordinates; the bar stays hidden
};

enum class ScrollBarKind { Horizontal, Vertical };

// A scroll bar as the model sets it: positions min … max - page + 1 are reachable.
struct ScrollBarState {
    int min = 0;
    int max = 0;
    int page = 0;
    int position = 0;
    bool enabled = false;
};

// How far the user may drag the window's border, as outer window sizes.
struct SizeLimits {
    bool resizable = false;  // without an image the window keeps its size and cannot be maximized
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = 0;
    int maxHeight = 0;
};

enum class ModelessWindow { ToolBox, CloseUp };

}  // namespace corvane
