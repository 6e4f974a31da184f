// Face drawing of LumoButton at the calculator's size and with its stored Calculate button,
// against rendering stock Qt buttons of the same size, caption and icon.

#include "application.h"
#include "formdefinition.h"
#include "geometry.h"
#include "lumobutton.h"
#include "stdfont.h"
#include "summary.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QWindow>

#include <cstdio>
#include <stdexcept>

namespace {

forms::ControlDefinition storedCalculateButton()
{
    QFile file(QStringLiteral(MIRVALE_DEFINITION));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot open " MIRVALE_DEFINITION);
    const forms::FormDefinition definition = forms::readDefinition(file.readAll(), file.fileName());
    for (const forms::ControlDefinition &control : definition.controls) {
        if (control.name == u"cmdAction" && control.index == 0)
            return control;
    }
    throw std::runtime_error("no cmdAction(0) in " MIRVALE_DEFINITION);
}

// The three buttons side by side in one shown window, as the calculator's window holds its own.
struct Buttons
{
    QWidget window;
    LumoButton *lumo;
    QToolButton *tool;
    QPushButton *push;
    QImage canvas;

    Buttons()
    {
        window.setFont(forms::defaultWindowFont());
        const forms::ControlDefinition stored = storedCalculateButton();
        lumo = new LumoButton(&window);
        // The stored size at the window's top left, where every face is really painted.
        forms::setTwipsGeometry(lumo, {0, 0, stored.rect.width, stored.rect.height});
        lumo->ReadProperties(stored.properties);

        const QSize size = lumo->size();
        const QIcon icon(QPixmap::fromImage(lumo->Picture().image()));
        const QString caption = lumo->Caption();
        const QFont font = lumo->Font().toQFont();

        tool = new QToolButton(&window);
        tool->setAutoRaise(true);
        tool->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        push = new QPushButton(&window);
        int left = size.width() + 10;
        for (QAbstractButton *button :
             {static_cast<QAbstractButton *>(tool), static_cast<QAbstractButton *>(push)}) {
            button->setText(caption);
            button->setIcon(icon);
            button->setIconSize(QSize(16, 16));
            button->setFont(font);
            button->setGeometry(left, 0, size.width(), size.height());
            left += size.width() + 10;
        }
        window.resize(left, size.height());
        canvas = QImage(size * window.devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
        canvas.setDevicePixelRatio(window.devicePixelRatio());

        window.show();
        for (int i = 0; i < 1000 && !(window.windowHandle() && window.windowHandle()->isExposed());
             ++i)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        QApplication::processEvents();
    }
};

void registerBenchmarks(Buttons &b)
{
    const auto face = [](const char *name, auto draw) {
        benchmark::RegisterBenchmark(name,
                                     [draw](benchmark::State &state) mutable {
                                         for (auto _ : state)
                                             draw();
                                     })
            ->Unit(benchmark::kMicrosecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    };
    face("LumoButton_Refresh", [&b] { b.lumo->Refresh(); });
    face("LumoButton_DrawUnselected", [&b] { b.lumo->DrawUnselected(); });
    face("LumoButton_DrawSelected", [&b] { b.lumo->DrawSelected(); });
    face("LumoButton_DrawPressed", [&b] { b.lumo->DrawPressed(); });
    face("QToolButton_render", [&b] { b.tool->render(&b.canvas); });
    face("QPushButton_render", [&b] { b.push->render(&b.canvas); });
    // A face unlike the last few, which must be drawn in full: the caption colour changes at
    // every call, through more colours than the button keeps drawn faces for.
    face("LumoButton_DrawSelected_new", [&b, i = 0u]() mutable {
        b.lumo->setForeColorSelected(0x010101u * (++i % 32));
        b.lumo->DrawSelected();
    });
    face("LumoButton_DrawPressed_new", [&b, i = 0u]() mutable {
        b.lumo->setForeColorPressed(0x010101u * (++i % 32));
        b.lumo->DrawPressed();
    });
}

} // namespace

int main(int argc, char *argv[])
{
    // Offscreen unless told otherwise, so that the figures do not depend on a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    SetUpApplication();
    Buttons buttons;
    registerBenchmarks(buttons);

    benchsummary::MedianCollector collector;
    if (!benchsummary::run(argc, argv, collector))
        return 1;

    using benchsummary::printFigure;
    using benchsummary::printRatio;
    const auto ns = [&](const char *name) { return collector.nanoseconds(name); };
    const QSize size = buttons.lumo->size();
    std::printf("\nSummary: face drawing, %d x %d px (%s), median wall time per call\n",
                size.width(), size.height(), qPrintable(QApplication::platformName()));
    printFigure("LumoButton Refresh", ns("LumoButton_Refresh"));
    printFigure("LumoButton DrawUnselected", ns("LumoButton_DrawUnselected"));
    printFigure("LumoButton DrawSelected", ns("LumoButton_DrawSelected"));
    printFigure("LumoButton DrawPressed", ns("LumoButton_DrawPressed"));
    printFigure("LumoButton DrawSelected, new face each call", ns("LumoButton_DrawSelected_new"));
    printFigure("LumoButton DrawPressed, new face each call", ns("LumoButton_DrawPressed_new"));
    printFigure("QToolButton (autoRaise) render", ns("QToolButton_render"));
    printFigure("QPushButton render", ns("QPushButton_render"));
    for (const char *face : {"Refresh", "DrawUnselected", "DrawSelected", "DrawPressed",
                             "DrawSelected_new", "DrawPressed_new"}) {
        const std::string name = std::string("LumoButton_") + face;
        printRatio(std::string("ratio ") + face + " / QToolButton", ns(name.c_str()),
                   ns("QToolButton_render"));
    }
    for (const char *face : {"Refresh", "DrawUnselected", "DrawSelected", "DrawPressed"}) {
        const std::string name = std::string("LumoButton_") + face;
        printRatio(std::string("ratio ") + face + " / QPushButton", ns(name.c_str()),
                   ns("QPushButton_render"));
    }
    return 0;
}
