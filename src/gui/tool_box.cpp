#include "gui/tool_box.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QPainter>

#include "app/tool_box.h"

// The pictures live in the resources of the widget library, which a static link would
// otherwise leave out.
static void LoadButtonPictures() { Q_INIT_RESOURCE(corvane); }

namespace corvane {

namespace {

// A button that is nothing but its two pictures: pressed while held down.
class PictureButton : public QAbstractButton {
public:
    PictureButton(QWidget* parent, const ToolButton& button)
        : QAbstractButton(parent),
          normal_(QStringLiteral(":/buttons/%1").arg(button.normal)),
          pressed_(QStringLiteral(":/buttons/%1").arg(button.pressed)) {
        setFocusPolicy(Qt::NoFocus);
        setFixedSize(kToolButtonSize, kToolButtonSize);
        setObjectName(QString::number(button.id));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawPixmap(0, 0, isDown() ? pressed_ : normal_);
    }

private:
    QPixmap normal_;
    QPixmap pressed_;
};

}  // namespace

ToolBox::ToolBox(QWidget& owner, const std::function<QString(int command)>& commandName)
    : QWidget(&owner, Qt::Tool) {
    LoadButtonPictures();
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QString());
    setFixedSize(kToolBoxClientWidth, kToolButtonSize);
    for (const ToolButton& button : kToolButtons) {
        auto* picture = new PictureButton(this, button);
        picture->move(button.left, 0);
        picture->setToolTip(commandName(button.command));
        connect(picture, &QAbstractButton::clicked, this,
                [this, id = button.id] { emit ButtonClicked(id); });
    }
}

void ToolBox::closeEvent(QCloseEvent* event) {
    emit Closed();
    event->accept();
}

}  // namespace corvane
