#include "numbersymbols.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

namespace forms {

namespace {

// Looking the user's locale up costs more than converting a number, so its symbols are kept
// until the application hears that the locale changed.
std::optional<NumberSymbols> userSymbols;

class LocaleWatcher : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::LocaleChange)
            userSymbols.reset();
        return false;
    }
};

QPointer<LocaleWatcher> localeWatcher;

} // namespace

const NumberSymbols &currentUserSymbols()
{
    if (!localeWatcher && QCoreApplication::instance()) {
        localeWatcher = new LocaleWatcher(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(localeWatcher);
        userSymbols.reset();
    }
    if (!userSymbols)
        userSymbols.emplace(QLocale());
    return *userSymbols;
}

} // namespace forms
