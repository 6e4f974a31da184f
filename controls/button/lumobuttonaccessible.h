#pragma once

#include <QAccessibleWidget>
#include <QPointer>

class LumoButton;

// How assistive technology sees a LumoButton: a push button named by the caption as the face
// shows it (without the "&" markers), described by its tooltip, whose press action does what a
// click does. The button's internal surfaces are not shown as children; its visible face, which
// holds the keyboard focus, answers as the same button, so that moving the focus onto it is
// announced as the button.
class LumoButtonAccessible : public QAccessibleWidget
{
public:
    // widget is the button itself or its visible face.
    LumoButtonAccessible(QWidget *widget, LumoButton *button);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

    // The button's visible face, the widget that holds its keyboard focus.
    static QWidget *face(const LumoButton *button);

    // The caption as the face prints it: every "&" is a marker and none is shown.
    static QString shownCaption(const QString &caption);

    // What a click does, without a pointer: Value flips, the pressed face shows while Click is
    // raised, then the face the pointer calls for comes back. No MouseEnter or MouseExit, since
    // the pointer has not moved, and the capture state is left as it is.
    static void press(LumoButton *button);

    // What Qt's own buttons announce: a new caption is a new name, and a switch's new Value a
    // change of its checked state. Both the button and its face, which holds the focus, announce
    // it.
    static void announceName(LumoButton *button);
    static void announceValue(LumoButton *button);

private:
    QPointer<LumoButton> m_button;
};

// Makes assistive technology use LumoButtonAccessible for every LumoButton. Called by each button
// as it is created, so any program that links the control has it; later calls do nothing.
void installLumoButtonAccessibility();
