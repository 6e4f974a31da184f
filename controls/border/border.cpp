#include "border.h"

#include "borderaccessible.h"
#include "conversions.h"
#include "propertybag.h"
#include "runtimeerror.h"
#include "twips.h"

#include <QPainter>

#include <cmath>

namespace {

constexpr forms::OleColor DefaultDark = forms::SystemColor::ButtonShadow;
constexpr forms::OleColor DefaultLight = forms::SystemColor::ButtonHighlight;
constexpr float FixedHeight = 60;

float checkedSum(float a, float b)
{
    const float sum = a + b;
    if (!std::isfinite(sum))
        throw forms::RuntimeError::overflow();
    return sum;
}

} // namespace

const std::array<Border::StoredColor, 2> Border::StoredColors{{
    {"DarkColor", DefaultDark, &Border::linBorderDark},
    {"LightColor", DefaultLight, &Border::linBorderLight},
}};

Border::Border(QWidget *parent) : forms::UserControl(parent)
{
    // The lines' design-time settings: the dark one on the top row, the light one a pixel below.
    linBorderDark = {0, 0, 6300, 0, DefaultDark};
    linBorderLight = {0, 15, 6300, 15, DefaultLight};
    setAttribute(Qt::WA_OpaquePaintEvent);
    installBorderAccessibility();
    takeInitialPlace(7440, 3600);
    PositionLines();
}

float Border::ScaleWidth() const
{
    return float(width()) * forms::TwipsPerPixelX();
}

void Border::PositionLines()
{
    linBorderDark.X1 = ScaleLeft();
    linBorderDark.X2 = checkedSum(ScaleWidth(), ScaleLeft());
    linBorderLight.X1 = ScaleLeft();
    linBorderLight.X2 = checkedSum(ScaleWidth(), ScaleLeft());
    setHeight(FixedHeight);
}

void Border::setDarkColor(forms::OleColor color)
{
    linBorderDark.BorderColor = color;
    update();
    PropertyChanged(QStringLiteral("DarkColor"));
}

void Border::setLightColor(forms::OleColor color)
{
    linBorderLight.BorderColor = color;
    update();
    PropertyChanged(QStringLiteral("LightColor"));
}

QColor Border::qtDarkColor() const
{
    return forms::toQColor(DarkColor(), palette());
}

void Border::setQtDarkColor(const QColor &color)
{
    setDarkColor(forms::fromQColor(color));
}

QColor Border::qtLightColor() const
{
    return forms::toQColor(LightColor(), palette());
}

void Border::setQtLightColor(const QColor &color)
{
    setLightColor(forms::fromQColor(color));
}

void Border::ReadProperties(const forms::PropertyBag &bag)
{
    for (const StoredColor &entry : StoredColors) {
        (this->*entry.line).BorderColor = forms::toColor(bag.ReadProperty(
            QLatin1String(entry.name), QVariant::fromValue<quint32>(entry.storedDefault)));
        update();
    }
}

void Border::WriteProperties(forms::PropertyBag &bag) const
{
    for (const StoredColor &entry : StoredColors)
        bag.WriteProperty(QLatin1String(entry.name),
                          QVariant::fromValue<quint32>((this->*entry.line).BorderColor),
                          QVariant::fromValue<quint32>(entry.storedDefault));
}

void Border::UserControl_Resize()
{
    PositionLines();
}

void Border::UserControl_Paint()
{
    QPainter painter(this);
    painter.fillRect(rect(), forms::toQColor(forms::SystemColor::ButtonFace, palette()));
    drawLine(painter, linBorderDark);
    drawLine(painter, linBorderLight);
}

// A one-pixel line from X1 up to X2, the end point excluded as a drawn segment excludes it. On a
// scaled screen the line covers whole device pixels, as many rows as a pixel rounds to, starting
// at the device row where the border's pixel row begins.
void Border::drawLine(QPainter &painter, const LineObject &line) const
{
    const int x1 = forms::twipsToPixelsX(std::min(line.X1, line.X2));
    const int x2 = forms::twipsToPixelsX(std::max(line.X1, line.X2));
    const int y = forms::twipsToPixelsY(line.Y1);
    const QColor colour = forms::toQColor(line.BorderColor, palette());
    const qreal ratio = devicePixelRatioF();
    if (ratio == 1) {
        painter.fillRect(QRect(x1, y, std::max(x2 - x1, 1), 1), colour);
        return;
    }
    const QPointF origin = QPointF(mapTo(window(), QPoint(0, 0))) * ratio;
    const int thickness = std::max(1, qRound(ratio));
    const int top = qRound(origin.y()) + y * thickness;
    const int left = qRound(origin.x() + x1 * ratio);
    const int right = std::max(qRound(origin.x() + x2 * ratio), left + thickness);
    painter.save();
    painter.scale(1 / ratio, 1 / ratio);
    painter.translate(-origin);
    painter.fillRect(QRect(left, top, right - left, thickness), colour);
    painter.restore();
}

QSize Border::sizeHint() const
{
    return QSize(forms::twipsToPixelsX(1500), forms::twipsToPixelsY(FixedHeight));
}
