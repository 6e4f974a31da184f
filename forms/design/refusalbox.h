#pragma once

#include <QString>

class QObject;
class QWidget;

namespace forms {

class RuntimeError;

// Why an edit of a property was refused, in words a person can act on: the control and the
// property, what the property takes, then the run-time error itself ("cmdAction(0).Width: a
// number of twips from 0 to 245760, e.g. 1215", then "Run-time error '380': …"). The property is
// the one the error names, else `property`.
QString refusalMessage(const QString &subject, const QObject *control, const QString &property,
                       const RuntimeError &error);

// Shows a refusal in a warning box wide enough for its whole title.
void showRefusal(QWidget *parent, const QString &title, const QString &text);

} // namespace forms
