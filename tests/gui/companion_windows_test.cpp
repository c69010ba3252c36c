// The close-up window and the tool box with the real main window: opened from the Window
// menu, fed by the mouse over the image, frozen by the right button, and closed.

#include <gtest/gtest.h>

#include <QAction>
#include <QTest>

#include "app/command_ids.h"
#include "app/tool_box.h"
#include "gui/close_up_window.h"
#include "gui/image_view.h"
#include "gui/main_window.h"
#include "gui/modeless_windows.h"
#include "gui/tool_box.h"
#include "gui_test_support.h"
#include "support/fits_writer.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

struct Shown {
    QApplication& application = TestApplication();
    TempDir dir;
    Program program;
    MainWindow window{program};
    MessageWatcher messages;

    Shown() {
        FitsImage image;
        image.width = 300;
        image.height = 200;
        image.values.assign(300 * 200, 10);
        WriteFits(dir.File("shown.fit"), image);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.Start(dir.File("shown.fit"));
        EXPECT_TRUE(program.image.loaded);
    }
    void Run(int id) {
        window.Menu().items.at(id)->trigger();
        QApplication::processEvents();
    }
    QWidget* View() const { return window.View(); }
};

TEST(CompanionWindows, CloseUpFollowsFreezesAndForgets) {
    Shown s;
    s.Run(command::kCloseUp);
    CloseUpWindow* closeUp = s.window.Modeless().CloseUp();
    ASSERT_NE(closeUp, nullptr);
    EXPECT_TRUE(closeUp->isVisible());
    s.Run(command::kCloseUp);
    EXPECT_EQ(s.window.findChildren<CloseUpWindow*>().size(), 1) << "one close-up at most";

    QTest::mouseMove(s.View(), QPoint(40, 30));
    EXPECT_EQ(closeUp->Pointer().x, 40);
    EXPECT_EQ(closeUp->Pointer().y, 30);

    QTest::mouseClick(s.View(), Qt::RightButton, {}, QPoint(40, 30));
    EXPECT_TRUE(s.program.shell.frozen);
    EXPECT_EQ(closeUp->windowTitle(), "FROZEN!");
    QTest::mouseMove(s.View(), QPoint(70, 50));
    EXPECT_EQ(closeUp->Pointer().x, 40) << "frozen: no pointer messages";
    QTest::mouseClick(s.View(), Qt::RightButton, {}, QPoint(80, 60));
    EXPECT_FALSE(s.program.shell.frozen);
    EXPECT_EQ(closeUp->windowTitle(), "");
    EXPECT_EQ(closeUp->Pointer().x, 80) << "the click position is sent again";

    QTest::mouseClick(s.View(), Qt::RightButton, {}, QPoint(80, 60));
    ASSERT_TRUE(s.program.shell.frozen);
    closeUp->close();
    QApplication::processEvents();
    EXPECT_FALSE(s.program.shell.frozen);
    EXPECT_FALSE(s.program.shell.closeUpOpen);
    s.Run(command::kCloseUp);
    ASSERT_NE(s.window.Modeless().CloseUp(), nullptr);
    EXPECT_EQ(s.window.Modeless().CloseUp()->windowTitle(), "");
    EXPECT_TRUE(s.messages.seen.empty());
}

TEST(CompanionWindows, ToolBoxButtonsAndClose) {
    Shown s;
    s.Run(command::kToolBox);
    ToolBox* box = s.window.Modeless().Tools();
    ASSERT_NE(box, nullptr);
    QWidget* zoom = box->findChild<QWidget*>("1148");
    ASSERT_NE(zoom, nullptr);

    s.Run(command::kSetRoi);
    QTest::mouseClick(zoom, Qt::LeftButton);
    EXPECT_EQ(s.program.shell.view.zoom, 8) << "ignored while Set ROI waits";
    QTest::keyClick(&s.window, Qt::Key_Escape);
    ASSERT_EQ(s.program.shell.mouseMode, MouseMode::None);
    QTest::mouseClick(zoom, Qt::LeftButton);
    EXPECT_EQ(s.program.shell.view.zoom, 16);

    QTest::mouseClick(box->findChild<QWidget*>("1145"), Qt::LeftButton);  // Do!
    EXPECT_EQ(s.messages.seen, std::vector<std::string>{"MSG 28: Please complete initialization"});

    s.program.shell.overlaysShown = true;
    box->close();
    QApplication::processEvents();
    EXPECT_FALSE(s.program.shell.overlaysShown);
    EXPECT_FALSE(s.program.shell.toolBoxOpen);
    EXPECT_EQ(s.window.Modeless().Tools(), nullptr);
}

TEST(CompanionWindows, BesideTheWindowOneAboveTheOtherButtonsNamed) {
    Shown s;
    s.Run(command::kCloseUp);
    s.Run(command::kToolBox);
    QApplication::processEvents();
    const QRect tools = s.window.Modeless().Tools()->frameGeometry();
    const QRect closeUp = s.window.Modeless().CloseUp()->frameGeometry();
    const QRect main = s.window.frameGeometry();
    EXPECT_FALSE(tools.intersects(closeUp));
    EXPECT_FALSE(tools.intersects(main));
    EXPECT_FALSE(closeUp.intersects(main));
    EXPECT_EQ(tools.left(), main.right() + 1) << "right of the window: the screen has room";
    EXPECT_LE(tools.bottom(), closeUp.top());

    std::vector<std::string> tips;
    for (const ToolButton& button : kToolButtons) {
        const auto* picture =
            s.window.Modeless().Tools()->findChild<QWidget*>(QString::number(button.id));
        tips.push_back(picture->toolTip().toStdString());
    }
    EXPECT_EQ(tips, (std::vector<std::string>{"Next", "Reload", "Histogram", "Hi-pass", "Zoom",
                                              "Squeeze", "Do!"}));
}

}  // namespace
}  // namespace corvane::test
