#include "definitioncommand.h"

#include "designsurface.h"

#include <algorithm>

namespace {

bool sameMenus(const QList<forms::MenuDefinition> &a, const QList<forms::MenuDefinition> &b)
{
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(),
                      [](const forms::MenuDefinition &x, const forms::MenuDefinition &y) {
                          return x.name == y.name && x.caption == y.caption &&
                                 x.shortcut == y.shortcut && sameMenus(x.items, y.items);
                      });
}

bool sameWindow(const forms::FormDefinition &a, const forms::FormDefinition &b)
{
    return a.name == b.name && a.settings.sameEntries(b.settings) && sameMenus(a.menus, b.menus);
}

forms::FormDefinition withoutControls(const forms::FormDefinition &definition)
{
    forms::FormDefinition window = definition;
    window.controls.clear();
    return window;
}

} // namespace

DefinitionChange DefinitionChange::between(const forms::FormDefinition &before,
                                           const forms::FormDefinition &after)
{
    DefinitionChange change;
    if (!sameWindow(before, after)) {
        change.windowBefore = withoutControls(before);
        change.windowAfter = withoutControls(after);
    }
    const auto &from = before.controls;
    const auto &to = after.controls;
    qsizetype first = 0;
    while (first < from.size() && first < to.size() && from[first].sameAs(to[first]))
        ++first;
    qsizetype fromEnd = from.size(), toEnd = to.size();
    while (fromEnd > first && toEnd > first && from[fromEnd - 1].sameAs(to[toEnd - 1])) {
        --fromEnd;
        --toEnd;
    }
    change.first = first;
    change.controlsBefore = from.mid(first, fromEnd - first);
    change.controlsAfter = to.mid(first, toEnd - first);
    return change;
}

bool DefinitionChange::isEmpty() const
{
    return !changesWindow() && controlsBefore.isEmpty() && controlsAfter.isEmpty();
}

bool DefinitionChange::onlyPlacesChange() const
{
    return !changesWindow() &&
           std::equal(controlsBefore.cbegin(), controlsBefore.cend(), controlsAfter.cbegin(),
                      controlsAfter.cend(),
                      [](const forms::ControlDefinition &a, const forms::ControlDefinition &b) {
                          return a.tabIndex == b.tabIndex && a.sameApartFromPlace(b);
                      });
}

void DefinitionChange::applyTo(forms::FormDefinition &definition, bool undo) const
{
    const auto &from = replaced(undo);
    const auto &to = replacing(undo);
    QList<forms::ControlDefinition> controls = definition.controls;
    controls.remove(first, std::min(from.size(), controls.size() - first));
    for (qsizetype i = 0; i < to.size(); ++i)
        controls.insert(first + i, to[i]);
    if (changesWindow())
        definition = undo ? *windowBefore : *windowAfter;
    definition.controls = controls;
}

DefinitionCommand::DefinitionCommand(DesignSurface *surface, const QString &text,
                                     const DefinitionChange &change, const Keys &selectedBefore,
                                     const Keys &selectedAfter)
    : QUndoCommand(text), m_surface(surface), m_change(change), m_selectedBefore(selectedBefore),
      m_selectedAfter(selectedAfter)
{}

void DefinitionCommand::undo()
{
    m_surface->applyChange(m_change, true, m_selectedBefore);
}

void DefinitionCommand::redo()
{
    if (m_done) {
        m_done = false;
        return;
    }
    m_surface->applyChange(m_change, false, m_selectedAfter);
}
