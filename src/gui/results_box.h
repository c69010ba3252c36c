#pragma once
// "Corvane": the results of a run in a fixed-width font under two heading lines, and
// "OK" to have them written.

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace corvane {

class ResultsBox : public QDialog {
    Q_OBJECT
public:
    ResultsBox(QWidget* parent, const std::vector<std::string>& rows);

    QListWidget* Rows() const { return list_; }
    QPushButton* OkButton() const { return ok_; }

private:
    QListWidget* list_ = nullptr;
    QPushButton* ok_ = nullptr;
};

// True for "OK"; the close box and Escape return false.
bool RunResultsBox(QWidget* parent, const std::vector<std::string>& rows);

}  // namespace corvane
