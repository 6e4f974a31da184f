#include "app.h"

#include <QCoreApplication>
#include <QVersionNumber>

namespace forms {

namespace {

int versionPart(int index)
{
    const QVersionNumber version =
        QVersionNumber::fromString(QCoreApplication::applicationVersion());
    return version.segmentAt(index);
}

} // namespace

QString App::Title()
{
    return QCoreApplication::applicationName();
}

int App::Major()
{
    return versionPart(0);
}

int App::Minor()
{
    return versionPart(1);
}

int App::Revision()
{
    return versionPart(2);
}

namespace {

void leaveEventLoop()
{
    QCoreApplication::exit(0);
}

EndHandler currentEnd = leaveEventLoop;

} // namespace

void End()
{
    currentEnd();
}

EndHandler setEndHandler(EndHandler handler)
{
    const EndHandler previous = currentEnd;
    currentEnd = handler ? handler : leaveEventLoop;
    return previous;
}

} // namespace forms
