// Places a LumoButton and a Border in a plain Qt window and checks that the button draws its
// caption and answers a click.
#include <border.h>
#include <lumobutton.h>
#include <picturebox.h>

#include <QApplication>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *button = new LumoButton(&window);
    button->InitProperties(); // a newly placed button's defaults
    button->setCaption(QStringLiteral("&Hello"));
    auto *line = new Border(&window);
    layout->addWidget(button);
    layout->addWidget(line);
    window.resize(240, 90);
    window.show();
    QApplication::processEvents();

    int clicks = 0;
    QObject::connect(button, &LumoButton::Click, [&] { ++clicks; });
    auto *face = button->findChild<forms::PictureBox *>(QStringLiteral("picButton"));
    const QPointF centre = face->rect().center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, centre, face->mapToGlobal(centre), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, {});
        QApplication::sendEvent(face, &event);
    }

    // The caption's ink: pixels in the caption colour on the resting face.
    button->DrawUnselected();
    const QImage image = face->Image();
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += image.pixel(x, y) != image.pixel(0, 0);
    std::printf("caption pixels %d, clicks %d, separator height %g twips\n", ink, clicks,
                double(line->Height()));
    return ink > 20 && clicks == 1 && line->Height() == 60 ? 0 : 1;
}
