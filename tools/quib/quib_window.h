#pragma once
// quib's window, titled "Quib": the watched folder, the single-file choice, the log of
// what was handed over, and "End session". While it is open it holds the local server
// by which the main window knows that quib runs.

#include <QDialog>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QTimer>
#include <memory>

#include "folder_watch.h"
#include "main_window_link.h"

class QCheckBox;
class QFileSystemWatcher;
class QLineEdit;
class QPlainTextEdit;

namespace quib {

struct QuibOptions {
    QString folder;              // watched directory
    QString singleFile;          // empty: every new matching file
    QStringList patterns;        // globs of the multi-file mode
    QString scope;               // server names' scope: the user name
    int settleMs = 1000;
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
    void Scan();
    void ChooseFolder();
    void Report(const QString& line);

    QuibOptions options_;
    QLocalServer server_;
    MainWindowLink link_;
    std::unique_ptr<FolderWatch> watch_;
    QElapsedTimer clock_;
    QTimer pollTimer_;
    QFileSystemWatcher* systemWatch_ = nullptr;
    QLineEdit* folderEdit_ = nullptr;
    QCheckBox* singleBox_ = nullptr;
    QLineEdit* singleEdit_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    bool sending_ = false;  // a message is waiting for its reply
    bool ended_ = false;    // 1034 has been sent
};

}  // namespace quib
