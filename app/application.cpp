#include "application.h"

#include "border.h"
#include "controlregistry.h"
#include "lumobutton.h"
#include "stdfont.h"

#include <QApplication>

void SetUpApplication()
{
    QApplication::setApplicationName(QStringLiteral(MIRVALE_TITLE));
    QApplication::setApplicationVersion(QStringLiteral(MIRVALE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("mirvale"));
    forms::installFontSubstitutes();
    forms::registerControlClass(QStringLiteral("Mirvale.LumoButton"),
                                [](QWidget *parent) { return new LumoButton(parent); });
    forms::registerControlClass(QStringLiteral("Mirvale.Border"),
                                [](QWidget *parent) { return new Border(parent); });
}
