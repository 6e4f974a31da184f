#pragma once

#include "stdfont.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QList>
#include <QPaintDevice>
#include <QRawFont>
#include <QString>
#include <QTextLayout>

#include <memory>

namespace forms {

// What a surface has measured and laid out in the few fonts it used last, shared with the other
// surfaces on the same device. Shaping text is most of the cost of drawing it, and a button prints
// the same characters in the same three fonts over and over, one character at a time; each text
// is shaped once per font instead.
class TextCache
{
public:
    // Glyphs of one font, placed relative to the text's origin.
    struct Glyphs
    {
        QRawFont font;
        QList<quint32> indexes;
        QList<QPointF> positions;
    };
    // A text shaped once: its layout, and its glyphs when they carry no underline or strikeout,
    // so that they can be drawn together with the glyphs of other texts.
    struct Shaped
    {
        QTextLayout layout;
        QList<Glyphs> glyphs;
    };

    // Measures and lays out for this device's resolution.
    explicit TextCache(const QPaintDevice *device);

    // Makes the font current, reusing what was measured and laid out in it before.
    void select(const StdFont &font);
    const QFont &font() const;
    qreal ascent() const;
    qreal lineHeight() const;
    // Where an underline goes below the baseline, and how thick it is.
    qreal underlinePosition() const;
    qreal lineWidth() const;
    qreal advance(const QString &text);
    // The text laid out on one line in the current font, its baseline at y = 0: drawn at a point,
    // it gives the pixels QPainter::drawText gives there. Null for text with characters a
    // one-line layout treats differently (line breaks, tabs, other controls). The text's advance
    // comes with it.
    std::shared_ptr<const Shaped> shaped(const QString &text, qreal *advance);

    // Forgets everything, as after a change of the installed fonts.
    void clear();

private:
    struct Text;
    struct Entry;
    struct SharedKey;
    static QHash<SharedKey, std::weak_ptr<Entry>> &shared();
    std::shared_ptr<Entry> entryFor(const StdFont &font) const;
    Text &text(const QString &text);
    Text measured(const QString &text) const;
    template <typename Key>
    Text &find(QHash<Key, Text> &known, const Key &key, const QString &text);
    std::shared_ptr<const Shaped> shape(const QString &text) const;
    Entry &current() const { return *m_entries.first(); }

    const QPaintDevice *m_device;
    QList<std::shared_ptr<Entry>> m_entries; // the most recently selected first
};

} // namespace forms
