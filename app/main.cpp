#include "lumobutton.h"
#include "propertybag.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(260, 80);
    for (int index = 0; index < 2; ++index) {
        auto *button = new LumoButton(&window);
        button->setIndex(index);
        forms::PropertyBag bag;
        bag.WriteProperty("Caption", index == 0 ? "Calculate (F5)" : "&Exit");
        button->ReadProperties(bag);
        button->Move(135 + index * 1845, 300, 1635, 465);
    }
    window.show();
    return app.exec();
}
