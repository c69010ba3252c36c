#include "gui/append_box.h"

#include <QMessageBox>
#include <QPushButton>

namespace corvane {

AppendChoice RunAppendBox(QWidget* parent, const QString& text) {
    QMessageBox box(parent);
    box.setObjectName("AppendBox");
    box.setWindowTitle(QString());
    box.setText(text);
    box.setIcon(QMessageBox::NoIcon);
    QPushButton* append = box.addButton("Append", QMessageBox::AcceptRole);
    QPushButton* overwrite = box.addButton("Overwrite", QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton("Cancel", QMessageBox::RejectRole);
    box.setDefaultButton(append);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == append) {
        return AppendChoice::Append;
    }
    if (box.clickedButton() == overwrite) {
        return AppendChoice::Overwrite;
    }
    return AppendChoice::Cancel;
}

}  // namespace corvane
