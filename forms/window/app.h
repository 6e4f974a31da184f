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

// What End does; the default leaves the application's event loop. A host that must stay (a test
// driving a window) installs its own and gets the previous one back.
using EndHandler = void (*)();
EndHandler setEndHandler(EndHandler handler);

} // namespace forms
