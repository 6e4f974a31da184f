#include "stdpicture.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

namespace forms {

StdPicture StdPicture::fromData(const QByteArray &data, QString *error)
{
    StdPicture picture;
    if (data.isEmpty())
        return picture;
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer);
    // A stored picture is small; refuse anything that claims to be huge before decoding it.
    reader.setAllocationLimit(64);
    const QSize claimed = reader.size();
    if (claimed.isValid() && (claimed.width() > 4096 || claimed.height() > 4096)) {
        if (error)
            *error = QStringLiteral("picture is %1 x %2 pixels, larger than 4096 x 4096")
                         .arg(claimed.width())
                         .arg(claimed.height());
        return picture;
    }
    QImage image = reader.read();
    if (image.isNull()) {
        if (error)
            *error = reader.errorString();
        return picture;
    }
    picture.m_image = image;
    picture.m_data = data;
    return picture;
}

StdPicture StdPicture::fromImage(const QImage &image)
{
    StdPicture picture;
    if (image.isNull())
        return picture;
    QBuffer buffer(&picture.m_data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.write(image);
    picture.m_image = image;
    return picture;
}

bool operator==(const StdPicture &a, const StdPicture &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a.m_hotSpot == b.m_hotSpot && (a.m_data == b.m_data || a.m_image == b.m_image);
}

} // namespace forms
