#include "controlkeys.h"

#include <QVariant>
#include <QWidget>

namespace forms {

namespace {

constexpr char TabIndexKey[] = "_forms_tabindex";

} // namespace

int tabIndexOf(const QWidget *control)
{
    return control->property(TabIndexKey).toInt();
}

void setTabIndex(QWidget *control, int tabIndex)
{
    control->setProperty(TabIndexKey, tabIndex);
}

} // namespace forms
