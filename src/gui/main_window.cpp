#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSessionManager>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>

#include "app/command_ids.h"
#include "app/commands.h"
#include "app/image_commands.h"
#include "app/mouse_modes.h"
#include "app/wheel.h"
#include "app/window_layout.h"
#include "gui/accelerator_guard.h"
#include "gui/image_view.h"
#include "gui/modeless_windows.h"
#include "gui/qt_host.h"

// The resources live in a static library: they are registered by hand.
static void InitResources() { Q_INIT_RESOURCE(corvane); }

namespace corvane {

MainWindow::MainWindow(Program& program) : program_(program) {
    InitResources();
    setWindowTitle("Corvane32");
    setWindowIcon(QIcon(":/corvane.xpm"));
    host_ = std::make_unique<QtHost>(*this);
    host_->SetIdlePrompt([this] { return IdlePrompt(program_); });
    modeless_ = new ModelessWindows(*this, program_, *host_);
    cursors_ = LoadImageCursors();

    menu_ = BuildCorvaneMenu(menuBar(), this, [this](int id) { Command(id); });
    menuBar()->installEventFilter(this);
    auto* menuKey = new QAction(this);
    menuKey->setShortcut(QKeySequence(Qt::Key_F10));
    menuKey->setShortcutContext(Qt::ApplicationShortcut);
    connect(menuKey, &QAction::triggered, this, [this] { OpenMenuFromKeyboard(); });
    addAction(menuKey);
    new AcceleratorGuard(*this);
    modeless_->SetCommandNames(
        [this](int command) { return MenuItemName(*menu_.items.at(command)); });

    client_ = new QWidget(this);
    client_->setAutoFillBackground(true);
    QPalette white = client_->palette();
    white.setColor(QPalette::Window, Qt::white);
    client_->setPalette(white);
    setCentralWidget(client_);

    view_ = new ImageView(program_, client_);
    view_->SetHost(host_.get());
    view_->setCursor(cursors_.cross);

    horizontal_ = new QScrollBar(Qt::Horizontal, client_);
    vertical_ = new QScrollBar(Qt::Vertical, client_);
    for (QScrollBar* bar : {horizontal_, vertical_}) {
        bar->setTracking(false);  // the view moves when the thumb is released
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setRange(0, 0);
        bar->installEventFilter(this);
    }
    connect(horizontal_, &QScrollBar::actionTriggered, this,
            [this](int action) { Scroll(ScrollBarKind::Horizontal, action); });
    connect(vertical_, &QScrollBar::actionTriggered, this,
            [this](int action) { Scroll(ScrollBarKind::Vertical, action); });
    connect(horizontal_, &QScrollBar::sliderReleased, this,
            [this] { Scroll(ScrollBarKind::Horizontal, -1); });
    connect(vertical_, &QScrollBar::sliderReleased, this,
            [this] { Scroll(ScrollBarKind::Vertical, -1); });

    corner_ = new QWidget(client_);  // nothing is drawn in it
    corner_->installEventFilter(this);

    status_ = new QStatusBar(client_);
    status_->setSizeGripEnabled(true);
    status_->installEventFilter(this);
    for (int i = 0; i < 3; ++i) {
        panes_[i] = new QLabel(status_);
        // The prompt pane is drawn without a border.
        panes_[i]->setFrameStyle(i == 1 ? QFrame::NoFrame : (QFrame::Panel | QFrame::Sunken));
        panes_[i]->setTextFormat(Qt::PlainText);
    }
    progress_ = new QProgressBar(status_);
    progress_->setTextVisible(false);
    progress_->hide();
    statusHeight_ = std::max(20, panes_[0]->fontMetrics().height() + 8);

    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (!OnCloseRequest(program_, *host_)) {
            manager.cancel();
        }
    });
    resize(kEmptyWindowWidth, 10);
}

MainWindow::~MainWindow() = default;

Host& MainWindow::GetHost() { return *host_; }

QScrollBar* MainWindow::ScrollBar(ScrollBarKind bar) const {
    return bar == ScrollBarKind::Horizontal ? horizontal_ : vertical_;
}

int MainWindow::MenuBarHeight() const { return menuBar()->sizeHint().height(); }

void MainWindow::Start(const std::string& commandLine) {
    modeless_->Acquisition().Start(AcquisitionLink::DefaultOptions());
    StartMainWindow(program_, *host_, QDir::currentPath().toStdString());
    started_ = true;
    OpenCommandLineFile(program_, *host_, commandLine);
}

void MainWindow::Command(int id) { OnCommand(program_, *host_, id); }

void MainWindow::ApplyMenuState(const MenuState& menu) {
    for (std::size_t i = 0; i < menu_.top.size(); ++i) {
        menu_.top[i]->setTitle(TitleWithMnemonic(menu.titles[i], static_cast<int>(i)));
        menu_.top[i]->menuAction()->setEnabled(menu.topEnabled[i]);
    }
    menu_.items.at(command::kNext)->setEnabled(menu.nextEnabled);
    menu_.items.at(command::kReload)->setEnabled(menu.reloadEnabled);
    menu_.items.at(command::kOutputFiles)->setEnabled(menu.outputFilesEnabled);
    menu_.items.at(command::kAcquire)->setEnabled(menu.acquireEnabled);
    menu_.items.at(command::kSmallRoi)->setChecked(menu.smallRoiChecked);
    menu_.items.at(command::kLightcurve)->setEnabled(menu.lightcurveEnabled);
}

void MainWindow::OpenMenuFromKeyboard() {
    // Refused, as a click on the menu bar is, while a mode waits for its click.
    if (!AllowNonClientClick(program_, *host_, NonClientArea::MenuBar)) {
        return;
    }
    activateWindow();
    menuBar()->setActiveAction(menu_.top[kMenuFile]->menuAction());
}

void MainWindow::CloseByCommand() {
    closingByCommand_ = true;
    close();
    closingByCommand_ = false;
}

void MainWindow::Scroll(ScrollBarKind kind, int action) {
    QScrollBar* bar = ScrollBar(kind);
    ScrollCode code = ScrollCode::Other;
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub: code = ScrollCode::LineUp; break;
        case QAbstractSlider::SliderSingleStepAdd: code = ScrollCode::LineDown; break;
        case QAbstractSlider::SliderPageStepSub: code = ScrollCode::PageUp; break;
        case QAbstractSlider::SliderPageStepAdd: code = ScrollCode::PageDown; break;
        case QAbstractSlider::SliderMove: code = ScrollCode::ThumbTrack; break;
        case -1: code = ScrollCode::ThumbPosition; break;
        default: break;
    }
    if (code == ScrollCode::ThumbTrack) {
        return;  // the thumb moves alone until it is released
    }
    OnScroll(program_, *host_, kind, code, bar->sliderPosition());
    // Whatever the bar did by itself, it shows the offset the view has.
    const ViewState& view = program_.shell.view;
    const int offset =
        kind == ScrollBarKind::Horizontal ? view.horizontalOffset : view.verticalOffset;
    bar->setSliderPosition(offset);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    host_->NoteWindowSize(event->size());
    if (!started_ || sizing_ > 0) {
        return;
    }
    ++sizing_;
    const SizeKind kind = isMinimized()   ? SizeKind::Other
                          : isMaximized() ? SizeKind::Maximized
                                          : SizeKind::Restored;
    OnSize(program_, *host_, kind, width(), height() - MenuBarHeight());
    --sizing_;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The close box is a caption button: refused while a mode waits for its click.
    if (!closingByCommand_ && event->spontaneous() &&
        !AllowNonClientClick(program_, *host_, NonClientArea::CaptionButton)) {
        event->ignore();
        return;
    }
    if (!OnCloseRequest(program_, *host_)) {
        event->ignore();
        return;
    }
    event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        const QPoint p = view_->mapFromGlobal(QCursor::pos());
        OnCancel(program_, *host_, p.x(), p.y());
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isMaximized()) {
        return;
    }
    // Maximizing is refused without an image, and while a mode waits for its click.
    const bool refused =
        !AllowSizeCommand(program_) || !AllowNonClientDoubleClick(program_, *host_);
    if (refused) {
        QTimer::singleShot(0, this, [this] { showNormal(); });
    }
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::Leave && started_) {
        OnNonClientMove(program_, *host_);
    }
    return QMainWindow::event(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (!started_) {
        return QMainWindow::eventFilter(watched, event);
    }
    if (watched == menuBar()) {
        switch (event->type()) {
            case QEvent::Enter:
                OnNonClientMove(program_, *host_);
                break;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::Shortcut:  // Alt and a title's letter
                if (!AllowNonClientClick(program_, *host_, NonClientArea::MenuBar)) {
                    return true;
                }
                break;
            default:
                break;
        }
    } else if (event->type() == QEvent::Wheel && (watched == horizontal_ || watched == vertical_)) {
        // The view moves with the bar; the bar alone would only move its thumb.
        const WheelTarget target =
            watched == horizontal_ ? WheelTarget::HorizontalBar : WheelTarget::VerticalBar;
        OnWheel(program_, *host_, WheelTurnOf(*static_cast<QWheelEvent*>(event), target));
        return true;
    } else if (event->type() == QEvent::Enter) {
        OnPointerOverChild(program_, *host_);
    }
    return QMainWindow::eventFilter(watched, event);
}

namespace {

// The local files a drag carries; empty when it carries anything else as well.
QStringList DraggedFiles(const QMimeData* data) {
    QStringList files;
    if (data == nullptr || !data->hasUrls()) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) {
            return {};
        }
        files << url.toLocalFile();
    }
    return files;
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QStringList files = DraggedFiles(event->mimeData());
    if (!files.isEmpty() && AcceptsDrop(program_, static_cast<std::size_t>(files.size()))) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QStringList files = DraggedFiles(event->mimeData());
    if (files.isEmpty() || !AcceptsDrop(program_, static_cast<std::size_t>(files.size()))) {
        return;
    }
    event->acceptProposedAction();
    // Loaded once the drop is over: the dragging program waits for its answer meanwhile,
    // and a load may ask questions.
    const std::string path = files.first().toStdString();
    QTimer::singleShot(0, this, [this, path] { OpenDroppedFile(program_, *host_, path); });
}

}  // namespace corvane
