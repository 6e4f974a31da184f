#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace forms {

// A property page: a small form that edits properties of the controls selected in a designer.
// Its host shows it as a tab titled by its caption, calls SelectionChanged when it is shown and
// whenever the selection changes, and ApplyChanges when the user applies or confirms while the
// page is marked Changed, clearing Changed afterwards.
class PropertyPage : public QWidget
{
    Q_OBJECT

public:
    explicit PropertyPage(QWidget *parent = nullptr);

    // The controls selected in the designer.
    QList<QObject *> SelectedControls() const;
    // True tells the host that the page holds edits, so that it offers to apply them.
    bool Changed() const { return m_changed; }
    void setChanged(bool changed);

    // Loads the page's fields from the selection.
    virtual void SelectionChanged() = 0;
    // Writes the page's fields back to the selection.
    virtual void ApplyChanges() = 0;

    // For the host.
    void setSelectedControls(const QList<QObject *> &controls);

signals:
    void changedChanged(bool changed);

private:
    QList<QPointer<QObject>> m_selection;
    bool m_changed = false;
};

// The pages a control may name, each with the function that creates one.
using PageFactory = std::function<PropertyPage *(QWidget *parent)>;
void registerPropertyPage(const QString &name, PageFactory factory);
PropertyPage *createPropertyPage(const QString &name, QWidget *parent);

// The pages a control names, in its order (its "PropertyPages" class information).
QStringList propertyPagesOf(const QObject *control);

} // namespace forms
