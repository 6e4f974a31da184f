#include "designmode.h"

#include "usercontrol.h"

#include <QDesignerFormEditorInterface>
#include <QDesignerFormWindowInterface>
#include <QDesignerFormWindowManagerInterface>

namespace {

// Both widgets' plugins ask; the manager is watched once.
constexpr char WatchedKey[] = "mirvaleMarksFormWindows";

void markDesigned(QDesignerFormWindowInterface *formWindow)
{
    formWindow->setProperty(forms::UserControl::UserModeProperty, false);
}

} // namespace

void markFormWindowsDesigned(QDesignerFormEditorInterface *core)
{
    QDesignerFormWindowManagerInterface *manager = core ? core->formWindowManager() : nullptr;
    if (!manager || manager->property(WatchedKey).toBool())
        return;
    manager->setProperty(WatchedKey, true);
    for (int i = 0; i < manager->formWindowCount(); ++i)
        markDesigned(manager->formWindow(i));
    QObject::connect(manager, &QDesignerFormWindowManagerInterface::formWindowAdded, manager,
                     &markDesigned);
}
