// The photometry run's dialogs as widgets, offscreen: what they show and what their
// buttons hand back.
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

#include "gui/append_box.h"
#include "gui/confirm_box.h"
#include "gui/dialog_units.h"
#include "gui/output_files_dialog.h"
#include "gui/params_dialog.h"
#include "gui/results_box.h"
#include "gui/select_dialog.h"
#include "gui_test_support.h"
#include "photometry/output_files.h"
#include "photometry/params_box.h"
#include "photometry/select_box.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

QApplication& Application() { return test::TestApplication(); }

QPushButton* Ok(QDialog& dialog) {
    return dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
}

TEST(OutputFilesDialog, DoubleClickEntersAndOkHandsOverThePrefix) {
    Application();
    test::TempDir dir;
    std::filesystem::create_directory(dir.File("night1"));
    OutputFilesDialogFields fields = OutputFieldsFor(dir.Path());
    std::vector<std::string> accepted;
    bool acceptNext = false;
    OutputFilesDialog dialog(
        nullptr, fields, [](OutputFilesDialogFields& f, std::size_t i) { EnterOutputEntry(f, i); },
        [&](const OutputFilesDialogFields& f) {
            accepted.push_back(f.directory + "|" + f.prefix);
            return acceptNext;
        });
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Open Output File");
    EXPECT_EQ(dialog.Directory()->text().toStdString(), dir.Path());
    ASSERT_EQ(dialog.Entries()->count(), 3);
    EXPECT_EQ(dialog.Entries()->item(1)->text(), "[night1]");

    QListWidget* list = dialog.Entries();
    QRect cell = list->visualItemRect(list->item(1));
    // A double click is a press, a release, then the double-click press.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    const std::string entered = std::filesystem::canonical(dir.File("night1")).string();
    EXPECT_EQ(dialog.Directory()->text().toStdString(), entered);
    EXPECT_EQ(list->count(), 2);

    QTest::keyClicks(dialog.Prefix(), "run");
    QPushButton* ok = Ok(dialog);
    QTest::mouseClick(ok, Qt::LeftButton);  // refused: the dialog stays open
    EXPECT_TRUE(dialog.isVisible());
    acceptNext = true;
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(accepted, (std::vector<std::string>{entered + "|run", entered + "|run"}));
}

TEST(AppendBox, ButtonsAnswerInOrder) {
    Application();
    struct Case {
        const char* button;
        AppendChoice choice;
    };
    for (const Case& c : {Case{"Append", AppendChoice::Append},
                          Case{"Overwrite", AppendChoice::Overwrite},
                          Case{"Cancel", AppendChoice::Cancel}}) {
        QString caption = "unset", text;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            caption = box->windowTitle();
            text = box->text();
            for (QAbstractButton* b : box->buttons()) {
                if (b->text() == c.button) b->click();
            }
        });
        EXPECT_EQ(RunAppendBox(nullptr, "File   n.lis   already exists. "), c.choice);
        EXPECT_EQ(caption, "");
        EXPECT_EQ(text, "File   n.lis   already exists. ");
    }
}

TEST(ConfirmBox, NarrowBarWithTwoButtons) {
    Application();
    QWidget owner;
    owner.resize(800, 700);
    owner.move(40, 30);
    owner.show();
    ConfirmBox box(&owner);
    box.show();
    EXPECT_EQ(box.windowTitle(), "Corvane -- Acknowledge");
    EXPECT_FALSE(box.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(box.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(box.width(), std::max(DialogUnitsX(box, 265), box.minimumSizeHint().width()));
    EXPECT_EQ(box.height(), std::max(DialogUnitsY(box, 18), box.minimumSizeHint().height()));
    EXPECT_EQ(box.GoButton()->text(), "Go with this !");
    QTest::mouseClick(box.GoButton(), Qt::LeftButton);
    EXPECT_EQ(box.result(), QDialog::Accepted);

    ConfirmBox again(&owner);
    again.show();
    QTest::mouseClick(again.CancelButton(), Qt::LeftButton);
    EXPECT_EQ(again.result(), QDialog::Rejected);
}

TEST(ResultsBox, FixedWidthRowsUnderTheHeadingsOkWrites) {
    Application();
    const std::vector<std::string> rows = {"Asteroid  312.0   88.0  1234.57 1000.25    46  709",
                                           "Star  1   45.1 1023.5    -3.00 32768.00    44   12"};
    ResultsBox box(nullptr, rows);
    box.show();
    EXPECT_EQ(box.windowTitle(), "Corvane");
    QFontMetrics fixed(box.Rows()->font());
    EXPECT_EQ(fixed.horizontalAdvance('i'), fixed.horizontalAdvance('W'));
    EXPECT_EQ(fixed.horizontalAdvance(' '), fixed.horizontalAdvance('W'));
    EXPECT_NE(box.OkButton()->font(), box.font());
    std::vector<QString> labels;
    for (QLabel* label : box.findChildren<QLabel*>()) labels.push_back(label->text());
    EXPECT_EQ(labels, (std::vector<QString>{"  Obj       x      y      flux   bckgnd   SNR ntot",
                                             "                         (DN/s)   (DN)"}));
    ASSERT_EQ(box.Rows()->count(), 2);
    EXPECT_EQ(box.Rows()->item(0)->text().toStdString(), rows[0]);
    EXPECT_EQ(box.Rows()->item(1)->text().toStdString(), rows[1]);
    QTest::mouseClick(box.OkButton(), Qt::LeftButton);
    EXPECT_EQ(box.result(), QDialog::Accepted);

    ResultsBox escaped(nullptr, rows);
    escaped.show();
    QTest::keyClick(&escaped, Qt::Key_Escape);
    EXPECT_EQ(escaped.result(), QDialog::Rejected);
}

TEST(ParamsDialog, TypedFieldsGoThroughTheParametersLogic) {
    Application();
    PhotometryParameters params;
    ObjectList objects;
    objects.initialised = true;
    ParamsDialogFields fields = ParamsDialogOpening(params);
    ParamsDialog dialog(nullptr, fields, [&](const ParamsDialogFields& f) {
        return ApplyParamsDialog(f, params, objects);
    });
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Corvane -- Parameter Input");
    EXPECT_EQ(dialog.Field(501)->text(), "3");
    EXPECT_EQ(dialog.Field(508)->text(), "0");
    EXPECT_TRUE(dialog.Automatic()->isChecked());
    std::vector<QString> groups;
    for (QGroupBox* g : dialog.findChildren<QGroupBox*>()) groups.push_back(g->title());
    EXPECT_EQ(groups, (std::vector<QString>{"# of Integration Apertures", "Aperture Size",
                                            "Centering Mode"}));

    // More stars, then an asteroid a of 100: the stars are stored, the dialog stays open.
    dialog.Field(501)->setText("5");
    dialog.Field(503)->setText("100");
    QTest::mouseClick(Ok(dialog), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(params.numberOfStars, 5);
    EXPECT_FALSE(objects.initialised);

    dialog.Field(503)->setText("20");
    dialog.Field(507)->setText("9");
    QTest::mouseClick(dialog.Manual(), Qt::LeftButton);
    QTest::mouseClick(Ok(dialog), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(params.asteroid.a, 20);
    EXPECT_EQ(params.star.b, 9);
    EXPECT_EQ(params.centringMode, CentringMode::Manual);
}

TEST(SelectDialog, RowsBeyondTheListAreDisabledAndReadUnchecked) {
    Application();
    PhotometryParameters params;  // three stars
    ObjectList objects;
    objects.initialised = true;
    objects.referencePosition = {100, 200};
    objects.starOffset[1] = {10, -5};
    objects.asteroidPosition = {40, 50};
    SelectDialogFields fields = SelectDialogOpening(objects, params);
    SelectDialog dialog(nullptr, fields, [&](const SelectDialogFields& f) {
        return ApplySelectDialog(f, objects, params);
    });
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Select");
    EXPECT_EQ(dialog.StarBox(0)->text(), "   Star 1");
    EXPECT_EQ(dialog.StarX(1)->text(), "110");
    EXPECT_EQ(dialog.StarY(1)->text(), "195");
    EXPECT_EQ(dialog.findChild<QLabel*>("1000")->text(), "40");
    EXPECT_TRUE(dialog.ReferenceButton(0)->isChecked());
    EXPECT_TRUE(dialog.StarBox(2)->isEnabled());
    EXPECT_FALSE(dialog.StarBox(3)->isEnabled());
    EXPECT_FALSE(dialog.ReferenceButton(3)->isEnabled());
    EXPECT_TRUE(dialog.StarBox(3)->isChecked());  // shown as the flag is

    // The reference star unchecked: refused, but the check boxes are taken over.
    QTest::mouseClick(dialog.StarBox(0), Qt::LeftButton);
    QTest::mouseClick(Ok(dialog), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(objects.starSelected[0]);
    EXPECT_FALSE(objects.starSelected[3]);

    // Star 2 as the reference: its offset becomes (0, 0), its place stays.
    QTest::mouseClick(dialog.ReferenceButton(1), Qt::LeftButton);
    QTest::mouseClick(dialog.AsteroidBox(), Qt::LeftButton);
    QTest::mouseClick(Ok(dialog), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(objects.referenceStar, 1);
    EXPECT_EQ(objects.referencePosition, (PixelPoint{110, 195}));
    EXPECT_FALSE(objects.asteroidSelected);
}

}  // namespace
}  // namespace corvane
