#pragma once

#include <QtGlobal>

namespace forms {
class Form;
}

// Plays a press on the window's button cmdAction(Index) and then runs that button's command:
// the pressed face, a 125 ms pause in which nothing else runs, the resting face, and then the
// window's cmdAction_Click(Index). Button and handler are found by name on the window given.
void PressButton(forms::Form *window, qint16 Index);

// Unloads every window and ends the program at once, without a question.
void ExitProgram();
