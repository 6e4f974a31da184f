// Building a window's menus and controls from its definition, and saving them back into one.
#include "form.h"

#include "controlkeys.h"
#include "controlregistry.h"
#include "conversions.h"
#include "definitionrules.h"
#include "fieldnames.h"
#include "runtimeerror.h"
#include "textbox.h"
#include "twips.h"
#include "usercontrol.h"

#include <QAction>
#include <QEvent>
#include <QMenuBar>
#include <QMetaProperty>
#include <QMultiHash>
#include <QSet>

#include <algorithm>
#include <optional>

namespace forms {

namespace {

// Notes the controls hidden on purpose while they were built (a stock setting "visible" of
// false), so that a window already shown shows its new controls but those.
class HideWatch : public QObject
{
public:
    bool hidden(QObject *widget) const { return m_hidden.contains(widget); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::HideToParent)
            m_hidden.insert(watched);
        else if (event->type() == QEvent::ShowToParent)
            m_hidden.remove(watched);
        return false;
    }

private:
    QSet<QObject *> m_hidden;
};

} // namespace

void Form::createMenus(const QList<MenuDefinition> &menus)
{
    for (const MenuDefinition &definition : menus) {
        QMenu *menu = menuBar()->addMenu(definition.caption);
        menu->setObjectName(definition.name);
        menu->menuAction()->setObjectName(definition.name);
        for (const MenuDefinition &item : definition.items) {
            QAction *action =
                item.caption == u"-" ? menu->addSeparator() : menu->addAction(item.caption);
            action->setObjectName(item.name);
            if (!item.shortcut.isEmpty())
                action->setShortcut(QKeySequence(item.shortcut, QKeySequence::PortableText));
        }
    }
}

namespace {

constexpr char SettingsKey[] = "_forms_settings";
constexpr char UnknownKey[] = "_forms_unknown";

// Entries of a stored set that the control never asked for (written by a newer version, or by
// another tool) go back into the definition as they came: nothing read is lost on save.
void keepUnknownEntries(QWidget *widget, const PropertyBag &properties, const QSet<QString> &read)
{
    QVariantList unknown;
    for (const PropertyBag::Entry &entry : properties.entries()) {
        if (!read.contains(entry.name.toLower()))
            unknown.append(QVariant(QVariantList{entry.name, entry.value}));
    }
    if (!unknown.isEmpty())
        widget->setProperty(UnknownKey, unknown);
}

DefinitionError entryError(const QString &where, const QString &entry, const RuntimeError &error)
{
    return DefinitionError(where + QStringLiteral("entry '%1': %2 (run-time error %3)")
                                       .arg(entry, error.description())
                                       .arg(error.number()));
}

// Stock settings go through the widget's own properties, converted as an assignment.
void applySettings(QWidget *widget, const ControlDefinition &definition, const QString &where)
{
    QStringList settingNames;
    for (const PropertyBag::Entry &entry : definition.settings.entries()) {
        settingNames.append(entry.name);
        const int i = widget->metaObject()->indexOfProperty(entry.name.toLatin1().constData());
        if (i < 0)
            throw DefinitionError(where + QStringLiteral("entry '%1': %2 has no such setting")
                                              .arg(entry.name, definition.className));
        const QMetaProperty property = widget->metaObject()->property(i);
        try {
            property.write(widget, convertTo(entry.value, property.metaType()));
        } catch (const RuntimeError &error) {
            throw entryError(where, entry.name, error);
        }
    }
    widget->setProperty(SettingsKey, settingNames);
}

} // namespace

QWidget *Form::createControl(const ControlDefinition &definition, const QString &source,
                             QObject *hideWatch)
{
    const QString place = placeInFile(source, definition.line, definition.column);
    const QString where = QStringLiteral("%1: control '%2': ").arg(place, definition.displayName());
    QWidget *widget = nullptr;
    {
        // A place the container would refuse is left to the check below, which names it.
        std::optional<UserControl::StoredPlace> stored;
        if (definition.rect.width >= 0 && definition.rect.height >= 0)
            stored.emplace(m_client, definition.rect);
        widget = forms::createControl(definition.className, m_client);
    }
    if (!widget)
        throw DefinitionError(where +
                              QStringLiteral("unknown class \"%1\"").arg(definition.className));
    if (hideWatch)
        widget->installEventFilter(hideWatch);
    addControl(widget, definition.name, definition.index, definition.tabIndex);
    try {
        setTwipsGeometry(widget, definition.rect);
        applySettings(widget, definition, where);
        if (auto *userControl = qobject_cast<UserControl *>(widget)) {
            QSet<QString> read{QStringLiteral("_extentx"), QStringLiteral("_extenty")};
            definition.properties.noteReadsIn(&read);
            try {
                userControl->ReadProperties(definition.properties);
            } catch (const RuntimeError &error) {
                definition.properties.noteReadsIn(nullptr);
                throw entryError(where, definition.properties.lastRead(), error);
            }
            definition.properties.noteReadsIn(nullptr);
            keepUnknownEntries(widget, definition.properties, read);
        }
    } catch (const RuntimeError &error) {
        throw DefinitionError(
            where +
            QStringLiteral("%1 (run-time error %2)").arg(error.description()).arg(error.number()));
    }
    return widget;
}

// A stock setting can rename a control or give it an index or a size that no definition may
// hold: the window as built keeps the rules the file did, so that what it saves reads back.
void Form::requireBuiltReadable(const FormDefinition &definition, const QString &source) const
{
    const auto breach = breachOf(SaveDefinition());
    if (!breach)
        return;
    const qsizetype i = breach->control;
    const QString place =
        i >= 0 && i < definition.controls.size()
            ? placeInFile(source, definition.controls[i].line, definition.controls[i].column)
            : placeInFile(source, definition.line, definition.column);
    throw DefinitionError(
        QStringLiteral("%1: %2, once its settings are applied").arg(place, breach->message()));
}

void Form::addControl(QWidget *control, const QString &name, int index, int tabIndex)
{
    control->setObjectName(name);
    control->setProperty("Index", index);
    setTabIndex(control, tabIndex);
    m_controls.append(control);
}

void Form::removeControl(QWidget *control)
{
    m_controls.removeAll(control);
}

void Form::applyTabOrder()
{
    QList<QWidget *> ordered;
    for (const auto &control : std::as_const(m_controls)) {
        if (control && control->focusPolicy() != Qt::NoFocus)
            ordered.append(control);
    }
    std::stable_sort(ordered.begin(), ordered.end(), [](const QWidget *a, const QWidget *b) {
        return tabIndexOf(a) < tabIndexOf(b);
    });
    for (qsizetype i = 1; i < ordered.size(); ++i)
        QWidget::setTabOrder(ordered[i - 1], ordered[i]);
}

ControlDefinition Form::savedControl(const QWidget *widget) const
{
    ControlDefinition control;
    control.className = controlClassName(widget);
    control.name = widget->objectName();
    control.index = widget->property("Index").toInt();
    control.rect = twipsGeometry(widget);
    control.tabIndex = tabIndexOf(widget);
    const QStringList settingNames = widget->property(SettingsKey).toStringList();
    for (const QString &name : settingNames)
        control.settings.append(name, widget->property(name.toLatin1().constData()));
    if (const auto *userControl = qobject_cast<const UserControl *>(widget)) {
        control.properties.append(QStringLiteral("_extentx"),
                                  QVariant::fromValue<qint32>(twipsToHimetric(control.rect.width)));
        control.properties.append(
            QStringLiteral("_extenty"),
            QVariant::fromValue<qint32>(twipsToHimetric(control.rect.height)));
        // The container keeps the names in lower case; lookups ignore case anyway.
        PropertyBag own;
        userControl->WriteProperties(own);
        for (const PropertyBag::Entry &entry : own.entries())
            control.properties.append(entry.name.toLower(), entry.value);
        for (const QVariant &kept : widget->property(UnknownKey).toList()) {
            const QVariantList entry = kept.toList();
            if (!control.properties.contains(entry[0].toString()))
                control.properties.append(entry[0].toString(), entry[1]);
        }
    }
    return control;
}

FormDefinition Form::SaveDefinition() const
{
    FormDefinition definition = m_definition;
    definition.controls.clear();
    for (const auto &widget : m_controls) {
        if (widget)
            definition.controls.append(savedControl(widget));
    }
    return definition;
}

void Form::replaceControls(qsizetype first, qsizetype count,
                           const QList<ControlDefinition> &definitions, const QString &source)
{
    QList<QWidget *> standing = controls();
    Q_ASSERT(first >= 0 && count >= 0 && first + count <= standing.size());
    const QList<QWidget *> replaced = standing.mid(first, count);
    const QList<QWidget *> built = builtControls(definitions, replaced, source);
    for (QWidget *widget : replaced) {
        if (!built.contains(widget))
            delete widget;
    }
    standing.remove(first, count);
    for (qsizetype i = 0; i < built.size(); ++i)
        standing.insert(first + i, built[i]);
    m_controls = QList<QPointer<QWidget>>(standing.cbegin(), standing.cend());
    stackInOrder(first, built.size());
    applyTabOrder();
    nameFieldsByLabels(controls());
}

// The widgets for the definitions, in their order: one of `reusable` where it is stored alike
// but for its place, a new one otherwise. A failure takes back what was built.
QList<QWidget *> Form::builtControls(const QList<ControlDefinition> &definitions,
                                     const QList<QWidget *> &reusable, const QString &source)
{
    QMultiHash<QPair<QString, int>, qsizetype> available;
    QList<ControlDefinition> saved;
    for (qsizetype i = 0; i < reusable.size(); ++i) {
        saved.append(savedControl(reusable[i]));
        available.insert({saved[i].name, saved[i].index}, i);
    }
    const auto reuse = [&](const ControlDefinition &definition) -> QWidget * {
        for (auto it = available.find({definition.name, definition.index});
             it != available.end() && it.key() == qMakePair(definition.name, definition.index);
             ++it) {
            if (saved[*it].sameApartFromPlace(definition)) {
                QWidget *widget = reusable[*it];
                available.erase(it);
                return widget;
            }
        }
        return nullptr;
    };
    QList<QWidget *> built;
    QList<QWidget *> created;
    QList<QPair<QWidget *, const ControlDefinition *>> moved;
    const qsizetype kept = m_controls.size();
    HideWatch hides;
    try {
        const TextBox::FontLoan loan(m_client, TextBox::FontLoan::When::ForFields);
        for (const ControlDefinition &definition : definitions) {
            if (QWidget *widget = reuse(definition)) {
                moved.append({widget, &definition});
                built.append(widget);
            } else {
                created.append(createControl(definition, source, &hides));
                built.append(created.last());
            }
        }
    } catch (...) {
        // Whatever was made goes, including a control that failed while loading its set.
        for (qsizetype i = kept; i < m_controls.size(); ++i)
            delete m_controls[i];
        m_controls.resize(kept);
        throw;
    }
    m_controls.resize(kept);
    // Only once all were built do the kept ones move.
    for (const auto &[widget, definition] : std::as_const(moved)) {
        setTwipsGeometry(widget, definition->rect);
        setTabIndex(widget, definition->tabIndex);
    }
    for (QWidget *widget : std::as_const(created)) {
        if (isVisible() && !hides.hidden(widget))
            widget->show();
    }
    return built;
}

// The window stacks its controls in their stored order, the last on top.
void Form::stackInOrder(qsizetype first, qsizetype count)
{
    for (qsizetype i = first + count - 1; i >= first; --i) {
        if (i + 1 < m_controls.size())
            m_controls[i]->stackUnder(m_controls[i + 1]);
        else
            m_controls[i]->raise();
    }
}

} // namespace forms
