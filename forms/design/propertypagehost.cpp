#include "propertypagehost.h"

#include "propertypage.h"
#include "refusalbox.h"
#include "runtimeerror.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace forms {

namespace {

// "cmdAction(0)" for a member of a control array, else the name.
QString nameOf(const QObject *control)
{
    if (!control)
        return {};
    const QVariant index = control->property("Index");
    return index.isValid() && index.toInt() >= 0
               ? QStringLiteral("%1(%2)").arg(control->objectName()).arg(index.toInt())
               : control->objectName();
}

} // namespace

QStringList PropertyPageHost::commonPages(const QList<QObject *> &selection)
{
    if (selection.isEmpty())
        return {};
    QStringList pages = propertyPagesOf(selection.first());
    for (const QObject *control : selection) {
        const QStringList own = propertyPagesOf(control);
        pages.removeIf([&](const QString &page) { return !own.contains(page); });
    }
    return pages;
}

PropertyPageHost::PropertyPageHost(const QList<QObject *> &selection, QWidget *parent)
    : QDialog(parent), m_tabs(new QTabWidget(this)),
      m_buttons(new QDialogButtonBox(
          QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this))
{
    setWindowTitle(tr("Property Pages"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);
    for (const QString &name : commonPages(selection)) {
        PropertyPage *page = createPropertyPage(name, m_tabs);
        if (!page)
            continue;
        m_tabs->addTab(page, page->windowTitle().isEmpty() ? name : page->windowTitle());
        connect(page, &PropertyPage::changedChanged, this, &PropertyPageHost::updateApply);
    }
    connect(m_tabs, &QTabWidget::currentChanged, this, &PropertyPageHost::updateApply);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &PropertyPageHost::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &PropertyPageHost::reject);
    connect(m_buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            &PropertyPageHost::applyChanges);
    setSelection(selection);
}

QList<PropertyPage *> PropertyPageHost::pages() const
{
    QList<PropertyPage *> result;
    for (int i = 0; i < m_tabs->count(); ++i)
        result.append(qobject_cast<PropertyPage *>(m_tabs->widget(i)));
    return result;
}

PropertyPage *PropertyPageHost::page(const QString &caption) const
{
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (m_tabs->tabText(i) == caption)
            return qobject_cast<PropertyPage *>(m_tabs->widget(i));
    }
    return nullptr;
}

void PropertyPageHost::setSelection(const QList<QObject *> &selection)
{
    for (PropertyPage *page : pages()) {
        page->setSelectedControls(selection);
        try {
            page->SelectionChanged();
        } catch (const RuntimeError &error) {
            refuse(page, error);
        }
    }
    updateApply();
}

bool PropertyPageHost::applyChanges()
{
    emit aboutToApply();
    for (PropertyPage *page : pages()) {
        if (!page->Changed())
            continue;
        try {
            page->ApplyChanges();
        } catch (const RuntimeError &error) {
            m_tabs->setCurrentWidget(page);
            m_partlyApplied = true;
            emit applied();
            refuse(page, error);
            return false;
        }
        page->setChanged(false);
    }
    m_partlyApplied = false;
    emit applied();
    updateApply();
    return true;
}

void PropertyPageHost::refuse(PropertyPage *page, const RuntimeError &error)
{
    const QList<QObject *> selected = page->SelectedControls();
    const QObject *control = selected.isEmpty() ? nullptr : selected.first();
    showRefusal(this, windowTitle(), refusalMessage(nameOf(control), control, {}, error));
}

void PropertyPageHost::accept()
{
    if (applyChanges())
        QDialog::accept();
}

void PropertyPageHost::reject()
{
    if (m_partlyApplied)
        QMessageBox::information(this, windowTitle(),
                                 tr("The properties before the one that failed were already "
                                    "written and stay as they are now."));
    QDialog::reject();
}

void PropertyPageHost::updateApply()
{
    const auto *current = qobject_cast<PropertyPage *>(m_tabs->currentWidget());
    m_buttons->button(QDialogButtonBox::Apply)->setEnabled(current && current->Changed());
}

} // namespace forms
