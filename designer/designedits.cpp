// The design surface's edit commands: inserting, deleting, the clipboard, stacking, and where a
// new control goes.
#include "designsurface.h"

#include "controlkeys.h"
#include "controlregistry.h"
#include "form.h"
#include "selectionoverlay.h"
#include "twips.h"
#include "usercontrol.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// A newly placed control's size, that of a usual command button; a control that fixes its own
// height keeps it.
constexpr float PlacedWidth = 1215;
constexpr float PlacedHeight = 495;

QRectF rectOf(const forms::TwipsRect &place)
{
    return QRectF(place.left, place.top, std::max(place.width, 1.0f), std::max(place.height, 1.0f));
}

} // namespace

QString DesignSurface::uniqueName(const QString &base) const
{
    for (int n = 1;; ++n) {
        const QString name = base + QString::number(n);
        bool taken = false;
        for (QWidget *control : m_form->controls())
            taken = taken || control->objectName().compare(name, Qt::CaseInsensitive) == 0;
        if (!taken)
            return name;
    }
}

// The first place on the grid, row by row, where a control of this size covers no other. When
// the client area has none, the control goes below the others and the window grows to hold it.
// Each row looks only at the controls across it, left to right, and jumps past each one in its
// way, so that a full window of thousands of controls is searched in a moment.
forms::TwipsRect DesignSurface::freePlace(float width, float height)
{
    QList<QRectF> taken;
    for (QWidget *control : m_form->controls())
        taken.append(rectOf(forms::twipsGeometry(control)));
    std::sort(taken.begin(), taken.end(),
              [](const QRectF &a, const QRectF &b) { return a.left() < b.left(); });
    const float step = gridTwips();
    const auto nextGridPlace = [step](double from) { return float(std::ceil(from / step) * step); };
    QList<QRectF> across;
    for (float top = 0; top + height <= clientHeight(); top += step) {
        across.clear();
        for (const QRectF &rect : std::as_const(taken)) {
            if (rect.top() < top + height && rect.bottom() > top)
                across.append(rect);
        }
        float left = 0;
        for (const QRectF &rect : std::as_const(across)) {
            if (rect.left() >= left + width)
                break;
            if (rect.right() > left)
                left = nextGridPlace(rect.right());
        }
        if (left + width <= clientWidth())
            return {left, top, width, height};
    }
    float bottom = 0;
    for (const QRectF &rect : std::as_const(taken))
        bottom = std::max(bottom, float(rect.bottom()));
    const float top = nextGridPlace(bottom);
    const int grow = forms::twipsToPixelsY(top + height) - m_form->clientArea()->height();
    if (grow > 0)
        m_form->resize(m_form->width(), m_form->height() + grow);
    return {0, top, width, height};
}

QWidget *DesignSurface::insertControl(const QString &className)
{
    if (!m_form || !forms::isUserControlClass(className))
        return nullptr;
    const forms::FormDefinition before = definition();
    const auto selectedBefore = selectionKeys();
    QWidget *control = forms::createControl(className, m_form->clientArea());
    if (!control)
        return nullptr;
    int tabIndex = 0;
    for (QWidget *other : m_form->controls())
        tabIndex = std::max(tabIndex, forms::tabIndexOf(other) + 1);
    // Placed by size before it joins the others, so that it is no obstacle to itself.
    if (auto *userControl = qobject_cast<forms::UserControl *>(control))
        userControl->InitProperties();
    forms::setTwipsGeometry(control, {0, 0, std::min(PlacedWidth, clientWidth()),
                                      std::min(PlacedHeight, clientHeight())});
    const forms::TwipsRect size = forms::twipsGeometry(control);
    forms::setTwipsGeometry(control, freePlace(size.width, size.height));
    m_form->addControl(control, uniqueName(className.section(u'.', -1)), -1, tabIndex);
    control->show();
    control->raise();
    watchControl(control);
    layOutOverlay();
    emit controlsChanged();
    select(control);
    recordEdit(tr("Insert %1").arg(className.section(u'.', -1)), before, selectedBefore);
    return control;
}

void DesignSurface::deleteSelection()
{
    const QList<QWidget *> controls = selection();
    if (controls.isEmpty())
        return;
    const forms::FormDefinition before = definition();
    const auto selectedBefore = selectionKeys();
    m_selection.clear();
    for (QWidget *control : controls) {
        m_form->removeControl(control);
        delete control;
    }
    emit marksChanged();
    emit controlsChanged();
    emit selectionChanged();
    recordEdit(tr("Delete"), before, selectedBefore);
}

QByteArray DesignSurface::copySelection() const
{
    const auto keys = selectionKeys();
    forms::FormDefinition copied;
    copied.name = QStringLiteral("controls");
    for (const forms::ControlDefinition &control : definition().controls) {
        if (keys.contains({control.name, control.index}))
            copied.controls.append(control);
    }
    return forms::writeDefinition(copied);
}

void DesignSurface::paste(const QByteArray &controls)
{
    if (!m_form)
        return;
    const forms::FormDefinition pasted = forms::readDefinition(controls, tr("the clipboard"));
    addControls(pasted.controls, tr("Paste"), {});
}

void DesignSurface::addControls(QList<forms::ControlDefinition> added, const QString &step,
                                std::optional<QPointF> offset)
{
    forms::FormDefinition edited = definition();
    int tabIndex = 0;
    for (const forms::ControlDefinition &control : std::as_const(edited.controls))
        tabIndex = std::max(tabIndex, control.tabIndex + 1);
    const auto named = [&](const QString &name) {
        QList<int> indexes;
        for (const forms::ControlDefinition &control : std::as_const(edited.controls)) {
            if (control.name.compare(name, Qt::CaseInsensitive) == 0)
                indexes.append(control.index);
        }
        return indexes;
    };
    const auto coversExactly = [&](const forms::TwipsRect &place) {
        return std::any_of(edited.controls.cbegin(), edited.controls.cend(),
                           [&](const forms::ControlDefinition &c) { return c.rect == place; });
    };
    QList<QPair<QString, int>> keys;
    for (forms::ControlDefinition control : added) {
        const QList<int> indexes = named(control.name);
        if (!indexes.isEmpty()) {
            if (control.index >= 0 && !indexes.contains(-1)) {
                control.index = *std::max_element(indexes.cbegin(), indexes.cend()) + 1;
            } else {
                QString base = control.name;
                while (base.size() > 1 && base.back().isDigit())
                    base.chop(1);
                int n = 1;
                while (!named(base + QString::number(n)).isEmpty())
                    ++n;
                control.name = base + QString::number(n);
            }
        }
        if (offset) {
            control.rect.left += float(offset->x());
            control.rect.top += float(offset->y());
        }
        for (int tries = 0; tries < 100 && coversExactly(control.rect); ++tries) {
            control.rect.left += gridTwips();
            control.rect.top += gridTwips();
        }
        control.tabIndex = tabIndex++;
        control.line = control.column = 0;
        refuseUnpastable(control);
        edited.controls.append(control);
        keys.append({control.name, control.index});
    }
    // A control that fails to build, or breaks a rule of the window, names the clipboard, not
    // the open file.
    const QString source = std::exchange(m_source, tr("the clipboard"));
    try {
        applyDefinition(edited, step, keys);
    } catch (const forms::DefinitionError &error) {
        m_source = source;
        if (error.message().startsWith(tr("the clipboard")))
            throw;
        throw forms::DefinitionError(tr("the clipboard: %1").arg(error.message()));
    } catch (...) {
        m_source = source;
        throw;
    }
    m_source = source;
}

// A control of a class this program cannot build, or one for which no free name or index was
// found, is not pasted; the window's own rules are kept by applyDefinition. The clipboard is
// named as where the control came from.
void DesignSurface::refuseUnpastable(const forms::ControlDefinition &control) const
{
    const QString where = tr("the clipboard: control '%1': ").arg(control.displayName());
    if (!forms::isControlClass(control.className))
        throw forms::DefinitionError(where + tr("unknown class \"%1\"").arg(control.className));
    if (control.index > forms::MaxControlIndex)
        throw forms::DefinitionError(
            where + tr("its control array has no free index up to %1").arg(forms::MaxControlIndex));
    if (!forms::isControlName(control.name))
        throw forms::DefinitionError(
            where + tr("no free name of at most %1 characters").arg(forms::MaxNameLength));
}

void DesignSurface::duplicateSelection()
{
    const auto keys = selectionKeys();
    if (keys.isEmpty())
        return;
    QList<forms::ControlDefinition> copies;
    for (const forms::ControlDefinition &control : definition().controls) {
        if (keys.contains({control.name, control.index}))
            copies.append(control);
    }
    addControls(copies, tr("Duplicate"), freeOffset(copies));
}

// How far, in whole grid steps and as near as can be, copies of controls go so that they cover
// no control and stay in the client area. When the client area has no such place near, they go
// below the others and the window grows to hold them, as an inserted control does.
QPointF DesignSurface::freeOffset(const QList<forms::ControlDefinition> &copies)
{
    QList<QRectF> taken, moving;
    for (QWidget *control : m_form->controls())
        taken.append(rectOf(forms::twipsGeometry(control)));
    QRectF group;
    for (const forms::ControlDefinition &copy : copies) {
        moving.append(rectOf(copy.rect));
        group |= moving.last();
    }
    const QRectF client(0, 0, clientWidth(), clientHeight());
    constexpr int Reach = 30;
    QList<QPoint> steps;
    for (int y = -Reach; y <= Reach; ++y) {
        for (int x = -Reach; x <= Reach; ++x) {
            if (x || y)
                steps.append({x, y});
        }
    }
    std::stable_sort(steps.begin(), steps.end(), [](const QPoint &a, const QPoint &b) {
        return a.x() * a.x() + a.y() * a.y() < b.x() * b.x() + b.y() * b.y();
    });
    for (const QPoint &step : std::as_const(steps)) {
        const QPointF offset = QPointF(step) * gridTwips();
        if (!client.contains(group.translated(offset)))
            continue;
        const bool free = std::none_of(moving.cbegin(), moving.cend(), [&](const QRectF &rect) {
            const QRectF moved = rect.translated(offset);
            return std::any_of(taken.cbegin(), taken.cend(),
                               [&](const QRectF &other) { return other.intersects(moved); });
        });
        if (free)
            return offset;
    }
    float bottom = 0;
    for (const QRectF &rect : std::as_const(taken))
        bottom = std::max(bottom, float(rect.bottom()));
    const float top = std::ceil(bottom / gridTwips()) * gridTwips();
    const int grow =
        forms::twipsToPixelsY(top + float(group.height())) - m_form->clientArea()->height();
    if (grow > 0)
        m_form->resize(m_form->width(), m_form->height() + grow);
    return QPointF(0, top - group.top());
}

void DesignSurface::bringSelectionToFront()
{
    reorderSelection(true, tr("Bring to Front"));
}

void DesignSurface::sendSelectionToBack()
{
    reorderSelection(false, tr("Send to Back"));
}

// The window stacks its controls in their stored order, the last on top.
void DesignSurface::reorderSelection(bool toFront, const QString &step)
{
    const auto keys = selectionKeys();
    if (keys.isEmpty())
        return;
    forms::FormDefinition edited = definition();
    QList<forms::ControlDefinition> chosen, others;
    for (const forms::ControlDefinition &control : std::as_const(edited.controls))
        (keys.contains({control.name, control.index}) ? chosen : others).append(control);
    edited.controls = toFront ? others + chosen : chosen + others;
    applyDefinition(edited, step, keys);
}

QStringList DesignSurface::controlsOutside() const
{
    QStringList outside;
    if (!m_form)
        return outside;
    const QRectF client(0, 0, clientWidth(), clientHeight());
    for (QWidget *control : m_form->controls()) {
        if (!rectOf(forms::twipsGeometry(control)).intersects(client))
            outside.append(displayName(control));
    }
    return outside;
}
