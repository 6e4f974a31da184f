#include "textcache.h"

#include <QGlyphRun>
#include <QGuiApplication>
#include <QHashFunctions>
#include <QPointer>
#include <QTextOption>

#include <algorithm>
#include <array>
#include <optional>

namespace forms {

namespace {

constexpr qsizetype MaxFonts = 8;
// Captions are short and few, though every surface of a window in the font shares them; surfaces
// printing ever new text do not grow without end.
constexpr qsizetype MaxTextsPerFont = 1024;

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

// What surfaces on one device measured in one font is the same for all of them, so a window of many
// buttons in one font measures and shapes each caption once and keeps it once. An entry lives as
// long as some surface has it among its fonts.
struct TextCache::SharedKey
{
    const QPaintDevice *device;
    StdFont font;

    friend bool operator==(const SharedKey &, const SharedKey &) = default;
    friend size_t qHash(const SharedKey &key, size_t seed)
    {
        const StdFont &font = key.font;
        return qHashMulti(seed, key.device, font.name, font.size, font.weight, font.charset,
                          font.italic, font.underline, font.strikethrough);
    }
};

QHash<TextCache::SharedKey, std::weak_ptr<TextCache::Entry>> &TextCache::shared()
{
    static QHash<SharedKey, std::weak_ptr<Entry>> entries;
    static qsizetype pruneAt = 64;
    static QPointer<QGuiApplication> watched;
    if (watched != qGuiApp) {
        // Connected before any surface's own reaction to the change, so that each surface then
        // finds entries measured with the new fonts.
        QObject::connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, qGuiApp,
                         [] { entries.clear(); });
        watched = qGuiApp;
    }
    if (entries.size() >= pruneAt) {
        entries.removeIf([](const auto &entry) { return entry.value().expired(); });
        pruneAt = std::max<qsizetype>(64, entries.size() * 2);
    }
    return entries;
}

std::shared_ptr<TextCache::Entry> TextCache::entryFor(const StdFont &font) const
{
    std::weak_ptr<Entry> &known = shared()[SharedKey{m_device, font}];
    std::shared_ptr<Entry> entry = known.lock();
    if (!entry) {
        entry = std::make_shared<Entry>(font, m_device);
        known = entry;
    }
    return entry;
}

TextCache::TextCache(const QPaintDevice *device) : m_device(device)
{
    m_entries.append(entryFor(StdFont()));
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
    m_entries.prepend(entryFor(font));
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
    // A text's direction is its own, as in Qt's widgets: a Latin caption reads left to right in
    // any window, and the cache holds one layout per text whatever the window's direction.
    option.setTextDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
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
    m_entries.append(entryFor(font));
}

} // namespace forms
