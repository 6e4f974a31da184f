#pragma once

#include "geometry.h"
#include "propertybag.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <stdexcept>

namespace forms {

// A menu entry of a window; a top-level menu holds its entries. The caption "-" is a separator.
struct MenuDefinition
{
    QString name;
    QString caption;
    QString shortcut; // in the portable key-sequence text, e.g. "F5", "Ctrl+E"
    QList<MenuDefinition> items;
};

// One control as its window stores it: its class ("Label", "TextBox", or a user-control class
// such as "Mirvale.LumoButton"), name, control-array index (-1 for none), place and tab index.
// A stock control keeps its settings ("Caption", "Alignment", "TabStop") in `settings`; a user
// control keeps its own property set in `properties`, with the extent first.
struct ControlDefinition
{
    QString className;
    QString name;
    int index = -1;
    TwipsRect rect;
    int tabIndex = 0;
    PropertyBag settings;
    PropertyBag properties;
    // Where the control stands in the file it was read from (0 when it was not read from one), so
    // that an error found while building it can point there.
    int line = 0;
    int column = 0;

    // "cmdAction(1)" or "txtStock", as messages name a control.
    QString displayName() const;
    // Whether the other is the same control, stored alike, wherever it stands: the same class,
    // name, index, settings and stored set, extent aside.
    bool sameApartFromPlace(const ControlDefinition &other) const;
    // Whether the other is stored exactly alike, place and tab index included.
    bool sameAs(const ControlDefinition &other) const;
};

// A stored window: its own settings (client size, start-up position, icon), its menus and its
// controls, in order.
struct FormDefinition
{
    QString name;
    // Where the window's element stands in the file it was read from, as for a control.
    int line = 0;
    int column = 0;
    PropertyBag settings;
    QList<MenuDefinition> menus;
    QList<ControlDefinition> controls;
};

// A definition that cannot be read: the message names the file, the line and column, and where
// it is known the control and the entry.
class DefinitionError : public std::runtime_error
{
public:
    explicit DefinitionError(const QString &message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

// What a definition may hold; beyond these it is refused with the place that goes past them.
// The largest definition read; a larger file is refused before it is read.
constexpr qsizetype MaxDefinitionSize = 32 * 1024 * 1024;
// Menus nested deeper than this are refused.
constexpr int MaxMenuDepth = 8;
// The most menus and menu entries a window holds, all of them together.
constexpr int MaxMenuItems = 1000;
// The most entries one set holds (the window's settings, a control's settings or its stored set),
// besides the window's client size and a control's extent, which saving adds.
constexpr int MaxEntries = 1000;
// The most controls a window holds.
constexpr int MaxControls = 10000;
// The widest and highest client area or control, and the farthest a control stands from the
// client area's corner either way, in twips: 16,384 pixels at 96 dots per inch, wider than any
// screen shows.
constexpr float MaxExtentTwips = 16384 * 15;
// A control's name is an identifier of at most this many characters: a letter, then letters,
// digits and underscores.
constexpr int MaxNameLength = 40;
// The longest caption or other stored text, in UTF-16 code units.
constexpr qsizetype MaxTextLength = 65535;
// All the stored texts and menu captions of a window together, in UTF-16 code units: each is laid
// out and drawn, so a window of hundreds of the longest captions would take gigabytes.
constexpr qint64 MaxWindowText = qint64(1) << 20;
// Control-array indexes run from 0 to this.
constexpr int MaxControlIndex = 32767;
// The largest font size, in points.
constexpr double MaxFontSize = 2048;
// Tab indexes run from 0 to this.
constexpr int MaxTabIndex = 32767;
// The most pixels all the pictures of a window decode to together: 32 Mi pixels, 128 MiB in
// 32-bit colour, as two pictures of the largest size take. Each picture is decoded on its own.
constexpr qint64 MaxPicturePixels = qint64(32) << 20;

// The pixels of a window's pictures, counted as each is read or written.
class PicturePixels
{
public:
    // What the window is told when this picture takes the count past MaxPicturePixels.
    std::optional<QString> add(qint64 pixels);

private:
    qint64 m_pixels = 0;
};

// "f.xml:3:5", where a part of a definition stands in its file; the file alone when the line is
// not known.
QString placeInFile(const QString &source, int line, int column);

// Whether a name is a control's name: an identifier of at most MaxNameLength characters.
bool isControlName(const QString &name);

// Reads a definition written in the window-definition XML format. `source` names the file in
// error messages. Throws DefinitionError.
FormDefinition readDefinition(const QByteArray &xml, const QString &source);

// Writes a definition; reading the result gives the same definition, and writing that again the
// same bytes. Text that XML cannot hold (most control characters) is not dropped: the definition
// is refused with a DefinitionError naming the control and the entry.
QByteArray writeDefinition(const FormDefinition &definition);

} // namespace forms
