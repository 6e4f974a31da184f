#pragma once

#include "form.h"

class Border;
class LumoButton;

namespace forms {
class Label;
class TextBox;
} // namespace forms

// The calculator window: three input fields (stock concentration, final concentration, final
// volume), two result fields (volume of stock solution, volume of diluent), the Calculate and
// Exit buttons and the File menu. It is built from its stored definition.
class frmMirvale : public forms::Form
{
    Q_OBJECT

public:
    // Builds the window from the definition the program carries. Throws forms::DefinitionError
    // if that definition cannot be read.
    explicit frmMirvale(QWidget *parent = nullptr);

    // The command of button cmdAction(Index): 0 calculates, 1 ends the program, any other index
    // does nothing.
    Q_INVOKABLE void cmdAction_Click(qint16 Index);

    // The smallest outer size the window keeps, in twips.
    static constexpr float MinimumWidth = 3855;
    static constexpr float MinimumHeight = 4740;

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void frameSizeChanged() override;

private:
    void findControls();
    void connectCommands();
    void CalculateVolumes();
    void warn(const QString &message, forms::TextBox *field);
    void CentreOnScreen();
    void PlaceControls();

    void mnuFileCalculate_Click();
    void mnuFileExit_Click();
    void txtStock_KeyPress(qint16 &KeyAscii);
    void txtFinal_KeyPress(qint16 &KeyAscii);
    void txtFinalVolume_KeyPress(qint16 &KeyAscii);

    forms::TextBox *txtStock = nullptr;
    forms::TextBox *txtFinal = nullptr;
    forms::TextBox *txtFinalVolume = nullptr;
    forms::TextBox *txtStockVolume = nullptr;
    forms::TextBox *txtDiluentVolume = nullptr;
    forms::Label *lblPlease = nullptr;
    Border *linTop = nullptr;
    Border *linMedium = nullptr;
    Border *linBottom = nullptr;
    LumoButton *cmdAction[2] = {nullptr, nullptr};
    bool m_recentreWhenFramed = true;
};
