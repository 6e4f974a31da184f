// Counting the attributes of each element of a definition before the XML reader sees it.
#include "attributecount.h"

#include <QStringDecoder>

#include <cstring>

namespace forms {

namespace {

// The scan itself, over 8- or 16-bit code units.
template <typename Unit> int lineOfTooManyAttributes(const Unit *text, qsizetype size)
{
    const auto at = [&](qsizetype i, const char *what) {
        for (qsizetype k = 0; what[k]; ++k) {
            if (i + k >= size || text[i + k] != Unit(what[k]))
                return false;
        }
        return true;
    };
    // Skips to just past `end`, counting the lines on the way.
    int line = 1;
    const auto skipPast = [&](qsizetype i, const char *end) {
        for (; i < size && !at(i, end); ++i)
            line += text[i] == Unit('\n');
        return i + qsizetype(std::strlen(end));
    };
    for (qsizetype i = 0; i < size; ++i) {
        if (text[i] == Unit('\n'))
            ++line;
        if (text[i] != Unit('<'))
            continue;
        if (at(i, "<!--")) {
            i = skipPast(i + 4, "-->") - 1;
        } else if (at(i, "<![CDATA[")) {
            i = skipPast(i + 9, "]]>") - 1;
        } else if (at(i, "<?")) {
            i = skipPast(i + 2, "?>") - 1;
        } else {
            const int tagLine = line;
            int attributes = 0;
            Unit quote = 0;
            for (++i; i < size && (quote || text[i] != Unit('>')); ++i) {
                line += text[i] == Unit('\n');
                if (quote) {
                    quote = text[i] == quote ? Unit(0) : quote;
                } else if (text[i] == Unit('"') || text[i] == Unit('\'')) {
                    quote = text[i];
                } else if (text[i] == Unit('=') && ++attributes > MaxAttributes) {
                    return tagLine;
                }
            }
        }
    }
    return 0;
}

} // namespace

// UTF-8 and its ASCII subsets are scanned as they are, since no byte of a longer UTF-8 sequence
// is an ASCII one; UTF-16 and UTF-32 are decoded first.
int lineOfTooManyAttributes(const QByteArray &xml)
{
    const bool wide =
        xml.startsWith("\xFF\xFE") || xml.startsWith("\xFE\xFF") || xml.left(4).contains('\0');
    if (!wide)
        return lineOfTooManyAttributes(xml.constData(), xml.size());
    auto encoding = QStringConverter::encodingForData(xml);
    QStringDecoder decoder(encoding.value_or(QStringConverter::Utf16));
    const QString text = decoder(xml);
    return lineOfTooManyAttributes(reinterpret_cast<const char16_t *>(text.utf16()), text.size());
}

} // namespace forms
