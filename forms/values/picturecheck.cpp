// Reading what a picture file will decode to from its own structure: the images of an icon or a
// cursor file at the size of each one's data, the scans of a JPEG by its markers, and the sides
// of any other image as its reader tells them, whatever their sign.
#include "picturecheck.h"

#include <QBuffer>
#include <QImageReader>

#include <cstdlib>

namespace forms {

namespace {

// Byte by byte, from data whose length the caller has checked.
quint32 byteAt(const QByteArray &data, qsizetype at)
{
    return quint8(data.at(at));
}

quint16 readLittle16(const QByteArray &data, qsizetype at)
{
    return quint16(byteAt(data, at) | byteAt(data, at + 1) << 8);
}

quint32 readLittle32(const QByteArray &data, qsizetype at)
{
    return readLittle16(data, at) | quint32(readLittle16(data, at + 2)) << 16;
}

quint32 readBig32(const QByteArray &data, qsizetype at)
{
    return byteAt(data, at) << 24 | byteAt(data, at + 1) << 16 | byteAt(data, at + 2) << 8 |
           byteAt(data, at + 3);
}

QString tooLarge(qint64 width, qint64 height)
{
    return QStringLiteral("picture is %1 x %2 pixels, larger than %3 x %3")
        .arg(width)
        .arg(height)
        .arg(PictureCheck::MaximumSide);
}

bool withinSides(qint64 width, qint64 height)
{
    return width <= PictureCheck::MaximumSide && height <= PictureCheck::MaximumSide;
}

// The size an image inside an icon or cursor file decodes to: a PNG's own header, or the bitmap
// header, whose height counts the image and its mask; the directory's claim where neither can be
// read.
std::pair<qint64, qint64> iconImageSize(const QByteArray &data, qsizetype entry)
{
    const int claimedWidth = quint8(data[entry]) ? quint8(data[entry]) : 256;
    const int claimedHeight = quint8(data[entry + 1]) ? quint8(data[entry + 1]) : 256;
    const quint32 length = readLittle32(data, entry + 8);
    const quint32 offset = readLittle32(data, entry + 12);
    if (offset >= quint32(data.size()) || length > quint32(data.size()) - offset)
        return {claimedWidth, claimedHeight};
    const QByteArray image = data.mid(offset, length);
    if (image.startsWith("\x89PNG\r\n\x1a\n") && image.size() >= 24)
        return {readBig32(image, 16), readBig32(image, 20)};
    if (image.size() >= 12) {
        const qint64 width = std::abs(qint64(qint32(readLittle32(image, 4))));
        const qint64 height = std::abs(qint64(qint32(readLittle32(image, 8)))) / 2;
        return {std::max<qint64>(width, claimedWidth), std::max<qint64>(height, claimedHeight)};
    }
    return {claimedWidth, claimedHeight};
}

// An icon (type 1) or cursor (type 2) file: every image counts.
std::optional<PictureCheck> iconFile(const QByteArray &data)
{
    if (data.size() < 6 || readLittle16(data, 0) != 0 ||
        (readLittle16(data, 2) != 1 && readLittle16(data, 2) != 2))
        return std::nullopt;
    PictureCheck check;
    const int count = readLittle16(data, 4);
    if (count > PictureCheck::MaximumIconImages) {
        check.refusal = QStringLiteral("an icon of %1 images, more than %2")
                            .arg(count)
                            .arg(PictureCheck::MaximumIconImages);
        return check;
    }
    for (int i = 0; i < count && 6 + 16 * (i + 1) <= data.size(); ++i) {
        const auto [width, height] = iconImageSize(data, 6 + 16 * i);
        if (!withinSides(width, height)) {
            check.refusal = tooLarge(width, height);
            return check;
        }
        check.pixels += width * height;
    }
    return check;
}

// The scans of a JPEG, by walking its segments: each segment says its length, and after a scan's
// header its coded data runs to the next marker other than a restart (a 0xFF in the data is
// followed by 0). Bytes that look like a marker inside a comment are no scan.
qsizetype jpegScans(const QByteArray &data)
{
    if (!data.startsWith(QByteArrayView("\xFF\xD8", 2)))
        return 0;
    qsizetype scans = 0;
    qsizetype i = 2;
    const auto byte = [&](qsizetype at) { return quint8(data[at]); };
    while (i + 1 < data.size()) {
        if (byte(i) != 0xFF) {
            ++i;
            continue;
        }
        const quint8 marker = byte(i + 1);
        if (marker == 0xFF) {
            ++i;
            continue;
        }
        if (marker == 0xD9)
            break;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            i += 2;
            continue;
        }
        if (i + 3 >= data.size())
            break;
        const qsizetype length = byte(i + 2) << 8 | byte(i + 3);
        i += 2 + length;
        if (marker != 0xDA)
            continue;
        ++scans;
        while (i + 1 < data.size() && !(byte(i) == 0xFF && byte(i + 1) != 0 &&
                                        !(byte(i + 1) >= 0xD0 && byte(i + 1) <= 0xD7)))
            ++i;
    }
    return scans;
}

} // namespace

PictureCheck PictureCheck::of(const QByteArray &data)
{
    if (auto icon = iconFile(data))
        return *icon;
    PictureCheck check;
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer);
    const QSize claimed = reader.size();
    const qint64 width = std::abs(qint64(claimed.width()));
    const qint64 height = std::abs(qint64(claimed.height()));
    if (!withinSides(width, height)) {
        check.refusal = tooLarge(claimed.width(), claimed.height());
        return check;
    }
    if (const qsizetype scans = jpegScans(data); scans > MaximumJpegScans) {
        check.refusal =
            QStringLiteral("a JPEG of %1 scans, more than %2").arg(scans).arg(MaximumJpegScans);
        return check;
    }
    check.pixels = width * height;
    return check;
}

} // namespace forms
