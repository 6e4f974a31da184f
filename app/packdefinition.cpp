// Packs a window definition for building into a program: reads the XML definition, builds the
// window from it offscreen as the program would, and writes the packed form. A definition the
// program could not build is refused here, when it is built, not at its first start.
//   mirvale_packdefinition DEFINITION.xml OUTPUT

#include "form.h"
#include "formdefinition.h"
#include "packeddefinition.h"
#include "programsetup.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    setUpProgram(QString());
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: mirvale_packdefinition DEFINITION.xml OUTPUT\n");
        return 2;
    }
    // The same file by any path (a link, "./f.xml") would be overwritten with its packed form.
    struct stat in, out;
    if (::stat(QFile::encodeName(arguments[1]).constData(), &in) == 0 &&
        ::stat(QFile::encodeName(arguments[2]).constData(), &out) == 0 && in.st_dev == out.st_dev &&
        in.st_ino == out.st_ino) {
        std::fprintf(stderr, "%s: the output is the definition itself; name another file\n",
                     qPrintable(arguments[2]));
        return 2;
    }
    if (QFileInfo info(arguments[1]); info.exists() && !info.isFile()) {
        std::fprintf(stderr, "%s: not a regular file\n", qPrintable(arguments[1]));
        return 1;
    }
    QFile input(arguments[1]);
    if (!input.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: cannot be opened: %s\n", qPrintable(arguments[1]),
                     qPrintable(input.errorString()));
        return 1;
    }
    // The same limit as the program's: too large a file, or one that never ends, is not read.
    if (!input.isSequential() && input.size() > forms::MaxDefinitionSize) {
        std::fprintf(stderr, "%s: larger than %lld bytes\n", qPrintable(arguments[1]),
                     static_cast<long long>(forms::MaxDefinitionSize));
        return 1;
    }
    try {
        const forms::FormDefinition definition =
            forms::readDefinition(input.read(forms::MaxDefinitionSize + 1), arguments[1]);
        forms::Form window;
        window.LoadDefinition(definition, arguments[1]);
        const QByteArray packed = forms::packDefinition(definition);
        QSaveFile output(arguments[2]);
        if (!output.open(QIODevice::WriteOnly) || output.write(packed) != packed.size() ||
            !output.commit()) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(arguments[2]),
                         qPrintable(output.errorString()));
            return 1;
        }
    } catch (const forms::DefinitionError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
