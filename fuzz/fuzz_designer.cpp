// Edit sequences in the designer: the input is the designer's own commands, one choice after
// another (what to select, which key on the surface or on a row of the property grid, what text
// to type or to apply on a property page, what to paste, undo, redo, drags), as the designer
// monkey of the tests takes them, on the calculator's window opened afresh for each input.
//  - No edit ends the designer: nothing escapes but a refusal, which changes nothing.
//  - After every step the window keeps every rule of a readable definition, and what it saves
//    reads back to the same bytes.
//  - Undoing every step gives back the window as it was opened.

#include "buttonpage.h"
#include "definitionrules.h"
#include "designermonkey.h"
#include "designerwindow.h"
#include "designsurface.h"
#include "formdefinition.h"
#include "programsetup.h"
#include "standardpages.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QUndoStack>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

const QString Calculator = QStringLiteral(MIRVALE_SOURCE_DIR "/app/frmMirvale.xml");
// Enough for a few dozen edits; a longer input is a longer sequence, not a better one.
constexpr size_t MostChoices = 400;

QTemporaryDir *folder = nullptr;

[[noreturn]] void fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "fuzz_designer: %s\n%s\n", what, qPrintable(detail));
    std::abort();
}

QByteArray saved(DesignSurface *surface)
{
    const forms::FormDefinition definition = surface->definition();
    if (const auto breach = forms::breachOf(definition))
        fail("the window breaks a rule of a readable definition", breach->message());
    try {
        const QByteArray bytes = forms::writeDefinition(definition);
        if (forms::writeDefinition(forms::readDefinition(bytes, QStringLiteral("saved"))) != bytes)
            fail("what was saved reads back differently", QString::fromUtf8(bytes.left(2000)));
        return bytes;
    } catch (const forms::DefinitionError &error) {
        fail("the window cannot be saved and read back", error.message());
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    static int argc = 1;
    static char name[] = "fuzz_designer";
    static char *argv[] = {name, nullptr};
    // Kept to the very end of the process: destroyed with the other statics, it would delete
    // the input devices that the simulated keys and clicks made after Qt's list of them is gone.
    static QApplication *const application = new QApplication(argc, argv);
    Q_UNUSED(application);
    setUpProgram(QStringLiteral("mirvale-designer"));
    forms::registerStandardPages();
    registerButtonPage();
    static QTemporaryDir dir;
    folder = &dir;
    // The recent files and the copies of unsaved work stay in the fuzzer's own folder.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("settings"));
    qputenv("XDG_STATE_HOME", dir.filePath("state").toLocal8Bit());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString copy = folder->filePath(QStringLiteral("frmMirvale.xml"));
    QFile::remove(copy);
    QFile::copy(Calculator, copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    auto window = std::make_unique<DesignerWindow>();
    if (!window->open(copy))
        fail("the calculator's window does not open", copy);
    window->show();
    DesignSurface *surface = window->surface();
    const QByteArray opened = saved(surface);
    {
        DesignerMonkey monkey(window.get(), QByteArray(reinterpret_cast<const char *>(data),
                                                       qsizetype(std::min(size, MostChoices))));
        while (!monkey.exhausted()) {
            monkey.step();
            QCoreApplication::processEvents();
            if (!surface->form())
                fail("the window is gone", {});
            saved(surface);
        }
    }
    while (surface->undoStack()->canUndo())
        surface->undo();
    if (saved(surface) != opened)
        fail("undoing every step does not give back the window as opened", {});
    // The window closes with its work discarded, as a person would leave it.
    surface->undoStack()->setClean();
    return 0;
}
