#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>

class QDialogButtonBox;
class QTabWidget;

namespace forms {

class PropertyPage;
class RuntimeError;

// The dialog that shows the property pages of the selected controls as tabs, in the order the
// controls name them, with OK, Cancel and Apply. Apply is offered while the current page holds
// edits. A failed apply is reported with the control, the property and what it takes, and the
// error's number and text; the dialog stays open and the properties written before the failing
// one stay written.
class PropertyPageHost : public QDialog
{
    Q_OBJECT

public:
    explicit PropertyPageHost(const QList<QObject *> &selection, QWidget *parent = nullptr);

    // The pages every control of a selection names, in the first one's order.
    static QStringList commonPages(const QList<QObject *> &selection);

    QList<PropertyPage *> pages() const;
    PropertyPage *page(const QString &caption) const;

    // Gives every page a new selection and lets it load its fields.
    void setSelection(const QList<QObject *> &selection);
    // Applies every page that holds edits, in tab order; true when all were applied.
    bool applyChanges();
    // OK: applies, and closes only when everything was applied.
    void accept() override;
    // Cancel after a failed apply says that the properties before the failing one were written.
    void reject() override;

signals:
    // An apply begins: the pages are about to write their fields.
    void aboutToApply();
    // An apply is over: what it wrote (all of it, or what came before a failure) is written.
    void applied();

private:
    void updateApply();
    void refuse(PropertyPage *page, const RuntimeError &error);

    QTabWidget *m_tabs;
    QDialogButtonBox *m_buttons;
    bool m_partlyApplied = false;
};

} // namespace forms
