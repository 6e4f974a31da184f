#pragma once

#include <QString>

#include <exception>
#include <string>

namespace forms {

// The run-time error numbers this runtime raises.
enum ErrorNumber : int {
    Overflow = 6,
    TypeMismatch = 13,
    InvalidPropertyValue = 380,
    DesignTimeOnly = 393,
};

// A run-time error: passes up from the failing call to whoever triggered it, ending every routine
// in between. Event dispatch is the boundary where it is caught and reported (see reportError).
class RuntimeError : public std::exception
{
public:
    RuntimeError(int number, const QString &description);

    int number() const { return m_number; }
    QString description() const { return m_description; }
    const char *what() const noexcept override { return m_what.c_str(); }
    // The property whose write raised the error, when one did; the first name given stays.
    QString property() const { return m_property; }
    RuntimeError &inProperty(const QString &name);

    static RuntimeError overflow();
    static RuntimeError typeMismatch();
    static RuntimeError invalidPropertyValue();
    static RuntimeError designTimeOnly(const QString &property);

private:
    int m_number;
    QString m_description;
    QString m_property;
    std::string m_what;
};

// Reports an error that reached an event boundary. The default shows a message box with the number
// and text once control is back in the event loop; a host or a test may install its own reporter.
using ErrorReporter = void (*)(const RuntimeError &error);
void reportError(const RuntimeError &error);
ErrorReporter setErrorReporter(ErrorReporter reporter);

// Runs an event handler and reports a run-time error it raises instead of letting it cross the
// event loop.
template <typename Handler> void dispatchEvent(Handler &&handler)
{
    try {
        handler();
    } catch (const RuntimeError &error) {
        reportError(error);
    }
}

} // namespace forms
