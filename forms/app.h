#pragma once

#include <QString>

namespace forms {

// The running program's title and version numbers, from the application's name and version.
struct App
{
    static QString Title();
    static int Major();
    static int Minor();
    static int Revision();
};

// Ends the program at once: no further events are handled.
void End();

} // namespace forms
