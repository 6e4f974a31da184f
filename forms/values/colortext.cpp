#include "colortext.h"

#include "runtimeerror.h"

#include <iterator>

namespace forms {

namespace {

// The desktop colours by their index.
const char *const SystemColorNames[] = {
    "Scroll Bars",
    "Desktop",
    "Active Title Bar",
    "Inactive Title Bar",
    "Menu Bar",
    "Window Background",
    "Window Frame",
    "Menu Text",
    "Window Text",
    "Active Title Bar Text",
    "Active Border",
    "Inactive Border",
    "Application Workspace",
    "Highlight",
    "Highlight Text",
    "Button Face",
    "Button Shadow",
    "Disabled Text",
    "Button Text",
    "Inactive Title Bar Text",
    "Button Highlight",
    "Button Dark Shadow",
    "Button Light Shadow",
    "ToolTip Text",
    "ToolTip",
};
constexpr int SystemColorCount = int(std::size(SystemColorNames));

} // namespace

QStringList systemColorNames()
{
    QStringList names;
    for (const char *name : SystemColorNames)
        names.append(QString::fromLatin1(name));
    return names;
}

QString systemColorName(OleColor value)
{
    if ((value & 0xFFFFFF00u) != SystemColorFlag || int(value & 0xFF) >= SystemColorCount)
        return {};
    return QString::fromLatin1(SystemColorNames[value & 0xFF]);
}

QString colorText(OleColor value)
{
    const QString name = systemColorName(value);
    if (!name.isEmpty())
        return name;
    return QStringLiteral("&H%1&").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

OleColor colorFromText(const QString &typed)
{
    const QString text = typed.trimmed();
    for (int i = 0; i < SystemColorCount; ++i) {
        if (text.compare(QLatin1String(SystemColorNames[i]), Qt::CaseInsensitive) == 0)
            return SystemColorFlag | OleColor(i);
    }
    bool ok = false;
    qulonglong value = 0;
    if (text.startsWith(u"&H", Qt::CaseInsensitive)) {
        const QString digits = text.mid(2).chopped(text.endsWith(u'&') ? 1 : 0);
        value = digits.toULongLong(&ok, 16);
        ok = ok && digits.size() <= 8;
    } else if (text.startsWith(u"0x", Qt::CaseInsensitive)) {
        value = text.mid(2).toULongLong(&ok, 16);
        ok = ok && text.size() <= 10;
    } else {
        value = text.toULongLong(&ok);
        ok = ok && value <= 0xFFFFFFFFull;
    }
    if (!ok)
        throw RuntimeError::typeMismatch();
    return OleColor(value);
}

} // namespace forms
