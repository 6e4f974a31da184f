// Builds a window from window.ui, laid out in Qt Designer with both controls, and checks one
// pixel of each: the button's face in its background colour, the separator's dark line.
#include "ui_window.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    Ui::ConsumerWindow ui;
    ui.setupUi(&window);
    window.show();
    QApplication::processEvents();

    const QImage shot = window.grab().toImage();
    const QColor face = shot.pixelColor(12, 12);  // inside the button's flat face
    const QColor line = shot.pixelColor(100, 60); // the separator's top row
    const bool designed = ui.okButton->Switch() && ui.okButton->Shift() == 30;
    std::printf("button face %s, separator line %s, switch with shift 30: %s\n",
                qPrintable(face.name()), qPrintable(line.name()), designed ? "yes" : "no");
    return face == QColor(Qt::yellow) && line == QColor(Qt::red) && designed ? 0 : 1;
}
