// The close-up window and the tool box as widgets, offscreen: what the close-up draws
// where, and the tool box's pictures, places and presses.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include "app/close_up.h"
#include "app/tool_box.h"
#include "gui/close_up_window.h"
#include "gui/tool_box.h"
#include "gui_test_support.h"

namespace corvane::test {
namespace {

// An image shown with display byte (c + r) mod 193 at column c, row r.
void ShowDisplay(Program& program, int width, int height) {
    ImageRecord& image = program.image;
    image.width = width;
    image.height = height;
    SetDisplayGeometry(image);
    image.displayImage.assign(static_cast<std::size_t>(image.displayBufferSize), 0);
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            image.displayImage[static_cast<std::size_t>(r * image.paddedWidth + c)] =
                static_cast<std::uint8_t>((c + r) % 193);
        }
    }
    image.loaded = true;
}

// The colour the close-up shows for image pixel (c, r) of ShowDisplay.
QRgb ColourAt(int c, int r) {
    const PaletteEntry e = MakeDisplayPalette().entries[static_cast<std::size_t>((c + r) % 193)];
    return qRgb(e.red, e.green, e.blue);
}

QImage Grab(QWidget& widget) {
    widget.show();
    WaitUntil([&] { return widget.isVisible(); });
    return widget.grab().toImage();
}

void Keep(const QImage& image, const char* name) {
    image.save(QDir::current().filePath(QString("%1.png").arg(name)));
}

TEST(CloseUpWindow, DrawsTheBlockFourTimesWithTheMarker) {
    TestApplication();
    QWidget owner;
    Program program;
    ShowDisplay(program, 300, 200);
    CloseUpView view{8, 0, 0};
    auto* closeUp = new CloseUpWindow(owner, program, [&] { return view; });
    closeUp->SetPointer(100, 100);
    QImage shot = Grab(*closeUp);
    Keep(shot, "close_up_100_100");
    ASSERT_EQ(shot.size(), QSize(128, 128));

    // Column 85, row 84 at the top-left; pixel (100, 100) in the cell at (60, 64).
    EXPECT_EQ(shot.pixel(0, 0), ColourAt(85, 84));
    EXPECT_EQ(shot.pixel(3, 3), ColourAt(85, 84));
    EXPECT_EQ(shot.pixel(4, 0), ColourAt(86, 84));
    EXPECT_EQ(shot.pixel(61, 65), ColourAt(100, 100));
    EXPECT_EQ(shot.pixel(127, 127), ColourAt(116, 115));
    for (const QPoint p : {QPoint(59, 63), QPoint(64, 68), QPoint(62, 63), QPoint(59, 66)}) {
        EXPECT_EQ(shot.pixel(p), qRgb(0, 255, 0)) << p.x() << "," << p.y();
    }

    // At 2:1 with scroll the same pointer means pixel (50 + 7, 50 + 3).
    view = {16, 7, 3};
    closeUp->SetPointer(100, 100);
    shot = closeUp->grab().toImage();
    EXPECT_EQ(shot.pixel(61, 65), ColourAt(57, 53));

    QSignalSpy closed(closeUp, &CloseUpWindow::Closed);
    closeUp->close();
    EXPECT_EQ(closed.count(), 1);
}

TEST(CloseUpWindow, LowImageLeavesTheRestEmpty) {
    TestApplication();
    QWidget owner;
    Program program;
    ShowDisplay(program, 64, 4);
    auto* closeUp = new CloseUpWindow(owner, program, [] { return CloseUpView{}; });
    closeUp->SetPointer(40, 2);
    const QImage shot = Grab(*closeUp);
    Keep(shot, "close_up_low_image");
    EXPECT_EQ(shot.pixel(0, 15), ColourAt(25, 3));
    const QRgb background = shot.pixel(0, 100);
    EXPECT_EQ(background, shot.pixel(127, 16)) << "below the image: one plain background";
    closeUp->close();
}

TEST(ToolBoxWindow, PicturesPlacesAndPresses) {
    TestApplication();
    QWidget owner;
    auto* box = new ToolBox(owner, [](int command) { return QString::number(command); });
    QSignalSpy clicks(box, &ToolBox::ButtonClicked);
    QImage shot = Grab(*box);
    Keep(shot, "tool_box");
    ASSERT_EQ(shot.size(), QSize(168, 24));
    for (const ToolButton& button : kToolButtons) {
        const QImage normal(QString(":/buttons/%1").arg(button.normal));
        ASSERT_EQ(normal.size(), QSize(24, 24)) << button.normal;
        EXPECT_EQ(shot.copy(button.left, 0, 24, 24).convertToFormat(QImage::Format_RGB32),
                  normal.convertToFormat(QImage::Format_RGB32))
            << button.normal;
    }

    // Held down: the pressed picture, and no command yet; released: the command.
    const ToolButton& zoom = kToolButtons[4];
    QWidget* zoomButton = box->findChild<QWidget*>(QString::number(zoom.id));
    ASSERT_NE(zoomButton, nullptr);
    QTest::mousePress(zoomButton, Qt::LeftButton, {}, QPoint(12, 12));
    const QImage pressed(QString(":/buttons/%1").arg(zoom.pressed));
    EXPECT_EQ(box->grab().toImage().copy(zoom.left, 0, 24, 24).convertToFormat(QImage::Format_RGB32),
              pressed.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(clicks.count(), 0);
    QTest::mouseRelease(zoomButton, Qt::LeftButton, {}, QPoint(12, 12));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks[0][0].toInt(), 1148);

    QSignalSpy closed(box, &ToolBox::Closed);
    box->close();
    EXPECT_EQ(closed.count(), 1);
}

}  // namespace
}  // namespace corvane::test
