#include "usercontrol.h"

#include "runtimeerror.h"

#include <QApplication>

namespace forms {

UserControl::UserControl(QWidget *parent) : QWidget(parent) {}

StdFont UserControl::AmbientFont() const
{
    const QWidget *container = parentWidget();
    return StdFont::fromQFont(container ? container->font() : QApplication::font());
}

bool UserControl::UserMode() const
{
    for (const QWidget *w = parentWidget(); w; w = w->parentWidget()) {
        const QVariant mode = w->property(UserModeProperty);
        if (mode.isValid())
            return mode.toBool();
    }
    return true;
}

void UserControl::setLeft(float left)
{
    Move(left);
}

void UserControl::setTop(float top)
{
    Move(Left(), top);
}

void UserControl::setWidth(float width)
{
    Move(Left(), Top(), width);
}

void UserControl::setHeight(float height)
{
    Move(Left(), Top(), Width(), height);
}

void UserControl::Move(float left, std::optional<float> top, std::optional<float> width,
                       std::optional<float> height)
{
    moveControl(this, left, top, width, height);
}

void UserControl::PropertyChanged(const QString &name)
{
    emit propertyChanged(name);
}

void UserControl::paintEvent(QPaintEvent *)
{
    dispatchEvent([this] { UserControl_Paint(); });
}

void UserControl::resizeEvent(QResizeEvent *)
{
    dispatchEvent([this] { UserControl_Resize(); });
}

} // namespace forms
