#include "basmirvale.h"

#include "app.h"
#include "form.h"
#include "runtimeerror.h"

#include <QMetaObject>
#include <QThread>

namespace {

constexpr unsigned long PressPause = 125;

// The arguments are what Q_ARG makes, whose type differs between Qt versions.
template <typename... Arguments>
void callByName(QObject *target, const char *method, Arguments... arguments)
{
    if (!QMetaObject::invokeMethod(target, method, Qt::DirectConnection, arguments...))
        throw forms::RuntimeError(438, QStringLiteral("Object doesn't support this property or "
                                                      "method: %1")
                                           .arg(QString::fromLatin1(method)));
}

} // namespace

void PressButton(forms::Form *window, qint16 Index)
{
    QWidget *button = window->control(QStringLiteral("cmdAction"), Index);
    if (!button)
        throw forms::RuntimeError(
            340, QStringLiteral("Control array element '%1' doesn't exist").arg(Index));
    callByName(button, "DrawPressed");
    QThread::msleep(PressPause);
    callByName(button, "DrawUnselected");
    callByName(window, "cmdAction_Click", Q_ARG(qint16, Index));
}

void ExitProgram()
{
    const auto forms = forms::Form::Forms();
    for (forms::Form *form : forms)
        forms::Form::Unload(form);
    forms::End();
}
