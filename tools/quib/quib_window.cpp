#include "quib_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemWatcher>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocalSocket>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstdio>

#include "gui/local_server.h"
#include "platform/acquisition_protocol.h"

namespace quib {

namespace {

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

QuibWindow::QuibWindow(QuibOptions options)
    : options_(std::move(options)),
      link_(FromStd(corvane::MainWindowServerName(options_.scope.toStdString()))) {
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
    clock_.start();
    StartWatching();
    connect(&pollTimer_, &QTimer::timeout, this, &QuibWindow::Scan);
    pollTimer_.start(options_.pollMs);

    const QString serverName = FromStd(corvane::QuibServerName(options_.scope.toStdString()));
    if (!corvane::ListenAlone(server_, serverName)) {
        Report("Another quib is running (" + serverName + ")");
    }
}

QuibWindow::~QuibWindow() = default;

void QuibWindow::StartWatching() {
    WatchSettings settings;
    settings.folder = QDir(folderEdit_->text()).absolutePath().toStdString();
    for (const QString& pattern : options_.patterns) {
        settings.patterns.push_back(pattern.toStdString());
    }
    if (singleBox_->isChecked()) {
        settings.singleFile = singleEdit_->text().trimmed().toStdString();
    }
    settings.settleMs = options_.settleMs;
    if (watch_ && watch_->Settings().folder == settings.folder &&
        watch_->Settings().singleFile == settings.singleFile) {
        return;
    }
    watch_ = std::make_unique<FolderWatch>(settings, clock_.elapsed());

    delete systemWatch_;
    systemWatch_ = new QFileSystemWatcher(this);
    systemWatch_->addPath(FromStd(settings.folder));
    connect(systemWatch_, &QFileSystemWatcher::directoryChanged, this, &QuibWindow::Scan);
    connect(systemWatch_, &QFileSystemWatcher::fileChanged, this, &QuibWindow::Scan);
    if (!QDir(FromStd(settings.folder)).exists()) {
        Report("No such folder: " + FromStd(settings.folder));
    } else if (settings.singleFile.empty()) {
        Report("Watching " + FromStd(settings.folder) + " for new images");
    } else {
        Report("Watching " + FromStd(settings.folder) + "/" + FromStd(settings.singleFile));
    }
}

void QuibWindow::ChooseFolder() {
    const QString chosen =
        QFileDialog::getExistingDirectory(this, "Folder to watch", folderEdit_->text());
    if (!chosen.isEmpty()) {
        folderEdit_->setText(chosen);
        StartWatching();
    }
}

void QuibWindow::Scan() {
    if (sending_ || ended_ || !watch_) {
        return;
    }
    sending_ = true;
    for (const WatchAction& action : watch_->Scan(clock_.elapsed())) {
        const QString path = FromStd(action.path);
        QString error;
        if (action.kind == WatchActionKind::Release) {
            if (systemWatch_->files().contains(path)) {
                systemWatch_->removePath(path);
            }
            if (link_.Send(corvane::EncodeMessage(corvane::kCloseImageMessage),
                           corvane::kCloseImageMessage, error)) {
                Report("Released " + path);
            } else {
                Report("Could not release " + path + ": " + error);
            }
            continue;
        }
        if (link_.Send(corvane::EncodeCopyData(corvane::kLoadAfterReply, action.path),
                       corvane::kCopyDataMessage, error)) {
            Report("Handed over " + path);
        } else {
            Report("Could not hand over " + path + ": " + error);
        }
        // Told at once when the camera starts on the held file again.
        if (!systemWatch_->files().isEmpty()) {
            systemWatch_->removePaths(systemWatch_->files());
        }
        systemWatch_->addPath(path);
    }
    sending_ = false;
}

void QuibWindow::Report(const QString& line) {
    const QString stamped = QDateTime::currentDateTime().toString("HH:mm:ss.zzz") + "  " + line;
    log_->appendPlainText(stamped);
    std::fprintf(stdout, "%s\n", stamped.toLocal8Bit().constData());
    std::fflush(stdout);
}

void QuibWindow::reject() { close(); }

void QuibWindow::closeEvent(QCloseEvent* event) {
    if (!ended_) {
        ended_ = true;
        pollTimer_.stop();
        QString error;
        if (link_.Send(corvane::EncodeMessage(corvane::kSessionEndedMessage),
                       corvane::kSessionEndedMessage, error)) {
            Report("Session ended");
        } else {
            Report("Could not end the session: " + error);
        }
        server_.close();
    }
    event->accept();
}

}  // namespace quib
