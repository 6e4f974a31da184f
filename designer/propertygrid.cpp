#include "propertygrid.h"

#include "choicedelegate.h"
#include "colortext.h"
#include "controlkeys.h"
#include "controlregistry.h"
#include "conversions.h"
#include "designsurface.h"
#include "form.h"
#include "numbertext.h"
#include "properties.h"
#include "propertyvalues.h"
#include "runtimeerror.h"
#include "twips.h"
#include "usercontrol.h"

#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QMetaProperty>
#include <QUndoStack>

#include <cmath>

namespace {

constexpr int KindRole = Qt::UserRole;
constexpr int ChoicesRole = Qt::UserRole + 1;

const QStringList PlaceNames = {QStringLiteral("Left"), QStringLiteral("Top"),
                                QStringLiteral("Width"), QStringLiteral("Height")};

bool isColorProperty(const QMetaProperty &property)
{
    return property.metaType() == QMetaType::fromType<quint32>() &&
           QByteArray(property.name()).contains("Color");
}

// A view shows another property in a type a foreign form builder edits; the grid edits the
// property itself.
bool isViewOfAnother(const QMetaObject *meta, const QMetaProperty &property)
{
    const QByteArray key = QByteArray("View:") + property.name();
    return meta->indexOfClassInfo(key.constData()) >= 0;
}

// The stored properties a control's own classes declare, base class first; the toolkit's own
// widget properties are not the control's, nor are views of the control's properties.
QList<QMetaProperty> ownStoredProperties(const QObject *control)
{
    QList<const QMetaObject *> classes;
    for (const QMetaObject *meta = control->metaObject(); meta; meta = meta->superClass()) {
        if (meta->className()[0] == 'Q' || meta == &forms::UserControl::staticMetaObject)
            break;
        classes.prepend(meta);
    }
    QList<QMetaProperty> properties;
    for (const QMetaObject *meta : classes) {
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            if (property.isStored() && property.isWritable() && !isViewOfAnother(meta, property))
                properties.append(property);
        }
    }
    return properties;
}

// A place or size typed in twips, read as the calculator reads typed numbers.
float twipsFrom(const QVariant &value)
{
    double number = 0;
    if (value.metaType() == QMetaType::fromType<QString>()) {
        const std::optional<double> typed = forms::toDouble(value.toString());
        if (!typed)
            throw forms::RuntimeError::typeMismatch();
        number = *typed;
    } else if (forms::holdsNumber(value)) {
        number = value.toDouble();
    } else {
        throw forms::RuntimeError::typeMismatch();
    }
    if (!(std::fabs(number) <= forms::MaxExtentTwips))
        throw forms::RuntimeError::overflow();
    return float(number);
}

QString describe(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<forms::StdFont>()) {
        const auto font = value.value<forms::StdFont>();
        return QStringLiteral("%1, %2 pt").arg(font.name).arg(font.size);
    }
    if (value.metaType() == QMetaType::fromType<forms::StdPicture>()) {
        const auto picture = value.value<forms::StdPicture>();
        if (picture.isNull())
            return QObject::tr("(None)");
        return QObject::tr("(Picture %1 x %2)")
            .arg(picture.image().width())
            .arg(picture.image().height());
    }
    if (value.metaType() == QMetaType::fromType<bool>())
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (value.metaType() == QMetaType::fromType<float>())
        return QString::number(value.toFloat(), 'g', 9);
    return value.toString();
}

} // namespace

PropertyGrid::PropertyGrid(DesignSurface *surface, QWidget *parent)
    : QTableWidget(0, 2, parent), m_surface(surface)
{
    setObjectName(QStringLiteral("propertyGrid"));
    setHorizontalHeaderLabels({tr("Property"), tr("Value")});
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    horizontalHeader()->setStretchLastSection(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setItemDelegateForColumn(1, new ChoiceDelegate(ChoicesRole, this));
    connect(surface, &DesignSurface::selectionChanged, this, &PropertyGrid::scheduleRefresh);
    connect(surface, &DesignSurface::controlsChanged, this, &PropertyGrid::scheduleRefresh);
    connect(surface->undoStack(), &QUndoStack::indexChanged, this, &PropertyGrid::scheduleRefresh);
    connect(this, &QTableWidget::itemChanged, this, &PropertyGrid::commitItem);
    connect(this, &QTableWidget::itemActivated, this, &PropertyGrid::chooseValue);
    // The keys go to a row's value, so that typing on a row edits it.
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (row >= 0 && column == 0)
            setCurrentCell(row, 1);
    });
    refresh();
}

void PropertyGrid::scheduleRefresh()
{
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    // A refresh made in the meantime has done the work.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_refreshPending)
                refresh();
        },
        Qt::QueuedConnection);
}

void PropertyGrid::refresh()
{
    m_refreshPending = false;
    m_filling = true;
    const QList<QWidget *> selected = m_surface->selection();
    m_subject = selected.isEmpty() ? nullptr : selected.first();
    setRowCount(0);
    if (m_subject)
        addControlRows(m_subject);
    else if (m_surface->form())
        addWindowRows();
    m_filling = false;
}

void PropertyGrid::addRow(const QString &name, const QVariant &value, Kind kind,
                          const QStringList &choices)
{
    const int row = rowCount();
    insertRow(row);
    auto *label = new QTableWidgetItem(name);
    label->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    setItem(row, 0, label);
    auto *cell = new QTableWidgetItem;
    cell->setData(KindRole, int(kind));
    cell->setData(ChoicesRole, kind == Kind::Color ? forms::systemColorNames() : choices);
    if (kind == Kind::Boolean) {
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        cell->setCheckState(value.toBool() ? Qt::Checked : Qt::Unchecked);
        cell->setText(describe(value.toBool()));
    } else if (kind == Kind::Font || kind == Kind::Picture) {
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        cell->setText(describe(value));
        cell->setToolTip(tr("Double-click or press Enter to choose"));
    } else {
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        if (kind == Kind::Color)
            cell->setText(forms::colorText(value.toUInt()));
        else if (!choices.isEmpty())
            cell->setText(forms::nameOfValue(choices, value.toLongLong()));
        else
            cell->setText(describe(value));
    }
    setItem(row, 1, cell);
}

void PropertyGrid::addControlRows(QWidget *control)
{
    addRow(QStringLiteral("Name"), control->objectName(), Kind::Text);
    // A control outside any control array has no index to show.
    const int index = control->property("Index").toInt();
    addRow(QStringLiteral("Index"), index >= 0 ? QString::number(index) : QString(), Kind::Text);
    const forms::TwipsRect place = forms::twipsGeometry(control);
    addRow(PlaceNames[0], place.left, Kind::Text);
    addRow(PlaceNames[1], place.top, Kind::Text);
    addRow(PlaceNames[2], place.width, Kind::Text);
    addRow(PlaceNames[3], place.height, Kind::Text);
    addRow(QStringLiteral("TabIndex"), QVariant(forms::tabIndexOf(control)), Kind::Text);
    for (const QMetaProperty &property : ownStoredProperties(control)) {
        const QVariant value = property.read(control);
        Kind kind = Kind::Text;
        if (property.metaType() == QMetaType::fromType<bool>())
            kind = Kind::Boolean;
        else if (isColorProperty(property))
            kind = Kind::Color;
        else if (property.metaType() == QMetaType::fromType<forms::StdFont>())
            kind = Kind::Font;
        else if (property.metaType() == QMetaType::fromType<forms::StdPicture>())
            kind = Kind::Picture;
        const QString name = QString::fromLatin1(property.name());
        addRow(name, value, kind, forms::valueNames(control, name));
    }
}

void PropertyGrid::addWindowRows()
{
    const forms::FormDefinition definition = m_surface->definition();
    const forms::PropertyBag &settings = definition.settings;
    addRow(QStringLiteral("Name"), definition.name, Kind::Text);
    addRow(QStringLiteral("Caption"), settings.ReadProperty(QStringLiteral("Caption"), QString()),
           Kind::Text);
    addRow(QStringLiteral("ClientWidth"), settings.ReadProperty(QStringLiteral("ClientWidth")),
           Kind::Text);
    addRow(QStringLiteral("ClientHeight"), settings.ReadProperty(QStringLiteral("ClientHeight")),
           Kind::Text);
}

QStringList PropertyGrid::propertyNames() const
{
    QStringList names;
    for (int row = 0; row < rowCount(); ++row)
        names.append(item(row, 0)->text());
    return names;
}

QString PropertyGrid::valueText(const QString &name) const
{
    for (int row = 0; row < rowCount(); ++row) {
        if (item(row, 0)->text() == name)
            return item(row, 1)->text();
    }
    return {};
}

PropertyGrid::Kind PropertyGrid::kindOfRow(int row) const
{
    return Kind(item(row, 1)->data(KindRole).toInt());
}

void PropertyGrid::commitItem(QTableWidgetItem *cell)
{
    if (m_filling || cell->column() != 1)
        return;
    const QString name = item(cell->row(), 0)->text();
    const Kind kind = kindOfRow(cell->row());
    QVariant value = cell->text();
    if (kind == Kind::Boolean)
        value = cell->checkState() == Qt::Checked;
    // The grid shows the outcome once the edit is over.
    QMetaObject::invokeMethod(
        this, [this, name, value] { setValue(name, value); }, Qt::QueuedConnection);
}

void PropertyGrid::chooseValue(QTableWidgetItem *cell)
{
    if (cell->column() != 1 && !(cell = item(cell->row(), 1)))
        return;
    const QString name = item(cell->row(), 0)->text();
    const Kind kind = kindOfRow(cell->row());
    // Enter on a row of text starts editing its value; fonts and pictures have dialogs.
    if (kind != Kind::Font && kind != Kind::Picture) {
        if (cell->flags() & Qt::ItemIsEditable)
            editItem(cell);
        return;
    }
    if (!m_subject || !forms::hasProperty(m_subject, name))
        return;
    const QVariant current = forms::propertyByName(m_subject, name);
    if (kind == Kind::Font) {
        bool ok = false;
        const QFont font =
            QFontDialog::getFont(&ok, current.value<forms::StdFont>().toQFont(), this);
        if (ok)
            setValue(name, QVariant::fromValue(forms::StdFont::fromQFont(font)));
    } else {
        const QString path = QFileDialog::getOpenFileName(
            this, tr("Choose a Picture"), QString(),
            tr("Pictures (*.png *.bmp *.ico *.gif *.jpg);;All files (*)"));
        if (path.isEmpty())
            return;
        QFile file(path);
        QString why;
        const forms::StdPicture picture =
            file.open(QIODevice::ReadOnly) ? forms::StdPicture::fromData(file.read(16 << 20), &why)
                                           : forms::StdPicture();
        if (picture.isNull()) {
            QMessageBox::warning(this, tr("Picture"),
                                 tr("%1 cannot be read as a picture. %2").arg(path, why));
            return;
        }
        setValue(name, QVariant::fromValue(picture));
    }
}

bool PropertyGrid::setValue(const QString &name, const QVariant &value)
{
    const bool written = m_surface->edit(
        tr("Set %1").arg(name), [&] { write(name, value); }, name);
    refresh();
    return written;
}

void PropertyGrid::write(const QString &name, const QVariant &value)
{
    if (!m_surface->form())
        return;
    if (!m_subject) {
        writeWindowSetting(name, value);
        return;
    }
    // An enumerated value may be typed or chosen by its name.
    const QStringList names = forms::valueNames(m_subject, name);
    const bool named = !names.isEmpty() && value.metaType() == QMetaType::fromType<QString>();
    writeValue(m_subject, name, named ? forms::valueOfName(names, value.toString()) : value);
}

// One value of the shown control; the edit it is part of records the step.
void PropertyGrid::writeValue(QWidget *control, const QString &name, const QVariant &value)
{
    if (name == u"Name" || name == u"Index" || name == u"TabIndex") {
        writeControlEntry(control, name, value);
    } else if (PlaceNames.contains(name)) {
        const float twips = twipsFrom(value);
        forms::TwipsRect place = forms::twipsGeometry(control);
        float *field[] = {&place.left, &place.top, &place.width, &place.height};
        *field[PlaceNames.indexOf(name)] = twips;
        forms::setTwipsGeometry(control, place);
    } else if (qobject_cast<forms::UserControl *>(control)) {
        const int i = control->metaObject()->indexOfProperty(name.toLatin1().constData());
        const bool color = i >= 0 && isColorProperty(control->metaObject()->property(i));
        forms::setPropertyByName(control, name,
                                 color && value.metaType() == QMetaType::fromType<QString>()
                                     ? QVariant::fromValue(forms::colorFromText(value.toString()))
                                     : value);
    } else {
        writeStockSetting(control, name, value);
    }
}

// A stock control keeps the settings it stores in its window's definition: the value goes through
// the control's own property first, and is then stored.
void PropertyGrid::writeStockSetting(QWidget *control, const QString &name, const QVariant &value)
{
    forms::setPropertyByName(control, name, value);
    forms::FormDefinition edited = m_surface->definition();
    const QString key = control->objectName();
    const int index = control->property("Index").toInt();
    for (forms::ControlDefinition &stored : edited.controls) {
        if (stored.name == key && stored.index == index)
            stored.settings.WriteProperty(name, forms::propertyByName(control, name));
    }
    m_surface->restore(edited, m_surface->selectionKeys());
}

// Name, index and tab index belong to the window's definition of the control.
void PropertyGrid::writeControlEntry(QWidget *control, const QString &name, const QVariant &value)
{
    forms::FormDefinition edited = m_surface->definition();
    const QString oldName = control->objectName();
    const int oldIndex = control->property("Index").toInt();
    QString newName = oldName;
    int newIndex = oldIndex;
    int tabIndex = forms::tabIndexOf(control);
    if (name == u"Name") {
        newName = forms::toText(value).trimmed();
        if (!forms::isControlName(newName))
            throw forms::RuntimeError::invalidPropertyValue();
    } else if (name == u"Index") {
        // An empty index takes the control out of its array.
        newIndex = forms::toText(value).trimmed().isEmpty() ? -1 : forms::toInteger(value);
        if (newIndex < -1)
            throw forms::RuntimeError::invalidPropertyValue();
    } else {
        tabIndex = forms::toInteger(value);
        if (tabIndex < 0)
            throw forms::RuntimeError::invalidPropertyValue();
    }
    for (const forms::ControlDefinition &other : std::as_const(edited.controls)) {
        const bool self = other.name == oldName && other.index == oldIndex;
        if (!self && other.name.compare(newName, Qt::CaseInsensitive) == 0 &&
            other.index == newIndex)
            throw forms::RuntimeError(forms::InvalidPropertyValue,
                                      tr("Ambiguous name detected: %1").arg(newName));
    }
    for (forms::ControlDefinition &stored : edited.controls) {
        if (stored.name == oldName && stored.index == oldIndex) {
            stored.name = newName;
            stored.index = newIndex;
            stored.tabIndex = tabIndex;
        }
    }
    m_surface->applyDefinition(edited, tr("Set %1").arg(name), {{newName, newIndex}});
}

void PropertyGrid::writeWindowSetting(const QString &name, const QVariant &value)
{
    forms::FormDefinition edited = m_surface->definition();
    if (name == u"Name") {
        const QString text = forms::toText(value).trimmed();
        if (!forms::isControlName(text))
            throw forms::RuntimeError::invalidPropertyValue();
        edited.name = text;
    } else if (name == u"Caption") {
        edited.settings.WriteProperty(name, forms::toText(value), QString());
    } else {
        const qint32 size = forms::toLong(value);
        if (size <= 0 || size > forms::MaxExtentTwips)
            throw forms::RuntimeError::invalidPropertyValue();
        edited.settings.WriteProperty(name, QVariant::fromValue(size));
    }
    m_surface->applyDefinition(edited, tr("Set %1").arg(name));
}
