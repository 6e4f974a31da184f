#pragma once

#include "colors.h"
#include "usercontrol.h"

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
};
