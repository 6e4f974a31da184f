// The designer at scale: generated windows of 16, 500 and 2,000 controls (the calculator's
// buttons with their pictures, separators, labels and fields, tiled), opened to their first
// paint, one arrow-key move of one selected control to the repainted surface, one undo, the
// first control brought to the front (500 to 10,000 controls), and the memory that 1,000 undoable
// moves keep.
#include "buttonpage.h"
#include "designerwindow.h"
#include "designsurface.h"
#include "form.h"
#include "formdefinition.h"
#include "programsetup.h"
#include "standardpages.h"
#include "summary.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QUndoStack>

#include <malloc.h>

#include <cstdio>
#include <map>
#include <memory>

namespace {

const int Sizes[] = {16, 500, 2000};
constexpr double MaxBytesPerMove = 4096;

forms::FormDefinition calculatorWindow()
{
    QFile file(QStringLiteral(MIRVALE_DEFINITION));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", MIRVALE_DEFINITION);
    return forms::readDefinition(file.readAll(), file.fileName());
}

// The calculator's controls tiled in blocks of its client size, as many as asked for; each copy
// is named for its block, so that names and control arrays stay as the calculator has them.
QByteArray generatedDefinition(int controls)
{
    const forms::FormDefinition calculator = calculatorWindow();
    forms::FormDefinition generated = calculator;
    generated.controls.clear();
    const float blockWidth =
        calculator.settings.ReadProperty(QStringLiteral("ClientWidth")).toFloat();
    const float blockHeight =
        calculator.settings.ReadProperty(QStringLiteral("ClientHeight")).toFloat();
    const qsizetype perBlock = calculator.controls.size();
    const int blocks = int((controls + perBlock - 1) / perBlock);
    int columns = 1;
    while (columns * columns < blocks)
        ++columns;
    for (int i = 0; i < controls; ++i) {
        forms::ControlDefinition control = calculator.controls[i % perBlock];
        const int block = int(i / perBlock);
        control.name += QStringLiteral("_%1").arg(block);
        control.rect.left += float(block % columns) * blockWidth;
        control.rect.top += float(block / columns) * blockHeight;
        control.tabIndex = i;
        generated.controls.append(control);
    }
    const int rows = (blocks + columns - 1) / columns;
    generated.settings.WriteProperty(QStringLiteral("ClientWidth"),
                                     QVariant::fromValue<qint32>(qint32(columns * blockWidth)));
    generated.settings.WriteProperty(QStringLiteral("ClientHeight"),
                                     QVariant::fromValue<qint32>(qint32(rows * blockHeight)));
    return forms::writeDefinition(generated);
}

// The generated files, written once.
class Definitions
{
public:
    QString path(int controls)
    {
        const auto found = m_paths.find(controls);
        if (found != m_paths.end())
            return found->second;
        const QString path = m_dir.filePath(QStringLiteral("window%1.xml").arg(controls));
        const QByteArray xml = generatedDefinition(controls);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(xml) != xml.size() || !file.flush())
            qFatal("cannot write %s", qPrintable(path));
        // A window the designer cannot open would wait on its message box.
        try {
            forms::Form form;
            form.LoadDefinition(forms::readDefinition(xml, path), path);
        } catch (const forms::DefinitionError &error) {
            qFatal("%s", qPrintable(error.message()));
        }
        return m_paths[controls] = path;
    }

private:
    QTemporaryDir m_dir;
    std::map<int, QString> m_paths;
};

Definitions &definitions()
{
    static Definitions generated;
    return generated;
}

std::unique_ptr<DesignerWindow> openedWindow(int controls)
{
    auto window = std::make_unique<DesignerWindow>();
    if (!window->open(definitions().path(controls)))
        qFatal("the generated window of %d controls did not open", controls);
    window->show();
    window->grab();
    QApplication::processEvents();
    return window;
}

// A control in the middle of the window, selected, with room to move both ways.
void selectMiddleControl(DesignerWindow &window)
{
    DesignSurface *surface = window.surface();
    const QList<QWidget *> controls = surface->controlsInTabOrder();
    surface->select(controls[controls.size() / 2]);
    QApplication::processEvents();
}

void pressKey(DesignerWindow &window, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(window.surface()->keyboardTarget(), &press);
    QApplication::sendEvent(window.surface()->keyboardTarget(), &release);
    // What the key changed is painted.
    QApplication::processEvents();
}

void BM_open(benchmark::State &state)
{
    const int controls = int(state.range(0));
    definitions().path(controls);
    for (auto _ : state) {
        auto window = openedWindow(controls);
        state.PauseTiming();
        window.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_open)->Arg(16)->Arg(500)->Arg(2000)->Arg(9999)->Unit(benchmark::kMillisecond);

// Moves right and back left, so that the control stays where it was over the repetitions.
void BM_move(benchmark::State &state)
{
    auto window = openedWindow(int(state.range(0)));
    selectMiddleControl(*window);
    bool right = true;
    for (auto _ : state) {
        pressKey(*window, right ? Qt::Key_Right : Qt::Key_Left);
        right = !right;
    }
}
BENCHMARK(BM_move)->Arg(16)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_undo(benchmark::State &state)
{
    auto window = openedWindow(int(state.range(0)));
    selectMiddleControl(*window);
    QUndoStack *undo = window->surface()->undoStack();
    for (auto _ : state) {
        state.PauseTiming();
        pressKey(*window, Qt::Key_Right);
        state.ResumeTiming();
        undo->undo();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_undo)->Arg(16)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

// The first control in stored order brought to the front and sent back again: every control
// after it changes its place in the order, the most an edit of the order can change.
void BM_bringToFront(benchmark::State &state)
{
    auto window = openedWindow(int(state.range(0)));
    DesignSurface *surface = window->surface();
    surface->select(surface->form()->controls().first());
    QApplication::processEvents();
    bool front = true;
    for (auto _ : state) {
        if (front)
            surface->bringSelectionToFront();
        else
            surface->sendSelectionToBack();
        QApplication::processEvents();
        front = !front;
    }
}
BENCHMARK(BM_bringToFront)->Arg(500)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

// A window whose client area is tiled by 2,500 labels of a placed control's size: an insert
// searches every place of it before it grows the window, and is taken back after each.
void BM_insertIntoFullWindow(benchmark::State &state)
{
    forms::FormDefinition full;
    full.name = QStringLiteral("full");
    constexpr int Side = 50;
    constexpr float Width = 1215, Height = 495;
    full.settings.WriteProperty("ClientWidth", QVariant::fromValue<qint32>(qint32(Side * Width)));
    full.settings.WriteProperty("ClientHeight", QVariant::fromValue<qint32>(qint32(Side * Height)));
    for (int i = 0; i < Side * Side; ++i) {
        forms::ControlDefinition label;
        label.className = QStringLiteral("Label");
        label.name = QStringLiteral("lbl%1").arg(i);
        label.rect = {float(i % Side) * Width, float(i / Side) * Height, Width, Height};
        label.tabIndex = i;
        full.controls.append(label);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.xml"));
    QFile file(path);
    const QByteArray xml = forms::writeDefinition(full);
    if (!file.open(QIODevice::WriteOnly) || file.write(xml) != xml.size() || !file.flush())
        qFatal("cannot write %s", qPrintable(path));
    file.close();
    DesignerWindow window;
    if (!window.open(path))
        qFatal("the full window did not open");
    window.show();
    QApplication::processEvents();
    DesignSurface *surface = window.surface();
    for (auto _ : state) {
        surface->insertControl(QStringLiteral("Mirvale.LumoButton"));
        state.PauseTiming();
        surface->undo();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_insertIntoFullWindow)->Unit(benchmark::kMillisecond);

struct Memory
{
    double bytesPerMove = 0;
    double definitionBytes = 0;
    bool undoneToOpened = false;
};

// The heap that 1,000 moves keep for undo, and whether undoing them all gives back the opened
// file byte for byte.
Memory movesKept(int controls)
{
    auto window = openedWindow(controls);
    selectMiddleControl(*window);
    QFile opened(definitions().path(controls));
    opened.open(QIODevice::ReadOnly);
    const QByteArray openedBytes = opened.readAll();
    malloc_trim(0);
    const size_t before = mallinfo2().uordblks;
    constexpr int Moves = 1000;
    for (int i = 0; i < Moves; ++i)
        pressKey(*window, i % 2 ? Qt::Key_Left : Qt::Key_Right);
    malloc_trim(0);
    const size_t after = mallinfo2().uordblks;
    QUndoStack *undo = window->surface()->undoStack();
    while (undo->canUndo())
        undo->undo();
    Memory memory;
    memory.bytesPerMove = (double(after) - double(before)) / Moves;
    memory.definitionBytes = double(openedBytes.size());
    memory.undoneToOpened = undo->count() == Moves &&
                            forms::writeDefinition(window->surface()->definition()) == openedBytes;
    return memory;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    setUpProgram(QStringLiteral("mirvale-designer"));
    forms::registerStandardPages();
    registerButtonPage();
    benchsummary::MedianCollector collector;
    if (!benchsummary::run(argc, argv, collector))
        return 1;
    std::map<int, Memory> memory;
    for (int controls : Sizes)
        memory[controls] = movesKept(controls);

    using benchsummary::printFigure;
    const auto ns = [&](const char *name, int controls) {
        return collector.nanoseconds(std::string(name) + "/" + std::to_string(controls));
    };
    std::printf("\nSummary: the designer at scale, median wall time per call\n");
    bool met = true;
    for (int controls : Sizes) {
        const bool targeted = controls == 500;
        const auto figure = [&](const char *label, const char *name, double targetNs) {
            const auto time = ns(name, controls);
            const std::string text = std::to_string(controls) + " controls: " + label;
            if (targeted) {
                printFigure(text, time, targetNs);
                met = met && time && *time <= targetNs;
            } else {
                printFigure(text, time);
            }
        };
        figure("open to first paint", "BM_open", 1e9);
        figure("one arrow-key move", "BM_move", 16e6);
        figure("one undo", "BM_undo", 16e6);
        const Memory &kept = memory[controls];
        // What a move changed is one control's entry, whatever the window holds.
        std::printf("  %-44s %9.0f B   (target <= %.0f B; the whole file: %.0f B)\n",
                    (std::to_string(controls) + " controls: memory per kept move").c_str(),
                    kept.bytesPerMove, MaxBytesPerMove, kept.definitionBytes);
        met = met && kept.bytesPerMove <= MaxBytesPerMove;
        std::printf("  %-44s %12s\n",
                    (std::to_string(controls) + " controls: undoing 1,000 moves").c_str(),
                    kept.undoneToOpened ? "the file" : "NOT the file");
        met = met && kept.undoneToOpened;
    }
    const auto growth = [&](const char *name) {
        const auto small = ns(name, 500), large = ns(name, 2000);
        return small && large ? *large / *small : 0.0;
    };
    std::printf("  %-44s open x%.1f, move x%.1f, undo x%.1f\n", "growth from 500 to 2,000 controls",
                growth("BM_open"), growth("BM_move"), growth("BM_undo"));
    std::printf("  targets %s\n", met ? "met" : "NOT met");
    return 0;
}
