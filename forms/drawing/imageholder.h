#pragma once

#include "stdpicture.h"

namespace forms {

// An image holder: holds one picture and sizes itself to it, in twips.
class ImageHolder
{
public:
    StdPicture Picture() const { return m_picture; }
    void setPicture(const StdPicture &picture) { m_picture = picture; }

    // Whether the holder holds a picture (a non-zero handle).
    bool hasPicture() const { return m_picture.Handle() != 0; }

    float Width() const;
    float Height() const;

private:
    StdPicture m_picture;
};

} // namespace forms
