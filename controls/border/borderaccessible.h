#pragma once

#include <QAccessibleWidget>

// How assistive technology sees a Border: a separator, with nothing inside it and nothing to do.
class BorderAccessible : public QAccessibleWidget
{
public:
    explicit BorderAccessible(QWidget *widget);

    QAccessible::Role role() const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
};

// Makes assistive technology use BorderAccessible for every Border. Called by each separator as
// it is created, so any program that links the control has it; later calls do nothing.
void installBorderAccessibility();
