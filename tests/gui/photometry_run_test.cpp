// A whole photometry run on the desktop, offscreen: parameters, the star list clicked on
// field001, the output files, F8 and the clicks, the confirmation with the apertures still
// on screen, the results, and the files compared with those of corvane-cli photometry.
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "app/program.h"
#include "gui/confirm_box.h"
#include "gui/image_view.h"
#include "gui/main_window.h"
#include "gui/output_files_dialog.h"
#include "gui/params_dialog.h"
#include "gui/results_box.h"
#include "gui_test_support.h"
#include "support/cli_runner.h"
#include "support/sample_field.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

using test::OnModal;

void PressOk(QDialog* dialog) {
    QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
}

bool Red(const QImage& image, QPoint p) { return (image.pixel(p) & 0xFFFFFF) == 0xFF0000u; }

TEST(PhotometryRunScreen, OneRunOnField001WritesWhatTheBatchWrites) {
    test::TestApplication();
    test::TempDir dir;
    const std::string frame = test::SampleFrames()[0];
    Program program;
    MainWindow window(program);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.Start(frame);
    QApplication::processEvents();
    ASSERT_TRUE(program.image.loaded);
    std::vector<std::string> messages;
    OnModal<QMessageBox> anyMessage([&](QMessageBox* box) {
        messages.push_back(box->text().toStdString());
        box->done(QMessageBox::Ok);
    });
    auto command = [&](int id) {
        window.Menu().items.at(id)->trigger();
        QApplication::processEvents();
    };
    ImageView* view = window.View();
    auto click = [&](PixelPoint p) {
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(p.x, p.y));
        QApplication::processEvents();
    };

    // Two background boxes per object.
    OnModal<ParamsDialog> params([](ParamsDialog* d) {
        d->Field(502)->setText("2");
        PressOk(d);
    });
    command(command::kParameters);
    ASSERT_TRUE(params.done);
    ASSERT_EQ(program.photometry.numberOfBoxes, 2);

    // The star list as the sample field's: each star, then 40 rows above and below it.
    PhotometryParameters sampleParams;
    ObjectList sample;
    test::SampleStarList(sampleParams, sample);
    command(command::kInitStarList);
    for (int i = 0; i < 3; ++i) {
        click(sample.referencePosition + sample.starOffset[i]);
        click(sample.referencePosition + sample.starBoxOffsets[0][i]);
        click(sample.referencePosition + sample.starBoxOffsets[1][i]);
    }
    ASSERT_TRUE(program.objects.initialised);

    OnModal<OutputFilesDialog> output([&](OutputFilesDialog* d) {
        d->Prefix()->setText(QString::fromStdString(dir.File("gui")));
        PressOk(d);
    });
    command(command::kOutputFiles);
    ASSERT_TRUE(output.done);
    ASSERT_TRUE(program.outputFilesChosen);

    // While the confirmation is open the centred apertures are on the screen, star 1's at
    // its centroid; the results box lists the asteroid and three stars.
    bool overlayShown = false;
    OnModal<ConfirmBox> confirm([&](ConfirmBox* box) {
        const QImage screen = view->grab().toImage();
        const PixelPoint star = program.objects.referencePosition + program.objects.starCentroidOffset[0];
        const PixelPoint a = program.objects.asteroidCentre;
        // The aperture's top and bottom, and the right edge of the asteroid's upper box.
        overlayShown = Red(screen, QPoint(star.x, star.y - 15)) &&
                       Red(screen, QPoint(star.x, star.y + 15)) &&
                       Red(screen, QPoint(a.x + 16, a.y - 40));
        window.grab().save("screen_photometry_confirm.png");
        QTest::mouseClick(box->GoButton(), Qt::LeftButton);
    });
    std::vector<std::string> rows;
    OnModal<ResultsBox> results([&](ResultsBox* box) {
        for (int i = 0; i < box->Rows()->count(); ++i) rows.push_back(box->Rows()->item(i)->text().toStdString());
        QTest::mouseClick(box->OkButton(), Qt::LeftButton);
    });
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_F8);
    ASSERT_EQ(program.shell.mouseMode, MouseMode::Photometry);
    const PixelPoint asteroid = test::kSampleAsteroid1;
    click(program.objects.referencePosition);
    click(asteroid);
    click(asteroid + sample.asteroidBoxOffsets[0]);
    click(asteroid + sample.asteroidBoxOffsets[1]);
    ASSERT_TRUE(confirm.done);
    ASSERT_TRUE(results.done);
    EXPECT_TRUE(overlayShown);
    EXPECT_EQ(rows.size(), 4u);
    EXPECT_EQ(program.shell.mouseMode, MouseMode::None);
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
