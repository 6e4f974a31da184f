#include "application.h"

#include "programsetup.h"

#include <QString>

void SetUpApplication()
{
    setUpProgram(QStringLiteral("mirvale"));
}
