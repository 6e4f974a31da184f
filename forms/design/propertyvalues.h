#pragma once

#include <QObject>
#include <QStringList>
#include <QVariant>

namespace forms {

// What the values of a property are called and what a write of one expects, for the editors
// that show and take them as text.

// The pointer shapes by number and name ("0 - Default"), as MousePointer numbers them.
QStringList pointerShapeNames();

// The named values of an enumerated property ("0 - Default", "1 - Arrow"), or none. MousePointer
// is enumerated on every control; a class names the values of its own enumerated properties with
// Q_CLASSINFO("Values:Alignment", "0 - Left|1 - Right|2 - Above").
QStringList valueNames(const QObject *control, const QString &property);
// "0 - Default" for 0 when the value has a name, else the number as text.
QString nameOfValue(const QStringList &names, qint64 value);
// The number a named value stands for: "3 - I-Beam" and "3" both give "3". Other text is passed
// on as it is, for the property's own conversion to refuse.
QVariant valueOfName(const QStringList &names, const QString &text);

// What a write of the property takes, in words a person can act on: "a number of twips, e.g. 120".
QString expectedValue(const QObject *control, const QString &property);

} // namespace forms
