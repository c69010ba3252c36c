#include "gui/qt_host.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <algorithm>

#include "app/screen_placement.h"
#include "gui/about_box.h"
#include "gui/append_box.h"
#include "gui/confirm_box.h"
#include "gui/desktop_geometry.h"
#include "gui/edit_pixel_dialog.h"
#include "gui/header_dialog.h"
#include "gui/image_view.h"
#include "gui/main_window.h"
#include "gui/manual_levels_dialog.h"
#include "gui/modeless_windows.h"
#include "gui/raw_options_dialog.h"

#include "gui/open_dialog.h"
#include "gui/output_files_dialog.h"
#include "gui/params_dialog.h"
#include "gui/results_box.h"
#include "gui/select_dialog.h"

namespace corvane {

namespace {

QString ToQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtHost::QtHost(MainWindow& window) : window_(window) {}

// Every box and dialog of the main window runs inside one of these: hand-overs that
// arrive during its event loop wait, and are handled once the last loop has ended. Then
// the keyboard goes back to the main window, where the accelerators act: a window manager
// may leave it nowhere when a box closes.
QtHost::ModalLoop::ModalLoop(QtHost& host) : host_(host) { ++host_.modalDepth_; }

QtHost::ModalLoop::~ModalLoop() {
    if (--host_.modalDepth_ == 0) {
        host_.window_.activateWindow();
        host_.window_.setFocus(Qt::ActiveWindowFocusReason);
        host_.PostHandOverDrain();
    }
}

// The program's own boxes and dialogs are counted; any other modal dialog (the lightcurve
// window's file and export dialogs) runs an event loop just the same.
bool QtHost::InModalLoop() {
    return modalDepth_ > 0 || QApplication::activeModalWidget() != nullptr;
}

void QtHost::PostHandOverDrain() { window_.Modeless().Acquisition().PostDrain(); }

void QtHost::WatchAcquisitionProgram(int pid) { window_.Modeless().Acquisition().WatchQuib(pid); }

MessageAnswer QtHost::ShowMessage(std::string_view caption, std::string_view text,
                                  MessageIcon icon, MessageButtons buttons) {
    ModalLoop loop(*this);
    QMessageBox box(&window_);
    box.setWindowTitle(ToQt(caption));
    box.setText(ToQt(text));
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
        case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
        case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

void QtHost::SetPaneText(Pane pane, std::string_view text) {
    window_.Pane(static_cast<int>(pane))->setText(ToQt(text));
}

void QtHost::BeginProgress(int steps) {
    QProgressBar* bar = window_.ProgressBar();
    bar->setRange(0, steps);
    bar->setValue(0);
    bar->show();
}

void QtHost::StepProgress() {
    QProgressBar* bar = window_.ProgressBar();
    bar->setValue(bar->value() + 1);
}

void QtHost::EndProgress() {
    window_.ProgressBar()->hide();
    SetPaneText(Pane::Prompt, idlePrompt_ ? idlePrompt_() : std::string());
    SetPaneText(Pane::Readout, "");
}

void QtHost::PushWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void QtHost::PopWaitCursor() { QApplication::restoreOverrideCursor(); }

void QtHost::SetCursor(CursorShape shape) {
    ImageView* view = window_.View();
    const QCursor& cursor = window_.Cursors().For(shape);
    if (shape == CursorShape::Arrow) {
        view->unsetCursor();
    } else if (view->cursor().pixmap().cacheKey() != cursor.pixmap().cacheKey()) {
        view->setCursor(cursor);
    }
}

void QtHost::Beep(BeepKind) { QApplication::beep(); }

void QtHost::SetTitle(std::string_view title) { window_.setWindowTitle(ToQt(title)); }

void QtHost::ApplyMenuState(const MenuState& menu) { window_.ApplyMenuState(menu); }

void QtHost::InvalidateAll() { window_.View()->update(); }

void QtHost::InvalidateRect(const PixelRect& rect) {
    window_.View()->update(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void QtHost::UpdateWindow() {
    // Only what is due for the screen: pending layouts, then the paint itself. The event
    // loop does not run, so no click, timer or hand-over gets inside the operation that
    // asked for the repaint.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    window_.repaint();
}

bool QtHost::RunRawOptionsDialog(RawDialogFields& fields, const DialogOk<RawDialogFields>& ok) {
    ModalLoop loop(*this);
    RawOptionsDialog dialog(fields, ok, &window_);
    return dialog.exec() == QDialog::Accepted;
}

// Header dialog
void QtHost::ShowHeaderDialog(const HeaderDialogFields& fields) {
    ModalLoop loop(*this);
    HeaderDialog dialog(fields, &window_);
    dialog.exec();
}

// Manual display levels
bool QtHost::RunManualLevelsDialog(ManualLevelsFields& fields,
                                   const DialogOk<ManualLevelsFields>& ok) {
    ModalLoop loop(*this);
    ManualLevelsDialog dialog(&window_, fields, ok);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    fields = dialog.Fields();
    return accepted;
}

// Pixel editing.
bool QtHost::RunEditPixelDialog(EditPixelDialogFields& fields,
                                const DialogOk<EditPixelDialogFields>& ok) {
    ModalLoop loop(*this);
    EditPixelDialog dialog(fields, ok, &window_);
    return dialog.exec() == QDialog::Accepted;
}

// --- Photometry dialogs ---

bool QtHost::RunParamsDialog(ParamsDialogFields& fields, const DialogOk<ParamsDialogFields>& ok) {
    ModalLoop loop(*this);
    ParamsDialog dialog(&window_, fields, ok);
    return dialog.exec() == QDialog::Accepted;
}

bool QtHost::RunSelectDialog(SelectDialogFields& fields, const DialogOk<SelectDialogFields>& ok) {
    ModalLoop loop(*this);
    SelectDialog dialog(&window_, fields, ok);
    return dialog.exec() == QDialog::Accepted;
}

// --- main window geometry, file dialog, about box, modeless windows ---

WindowMetrics QtHost::GetWindowMetrics() {
    // The frame is symmetric left and right; the caption is what the top has beyond the
    // bottom. The menu bar lies inside the widget, and counts as non-client here.
    const QMargins frame = FrameMargins(window_);
    WindowMetrics m;
    m.sizingFrameWidth = std::max(0, frame.left());
    m.sizingFrameHeight = std::max(0, frame.bottom());
    m.captionHeight = std::max(0, frame.top() - frame.bottom());
    m.menuHeight = window_.MenuBarHeight();
    const int bar = window_.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m.verticalScrollWidth = bar;
    m.horizontalScrollHeight = bar;
    m.statusBarHeight = window_.StatusBarHeight();
    const QRect work = AvailableArea(window_);
    m.workAreaRight = work.width();
    m.workAreaBottom = work.height();
    m.maximized = window_.isMaximized();
    return m;
}

PixelSize QtHost::SetWindowSize(int width, int height, bool atOrigin) {
    const QMargins frame = FrameMargins(window_);
    const QSize size(std::max(1, width - 2 * std::max(0, frame.left())),
                     std::max(1, height - std::max(0, frame.top()) - std::max(0, frame.bottom())));
    const int menu = window_.MenuBarHeight();
    if (window_.isMaximized()) {
        QScreen* screen = window_.screen();
        const QRect work = screen != nullptr ? screen->availableGeometry() : QRect();
        if (width >= work.width() && height >= work.height()) {
            // The window manager keeps a maximized window on the work area.
            return {size.width(), size.height() - menu};
        }
        window_.showNormal();
        window_.move(work.topLeft());
    } else if (atOrigin) {
        if (QScreen* screen = window_.screen()) window_.move(screen->availableGeometry().topLeft());
    }
    if (!limits_.resizable) {
        window_.setFixedSize(size);
    } else {
        window_.setMinimumSize(window_.minimumSize().boundedTo(size));
        window_.setMaximumSize(window_.maximumSize().expandedTo(size));
        window_.resize(size);
    }
    // A window manager may apply the size later; the window has it once the size limits
    // allow it, and the layout goes by that.
    widgetSize_ = size.expandedTo(window_.minimumSize()).boundedTo(window_.maximumSize());
    return {widgetSize_.width(), widgetSize_.height() - menu};
}

void QtHost::NoteWindowSize(QSize size) { widgetSize_ = size; }

PixelSize QtHost::GetClientSize() {
    const QSize size = widgetSize_.isValid() ? widgetSize_ : window_.size();
    return {size.width(), size.height() - window_.MenuBarHeight()};
}

bool QtHost::PlaceChildren(const ChildLayout& layout) {
    const int s = window_.StatusBarHeight();
    const int cw = layout.statusBarWidth;
    auto place = [](QWidget* w, const ChildRect& r) {
        w->setGeometry(r.x, r.y, std::max(0, r.width), std::max(0, r.height));
    };
    window_.View()->setGeometry(0, 0, std::max(0, layout.horizontalBar.width),
                                std::max(0, layout.verticalBar.height));
    place(window_.ScrollBar(ScrollBarKind::Horizontal), layout.horizontalBar);
    place(window_.ScrollBar(ScrollBarKind::Vertical), layout.verticalBar);
    place(window_.Corner(), layout.corner);
    window_.Status()->setGeometry(0, layout.corner.y + layout.corner.height, std::max(0, cw), s);
    int left = 0;
    for (int i = 0; i < 3; ++i) {
        const int edge = layout.paneRightEdges[static_cast<std::size_t>(i)];
        const int right = edge < 0 ? cw : std::min(edge, cw);
        window_.Pane(i)->setGeometry(left, 0, std::max(0, right - left), s);
        left = std::max(left, right);
    }
    place(window_.ProgressBar(), layout.progress);
    window_.ProgressBar()->hide();
    return true;
}

void QtHost::SetScrollBar(ScrollBarKind kind, const ScrollBarState& state) {
    QScrollBar* bar = window_.ScrollBar(kind);
    // The program counts like a Win32 bar: the last position is max − page + 1.
    const int last = std::max(state.min, state.max - std::max(state.page - 1, 0));
    const QSignalBlocker block(bar);
    bar->setRange(state.min, last);
    bar->setPageStep(std::max(1, state.page));
    bar->setSingleStep(1);
    bar->setValue(state.position);
    bar->setEnabled(state.enabled);
}

void QtHost::SetScrollPosition(ScrollBarKind kind, int position) {
    QScrollBar* bar = window_.ScrollBar(kind);
    const QSignalBlocker block(bar);
    bar->setValue(position);
    bar->setSliderPosition(position);
}

void QtHost::ApplySizeLimits() {
    const QMargins frame = FrameMargins(window_);
    const int fw = 2 * std::max(0, frame.left());
    const int fh = std::max(0, frame.top()) + std::max(0, frame.bottom());
    const QSize now = window_.size();
    if (!limits_.resizable) {
        window_.setFixedSize(now);
        return;
    }
    const QSize minimum(std::max(1, limits_.minWidth - fw), std::max(1, limits_.minHeight - fh));
    const QSize maximum(std::max(1, limits_.maxWidth - fw), std::max(1, limits_.maxHeight - fh));
    window_.setMinimumSize(minimum.boundedTo(now));
    window_.setMaximumSize(maximum.expandedTo(now));
}

void QtHost::SetSizeLimits(const SizeLimits& limits) {
    limits_ = limits;
    ApplySizeLimits();
}

std::optional<OpenFileChoice> QtHost::RunOpenFileDialog(const OpenFileRequest& request) {
    ModalLoop loop(*this);
    return RunOpenDialog(request, &window_);
}

void QtHost::ShowAboutBox(std::string_view versionText) {
    ModalLoop loop(*this);
    AboutBox box(ToQt(versionText), &window_);
    box.exec();
}

void QtHost::RequestClose() { window_.CloseByCommand(); }

void QtHost::CloseModeless(ModelessWindow window) { window_.Modeless().Close(window); }

void QtHost::SetCloseUpTitle(std::string_view title) { window_.Modeless().SetCloseUpTitle(title); }

void QtHost::SendCloseUpPointer(int x, int y) { window_.Modeless().SendCloseUpPointer(x, y); }

void QtHost::OpenModeless(ModelessWindow window) { window_.Modeless().Open(window); }

void QtHost::InvalidateCloseUp() { window_.Modeless().InvalidateCloseUp(); }

bool QtHost::AcquisitionWindowOpen() { return window_.Modeless().Acquisition().QuibWindowOpen(); }

bool QtHost::StartAcquisitionProgram() { return window_.Modeless().Acquisition().StartQuib(); }

void QtHost::RestoreIfMinimized() {
    if (window_.isMinimized()) {
        window_.showNormal();
    }
}

// --- Photometry output files and the run's two boxes ---

bool QtHost::RunOutputFilesDialog(OutputFilesDialogFields& fields,
                                  const DialogEnter<OutputFilesDialogFields>& enter,
                                  const DialogOk<OutputFilesDialogFields>& ok) {
    ModalLoop loop(*this);
    OutputFilesDialog dialog(&window_, fields, enter, ok);
    return dialog.exec() == QDialog::Accepted;
}

AppendChoice QtHost::AskAppend(std::string_view text) {
    ModalLoop loop(*this);
    return RunAppendBox(&window_, ToQt(text));
}

bool QtHost::RunConfirmBox() {
    ModalLoop loop(*this);
    ConfirmBox box(&window_);
    // The marks being confirmed, on the screen; the bar's frame as the main window's.
    std::vector<PixelRect> marks = OverlayBounds(window_.Model());
    const QPoint origin = window_.View()->mapToGlobal(QPoint(0, 0));
    for (PixelRect& r : marks) {
        r = {r.left + origin.x(), r.top + origin.y(), r.right + origin.x(), r.bottom + origin.y()};
    }
    const ScreenPoint at =
        PlaceConfirmBar(DesktopOf(window_, window_.View()), OuterSize(box.size(), window_), marks);
    box.move(at.x, at.y);
    return box.exec() == QDialog::Accepted;
}

bool QtHost::RunResultsBox(const std::vector<std::string>& rows) {
    ModalLoop loop(*this);
    return corvane::RunResultsBox(&window_, rows);
}

}  // namespace corvane
