#pragma once

#include "propertypage.h"

class QCheckBox;
class QComboBox;

namespace forms {
class Label;
class TextBox;
} // namespace forms

// The "Button" property page: edits a button's pointer, caption, margin (Delta), alignment,
// tooltip, switch mode and switch state. It works on the first selected control only and reaches
// its properties by name, so any control with properties of these names can be edited.
class ButtonPage : public forms::PropertyPage
{
    Q_OBJECT

public:
    explicit ButtonPage(QWidget *parent = nullptr);

    // Loads the fields from the first selected control.
    void SelectionChanged() override;
    // Writes every field back, in the order Value, Switch, Alignment, Delta, Caption,
    // MousePointer, ToolTipText; the first failing write ends the apply.
    void ApplyChanges() override;

    static QString pageName() { return QStringLiteral("Button"); }

private:
    void createControls();
    void addPointerEntries();
    void setTabOrder();
    void markChangedOnEdit();
    void SelectMousePointer(qint16 value);
    QObject *firstSelected() const;

    forms::Label *lblMousePointer[2];
    QComboBox *cboMouse;
    forms::Label *lblCaption;
    forms::TextBox *txtCaption;
    forms::Label *lblDelta;
    forms::TextBox *txtDelta;
    forms::Label *lblAlignment;
    forms::TextBox *txtAlignment;
    forms::TextBox *txtToolTopText;
    QCheckBox *chkSwitch;
    QCheckBox *chkValue;
};

// Makes the page known to the property-page host under its name.
void registerButtonPage();
