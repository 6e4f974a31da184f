#pragma once

#include "colors.h"
#include "geometry.h"
#include "shaping.h"
#include "stdfont.h"
#include "stdpicture.h"
#include "textcache.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QRawFont>
#include <QWidget>

#include <memory>
#include <optional>

namespace forms {

// A picture surface: a widget with a persistent image at device pixels and a logical scale in
// which all drawing coordinates are given (twips until ScaleWidth or ScaleHeight is written).
// It shows its image and nothing else, and paints opaquely, so that drawing on it never makes
// its container paint.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);
    ~PictureBox() override;

    // Position and size in the container, in twips.
    float Left() const { return twipsGeometry(this).left; }
    float Top() const { return twipsGeometry(this).top; }
    float Width() const { return twipsGeometry(this).width; }
    float Height() const { return twipsGeometry(this).height; }
    void Move(float left, std::optional<float> top = std::nullopt,
              std::optional<float> width = std::nullopt,
              std::optional<float> height = std::nullopt);

    // The logical scale of the drawing area.
    float ScaleLeft() const { return 0; }
    float ScaleTop() const { return 0; }
    float ScaleWidth() const;
    float ScaleHeight() const;
    // Writing either makes the scale the surface's own: later sizes keep these many units.
    void setScaleWidth(float width);
    void setScaleHeight(float height);

    // Drawing.
    void Cls();
    // Fills the rectangle with these opposite corners, both corners included.
    void Line(float x1, float y1, float x2, float y2, OleColor color);
    // Draws the picture at its natural size with its top-left corner at (x, y).
    void PaintPicture(const QImage &picture, float x, float y);
    float TextWidth(const QString &text) const;
    float TextHeight(const QString &text) const;
    float CurrentX() const { return m_currentX; }
    float CurrentY() const { return m_currentY; }
    void setCurrentX(float x) { m_currentX = x; }
    void setCurrentY(float y) { m_currentY = y; }
    // Prints at the current position without a line end: CurrentX advances by the text's width.
    void Print(const QString &text);
    // Prints as Print does, and underlines the characters of each span where the line shows
    // them, joined with their neighbours or reordered as they may be.
    void Print(const QString &text, const QList<TextSpan> &underlined);

    bool FontUnderline() const { return m_font.underline; }
    void setFontUnderline(bool underline);
    StdFont Font() const { return m_font; }
    void setFont(const StdFont &font);
    using QWidget::setFont;
    OleColor ForeColor() const { return m_foreColor; }
    void setForeColor(OleColor color) { m_foreColor = color; }
    OleColor BackColor() const { return m_backColor; }
    // Setting the background clears the surface to it.
    void setBackColor(OleColor color);

    // All drawn on the surface so far.
    QImage Image();
    // Shows the drawn image on screen at once.
    void Refresh();

    // Stored with the surface; the image is kept whether it is on or off.
    bool AutoRedraw() const { return m_autoRedraw; }
    void setAutoRedraw(bool autoRedraw) { m_autoRedraw = autoRedraw; }

    // The pointer shape over the surface: 0 default, 1 to 15 the stock shapes, 99 MouseIcon.
    // Any other value is an invalid property value (380).
    qint16 MousePointer() const { return m_mousePointer; }
    void setMousePointer(qint16 pointer);
    StdPicture MouseIcon() const { return m_mouseIcon; }
    void setMouseIcon(const StdPicture &icon);

    QString ToolTipText() const { return toolTip(); }
    void setToolTipText(const QString &text) { setToolTip(text); }

signals:
    // Pointer notifications: Button 1 left, 2 right, 4 middle; Shift 1 Shift, 2 Ctrl, 4 Alt;
    // X and Y in the surface's scale.
    void MouseDown(qint16 Button, qint16 Shift, float X, float Y);
    void MouseMove(qint16 Button, qint16 Shift, float X, float Y);
    void MouseUp(qint16 Button, qint16 Shift, float X, float Y);
    void GotFocus();
    void LostFocus();
    void KeyDown(qint16 &KeyCode, qint16 &Shift);
    // A typed character; a handler that sets it to 0 swallows it, one that changes it passes
    // the changed character on.
    void KeyPress(qint16 &KeyAscii);
    void KeyUp(qint16 &KeyCode, qint16 &Shift);
    // The surface is being painted for a reason other than its own Refresh (shown, exposed,
    // resized). A handler may draw; what it draws is what gets shown.
    void Paint();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    bool beginPainting();
    void endPainting();
    QRect deviceRect() const;
    QRect toDevicePixels(const QRect &box, qreal ratio) const;
    // What a new image of another size starts with: the old drawing, or only the back colour.
    enum class OldDrawing { Kept, Dropped };
    void ensureImage(OldDrawing old = OldDrawing::Kept);
    static QSize largestImage();
    double unitsPerPixelX() const;
    double unitsPerPixelY() const;
    int toPixelX(float x) const;
    int toPixelY(float y) const;

    // One drawing request, resolved to device pixels, colours and a font when it was made.
    struct Step
    {
        enum Kind { Clear, Fill, Picture, Text };
        explicit Step(Kind kind) : kind(kind) {}

        Kind kind;
        QRect box;      // Clear: the image; Fill: the rectangle; Picture: where it goes
        QPointF origin; // Text: the baseline origin
        QColor color;
        QImage picture;
        qreal ratio = 1; // Clear, Fill: the device pixel ratio
        // Text: laid out once for its font, or, where no layout draws it alike, font and text.
        std::shared_ptr<const TextCache::Shaped> shaped;
        std::optional<QFont> font;
        QString text;

        bool operator==(const Step &other) const;
        size_t digest(size_t seed) const;
    };
    void keep(Step &&step);
    void paintStep(Step &&step);
    void draw(const Step &step);
    bool drawWithoutPainter(const Step &step);
    bool coversImage(const Step &step) const;
    void drawWithPainter(const Step &step);
    void clearImage(const QColor &color);
    bool ownImage();
    bool fillDirectly(const Step &step);
    QImage drawable(const QImage &picture);
    QColor textColor();
    void fillPixels(const QRectF &area, const QColor &color);
    void queueGlyphs(const Step &step);
    void drawQueuedGlyphs();
    void flushSteps();
    void rememberDrawn();
    void forgetDrawn(bool keepSpare);
    void forgetAllDrawn();
    void applyCursor();
    void applyIconCursor();
    void emitMouse(void (PictureBox::*signal)(qint16, qint16, float, float), QMouseEvent *event);
    void emitMouse(void (PictureBox::*signal)(qint16, qint16, float, float), qint16 button,
                   Qt::KeyboardModifiers modifiers, QPointF position);
    void reportEntry(const QEnterEvent &event);

    QImage m_image;
    QPainter m_painter;
    StdFont m_font;
    // Measuring and shaping text is most of the cost of drawing a face, and the same faces are
    // drawn over and over as the pointer comes and goes. So the metrics, advances and layouts of
    // the fonts used lately are kept, and on a small surface the steps since the last Cls are
    // kept rather than drawn: when the image is next needed, an image drawn earlier from exactly
    // the same steps is taken instead of drawing them again.
    mutable TextCache m_text;
    std::optional<QFont> m_painterFont;
    // Glyphs of consecutive texts in one colour and font, drawn together.
    QColor m_queuedColor;
    QRawFont m_queuedFont;
    QList<quint32> m_queuedGlyphs;
    QList<QPointF> m_queuedPositions;
    bool m_keeping = false;
    QList<Step> m_steps;
    size_t m_stepsDigest = 0;
    QSize m_keptSize;
    struct Drawn
    {
        QList<Step> steps;
        size_t digest;
        QImage image;
    };
    QList<Drawn> m_drawn; // the most recently used first
    qsizetype m_drawnBytes = 0;
    QImage m_spareImage;
    QHash<qint64, QImage> m_drawable;
    OleColor m_foreColor = SystemColor::WindowText;
    QColor m_textColor;
    OleColor m_textColorOf = 0;
    qint64 m_textColorPalette = -1; // nothing resolved yet
    OleColor m_backColor = SystemColor::ButtonFace;
    float m_currentX = 0;
    float m_currentY = 0;
    bool m_userScale = false;
    float m_scaleWidth = 0;
    float m_scaleHeight = 0;
    bool m_autoRedraw = false;
    qint16 m_mousePointer = 0;
    StdPicture m_mouseIcon;
    bool m_iconCursorPending = false;
    bool m_refreshing = false;
    bool m_inPaintNotification = false;
};

} // namespace forms
