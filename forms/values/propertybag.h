#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QVariant>

namespace forms {

// The name-value store in which a control's design-time properties are saved with the window
// definition. Entries keep the order in which they were written; names match without regard to
// case. Values are 16-bit integers (short), 32-bit integers (int or uint), Booleans, strings,
// fonts (StdFont) and pictures (StdPicture).
class PropertyBag
{
public:
    struct Entry
    {
        QString name;
        QVariant value;
    };

    // The stored value, or the default when the name is not stored.
    QVariant ReadProperty(const QString &name, const QVariant &defaultValue = QVariant()) const;
    // Stores the value unless it equals the default; a value already stored under the name is
    // replaced in place, or removed when the new value equals the default.
    void WriteProperty(const QString &name, const QVariant &value,
                       const QVariant &defaultValue = QVariant());

    bool contains(const QString &name) const { return indexOf(name) >= 0; }
    const QList<Entry> &entries() const { return m_entries; }
    // For the container: stores an entry as it was read from a definition, defaults included.
    void append(const QString &name, const QVariant &value);
    void clear() { m_entries.clear(); }
    bool isEmpty() const { return m_entries.isEmpty(); }

    // The name last asked for by ReadProperty, so that a failing read can be named.
    QString lastRead() const { return m_lastRead; }
    // For the container: while set, every name ReadProperty is asked for is noted there (in lower
    // case), so that the entries a control does not know can be kept.
    void noteReadsIn(QSet<QString> *names) const { m_reads = names; }

    // Whether two values are the same for WriteProperty: numbers and Booleans by value (True is
    // -1), text exactly, fonts and pictures by content.
    static bool sameValue(const QVariant &a, const QVariant &b);
    // Whether two bags store the same: the same names in the same order, each value of the same
    // kind and the same for WriteProperty, so that both are written the same.
    bool sameEntries(const PropertyBag &other) const;

    // The kind a value is stored as: a value of any other type is stored as its text.
    enum class Kind { Text, Short, Long, UnsignedLong, Boolean, Font, Picture };
    static Kind kindOf(const QVariant &value);

private:
    qsizetype indexOf(const QString &name) const;

    QList<Entry> m_entries;
    mutable QString m_lastRead;
    mutable QSet<QString> *m_reads = nullptr;
};

} // namespace forms
