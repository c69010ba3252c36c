#pragma once
// The main window offscreen on a sample frame, driven as a user drives it to a photometry
// run: two background boxes, the sample star list clicked on field001, the output files,
// then F8 and the clicks of the run with the confirmation and results boxes answered.

#include <gtest/gtest.h>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>

#include "app/command_ids.h"
#include "app/program.h"
#include "gui/confirm_box.h"
#include "gui/image_view.h"
#include "gui/main_window.h"
#include "gui/output_files_dialog.h"
#include "gui/params_dialog.h"
#include "gui/results_box.h"
#include "gui_test_support.h"
#include "support/sample_field.h"

namespace corvane::test {

inline void PressOk(QDialog* dialog) {
    QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
}

struct DesktopRun {
    QApplication& application = TestApplication();
    Program program;
    MainWindow window{program};
    // The sample's star list and the asteroid's boxes, as the user enters them.
    PhotometryParameters sampleParams;
    ObjectList sample;

    // The window shown with `frame` loaded.
    explicit DesktopRun(const std::string& frame) {
        SampleStarList(sampleParams, sample);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.Start(frame);
        QApplication::processEvents();
        EXPECT_TRUE(program.image.loaded);
    }

    void Command(int id) {
        window.Menu().items.at(id)->trigger();
        QApplication::processEvents();
    }

    void Click(PixelPoint p) {
        QTest::mouseClick(window.View(), Qt::LeftButton, {}, QPoint(p.x, p.y));
        QApplication::processEvents();
    }

    // Two background boxes per object, the sample's star list and the output files.
    void Prepare(const std::string& prefix) {
        OnModal<ParamsDialog> params([](ParamsDialog* d) {
            d->Field(502)->setText("2");
            PressOk(d);
        });
        Command(command::kParameters);
        ASSERT_TRUE(params.done);
        ASSERT_EQ(program.photometry.numberOfBoxes, 2);

        // Each star, then 40 rows above and below it.
        Command(command::kInitStarList);
        for (int i = 0; i < 3; ++i) {
            Click(sample.referencePosition + sample.starOffset[i]);
            Click(sample.referencePosition + sample.starBoxOffsets[0][i]);
            Click(sample.referencePosition + sample.starBoxOffsets[1][i]);
        }
        ASSERT_TRUE(program.objects.initialised);

        OnModal<OutputFilesDialog> output([&](OutputFilesDialog* d) {
            d->Prefix()->setText(QString::fromStdString(prefix));
            PressOk(d);
        });
        Command(command::kOutputFiles);
        ASSERT_TRUE(output.done);
        ASSERT_TRUE(program.outputFilesChosen);
    }

    // F8 and the clicks of one run on the asteroid at `asteroid`; `confirm` and `results`
    // answer the two boxes (by default "Go with this !" and "OK"). Returns with the run
    // ended, without a turn of the event loop after the last click.
    void Run(PixelPoint asteroid, std::function<void(ConfirmBox*)> confirm = {},
             std::function<void(ResultsBox*)> results = {}) {
        OnModal<ConfirmBox> confirmed([&](ConfirmBox* box) {
            if (confirm) {
                confirm(box);
            }
            QTest::mouseClick(box->GoButton(), Qt::LeftButton);
        });
        OnModal<ResultsBox> shown([&](ResultsBox* box) {
            if (results) {
                results(box);
            }
            QTest::mouseClick(box->OkButton(), Qt::LeftButton);
        });
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_F8);
        ASSERT_EQ(program.shell.mouseMode, MouseMode::Photometry);
        Click(program.objects.referencePosition);
        Click(asteroid);
        Click(asteroid + sample.asteroidBoxOffsets[0]);
        const PixelPoint last = asteroid + sample.asteroidBoxOffsets[1];
        QTest::mouseClick(window.View(), Qt::LeftButton, {}, QPoint(last.x, last.y));
        ASSERT_TRUE(confirmed.done);
        ASSERT_TRUE(shown.done);
        EXPECT_EQ(program.shell.mouseMode, MouseMode::None);
    }
};

}  // namespace corvane::test
