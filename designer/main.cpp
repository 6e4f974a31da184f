#include "buttonpage.h"
#include "designerapplication.h"
#include "designerwindow.h"
#include "programsetup.h"
#include "standardpages.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The calculator's own definition, found from where this program is: installed, it is the data
// beside the program; in a build tree it is a link to the source file, opened under the source
// file's own name so that a developer's saves go to the source.
QString defaultDefinition()
{
    const QFileInfo beside(
        QDir(QCoreApplication::applicationDirPath())
            .filePath(QStringLiteral(MIRVALE_DATA_FROM_PROGRAM "/frmMirvale.xml")));
    if (beside.exists())
        return beside.canonicalFilePath();
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                  QStringLiteral("mirvale/frmMirvale.xml"));
}

} // namespace

int main(int argc, char *argv[])
{
    DesignerApplication application(argc, argv);
    setUpProgram(QStringLiteral("mirvale-designer"));
    QApplication::setApplicationDisplayName(QStringLiteral("Mirvale Designer"));
    forms::registerStandardPages();
    registerButtonPage();

    DesignerWindow window;
    const QStringList arguments = QApplication::arguments();
    const QString path = arguments.size() > 1 ? arguments.at(1) : defaultDefinition();
    if (!path.isEmpty())
        window.open(path);
    window.show();
    // Work a crash left unsaved, of another file than the one opened, is offered back too.
    window.offerRecovery();
    return application.exec();
}
