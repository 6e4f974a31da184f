#pragma once

#include "accessmarkers.h"
#include "colors.h"
#include "geometry.h"
#include "imageholder.h"
#include "stdfont.h"
#include "stdpicture.h"
#include "usercontrol.h"

#include <QPixmap>
#include <QStringList>

#include <optional>

class PointerWatch;

namespace forms {
class PictureBox;
class PropertyBag;
} // namespace forms

// An owner-drawn button that lies flat, rises under the pointer and sinks when pressed. It shows
// a caption ("&" underlines the next character) and an optional picture, acts as a push button
// or as a two-state switch, and raises its own MouseEnter and MouseExit.
class LumoButton : public forms::UserControl
{
    Q_OBJECT
    Q_CLASSINFO("PropertyPages", "StandardFont,StandardPicture,StandardColor,Button")
    Q_CLASSINFO("Help:BackColor",
                "Returns/sets the background color used to display text and graphics in an object.")
    Q_CLASSINFO("Help:Font", "Returns a Font object.")
    Q_CLASSINFO("Help:ForeColor",
                "Returns/sets the foreground color used to display text and graphics in an object.")
    Q_CLASSINFO("Help:MouseIcon", "Sets a custom mouse icon.")
    Q_CLASSINFO("Help:MousePointer",
                "Returns/sets the type of mouse pointer displayed when over part of an object.")
    Q_CLASSINFO("Help:Picture", "Returns/sets a graphic to be displayed in a control.")
    Q_CLASSINFO("Help:SelectedPicture", "Returns/sets a graphic to be displayed in a control.")
    Q_CLASSINFO("Help:PressedPicture", "Returns/sets a graphic to be displayed in a control.")
    Q_CLASSINFO("Help:ToolTipText",
                "Returns/sets the text displayed when the mouse is paused over the control.")
    Q_CLASSINFO("Help:Click",
                "Occurs when the user presses and then releases a mouse button over an object.")
    Q_CLASSINFO("Help:KeyDown", "Occurs when the user presses a key while an object has the focus.")
    Q_CLASSINFO("Help:KeyPress", "Occurs when the user presses and releases an ANSI key.")
    Q_CLASSINFO("Help:KeyUp", "Occurs when the user releases a key while an object has the focus.")
    Q_CLASSINFO("Page:MousePointer", "Button")
    Q_CLASSINFO("Page:Caption", "Button")
    Q_CLASSINFO("Page:Delta", "Button")
    Q_CLASSINFO("Page:Alignment", "Button")
    Q_CLASSINFO("Page:Switch", "Button")
    Q_CLASSINFO("Page:Value", "Button")
    // Where the picture goes; any value but 0 and 1 puts it above the caption.
    Q_CLASSINFO("Values:Alignment", "0 - Picture Left|1 - Picture Right|2 - Picture Above")

    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(forms::StdFont Font READ Font WRITE setFont)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(forms::StdPicture MouseIcon READ MouseIcon WRITE setMouseIcon)
    Q_PROPERTY(qint16 MousePointer READ MousePointer WRITE setMousePointer)
    Q_PROPERTY(forms::StdPicture Picture READ Picture WRITE setPicture)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(qint16 Delta READ Delta WRITE setDelta)
    Q_PROPERTY(quint32 LightBorderColor READ LightBorderColor WRITE setLightBorderColor)
    Q_PROPERTY(quint32 DarkBorderColor READ DarkBorderColor WRITE setDarkBorderColor)
    Q_PROPERTY(qint16 Alignment READ Alignment WRITE setAlignment DESIGNABLE false)
    Q_PROPERTY(forms::StdPicture SelectedPicture READ SelectedPicture WRITE setSelectedPicture)
    Q_PROPERTY(forms::StdPicture PressedPicture READ PressedPicture WRITE setPressedPicture)
    Q_PROPERTY(forms::StdFont FontSelected READ FontSelected WRITE setFontSelected)
    Q_PROPERTY(forms::StdFont FontPressed READ FontPressed WRITE setFontPressed)
    Q_PROPERTY(quint32 ForeColorSelected READ ForeColorSelected WRITE setForeColorSelected)
    Q_PROPERTY(quint32 ForeColorPressed READ ForeColorPressed WRITE setForeColorPressed)
    Q_PROPERTY(bool Switch READ Switch WRITE setSwitch DESIGNABLE false)
    Q_PROPERTY(bool Value READ Value WRITE setValue)
    Q_PROPERTY(qint16 Shift READ Shift WRITE setShift DESIGNABLE false)
    Q_PROPERTY(QString ToolTipText READ ToolTipText WRITE setToolTipText)

    // Views of the properties above in types Qt Designer edits and uic writes. They keep no state
    // and are no part of the stored set: each reads and writes the property its "View:" entry
    // names, so a property list that shows the stored set leaves them out.
    Q_CLASSINFO("View:qtBackColor", "BackColor")
    Q_CLASSINFO("View:qtFont", "Font")
    Q_CLASSINFO("View:qtForeColor", "ForeColor")
    Q_CLASSINFO("View:qtPicture", "Picture")
    Q_CLASSINFO("View:qtDelta", "Delta")
    Q_CLASSINFO("View:qtLightBorderColor", "LightBorderColor")
    Q_CLASSINFO("View:qtDarkBorderColor", "DarkBorderColor")
    Q_CLASSINFO("View:qtAlignment", "Alignment")
    Q_CLASSINFO("View:qtSelectedPicture", "SelectedPicture")
    Q_CLASSINFO("View:qtPressedPicture", "PressedPicture")
    Q_CLASSINFO("View:qtFontSelected", "FontSelected")
    Q_CLASSINFO("View:qtFontPressed", "FontPressed")
    Q_CLASSINFO("View:qtForeColorSelected", "ForeColorSelected")
    Q_CLASSINFO("View:qtForeColorPressed", "ForeColorPressed")
    Q_CLASSINFO("View:qtSwitch", "Switch")
    Q_CLASSINFO("View:qtShift", "Shift")
    Q_PROPERTY(QColor qtBackColor READ qtBackColor WRITE setQtBackColor)
    Q_PROPERTY(QFont qtFont READ qtFont WRITE setQtFont)
    Q_PROPERTY(QColor qtForeColor READ qtForeColor WRITE setQtForeColor)
    Q_PROPERTY(QPixmap qtPicture READ qtPicture WRITE setQtPicture)
    Q_PROPERTY(int qtDelta READ qtDelta WRITE setQtDelta)
    Q_PROPERTY(QColor qtLightBorderColor READ qtLightBorderColor WRITE setQtLightBorderColor)
    Q_PROPERTY(QColor qtDarkBorderColor READ qtDarkBorderColor WRITE setQtDarkBorderColor)
    Q_PROPERTY(int qtAlignment READ qtAlignment WRITE setQtAlignment)
    Q_PROPERTY(QPixmap qtSelectedPicture READ qtSelectedPicture WRITE setQtSelectedPicture)
    Q_PROPERTY(QPixmap qtPressedPicture READ qtPressedPicture WRITE setQtPressedPicture)
    Q_PROPERTY(QFont qtFontSelected READ qtFontSelected WRITE setQtFontSelected)
    Q_PROPERTY(QFont qtFontPressed READ qtFontPressed WRITE setQtFontPressed)
    Q_PROPERTY(QColor qtForeColorSelected READ qtForeColorSelected WRITE setQtForeColorSelected)
    Q_PROPERTY(QColor qtForeColorPressed READ qtForeColorPressed WRITE setQtForeColorPressed)
    Q_PROPERTY(bool qtSwitch READ Switch WRITE setQtSwitch)
    Q_PROPERTY(int qtShift READ Shift WRITE setQtShift)

public:
    explicit LumoButton(QWidget *parent = nullptr);
    ~LumoButton() override;

    // The faces. Each is composed off-screen and shown by one copy; none changes any state.
    Q_INVOKABLE void DrawPressed();
    Q_INVOKABLE void DrawUnselected();
    Q_INVOKABLE void DrawSelected();
    // Recomposes the plain face after a property change: Picture's image and the caption as
    // stored, in the font and colour the last drawing left; nothing while a stored set is read.
    Q_INVOKABLE void Refresh();

    forms::OleColor BackColor() const;
    void setBackColor(forms::OleColor color);
    forms::StdFont Font() const;
    void setFont(const forms::StdFont &font);
    using QWidget::setFont;
    forms::OleColor ForeColor() const;
    void setForeColor(forms::OleColor color);
    forms::StdPicture MouseIcon() const;
    void setMouseIcon(const forms::StdPicture &icon);
    qint16 MousePointer() const;
    void setMousePointer(qint16 pointer);
    forms::StdPicture Picture() const { return imgPicture.Picture(); }
    void setPicture(const forms::StdPicture &picture);
    QString Caption() const { return m_Caption; }
    void setCaption(const QString &caption);
    qint16 Delta() const { return m_Delta; }
    void setDelta(qint16 delta);
    forms::OleColor LightBorderColor() const { return m_LightBorderColor; }
    void setLightBorderColor(forms::OleColor color);
    forms::OleColor DarkBorderColor() const { return m_DarkBorderColor; }
    void setDarkBorderColor(forms::OleColor color);
    // 0 picture left, 1 picture right, any other value picture above the caption. Can be set
    // only while the window is designed.
    qint16 Alignment() const { return m_Alignment; }
    void setAlignment(qint16 alignment);
    forms::StdPicture SelectedPicture() const { return imgSelected.Picture(); }
    void setSelectedPicture(const forms::StdPicture &picture);
    forms::StdPicture PressedPicture() const { return imgPressed.Picture(); }
    void setPressedPicture(const forms::StdPicture &picture);
    forms::StdFont FontSelected() const { return m_FontSelected; }
    void setFontSelected(const forms::StdFont &font);
    forms::StdFont FontPressed() const { return m_FontPressed; }
    void setFontPressed(const forms::StdFont &font);
    forms::OleColor ForeColorSelected() const { return m_ForeColorSelected; }
    void setForeColorSelected(forms::OleColor color);
    forms::OleColor ForeColorPressed() const { return m_ForeColorPressed; }
    void setForeColorPressed(forms::OleColor color);
    // True makes the button a two-state switch whose state is Value. Design time only.
    bool Switch() const { return m_Switch; }
    void setSwitch(bool on);
    // Flipped by every mouse-down, in either mode; may be set at any time.
    bool Value() const { return m_state.value; }
    void setValue(bool value);
    // How far the pressed face moves its content right and down, in twips. Design time only.
    qint16 Shift() const { return m_Shift; }
    void setShift(qint16 shift);
    QString ToolTipText() const;
    void setToolTipText(const QString &text);

    // The Qt-typed views. A colour reads as the desktop shows it and is written as an ordinary
    // colour; the integers are clamped to the 16-bit range. Alignment, Switch and Shift also take
    // their values while the button has not yet been shown, as a window built from a .ui file
    // applies them, just as loading a stored set does.
    QColor qtBackColor() const;
    void setQtBackColor(const QColor &color);
    QFont qtFont() const;
    void setQtFont(const QFont &font);
    QColor qtForeColor() const;
    void setQtForeColor(const QColor &color);
    QPixmap qtPicture() const;
    void setQtPicture(const QPixmap &picture);
    int qtDelta() const;
    void setQtDelta(int delta);
    QColor qtLightBorderColor() const;
    void setQtLightBorderColor(const QColor &color);
    QColor qtDarkBorderColor() const;
    void setQtDarkBorderColor(const QColor &color);
    int qtAlignment() const;
    void setQtAlignment(int alignment);
    QPixmap qtSelectedPicture() const;
    void setQtSelectedPicture(const QPixmap &picture);
    QPixmap qtPressedPicture() const;
    void setQtPressedPicture(const QPixmap &picture);
    QFont qtFontSelected() const;
    void setQtFontSelected(const QFont &font);
    QFont qtFontPressed() const;
    void setQtFontPressed(const QFont &font);
    QColor qtForeColorSelected() const;
    void setQtForeColorSelected(const QColor &color);
    QColor qtForeColorPressed() const;
    void setQtForeColorPressed(const QColor &color);
    void setQtSwitch(bool on);
    void setQtShift(int shift);

    void InitProperties() override;
    void ReadProperties(const forms::PropertyBag &bag) override;
    void WriteProperties(forms::PropertyBag &bag) const override;

    // Whether the button takes the pointer to be over its face, and whether it is watching for
    // the pointer to leave: Idle (false, false), Over (true, true) or Watching (false, true).
    bool PointerInside() const { return m_state.pointerInside; }
    bool isCapturing() const;

    QSize sizeHint() const override;

signals:
    void MouseEnter();
    void MouseExit();
    void Click();
    // Declared for hosts that expect them; the button never raises them.
    void KeyDown(qint16 &KeyCode, qint16 &Shift);
    // A character typed while the button has the focus; a host that changes the code changes
    // what the button passes on, and 0 swallows it.
    void KeyPress(qint16 &KeyAscii);
    void KeyUp(qint16 &KeyCode, qint16 &Shift);

protected:
    void UserControl_Paint() override;
    void UserControl_Resize() override;
    bool event(QEvent *event) override;

private:
    // Presents the button to assistive technology and presses it on request.
    friend class LumoButtonAccessible;
    // The stored property set, which reads and writes the fields directly.
    friend class LumoButtonProperties;

    enum class Background { Fill, None, Raised, Sunken };
    // One column of the composition: what a drawing adds to the shared skeleton.
    struct Face
    {
        const forms::ImageHolder *holder = nullptr;
        bool bufferFromControl = false;
        Background background = Background::Fill;
        const forms::StdFont *font = nullptr; // nullptr: whatever the buffer holds
        std::optional<forms::OleColor> foreColor = std::nullopt;
        float offset = 0;
        bool printMarkers = false;
        bool sizeVisible = false;
    };

    void compose(const Face &face);
    void drawEdge(forms::OleColor topLeft, forms::OleColor bottomRight);
    void placeContent(const forms::ImageHolder &holder, float captionWidth, float captionHeight,
                      float s);
    void PrintCaption(const QString &text);
    const QStringList &charactersOf(const QString &text);
    const forms::MarkedText *shapedLineOf(const QString &text);
    // What the button answers to; react() looks the answer up and applies it.
    enum class Input {
        MovedOver,
        MovedOff,
        ButtonDown,
        ButtonUp,
        PointerStays,
        PointerGone,
        FocusLost,
        Painted,
        Resized,
        Pressed,
    };
    void react(Input input);
    void StartCapture();
    void setUpConstituents();
    void requireDesignTime(const char *property) const;
    QColor shown(forms::OleColor color) const;
    bool isBeingBuilt() const;
    // A stored property in its Qt type, and written from one.
    QVariant view(const char *property) const;
    void setView(const char *property, const QVariant &value);

    void picButton_MouseDown();
    void picButton_MouseMove(float X, float Y);
    void picButton_MouseUp();
    void picButton_LostFocus();
    void picButton_KeyPress(qint16 &KeyAscii);
    void timCapture_Timer(bool over);

    // Fields, in the order the control declares them.
    qint16 m_Alignment = 0;
    forms::OleColor m_LightBorderColor = 0;
    forms::OleColor m_DarkBorderColor = 0;
    qint16 m_Delta = 0;
    QString m_Caption;
    qint32 m_TwipsPerPixelX = 15;
    qint32 m_TwipsPerPixelY = 15;
    qint16 m_Shift = 0;
    bool m_Switch = false;
    forms::OleColor m_ForeColorSelected = 0;
    forms::OleColor m_ForeColorPressed = 0;
    forms::StdFont m_FontSelected;
    forms::StdFont m_FontPressed;

    // Where the surfaces were last placed, and the caption split into characters.
    struct Placement
    {
        bool known = false;
        forms::TwipsRect twips;
        QRect pixels;

        forms::TwipsRect of(const forms::PictureBox *surface);
        void place(forms::PictureBox *surface, float width, float height);
    };
    Placement m_bufferPlace;
    Placement m_buttonPlace;
    QString m_charactersOf;
    QStringList m_characters;
    QString m_shapedLineOf;
    std::optional<forms::MarkedText> m_shapedLine;

    // Constituents.
    forms::PictureBox *picButton;
    forms::PictureBox *picBuffer;
    forms::ImageHolder imgPicture;
    forms::ImageHolder imgSelected;
    forms::ImageHolder imgPressed;
    PointerWatch *m_pointerWatch;

    // Set while a .ui file's values are applied to a button not yet shown, and once the button
    // is first polished, which it is before its first show.
    bool m_applyingDefinition = false;
    bool m_polished = false;
    bool m_readingStoredSet = false;

    // What the reactions read and change: whether the pointer is taken to be over the face, and
    // Value. The face shown is whatever the last drawing put on the face surface.
    struct State
    {
        bool pointerInside = false;
        bool value = false;
    };
    State m_state;
};
