#pragma once
// The menu "CorvaneMenu" and its accelerator table, as actions that carry command ids.

#include <QAction>
#include <QMenu>
#include <array>
#include <functional>
#include <map>
#include <string>

class QMenuBar;
class QWidget;

namespace corvane {

struct CorvaneMenu {
    std::array<QMenu*, 5> top{};     // File, Options, Window, FaceLift, Photometry
    std::map<int, QAction*> items;   // menu items by command id
    std::map<int, QAction*> accelerators;  // shortcut-only actions (F2, the scroll keys)
};

// A top-level title as the menu bar shows it, with its keyboard letter underlined; the
// title itself is the program's ("File", or "F" on a narrow window). `menu` counts from 0.
QString TitleWithMnemonic(const std::string& title, int menu);

// A menu item's name without its underline mark and key: "Do!" for "&Do!\tF8".
QString MenuItemName(const QAction& action);

// Fills `bar` with the menu tree and adds every item and accelerator to `owner` as an
// application-wide shortcut; each triggered action calls `command` with its id.
CorvaneMenu BuildCorvaneMenu(QMenuBar* bar, QWidget* owner,
                             const std::function<void(int)>& command);

}  // namespace corvane
