#pragma once

#include "propertypage.h"

#include <QMap>
#include <QVariant>

class QComboBox;
class QLabel;
class QPushButton;

namespace forms {

// The stock pages for font, picture and colour properties: each lists the properties of its kind
// that the first selected control has, shows the chosen one's value and edits it with the
// toolkit's dialog. Applying writes every edited property, by name, to each selected control
// that has it.
class StandardPage : public PropertyPage
{
    Q_OBJECT

public:
    enum class Kind { Font, Picture, Color };

    StandardPage(Kind kind, QWidget *parent = nullptr);

    void SelectionChanged() override;
    void ApplyChanges() override;

    // The properties the page edits, and the value it holds for one of them.
    QStringList propertyNames() const;
    QVariant value(const QString &property) const;
    // Stores an edited value, as the page's dialogs do.
    void setValue(const QString &property, const QVariant &value);

private:
    bool isOfKind(const QMetaProperty &property) const;
    void showCurrent();
    void edit();
    void clear();
    QString describe(const QVariant &value) const;

    Kind m_kind;
    QComboBox *m_properties;
    QLabel *m_preview;
    QPushButton *m_edit;
    QPushButton *m_clear = nullptr;
    QComboBox *m_systemColours = nullptr;
    QMap<QString, QVariant> m_values;
    QStringList m_edited;
};

// Makes "StandardFont", "StandardPicture" and "StandardColor" known to the page host.
void registerStandardPages();

} // namespace forms
