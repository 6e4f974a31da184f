// LumoButton and the pointer, the keyboard, focus and assistive technology: one table of what the
// button answers to each input, and the steps the answers are made of.
#include "lumobutton.h"

#include "lumobuttonaccessible.h"
#include "picturebox.h"
#include "pointerwatch.h"

#include <QPointer>

namespace {

enum class Step {
    End,
    StartCapture,
    MarkOutside,
    FlipValue,
    DrawSelected,
    DrawUnselected,
    DrawPressed,
    DrawResting,
    StopCapture,
    Click,
};

enum class When { Always, Inside, Outside };

} // namespace

// ---- Interaction ---------------------------------------------------------------------------

// The first row for the input whose condition holds is applied, step by step; a step's handler
// may close the window and destroy the button, and then the rest is dropped.
void LumoButton::react(Input input)
{
    struct Reaction
    {
        Input input;
        When when;
        Step steps[4];
    };
    static constexpr Reaction Reactions[] = {
        {Input::MovedOver, When::Outside, {Step::StartCapture, Step::DrawSelected}},
        {Input::MovedOver, When::Inside, {}},
        // A move that finds the pointer off the face counts as coming in and going out at once.
        {Input::MovedOff,
         When::Outside,
         {Step::StartCapture, Step::DrawSelected, Step::DrawUnselected, Step::MarkOutside}},
        {Input::MovedOff, When::Inside, {Step::DrawUnselected, Step::MarkOutside}},
        // Value flips on every press, push button or switch.
        {Input::ButtonDown, When::Always, {Step::FlipValue, Step::DrawPressed, Step::StartCapture}},
        // The release clicks wherever the pointer is; the face last drawn stays until the next
        // draw.
        {Input::ButtonUp, When::Always, {Step::StartCapture, Step::MarkOutside, Step::Click}},
        {Input::PointerStays, When::Always, {}},
        {Input::PointerGone,
         When::Always,
         {Step::DrawUnselected, Step::MarkOutside, Step::StopCapture}},
        {Input::FocusLost, When::Outside, {Step::DrawUnselected}},
        {Input::FocusLost, When::Inside, {}},
        {Input::Painted, When::Always, {Step::DrawUnselected}},
        {Input::Resized, When::Always, {Step::DrawUnselected}},
        // Assistive technology presses and lets go at once; the face then shows where the
        // pointer is.
        {Input::Pressed,
         When::Always,
         {Step::FlipValue, Step::DrawPressed, Step::Click, Step::DrawResting}},
    };
    const auto holds = [this](When when) {
        return when == When::Always || (when == When::Inside) == m_state.pointerInside;
    };
    const Reaction *found = nullptr;
    for (const Reaction &reaction : Reactions) {
        if (reaction.input == input && holds(reaction.when)) {
            found = &reaction;
            break;
        }
    }
    Q_ASSERT(found);
    QPointer<LumoButton> guard(this);
    for (Step step : found->steps) {
        switch (step) {
        case Step::End:
            return;
        case Step::StartCapture:
            StartCapture();
            break;
        case Step::MarkOutside:
            m_state.pointerInside = false;
            break;
        case Step::FlipValue:
            m_state.value = !m_state.value;
            LumoButtonAccessible::announceValue(this);
            break;
        case Step::DrawSelected:
            DrawSelected();
            break;
        case Step::DrawUnselected:
            DrawUnselected();
            break;
        case Step::DrawPressed:
            DrawPressed();
            break;
        case Step::DrawResting:
            if (m_state.pointerInside)
                DrawSelected();
            else
                DrawUnselected();
            break;
        case Step::StopCapture:
            m_pointerWatch->stop();
            emit MouseExit();
            break;
        case Step::Click:
            emit Click();
            break;
        }
        if (!guard)
            return;
    }
}

bool LumoButton::isCapturing() const
{
    return m_pointerWatch->isActive();
}

void LumoButton::StartCapture()
{
    m_state.pointerInside = true;
    m_pointerWatch->start();
    emit MouseEnter();
}

// The edges count as inside.
void LumoButton::picButton_MouseMove(float X, float Y)
{
    const float left = picButton->ScaleLeft(), top = picButton->ScaleTop();
    const float right = left + picButton->ScaleWidth();
    const float bottom = top + picButton->ScaleHeight();
    const bool off = X < left || Y < top || X > right || Y > bottom;
    react(off ? Input::MovedOff : Input::MovedOver);
}

void LumoButton::picButton_MouseDown()
{
    react(Input::ButtonDown);
}

void LumoButton::picButton_MouseUp()
{
    react(Input::ButtonUp);
}

void LumoButton::timCapture_Timer(bool over)
{
    react(over ? Input::PointerStays : Input::PointerGone);
}

void LumoButton::picButton_LostFocus()
{
    react(Input::FocusLost);
}

// Passed on as it is: a host that changes the code changes what the face receives.
void LumoButton::picButton_KeyPress(qint16 &KeyAscii)
{
    emit KeyPress(KeyAscii);
}

void LumoButton::UserControl_Paint()
{
    react(Input::Painted);
}

void LumoButton::UserControl_Resize()
{
    react(Input::Resized);
}
