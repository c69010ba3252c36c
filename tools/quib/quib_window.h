#pragma once
// quib's window, titled "Quib": the session folder, the source of the frames (the folder
// watch, or an INDI camera with its mode and capture settings), the log of what was
// handed over, and "End session". While it is open it holds the local server by which
// the main window knows that quib runs.

#include <QDialog>
#include <QLocalServer>
#include <memory>

#include "frame_source.h"
#include "indi_settings.h"
#include "main_window_link.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace quib {

class IndiConnection;

enum class SourceKind { Folder, Indi };

struct QuibOptions {
    QString folder;        // the session folder: watched, or where frames are written
    QString singleFile;    // empty: every new matching file
    QStringList patterns;  // globs of the multi-file mode
    QString scope;         // server names' scope: the user name
    int settleMs = 1000;   // also the pause before a failed send is tried again
    int pollMs = 250;
    SourceKind source = SourceKind::Folder;  // Indi: the camera starts at once
    IndiRun indi;  // the camera's settings, shown in the window either way
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
    QGroupBox* MakeFolderBox();
    QGroupBox* MakeIndiBox();
    void ShowSource();
    void StartWatching();
    void ChooseFolder();
    void ListCameras();
    void FillCameras(const IndiConnection& connection);
    void StartCamera();
    void StopCamera();
    void UseSource(std::unique_ptr<FrameSource> source);
    void Report(const QString& line);

    QuibOptions options_;
    QLocalServer server_;
    MainWindowLink link_;
    std::unique_ptr<FrameSource> source_;
    std::unique_ptr<IndiConnection> lister_;  // lists the cameras before one is started
    QLineEdit* folderEdit_ = nullptr;
    QPushButton* chooseButton_ = nullptr;
    QRadioButton* folderChoice_ = nullptr;
    QRadioButton* indiChoice_ = nullptr;
    QGroupBox* folderBox_ = nullptr;
    QCheckBox* singleBox_ = nullptr;
    QLineEdit* singleEdit_ = nullptr;
    QGroupBox* indiBox_ = nullptr;
    QWidget* indiSettings_ = nullptr;
    QWidget* captureSettings_ = nullptr;
    QLineEdit* serverEdit_ = nullptr;
    QComboBox* cameraBox_ = nullptr;
    QRadioButton* captureChoice_ = nullptr;
    QDoubleSpinBox* exposureSpin_ = nullptr;
    QSpinBox* countSpin_ = nullptr;
    QDoubleSpinBox* delaySpin_ = nullptr;
    QSpinBox* binSpin_ = nullptr;
    QSpinBox* filterSpin_ = nullptr;
    QLineEdit* prefixEdit_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    bool ending_ = false;  // 1034 is on its way
    bool ended_ = false;   // 1034 answered or given up: the window may close
};

}  // namespace quib
