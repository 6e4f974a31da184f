#include "objectlist.h"

#include "controlregistry.h"
#include "designsurface.h"

#include <QHeaderView>
#include <QPointer>

namespace {

QWidget *controlOf(const QTreeWidgetItem *item)
{
    return item->data(0, Qt::UserRole).value<QPointer<QWidget>>();
}

} // namespace

ObjectList::ObjectList(DesignSurface *surface, QWidget *parent)
    : QTreeWidget(parent), m_surface(surface)
{
    setObjectName(QStringLiteral("objectList"));
    setColumnCount(2);
    setHeaderLabels({tr("Object"), tr("Class")});
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformRowHeights(true);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(surface, &DesignSurface::controlsAboutToChange, this, &ObjectList::forget);
    connect(surface, &DesignSurface::controlsChanged, this, &ObjectList::rebuild);
    connect(surface, &DesignSurface::selectionChanged, this, &ObjectList::showSelection);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &ObjectList::takeSelection);
    rebuild();
}

QList<QWidget *> ObjectList::listedControls() const
{
    QList<QWidget *> controls;
    for (int i = 0; i < topLevelItemCount(); ++i)
        controls.append(controlOf(topLevelItem(i)));
    return controls;
}

// Emptied before the controls go, so that their ends do not each walk the list.
void ObjectList::forget()
{
    m_updating = true;
    for (const QMetaObject::Connection &connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    clear();
    m_updating = false;
}

void ObjectList::rebuild()
{
    forget();
    m_updating = true;
    for (QWidget *control : m_surface->controlsInTabOrder()) {
        auto *item = new QTreeWidgetItem(
            this, {DesignSurface::displayName(control), forms::controlClassName(control)});
        item->setData(0, Qt::UserRole, QVariant::fromValue(QPointer<QWidget>(control)));
        // The control disappears from the list the moment it goes.
        m_connections.append(connect(control, &QObject::destroyed, this, [this] {
            for (int i = topLevelItemCount() - 1; i >= 0; --i) {
                if (!controlOf(topLevelItem(i)))
                    delete takeTopLevelItem(i);
            }
        }));
    }
    m_updating = false;
    showSelection();
}

void ObjectList::showSelection()
{
    m_updating = true;
    const QList<QWidget *> selected = m_surface->selection();
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = topLevelItem(i);
        const bool chosen = selected.contains(controlOf(item));
        item->setSelected(chosen);
        if (chosen && selected.last() == controlOf(item))
            scrollToItem(item);
    }
    m_updating = false;
}

void ObjectList::takeSelection()
{
    if (m_updating)
        return;
    QList<QWidget *> chosen;
    for (QTreeWidgetItem *item : selectedItems()) {
        if (QWidget *control = controlOf(item))
            chosen.append(control);
    }
    m_surface->setSelection(chosen);
}
