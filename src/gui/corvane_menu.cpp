#include "gui/corvane_menu.h"

#include <QMenuBar>
#include <QWidget>

#include <array>

#include "app/command_ids.h"
#include "platform/menu_state.h"

namespace corvane {

namespace {

QAction* Item(CorvaneMenu& menu, QMenu* parent, const char* text, int id,
              const std::function<void(int)>& command, bool grayed = false) {
    QAction* action = parent->addAction(QString::fromUtf8(text));
    action->setData(id);
    action->setEnabled(!grayed);
    QObject::connect(action, &QAction::triggered, action, [command, id] { command(id); });
    menu.items[id] = action;
    return action;
}

// The letter each top-level title underlines: FaceLift takes its "a", File has the F.
constexpr std::array<char, 5> kTitleMnemonics{'F', 'O', 'W', 'a', 'P'};

}  // namespace

QString TitleWithMnemonic(const std::string& title, int menu) {
    QString text = QString::fromStdString(title).replace('&', "&&");
    const qsizetype at = text.indexOf(QChar(kTitleMnemonics.at(static_cast<std::size_t>(menu))));
    if (at >= 0) {
        text.insert(at, '&');
    }
    return text;
}

QString MenuItemName(const QAction& action) {
    const QString text = action.text().section('\t', 0, 0);
    QString name;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;  // "&x" shows x underlined, "&&" shows "&"
        }
        name += text[i];
    }
    return name;
}

CorvaneMenu BuildCorvaneMenu(QMenuBar* bar, QWidget* owner,
                             const std::function<void(int)>& command) {
    using namespace command;
    CorvaneMenu menu;

    QMenu* file = bar->addMenu(TitleWithMnemonic("File", kMenuFile));
    Item(menu, file, "&Open...", kOpen, command);
    Item(menu, file, "&Next\tF6", kNext, command, true);
    Item(menu, file, "&Reload", kReload, command, true);
    Item(menu, file, "&Close", kClose, command);
    file->addSeparator();
    Item(menu, file, "&Acquire", kAcquire, command, true);
    file->addSeparator();
    Item(menu, file, "E&xit", kExit, command);
    file->addSeparator();
    Item(menu, file, "A&bout Corvane...", kAbout, command);

    QMenu* options = bar->addMenu(TitleWithMnemonic("Options", kMenuOptions));
    Item(menu, options, "&Small ROI", kSmallRoi, command)->setCheckable(true);

    QMenu* window = bar->addMenu(TitleWithMnemonic("Window", kMenuWindow));
    QMenu* display = window->addMenu("&Display");
    Item(menu, display, "&Manual...", kManual, command);
    Item(menu, display, "&Histogram", kHistogram, command);
    Item(menu, display, "&Fshow", kFshow, command);
    Item(menu, display, "M&in-Max", kMinMax, command);
    display->addSeparator();
    Item(menu, display, "&Log.", kLog, command);
    Item(menu, display, "Log. x &2", kLog2, command);
    Item(menu, display, "Log. x &4", kLog4, command);
    display->addSeparator();
    Item(menu, display, "Hi-&pass", kHiPass, command);
    Item(menu, window, "Set &ROI", kSetRoi, command);
    QMenu* statistics = window->addMenu("&Statistics");
    Item(menu, statistics, "&Stats", kStats, command);
    Item(menu, statistics, "&Max Min", kMaxMin, command);
    Item(menu, statistics, "&Global Max Min", kGlobalMaxMin, command);
    statistics->addSeparator();
    Item(menu, statistics, "&PSF", kPsf, command);
    QMenu* zoom = window->addMenu("&Zoom");
    Item(menu, zoom, "&Zoom", kZoom, command);
    Item(menu, zoom, "&Squeeze", kSqueeze, command);
    Item(menu, zoom, "&Resize", kResize, command);
    Item(menu, zoom, "Re&draw", kRedraw, command);
    window->addSeparator();
    Item(menu, window, "&Close-up box", kCloseUp, command);
    Item(menu, window, "&Tool box", kToolBox, command);
    Item(menu, window, "&Header", kHeader, command);

    QMenu* faceLift = bar->addMenu(TitleWithMnemonic("FaceLift", kMenuFaceLift));
    Item(menu, faceLift, "&Edit Pixel Value", kEditPixel, command);
    Item(menu, faceLift, "&Clean ROI", kCleanRoi, command);
    Item(menu, faceLift, "&Patch", kPatch, command);
    Item(menu, faceLift, "&Median Filter", kMedianFilter, command);

    QMenu* photometry = bar->addMenu(TitleWithMnemonic("Photometry", kMenuPhotometry));
    Item(menu, photometry, "&Parameters...", kParameters, command);
    photometry->addSeparator();
    Item(menu, photometry, "&Initialize star list", kInitStarList, command);
    Item(menu, photometry, "&Add star", kAddStar, command);
    Item(menu, photometry, "&Select stars...", kSelectStars, command);
    photometry->addSeparator();
    Item(menu, photometry, "&Output Files...", kOutputFiles, command, true);
    photometry->addSeparator();
    Item(menu, photometry, "&Do!\tF8", kDo, command);
    photometry->addSeparator();
    Item(menu, photometry, "&Lightcurve...", kLightcurve, command, true);

    menu.top = {file, options, window, faceLift, photometry};
    // Grayed until an image is shown.
    for (int i = 2; i < 5; ++i) {
        menu.top[static_cast<std::size_t>(i)]->menuAction()->setEnabled(false);
    }

    // The accelerator table: work whichever window of the program has the focus.
    menu.items[kNext]->setShortcut(QKeySequence(Qt::Key_F6));
    menu.items[kDo]->setShortcut(QKeySequence(Qt::Key_F8));
    const struct {
        int id;
        QKeyCombination key;
    } keys[] = {
        {kBitHistogram, Qt::Key_F2},
        {kPageUp, Qt::Key_PageUp},
        {kPageDown, Qt::Key_PageDown},
        {kEnd, Qt::Key_End},
        {kHome, Qt::Key_Home},
        {kRight, Qt::Key_Right},
        {kLeft, Qt::Key_Left},
        {kUp, Qt::Key_Up},
        {kDown, Qt::Key_Down},
        {kCtrlPageUp, Qt::ControlModifier | Qt::Key_PageUp},
        {kCtrlPageDown, Qt::ControlModifier | Qt::Key_PageDown},
        {kCtrlEnd, Qt::ControlModifier | Qt::Key_End},
        {kCtrlHome, Qt::ControlModifier | Qt::Key_Home},
    };
    for (const auto& k : keys) {
        auto* action = new QAction(owner);
        action->setData(k.id);
        action->setShortcut(QKeySequence(k.key));
        const int id = k.id;
        QObject::connect(action, &QAction::triggered, action, [command, id] { command(id); });
        menu.accelerators[id] = action;
    }
    for (auto& [id, action] : menu.items) {
        owner->addAction(action);
    }
    for (auto& [id, action] : menu.accelerators) {
        owner->addAction(action);
    }
    for (QAction* action : owner->actions()) {
        action->setShortcutContext(Qt::ApplicationShortcut);
    }
    return menu;
}

}  // namespace corvane
