#include "designsurface.h"

#include "controlregistry.h"
#include "definitioncommand.h"
#include "form.h"
#include "selectionoverlay.h"
#include "twips.h"
#include "usercontrol.h"

#include <QEvent>
#include <QUndoStack>

#include <algorithm>
#include <cmath>

namespace {

constexpr char TabIndexKey[] = "_forms_tabindex";
// The smallest size a handle leaves: one pixel at the usual density.
constexpr float SmallestSize = 15;
// A newly placed control's size, that of a usual command button; a control that fixes its own
// height keeps it.
constexpr float PlacedWidth = 1215;
constexpr float PlacedHeight = 495;

QRectF rectOf(const forms::TwipsRect &place)
{
    return QRectF(place.left, place.top, std::max(place.width, 1.0f), std::max(place.height, 1.0f));
}

bool sameDefinition(const forms::FormDefinition &a, const forms::FormDefinition &b)
{
    try {
        return forms::writeDefinition(a) == forms::writeDefinition(b);
    } catch (const forms::DefinitionError &) {
        return false;
    }
}

int tabIndexOf(const QWidget *control)
{
    return control->property(TabIndexKey).toInt();
}

} // namespace

DesignSurface::DesignSurface(QWidget *parent)
    : QWidget(parent), m_overlay(new SelectionOverlay(this)), m_undo(new QUndoStack(this))
{
    m_overlay->hide();
    connect(m_undo, &QUndoStack::cleanChanged, this, [this](bool clean) { setModified(!clean); });
}

DesignSurface::~DesignSurface()
{
    // The designed window goes first, quietly: its controls' ends are no selection change.
    blockSignals(true);
    m_undo->blockSignals(true);
    delete m_form;
}

void DesignSurface::load(const forms::FormDefinition &definition, const QString &source)
{
    build(definition, source);
    m_undo->clear();
    m_undo->setClean();
    setModified(false);
    m_overlay->setFocus();
    emit selectionChanged();
}

forms::Form *DesignSurface::build(const forms::FormDefinition &definition, const QString &source)
{
    auto *form = new forms::Form(this);
    // A main window is a top-level window of its own unless told otherwise.
    form->setWindowFlags(Qt::Widget);
    // Controls inside see UserMode False: the window is being designed.
    form->setProperty(forms::UserControl::UserModeProperty, false);
    try {
        form->LoadDefinition(definition, source);
    } catch (...) {
        delete form;
        throw;
    }
    m_selection.clear();
    delete m_form;
    m_form = form;
    m_source = source;
    makeInert(m_form);
    m_form->move(8, 8);
    m_form->show();
    m_form->installEventFilter(this);
    for (QWidget *control : m_form->controls())
        watchControl(control);
    layOutOverlay();
    updateGeometry();
    emit controlsChanged();
    return m_form;
}

// The designed window takes no keyboard input: Tab cannot enter its fields and its menu's keys
// are not live. It still draws as it does when it runs.
void DesignSurface::makeInert(forms::Form *form)
{
    QPalette palette = form->palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = QPalette::ColorRole(role);
        palette.setColor(QPalette::Disabled, r, palette.color(QPalette::Active, r));
    }
    form->setPalette(palette);
    form->setEnabled(false);
}

QWidget *DesignSurface::keyboardTarget() const
{
    return m_overlay;
}

forms::FormDefinition DesignSurface::definition() const
{
    forms::FormDefinition definition = m_form->SaveDefinition();
    // The window's designed client size is what the designer shows.
    definition.settings.WriteProperty(QStringLiteral("ClientWidth"),
                                      QVariant::fromValue<qint32>(qRound(clientWidth())));
    definition.settings.WriteProperty(QStringLiteral("ClientHeight"),
                                      QVariant::fromValue<qint32>(qRound(clientHeight())));
    return definition;
}

float DesignSurface::clientWidth() const
{
    return forms::pixelsToTwipsX(float(m_form->clientArea()->width()));
}

float DesignSurface::clientHeight() const
{
    return forms::pixelsToTwipsY(float(m_form->clientArea()->height()));
}

void DesignSurface::watchControl(QWidget *control)
{
    if (auto *userControl = qobject_cast<forms::UserControl *>(control))
        connect(userControl, &forms::UserControl::propertyChanged, this,
                [this] { setModified(true); });
    connect(control, &QObject::destroyed, this, [this] { emit selectionChanged(); });
}

void DesignSurface::layOutOverlay()
{
    if (!m_form)
        return;
    m_overlay->setGeometry(m_form->geometry());
    m_overlay->raise();
    m_overlay->show();
    m_overlay->update();
}

bool DesignSurface::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_form && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        layOutOverlay();
    return QWidget::eventFilter(watched, event);
}

QSize DesignSurface::sizeHint() const
{
    return m_form ? m_form->size() + QSize(16, 16) : QSize(320, 240);
}

QList<QWidget *> DesignSurface::controlsInTabOrder() const
{
    if (!m_form)
        return {};
    QList<QWidget *> controls = m_form->controls();
    std::stable_sort(controls.begin(), controls.end(), [](const QWidget *a, const QWidget *b) {
        return tabIndexOf(a) < tabIndexOf(b);
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
    m_overlay->update();
    emit selectionChanged();
}

void DesignSurface::setSelection(const QList<QWidget *> &controls)
{
    if (controls == selection())
        return;
    m_selection.clear();
    for (QWidget *control : controls)
        m_selection.append(control);
    m_overlay->update();
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

// The edges each handle of handlesOf moves, in the same order.
static const int HandleEdges[] = {1 | 2, 2, 4 | 2, 4, 4 | 8, 8, 1 | 8, 1};

int DesignSurface::handleAt(const QPoint &point, QWidget **control) const
{
    const QList<QWidget *> selected = selection();
    for (auto it = selected.crbegin(); it != selected.crend(); ++it) {
        const QList<QRect> handles = handlesOf(boxOf(*it));
        for (qsizetype i = 0; i < handles.size(); ++i) {
            if (handles.at(i).adjusted(-1, -1, 1, 1).contains(point)) {
                *control = *it;
                return HandleEdges[i];
            }
        }
    }
    return NoEdge;
}

Qt::CursorShape DesignSurface::cursorAt(const QPoint &point) const
{
    QWidget *control = nullptr;
    switch (m_dragging ? m_edges : handleAt(point, &control)) {
    case LeftEdge | TopEdge:
    case RightEdge | BottomEdge:
        return Qt::SizeFDiagCursor;
    case RightEdge | TopEdge:
    case LeftEdge | BottomEdge:
        return Qt::SizeBDiagCursor;
    case TopEdge:
    case BottomEdge:
        return Qt::SizeVerCursor;
    case LeftEdge:
    case RightEdge:
        return Qt::SizeHorCursor;
    default:
        return Qt::ArrowCursor;
    }
}

QWidget *DesignSurface::controlAt(const QPoint &point) const
{
    const QList<QWidget *> controls = m_form->controls();
    // The last created lies on top.
    for (auto it = controls.crbegin(); it != controls.crend(); ++it) {
        if (boxOf(*it).contains(point))
            return *it;
    }
    return nullptr;
}

void DesignSurface::pressAt(const QPoint &point, Qt::MouseButton button,
                            Qt::KeyboardModifiers modifiers)
{
    if (!m_form)
        return;
    const bool add = modifiers & Qt::ControlModifier;
    QWidget *grabbed = nullptr;
    m_edges = add ? NoEdge : handleAt(point, &grabbed);
    if (m_edges == NoEdge) {
        grabbed = controlAt(point);
        if (!(grabbed && m_selection.contains(grabbed) && !add))
            select(grabbed, add);
    }
    m_dragged = grabbed;
    m_pressPoint = point;
    m_dragging = grabbed && button == Qt::LeftButton;
    if (!m_dragging)
        return;
    m_beforeDrag = definition();
    m_selectedBeforeDrag = selectionKeys();
    m_pressPlaces.clear();
    for (QWidget *control : selection())
        m_pressPlaces.append({control, forms::twipsGeometry(control)});
}

void DesignSurface::dragTo(const QPoint &point, Qt::MouseButtons buttons)
{
    if (!m_dragging || !(buttons & Qt::LeftButton) || !m_dragged)
        return;
    if (m_edges == NoEdge)
        moveDragged(point);
    else
        resizeDragged(point);
    m_overlay->update();
}

void DesignSurface::moveDragged(const QPoint &point)
{
    float dx = forms::pixelsToTwipsX(float(point.x() - m_pressPoint.x()));
    float dy = forms::pixelsToTwipsY(float(point.y() - m_pressPoint.y()));
    // The control under the pointer lands on the grid; the others keep their distance to it.
    for (const auto &[control, place] : std::as_const(m_pressPlaces)) {
        if (control == m_dragged) {
            dx = snapped(place.left + dx) - place.left;
            dy = snapped(place.top + dy) - place.top;
        }
    }
    for (const auto &[control, place] : std::as_const(m_pressPlaces)) {
        if (!control)
            continue;
        forms::TwipsRect moved = place;
        moved.left += dx;
        moved.top += dy;
        forms::setTwipsGeometry(control, keptInside(moved, place));
    }
}

void DesignSurface::resizeDragged(const QPoint &point)
{
    forms::TwipsRect place;
    for (const auto &[control, pressed] : std::as_const(m_pressPlaces)) {
        if (control == m_dragged)
            place = pressed;
    }
    const float dx = forms::pixelsToTwipsX(float(point.x() - m_pressPoint.x()));
    const float dy = forms::pixelsToTwipsY(float(point.y() - m_pressPoint.y()));
    const float right = place.left + place.width, bottom = place.top + place.height;
    if (m_edges & LeftEdge) {
        place.left = std::min(snapped(place.left + dx), right - SmallestSize);
        place.width = right - place.left;
    }
    if (m_edges & RightEdge)
        place.width = std::max(SmallestSize, snapped(right + dx) - place.left);
    if (m_edges & TopEdge) {
        place.top = std::min(snapped(place.top + dy), bottom - SmallestSize);
        place.height = bottom - place.top;
    }
    if (m_edges & BottomEdge)
        place.height = std::max(SmallestSize, snapped(bottom + dy) - place.top);
    forms::setTwipsGeometry(m_dragged, place);
}

void DesignSurface::release()
{
    if (m_dragging)
        recordEdit(m_edges == NoEdge ? tr("Move") : tr("Resize"), m_beforeDrag,
                   m_selectedBeforeDrag);
    m_dragging = false;
    m_edges = NoEdge;
    m_pressPlaces.clear();
}

float DesignSurface::snapped(float twips) const
{
    return m_grid ? std::round(twips / gridTwips()) * gridTwips() : twips;
}

// A move stops where the control would leave the client area: a grid step of it stays inside. A
// control that already lies further out may still move back.
forms::TwipsRect DesignSurface::keptInside(const forms::TwipsRect &place,
                                           const forms::TwipsRect &from) const
{
    const float keepX = std::min(place.width, gridTwips());
    const float keepY = std::min(place.height, gridTwips());
    forms::TwipsRect kept = place;
    kept.left = std::clamp(place.left, std::min(from.left, keepX - place.width),
                           std::max(from.left, clientWidth() - keepX));
    kept.top = std::clamp(place.top, std::min(from.top, keepY - place.height),
                          std::max(from.top, clientHeight() - keepY));
    return kept;
}

void DesignSurface::nudgeSelection(int dx, int dy, bool resize)
{
    const QList<QWidget *> controls = selection();
    if (controls.isEmpty())
        return;
    const forms::FormDefinition before = definition();
    const float tx = forms::pixelsToTwipsX(float(dx)), ty = forms::pixelsToTwipsY(float(dy));
    for (QWidget *control : controls) {
        const forms::TwipsRect from = forms::twipsGeometry(control);
        forms::TwipsRect place = from;
        if (resize) {
            place.width = std::max(0.0f, place.width + tx);
            place.height = std::max(0.0f, place.height + ty);
        } else {
            place.left += tx;
            place.top += ty;
            place = keptInside(place, from);
        }
        forms::setTwipsGeometry(control, place);
    }
    m_overlay->update();
    recordEdit(resize ? tr("Resize") : tr("Move"), before);
}

void DesignSurface::stepSelection(int dx, int dy, bool resize)
{
    if (!m_grid) {
        nudgeSelection(dx, dy, resize);
        return;
    }
    const QList<QWidget *> controls = selection();
    if (controls.isEmpty())
        return;
    const forms::FormDefinition before = definition();
    const float step = gridTwips();
    // The next grid line in the direction of the key.
    const auto next = [step](float twips, int direction) {
        if (direction > 0)
            return std::floor(twips / step) * step + step;
        if (direction < 0)
            return std::ceil(twips / step) * step - step;
        return twips;
    };
    for (QWidget *control : controls) {
        const forms::TwipsRect from = forms::twipsGeometry(control);
        forms::TwipsRect place = from;
        if (resize) {
            place.width = std::max(SmallestSize, next(from.left + from.width, dx) - from.left);
            place.height = std::max(SmallestSize, next(from.top + from.height, dy) - from.top);
        } else {
            place.left = next(from.left, dx);
            place.top = next(from.top, dy);
            place = keptInside(place, from);
        }
        forms::setTwipsGeometry(control, place);
    }
    m_overlay->update();
    recordEdit(resize ? tr("Resize") : tr("Move"), before);
}

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
forms::TwipsRect DesignSurface::freePlace(float width, float height)
{
    QList<QRectF> taken;
    for (QWidget *control : m_form->controls())
        taken.append(rectOf(forms::twipsGeometry(control)));
    const auto isFree = [&](const QRectF &rect) {
        return std::none_of(taken.cbegin(), taken.cend(),
                            [&](const QRectF &other) { return other.intersects(rect); });
    };
    const float step = gridTwips();
    for (float top = 0; top + height <= clientHeight(); top += step) {
        for (float left = 0; left + width <= clientWidth(); left += step) {
            if (isFree(QRectF(left, top, width, height)))
                return {left, top, width, height};
        }
    }
    float bottom = 0;
    for (const QRectF &rect : std::as_const(taken))
        bottom = std::max(bottom, float(rect.bottom()));
    const float top = std::ceil(bottom / step) * step;
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
        tabIndex = std::max(tabIndex, tabIndexOf(other) + 1);
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
    m_overlay->update();
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
    for (forms::ControlDefinition control : pasted.controls) {
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
        for (int tries = 0; tries < 100 && coversExactly(control.rect); ++tries) {
            control.rect.left += gridTwips();
            control.rect.top += gridTwips();
        }
        control.tabIndex = tabIndex++;
        control.line = control.column = 0;
        edited.controls.append(control);
        keys.append({control.name, control.index});
    }
    applyDefinition(edited, tr("Paste"), keys);
}

void DesignSurface::duplicateSelection()
{
    if (!selection().isEmpty())
        paste(copySelection());
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

void DesignSurface::applyDefinition(const forms::FormDefinition &edited, const QString &step,
                                    const QList<QPair<QString, int>> &selected)
{
    const forms::FormDefinition before = definition();
    const auto selectedBefore = selectionKeys();
    restore(edited, selected.isEmpty() ? selectedBefore : selected);
    recordEdit(step, before, selectedBefore);
}

void DesignSurface::recordEdit(const QString &step, const forms::FormDefinition &before,
                               const QList<QPair<QString, int>> &selectedBefore)
{
    const forms::FormDefinition after = definition();
    if (sameDefinition(before, after))
        return;
    const auto selectedAfter = selectionKeys();
    m_undo->push(new DefinitionCommand(this, step, before,
                                       selectedBefore.isEmpty() ? selectedAfter : selectedBefore,
                                       after, selectedAfter));
    setModified(true);
}

void DesignSurface::restore(const forms::FormDefinition &definition,
                            const QList<QPair<QString, int>> &keys)
{
    build(definition, m_source);
    for (const auto &[name, index] : keys) {
        if (QWidget *control = m_form->control(name, index))
            m_selection.append(control);
    }
    m_overlay->update();
    emit selectionChanged();
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

void DesignSurface::setGridEnabled(bool enabled)
{
    m_grid = enabled;
    m_overlay->update();
}

void DesignSurface::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}
