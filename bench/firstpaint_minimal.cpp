// The minimal program's start-up, ending at its window's first paint.
#include "firstpaint.h"
#include "minimalwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    MinimalWindow window;
    new FirstPaintExit(&window);
    window.show();
    leaveAfterFirstPaint(application.exec());
}
