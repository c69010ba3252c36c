#include "gui/qt_host.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>

#include "gui/edit_pixel_dialog.h"
#include "gui/header_dialog.h"
#include "gui/main_window.h"
#include "gui/manual_levels_dialog.h"
#include "gui/raw_options_dialog.h"

namespace corvane {

namespace {

QString ToQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtHost::QtHost(MainWindow& window, std::function<std::string()> idlePrompt)
    : window_(window), idlePrompt_(std::move(idlePrompt)) {}

MessageAnswer QtHost::ShowMessage(std::string_view caption, std::string_view text,
                                  MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(&window_);
    box.setWindowTitle(ToQt(caption));
    box.setText(ToQt(text));
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

void QtHost::SetCursor(CursorShape shape) { window_.SetImageCursor(shape); }

void QtHost::Beep(BeepKind) { QApplication::beep(); }

void QtHost::SetTitle(std::string_view title) { window_.setWindowTitle(ToQt(title)); }

void QtHost::ApplyMenuState(const MenuState& menu) { window_.ApplyMenuState(menu); }

void QtHost::InvalidateAll() { window_.update(); }

void QtHost::InvalidateRect(const PixelRect& rect) {
    window_.update(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void QtHost::UpdateWindow() { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

bool QtHost::RunRawOptionsDialog(RawDialogFields& fields, const DialogOk<RawDialogFields>& ok) {
    RawOptionsDialog dialog(fields, ok, &window_);
    return dialog.exec() == QDialog::Accepted;
}

// Header dialog
void QtHost::ShowHeaderDialog(const HeaderDialogFields& fields) {
    HeaderDialog dialog(fields, &window_);
    dialog.exec();
}

// Manual display levels
bool QtHost::RunManualLevelsDialog(ManualLevelsFields& fields,
                                   const DialogOk<ManualLevelsFields>& ok) {
    ManualLevelsDialog dialog(&window_, fields, ok);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    fields = dialog.Fields();
    return accepted;
}

// Pixel editing.
bool QtHost::RunEditPixelDialog(EditPixelDialogFields& fields,
                                const DialogOk<EditPixelDialogFields>& ok) {
    EditPixelDialog dialog(fields, ok, &window_);
    return dialog.exec() == QDialog::Accepted;
}

// --- Photometry dialogs: the widgets come with the photometry run; until then Cancel ---

bool QtHost::RunParamsDialog(ParamsDialogFields&, const DialogOk<ParamsDialogFields>&) {
    return false;
}

bool QtHost::RunSelectDialog(SelectDialogFields&, const DialogOk<SelectDialogFields>&) {
    return false;
}

}  // namespace corvane
