#include "refusalbox.h"

#include "propertyvalues.h"
#include "runtimeerror.h"

#include <QGridLayout>
#include <QMessageBox>

namespace forms {

QString refusalMessage(const QString &subject, const QObject *control, const QString &property,
                       const RuntimeError &error)
{
    const QString failed =
        QObject::tr("Run-time error '%1': %2").arg(error.number()).arg(error.description());
    const QString name = error.property().isEmpty() ? property : error.property();
    if (name.isEmpty())
        return QStringLiteral("%1: %2").arg(subject, failed);
    const QString expected = expectedValue(control, name);
    if (expected.isEmpty())
        return QStringLiteral("%1.%2: %3").arg(subject, name, failed);
    return QStringLiteral("%1.%2: %3\n\n%4").arg(subject, name, expected, failed);
}

void showRefusal(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    // The window manager cuts a title longer than the box; its buttons take about as much again
    // as a few letters.
    const int titleWidth = box.fontMetrics().horizontalAdvance(title) * 5 / 4 +
                           8 * box.fontMetrics().averageCharWidth();
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    box.exec();
}

} // namespace forms
