#include "picturebox.h"

#include "keyascii.h"
#include "runtimeerror.h"
#include "twips.h"
#include "windowsystem.h"

#include <QCoreApplication>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <utility>

namespace forms {

namespace {

// Coordinates are clamped far outside any surface so that wild values cannot overflow.
constexpr double PixelLimit = 1.0e6;
// Drawn images are kept for surfaces of a button's size, a few faces each.
constexpr qsizetype MaxKeptImageBytes = 256 * 1024;
constexpr qsizetype MaxKeptSteps = 128;
constexpr qsizetype MaxDrawnImages = 8;
constexpr qsizetype MaxDrawablePictures = 16;

bool sameKind(const QImage &a, const QImage &b)
{
    return !a.isNull() && a.size() == b.size() && a.format() == b.format() &&
           a.devicePixelRatio() == b.devicePixelRatio() && a.dotsPerMeterX() == b.dotsPerMeterX() &&
           a.dotsPerMeterY() == b.dotsPerMeterY();
}

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
        m_drawn.clear();
        m_spareImage = QImage();
        m_painterFont.reset();
    });
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

void PictureBox::ensureImage(OldDrawing old)
{
    const qreal ratio = devicePixelRatioF();
    const QSize deviceSize = deviceRect().size();
    if (m_image.size() == deviceSize && m_image.devicePixelRatio() == ratio)
        return;
    flushSteps();
    endPainting();
    QImage image(deviceSize, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    const QImage &reference = referenceDevice();
    image.setDotsPerMeterX(reference.dotsPerMeterX());
    image.setDotsPerMeterY(reference.dotsPerMeterY());
    if (!image.isNull()) {
        image.fill(toQColor(m_backColor, palette()));
        if (old == OldDrawing::Kept && !m_image.isNull()) {
            QPainter copy(&image);
            copy.drawImage(0, 0, m_image);
        }
    }
    m_image = image;
}

bool PictureBox::beginPainting()
{
    // Since Cls made the image fit, only a new size can have changed it; a new screen flushes
    // what was kept when it comes.
    if (m_keeping && size() == m_keptSize)
        return true;
    ensureImage();
    return !m_image.isNull();
}

void PictureBox::endPainting()
{
    drawQueuedGlyphs();
    if (m_painter.isActive())
        m_painter.end();
}

bool PictureBox::Step::operator==(const Step &other) const
{
    return kind == other.kind && box == other.box && origin == other.origin &&
           color == other.color && picture.cacheKey() == other.picture.cacheKey() &&
           ratio == other.ratio && shaped == other.shaped && font == other.font &&
           text == other.text;
}

// Telling a new face from the drawn ones compares many steps; their digests are compared first.
size_t PictureBox::Step::digest(size_t seed) const
{
    const auto mix = [&seed](size_t value) { seed = (seed ^ value) * 0x100000001B3ull; };
    mix(size_t(kind));
    mix(size_t(box.x()) << 32 ^ size_t(box.y()));
    mix(size_t(box.width()) << 32 ^ size_t(box.height()));
    mix(size_t(qint64(origin.x() * 64)) << 32 ^ size_t(qint64(origin.y() * 64)));
    mix(color.rgba());
    mix(size_t(picture.isNull() ? 0 : picture.cacheKey()));
    mix(reinterpret_cast<size_t>(shaped.get()));
    mix(size_t(text.size()));
    return seed;
}

void PictureBox::keep(Step &&step)
{
    m_stepsDigest = step.digest(m_stepsDigest);
    m_steps.append(std::move(step));
}

void PictureBox::paintStep(Step &&step)
{
    if (m_keeping) {
        if (m_steps.size() < MaxKeptSteps) {
            keep(std::move(step));
            return;
        }
        flushSteps();
    }
    draw(step);
}

void PictureBox::draw(const Step &step)
{
    if (step.kind == Step::Clear) {
        endPainting();
        clearImage(step.color);
        return;
    }
    // A copy of a whole opaque image of the same kind is the image itself.
    if (step.kind == Step::Picture && step.box == m_image.rect() &&
        step.picture.format() == m_image.format() && !step.picture.hasAlphaChannel() &&
        step.picture.devicePixelRatio() == m_image.devicePixelRatio() &&
        step.picture.dotsPerMeterX() == m_image.dotsPerMeterX() &&
        step.picture.dotsPerMeterY() == m_image.dotsPerMeterY()) {
        endPainting();
        m_image = step.picture;
        return;
    }
    if (step.kind == Step::Fill && !m_painter.isActive() && fillDirectly(step))
        return;
    if (!m_painter.isActive()) {
        m_painter.begin(&m_image);
        m_painterFont.reset();
    }
    if (step.kind == Step::Text && step.shaped && !step.shaped->glyphs.isEmpty()) {
        queueGlyphs(step);
        return;
    }
    drawQueuedGlyphs();
    switch (step.kind) {
    case Step::Fill:
        if (step.ratio == 1) {
            m_painter.fillRect(step.box, step.color);
        } else {
            // The box is in device pixels already.
            m_painter.save();
            m_painter.scale(1 / step.ratio, 1 / step.ratio);
            m_painter.fillRect(step.box, step.color);
            m_painter.restore();
        }
        break;
    case Step::Picture:
        m_painter.drawImage(step.box.topLeft(), step.picture);
        break;
    case Step::Text:
        m_painter.setPen(step.color);
        if (step.shaped) {
            step.shaped->layout.draw(&m_painter, step.origin);
            m_painterFont.reset(); // the layout may leave its own font set
            break;
        }
        if (m_painterFont != step.font) {
            m_painter.setFont(*step.font);
            m_painterFont = step.font;
        }
        m_painter.drawText(step.origin, step.text);
        break;
    case Step::Clear:
        break;
    }
}

// An opaque box of whole pixels goes straight into the image, before any painter is opened on
// it: for the one-pixel edges of a face that costs a fraction of what the painter costs, and the
// pixels are the painter's.
bool PictureBox::fillDirectly(const Step &step)
{
    const QImage::Format format = m_image.format();
    if (step.ratio != 1 || step.color.alpha() != 255 ||
        (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied))
        return false;
    const QRect box = step.box & m_image.rect();
    if (box.isEmpty())
        return true;
    const QRgb pixel = step.color.rgba();
    uchar *bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    for (int y = box.top(); y <= box.bottom(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(bits + y * stride);
        std::fill(line + box.left(), line + box.right() + 1, pixel);
    }
    return true;
}

// An image that an earlier drawing still shares is replaced rather than copied and overwritten.
void PictureBox::clearImage(const QColor &color)
{
    // The image of a face no longer kept is drawn over again rather than freed and allocated.
    if (!m_image.isDetached() && sameKind(m_spareImage, m_image)) {
        m_image = std::move(m_spareImage);
        m_spareImage = QImage();
    }
    if (!m_image.isDetached()) {
        QImage image(m_image.size(), m_image.format());
        image.setDevicePixelRatio(m_image.devicePixelRatio());
        image.setDotsPerMeterX(m_image.dotsPerMeterX());
        image.setDotsPerMeterY(m_image.dotsPerMeterY());
        m_image = image;
    }
    m_image.fill(color);
}

// Glyphs drawn together are drawn one by one in the order given, each where it would have been
// drawn on its own.
void PictureBox::queueGlyphs(const Step &step)
{
    if (step.color != m_queuedColor)
        drawQueuedGlyphs();
    m_queuedColor = step.color;
    for (const TextCache::Glyphs &glyphs : step.shaped->glyphs) {
        if (glyphs.font != m_queuedFont) {
            drawQueuedGlyphs();
            m_queuedFont = glyphs.font;
        }
        m_queuedGlyphs.append(glyphs.indexes);
        for (const QPointF &position : glyphs.positions)
            m_queuedPositions.append(step.origin + position);
    }
}

void PictureBox::drawQueuedGlyphs()
{
    if (m_queuedGlyphs.isEmpty())
        return;
    QGlyphRun run;
    run.setRawFont(m_queuedFont);
    run.setGlyphIndexes(m_queuedGlyphs);
    run.setPositions(m_queuedPositions);
    m_queuedGlyphs.clear();
    m_queuedPositions.clear();
    m_painter.setPen(m_queuedColor);
    m_painter.drawGlyphRun(QPointF(), run);
}

void PictureBox::flushSteps()
{
    if (!m_keeping)
        return;
    m_keeping = false;
    for (qsizetype i = 0; i < m_drawn.size(); ++i) {
        if (m_drawn.at(i).digest == m_stepsDigest && m_drawn.at(i).steps == m_steps) {
            m_image = m_drawn.at(i).image;
            m_drawn.move(i, 0);
            m_steps.clear();
            return;
        }
    }
    for (const Step &step : std::as_const(m_steps))
        draw(step);
    endPainting();
    m_drawn.prepend({m_steps, m_stepsDigest, m_image});
    if (m_drawn.size() > MaxDrawnImages) {
        QImage forgotten = m_drawn.takeLast().image;
        if (forgotten.isDetached())
            m_spareImage = std::move(forgotten);
    }
    m_steps.clear();
}

void PictureBox::Cls()
{
    endPainting();
    // Whatever was kept or drawn since the last clearing would be covered by this one.
    m_keeping = false;
    m_steps.clear();
    ensureImage(OldDrawing::Dropped);
    const QColor back = toQColor(m_backColor, palette());
    m_currentX = 0;
    m_currentY = 0;
    if (!m_image.isNull() && m_image.sizeInBytes() <= MaxKeptImageBytes) {
        m_keeping = true;
        m_keptSize = size();
        Step clear(Step::Clear);
        clear.box = m_image.rect();
        clear.ratio = m_image.devicePixelRatio();
        clear.color = back;
        m_stepsDigest = 0;
        keep(std::move(clear));
    } else {
        clearImage(back);
    }
}

void PictureBox::Line(float x1, float y1, float x2, float y2, OleColor color)
{
    if (beginPainting()) {
        const int px1 = toPixelX(x1), px2 = toPixelX(x2);
        const int py1 = toPixelY(y1), py2 = toPixelY(y2);
        Step fill(Step::Fill);
        fill.box = QRect(QPoint(std::min(px1, px2), std::min(py1, py2)),
                         QPoint(std::max(px1, px2), std::max(py1, py2)));
        fill.ratio = m_image.devicePixelRatio();
        if (fill.ratio != 1)
            fill.box = toDevicePixels(fill.box, fill.ratio);
        fill.color = toQColor(color, palette());
        paintStep(std::move(fill));
    }
    m_currentX = x2;
    m_currentY = y2;
}

// A box of whole pixels on a scaled screen: each side goes to the nearest device pixel boundary,
// and a box keeps as many device pixels across as its pixels round to, a box at the far edge of
// the image growing inwards, so that one-pixel edges are equally thick on all four sides.
QRect PictureBox::toDevicePixels(const QRect &box, qreal ratio) const
{
    const auto span = [ratio](int first, int last, int limit) {
        int start = qRound(first * ratio);
        int end = std::min(qRound((last + 1) * ratio), limit);
        const int wanted = std::max(1, qRound((last - first + 1) * ratio));
        if (end - start < wanted) {
            if (end >= limit)
                start = end - wanted;
            else
                end = start + wanted;
        }
        return std::pair{start, end};
    };
    const auto [left, right] = span(box.left(), box.right(), m_image.width());
    const auto [top, bottom] = span(box.top(), box.bottom(), m_image.height());
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void PictureBox::PaintPicture(const QImage &picture, float x, float y)
{
    if (picture.isNull() || !beginPainting())
        return;
    Step paint(Step::Picture);
    paint.box = QRect(QPoint(toPixelX(x), toPixelY(y)), picture.size());
    paint.picture = drawable(picture);
    paintStep(std::move(paint));
}

// The picture in the form the painter blends without converting it each time: a button draws
// the same few pictures at every pointer crossing.
QImage PictureBox::drawable(const QImage &picture)
{
    const QImage::Format format = picture.format();
    if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied)
        return picture;
    const auto found = m_drawable.constFind(picture.cacheKey());
    if (found != m_drawable.constEnd())
        return *found;
    if (m_drawable.size() >= MaxDrawablePictures)
        m_drawable.clear();
    return *m_drawable.insert(picture.cacheKey(),
                              picture.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

float PictureBox::TextWidth(const QString &text) const
{
    return float(m_text.advance(text) * unitsPerPixelX());
}

float PictureBox::TextHeight(const QString &text) const
{
    Q_UNUSED(text)
    return float(m_text.lineHeight() * unitsPerPixelY());
}

void PictureBox::Print(const QString &text)
{
    if (!beginPainting()) {
        m_currentX += TextWidth(text);
        return;
    }
    Step print(Step::Text);
    qreal advance = 0;
    print.shaped = m_text.shaped(text, &advance);
    if (!print.shaped) {
        print.font = m_text.font();
        print.text = text;
    }
    print.color = textColor();
    print.origin = QPointF(toPixelX(m_currentX), toPixelY(m_currentY) + m_text.ascent());
    paintStep(std::move(print));
    m_currentX += float(advance * unitsPerPixelX());
}

// An underlined font would split the text where the underline starts and ends, and each piece
// would be shaped apart, unjoined from its neighbours. So the line is printed whole and the
// underline is drawn under the characters as Qt draws one: from the whole pixel at or left of
// their start to the one at or left of their end, on the first whole pixel row at or below the
// font's underline position.
void PictureBox::Print(const QString &text, const QList<TextSpan> &underlined)
{
    const float x = m_currentX, y = m_currentY;
    Print(text);
    if (underlined.isEmpty() || !beginPainting())
        return;
    qreal advance = 0;
    const std::shared_ptr<const TextCache::Shaped> shaped = m_text.shaped(text, &advance);
    if (!shaped || shaped->layout.lineCount() == 0)
        return;
    const QTextLine line = shaped->layout.lineAt(0);
    const QPointF origin(toPixelX(x), toPixelY(y) + m_text.ascent());
    const qreal thickness = std::max<qreal>(1, m_text.lineWidth());
    const qreal top = origin.y() + std::ceil(m_text.underlinePosition()) + 0.5 - thickness / 2;
    const QColor color = textColor();
    for (const TextSpan &span : underlined) {
        const qreal from = line.cursorToX(int(span.start));
        const qreal to = line.cursorToX(int(span.start + span.length));
        const qreal left = std::floor(origin.x() + std::min(from, to));
        const qreal right = std::floor(origin.x() + std::max(from, to));
        if (right > left)
            fillPixels(QRectF(left, top, right - left, thickness), color);
    }
}

// A box in pixels, filled at the device pixels it covers.
void PictureBox::fillPixels(const QRectF &area, const QColor &color)
{
    Step fill(Step::Fill);
    fill.ratio = m_image.devicePixelRatio();
    const qreal r = fill.ratio;
    const int left = qRound(area.left() * r), top = qRound(area.top() * r);
    const int right = std::max(left + 1, qRound(area.right() * r));
    const int bottom = std::max(top + 1, qRound(area.bottom() * r));
    fill.box = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    fill.color = color;
    paintStep(std::move(fill));
}

// A caption prints one character at a time in one colour, which is resolved once.
QColor PictureBox::textColor()
{
    const qint64 paletteKey = palette().cacheKey();
    if (m_textColorOf != m_foreColor || m_textColorPalette != paletteKey) {
        m_textColor = toQColor(m_foreColor, palette());
        m_textColorOf = m_foreColor;
        m_textColorPalette = paletteKey;
    }
    return m_textColor;
}

void PictureBox::setFontUnderline(bool underline)
{
    m_font.underline = underline;
    m_text.select(m_font);
}

void PictureBox::setFont(const StdFont &font)
{
    if (font == m_font)
        return;
    m_font = font;
    m_text.select(m_font);
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
