#include "runtimeerror.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

namespace forms {

RuntimeError::RuntimeError(int number, const QString &description)
    : m_number(number), m_description(description),
      m_what(QStringLiteral("Run-time error '%1': %2").arg(number).arg(description).toStdString())
{}

RuntimeError &RuntimeError::inProperty(const QString &name)
{
    if (m_property.isEmpty())
        m_property = name;
    return *this;
}

RuntimeError RuntimeError::overflow()
{
    return RuntimeError(Overflow, QStringLiteral("Overflow"));
}

RuntimeError RuntimeError::typeMismatch()
{
    return RuntimeError(TypeMismatch, QStringLiteral("Type mismatch"));
}

RuntimeError RuntimeError::invalidPropertyValue()
{
    return RuntimeError(InvalidPropertyValue, QStringLiteral("Invalid property value"));
}

RuntimeError RuntimeError::designTimeOnly(const QString &property)
{
    return RuntimeError(DesignTimeOnly,
                        QStringLiteral("'%1' can be set only at design time").arg(property));
}

namespace {

void showErrorBox(const RuntimeError &error)
{
    const QString title = QApplication::applicationName();
    const QString text =
        QStringLiteral("Run-time error '%1':\n\n%2").arg(error.number()).arg(error.description());
    // The error may surface inside a paint or a timer tick; the box waits for the event loop.
    QTimer::singleShot(0, qApp, [title, text] {
        QMessageBox::critical(QApplication::activeWindow(), title, text);
    });
}

ErrorReporter currentReporter = showErrorBox;

} // namespace

void reportError(const RuntimeError &error)
{
    currentReporter(error);
}

ErrorReporter setErrorReporter(ErrorReporter reporter)
{
    ErrorReporter previous = currentReporter;
    currentReporter = reporter ? reporter : showErrorBox;
    return previous;
}

} // namespace forms
