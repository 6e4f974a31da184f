#pragma once

#include "formdefinition.h"

#include <QStringView>

#include <optional>

namespace forms {

// The rules every readable definition keeps, in one place: the reader refuses what breaks one,
// and the writer and the designer's edits refuse to make a definition that would. Each check
// gives what breaks its rule, or nothing.

// A stored text: at most MaxTextLength code units of Unicode that XML can hold.
std::optional<QString> textBreach(QStringView text);
// A window's or a control's name: an identifier of at most MaxNameLength characters.
std::optional<QString> nameBreach(const QString &name);
// A control's index, place, size and tab index.
std::optional<QString> placeBreach(const ControlDefinition &control);
// One stored value: its text, font or picture. `windowSetting` for the window's own settings,
// whose client size and place are numbers of twips within the limits.
std::optional<QString> valueBreach(const QString &name, const QVariant &value,
                                   bool windowSetting = false);
// The entries a set holds, as counted against MaxEntries: a window's client size and a
// control's extent, which saving adds, are not counted.
qsizetype countedEntries(const PropertyBag &bag);

// Where a definition breaks a rule, and which.
struct DefinitionBreach
{
    // "control 'cmd(1)': entry 'caption': ", or "menu 'mnuFile': ", or empty for the window.
    QString where;
    QString what;
    // Which of the window's controls breaks it, -1 for the window itself; and where that control
    // stands in the file it was read from, 0 when it was not read from one.
    qsizetype control = -1;
    int line = 0;
    int column = 0;

    QString message() const { return where + what; }
};

// The first rule the definition breaks, or nothing.
std::optional<DefinitionBreach> breachOf(const FormDefinition &definition);
// Throws a DefinitionError naming the control, the entry and the rule the definition breaks.
void requireReadable(const FormDefinition &definition);

} // namespace forms
