#include "quib_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocalSocket>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cstdio>

#include "folder_source.h"
#include "frame_names.h"
#include "gui/local_server.h"
#include "indi_connection.h"
#include "indi_source.h"
#include "platform/acquisition_protocol.h"

namespace quib {

namespace {

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// A spin box whose lowest value means "leave it as it is".
QSpinBox* OptionalSpin(int high, std::optional<int> value, const QString& unset, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setRange(0, high);
    spin->setSpecialValueText(unset);
    spin->setValue(value.value_or(0));
    return spin;
}

std::optional<int> OptionalValue(const QSpinBox* spin) {
    return spin->value() == 0 ? std::nullopt : std::optional<int>(spin->value());
}

}  // namespace

QuibWindow::QuibWindow(QuibOptions options)
    : options_(std::move(options)),
      link_(FromStd(corvane::MainWindowServerName(options_.scope.toStdString())),
            options_.settleMs) {
    setWindowTitle("Quib");
    auto* grid = new QGridLayout(this);

    folderEdit_ = new QLineEdit(QDir(options_.folder).absolutePath(), this);
    chooseButton_ = new QPushButton("Choose...", this);
    grid->addWidget(new QLabel("Folder:", this), 0, 0);
    grid->addWidget(folderEdit_, 0, 1);
    grid->addWidget(chooseButton_, 0, 2);

    folderChoice_ = new QRadioButton("Folder watch", this);
    indiChoice_ = new QRadioButton("INDI camera", this);
    auto* sources = new QButtonGroup(this);
    sources->addButton(folderChoice_);
    sources->addButton(indiChoice_);
    (options_.source == SourceKind::Indi ? indiChoice_ : folderChoice_)->setChecked(true);
    auto* sourceRow = new QHBoxLayout;
    sourceRow->addWidget(folderChoice_);
    sourceRow->addWidget(indiChoice_);
    sourceRow->addStretch();
    grid->addWidget(new QLabel("Source:", this), 1, 0);
    grid->addLayout(sourceRow, 1, 1, 1, 2);

    grid->addWidget(MakeFolderBox(), 2, 0, 1, 3);
    grid->addWidget(MakeIndiBox(), 3, 0, 1, 3);

    log_ = new QPlainTextEdit(this);
    log_->setReadOnly(true);
    log_->setMinimumSize(440, 160);
    grid->addWidget(log_, 4, 0, 1, 3);

    auto* end = new QPushButton("End session", this);
    end->setAutoDefault(false);
    grid->addWidget(end, 5, 2);

    connect(chooseButton_, &QPushButton::clicked, this, &QuibWindow::ChooseFolder);
    connect(end, &QPushButton::clicked, this, &QWidget::close);
    connect(folderEdit_, &QLineEdit::editingFinished, this, &QuibWindow::StartWatching);
    connect(folderChoice_, &QRadioButton::toggled, this, &QuibWindow::ShowSource);
    connect(&link_, &MainWindowLink::Report, this, &QuibWindow::Report);
    // Queued: the answer may come while closeEvent is still running, and a close from
    // within it would be refused.
    connect(
        &link_, &MainWindowLink::SessionEnded, this,
        [this] {
            ended_ = true;
            server_.close();
            close();
        },
        Qt::QueuedConnection);

    // The server only says "quib runs"; whoever connects is let go at once.
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            socket->disconnectFromServer();
        }
    });
    // The folder's baseline comes first: once the server answers, every file written
    // counts as new. A camera named on the command line starts at once.
    ShowSource();
    if (options_.source == SourceKind::Indi) {
        StartCamera();
    }

    const QString serverName = FromStd(corvane::QuibServerName(options_.scope.toStdString()));
    if (!corvane::ListenAlone(server_, serverName)) {
        Report("Another quib is running (" + serverName + ")");
    }
}

QuibWindow::~QuibWindow() = default;

QGroupBox* QuibWindow::MakeFolderBox() {
    folderBox_ = new QGroupBox("Folder watch", this);
    auto* row = new QHBoxLayout(folderBox_);
    singleBox_ = new QCheckBox("Single file:", folderBox_);
    singleBox_->setChecked(!options_.singleFile.isEmpty());
    singleEdit_ = new QLineEdit(options_.singleFile, folderBox_);
    singleEdit_->setPlaceholderText("the file the camera overwrites");
    row->addWidget(singleBox_);
    row->addWidget(singleEdit_);
    connect(singleEdit_, &QLineEdit::editingFinished, this, &QuibWindow::StartWatching);
    connect(singleBox_, &QCheckBox::toggled, this, &QuibWindow::StartWatching);
    return folderBox_;
}

QGroupBox* QuibWindow::MakeIndiBox() {
    const IndiRun& run = options_.indi;
    indiBox_ = new QGroupBox("INDI camera", this);
    auto* box = new QVBoxLayout(indiBox_);
    // What a started camera runs with: fixed until it is stopped.
    indiSettings_ = new QWidget(indiBox_);
    box->addWidget(indiSettings_);
    auto* grid = new QGridLayout(indiSettings_);
    grid->setContentsMargins(0, 0, 0, 0);

    serverEdit_ = new QLineEdit(FromStd(run.server.Text()), indiSettings_);
    auto* list = new QPushButton("List cameras", indiSettings_);
    list->setAutoDefault(false);
    grid->addWidget(new QLabel("Server:", indiSettings_), 0, 0);
    grid->addWidget(serverEdit_, 0, 1, 1, 2);
    grid->addWidget(list, 0, 3);

    cameraBox_ = new QComboBox(indiSettings_);
    cameraBox_->setEditable(true);
    cameraBox_->setCurrentText(FromStd(run.device));
    grid->addWidget(new QLabel("Camera:", indiSettings_), 1, 0);
    grid->addWidget(cameraBox_, 1, 1, 1, 3);

    captureChoice_ = new QRadioButton("Capture", indiSettings_);
    auto* listen = new QRadioButton("Listen to other clients", indiSettings_);
    (run.mode == IndiMode::Capture ? captureChoice_ : listen)->setChecked(true);
    grid->addWidget(new QLabel("Mode:", indiSettings_), 2, 0);
    grid->addWidget(captureChoice_, 2, 1);
    grid->addWidget(listen, 2, 2, 1, 2);

    const CaptureSettings& capture = run.capture;
    captureSettings_ = new QWidget(indiSettings_);
    auto* fields = new QGridLayout(captureSettings_);
    fields->setContentsMargins(0, 0, 0, 0);
    exposureSpin_ = new QDoubleSpinBox(captureSettings_);
    exposureSpin_->setRange(0.001, 86400);
    exposureSpin_->setDecimals(3);
    exposureSpin_->setValue(capture.exposureS);
    countSpin_ = new QSpinBox(captureSettings_);
    countSpin_->setRange(0, 999999);
    countSpin_->setSpecialValueText("until stopped");
    countSpin_->setValue(capture.count);
    delaySpin_ = new QDoubleSpinBox(captureSettings_);
    delaySpin_->setRange(0, 86400);
    delaySpin_->setDecimals(1);
    delaySpin_->setValue(capture.delayS);
    binSpin_ = OptionalSpin(64, capture.binning, "as set", captureSettings_);
    filterSpin_ = OptionalSpin(99, capture.filterSlot, "as set", captureSettings_);
    const std::pair<const char*, QWidget*> labelled[] = {
        {"Exposure (s):", exposureSpin_}, {"Frames:", countSpin_},       {"Delay (s):", delaySpin_},
        {"Binning:", binSpin_},           {"Filter slot:", filterSpin_},
    };
    for (int i = 0; i < 5; ++i) {
        fields->addWidget(new QLabel(labelled[i].first, captureSettings_), i / 2, (i % 2) * 2);
        fields->addWidget(labelled[i].second, i / 2, (i % 2) * 2 + 1);
    }
    captureSettings_->setEnabled(captureChoice_->isChecked());
    grid->addWidget(captureSettings_, 3, 0, 1, 4);

    prefixEdit_ = new QLineEdit(FromStd(run.prefix), indiSettings_);
    grid->addWidget(new QLabel("Prefix:", indiSettings_), 4, 0);
    grid->addWidget(prefixEdit_, 4, 1);

    startButton_ = new QPushButton("Start", indiBox_);
    stopButton_ = new QPushButton("Stop", indiBox_);
    startButton_->setAutoDefault(false);
    stopButton_->setAutoDefault(false);
    stopButton_->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(startButton_);
    buttons->addWidget(stopButton_);
    box->addLayout(buttons);

    connect(list, &QPushButton::clicked, this, &QuibWindow::ListCameras);
    connect(captureChoice_, &QRadioButton::toggled, captureSettings_, &QWidget::setEnabled);
    connect(startButton_, &QPushButton::clicked, this, &QuibWindow::StartCamera);
    connect(stopButton_, &QPushButton::clicked, this, &QuibWindow::StopCamera);
    return indiBox_;
}

void QuibWindow::ShowSource() {
    const bool folder = folderChoice_->isChecked();
    folderBox_->setEnabled(folder);
    indiBox_->setEnabled(!folder);
    if (folder) {
        lister_.reset();
        StartWatching();
    } else if (dynamic_cast<FolderSource*>(source_.get()) != nullptr) {
        UseSource(nullptr);
        Report("Choose the camera and press Start");
    }
}

void QuibWindow::UseSource(std::unique_ptr<FrameSource> source) {
    source_ = std::move(source);
    const bool camera = dynamic_cast<IndiSource*>(source_.get()) != nullptr;
    // A started camera writes into the folder it was started with.
    for (QWidget* fixed : {static_cast<QWidget*>(folderEdit_), static_cast<QWidget*>(chooseButton_),
                           indiSettings_}) {
        fixed->setEnabled(!camera);
    }
    startButton_->setEnabled(!camera);
    stopButton_->setEnabled(camera);
    if (!source_) {
        return;
    }
    connect(source_.get(), &FrameSource::Report, this, &QuibWindow::Report);
    connect(source_.get(), &FrameSource::FrameReady, &link_, &MainWindowLink::HandOver);
    connect(source_.get(), &FrameSource::FrameRewritten, &link_, &MainWindowLink::Release);
}

void QuibWindow::StartWatching() {
    if (ending_ || !folderChoice_->isChecked()) {
        return;
    }
    WatchSettings settings;
    settings.folder = QDir(folderEdit_->text()).absolutePath().toStdString();
    for (const QString& pattern : options_.patterns) {
        settings.patterns.push_back(pattern.toStdString());
    }
    if (singleBox_->isChecked()) {
        settings.singleFile = singleEdit_->text().trimmed().toStdString();
    }
    settings.settleMs = options_.settleMs;
    if (auto* folder = dynamic_cast<FolderSource*>(source_.get());
        folder && folder->Settings().folder == settings.folder &&
        folder->Settings().singleFile == settings.singleFile) {
        return;
    }
    UseSource(std::make_unique<FolderSource>(std::move(settings), options_.pollMs));
}

void QuibWindow::ChooseFolder() {
    const QString chosen =
        QFileDialog::getExistingDirectory(this, "Session folder", folderEdit_->text());
    if (!chosen.isEmpty()) {
        folderEdit_->setText(chosen);
        StartWatching();
    }
}

void QuibWindow::ListCameras() {
    const std::optional<IndiServer> server = ParseIndiServer(serverEdit_->text().toStdString());
    if (!server) {
        Report("Server: give HOST:PORT, for example localhost:7624");
        return;
    }
    lister_ = std::make_unique<IndiConnection>(*server, std::string());
    connect(lister_.get(), &IndiConnection::Report, this, &QuibWindow::Report);
    connect(lister_.get(), &IndiConnection::PropertyChanged, this,
            [this] { FillCameras(*lister_); });
}

void QuibWindow::FillCameras(const IndiConnection& connection) {
    const QString current = cameraBox_->currentText();
    QStringList cameras;
    for (const std::string& name : connection.Devices(kCameraInterface)) {
        cameras << FromStd(name);
    }
    QStringList shown;
    for (int i = 0; i < cameraBox_->count(); ++i) {
        shown << cameraBox_->itemText(i);
    }
    if (cameras != shown) {
        cameraBox_->clear();
        cameraBox_->addItems(cameras);
        cameraBox_->setCurrentText(current.isEmpty() && !cameras.isEmpty() ? cameras.front()
                                                                           : current);
    }
}

void QuibWindow::StartCamera() {
    IndiRun run;
    const std::optional<IndiServer> server = ParseIndiServer(serverEdit_->text().toStdString());
    run.device = cameraBox_->currentText().trimmed().toStdString();
    run.prefix = prefixEdit_->text().trimmed().toStdString();
    run.folder = QDir(folderEdit_->text()).absolutePath().toStdString();
    if (!server || run.device.empty() || !ValidPrefix(run.prefix) ||
        !QDir(FromStd(run.folder)).exists()) {
        Report(!server              ? "Server: give HOST:PORT, for example localhost:7624"
               : run.device.empty() ? "Camera: give its INDI name, or list the cameras"
               : !ValidPrefix(run.prefix)
                   ? "Prefix: a file name start without '/' that is not hidden"
                   : "No such folder: " + FromStd(run.folder));
        return;
    }
    run.server = *server;
    run.mode = captureChoice_->isChecked() ? IndiMode::Capture : IndiMode::Listen;
    run.capture = {exposureSpin_->value(), countSpin_->value(), delaySpin_->value(),
                   OptionalValue(binSpin_), OptionalValue(filterSpin_)};
    lister_.reset();
    auto source = std::make_unique<IndiSource>(std::move(run));
    connect(&source->Connection(), &IndiConnection::PropertyChanged, this,
            [this, camera = source.get()] { FillCameras(camera->Connection()); });
    UseSource(std::move(source));
}

void QuibWindow::StopCamera() {
    if (dynamic_cast<IndiSource*>(source_.get()) != nullptr) {
        UseSource(nullptr);
        Report("Stopped");
    }
}

void QuibWindow::Report(const QString& line) {
    const QString stamped = QDateTime::currentDateTime().toString("HH:mm:ss.zzz") + "  " + line;
    log_->appendPlainText(stamped);
    std::fprintf(stdout, "%s\n", stamped.toLocal8Bit().constData());
    std::fflush(stdout);
}

void QuibWindow::reject() {
    close();
}

void QuibWindow::closeEvent(QCloseEvent* event) {
    if (ended_) {
        event->accept();
        return;
    }
    // The window stays until the main window has heard the end of the session; the
    // server stays with it, so that no second quib starts meanwhile.
    event->ignore();
    if (!ending_) {
        ending_ = true;
        UseSource(nullptr);
        lister_.reset();
        setEnabled(false);
        link_.EndSession();
    }
}

}  // namespace quib
