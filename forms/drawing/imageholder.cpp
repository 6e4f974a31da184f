#include "imageholder.h"

#include "twips.h"

namespace forms {

float ImageHolder::Width() const
{
    return pixelsToTwipsX(float(m_picture.size().width()));
}

float ImageHolder::Height() const
{
    return pixelsToTwipsY(float(m_picture.size().height()));
}

} // namespace forms
