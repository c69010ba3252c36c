// The confirmation bar of Do! over images of three sizes, with the sample field's
// apertures and boxes scaled to each: no red pixel of the marks lies under the bar.
#include <gtest/gtest.h>
#include <QApplication>
#include <QPushButton>
#include <QTest>

#include "gui/confirm_box.h"
#include "gui/image_view.h"
#include "gui/main_window.h"
#include "gui_test_support.h"
#include "support/fits_writer.h"
#include "support/sample_field.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

PixelPoint Scaled(PixelPoint p, int size) {
    return {p.x * size / 512, p.y * size / 512};
}

// The state of a run waiting in the confirmation: the sample's star list and asteroid with
// both its boxes, as clicked, scaled from the 512-pixel samples to `size`.
void WaitForConfirmation(Program& program, int size) {
    SampleStarList(program.photometry, program.objects);
    ObjectList& o = program.objects;
    o.referencePosition = Scaled(o.referencePosition, size);
    o.asteroidPosition = Scaled(kSampleAsteroid1, size);
    for (int j = 0; j < 2; ++j) {
        o.asteroidBoxOffsets[j] = Scaled(o.asteroidBoxOffsets[j], size);
        for (int i = 0; i < 3; ++i) {
            o.starBoxOffsets[j][i] = Scaled(o.starBoxOffsets[j][i], size);
        }
    }
    for (int i = 0; i < 3; ++i) {
        o.starOffset[i] = Scaled(o.starOffset[i], size);
    }
    o.centred = false;
    program.starInput.referenceClicked = true;
    program.starInput.asteroidClicked = true;
    program.starInput.box = 2;
    program.shell.mouseMode = MouseMode::Photometry;
    program.shell.overlaysShown = true;
}

TEST(ConfirmBarScreen, CoversNoMarkAtThreeImageSizes) {
    TestApplication();
    struct Case {
        int size;
        bool below;  // the screen has room under the window
    } cases[] = {{256, true}, {512, true}, {1024, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        TempDir dir;
        FitsImage image;
        image.width = c.size;
        image.height = c.size;
        image.values.assign(static_cast<std::size_t>(c.size * c.size), 300);
        WriteFits(dir.File("field.fit"), image);
        Program program;
        MainWindow window(program);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.Start(dir.File("field.fit"));
        ASSERT_TRUE(program.image.loaded);
        WaitForConfirmation(program, c.size);
        ImageView* view = window.View();
        view->repaint();

        int marks = 0;
        int covered = 0;
        QRect bar;
        OnModal<ConfirmBox> confirm([&](ConfirmBox* box) {
            bar = box->frameGeometry();
            const QRect onView(view->mapFromGlobal(bar.topLeft()), bar.size());
            const QImage shot = view->grab().toImage();
            for (int y = 0; y < shot.height(); ++y) {
                for (int x = 0; x < shot.width(); ++x) {
                    if ((shot.pixel(x, y) & 0xFFFFFF) == 0xFF0000u) {
                        ++marks;
                        covered += onView.contains(x, y) ? 1 : 0;
                    }
                }
            }
            window.grab().save(QString("screen_confirm_%1.png").arg(c.size));
            QTest::mouseClick(box->CancelButton(), Qt::LeftButton);
        });
        EXPECT_FALSE(window.GetHost().RunConfirmBox());
        ASSERT_TRUE(confirm.done);
        EXPECT_GT(marks, 100);
        EXPECT_EQ(covered, 0);
        EXPECT_TRUE(window.screen()->availableGeometry().contains(bar));
        if (c.below) {
            EXPECT_EQ(bar.top(), window.frameGeometry().bottom() + 1);
        } else {
            EXPECT_TRUE(QRect(view->mapToGlobal(QPoint(0, 0)), view->size()).contains(bar));
        }
    }
}

}  // namespace
}  // namespace corvane::test
