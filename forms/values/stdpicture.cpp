#include "stdpicture.h"

#include "picturecheck.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <mutex>

namespace forms {

struct StdPicture::Shared
{
    QByteArray data;
    QSize size;
    // What all the file's images decode to, which for an icon is more than its first image.
    qint64 pixels = 0;
    std::once_flag decoding;
    QImage image;
};

namespace {

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
    shared->pixels = qint64(image.width()) * image.height();
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
    const PictureCheck check = PictureCheck::of(data);
    if (check.refusal) {
        if (error)
            *error = *check.refusal;
        return picture;
    }
    const QSize claimed = reader.size();
    // A format that cannot tell its size from the header is decoded now.
    if (decodeNow || !claimed.isValid() || claimed.isEmpty()) {
        const QImage image = decode(reader, error);
        if (!image.isNull()) {
            picture.m_shared = decoded(data, image);
            picture.m_shared->pixels = std::max(picture.m_shared->pixels, check.pixels);
        }
        return picture;
    }
    picture.m_shared = std::make_shared<Shared>();
    picture.m_shared->data = data;
    picture.m_shared->size = claimed;
    picture.m_shared->pixels = check.pixels;
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

qint64 StdPicture::pixelCount() const
{
    return m_shared ? m_shared->pixels : 0;
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
