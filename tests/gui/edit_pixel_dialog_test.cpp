// The "Edit Pixel" dialog, offscreen: its labels, and OK that closes only on a valid entry.
#include "gui/edit_pixel_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui_application.h"

namespace corvane {
namespace {

QApplication& Application() { return test::GuiApplication(); }

std::vector<QString> LabelTexts(const QWidget& w) {
    std::vector<QString> texts;
    for (const QLabel* label : w.findChildren<QLabel*>()) {
        texts.push_back(label->text());
    }
    return texts;
}

TEST(EditPixelDialog, ShowsPositionAndValueAndClosesOnlyOnAcceptedEntryOrCancel) {
    Application();
    EditPixelDialogFields fields;
    fields.column = 12;
    fields.row = 345;
    fields.value = "-17";
    std::vector<std::string> offered;
    EditPixelDialog dialog(
        fields,
        [&offered](const EditPixelDialogFields& f) {
            offered.push_back(f.value);
            return f.value == "250";
        },
        nullptr);
    dialog.show();

    EXPECT_EQ(dialog.windowTitle(), "Edit Pixel");
    std::vector<QString> labels = LabelTexts(dialog);
    for (const char* text : {"Enter New Pixel Value", "DN=", "X=12", "Y=345"}) {
        EXPECT_NE(std::find(labels.begin(), labels.end(), QString(text)), labels.end()) << text;
    }
    QLineEdit* value = dialog.ValueField();
    EXPECT_EQ(value->text(), "-17");

    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    value->setText("abc");
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(fields.value, "-17");

    value->setText("250");
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(fields.value, "250");
    EXPECT_EQ(offered, (std::vector<std::string>{"abc", "250"}));

    EditPixelDialog cancelled(
        fields, [](const EditPixelDialogFields&) { return true; }, nullptr);
    cancelled.show();
    QTest::mouseClick(cancelled.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel),
                      Qt::LeftButton);
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace corvane
