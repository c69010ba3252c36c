// A whole photometry run on the desktop, offscreen: parameters, the star list clicked on
// field001, the output files, F8 and the clicks, the confirmation with the apertures still
// on screen, the results, and the files compared with those of corvane-cli photometry.
#include <gtest/gtest.h>
#include <QApplication>
#include <QListWidget>
#include <QMessageBox>

#include "desktop_run.h"
#include "support/cli_runner.h"
#include "support/sample_field.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

bool Red(const QImage& image, QPoint p) {
    return (image.pixel(p) & 0xFFFFFF) == 0xFF0000u;
}

TEST(PhotometryRunScreen, OneRunOnField001WritesWhatTheBatchWrites) {
    test::TestApplication();
    test::TempDir dir;
    const std::string frame = test::SampleFrames()[0];
    test::DesktopRun desk(frame);
    std::vector<std::string> messages;
    test::OnModal<QMessageBox> anyMessage([&](QMessageBox* box) {
        messages.push_back(box->text().toStdString());
        box->done(QMessageBox::Ok);
    });
    desk.Prepare(dir.File("gui"));
    Program& program = desk.program;
    ImageView* view = desk.window.View();

    // While the confirmation is open the centred apertures are on the screen, star 1's at
    // its centroid; the results box lists the asteroid and three stars.
    bool overlayShown = false;
    std::vector<std::string> rows;
    desk.Run(
        test::kSampleAsteroid1,
        [&](ConfirmBox*) {
            const QImage screen = view->grab().toImage();
            const PixelPoint star =
                program.objects.referencePosition + program.objects.starCentroidOffset[0];
            const PixelPoint a = program.objects.asteroidCentre;
            // The aperture's top and bottom, and the right edge of the asteroid's upper box.
            overlayShown = Red(screen, QPoint(star.x, star.y - 15)) &&
                           Red(screen, QPoint(star.x, star.y + 15)) &&
                           Red(screen, QPoint(a.x + 16, a.y - 40));
            desk.window.grab().save("screen_photometry_confirm.png");
        },
        [&](ResultsBox* box) {
            for (int i = 0; i < box->Rows()->count(); ++i) {
                rows.push_back(box->Rows()->item(i)->text().toStdString());
            }
        });
    EXPECT_TRUE(overlayShown);
    EXPECT_EQ(rows.size(), 4u);
    EXPECT_TRUE(messages.empty()) << messages.front();

    test::WriteBytes(dir.File("objects.json"), test::SampleObjectsJson().dump());
    test::CliRun batch = test::RunCli(
        "photometry --objects objects.json --out batch --asteroid 140,330 " + frame, dir.Path());
    ASSERT_EQ(batch.status, 0) << batch.err;
    const std::string list = test::ReadBytes(dir.File("gui.lis"));
    EXPECT_EQ(list.rfind(frame + "\r\n\r\n", 0), 0u) << list;
    EXPECT_EQ(list, test::ReadBytes(dir.File("batch.lis")));
    EXPECT_EQ(test::ReadBytes(dir.File("gui.heu")), test::ReadBytes(dir.File("batch.heu")));
}

}  // namespace
}  // namespace corvane
