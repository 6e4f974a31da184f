#include "frmmirvale.h"

#include "app.h"
#include "basmirvale.h"
#include "border.h"
#include "dilution.h"
#include "label.h"
#include "lumobutton.h"
#include "numbertext.h"
#include "packeddefinition.h"
#include "runtimeerror.h"
#include "textbox.h"
#include "twips.h"

#include <QAction>
#include <QFile>
#include <QMessageBox>

static void initResources()
{
    Q_INIT_RESOURCE(mirvale);
}

namespace {

constexpr float Margin = 45;
constexpr float BottomSeparatorOffset = 90;
const QString DefinitionResource = QStringLiteral(":/mirvale/frmMirvale.packed");

forms::FormDefinition storedDefinition()
{
    initResources();
    QFile file(DefinitionResource);
    if (!file.open(QIODevice::ReadOnly))
        throw forms::DefinitionError(
            QStringLiteral("%1: cannot be opened: %2").arg(DefinitionResource, file.errorString()));
    return forms::unpackDefinition(file.readAll(), DefinitionResource);
}

template <typename T> T *required(forms::Form *form, const char *name, int index = -1)
{
    T *control = form->control<T>(QString::fromLatin1(name), index);
    if (!control)
        throw forms::DefinitionError(
            QStringLiteral("%1: control '%2' is missing or of the wrong class")
                .arg(DefinitionResource, QString::fromLatin1(name)));
    return control;
}

} // namespace

frmMirvale::frmMirvale(QWidget *parent) : forms::Form(parent)
{
    LoadDefinition(storedDefinition(), DefinitionResource);
    findControls();
    connectCommands();
    // The results are written by the calculation only; they stay selectable for copying.
    txtStockVolume->setReadOnly(true);
    txtDiluentVolume->setReadOnly(true);
    txtStock->setFocus();
    setMinimumOuterSize(MinimumWidth, MinimumHeight);
}

void frmMirvale::findControls()
{
    txtStock = required<forms::TextBox>(this, "txtStock");
    txtFinal = required<forms::TextBox>(this, "txtFinal");
    txtFinalVolume = required<forms::TextBox>(this, "txtFinalVolume");
    txtStockVolume = required<forms::TextBox>(this, "txtStockVolume");
    txtDiluentVolume = required<forms::TextBox>(this, "txtDiluentVolume");
    lblPlease = required<forms::Label>(this, "lblPlease");
    linTop = required<Border>(this, "linTop");
    linMedium = required<Border>(this, "linMedium");
    linBottom = required<Border>(this, "linBottom");
    for (qint16 index = 0; index < 2; ++index)
        cmdAction[index] = required<LumoButton>(this, "cmdAction", index);
}

void frmMirvale::connectCommands()
{
    for (qint16 index = 0; index < 2; ++index)
        connect(cmdAction[index], &LumoButton::Click, this,
                [this, index] { cmdAction_Click(index); });
    if (QAction *calculate = menuItem(QStringLiteral("mnuFileCalculate")))
        connect(calculate, &QAction::triggered, this,
                [this] { forms::dispatchEvent([this] { mnuFileCalculate_Click(); }); });
    if (QAction *exit = menuItem(QStringLiteral("mnuFileExit")))
        connect(exit, &QAction::triggered, this,
                [this] { forms::dispatchEvent([this] { mnuFileExit_Click(); }); });
    connect(txtStock, &forms::TextBox::KeyPress, this,
            [this](qint16 &KeyAscii) { txtStock_KeyPress(KeyAscii); });
    connect(txtFinal, &forms::TextBox::KeyPress, this,
            [this](qint16 &KeyAscii) { txtFinal_KeyPress(KeyAscii); });
    connect(txtFinalVolume, &forms::TextBox::KeyPress, this,
            [this](qint16 &KeyAscii) { txtFinalVolume_KeyPress(KeyAscii); });
}

// ---- Load and commands -----------------------------------------------------------------------

void frmMirvale::Form_Load()
{
    CentreOnScreen();
    setCaption(QStringLiteral("%1 V. %2.%3.%4")
                   .arg(forms::App::Title())
                   .arg(forms::App::Major())
                   .arg(forms::App::Minor())
                   .arg(forms::App::Revision()));
}

// Centred on the whole screen by the window's outer size.
void frmMirvale::CentreOnScreen()
{
    Move((forms::ScreenWidth() - Width()) / 2, (forms::ScreenHeight() - Height()) / 2);
}

// On X11 the frame's size is known only after the window manager has framed the shown window;
// the window centres itself again by its true outer size, once.
void frmMirvale::frameSizeChanged()
{
    if (m_recentreWhenFramed) {
        m_recentreWhenFramed = false;
        CentreOnScreen();
    }
}

void frmMirvale::cmdAction_Click(qint16 Index)
{
    switch (Index) {
    case 0:
        CalculateVolumes();
        break;
    case 1:
        ExitProgram();
        break;
    default:
        break;
    }
}

void frmMirvale::mnuFileCalculate_Click()
{
    PressButton(this, 0);
}

void frmMirvale::mnuFileExit_Click()
{
    PressButton(this, 1);
}

// ---- The calculation -------------------------------------------------------------------------

void frmMirvale::CalculateVolumes()
{
    const QString notNumeric = QStringLiteral("Please enter a numeric value");
    if (!forms::isNumeric(txtStock->text()))
        return warn(notNumeric, txtStock);
    const double C1 = *forms::toDouble(txtStock->text());
    if (!forms::isNumeric(txtFinal->text()))
        return warn(notNumeric, txtFinal);
    const double C2 = *forms::toDouble(txtFinal->text());
    if (!forms::isNumeric(txtFinalVolume->text()))
        return warn(notNumeric, txtFinalVolume);
    const double V = *forms::toDouble(txtFinalVolume->text());
    if (C1 == 0)
        return warn(QStringLiteral("Stock concentration cannot be 0!"), txtStock);

    const Dilution dilution = CalculateDilution(C1, C2, V);
    txtStockVolume->setText(forms::numberToText(dilution.stockVolume));
    txtDiluentVolume->setText(forms::numberToText(dilution.diluentVolume));
}

void frmMirvale::warn(const QString &message, forms::TextBox *field)
{
    QMessageBox::warning(this, QStringLiteral("Error!"), message, QMessageBox::Ok);
    field->SetFocus();
}

// Enter walks the fields; Enter in the final volume goes back to the stock concentration and
// calculates. Every other character reaches the field unchanged.
void frmMirvale::txtStock_KeyPress(qint16 &KeyAscii)
{
    if (KeyAscii == 13) {
        txtFinal->SetFocus();
        KeyAscii = 0;
    }
}

void frmMirvale::txtFinal_KeyPress(qint16 &KeyAscii)
{
    if (KeyAscii == 13) {
        txtFinalVolume->SetFocus();
        KeyAscii = 0;
    }
}

void frmMirvale::txtFinalVolume_KeyPress(qint16 &KeyAscii)
{
    if (KeyAscii == 13) {
        txtStock->SetFocus();
        KeyAscii = 0;
        PressButton(this, 0);
    }
}

// ---- Layout ----------------------------------------------------------------------------------

void frmMirvale::Form_Resize()
{
    if (WindowState() == 1)
        return;
    if (Width() < MinimumWidth)
        setWidth(MinimumWidth);
    if (Height() < MinimumHeight)
        setHeight(MinimumHeight);
    PlaceControls();
}

// The separators and the prompt span the width, the fields reach the right edge less the margin,
// and the buttons sit centred as a pair along the bottom with the bottom separator above them.
void frmMirvale::PlaceControls()
{
    linTop->Move(ScaleLeft(), ScaleTop(), ScaleWidth());
    const float W0 = cmdAction[0]->Width(), H0 = cmdAction[0]->Height();
    cmdAction[0]->Move((ScaleWidth() - 2 * W0 - Margin) / 2, ScaleHeight() - H0 - Margin);
    cmdAction[1]->Move(cmdAction[0]->Left() + cmdAction[0]->Width() + Margin, cmdAction[0]->Top());
    linBottom->Move(ScaleLeft(),
                    ScaleHeight() - cmdAction[0]->Height() - linBottom->Height() -
                        BottomSeparatorOffset,
                    ScaleWidth());
    forms::moveControl(lblPlease, ScaleLeft(), linTop->Height() + Margin, ScaleWidth());
    for (forms::TextBox *field :
         {txtFinal, txtStock, txtDiluentVolume, txtStockVolume, txtFinalVolume}) {
        const forms::TwipsRect place = forms::twipsGeometry(field);
        forms::moveControl(field, place.left, place.top, ScaleWidth() - place.left - Margin);
    }
    linMedium->Move(ScaleLeft(), linMedium->Top(), ScaleWidth());
}
