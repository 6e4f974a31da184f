#include "fieldnames.h"

#include "geometry.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <optional>
#include <utility>

namespace forms {

namespace {

bool isField(const QWidget *widget)
{
    return qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QComboBox *>(widget);
}

bool overlap(float start1, float length1, float start2, float length2)
{
    return start1 < start2 + length2 && start2 < start1 + length1;
}

// How far a label stands from a field it may name: to its left on the same line (first), or
// above it in the same column; none when the label stands elsewhere.
using Distance = std::pair<int, float>;

std::optional<Distance> distance(const TwipsRect &label, const TwipsRect &field)
{
    const float leftGap = field.left - (label.left + label.width);
    if (leftGap >= 0 && overlap(label.top, label.height, field.top, field.height))
        return Distance{0, leftGap};
    const float aboveGap = field.top - (label.top + label.height);
    if (aboveGap >= 0 && overlap(label.left, label.width, field.left, field.width))
        return Distance{1, aboveGap};
    return std::nullopt;
}

const QLabel *labelOf(const QWidget *field, const QList<QWidget *> &controls)
{
    const TwipsRect place = twipsGeometry(field);
    const QLabel *nearest = nullptr;
    Distance nearestDistance;
    for (const QWidget *control : controls) {
        const auto *label = qobject_cast<const QLabel *>(control);
        if (!label || spokenCaption(label->text()).isEmpty())
            continue;
        const std::optional<Distance> d = distance(twipsGeometry(label), place);
        if (d && (!nearest || *d < nearestDistance)) {
            nearest = label;
            nearestDistance = *d;
        }
    }
    return nearest;
}

} // namespace

QString spokenCaption(const QString &caption)
{
    QString spoken = caption;
    spoken.remove(u'&');
    spoken = spoken.trimmed();
    if (spoken.endsWith(u':'))
        spoken.chop(1);
    return spoken.trimmed();
}

void nameFieldsByLabels(const QList<QWidget *> &controls)
{
    for (QWidget *control : controls) {
        if (!isField(control) || !control->accessibleName().isEmpty())
            continue;
        if (const QLabel *label = labelOf(control, controls))
            control->setAccessibleName(spokenCaption(label->text()));
    }
}

} // namespace forms
