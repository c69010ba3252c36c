#pragma once
// "Export ALCDEF": what the list files cannot know, filled in by the user, checked against
// the ALCDEF rules before anything is written. A field that breaks a rule keeps the dialog
// open with the rule named and the field in focus.

#include <QDialog>
#include <map>
#include <string>

#include "lightcurve/alcdef_file.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace corvane {

class AlcdefDialog : public QDialog {
    Q_OBJECT
  public:
    // `meta` and `path` fill the fields (what the user gave last time); what the files
    // know shows where a field is left empty.
    AlcdefDialog(QWidget* parent, const RecordSet& set, const Lightcurve& curve,
                 const AlcdefMetadata& meta, const QString& path);

    AlcdefMetadata Metadata() const;
    QString Path() const;
    // What was written, once the dialog has been accepted.
    const CheckedAlcdef& Written() const { return checked_; }

    // The text field of an ALCDEF keyword: OBJECTNUMBER, OBJECTNAME, MPCDESIG,
    // CONTACTNAME, CONTACTINFO or OBSERVERS.
    QLineEdit* Field(const std::string& keyword) const { return fields_.at(keyword); }
    QComboBox* FilterBox() const { return filter_; }
    QComboBox* MagBandBox() const { return magBand_; }
    QTableWidget* Comparisons() const { return comparisons_; }
    QLineEdit* FileField() const { return file_; }
    QLabel* Problem() const { return problem_; }

  public slots:
    // Checks every block, then writes the file; on a problem the dialog stays open.
    void accept() override;

  private:
    void Refuse(const QString& why, QWidget* field);
    QWidget* FieldOf(const std::string& keyword) const;

    const RecordSet& set_;
    const Lightcurve& curve_;
    CheckedAlcdef checked_;
    std::map<std::string, QLineEdit*> fields_;
    QComboBox* filter_ = nullptr;
    QComboBox* magBand_ = nullptr;
    QTableWidget* comparisons_ = nullptr;
    QLineEdit* file_ = nullptr;
    QLabel* problem_ = nullptr;
};

}  // namespace corvane
