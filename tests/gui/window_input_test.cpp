// The main window's input beyond clicks and accelerators: the wheel over the image and the
// scroll bars, a dropped file, the keyboard after a box, F10 and the arrows in the menus.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>

#include "app/command_ids.h"
#include "gui/image_view.h"
#include "gui/main_window.h"
#include "gui_test_support.h"
#include "support/fits_writer.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

// The program on a 1200-pixel square image, larger than the screen at 1:1.
struct Large {
    QApplication& application = TestApplication();
    TempDir dir;
    Program program;
    MainWindow window{program};
    MessageWatcher messages;

    Large() {
        FitsImage image;
        image.width = 1200;
        image.height = 1200;
        image.values.resize(1200 * 1200);
        for (std::size_t i = 0; i < image.values.size(); ++i) {
            image.values[i] = static_cast<double>(i % 1000);
        }
        WriteFits(dir.File("large.fit"), image);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.Start(dir.File("large.fit"));
        EXPECT_TRUE(program.image.loaded);
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    const ViewState& View() const { return program.shell.view; }
    void Wheel(QWidget* target, QPoint at, int notches, Qt::KeyboardModifiers keys) {
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, notches * 120),
                          Qt::NoButton, keys, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
        QApplication::processEvents();
    }
};

TEST(WindowInput, CtrlWheelZoomsAboutThePointerAndTheBarsMoveTheView) {
    Large s;
    ImageView* view = s.window.View();
    s.window.Menu().items.at(command::kSqueeze)->trigger();  // 1:2
    ASSERT_EQ(s.View().zoom, 4);
    const QPoint pointer(150, 120);
    // From 1:2 in to 8:1, and back out to 1:1.
    for (int notches : {1, 1, 1, 1, -1, -1, -1}) {
        const ImagePoint kept = ClientToImage(s.View(), pointer.x(), pointer.y());
        const int zoom = s.View().zoom;
        s.Wheel(view, pointer, notches, Qt::ControlModifier);
        EXPECT_EQ(s.View().zoom, notches > 0 ? 2 * zoom : zoom / 2);
        const ImagePoint now = ClientToImage(s.View(), pointer.x(), pointer.y());
        EXPECT_EQ(now.column, kept.column) << "from zoom " << zoom;
        EXPECT_EQ(now.row, kept.row) << "from zoom " << zoom;
    }
    ASSERT_EQ(s.View().zoom, 8);

    // Without Ctrl the wheel scrolls; over a bar the view goes with the bar.
    const int row = s.View().verticalOffset;
    s.Wheel(view, pointer, -1, Qt::NoModifier);
    EXPECT_GT(s.View().verticalOffset, row);
    QScrollBar* across = s.window.ScrollBar(ScrollBarKind::Horizontal);
    const int column = s.View().horizontalOffset;
    s.Wheel(across, QPoint(5, 5), -2, Qt::NoModifier);
    EXPECT_GT(s.View().horizontalOffset, column);
    EXPECT_EQ(across->value(), s.View().horizontalOffset);
    EXPECT_EQ(across->sliderPosition(), s.View().horizontalOffset);
    EXPECT_TRUE(s.messages.seen.empty()) << s.messages.seen[0];
}

TEST(WindowInput, AFileDroppedOnTheWindowOpens) {
    Large s;
    FitsImage small;
    small.width = 100;
    small.height = 80;
    WriteFits(s.dir.File("small.fit"), small);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(s.dir.File("small.fit")))});
    auto drop = [&] {
        QDragEnterEvent enter(QPoint(20, 40), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&s.window, &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDropEvent dropped(QPointF(20, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&s.window, &dropped);
        return dropped.isAccepted();
    };
    s.program.shell.mouseMode = MouseMode::SetRoi;
    EXPECT_FALSE(drop()) << "refused while a mode waits for its click";
    s.program.shell.mouseMode = MouseMode::None;
    EXPECT_TRUE(drop());
    EXPECT_TRUE(WaitUntil([&] { return s.program.image.width == 100; }));
    EXPECT_EQ(s.window.windowTitle().toStdString(), "Corvane 32 - " + s.dir.File("small.fit"));
}

TEST(WindowInput, KeysActAtOnceAfterABoxOrADialogCloses) {
    Large s;
    struct Case {
        const char* what;
        std::function<void(Host&)> open;
    } cases[] = {
        {"message box", [](Host& host) { host.ShowMessage("MSG 1", "text"); }},
        {"about box", [](Host& host) { host.ShowAboutBox("Version 2.45 dev."); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTimer::singleShot(50, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        c.open(s.window.GetHost());
        QApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), &s.window);
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        const int column = s.View().horizontalOffset;
        QTest::keyClick(focus, Qt::Key_Right);
        EXPECT_EQ(s.View().horizontalOffset, column + 1);
    }
}

TEST(WindowInput, F10OpensFileAndTheArrowsWalkTheMenus) {
    Large s;
    QTest::keyClick(&s.window, Qt::Key_F10);
    ASSERT_EQ(QApplication::activePopupWidget(), s.window.Menu().top[kMenuFile]);
    // Right and Left belong to the menus now, not to scrolling.
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Right);
    EXPECT_EQ(QApplication::activePopupWidget(), s.window.Menu().top[kMenuOptions]);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Left);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Left);
    EXPECT_EQ(QApplication::activePopupWidget(), s.window.Menu().top[kMenuPhotometry]);
    EXPECT_EQ(s.View().horizontalOffset, 0);
    // Escape shuts the menu, and a second leaves the bar, as on other desktops.
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), s.window.menuBar());
    QTest::keyClick(s.window.menuBar(), Qt::Key_Escape);
    QTest::keyClick(&s.window, Qt::Key_Right);
    EXPECT_EQ(s.View().horizontalOffset, 1) << "with the menus closed the arrows scroll";

    // While a mode waits for its click the menu bar stays shut, as it does for a click.
    s.program.shell.mouseMode = MouseMode::SetRoi;
    QTest::keyClick(&s.window, Qt::Key_F10);
    QTest::keyClick(&s.window, Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

}  // namespace
}  // namespace corvane::test
