#include "application.h"
#include "buttonpage.h"
#include "designerwindow.h"
#include "standardpages.h"

#include <QApplication>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The calculator's own definition: in the source tree during development, else where the
// program is installed.
QString defaultDefinition()
{
    const QString source = QStringLiteral(MIRVALE_SOURCE_DEFINITION);
    if (QFileInfo::exists(source))
        return source;
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                  QStringLiteral("mirvale/frmMirvale.xml"));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    SetUpApplication();
    QApplication::setApplicationDisplayName(QStringLiteral("Mirvale Designer"));
    forms::registerStandardPages();
    registerButtonPage();

    DesignerWindow window;
    const QStringList arguments = QApplication::arguments();
    const QString path = arguments.size() > 1 ? arguments.at(1) : defaultDefinition();
    if (!path.isEmpty())
        window.open(path);
    window.show();
    return application.exec();
}
