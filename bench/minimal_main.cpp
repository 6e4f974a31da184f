#include "minimalwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    MinimalWindow window;
    window.show();
    return application.exec();
}
