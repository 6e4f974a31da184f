#include "propertypage.h"

#include <QMap>
#include <QMetaClassInfo>

namespace forms {

PropertyPage::PropertyPage(QWidget *parent) : QWidget(parent) {}

QList<QObject *> PropertyPage::SelectedControls() const
{
    QList<QObject *> controls;
    for (const auto &control : m_selection) {
        if (control)
            controls.append(control);
    }
    return controls;
}

void PropertyPage::setChanged(bool changed)
{
    if (m_changed == changed)
        return;
    m_changed = changed;
    emit changedChanged(changed);
}

void PropertyPage::setSelectedControls(const QList<QObject *> &controls)
{
    m_selection.clear();
    for (QObject *control : controls)
        m_selection.append(control);
}

namespace {

QMap<QString, PageFactory> &pageFactories()
{
    static QMap<QString, PageFactory> factories;
    return factories;
}

} // namespace

void registerPropertyPage(const QString &name, PageFactory factory)
{
    pageFactories().insert(name, std::move(factory));
}

PropertyPage *createPropertyPage(const QString &name, QWidget *parent)
{
    const PageFactory factory = pageFactories().value(name);
    return factory ? factory(parent) : nullptr;
}

QStringList propertyPagesOf(const QObject *control)
{
    const QMetaObject *meta = control->metaObject();
    const int index = meta->indexOfClassInfo("PropertyPages");
    if (index < 0)
        return {};
    return QString::fromLatin1(meta->classInfo(index).value()).split(u',', Qt::SkipEmptyParts);
}

} // namespace forms
