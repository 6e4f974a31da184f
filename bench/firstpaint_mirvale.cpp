// The calculator's start-up exactly as app/main.cpp runs it, ending at its window's first paint.
#include "application.h"
#include "firstpaint.h"
#include "fontconfigurationreader.h"
#include "formdefinition.h"
#include "frmmirvale.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    FontConfigurationReader fonts;
    QApplication application(argc, argv);
    fonts.wait();
    SetUpApplication();
    try {
        frmMirvale window;
        new FirstPaintExit(&window);
        window.Show();
        leaveAfterFirstPaint(application.exec());
    } catch (const forms::DefinitionError &error) {
        QMessageBox::critical(
            nullptr, QApplication::applicationName(),
            QStringLiteral("The window cannot be built:\n%1").arg(error.message()));
        return 1;
    }
}
