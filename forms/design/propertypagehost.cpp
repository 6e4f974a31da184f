#include "propertypagehost.h"

#include "propertypage.h"
#include "runtimeerror.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace forms {

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
            QMessageBox::warning(
                this, windowTitle(),
                tr("Run-time error '%1':\n\n%2").arg(error.number()).arg(error.description()));
        }
    }
    updateApply();
}

bool PropertyPageHost::applyChanges()
{
    for (PropertyPage *page : pages()) {
        if (!page->Changed())
            continue;
        try {
            page->ApplyChanges();
        } catch (const RuntimeError &error) {
            m_tabs->setCurrentWidget(page);
            QMessageBox::warning(
                this, windowTitle(),
                tr("Run-time error '%1':\n\n%2").arg(error.number()).arg(error.description()));
            m_partlyApplied = true;
            emit applied();
            return false;
        }
        page->setChanged(false);
        emit applied();
    }
    m_partlyApplied = false;
    updateApply();
    return true;
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
