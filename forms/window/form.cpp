#include "form.h"

#include "conversions.h"
#include "fieldnames.h"
#include "runtimeerror.h"
#include "stdfont.h"
#include "stdpicture.h"
#include "textbox.h"
#include "twips.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QImageReader>
#include <QMenuBar>
#include <QScreen>

#include <algorithm>
#include <optional>

namespace forms {

namespace {

QScreen *primaryScreen()
{
    return QGuiApplication::primaryScreen();
}

QIcon iconFrom(const StdPicture &picture)
{
    // An icon file holds several sizes; the window takes each of them.
    QIcon icon;
    QBuffer buffer;
    buffer.setData(picture.data());
    QImageReader reader(&buffer);
    do {
        const QImage image = reader.read();
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    } while (reader.jumpToNextImage());
    if (icon.isNull() && !picture.isNull())
        icon.addPixmap(QPixmap::fromImage(picture.image()));
    return icon;
}

} // namespace

float ScreenWidth()
{
    const QScreen *screen = primaryScreen();
    return screen ? pixelsToTwipsX(float(screen->geometry().width())) : 0;
}

float ScreenHeight()
{
    const QScreen *screen = primaryScreen();
    return screen ? pixelsToTwipsY(float(screen->geometry().height())) : 0;
}

Form::Form(QWidget *parent) : QMainWindow(parent), m_client(new QWidget(this))
{
    // Making the menu bar asks the session bus whether the desktop shows menus itself. Where no
    // session bus runs, D-Bus starts one from a child process; after that fork the first write
    // to each page the program already has is a page fault. Made first, that is a few pages.
    menuBar();
    setFont(defaultWindowFont());
    // Placed inside another window (as a designer shows it) the window still paints its own
    // background.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    m_client->setObjectName(QStringLiteral("client"));
    setCentralWidget(m_client);
}

Form::~Form() = default;

void Form::LoadDefinition(const FormDefinition &definition, const QString &source)
{
    m_definition = definition;
    setObjectName(definition.name);
    const PropertyBag &settings = definition.settings;
    const QString place = placeInFile(source, definition.line, definition.column);
    const auto setting = [&](const QString &name, const QVariant &fallback, auto convert) {
        try {
            return convert(settings.ReadProperty(name, fallback));
        } catch (const RuntimeError &error) {
            throw DefinitionError(QStringLiteral("%1: entry '%2': %3 (run-time error %4)")
                                      .arg(place, name, error.description())
                                      .arg(error.number()));
        }
    };
    const auto number = [](const QVariant &value) { return float(toLong(value)); };
    const float clientWidth = setting(QStringLiteral("ClientWidth"), 0, number);
    const float clientHeight = setting(QStringLiteral("ClientHeight"), 0, number);
    setWindowTitle(setting(QStringLiteral("Caption"), QString(),
                           [](const QVariant &value) { return toText(value); }));
    // The icon is decoded once the window has painted: a window manager shows it a moment later,
    // and the window itself appears sooner.
    m_pendingIcon = setting(QStringLiteral("Icon"), QVariant(), [](const QVariant &value) {
        return value.isValid() ? toPicture(value) : StdPicture();
    });
    if (isVisible())
        applyIcon();
    createMenus(definition.menus);
    {
        const TextBox::FontLoan loan(m_client, TextBox::FontLoan::When::ForFields);
        for (const ControlDefinition &control : definition.controls)
            createControl(control, source);
    }
    requireBuiltReadable(definition, source);
    applyTabOrder();
    // Decided once, from the stored places, so that any window built this way reads well.
    nameFieldsByLabels(controls());
    if (clientWidth > 0 && clientHeight > 0) {
        m_storedClient = QSize(twipsToPixelsX(clientWidth), twipsToPixelsY(clientHeight));
        sizeForFirstShow();
    }
}

// The outer size is the stored client area with the menu bar and the frame around it, or the
// minimum outer size where that is larger, in each dimension. The menu bar is measured as it
// will show, styled; the frame is whatever the window has so far.
void Form::sizeForFirstShow()
{
    if (m_storedClient.isEmpty() && m_minimumOuterWidth <= 0 && m_minimumOuterHeight <= 0)
        return;
    ensurePolished();
    QSize size = m_storedClient.isEmpty() ? this->size() : m_storedClient;
    if (!m_storedClient.isEmpty() && !menuBar()->actions().isEmpty())
        size.rheight() += menuBar()->sizeHint().height();
    const QSize frame = frameExtra();
    size = size.expandedTo(QSize(twipsToPixelsX(m_minimumOuterWidth) - frame.width(),
                                 twipsToPixelsY(m_minimumOuterHeight) - frame.height()));
    resize(size);
    m_firstShowSize = size;
}

void Form::setMinimumOuterSize(float width, float height)
{
    m_minimumOuterWidth = width;
    m_minimumOuterHeight = height;
    applyMinimumOuterSize();
    if (!isVisible())
        sizeForFirstShow();
}

// The window manager keeps the window at its minimum too, so the frame never shows a smaller one.
void Form::applyMinimumOuterSize()
{
    if (m_minimumOuterWidth <= 0 && m_minimumOuterHeight <= 0)
        return;
    const QSize frame = frameExtra();
    setMinimumSize(std::max(0, twipsToPixelsX(m_minimumOuterWidth) - frame.width()),
                   std::max(0, twipsToPixelsY(m_minimumOuterHeight) - frame.height()));
}

// A frame arrived or changed: the minimum is an outer size, and a window nobody has resized yet
// takes its first-show size again, now with the frame.
void Form::frameChanged()
{
    m_knownFrameExtra = frameExtra();
    applyMinimumOuterSize();
    if (!m_firstShowSize.isEmpty() && size() == m_firstShowSize)
        sizeForFirstShow();
    dispatchEvent([this] { frameSizeChanged(); });
}

void Form::Show()
{
    Load();
    show();
}

void Form::Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    dispatchEvent([this] { Form_Load(); });
}

QList<Form *> Form::Forms()
{
    QList<Form *> forms;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (auto *form = qobject_cast<Form *>(window); form && form->isLoaded())
            forms.append(form);
    }
    return forms;
}

void Form::Unload(Form *form)
{
    form->close();
    form->m_loaded = false;
}

QSize Form::frameExtra() const
{
    return frameGeometry().size() - geometry().size();
}

float Form::Left() const
{
    return pixelsToTwipsX(float(frameGeometry().x()));
}

float Form::Top() const
{
    return pixelsToTwipsY(float(frameGeometry().y()));
}

float Form::Width() const
{
    return pixelsToTwipsX(float(frameGeometry().width()));
}

float Form::Height() const
{
    return pixelsToTwipsY(float(frameGeometry().height()));
}

void Form::setWidth(float width)
{
    resize(std::max(0, twipsToPixelsX(width) - frameExtra().width()), height());
}

void Form::setHeight(float height)
{
    resize(this->width(), std::max(0, twipsToPixelsY(height) - frameExtra().height()));
}

void Form::Move(float left, std::optional<float> top, std::optional<float> width,
                std::optional<float> height)
{
    if (width)
        setWidth(*width);
    if (height)
        setHeight(*height);
    // A window's position is that of its frame.
    move(twipsToPixelsX(left), twipsToPixelsY(top.value_or(Top())));
}

float Form::ScaleWidth() const
{
    return pixelsToTwipsX(float(m_client->width()));
}

float Form::ScaleHeight() const
{
    return pixelsToTwipsY(float(m_client->height()));
}

int Form::WindowState() const
{
    if (isMinimized())
        return 1;
    if (isMaximized())
        return 2;
    return 0;
}

QWidget *Form::control(const QString &name, int index) const
{
    for (const auto &widget : m_controls) {
        if (widget && widget->objectName().compare(name, Qt::CaseInsensitive) == 0 &&
            widget->property("Index").toInt() == index)
            return widget;
    }
    return nullptr;
}

QList<QWidget *> Form::controls() const
{
    QList<QWidget *> result;
    for (const auto &widget : m_controls) {
        if (widget)
            result.append(widget);
    }
    return result;
}

QAction *Form::menuItem(const QString &name) const
{
    const auto actions = findChildren<QAction *>(name);
    return actions.isEmpty() ? nullptr : actions.first();
}

bool Form::event(QEvent *event)
{
    const bool result = QMainWindow::event(event);
    switch (event->type()) {
    case QEvent::Paint:
        if (!m_pendingIcon.isNull())
            QMetaObject::invokeMethod(this, &Form::applyIcon, Qt::QueuedConnection);
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Expose:
    case QEvent::UpdateRequest:
        if (isVisible() && frameExtra() != m_knownFrameExtra)
            frameChanged();
        break;
    default:
        break;
    }
    return result;
}

void Form::applyIcon()
{
    if (m_pendingIcon.isNull())
        return;
    setWindowIcon(iconFrom(m_pendingIcon));
    m_pendingIcon = StdPicture();
}

void Form::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    dispatchEvent([this] { Form_Resize(); });
}

void Form::showEvent(QShowEvent *event)
{
    Load();
    QMainWindow::showEvent(event);
}

void Form::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Minimising and restoring change no size, but the window is laid out again all the same.
    if (event->type() == QEvent::WindowStateChange)
        dispatchEvent([this] { Form_Resize(); });
}

void Form::closeEvent(QCloseEvent *event)
{
    m_loaded = false;
    QMainWindow::closeEvent(event);
}

} // namespace forms
