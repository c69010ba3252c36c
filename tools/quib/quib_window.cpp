#include "quib_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocalSocket>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstdio>

#include "folder_source.h"
#include "gui/local_server.h"
#include "platform/acquisition_protocol.h"

namespace quib {

namespace {

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

QuibWindow::QuibWindow(QuibOptions options)
    : options_(std::move(options)),
      link_(FromStd(corvane::MainWindowServerName(options_.scope.toStdString())),
            options_.settleMs) {
    setWindowTitle("Quib");
    auto* grid = new QGridLayout(this);

    folderEdit_ = new QLineEdit(QDir(options_.folder).absolutePath(), this);
    auto* choose = new QPushButton("Choose...", this);
    grid->addWidget(new QLabel("Folder:", this), 0, 0);
    grid->addWidget(folderEdit_, 0, 1);
    grid->addWidget(choose, 0, 2);

    singleBox_ = new QCheckBox("Single file:", this);
    singleBox_->setChecked(!options_.singleFile.isEmpty());
    singleEdit_ = new QLineEdit(options_.singleFile, this);
    singleEdit_->setPlaceholderText("the file the camera overwrites");
    grid->addWidget(singleBox_, 1, 0);
    grid->addWidget(singleEdit_, 1, 1, 1, 2);

    log_ = new QPlainTextEdit(this);
    log_->setReadOnly(true);
    log_->setMinimumSize(440, 160);
    grid->addWidget(log_, 2, 0, 1, 3);

    auto* end = new QPushButton("End session", this);
    end->setAutoDefault(false);
    grid->addWidget(end, 3, 2);

    connect(choose, &QPushButton::clicked, this, &QuibWindow::ChooseFolder);
    connect(end, &QPushButton::clicked, this, &QWidget::close);
    connect(folderEdit_, &QLineEdit::editingFinished, this, &QuibWindow::StartWatching);
    connect(singleEdit_, &QLineEdit::editingFinished, this, &QuibWindow::StartWatching);
    connect(singleBox_, &QCheckBox::toggled, this, &QuibWindow::StartWatching);
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
    // counts as new.
    StartWatching();

    const QString serverName = FromStd(corvane::QuibServerName(options_.scope.toStdString()));
    if (!corvane::ListenAlone(server_, serverName)) {
        Report("Another quib is running (" + serverName + ")");
    }
}

QuibWindow::~QuibWindow() = default;

void QuibWindow::UseSource(std::unique_ptr<FrameSource> source) {
    source_ = std::move(source);
    if (!source_) {
        return;
    }
    connect(source_.get(), &FrameSource::Report, this, &QuibWindow::Report);
    connect(source_.get(), &FrameSource::FrameReady, &link_, &MainWindowLink::HandOver);
    connect(source_.get(), &FrameSource::FrameRewritten, &link_, &MainWindowLink::Release);
}

void QuibWindow::StartWatching() {
    if (ending_) {
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
        QFileDialog::getExistingDirectory(this, "Folder to watch", folderEdit_->text());
    if (!chosen.isEmpty()) {
        folderEdit_->setText(chosen);
        StartWatching();
    }
}

void QuibWindow::Report(const QString& line) {
    const QString stamped = QDateTime::currentDateTime().toString("HH:mm:ss.zzz") + "  " + line;
    log_->appendPlainText(stamped);
    std::fprintf(stdout, "%s\n", stamped.toLocal8Bit().constData());
    std::fflush(stdout);
}

void QuibWindow::reject() { close(); }

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
        setEnabled(false);
        link_.EndSession();
    }
}

}  // namespace quib
