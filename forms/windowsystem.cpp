#include "windowsystem.h"

#include <QGuiApplication>
#include <qpa/qplatformnativeinterface.h>

#include <dlfcn.h>

namespace forms {

namespace {

using DisplayFlush = int (*)(void *display);

// The Wayland client library is already loaded when the program draws on Wayland; the program
// does not depend on it otherwise.
DisplayFlush waylandFlush()
{
    static const DisplayFlush flush = []() -> DisplayFlush {
        void *library = dlopen("libwayland-client.so.0", RTLD_LAZY | RTLD_NOLOAD);
        return library ? reinterpret_cast<DisplayFlush>(dlsym(library, "wl_display_flush"))
                       : nullptr;
    }();
    return flush;
}

} // namespace

void flushWindowSystem()
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    void *display = native ? native->nativeResourceForIntegration("wl_display") : nullptr;
    if (const DisplayFlush flush = waylandFlush(); flush && display)
        flush(display);
}

} // namespace forms
