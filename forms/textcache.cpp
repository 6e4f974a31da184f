#include "textcache.h"

#include <QGlyphRun>
#include <QGuiApplication>
#include <QTextOption>

#include <algorithm>
#include <array>
#include <optional>

namespace forms {

namespace {

constexpr qsizetype MaxFonts = 8;
// Captions are short and few; a surface printing ever new text does not grow without end.
constexpr qsizetype MaxTextsPerFont = 256;

bool laysOutOnOneLine(const QString &text)
{
    return std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0) ||
               c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
    });
}

template <typename Value> void makeRoom(QHash<QString, Value> &texts)
{
    if (texts.size() >= MaxTextsPerFont)
        texts.clear();
}

} // namespace

struct TextCache::Text
{
    qreal advance = 0;
    bool shapedYet = false;
    std::shared_ptr<const Shaped> shaped;
};

struct TextCache::Entry
{
    Entry(const StdFont &font, const QPaintDevice *device)
        : font(font), qfont(font.toQFont()), metrics(qfont, device), ascent(metrics.ascent()),
          lineHeight(metrics.height())
    {}

    StdFont font;
    QFont qfont;
    QFontMetricsF metrics;
    qreal ascent;
    qreal lineHeight;
    // Captions are printed one character at a time, so single characters are found by code,
    // and those of ASCII without a lookup.
    std::array<std::optional<Text>, 128> ascii;
    QHash<char16_t, Text> characters;
    QHash<QString, Text> texts;
};

TextCache::TextCache(const QPaintDevice *device) : m_device(device)
{
    m_entries.append(std::make_shared<Entry>(StdFont(), m_device));
}

void TextCache::select(const StdFont &font)
{
    if (current().font == font)
        return;
    const auto found = std::find_if(m_entries.cbegin(), m_entries.cend(),
                                    [&](const auto &entry) { return entry->font == font; });
    if (found != m_entries.cend()) {
        m_entries.move(found - m_entries.cbegin(), 0);
        return;
    }
    if (m_entries.size() >= MaxFonts)
        m_entries.removeLast();
    m_entries.prepend(std::make_shared<Entry>(font, m_device));
}

const QFont &TextCache::font() const
{
    return current().qfont;
}

qreal TextCache::ascent() const
{
    return current().ascent;
}

qreal TextCache::lineHeight() const
{
    return current().lineHeight;
}

qreal TextCache::underlinePosition() const
{
    return current().metrics.underlinePos();
}

qreal TextCache::lineWidth() const
{
    return current().metrics.lineWidth();
}

template <typename Key>
TextCache::Text &TextCache::find(QHash<Key, Text> &known, const Key &key, const QString &text)
{
    auto found = known.find(key);
    if (found == known.end()) {
        if (known.size() >= MaxTextsPerFont)
            known.clear();
        found = known.insert(key, measured(text));
    }
    return *found;
}

TextCache::Text TextCache::measured(const QString &text) const
{
    Text measured;
    measured.advance = current().metrics.horizontalAdvance(text);
    return measured;
}

TextCache::Text &TextCache::text(const QString &text)
{
    Entry &entry = current();
    if (text.size() == 1) {
        const char16_t code = text.front().unicode();
        if (code < entry.ascii.size()) {
            std::optional<Text> &known = entry.ascii[code];
            if (!known)
                known = measured(text);
            return *known;
        }
        return find(entry.characters, code, text);
    }
    return find(entry.texts, text, text);
}

qreal TextCache::advance(const QString &text)
{
    return this->text(text).advance;
}

std::shared_ptr<const TextCache::Shaped> TextCache::shaped(const QString &text, qreal *advance)
{
    Text &known = this->text(text);
    *advance = known.advance;
    if (!known.shapedYet && laysOutOnOneLine(text))
        known.shaped = shape(text);
    known.shapedYet = true;
    return known.shaped;
}

std::shared_ptr<const TextCache::Shaped> TextCache::shape(const QString &text) const
{
    const Entry &entry = current();
    // The font as a painter on the device resolves it, so that the same glyphs are chosen.
    auto shaped = std::make_shared<Shaped>();
    QTextLayout &layout = shaped->layout;
    layout.setFont(QFont(entry.qfont.resolve(QFont()), m_device));
    layout.setText(text);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(QGuiApplication::layoutDirection());
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    line.setPosition(QPointF(0, -line.ascent()));
    if (!entry.qfont.underline() && !entry.qfont.strikeOut() && !entry.qfont.overline()) {
        for (const QGlyphRun &run : layout.glyphRuns())
            shaped->glyphs.append({run.rawFont(), run.glyphIndexes(), run.positions()});
    }
    return shaped;
}

void TextCache::clear()
{
    const StdFont font = current().font;
    m_entries.clear();
    m_entries.append(std::make_shared<Entry>(font, m_device));
}

} // namespace forms
