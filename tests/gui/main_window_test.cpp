// The real main window, offscreen: start with a file, accelerators from another window,
// a click in a mouse mode, and screenshots at three zooms.
#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>
#include <set>

#include "app/command_ids.h"
#include "app/program.h"
#include "gui/image_view.h"
#include "app/commands.h"
#include "gui/main_window.h"
#include "gui/open_dialog.h"
#include "gui_test_support.h"
#include "support/fits_writer.h"
#include "support/temp_dir.h"
#include "gui_test_support.h"

namespace corvane {
namespace {

QApplication& App() { return test::TestApplication(); }

using test::MessageWatcher;

void WriteImage(const std::string& path, int width, int height) {
    test::FitsImage image;
    image.width = width;
    image.height = height;
    image.values.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < image.values.size(); ++i) {
        image.values[i] = static_cast<double>(i % 500);
    }
    test::WriteFits(path, image);
}

struct WithApplication {
    WithApplication() { App(); }
};

struct Window : WithApplication {
    Program program;
    MainWindow window{program};
    MessageWatcher messages;

    explicit Window(const std::string& commandLine) {
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.Start(commandLine);
        QApplication::processEvents();
    }
    void Command(int id) {
        window.Menu().items.count(id) ? window.Menu().items.at(id)->trigger()
                                      : window.Menu().accelerators.at(id)->trigger();
        QApplication::processEvents();
    }
    QSize ClientSize() const { return window.centralWidget()->size(); }
    // A test pattern in the display bytes: byte (c, r) = (c + 2r) mod 193.
    void FillDisplay() {
        ImageRecord& image = program.image;
        for (int r = 0; r < image.height; ++r) {
            for (int c = 0; c < image.width; ++c) {
                image.displayImage[static_cast<std::size_t>(r * image.paddedWidth + c)] =
                    static_cast<std::uint8_t>((c + 2 * r) % 193);
            }
        }
        window.View()->update();
    }
};

TEST(MainWindowScreen, StartsWithTheCommandLineFile) {
    test::TempDir dir;
    const std::string path = dir.File("field 1.fit");
    WriteImage(path, 300, 200);
    Window w("\"" + path + "\"");
    EXPECT_EQ(w.window.windowTitle().toStdString(), "Corvane 32 - " + path);
    EXPECT_EQ(w.window.Pane(2)->text().toStdString(), "  Image: 300 x 200 - 0.1 MB");
    EXPECT_EQ(w.window.Pane(0)->text(), "");
    EXPECT_EQ(w.window.Pane(1)->text(), "");
    const int bar = w.window.ScrollBar(ScrollBarKind::Vertical)->width();
    EXPECT_EQ(w.ClientSize(), QSize(300 + bar, 200 + bar + w.window.StatusBarHeight()));
    EXPECT_EQ(w.window.View()->size(), QSize(300, 200));
    EXPECT_TRUE(w.messages.seen.empty()) << w.messages.seen[0];
    EXPECT_TRUE(w.window.Menu().items.at(command::kReload)->isEnabled());
    EXPECT_TRUE(w.window.Menu().top[kMenuPhotometry]->menuAction()->isEnabled());

    w.Command(command::kZoom);
    EXPECT_EQ(w.window.View()->size(), QSize(600, 400));
    EXPECT_TRUE(w.messages.seen.empty()) << w.messages.seen[0];
}

TEST(MainWindowScreen, EmptyStartAndAMissingFile) {
    test::TempDir dir;
    Window w(dir.File("missing.fit"));
    EXPECT_EQ(w.window.windowTitle(), "Corvane32");
    EXPECT_EQ(w.window.frameGeometry().width(), 520);
    EXPECT_EQ(w.ClientSize().height(), w.window.StatusBarHeight());
    EXPECT_FALSE(w.window.Menu().items.at(command::kNext)->isEnabled());
    EXPECT_FALSE(w.window.Menu().top[kMenuWindow]->menuAction()->isEnabled());
    EXPECT_TRUE(w.messages.seen.empty());
}

TEST(MainWindowScreen, AcceleratorsActFromAnotherWindowOfTheProgram) {
    test::TempDir dir;
    WriteImage(dir.File("img001.fit"), 1600, 1200);
    WriteImage(dir.File("img002.fit"), 1600, 1200);
    Window w(dir.File("img001.fit"));
    ASSERT_TRUE(w.program.image.loaded);
    ASSERT_GT(w.program.shell.view.maxHorizontalOffset, 0);

    QWidget other;
    other.setWindowTitle("Tools");
    other.resize(168, 24);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));

    QTest::keyClick(&other, Qt::Key_Right);
    EXPECT_EQ(w.program.shell.view.horizontalOffset, 1);
    QTest::keyClick(&other, Qt::Key_Down);
    EXPECT_EQ(w.program.shell.view.verticalOffset, 1);
    QTest::keyClick(&other, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(w.program.shell.view.horizontalOffset, w.program.shell.view.maxHorizontalOffset);
    EXPECT_EQ(w.window.ScrollBar(ScrollBarKind::Horizontal)->value(),
              w.program.shell.view.maxHorizontalOffset);

    QTest::keyClick(&other, Qt::Key_F6);
    QApplication::processEvents();
    EXPECT_EQ(w.program.image.path, dir.File("img002.fit"));
    EXPECT_EQ(w.window.windowTitle().toStdString(), "Corvane 32 - " + dir.File("img002.fit"));
    EXPECT_EQ(w.program.shell.view.horizontalOffset, 0);
    EXPECT_TRUE(w.messages.seen.empty()) << w.messages.seen[0];
}

TEST(MainWindowScreen, SetRoiClickStoresThePoint) {
    test::TempDir dir;
    WriteImage(dir.File("a.fit"), 300, 200);
    Window w(dir.File("a.fit"));
    w.Command(command::kSetRoi);
    EXPECT_EQ(w.window.Pane(1)->text(), "Select Region of Interest");
    QTest::mouseMove(w.window.View(), QPoint(40, 30));
    EXPECT_EQ(w.window.Pane(0)->text().toStdString(), " (40, 30)  " + std::to_string((30 * 300 + 40) % 500));
    QTest::mouseClick(w.window.View(), Qt::LeftButton, {}, QPoint(40, 30));
    EXPECT_EQ(w.program.shell.mouseMode, MouseMode::None);
    EXPECT_EQ(w.program.roi.xc, 40);
    EXPECT_EQ(w.program.roi.yc, 30);
    EXPECT_EQ(w.window.Pane(1)->text(), "");

    // Escape cancels the next pick and leaves the region where it is.
    w.Command(command::kSetRoi);
    QTest::keyClick(&w.window, Qt::Key_Escape);
    EXPECT_EQ(w.program.shell.mouseMode, MouseMode::None);
    EXPECT_EQ(w.window.Pane(1)->text(), "");
    EXPECT_EQ(w.program.roi.xc, 40);
}

TEST(MainWindowScreen, ScreenshotsAtThreeZooms) {
    test::TempDir dir;
    WriteImage(dir.File("s.fit"), 300, 200);
    Window w(dir.File("s.fit"));
    w.FillDisplay();
    const ColourTable colours = MakeColourTable(w.program);
    struct Shot {
        int command;  // 0: as loaded
        int zoom;
        const char* file;
    } shots[] = {{0, 8, "screen_1to1.png"},
                 {command::kZoom, 16, "screen_2to1.png"},
                 {command::kResize, 8, nullptr},
                 {command::kSqueeze, 4, "screen_1to2.png"}};
    for (const Shot& s : shots) {
        if (s.command != 0) w.Command(s.command);
        ASSERT_EQ(w.program.shell.view.zoom, s.zoom);
        if (s.file == nullptr) continue;
        const QImage view = w.window.View()->grab().toImage();
        EXPECT_EQ(view.width(), 300 * s.zoom / 8);
        // Painting into an image writes the display into it directly: the same picture.
        QImage direct(view.size(), QImage::Format_RGB32);
        w.window.View()->render(&direct);
        EXPECT_EQ(direct.convertToFormat(QImage::Format_RGB32),
                  view.convertToFormat(QImage::Format_RGB32)) << s.file;
        // Nearest neighbour through the palette: screen pixel (x, y) shows image pixel
        // (8x / zoom, 8y / zoom).
        for (QPoint p : {QPoint(0, 0), QPoint(7, 3), QPoint(101, 57), QPoint(149, 99)}) {
            const int c = 8 * p.x() / s.zoom;
            const int r = 8 * p.y() / s.zoom;
            EXPECT_EQ(view.pixel(p) & 0xFFFFFF,
                      colours[static_cast<std::size_t>((c + 2 * r) % 193)] & 0xFFFFFF)
                << s.file << " " << p.x() << "," << p.y();
        }
        EXPECT_TRUE(w.window.grab().save(s.file));
    }
    EXPECT_TRUE(w.messages.seen.empty()) << w.messages.seen[0];
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// Item texts of a menu, "-" for a separator, submenus as "name>".
std::vector<std::string> Items(const QMenu* menu) {
    std::vector<std::string> items;
    for (const QAction* a : menu->actions()) {
        // As shown: the underline marks of the keyboard letters are no part of the text.
        const std::string text = QString(a->text()).remove('&').toStdString();
        items.push_back(a->isSeparator() ? "-" : a->menu() != nullptr ? text + ">" : text);
    }
    return items;
}

TEST(MainWindowScreen, MenuTreeAndRefusedMenuBarInAMode) {
    Window w("");
    const CorvaneMenu& m = w.window.Menu();
    using V = std::vector<std::string>;
    EXPECT_EQ(Items(m.top[0]), (V{"Open...", "Next\tF6", "Reload", "Close", "-", "Acquire", "-",
                                  "Exit", "-", "About Corvane..."}));
    EXPECT_EQ(Items(m.top[1]), (V{"Small ROI"}));
    EXPECT_EQ(Items(m.top[2]), (V{"Display>", "Set ROI", "Statistics>", "Zoom>", "-",
                                  "Close-up box", "Tool box", "Header"}));
    EXPECT_EQ(Items(m.top[2]->actions()[0]->menu()),
              (V{"Manual...", "Histogram", "Fshow", "Min-Max", "-", "Log.", "Log. x 2",
                 "Log. x 4", "-", "Hi-pass"}));
    EXPECT_EQ(Items(m.top[2]->actions()[2]->menu()),
              (V{"Stats", "Max Min", "Global Max Min", "-", "PSF"}));
    EXPECT_EQ(Items(m.top[2]->actions()[3]->menu()), (V{"Zoom", "Squeeze", "Resize", "Redraw"}));
    EXPECT_EQ(Items(m.top[3]), (V{"Edit Pixel Value", "Clean ROI", "Patch", "Median Filter"}));
    EXPECT_EQ(Items(m.top[4]), (V{"Parameters...", "-", "Initialize star list", "Add star",
                                  "Select stars...", "-", "Output Files...", "-", "Do!\tF8", "-",
                                  "Lightcurve..."}));
    EXPECT_EQ(m.items.at(command::kNext)->shortcut(), QKeySequence(Qt::Key_F6));

    // The menu bar opens, except while a mode waits for its click.
    QMenuBar* bar = w.window.menuBar();
    const QPoint file = bar->actionGeometry(m.top[0]->menuAction()).center();
    QTest::mouseClick(bar, Qt::LeftButton, {}, file);
    QApplication::processEvents();
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QApplication::activePopupWidget()->close();
    QApplication::processEvents();
    w.program.shell.mouseMode = MouseMode::SetRoi;
    QTest::mouseClick(bar, Qt::LeftButton, {}, file);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

// Alt and a letter pick one title of the bar, or one entry of an open menu: no letter twice.
TEST(MainWindowScreen, EveryMenuEntryHasItsOwnKeyboardLetter) {
    Window w("");
    const CorvaneMenu& m = w.window.Menu();
    std::vector<const QMenu*> menus(m.top.begin(), m.top.end());
    for (const QAction* a : m.top[kMenuWindow]->actions()) {
        if (a->menu() != nullptr) {
            menus.push_back(a->menu());
        }
    }
    auto letters = [](const std::vector<const QAction*>& actions) {
        std::set<QChar> seen;
        for (const QAction* a : actions) {
            if (a->isSeparator()) {
                continue;
            }
            const qsizetype at = a->text().indexOf('&');
            EXPECT_GE(at, 0) << a->text().toStdString();
            EXPECT_TRUE(at < 0 || seen.insert(a->text()[at + 1].toLower()).second)
                << a->text().toStdString();
        }
    };
    std::vector<const QAction*> titles;
    for (const QMenu* menu : menus) {
        const QList<QAction*> entries = menu->actions();
        letters({entries.begin(), entries.end()});
        if (titles.size() < 5) {
            titles.push_back(menu->menuAction());
        }
    }
    letters(titles);

    // The narrow window's titles are the program's one letters; FaceLift's has no mark.
    MenuState narrow;
    narrow.titles = kShortMenuTitles;
    w.window.ApplyMenuState(narrow);
    std::vector<std::string> shown;
    for (const QMenu* menu : m.top) {
        shown.push_back(menu->title().toStdString());
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"&F", "&O", "&W", "F", "&P"}));
    w.window.ApplyMenuState(MenuState{});
    EXPECT_EQ(m.top[kMenuFaceLift]->title(), "F&aceLift");

    w.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.window));
    QTest::keyClick(&w.window, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(QApplication::activePopupWidget(), m.top[kMenuOptions]);
    if (QApplication::activePopupWidget() != nullptr) {
        QApplication::activePopupWidget()->close();
    }
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

TEST(MainWindowScreen, OverlaysAreRedOnePixelLines) {
    test::TempDir dir;
    WriteImage(dir.File("o.fit"), 300, 200);
    Window w(dir.File("o.fit"));
    w.Command(command::kInitStarList);
    QTest::mouseClick(w.window.View(), Qt::LeftButton, {}, QPoint(100, 80));
    QApplication::processEvents();
    const QImage view = w.window.View()->grab().toImage();
    const ApertureOutline& outline = w.program.photometry.star.outline;
    ASSERT_GT(outline.count, 4);
    for (int i = 0; i < outline.count; i += outline.count / 4) {
        const QPoint p(100 + outline.points[i].x, 80 - outline.points[i].y);
        EXPECT_EQ(view.pixel(p) & 0xFFFFFF, 0xFF0000u) << p.x() << "," << p.y();
    }
    // One pixel wide: the pixel just inside the outline's rightmost point is not red.
    EXPECT_NE(view.pixel(QPoint(100 + 15 - 2, 80)) & 0xFFFFFF, 0xFF0000u);
    EXPECT_TRUE(w.window.grab().save("screen_overlay.png"));
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

TEST(OpenDialog, FiltersMatchEitherCaseAndRawMatchesEveryName) {
    OpenFileRequest request;
    request.filters = ParseOpenFilter(kOpenFilterText);
    const QStringList filters = QtNameFilters(request);
    ASSERT_EQ(filters.size(), 4);
    EXPECT_EQ(filters[1].toStdString(),
              "FITS Files (*.FTS;*.FIT;*.FITS;*.MT) (*.fts *.FTS *.fit *.FIT *.fits *.FITS *.mt "
              "*.MT)");
    EXPECT_EQ(filters[2].toStdString(), "RAW - Raw File Format (*)");
    EXPECT_EQ(filters[3].toStdString(), "All Files (*)");
}

TEST(OpenDialog, OpensInTheGivenFolderWithEveryColumnInView) {
    App();
    test::TempDir dir;
    WriteImage(dir.File("img001.fit"), 64, 4);
    OpenFileRequest request;
    request.filters = ParseOpenFilter(kOpenFilterText);
    request.filterIndex = 2;
    request.initialDirectory = dir.Path();
    bool checked = false;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* list = dialog != nullptr ? dialog->findChild<QTreeView*>("treeView") : nullptr;
        if (list == nullptr || list->model()->rowCount(list->rootIndex()) == 0) {
            return;  // the folder is still being read
        }
        timer.stop();
        EXPECT_EQ(dialog->directory().absolutePath().toStdString(), dir.Path());
        QHeaderView* header = list->header();
        EXPECT_LE(header->length(), list->viewport()->width()) << "every column in view";
        const int date = header->sectionSize(3);
        list->resizeColumnToContents(3);
        EXPECT_LE(header->sectionSize(3), date) << "the date column holds its dates";
        checked = true;
        dialog->reject();
    });
    timer.start();
    EXPECT_FALSE(RunOpenDialog(request, nullptr).has_value());
    EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace corvane
