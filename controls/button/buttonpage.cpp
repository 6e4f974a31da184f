#include "buttonpage.h"

#include "conversions.h"
#include "fieldnames.h"
#include "geometry.h"
#include "label.h"
#include "properties.h"
#include "propertyvalues.h"
#include "runtimeerror.h"
#include "textbox.h"
#include "twips.h"

#include <QCheckBox>
#include <QComboBox>

namespace {

template <typename Widget> Widget *place(Widget *widget, const char *name, forms::TwipsRect rect)
{
    widget->setObjectName(QString::fromLatin1(name));
    forms::setTwipsGeometry(widget, rect);
    return widget;
}

forms::Label *label(QWidget *page, const char *name, const QString &caption, forms::TwipsRect rect)
{
    auto *label = place(new forms::Label(page), name, rect);
    label->setText(caption);
    return label;
}

forms::TextBox *textBox(QWidget *page, const char *name, forms::TwipsRect rect)
{
    return place(new forms::TextBox(page), name, rect);
}

QCheckBox *checkBox(QWidget *page, const char *name, const QString &caption, forms::TwipsRect rect)
{
    auto *box = place(new QCheckBox(caption, page), name, rect);
    return box;
}

} // namespace

ButtonPage::ButtonPage(QWidget *parent) : forms::PropertyPage(parent)
{
    setWindowTitle(pageName());
    createControls();
    addPointerEntries();
    setTabOrder();
    // Each field is read out by the label above it.
    forms::nameFieldsByLabels(findChildren<QWidget *>(Qt::FindDirectChildrenOnly));
    markChangedOnEdit();
    setMinimumSize(forms::twipsToPixelsX(5925), forms::twipsToPixelsY(3495));
}

void ButtonPage::createControls()
{
    // The labels form a column at the left, each with its field below it; the check boxes a
    // second column.
    lblMousePointer[0] = label(this, "lblMousePointer", tr("MousePointer:"), {90, 135, 2700, 240});
    lblMousePointer[0]->setProperty("Index", 0);
    cboMouse = place(new QComboBox(this), "cboMouse", {90, 405, 2700, 315});
    lblCaption = label(this, "lblCaption", tr("Caption:"), {90, 770, 2700, 240});
    txtCaption = textBox(this, "txtCaption", {90, 1020, 2700, 330});
    lblDelta = label(this, "lblDelta", tr("Delta:"), {90, 1420, 2700, 240});
    txtDelta = textBox(this, "txtDelta", {90, 1670, 2700, 330});
    lblAlignment = label(this, "lblAlignment", tr("Alignment:"), {90, 2070, 2700, 240});
    txtAlignment = textBox(this, "txtAlignment", {90, 2320, 2700, 330});
    lblMousePointer[1] =
        label(this, "lblMousePointer", tr("Tool tip text:"), {90, 2720, 2700, 240});
    lblMousePointer[1]->setProperty("Index", 1);
    txtToolTopText = textBox(this, "txtToolTopText", {90, 2970, 2700, 330});
    chkSwitch = checkBox(this, "chkSwitch", tr("Switch"), {3000, 120, 2700, 285});
    chkValue = checkBox(this, "chkValue", tr("Value"), {3000, 770, 2700, 285});
}

void ButtonPage::addPointerEntries()
{
    // A drop-down list: only its entries can be chosen.
    cboMouse->setEditable(false);
    for (const QString &shape : forms::pointerShapeNames())
        cboMouse->addItem(shape, forms::valueOfName({shape}, shape).toInt());
}

// The pointer list is first on screen but comes after the alignment field in the Tab order.
void ButtonPage::setTabOrder()
{
    const QList<QWidget *> order = {txtCaption,     txtDelta,  txtAlignment, cboMouse,
                                    txtToolTopText, chkSwitch, chkValue};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

// Every field marks the page changed when its value changes, whether the user or the loading
// of the selection changed it.
void ButtonPage::markChangedOnEdit()
{
    for (forms::TextBox *field : {txtCaption, txtDelta, txtAlignment, txtToolTopText})
        connect(field, &QLineEdit::textChanged, this, [this] { setChanged(true); });
    for (QCheckBox *box : {chkSwitch, chkValue})
        connect(box, &QCheckBox::toggled, this, [this] { setChanged(true); });
    connect(cboMouse, &QComboBox::currentIndexChanged, this, [this] { setChanged(true); });
}

QObject *ButtonPage::firstSelected() const
{
    const QList<QObject *> selection = SelectedControls();
    if (selection.isEmpty())
        throw forms::RuntimeError(9, QStringLiteral("Subscript out of range"));
    return selection.first();
}

void ButtonPage::SelectionChanged()
{
    using namespace forms;
    QObject *control = firstSelected();
    auto checkState = [](const QVariant &value) {
        return (toLong(value) & 1) ? Qt::Checked : Qt::Unchecked;
    };
    chkValue->setCheckState(checkState(propertyByName(control, QStringLiteral("Value"))));
    chkSwitch->setCheckState(checkState(propertyByName(control, QStringLiteral("Switch"))));
    txtAlignment->setText(toText(propertyByName(control, QStringLiteral("Alignment"))));
    txtDelta->setText(toText(propertyByName(control, QStringLiteral("Delta"))));
    txtCaption->setText(toText(propertyByName(control, QStringLiteral("Caption"))));
    txtToolTopText->setText(toText(propertyByName(control, QStringLiteral("ToolTipText"))));
    SelectMousePointer(toInteger(propertyByName(control, QStringLiteral("MousePointer"))));
}

// Pointers 0 to 15 select the entry of the same number; 99 and above the last one, "Custom".
void ButtonPage::SelectMousePointer(qint16 value)
{
    const int index = value < 99 ? value : cboMouse->count() - 1;
    if (index < -1 || index >= cboMouse->count())
        throw forms::RuntimeError::invalidPropertyValue();
    cboMouse->setCurrentIndex(index);
}

void ButtonPage::ApplyChanges()
{
    using namespace forms;
    QObject *control = firstSelected();
    setPropertyByName(control, QStringLiteral("Value"), chkValue->checkState() == Qt::Checked);
    setPropertyByName(control, QStringLiteral("Switch"), chkSwitch->checkState() == Qt::Checked);
    // The texts go as they are; the control's own property converts them.
    setPropertyByName(control, QStringLiteral("Alignment"), txtAlignment->text());
    setPropertyByName(control, QStringLiteral("Delta"), txtDelta->text());
    setPropertyByName(control, QStringLiteral("Caption"), txtCaption->text());
    const int entry = cboMouse->currentIndex();
    if (entry < 0)
        throw RuntimeError(381, QStringLiteral("Invalid property array index"));
    setPropertyByName(control, QStringLiteral("MousePointer"),
                      QVariant::fromValue<qint32>(cboMouse->itemData(entry).toInt()));
    setPropertyByName(control, QStringLiteral("ToolTipText"), txtToolTopText->text());
}

void registerButtonPage()
{
    forms::registerPropertyPage(ButtonPage::pageName(),
                                [](QWidget *parent) { return new ButtonPage(parent); });
}
