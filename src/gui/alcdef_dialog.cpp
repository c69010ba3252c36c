#include "gui/alcdef_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/output_file.h"

namespace corvane {

namespace {

constexpr const char* kFilters[] = {"B", "V", "R", "I", "SU", "SG", "SR", "SI", "SZ", "C"};
constexpr const char* kMagBands[] = {"B", "V", "R", "I", "SU", "SG", "SR", "SI", "SZ"};
enum Column { kSession, kStar, kName, kRa, kDec, kMag, kColumns };

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::optional<std::string> Optional(const QString& text) {
    const QString t = text.trimmed();
    return t.isEmpty() ? std::nullopt : std::optional<std::string>(t.toStdString());
}

// The entry the metadata gives for `star` of session `number`.
const AlcdefComparison* GivenComparison(const AlcdefMetadata& meta, int number, int star) {
    const std::size_t index = static_cast<std::size_t>(number - 1);
    const std::vector<AlcdefComparison>& given =
        index < meta.sessionComparisons.size() && meta.sessionComparisons[index]
            ? *meta.sessionComparisons[index]
            : meta.comparisons;
    auto found = std::find_if(given.begin(), given.end(),
                              [star](const AlcdefComparison& c) { return c.star == star; });
    return found != given.end() ? &*found : nullptr;
}

QTableWidgetItem* Fixed(int value) {
    auto* item = new QTableWidgetItem(QString::number(value));
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

}  // namespace

AlcdefDialog::AlcdefDialog(QWidget* parent, const RecordSet& set, const Lightcurve& curve,
                           const AlcdefMetadata& meta, const QString& path)
    : QDialog(parent), set_(set), curve_(curve) {
    setWindowTitle("Export ALCDEF");
    const ListRecord* first =
        curve.sessions.empty() ? nullptr : &set.records[curve.sessions[0].recordIndices.front()];
    const std::optional<std::string> fileFilter =
        first != nullptr ? AlcdefFilterOfCode(first->filter) : std::nullopt;

    auto* form = new QFormLayout;
    const struct {
        const char* keyword;
        const char* label;
        std::optional<std::string> value;
    } texts[] = {
        {"OBJECTNUMBER", "Object number:",
         meta.objectNumber ? std::optional(std::to_string(*meta.objectNumber)) : std::nullopt},
        {"OBJECTNAME", "Object name:", meta.objectName},
        {"MPCDESIG", "MPC designation:", meta.mpcDesignation},
        {"CONTACTNAME", "Contact name:", meta.contactName},
        {"CONTACTINFO", "Contact information:", meta.contactInfo},
        {"OBSERVERS", "Observers:", meta.observers},
    };
    for (const auto& t : texts) {
        auto* edit = new QLineEdit(Q(t.value.value_or("")));
        fields_[t.keyword] = edit;
        form->addRow(t.label, edit);
    }
    fields_["OBJECTNUMBER"]->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this));
    fields_["OBJECTNUMBER"]->setPlaceholderText("0 when unnumbered");
    if (first != nullptr) {
        fields_["OBJECTNAME"]->setPlaceholderText("from the files: " + Q(first->object));
    }
    fields_["MPCDESIG"]->setPlaceholderText("unpacked, e.g. 1999 CZ1");
    fields_["OBSERVERS"]->setPlaceholderText("names separated by ;");

    filter_ = new QComboBox;
    filter_->addItem(
        fileFilter ? "from the files: " + Q(*fileFilter) : QString("from the files: none"),
        QString());
    for (const char* f : kFilters) {
        filter_->addItem(f, QString(f));
    }
    filter_->setCurrentIndex(std::max(0, filter_->findData(Q(meta.filter.value_or("")))));
    form->addRow("Filter:", filter_);
    magBand_ = new QComboBox;
    magBand_->addItem("", QString());
    for (const char* b : kMagBands) {
        magBand_->addItem(b, QString(b));
    }
    // Differential magnitudes through a B, V, R or I filter are in that band.
    const std::string band = meta.magBand.value_or(fileFilter.value_or(""));
    magBand_->setCurrentIndex(std::max(0, magBand_->findData(Q(band))));
    form->addRow("Magnitude band:", magBand_);

    comparisons_ = new QTableWidget(0, kColumns);
    comparisons_->setHorizontalHeaderLabels(
        {"Session", "Star", "Name", "RA (hh:mm:ss.ss)", "Dec (±dd:mm:ss.s)", "Mag"});
    comparisons_->verticalHeader()->hide();
    comparisons_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    comparisons_->horizontalHeader()->setSectionResizeMode(kName, QHeaderView::Stretch);
    for (const LightcurveSession& session : curve.sessions) {
        for (int star : session.comps) {
            const int row = comparisons_->rowCount();
            comparisons_->insertRow(row);
            comparisons_->setItem(row, kSession, Fixed(session.number));
            comparisons_->setItem(row, kStar, Fixed(star));
            const AlcdefComparison* c = GivenComparison(meta, session.number, star);
            comparisons_->setItem(row, kName, new QTableWidgetItem(c ? Q(c->name) : QString()));
            comparisons_->setItem(row, kRa, new QTableWidgetItem(c && c->ra ? Q(*c->ra) : ""));
            comparisons_->setItem(row, kDec, new QTableWidgetItem(c && c->dec ? Q(*c->dec) : ""));
            comparisons_->setItem(
                row, kMag,
                new QTableWidgetItem(c && c->mag ? QString::number(*c->mag, 'f', 3) : QString()));
        }
    }

    file_ = new QLineEdit(path);
    auto* browse = new QPushButton("Browse...");
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getSaveFileName(
            this, "Export ALCDEF", file_->text(), "ALCDEF files (*.txt *.alcdef);;All files (*)");
        if (!chosen.isEmpty()) {
            file_->setText(chosen);
        }
    });
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file_, 1);
    fileRow->addWidget(browse);

    problem_ = new QLabel;
    problem_->setWordWrap(true);
    problem_->setStyleSheet("color: #b00000");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &AlcdefDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &AlcdefDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel("Comparison stars (a star without a name is not written):"));
    layout->addWidget(comparisons_, 1);
    auto* fileForm = new QFormLayout;
    fileForm->addRow("File:", fileRow);
    layout->addLayout(fileForm);
    layout->addWidget(problem_);
    layout->addWidget(buttons);
    resize(700, 560);
}

AlcdefMetadata AlcdefDialog::Metadata() const {
    AlcdefMetadata meta;
    bool ok = false;
    const long long number = fields_.at("OBJECTNUMBER")->text().trimmed().toLongLong(&ok);
    if (ok) {
        meta.objectNumber = number;
    }
    meta.objectName = Optional(fields_.at("OBJECTNAME")->text());
    meta.mpcDesignation = Optional(fields_.at("MPCDESIG")->text());
    meta.contactName = Optional(fields_.at("CONTACTNAME")->text());
    meta.contactInfo = Optional(fields_.at("CONTACTINFO")->text());
    meta.observers = Optional(fields_.at("OBSERVERS")->text());
    meta.filter = Optional(filter_->currentData().toString());
    meta.magBand = Optional(magBand_->currentData().toString());
    for (int row = 0; row < comparisons_->rowCount(); ++row) {
        const auto text = [&](int column) { return comparisons_->item(row, column)->text(); };
        const std::size_t index = static_cast<std::size_t>(text(kSession).toInt() - 1);
        if (meta.sessionComparisons.size() <= index) {
            meta.sessionComparisons.resize(index + 1);
        }
        std::optional<std::vector<AlcdefComparison>>& given = meta.sessionComparisons[index];
        if (!given) {
            given.emplace();
        }
        AlcdefComparison c;
        c.star = text(kStar).toInt();
        c.name = text(kName).trimmed().toStdString();
        c.ra = Optional(text(kRa));
        c.dec = Optional(text(kDec));
        const double mag = QLocale::c().toDouble(text(kMag).trimmed(), &ok);
        if (ok) {
            c.mag = mag;
        }
        given->push_back(c);
    }
    return meta;
}

QString AlcdefDialog::Path() const {
    return file_->text().trimmed();
}

void AlcdefDialog::accept() {
    // Numbers that cannot be read are named before the rules are checked.
    bool ok = false;
    const QString number = fields_.at("OBJECTNUMBER")->text().trimmed();
    number.toLongLong(&ok);
    if (!number.isEmpty() && !ok) {
        Refuse("The object number is too large.", fields_.at("OBJECTNUMBER"));
        return;
    }
    for (int row = 0; row < comparisons_->rowCount(); ++row) {
        const QString mag = comparisons_->item(row, kMag)->text().trimmed();
        QLocale::c().toDouble(mag, &ok);
        if (!mag.isEmpty() && !ok) {
            comparisons_->setCurrentCell(row, kMag);
            Refuse(QString("Session %1, star %2: the magnitude is not a number")
                       .arg(comparisons_->item(row, kSession)->text(),
                            comparisons_->item(row, kStar)->text()),
                   comparisons_);
            return;
        }
    }
    checked_ = CheckAlcdef(set_, curve_, Metadata());
    if (checked_.blocks == 0) {
        Refuse("No session has two points: there is no ALCDEF block to write.", nullptr);
        return;
    }
    if (checked_.violation) {
        Refuse(QString("Session %1: %2")
                   .arg(checked_.violatingSession)
                   .arg(Q(checked_.violation->Text())),
               FieldOf(checked_.violation->keyword));
        return;
    }
    if (Path().isEmpty()) {
        Refuse("Choose the file to write.", file_);
        return;
    }
    if (!WriteFileBytes(Path().toStdString(), checked_.text)) {
        Refuse(Path() + " cannot be written.", file_);
        return;
    }
    QDialog::accept();
}

void AlcdefDialog::Refuse(const QString& why, QWidget* field) {
    problem_->setText(why);
    if (field != nullptr) {
        field->setFocus();
    }
}

QWidget* AlcdefDialog::FieldOf(const std::string& keyword) const {
    if (auto text = fields_.find(keyword); text != fields_.end()) {
        return text->second;
    }
    if (keyword == "FILTER") {
        return filter_;
    }
    if (keyword == "MAGBAND") {
        return magBand_;
    }
    if (keyword.rfind("COMP", 0) == 0) {
        return comparisons_;
    }
    return nullptr;
}

}  // namespace corvane
