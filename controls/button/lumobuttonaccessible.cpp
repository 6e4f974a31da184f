#include "lumobuttonaccessible.h"

#include "lumobutton.h"
#include "picturebox.h"
#include "runtimeerror.h"

namespace {

QAccessibleInterface *lumoButtonFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("LumoButton")) {
        if (auto *button = qobject_cast<LumoButton *>(object))
            return new LumoButtonAccessible(button, button);
    } else if (className == QLatin1String("forms::PictureBox")) {
        auto *button = qobject_cast<LumoButton *>(object->parent());
        if (button && LumoButtonAccessible::face(button) == object)
            return new LumoButtonAccessible(static_cast<QWidget *>(object), button);
    }
    return nullptr;
}

} // namespace

void installLumoButtonAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(lumoButtonFactory);
        return true;
    }();
    Q_UNUSED(installed)
}

LumoButtonAccessible::LumoButtonAccessible(QWidget *widget, LumoButton *button)
    : QAccessibleWidget(widget, QAccessible::Button), m_button(button)
{}

QWidget *LumoButtonAccessible::face(const LumoButton *button)
{
    return button->picButton;
}

QAccessible::Role LumoButtonAccessible::role() const
{
    return QAccessible::Button;
}

QString LumoButtonAccessible::shownCaption(const QString &caption)
{
    QString shown = caption;
    shown.remove(u'&');
    return shown;
}

QString LumoButtonAccessible::text(QAccessible::Text t) const
{
    if (!m_button)
        return QString();
    switch (t) {
    case QAccessible::Name:
        // A name the host gave the button for assistive technology comes first.
        if (!m_button->accessibleName().isEmpty())
            return m_button->accessibleName();
        return shownCaption(m_button->Caption());
    case QAccessible::Description:
        if (!m_button->accessibleDescription().isEmpty())
            return m_button->accessibleDescription();
        return m_button->ToolTipText();
    case QAccessible::Accelerator:
        // The "&" only underlines: the button registers no access key.
        return QString();
    default:
        return QAccessibleWidget::text(t);
    }
}

QAccessible::State LumoButtonAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    if (!m_button)
        return state;
    const QWidget *face = m_button->picButton;
    state.focusable = face->focusPolicy() != Qt::NoFocus && face->isEnabled();
    state.focused = face->hasFocus();
    // Only a switch shows its Value; a push button flips it unseen.
    if (m_button->Switch()) {
        state.checkable = true;
        state.checked = m_button->Value();
    }
    return state;
}

int LumoButtonAccessible::childCount() const
{
    return 0;
}

QAccessibleInterface *LumoButtonAccessible::child(int) const
{
    return nullptr;
}

int LumoButtonAccessible::indexOfChild(const QAccessibleInterface *) const
{
    return -1;
}

QStringList LumoButtonAccessible::actionNames() const
{
    QStringList names{pressAction()};
    if (m_button && m_button->Switch())
        names << toggleAction();
    if (m_button && state().focusable)
        names << setFocusAction();
    return names;
}

void LumoButtonAccessible::doAction(const QString &actionName)
{
    if (!m_button || !m_button->isEnabled())
        return;
    if (actionName == pressAction() || (actionName == toggleAction() && m_button->Switch()))
        press(m_button);
    else if (actionName == setFocusAction())
        m_button->picButton->setFocus(Qt::OtherFocusReason);
}

QStringList LumoButtonAccessible::keyBindingsForAction(const QString &) const
{
    return QStringList();
}

void LumoButtonAccessible::press(LumoButton *button)
{
    // A Click handler's run-time error is reported here, as at any other event boundary.
    forms::dispatchEvent([button] { button->react(LumoButton::Input::Pressed); });
}

void LumoButtonAccessible::announceName(LumoButton *button)
{
    if (!QAccessible::isActive())
        return;
    for (QObject *object : {static_cast<QObject *>(button), static_cast<QObject *>(face(button))}) {
        QAccessibleEvent event(object, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void LumoButtonAccessible::announceValue(LumoButton *button)
{
    if (!QAccessible::isActive() || !button->Switch())
        return;
    QAccessible::State checked;
    checked.checked = true;
    for (QObject *object : {static_cast<QObject *>(button), static_cast<QObject *>(face(button))}) {
        QAccessibleStateChangeEvent event(object, checked);
        QAccessible::updateAccessibility(&event);
    }
}
