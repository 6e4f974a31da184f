#pragma once

#include <QByteArray>
#include <QImage>
#include <QMetaType>
#include <QPoint>
#include <QString>

namespace forms {

// A picture object: an image (empty means none) together with the encoded file it came from, so
// that a stored picture is written back byte for byte. Pointer images carry a hot spot.
class StdPicture
{
public:
    StdPicture() = default;

    // Decodes PNG, ICO, BMP or any other format the toolkit reads. An empty or undecodable file
    // gives an empty picture and, when asked for, the reason.
    static StdPicture fromData(const QByteArray &data, QString *error = nullptr);
    // A picture made from an image, encoded as PNG.
    static StdPicture fromImage(const QImage &image);

    bool isNull() const { return m_image.isNull(); }
    // Non-zero exactly when the picture holds an image.
    quint64 Handle() const { return isNull() ? 0 : quint64(m_image.cacheKey()) | 1u; }

    QImage image() const { return m_image; }
    QByteArray data() const { return m_data; }
    QSize size() const { return m_image.size(); }

    QPoint hotSpot() const { return m_hotSpot; }
    void setHotSpot(QPoint hotSpot) { m_hotSpot = hotSpot; }

    friend bool operator==(const StdPicture &a, const StdPicture &b);

private:
    QImage m_image;
    QByteArray m_data;
    QPoint m_hotSpot;
};

} // namespace forms

Q_DECLARE_METATYPE(forms::StdPicture)
