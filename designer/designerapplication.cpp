#include "designerapplication.h"

#include "formdefinition.h"
#include "runtimeerror.h"

#include <QMessageBox>
#include <QTimer>

#include <exception>

DesignerApplication::DesignerApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool DesignerApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const forms::RuntimeError &error) {
        report(QString::fromStdString(error.what()));
    } catch (const forms::DefinitionError &error) {
        report(error.message());
    } catch (const std::exception &error) {
        report(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

void DesignerApplication::report(const QString &what)
{
    qCritical("mirvale-designer: an event ended in an error: %s", qPrintable(what));
    // The box waits for the event loop: the error may have come out of a paint or a drag.
    QTimer::singleShot(0, this, [what] {
        QMessageBox::critical(activeWindow(), applicationDisplayName(),
                              tr("The last action could not be completed:\n\n%1\n\nYour work is "
                                 "still open; save it to keep it.")
                                  .arg(what));
    });
}
