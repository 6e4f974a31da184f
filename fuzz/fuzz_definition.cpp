// The window-definition reader on any bytes: it returns a definition or throws DefinitionError,
// nothing else. A definition that reads is written, the writing read again, and written once
// more: the second reading succeeds and both writings are the same bytes.

#include "formdefinition.h"

#include <QByteArray>
#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what, const QByteArray &first, const QByteArray &second)
{
    std::fprintf(stderr, "%s\n--- first writing ---\n%s\n--- second ---\n%s\n", what,
                 first.constData(), second.constData());
    std::abort();
}

} // namespace

// Pictures decode through the image plugins, found as the programs find them. The application
// gets no command line of its own: libFuzzer's options are not for it.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt warns about every broken input (a picture it cannot decode, a seek past the end); the
    // warnings would bury libFuzzer's own report.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    static int argc = 1;
    static char name[] = "fuzz_definition";
    static char *argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray xml(reinterpret_cast<const char *>(data), qsizetype(size));
    forms::FormDefinition definition;
    try {
        definition = forms::readDefinition(xml, QStringLiteral("fuzz.xml"));
    } catch (const forms::DefinitionError &) {
        return 0;
    }
    const QByteArray written = forms::writeDefinition(definition);
    forms::FormDefinition again;
    try {
        again = forms::readDefinition(written, QStringLiteral("written.xml"));
    } catch (const forms::DefinitionError &error) {
        fail(qPrintable(QStringLiteral("what was written does not read back: ") + error.message()),
             written, QByteArray());
    }
    const QByteArray rewritten = forms::writeDefinition(again);
    if (rewritten != written)
        fail("writing the definition read back gives other bytes", written, rewritten);
    return 0;
}
