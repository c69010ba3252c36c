#pragma once
// The menu "CorvaneMenu" and its accelerator table, as actions that carry command ids.

#include <QAction>
#include <QMenu>
#include <array>
#include <functional>
#include <map>

class QMenuBar;
class QWidget;

namespace corvane {

struct CorvaneMenu {
    std::array<QMenu*, 5> top{};     // File, Options, Window, FaceLift, Photometry
    std::map<int, QAction*> items;   // menu items by command id
    std::map<int, QAction*> accelerators;  // shortcut-only actions (F2, the scroll keys)
};

// Fills `bar` with the menu tree and adds every item and accelerator to `owner` as an
// application-wide shortcut; each triggered action calls `command` with its id.
CorvaneMenu BuildCorvaneMenu(QMenuBar* bar, QWidget* owner,
                             const std::function<void(int)>& command);

}  // namespace corvane
