// The design surface: the window being designed, built from its definition and kept inert, and
// every edit recorded as an undoable step. Selection, dragging and the edit commands are in
// designselection.cpp, designdrag.cpp and designedits.cpp.
#include "designsurface.h"

#include "definitioncommand.h"
#include "definitionrules.h"
#include "form.h"
#include "refusalbox.h"
#include "runtimeerror.h"
#include "selectionoverlay.h"
#include "twips.h"
#include "usercontrol.h"

#include <QEvent>
#include <QUndoStack>

#include <cmath>
#include <utility>

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
    m_edit.reset();
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
    emit controlsAboutToChange();
    m_rebuilding = true;
    delete m_form;
    m_rebuilding = false;
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
    // Once for each control, however often the controls around it are rebuilt.
    static constexpr char WatchedKey[] = "_designer_watched";
    if (control->property(WatchedKey).toBool())
        return;
    control->setProperty(WatchedKey, true);
    if (auto *userControl = qobject_cast<forms::UserControl *>(control))
        connect(userControl, &forms::UserControl::propertyChanged, this, [this] {
            // Inside an edit, the edit's outcome decides.
            if (!m_edit && !m_rebuilding)
                setModified(true);
        });
    connect(control, &QObject::destroyed, this, [this] {
        if (!m_rebuilding)
            emit selectionChanged();
    });
}

void DesignSurface::layOutOverlay()
{
    if (!m_form)
        return;
    m_overlay->setGeometry(m_form->geometry());
    m_overlay->raise();
    m_overlay->show();
    emit marksChanged();
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

void DesignSurface::applyDefinition(const forms::FormDefinition &edited, const QString &step,
                                    const QList<QPair<QString, int>> &selected)
{
    forms::requireReadable(edited);
    const forms::FormDefinition before = definition();
    const auto selectedBefore = selectionKeys();
    restore(edited, selected.isEmpty() ? selectedBefore : selected);
    recordEdit(step, before, selectedBefore);
}

bool DesignSurface::edit(const QString &step, const std::function<void()> &change,
                         const QString &property)
{
    if (m_edit) {
        change();
        return true;
    }
    return attempt(step, change, property) && endEdit(step);
}

void DesignSurface::beginEdit()
{
    if (m_form && !m_edit)
        m_edit = OpenEdit{definition(), selectionKeys(), m_modified};
}

bool DesignSurface::endEdit(const QString &step)
{
    if (!m_edit)
        return false;
    forms::FormDefinition now = definition();
    const DefinitionChange change = DefinitionChange::between(m_edit->before, now);
    try {
        refuseUnreadable(now, change);
    } catch (const forms::DefinitionError &error) {
        cancelEdit();
        emit editRefused(step, tr("%1\n\nThe window could not be saved and opened again with "
                                  "this change, so it was not made.")
                                   .arg(error.message()));
        return false;
    }
    const OpenEdit edit = *std::exchange(m_edit, std::nullopt);
    recordChange(step, change, edit.selected);
    return true;
}

// What the window could not be saved with, and opened with again, is no edit.
void DesignSurface::refuseUnreadable(const forms::FormDefinition &now,
                                     const DefinitionChange &change) const
{
    if (!change.isEmpty())
        forms::requireReadable(now);
}

void DesignSurface::undo()
{
    if (m_undo->canUndo() && attempt(m_undo->undoText(), [this] { m_undo->undo(); }, {}))
        m_edit.reset();
}

void DesignSurface::redo()
{
    if (m_undo->canRedo() && attempt(m_undo->redoText(), [this] { m_undo->redo(); }, {}))
        m_edit.reset();
}

// Opens an edit and makes the change; a refused change closes it with everything put back.
bool DesignSurface::attempt(const QString &step, const std::function<void()> &change,
                            const QString &property)
{
    if (!m_form)
        return false;
    beginEdit();
    const QList<QPair<QString, int>> selected = m_edit->selected;
    const auto subject = [this, selected]() -> std::pair<QString, QWidget *> {
        if (selected.isEmpty())
            return {m_form->objectName(), nullptr};
        QWidget *control = m_form->control(selected.first().first, selected.first().second);
        return {control ? displayName(control) : selected.first().first, control};
    };
    QString message;
    try {
        change();
        return true;
    } catch (const forms::RuntimeError &error) {
        cancelEdit();
        const auto [name, control] = subject();
        message = forms::refusalMessage(name, control, property, error);
    } catch (const forms::DefinitionError &error) {
        cancelEdit();
        message = error.message();
    }
    emit editRefused(step, message);
    return false;
}

void DesignSurface::cancelEdit()
{
    const OpenEdit edit = *std::exchange(m_edit, std::nullopt);
    try {
        restore(edit.before, edit.selected);
    } catch (const forms::DefinitionError &) {
        // The controls that differ could not be rebuilt one by one: the whole window is.
        build(edit.before, m_source);
        select(edit.selected);
    }
    setModified(edit.modified);
}

void DesignSurface::recordEdit(const QString &step, const forms::FormDefinition &before,
                               const QList<QPair<QString, int>> &selectedBefore)
{
    // An open edit records itself, as one step, when it ends.
    if (!m_edit)
        recordChange(step, DefinitionChange::between(before, definition()), selectedBefore);
}

void DesignSurface::recordChange(const QString &step, const DefinitionChange &change,
                                 const QList<QPair<QString, int>> &selectedBefore)
{
    if (change.isEmpty())
        return;
    const auto selectedAfter = selectionKeys();
    m_undo->push(new DefinitionCommand(this, step, change,
                                       selectedBefore.isEmpty() ? selectedAfter : selectedBefore,
                                       selectedAfter));
    setModified(true);
}

void DesignSurface::restore(const forms::FormDefinition &definition,
                            const QList<QPair<QString, int>> &keys)
{
    applyChange(DefinitionChange::between(this->definition(), definition), false, keys);
}

void DesignSurface::applyChange(const DefinitionChange &change, bool undo,
                                const QList<QPair<QString, int>> &keys)
{
    if (change.changesWindow()) {
        forms::FormDefinition changed = definition();
        change.applyTo(changed, undo);
        build(changed, m_source);
    } else if (change.onlyPlacesChange()) {
        // A move or a resize is undone in place: the controls are all still there.
        const QList<QWidget *> controls = m_form->controls();
        const auto &to = change.replacing(undo);
        for (qsizetype i = 0; i < to.size(); ++i)
            forms::setTwipsGeometry(controls.at(change.first + i), to[i].rect);
    } else {
        m_selection.clear();
        emit controlsAboutToChange();
        m_rebuilding = true;
        try {
            m_form->replaceControls(change.first, change.replaced(undo).size(),
                                    change.replacing(undo), m_source);
        } catch (...) {
            m_rebuilding = false;
            emit controlsChanged();
            throw;
        }
        m_rebuilding = false;
        for (QWidget *control : m_form->controls())
            watchControl(control);
        layOutOverlay();
        emit controlsChanged();
    }
    select(keys);
}

void DesignSurface::select(const QList<QPair<QString, int>> &keys)
{
    m_selection.clear();
    for (const auto &[name, index] : keys) {
        if (QWidget *control = m_form->control(name, index))
            m_selection.append(control);
    }
    emit marksChanged();
    emit selectionChanged();
}

void DesignSurface::setGridEnabled(bool enabled)
{
    m_grid = enabled;
    emit marksChanged();
}

void DesignSurface::markUnsaved()
{
    m_undo->resetClean();
    setModified(true);
}

void DesignSurface::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}
