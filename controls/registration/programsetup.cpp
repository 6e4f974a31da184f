#include "programsetup.h"

#include "border.h"
#include "controlregistry.h"
#include "lumobutton.h"
#include "stdfont.h"

#include <QApplication>

void registerControlClasses()
{
    forms::registerControlClass(QStringLiteral("Mirvale.LumoButton"),
                                [](QWidget *parent) { return new LumoButton(parent); });
    forms::registerControlClass(QStringLiteral("Mirvale.Border"),
                                [](QWidget *parent) { return new Border(parent); });
}

void setUpProgram(const QString &desktopEntry)
{
    QApplication::setApplicationName(QStringLiteral(MIRVALE_TITLE));
    QApplication::setApplicationVersion(QStringLiteral(MIRVALE_VERSION));
    QApplication::setDesktopFileName(desktopEntry);
    forms::installFontSubstitutes();
    registerControlClasses();
}
