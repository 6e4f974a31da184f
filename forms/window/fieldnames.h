#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace forms {

// What assistive technology reads for a label's caption: without its "&" markers, trailing
// blanks and trailing colon.
QString spokenCaption(const QString &caption);

// Names each field among the controls (text fields and drop-down lists that have no name of
// their own) by the label that stands to its left on the same line or, failing one, the label
// just above it, as a reader of the window pairs them. Positions are the controls' stored ones.
void nameFieldsByLabels(const QList<QWidget *> &controls);

} // namespace forms
