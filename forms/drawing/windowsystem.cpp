#include "windowsystem.h"

#include <QGuiApplication>
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
#include <qpa/qplatformnativeinterface.h>
#endif

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

// The program's Wayland connection; null on any other display server.
void *waylandDisplay()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
#if QT_CONFIG(wayland)
    const auto *wayland = qGuiApp->nativeInterface<QNativeInterface::QWaylandApplication>();
    return wayland ? wayland->display() : nullptr;
#else
    return nullptr;
#endif
#else
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    return native ? native->nativeResourceForIntegration("wl_display") : nullptr;
#endif
}

} // namespace

void flushWindowSystem()
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    void *display = waylandDisplay();
    if (const DisplayFlush flush = waylandFlush(); flush && display)
        flush(display);
}

} // namespace forms
