#pragma once

#include <QByteArray>
#include <QImage>
#include <QMetaType>
#include <QPoint>
#include <QSize>
#include <QString>

#include <memory>

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
    // A stored picture: its format and size are checked now, the image is decoded the first time
    // it is asked for, so that a window does not decode pictures it does not show yet. A file
    // whose header cannot be read gives an empty picture and the reason; a body that fails to
    // decode later gives an empty image, and the file is still kept byte for byte.
    static StdPicture fromStoredData(const QByteArray &data, QString *error = nullptr);
    // A picture made from an image, encoded as PNG.
    static StdPicture fromImage(const QImage &image);

    bool isNull() const { return !m_shared; }
    // Non-zero exactly when the picture holds an image; copies share it.
    quint64 Handle() const { return quint64(quintptr(m_shared.get())); }

    QImage image() const;
    QByteArray data() const;
    QSize size() const;
    // The pixels the picture's file decodes to: all the images of an icon or a cursor file.
    qint64 pixelCount() const;

    QPoint hotSpot() const { return m_hotSpot; }
    void setHotSpot(QPoint hotSpot) { m_hotSpot = hotSpot; }

    friend bool operator==(const StdPicture &a, const StdPicture &b);

private:
    struct Shared;
    static StdPicture read(const QByteArray &data, QString *error, bool decodeNow);
    static std::shared_ptr<Shared> decoded(const QByteArray &data, const QImage &image);

    std::shared_ptr<Shared> m_shared;
    QPoint m_hotSpot;
};

} // namespace forms

Q_DECLARE_METATYPE(forms::StdPicture)
