#pragma once

#include "geometry.h"
#include "stdfont.h"

#include <QWidget>

#include <optional>

namespace forms {

class PropertyBag;

// The base of a user control: a widget that its container creates, loads from and saves to a
// property bag, and places in twips. The container supplies the ambient properties: its font,
// and whether the window is running (UserMode True) or being designed (False).
class UserControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int Index READ Index WRITE setIndex)

public:
    explicit UserControl(QWidget *parent = nullptr);

    // Ambient properties of the container.
    StdFont AmbientFont() const;
    bool UserMode() const;

    // Lifecycle, called by the container: exactly one of InitProperties (a newly placed control)
    // or ReadProperties (a stored one) follows creation; WriteProperties runs on every save. The
    // container stores the extent itself, ahead of the control's own entries.
    virtual void InitProperties() {}
    virtual void ReadProperties(const PropertyBag &bag) { Q_UNUSED(bag) }
    virtual void WriteProperties(PropertyBag &bag) const { Q_UNUSED(bag) }

    // The container's view of the control's position and size, in twips.
    float Left() const { return twipsGeometry(this).left; }
    float Top() const { return twipsGeometry(this).top; }
    float Width() const { return twipsGeometry(this).width; }
    float Height() const { return twipsGeometry(this).height; }
    void setLeft(float left);
    void setTop(float top);
    void setWidth(float width);
    void setHeight(float height);
    void Move(float left, std::optional<float> top = std::nullopt,
              std::optional<float> width = std::nullopt,
              std::optional<float> height = std::nullopt);

    // Set by a container while it builds a control that has a stored place in it: the control
    // then takes that place as it is created instead of its design-time size, and hears of it
    // when first shown, after its stored properties are read. It never draws itself at a size it
    // will not keep.
    class StoredPlace
    {
    public:
        StoredPlace(const QWidget *container, const TwipsRect &place);
        ~StoredPlace();
        Q_DISABLE_COPY_MOVE(StoredPlace)
    };

    // The element's index in a control array of its window, or -1.
    int Index() const { return m_index; }
    void setIndex(int index) { m_index = index; }

    // Where the container marks a window as being designed: the nearest enclosing widget with a
    // "UserMode" property decides what the controls inside it see.
    static constexpr char UserModeProperty[] = "UserMode";

signals:
    // The control's persisted state has changed under this property name.
    void propertyChanged(const QString &name);

protected:
    // Tells the container that the stored definition no longer matches the control.
    void PropertyChanged(const QString &name);

    // The control's own paint and resize notifications.
    virtual void UserControl_Paint() {}
    virtual void UserControl_Resize() {}

    // Called once at the end of a control's constructor with its design-time size; true when the
    // control took a stored place instead.
    bool takeInitialPlace(float width, float height);

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    int m_index = -1;
};

} // namespace forms
