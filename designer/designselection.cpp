// The design surface's selection: which controls are selected, the tab order it walks, and what
// lies under the pointer (controls and the handles of selected ones).
#include "designsurface.h"

#include "controlkeys.h"
#include "form.h"
#include "selectionoverlay.h"

#include <algorithm>

QList<QWidget *> DesignSurface::controlsInTabOrder() const
{
    if (!m_form)
        return {};
    QList<QWidget *> controls = m_form->controls();
    std::stable_sort(controls.begin(), controls.end(), [](const QWidget *a, const QWidget *b) {
        return forms::tabIndexOf(a) < forms::tabIndexOf(b);
    });
    return controls;
}

QString DesignSurface::displayName(const QWidget *control)
{
    const int index = control->property("Index").toInt();
    return index >= 0 ? QStringLiteral("%1(%2)").arg(control->objectName()).arg(index)
                      : control->objectName();
}

QList<QWidget *> DesignSurface::selection() const
{
    QList<QWidget *> result;
    for (const auto &control : m_selection) {
        if (control)
            result.append(control);
    }
    return result;
}

void DesignSurface::select(QWidget *control, bool add)
{
    if (!add)
        m_selection.clear();
    if (control && !m_selection.contains(control))
        m_selection.append(control);
    emit marksChanged();
    emit selectionChanged();
}

void DesignSurface::setSelection(const QList<QWidget *> &controls)
{
    if (controls == selection())
        return;
    m_selection.clear();
    for (QWidget *control : controls)
        m_selection.append(control);
    emit marksChanged();
    emit selectionChanged();
}

void DesignSurface::clearSelection()
{
    select(nullptr);
}

void DesignSurface::selectNext(bool forward)
{
    const QList<QWidget *> controls = controlsInTabOrder();
    if (controls.isEmpty())
        return;
    const qsizetype count = controls.size();
    const QList<QWidget *> selected = selection();
    const qsizetype at = selected.isEmpty() ? -1 : controls.indexOf(selected.last());
    qsizetype next = forward ? 0 : count - 1;
    if (at >= 0)
        next = (at + (forward ? 1 : -1) + count) % count;
    select(controls.at(next));
}

QList<QPair<QString, int>> DesignSurface::selectionKeys() const
{
    QList<QPair<QString, int>> keys;
    for (QWidget *control : selection())
        keys.append({control->objectName(), control->property("Index").toInt()});
    return keys;
}

QRect DesignSurface::boxOf(const QWidget *control) const
{
    return QRect(control->mapTo(m_form, QPoint(0, 0)), control->size());
}

QList<QRect> DesignSurface::handlesOf(const QRect &box)
{
    const int midX = box.center().x(), midY = box.center().y();
    QList<QRect> handles;
    for (const QPoint &centre :
         {box.topLeft(), QPoint(midX, box.top()), box.topRight(), QPoint(box.right(), midY),
          box.bottomRight(), QPoint(midX, box.bottom()), box.bottomLeft(),
          QPoint(box.left(), midY)})
        handles.append(QRect(centre - QPoint(2, 2), QSize(5, 5)));
    return handles;
}
