#pragma once

#include <QAnyStringView>
#include <QVariant>

#include <span>

class LumoButton;

// One stored property of a LumoButton: its name and kind in a stored set, its value when the set
// leaves it out, what a newly made button starts with, and where the button keeps it.
struct LumoButtonProperty
{
    enum class Kind { Boolean, Integer, Color, Text, Font, Picture };
    // Where the button keeps it: in a field, which takes its starting value as the button is
    // placed; or in a constituent, set up as the button is made, of which three are read from a
    // stored set through the property's own setter, which redraws and reports the change.
    enum class Kept { InField, InConstituent, InConstituentReadBySetter };

    const char *name;
    Kind kind;
    QVariant (*storedDefault)(const LumoButton &button);
    // What a new button starts with where that is not the stored default; nullptr otherwise.
    QVariant (*startsWith)(const LumoButton &button);
    Kept kept;
    QVariant (*value)(const LumoButton &button);
    // Takes a value of the kind's stored type, without a redraw or a change notification.
    void (*assign)(LumoButton &button, const QVariant &value);

    QVariant startValue(const LumoButton &button) const
    {
        return startsWith ? startsWith(button) : storedDefault(button);
    }
    // A stored value in this kind's type (a colour as quint32, an integer as qint16, ...).
    QVariant converted(const QVariant &stored) const;
};

// The stored set: adding a property to it is one row here and its accessors in LumoButton.
class LumoButtonProperties
{
public:
    // In the order a stored set holds them.
    static std::span<const LumoButtonProperty> all();
    static const LumoButtonProperty *find(QAnyStringView name);
};
