#pragma once
// quib's window, titled "Quib": the session folder, the source of the frames, the log of
// what was handed over, and "End session". While it is open it holds the local server
// by which the main window knows that quib runs.

#include <QDialog>
#include <QLocalServer>
#include <memory>

#include "frame_source.h"
#include "main_window_link.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

namespace quib {

struct QuibOptions {
    QString folder;              // the session folder: watched, or where frames are written
    QString singleFile;          // empty: every new matching file
    QStringList patterns;        // globs of the multi-file mode
    QString scope;               // server names' scope: the user name
    int settleMs = 1000;         // also the pause before a failed send is tried again
    int pollMs = 250;
};

class QuibWindow : public QDialog {
    Q_OBJECT
public:
    explicit QuibWindow(QuibOptions options);
    ~QuibWindow() override;

    // False when the "Quib" server could not be taken (another quib holds it).
    bool HoldsServer() const { return server_.isListening(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;  // Escape closes like the close box: the session ends

private:
    void StartWatching();
    void ChooseFolder();
    void UseSource(std::unique_ptr<FrameSource> source);
    void Report(const QString& line);

    QuibOptions options_;
    QLocalServer server_;
    MainWindowLink link_;
    std::unique_ptr<FrameSource> source_;
    QLineEdit* folderEdit_ = nullptr;
    QCheckBox* singleBox_ = nullptr;
    QLineEdit* singleEdit_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    bool ending_ = false;  // 1034 is on its way
    bool ended_ = false;   // 1034 answered or given up: the window may close
};

}  // namespace quib
