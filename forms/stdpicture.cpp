#include "stdpicture.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include <mutex>

namespace forms {

struct StdPicture::Shared
{
    QByteArray data;
    QSize size;
    std::once_flag decoding;
    QImage image;
};

namespace {

constexpr int MaximumSide = 4096;
// An icon file with more images than this is refused: each would be decoded for the window's icon.
constexpr int MaximumIconImages = 256;
// A progressive JPEG is decoded over again for each of its scans. Encoders write a dozen or so; a
// file of hundreds would hold the window for seconds each time it is decoded.
constexpr qsizetype MaximumJpegScans = 100;

// The scans of a JPEG (0 for another format): each starts with a marker that the coded data
// cannot hold, since a 0xFF in it is followed by 0.
qsizetype jpegScans(const QByteArray &data)
{
    if (!data.startsWith(QByteArrayView("\xFF\xD8", 2)))
        return 0;
    return data.count(QByteArrayView("\xFF\xDA", 2));
}

// A stored picture is small; anything that claims to be huge is refused before it is decoded.
void limit(QImageReader &reader)
{
    reader.setAllocationLimit(64);
}

QImage decode(QImageReader &reader, QString *error)
{
    const QImage image = reader.read();
    if (image.isNull() && error)
        *error = reader.errorString();
    return image;
}

QImage decode(const QByteArray &data, QString *error)
{
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer);
    limit(reader);
    return decode(reader, error);
}

} // namespace

// A picture whose image is already at hand.
std::shared_ptr<StdPicture::Shared> StdPicture::decoded(const QByteArray &data, const QImage &image)
{
    auto shared = std::make_shared<Shared>();
    shared->data = data;
    shared->size = image.size();
    std::call_once(shared->decoding, [&] { shared->image = image; });
    return shared;
}

StdPicture StdPicture::fromData(const QByteArray &data, QString *error)
{
    return read(data, error, true);
}

StdPicture StdPicture::fromStoredData(const QByteArray &data, QString *error)
{
    return read(data, error, false);
}

StdPicture StdPicture::read(const QByteArray &data, QString *error, bool decodeNow)
{
    StdPicture picture;
    if (data.isEmpty())
        return picture;
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer);
    limit(reader);
    const QSize claimed = reader.size();
    if (claimed.width() > MaximumSide || claimed.height() > MaximumSide) {
        if (error)
            *error = QStringLiteral("picture is %1 x %2 pixels, larger than %3 x %3")
                         .arg(claimed.width())
                         .arg(claimed.height())
                         .arg(MaximumSide);
        return picture;
    }
    const bool icon = data.startsWith(QByteArrayView("\0\0\1\0", 4));
    if (icon && reader.imageCount() > MaximumIconImages) {
        if (error)
            *error = QStringLiteral("an icon of %1 images, more than %2")
                         .arg(reader.imageCount())
                         .arg(MaximumIconImages);
        return picture;
    }
    if (const qsizetype scans = jpegScans(data); scans > MaximumJpegScans) {
        if (error)
            *error =
                QStringLiteral("a JPEG of %1 scans, more than %2").arg(scans).arg(MaximumJpegScans);
        return picture;
    }
    // A format that cannot tell its size from the header is decoded now.
    if (decodeNow || !claimed.isValid() || claimed.isEmpty()) {
        const QImage image = decode(reader, error);
        if (!image.isNull())
            picture.m_shared = decoded(data, image);
        return picture;
    }
    picture.m_shared = std::make_shared<Shared>();
    picture.m_shared->data = data;
    picture.m_shared->size = claimed;
    return picture;
}

StdPicture StdPicture::fromImage(const QImage &image)
{
    StdPicture picture;
    if (image.isNull())
        return picture;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.write(image);
    picture.m_shared = decoded(png, image);
    return picture;
}

QByteArray StdPicture::data() const
{
    return m_shared ? m_shared->data : QByteArray();
}

QSize StdPicture::size() const
{
    return m_shared ? m_shared->size : QSize();
}

QImage StdPicture::image() const
{
    if (!m_shared)
        return QImage();
    Shared &shared = *m_shared;
    std::call_once(shared.decoding, [&] {
        QString why;
        shared.image = decode(shared.data, &why);
        if (shared.image.isNull())
            qWarning("A stored picture cannot be decoded: %s", qPrintable(why));
    });
    return shared.image;
}

bool operator==(const StdPicture &a, const StdPicture &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a.m_hotSpot == b.m_hotSpot &&
           (a.m_shared == b.m_shared || a.data() == b.data() || a.image() == b.image());
}

} // namespace forms
