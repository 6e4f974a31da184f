#include "accessmarkers.h"

namespace forms {

MarkedText takeMarkers(const QStringList &characters)
{
    MarkedText marked;
    bool pending = false;
    for (const QString &c : characters) {
        if (c == u"&") {
            pending = true;
            continue;
        }
        if (pending)
            marked.underlined.append({marked.text.size(), c.size()});
        pending = false;
        marked.text += c;
    }
    marked.endsWithMarker = pending;
    return marked;
}

} // namespace forms
