// Face drawing of LumoButton at the calculator's size and with its stored buttons, against
// rendering stock Qt buttons of the same size, caption and icon: faces drawn before, and faces
// never drawn before (with and without a picture, with an "&" marker).

#include "application.h"
#include "formdefinition.h"
#include "geometry.h"
#include "lumobutton.h"
#include "picturebox.h"
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

forms::ControlDefinition storedButton(int index)
{
    QFile file(QStringLiteral(MIRVALE_DEFINITION));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot open " MIRVALE_DEFINITION);
    const forms::FormDefinition definition = forms::readDefinition(file.readAll(), file.fileName());
    for (const forms::ControlDefinition &control : definition.controls) {
        if (control.name == u"cmdAction" && control.index == index)
            return control;
    }
    throw std::runtime_error("no such cmdAction in " MIRVALE_DEFINITION);
}

LumoButton *loadButton(QWidget *window, const forms::ControlDefinition &stored, int top)
{
    auto *lumo = new LumoButton(window);
    // The stored size where every face is really painted.
    forms::setTwipsGeometry(lumo, {0, float(top) * 15, stored.rect.width, stored.rect.height});
    lumo->ReadProperties(stored.properties);
    return lumo;
}

// A QToolButton (autoRaise) showing what the LumoButton shows, right of it.
QToolButton *toolButtonLike(QWidget *window, const LumoButton *lumo)
{
    auto *tool = new QToolButton(window);
    tool->setAutoRaise(true);
    tool->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tool->setText(lumo->Caption());
    if (!lumo->Picture().isNull())
        tool->setIcon(QIcon(QPixmap::fromImage(lumo->Picture().image())));
    tool->setIconSize(QSize(16, 16));
    tool->setFont(lumo->Font().toQFont());
    tool->setGeometry(lumo->width() + 10, lumo->y(), lumo->width(), lumo->height());
    return tool;
}

// A face never drawn before is measured against the stock button rendering the same content.
struct NewFaces
{
    const char *name;
    LumoButton *lumo;
    QToolButton *tool;
};

// The buttons in one shown window, as the calculator's window holds its own: the stored
// Calculate button beside stock buttons, and the buttons whose new faces are measured.
struct Buttons
{
    QWidget window;
    LumoButton *lumo;
    QToolButton *tool;
    QPushButton *push;
    QList<NewFaces> fresh;
    QImage canvas;

    Buttons()
    {
        window.setFont(forms::defaultWindowFont());
        const forms::ControlDefinition calculate = storedButton(0);
        lumo = loadButton(&window, calculate, 0);
        const QSize size = lumo->size();
        tool = toolButtonLike(&window, lumo);
        push = new QPushButton(&window);
        push->setText(lumo->Caption());
        push->setIcon(tool->icon());
        push->setIconSize(QSize(16, 16));
        push->setFont(tool->font());
        push->setGeometry(2 * (size.width() + 10), 0, size.width(), size.height());

        int top = size.height() + 10;
        const auto addFresh = [&](const char *name, LumoButton *button) {
            fresh.append({name, button, toolButtonLike(&window, button)});
            top += size.height() + 10;
        };
        addFresh("picture", loadButton(&window, calculate, top));
        addFresh("marker", loadButton(&window, storedButton(1), top));
        LumoButton *bare = loadButton(&window, calculate, top);
        bare->setPicture({});
        bare->setSelectedPicture({});
        bare->setPressedPicture({});
        addFresh("no picture", bare);
        // Shaped and laid out right to left as one line.
        LumoButton *arabic = loadButton(&window, calculate, top);
        arabic->setCaption(QString::fromUtf8("حساب الحجم"));
        addFresh("Arabic", arabic);

        window.resize(3 * (size.width() + 10), top);
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
            // Many short repetitions in random order: a slow spell of the machine then falls on
            // a few of each side's samples rather than on all of one side's.
            ->MinTime(0.2)
            ->Repetitions(11)
            ->ReportAggregatesOnly(true);
    };
    face("LumoButton_Refresh", [&b] { b.lumo->Refresh(); });
    face("LumoButton_DrawUnselected", [&b] { b.lumo->DrawUnselected(); });
    face("LumoButton_DrawSelected", [&b] { b.lumo->DrawSelected(); });
    face("LumoButton_DrawPressed", [&b] { b.lumo->DrawPressed(); });
    face("QToolButton_render", [&b] { b.tool->render(&b.canvas); });
    face("QPushButton_render", [&b] { b.push->render(&b.canvas); });
    // Faces unlike the last few, which must be drawn in full: the caption colour changes at
    // every call, through more colours than the button keeps drawn faces for.
    for (const NewFaces &f : b.fresh) {
        const std::string name = f.name;
        LumoButton *lumo = f.lumo;
        QToolButton *tool = f.tool;
        forms::PictureBox *visible = lumo->findChild<forms::PictureBox *>("picButton");
        face((name + "_DrawUnselected_new").c_str(), [lumo, visible, i = 0u]() mutable {
            visible->setForeColor(0x010101u * (++i % 32));
            lumo->DrawUnselected();
        });
        face((name + "_DrawSelected_new").c_str(), [lumo, i = 0u]() mutable {
            lumo->setForeColorSelected(0x010101u * (++i % 32));
            lumo->DrawSelected();
        });
        face((name + "_DrawPressed_new").c_str(), [lumo, i = 0u]() mutable {
            lumo->setForeColorPressed(0x010101u * (++i % 32));
            lumo->DrawPressed();
        });
        face((name + "_QToolButton_render").c_str(), [&b, tool] { tool->render(&b.canvas); });
    }
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
    printFigure("QToolButton (autoRaise) render", ns("QToolButton_render"));
    printFigure("QPushButton render", ns("QPushButton_render"));
    for (const char *face : {"Refresh", "DrawUnselected", "DrawSelected", "DrawPressed"}) {
        const std::string name = std::string("LumoButton_") + face;
        printRatio(std::string("ratio ") + face + " / QToolButton", ns(name.c_str()),
                   ns("QToolButton_render"));
    }
    for (const char *face : {"Refresh", "DrawUnselected", "DrawSelected", "DrawPressed"}) {
        const std::string name = std::string("LumoButton_") + face;
        printRatio(std::string("ratio ") + face + " / QPushButton", ns(name.c_str()),
                   ns("QPushButton_render"));
    }
    std::printf("\nSummary: faces never drawn before, median wall time per call\n");
    for (const NewFaces &f : buttons.fresh) {
        const std::string name = f.name;
        const std::string tool = name + "_QToolButton_render";
        std::printf("  \"%s\", %s\n", qPrintable(f.lumo->Caption()), f.name);
        for (const char *face : {"DrawUnselected", "DrawSelected", "DrawPressed"}) {
            const std::string measured = name + "_" + face + "_new";
            printFigure(std::string("  LumoButton ") + face + ", new face", ns(measured.c_str()));
        }
        printFigure("  QToolButton (autoRaise) render", ns(tool.c_str()));
        for (const char *face : {"DrawUnselected", "DrawSelected", "DrawPressed"}) {
            const std::string measured = name + "_" + face + "_new";
            printRatio(std::string("  ratio new ") + face + " / QToolButton", ns(measured.c_str()),
                       ns(tool.c_str()), 1.0);
        }
    }
    return 0;
}
