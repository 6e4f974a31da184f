#include "standardpages.h"

#include "colors.h"
#include "colortext.h"
#include "properties.h"
#include "runtimeerror.h"
#include "stdfont.h"
#include "stdpicture.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QMetaProperty>
#include <QPushButton>

namespace forms {

namespace {

// The desktop colours the page offers, in the order it offers them.
const OleColor OfferedSystemColors[] = {
    SystemColorFlag | 15, SystemColorFlag | 18, SystemColorFlag | 16, SystemColorFlag | 20,
    SystemColorFlag | 5,  SystemColorFlag | 8,  SystemColorFlag | 2,  SystemColorFlag | 14,
    SystemColorFlag | 21, SystemColorFlag | 22, SystemColorFlag | 17, SystemColorFlag | 23,
    SystemColorFlag | 24,
};

QString caption(StandardPage::Kind kind)
{
    switch (kind) {
    case StandardPage::Kind::Font:
        return QStringLiteral("Font");
    case StandardPage::Kind::Picture:
        return QStringLiteral("Picture");
    case StandardPage::Kind::Color:
        return QStringLiteral("Color");
    }
    return {};
}

} // namespace

StandardPage::StandardPage(Kind kind, QWidget *parent)
    : PropertyPage(parent), m_kind(kind), m_properties(new QComboBox(this)),
      m_preview(new QLabel(this)), m_edit(new QPushButton(this))
{
    setWindowTitle(caption(kind));
    auto *form = new QFormLayout(this);
    form->addRow(tr("&Properties:"), m_properties);
    m_preview->setMinimumSize(120, 40);
    m_preview->setFrameShape(QFrame::StyledPanel);
    form->addRow(tr("Value:"), m_preview);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_edit);
    if (kind == Kind::Color) {
        m_systemColours = new QComboBox(this);
        m_systemColours->addItem(tr("System colour..."));
        for (const OleColor colour : OfferedSystemColors)
            m_systemColours->addItem(systemColorName(colour), QVariant::fromValue<quint32>(colour));
        buttons->addWidget(m_systemColours);
        connect(m_systemColours, &QComboBox::activated, this, [this](int index) {
            if (index > 0)
                setValue(m_properties->currentText(), m_systemColours->itemData(index));
            m_systemColours->setCurrentIndex(0);
        });
    }
    if (kind == Kind::Picture) {
        m_clear = new QPushButton(tr("C&lear"), this);
        buttons->addWidget(m_clear);
        connect(m_clear, &QPushButton::clicked, this, &StandardPage::clear);
    }
    buttons->addStretch();
    form->addRow(buttons);
    m_edit->setText(kind == Kind::Font      ? tr("&Font...")
                    : kind == Kind::Picture ? tr("&Browse...")
                                            : tr("&Custom colour..."));
    connect(m_edit, &QPushButton::clicked, this, &StandardPage::edit);
    connect(m_properties, &QComboBox::currentIndexChanged, this, &StandardPage::showCurrent);
}

bool StandardPage::isOfKind(const QMetaProperty &property) const
{
    const int type = property.metaType().id();
    switch (m_kind) {
    case Kind::Font:
        return type == qMetaTypeId<StdFont>();
    case Kind::Picture:
        return type == qMetaTypeId<StdPicture>();
    case Kind::Color:
        return type == QMetaType::UInt && QString::fromLatin1(property.name()).contains(u"Color");
    }
    return false;
}

void StandardPage::SelectionChanged()
{
    m_values.clear();
    m_edited.clear();
    m_properties->clear();
    const QList<QObject *> selection = SelectedControls();
    if (!selection.isEmpty()) {
        const QMetaObject *meta = selection.first()->metaObject();
        for (int i = 0; i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            if (!isOfKind(property))
                continue;
            const QString name = QString::fromLatin1(property.name());
            m_values.insert(name, property.read(selection.first()));
            m_properties->addItem(name);
        }
    }
    showCurrent();
}

void StandardPage::ApplyChanges()
{
    for (const QString &name : std::as_const(m_edited)) {
        for (QObject *control : SelectedControls()) {
            if (hasProperty(control, name))
                setPropertyByName(control, name, m_values.value(name));
        }
    }
    m_edited.clear();
}

QStringList StandardPage::propertyNames() const
{
    return m_values.keys();
}

QVariant StandardPage::value(const QString &property) const
{
    return m_values.value(property);
}

void StandardPage::setValue(const QString &property, const QVariant &value)
{
    if (!m_values.contains(property))
        return;
    m_values[property] = value;
    if (!m_edited.contains(property))
        m_edited.append(property);
    setChanged(true);
    showCurrent();
}

QString StandardPage::describe(const QVariant &value) const
{
    switch (m_kind) {
    case Kind::Font: {
        const StdFont font = value.value<StdFont>();
        QStringList styles;
        if (font.bold())
            styles << tr("bold");
        if (font.italic)
            styles << tr("italic");
        if (font.underline)
            styles << tr("underlined");
        if (font.strikethrough)
            styles << tr("struck out");
        return tr("%1, %2 pt%3")
            .arg(font.name)
            .arg(font.size)
            .arg(styles.isEmpty() ? QString()
                                  : QStringLiteral(", ") + styles.join(QStringLiteral(", ")));
    }
    case Kind::Picture: {
        const StdPicture picture = value.value<StdPicture>();
        return picture.isNull()
                   ? tr("(None)")
                   : tr("%1 x %2").arg(picture.size().width()).arg(picture.size().height());
    }
    case Kind::Color:
        return QStringLiteral("&H%1&").arg(value.toUInt(), 8, 16, QLatin1Char('0')).toUpper();
    }
    return {};
}

void StandardPage::showCurrent()
{
    const QString name = m_properties->currentText();
    const bool any = !name.isEmpty();
    m_edit->setEnabled(any);
    if (m_clear)
        m_clear->setEnabled(any);
    if (m_systemColours)
        m_systemColours->setEnabled(any);
    if (!any) {
        m_preview->clear();
        return;
    }
    const QVariant current = m_values.value(name);
    m_preview->setText(describe(current));
    if (m_kind == Kind::Font) {
        m_preview->setFont(current.value<StdFont>().toQFont());
    } else if (m_kind == Kind::Picture) {
        const QImage image = current.value<StdPicture>().image();
        if (!image.isNull())
            m_preview->setPixmap(QPixmap::fromImage(image));
    } else {
        QPalette palette = m_preview->palette();
        const QColor colour = toQColor(current.toUInt());
        palette.setColor(QPalette::Window, colour);
        palette.setColor(QPalette::WindowText, colour.lightness() < 128 ? Qt::white : Qt::black);
        m_preview->setAutoFillBackground(true);
        m_preview->setPalette(palette);
    }
}

void StandardPage::edit()
{
    const QString name = m_properties->currentText();
    const QVariant current = m_values.value(name);
    switch (m_kind) {
    case Kind::Font: {
        bool ok = false;
        const StdFont old = current.value<StdFont>();
        const QFont chosen = QFontDialog::getFont(&ok, old.toQFont(), this, tr("Font"));
        if (ok)
            setValue(name, QVariant::fromValue(StdFont::fromQFont(chosen, old.charset)));
        break;
    }
    case Kind::Picture: {
        const QString path = QFileDialog::getOpenFileName(
            this, tr("Load Picture"), QString(),
            tr("Pictures (*.png *.ico *.bmp *.gif *.jpg *.jpeg *.cur);;All files (*)"));
        if (path.isEmpty())
            break;
        QFile file(path);
        QString why;
        StdPicture picture;
        if (file.open(QIODevice::ReadOnly))
            picture = StdPicture::fromData(file.readAll(), &why);
        else
            why = file.errorString();
        if (picture.isNull())
            QMessageBox::warning(this, tr("Load Picture"),
                                 tr("%1 cannot be used as a picture: %2").arg(path, why));
        else
            setValue(name, QVariant::fromValue(picture));
        break;
    }
    case Kind::Color: {
        const QColor chosen =
            QColorDialog::getColor(toQColor(current.toUInt()), this, tr("Colour"));
        if (chosen.isValid())
            setValue(name, QVariant::fromValue<quint32>(fromQColor(chosen)));
        break;
    }
    }
}

void StandardPage::clear()
{
    setValue(m_properties->currentText(), QVariant::fromValue(StdPicture()));
}

void registerStandardPages()
{
    registerPropertyPage(QStringLiteral("StandardFont"), [](QWidget *parent) {
        return new StandardPage(StandardPage::Kind::Font, parent);
    });
    registerPropertyPage(QStringLiteral("StandardPicture"), [](QWidget *parent) {
        return new StandardPage(StandardPage::Kind::Picture, parent);
    });
    registerPropertyPage(QStringLiteral("StandardColor"), [](QWidget *parent) {
        return new StandardPage(StandardPage::Kind::Color, parent);
    });
}

} // namespace forms
