#include "usercontrol.h"

#include "runtimeerror.h"

#include <QApplication>

#include <utility>

namespace forms {

namespace {

struct PendingPlace
{
    const QWidget *container = nullptr;
    TwipsRect place;
};

thread_local PendingPlace t_pendingPlace;

} // namespace

UserControl::StoredPlace::StoredPlace(const QWidget *container, const TwipsRect &place)
{
    t_pendingPlace = {container, place};
}

UserControl::StoredPlace::~StoredPlace()
{
    t_pendingPlace = {};
}

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

bool UserControl::takeInitialPlace(float width, float height)
{
    // Only the control the container is building takes the place, not one it builds inside.
    if (t_pendingPlace.container && t_pendingPlace.container == parentWidget()) {
        placeUntilShown(this, std::exchange(t_pendingPlace, {}).place);
        return true;
    }
    Move(0, 0, width, height);
    return false;
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
