#pragma once
// The close-up window: a 128 × 128 magnifier of the display image around the pointer,
// with the green marker. It never keeps the keyboard: keys belong to the main window.

#include <QList>
#include <QWidget>
#include <QtGui/qrgb.h>
#include <functional>

#include "app/close_up.h"
#include "app/program.h"

namespace corvane {

class CloseUpWindow : public QWidget {
    Q_OBJECT
public:
    // `view` tells the main window's zoom and scroll at the moment of painting.
    CloseUpWindow(QWidget& owner, const Program& program, std::function<CloseUpView()> view);

    // The pointer message: client position over the main window.
    void SetPointer(int x, int y);
    ClientPoint Pointer() const { return pointer_; }

signals:
    void Closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void ReturnFocus();

    QWidget& owner_;
    const Program& program_;
    std::function<CloseUpView()> view_;
    ClientPoint pointer_;
    QList<QRgb> colours_;  // the display palette, fixed for the run
};

}  // namespace corvane
