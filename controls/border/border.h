#pragma once

#include "colors.h"
#include "usercontrol.h"

#include <array>

namespace forms {
class PropertyBag;
}

// A horizontal sunken separator: a one-pixel dark line with a one-pixel light line below it,
// both across the full width. The control fixes its own height at 60 twips; its container
// decides its position and width.
class Border : public forms::UserControl
{
    Q_OBJECT
    Q_PROPERTY(quint32 DarkColor READ DarkColor WRITE setDarkColor)
    Q_PROPERTY(quint32 LightColor READ LightColor WRITE setLightColor)
    // Views of the two colours as Qt Designer edits them and uic writes them: no state of their
    // own and no part of the stored set; each reads and writes the property its "View:" names.
    Q_CLASSINFO("View:qtDarkColor", "DarkColor")
    Q_CLASSINFO("View:qtLightColor", "LightColor")
    Q_PROPERTY(QColor qtDarkColor READ qtDarkColor WRITE setQtDarkColor)
    Q_PROPERTY(QColor qtLightColor READ qtLightColor WRITE setQtLightColor)

public:
    // A straight line on the control's surface, in its own scale (twips).
    struct LineObject
    {
        float X1 = 0;
        float Y1 = 0;
        float X2 = 0;
        float Y2 = 0;
        forms::OleColor BorderColor = 0;
    };

    explicit Border(QWidget *parent = nullptr);

    forms::OleColor DarkColor() const { return linBorderDark.BorderColor; }
    void setDarkColor(forms::OleColor color);
    forms::OleColor LightColor() const { return linBorderLight.BorderColor; }
    void setLightColor(forms::OleColor color);

    // A colour reads as the desktop shows it and is written as an ordinary colour.
    QColor qtDarkColor() const;
    void setQtDarkColor(const QColor &color);
    QColor qtLightColor() const;
    void setQtLightColor(const QColor &color);

    void ReadProperties(const forms::PropertyBag &bag) override;
    void WriteProperties(forms::PropertyBag &bag) const override;

    const LineObject &darkLine() const { return linBorderDark; }
    const LineObject &lightLine() const { return linBorderLight; }

    QSize sizeHint() const override;

protected:
    void UserControl_Paint() override;
    void UserControl_Resize() override;

private:
    void PositionLines();
    void drawLine(QPainter &painter, const LineObject &line) const;
    float ScaleLeft() const { return 0; }
    float ScaleWidth() const;

    LineObject linBorderDark;
    LineObject linBorderLight;

    // The stored set, in the order it is stored: each entry's name, its value when the set leaves
    // it out, and the line whose colour it is.
    struct StoredColor
    {
        const char *name;
        forms::OleColor storedDefault;
        LineObject Border::*line;
    };
    static const std::array<StoredColor, 2> StoredColors;
};
