#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace forms {

// What a stored picture will decode to, read from the structure of its file rather than from
// what its header claims, so that a file is refused before it can take seconds or gigabytes.
struct PictureCheck
{
    // The pixels all its images decode to: an icon or cursor file is decoded image by image for a
    // window's icon or a pointer, each at the size its own data has.
    qint64 pixels = 0;
    // Why the file is refused, or nothing.
    std::optional<QString> refusal;

    // The largest side of an image, the most images of an icon or cursor file, and the most scans
    // of a JPEG, each decoded anew for each scan.
    static constexpr int MaximumSide = 4096;
    static constexpr int MaximumIconImages = 256;
    static constexpr qsizetype MaximumJpegScans = 100;

    static PictureCheck of(const QByteArray &data);
};

} // namespace forms
