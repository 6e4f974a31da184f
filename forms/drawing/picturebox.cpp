// PictureBox, the widget: its scale, its image at device pixels, what it shows, the pointer shape
// and the events it reports. Drawing, the kept steps and the rasteriser are in
// pictureboxdrawing.cpp, pictureboxkeeping.cpp and pictureboxraster.cpp.
#include "picturebox.h"

#include "keyascii.h"
#include "runtimeerror.h"
#include "surfaceimages.h"
#include "twips.h"
#include "windowsystem.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace forms {

namespace {

// Coordinates are clamped far outside any surface so that wild values cannot overflow.
constexpr double PixelLimit = 1.0e6;

int roundToPixel(double v)
{
    if (std::isnan(v))
        return 0;
    return int(std::floor(std::clamp(v, -PixelLimit, PixelLimit) + 0.5));
}

// A measuring device with the screen's logical DPI, so text measures as it will be drawn.
const QImage &referenceDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const QScreen *screen = QGuiApplication::primaryScreen();
        const qreal dpi = screen ? screen->logicalDotsPerInchX() : 96;
        image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
        image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
        return image;
    }();
    return device;
}

qint16 buttonCode(Qt::MouseButtons buttons)
{
    qint16 code = 0;
    if (buttons & Qt::LeftButton)
        code |= 1;
    if (buttons & Qt::RightButton)
        code |= 2;
    if (buttons & Qt::MiddleButton)
        code |= 4;
    return code;
}

Qt::CursorShape cursorShape(qint16 pointer)
{
    switch (pointer) {
    case 2:
        return Qt::CrossCursor;
    case 3:
        return Qt::IBeamCursor;
    case 4:
        return Qt::DragMoveCursor;
    case 5:
        return Qt::SizeAllCursor;
    case 6:
        return Qt::SizeBDiagCursor;
    case 7:
        return Qt::SizeVerCursor;
    case 8:
        return Qt::SizeFDiagCursor;
    case 9:
        return Qt::SizeHorCursor;
    case 10:
        return Qt::UpArrowCursor;
    case 11:
        return Qt::WaitCursor;
    case 12:
        return Qt::ForbiddenCursor;
    case 13:
        return Qt::BusyCursor;
    case 14:
        return Qt::WhatsThisCursor;
    case 15:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace

PictureBox::PictureBox(QWidget *parent) : QWidget(parent), m_text(&referenceDevice())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // Fonts added to or removed from the application can change what a face name resolves to.
    connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, this, [this] {
        flushSteps();
        m_text.clear();
        forgetAllDrawn();
        m_painterFont.reset();
    });
}

PictureBox::~PictureBox()
{
    forgetAllDrawn();
}

void PictureBox::Move(float left, std::optional<float> top, std::optional<float> width,
                      std::optional<float> height)
{
    moveControl(this, left, top, width, height);
}

float PictureBox::ScaleWidth() const
{
    return m_userScale ? m_scaleWidth : float(width()) * TwipsPerPixelX();
}

float PictureBox::ScaleHeight() const
{
    return m_userScale ? m_scaleHeight : float(height()) * TwipsPerPixelY();
}

void PictureBox::setScaleWidth(float width)
{
    if (!m_userScale) {
        m_scaleHeight = ScaleHeight();
        m_userScale = true;
    }
    m_scaleWidth = width;
}

void PictureBox::setScaleHeight(float height)
{
    if (!m_userScale) {
        m_scaleWidth = ScaleWidth();
        m_userScale = true;
    }
    m_scaleHeight = height;
}

double PictureBox::unitsPerPixelX() const
{
    if (!m_userScale)
        return TwipsPerPixelX();
    return width() > 0 ? double(m_scaleWidth) / width() : 0.0;
}

double PictureBox::unitsPerPixelY() const
{
    if (!m_userScale)
        return TwipsPerPixelY();
    return height() > 0 ? double(m_scaleHeight) / height() : 0.0;
}

int PictureBox::toPixelX(float x) const
{
    const double units = unitsPerPixelX();
    return units == 0 ? 0 : roundToPixel((double(x) - ScaleLeft()) / units);
}

int PictureBox::toPixelY(float y) const
{
    const double units = unitsPerPixelY();
    return units == 0 ? 0 : roundToPixel((double(y) - ScaleTop()) / units);
}

// On a scaled screen a widget's edges fall between device pixels; the image covers exactly the
// device pixels whose centres the widget covers, counted from its place in the window.
QRect PictureBox::deviceRect() const
{
    const qreal ratio = devicePixelRatioF();
    if (ratio == 1)
        return QRect(QPoint(0, 0), size());
    const QPoint origin = mapTo(window(), QPoint(0, 0));
    const QPoint topLeft(qRound(origin.x() * ratio), qRound(origin.y() * ratio));
    const QPoint end(qRound((origin.x() + width()) * ratio),
                     qRound((origin.y() + height()) * ratio));
    return QRect(topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y()));
}

// The most device pixels a surface keeps: what the desktop shows at once. Of a control larger than
// that, the part from its top left corner is drawn, so that no stored size can ask for gigabytes.
QSize PictureBox::largestImage()
{
    QSize largest;
    for (const QScreen *screen : QGuiApplication::screens())
        largest = largest.expandedTo(
            (QSizeF(screen->virtualSize()) * screen->devicePixelRatio()).toSize());
    return largest.isEmpty() ? QSize(4096, 4096) : largest;
}

void PictureBox::ensureImage(OldDrawing old)
{
    const qreal ratio = devicePixelRatioF();
    const QSize deviceSize = deviceRect().size().boundedTo(largestImage());
    if (m_image.size() == deviceSize && m_image.devicePixelRatio() == ratio)
        return;
    flushSteps();
    endPainting();
    // Faces drawn at the old size are not drawn again at the new one.
    forgetAllDrawn();
    const QImage &reference = referenceDevice();
    const QColor back = toQColor(m_backColor, palette());
    if (old == OldDrawing::Dropped || m_image.isNull()) {
        // Nothing of the old image is needed, so it goes before the new one is taken.
        m_image = QImage();
        m_image = SurfaceImages::blank(deviceSize, ratio, reference, back.rgb());
        return;
    }
    QImage image = SurfaceImages::allocate(deviceSize);
    // Where the pixels left cannot give the new size whole, the surface keeps what it has if that
    // is more.
    if (image.size() != deviceSize && m_image.devicePixelRatio() == ratio &&
        qint64(image.width()) * image.height() <= qint64(m_image.width()) * m_image.height())
        return;
    if (!image.isNull()) {
        image.setDevicePixelRatio(ratio);
        image.setDotsPerMeterX(reference.dotsPerMeterX());
        image.setDotsPerMeterY(reference.dotsPerMeterY());
        image.fill(back);
        QPainter copy(&image);
        copy.drawImage(0, 0, m_image);
    }
    m_image = image;
}

void PictureBox::setBackColor(OleColor color)
{
    m_backColor = color;
    Cls();
}

QImage PictureBox::Image()
{
    flushSteps();
    endPainting();
    ensureImage();
    return m_image;
}

void PictureBox::Refresh()
{
    endPainting();
    if (!isVisible() || m_inPaintNotification)
        return;
    m_refreshing = true;
    repaint();
    m_refreshing = false;
    flushWindowSystem();
}

void PictureBox::setMousePointer(qint16 pointer)
{
    if (!((pointer >= 0 && pointer <= 15) || pointer == 99))
        throw RuntimeError::invalidPropertyValue();
    m_mousePointer = pointer;
    applyCursor();
}

void PictureBox::setMouseIcon(const StdPicture &icon)
{
    m_mouseIcon = icon;
    applyCursor();
}

void PictureBox::applyCursor()
{
    m_iconCursorPending = false;
    if (m_mousePointer == 0 || (m_mousePointer == 99 && m_mouseIcon.isNull())) {
        unsetCursor();
        return;
    }
    if (m_mousePointer == 99) {
        // The icon is decoded when the pointer first comes over the surface, not as the window
        // is built.
        if (underMouse()) {
            applyIconCursor();
        } else {
            unsetCursor();
            m_iconCursorPending = true;
        }
        return;
    }
    setCursor(cursorShape(m_mousePointer));
}

void PictureBox::applyIconCursor()
{
    m_iconCursorPending = false;
    const QImage image = m_mouseIcon.image();
    if (image.isNull()) {
        unsetCursor();
        return;
    }
    setCursor(
        QCursor(QPixmap::fromImage(image), m_mouseIcon.hotSpot().x(), m_mouseIcon.hotSpot().y()));
}

void PictureBox::paintEvent(QPaintEvent *)
{
    if (!m_refreshing && !m_inPaintNotification) {
        m_inPaintNotification = true;
        dispatchEvent([this] { emit Paint(); });
        m_inPaintNotification = false;
    }
    flushSteps();
    endPainting();
    ensureImage();
    QPainter painter(this);
    // Where the image ends short of the surface (the desktop's size, or the pixels of all surfaces
    // together), the surface shows its back colour.
    if (m_image.size() != deviceRect().size())
        painter.fillRect(rect(), toQColor(m_backColor, palette()));
    const qreal ratio = m_image.devicePixelRatio();
    if (ratio == 1) {
        painter.drawImage(0, 0, m_image);
        return;
    }
    // Pixel for pixel, starting at the device pixel where the widget's first one lies.
    const QPointF start = QPointF(deviceRect().topLeft()) / ratio - mapTo(window(), QPoint(0, 0));
    painter.drawImage(QRectF(start, QSizeF(m_image.size()) / ratio), m_image);
}

void PictureBox::emitMouse(void (PictureBox::*signal)(qint16, qint16, float, float),
                           QMouseEvent *event)
{
    const qint16 button = signal == &PictureBox::MouseMove ? buttonCode(event->buttons())
                                                           : buttonCode(event->button());
    emitMouse(signal, button, event->modifiers(), event->position());
}

void PictureBox::emitMouse(void (PictureBox::*signal)(qint16, qint16, float, float), qint16 button,
                           Qt::KeyboardModifiers modifiers, QPointF position)
{
    const qint16 shift = shiftStateOf(modifiers);
    const float x = float(position.x() * unitsPerPixelX() + ScaleLeft());
    const float y = float(position.y() * unitsPerPixelY() + ScaleTop());
    dispatchEvent([&] { emit(this->*signal)(button, shift, x, y); });
}

// A pointer that arrives on the surface without moving over it is told only as an entry: the
// window opened or was uncovered under it, or a Wayland compositor put it there in one step. The
// surface reports it as a move to where the pointer entered, as it reports every other arrival;
// the move that often follows at the same place changes nothing.
void PictureBox::reportEntry(const QEnterEvent &event)
{
    if (!isEnabled() || !rect().contains(event.position().toPoint()))
        return;
    emitMouse(&PictureBox::MouseMove, buttonCode(QGuiApplication::mouseButtons()),
              QGuiApplication::keyboardModifiers(), event.position());
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    emitMouse(&PictureBox::MouseDown, event);
}

void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    emitMouse(&PictureBox::MouseMove, event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    emitMouse(&PictureBox::MouseUp, event);
}

// Activating or deactivating the window repaints nothing either, even where the desktop colours
// an inactive window differently: such a repaint would count as a paint from outside, and the
// face would be drawn anew in its resting look under a pointer that is still over it.
bool PictureBox::event(QEvent *event)
{
    if (event->type() == QEvent::ScreenChangeInternal)
        flushSteps();
    if (event->type() == QEvent::Enter) {
        if (m_iconCursorPending)
            applyIconCursor();
        if (const auto *entry = dynamic_cast<const QEnterEvent *>(event))
            reportEntry(*entry);
    }
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate) {
        for (QObject *child : children()) {
            auto *widget = qobject_cast<QWidget *>(child);
            if (widget && widget->isVisible() && !widget->isWindow())
                QCoreApplication::sendEvent(widget, event);
        }
        return true;
    }
    return QWidget::event(event);
}

// Focus changes repaint nothing: the surface shows exactly what was drawn on it.
void PictureBox::focusInEvent(QFocusEvent *)
{
    dispatchEvent([this] { emit GotFocus(); });
}

void PictureBox::focusOutEvent(QFocusEvent *)
{
    dispatchEvent([this] { emit LostFocus(); });
}

void PictureBox::keyPressEvent(QKeyEvent *event)
{
    qint16 keyCode = keyCodeOf(event);
    qint16 shift = shiftStateOf(event->modifiers());
    dispatchEvent([&] { emit KeyDown(keyCode, shift); });
    const std::optional<qint16> typed = keyAsciiOf(event);
    if (!typed) {
        event->ignore();
        return;
    }
    qint16 keyAscii = *typed;
    dispatchEvent([&] { emit KeyPress(keyAscii); });
    if (keyAscii == 0) {
        event->accept();
    } else if (keyAscii == *typed) {
        event->ignore();
    } else if (QWidget *container = parentWidget()) {
        // The changed character goes on where the original would have gone.
        event->accept();
        QKeyEvent changed = withKeyAscii(event, keyAscii);
        QCoreApplication::sendEvent(container, &changed);
    }
}

void PictureBox::keyReleaseEvent(QKeyEvent *event)
{
    qint16 keyCode = keyCodeOf(event);
    qint16 shift = shiftStateOf(event->modifiers());
    dispatchEvent([&] { emit KeyUp(keyCode, shift); });
    event->ignore();
}

} // namespace forms
