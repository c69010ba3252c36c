// "Show" as the user meets it: typing into Min and Max and pressing OK or Cancel.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "display/manual_levels.h"
#include "gui/manual_levels_dialog.h"
#include "gui_test_support.h"

namespace corvane::test {
namespace {

QPushButton* Button(QWidget& dialog, const char* text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

void Type(QWidget& dialog, const char* field, const char* text) {
    auto* edit = dialog.findChild<QLineEdit*>(field);
    ASSERT_NE(edit, nullptr) << field;
    edit->clear();
    QTest::keyClicks(edit, text);
}

struct Case {
    const char* name;
    const char* low;
    const char* high;
    bool cancelAfterOk;
    bool open;                 // still open after OK
    QDialog::DialogCode result;
    DisplayLevels levels;
};

TEST(ManualLevelsDialog, OkAndCancel) {
    TestApplication();
    const Case cases[] = {
        {"500 and 100", "500", "100", false, false, QDialog::Accepted, {500, 100}},
        {"valid Min, empty Max, then Cancel", "400", "", true, true, QDialog::Rejected, {400, 300}},
        {"invalid Min", "4x", "100", true, true, QDialog::Rejected, {0, 300}},
    };
    for (const Case& c : cases) {
        DisplayLevels levels{0, 300};
        ManualLevelsDialog dialog(nullptr, ManualLevelsFieldsOf(levels),
                                  [&levels](const ManualLevelsFields& f) {
                                      return ApplyManualLevels(f, levels);
                                  });
        dialog.open();
        ASSERT_EQ(dialog.findChild<QLineEdit*>("low")->text(), "0") << c.name;
        ASSERT_EQ(dialog.findChild<QLineEdit*>("high")->text(), "300") << c.name;
        Type(dialog, "low", c.low);
        Type(dialog, "high", c.high);
        QTest::mouseClick(Button(dialog, "OK"), Qt::LeftButton);
        EXPECT_EQ(dialog.isVisible(), c.open) << c.name;
        if (c.cancelAfterOk) {
            QTest::mouseClick(Button(dialog, "Cancel"), Qt::LeftButton);
            EXPECT_FALSE(dialog.isVisible()) << c.name;
        }
        EXPECT_EQ(dialog.result(), c.result) << c.name;
        EXPECT_EQ(levels, c.levels) << c.name;
    }
}

}  // namespace
}  // namespace corvane::test
