#pragma once
// "Open Output File": the directory, a list of the file system's roots and the
// directory's subdirectories (double click to enter one), and the file prefix.

#include <QDialog>

#include "platform/dialogs.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace corvane {

class OutputFilesDialog : public QDialog {
    Q_OBJECT
public:
    OutputFilesDialog(QWidget* parent, OutputFilesDialogFields& fields,
                      DialogEnter<OutputFilesDialogFields> enter,
                      DialogOk<OutputFilesDialogFields> ok);

    QListWidget* Entries() const { return list_; }
    QLineEdit* Prefix() const { return prefix_; }
    QLabel* Directory() const { return directory_; }

private:
    void ShowFields();
    void OnEnter(int row);
    void OnOk();

    OutputFilesDialogFields& fields_;
    DialogEnter<OutputFilesDialogFields> enter_;
    DialogOk<OutputFilesDialogFields> ok_;
    QLabel* directory_ = nullptr;  // 201
    QLineEdit* prefix_ = nullptr;  // 203
    QListWidget* list_ = nullptr;  // 200
};

}  // namespace corvane
