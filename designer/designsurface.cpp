#include "designsurface.h"

#include "controlregistry.h"
#include "form.h"
#include "formdefinition.h"
#include "geometry.h"
#include "twips.h"
#include "usercontrol.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

// Lies over the designed window, takes every pointer and key event from it, and draws the
// selection handles.
class SelectionOverlay : public QWidget
{
public:
    explicit SelectionOverlay(DesignSurface *surface, QWidget *parent)
        : QWidget(parent), m_surface(surface)
    {
        setFocusPolicy(Qt::StrongFocus);
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QColor handle = palette().color(QPalette::Highlight);
        for (QWidget *control : m_surface->selection()) {
            // The overlay covers the designed window exactly, so its coordinates are the window's.
            const QRect box(control->mapTo(parentWidget(), QPoint(0, 0)), control->size());
            painter.setPen(QPen(handle, 1, Qt::DashLine));
            painter.drawRect(box.adjusted(-1, -1, 0, 0));
            for (const QPoint &corner :
                 {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight(),
                  QPoint(box.center().x(), box.top()), QPoint(box.center().x(), box.bottom())})
                painter.fillRect(QRect(corner - QPoint(2, 2), QSize(5, 5)), handle);
        }
    }
    void mousePressEvent(QMouseEvent *event) override { m_surface->mousePressOnOverlay(event); }
    void mouseMoveEvent(QMouseEvent *event) override { m_surface->mouseMoveOnOverlay(event); }
    void mouseReleaseEvent(QMouseEvent *) override { m_surface->m_dragging = false; }
    void mouseDoubleClickEvent(QMouseEvent *event) override { event->accept(); }
    void keyPressEvent(QKeyEvent *event) override { m_surface->keyPressOnOverlay(event); }

private:
    DesignSurface *m_surface;
};

DesignSurface::DesignSurface(QWidget *parent) : QWidget(parent) {}

DesignSurface::~DesignSurface()
{
    // The designed window goes first, quietly: its controls' ends are no selection change.
    blockSignals(true);
    delete m_form;
}

void DesignSurface::load(const forms::FormDefinition &definition, const QString &source)
{
    auto *form = new forms::Form(this);
    // A main window is a top-level window of its own unless told otherwise.
    form->setWindowFlags(Qt::Widget);
    // Controls inside see UserMode False: the window is being designed.
    form->setProperty(forms::UserControl::UserModeProperty, false);
    try {
        form->LoadDefinition(definition, source);
    } catch (...) {
        delete form;
        throw;
    }
    clearSelection();
    delete m_form;
    m_form = form;
    m_form->move(8, 8);
    m_form->show();
    m_overlay = new SelectionOverlay(this, m_form);
    m_form->installEventFilter(this);
    for (QWidget *control : m_form->controls())
        watchControl(control);
    layOutOverlay();
    updateGeometry();
    setModified(false);
    emit selectionChanged();
}

forms::FormDefinition DesignSurface::definition() const
{
    forms::FormDefinition definition = m_form->SaveDefinition();
    // The window's designed client size is what the designer shows.
    const QWidget *client = m_form->clientArea();
    definition.settings.WriteProperty(
        QStringLiteral("ClientWidth"),
        QVariant::fromValue<qint32>(qRound(forms::pixelsToTwipsX(float(client->width())))));
    definition.settings.WriteProperty(
        QStringLiteral("ClientHeight"),
        QVariant::fromValue<qint32>(qRound(forms::pixelsToTwipsY(float(client->height())))));
    return definition;
}

void DesignSurface::watchControl(QWidget *control)
{
    if (auto *userControl = qobject_cast<forms::UserControl *>(control))
        connect(userControl, &forms::UserControl::propertyChanged, this,
                [this] { setModified(true); });
    connect(control, &QObject::destroyed, this, [this] { emit selectionChanged(); });
}

void DesignSurface::layOutOverlay()
{
    if (!m_overlay)
        return;
    m_overlay->setGeometry(m_form->rect());
    m_overlay->raise();
    m_overlay->show();
    m_overlay->update();
}

bool DesignSurface::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_form && event->type() == QEvent::Resize)
        layOutOverlay();
    return QWidget::eventFilter(watched, event);
}

QSize DesignSurface::sizeHint() const
{
    return m_form ? m_form->size() + QSize(16, 16) : QSize(320, 240);
}

QList<QWidget *> DesignSurface::selection() const
{
    QList<QWidget *> result;
    for (const auto &control : m_selection) {
        if (control)
            result.append(control);
    }
    return result;
}

void DesignSurface::select(QWidget *control, bool add)
{
    if (!add)
        m_selection.clear();
    if (control && !m_selection.contains(control))
        m_selection.append(control);
    if (m_overlay)
        m_overlay->update();
    emit selectionChanged();
}

void DesignSurface::clearSelection()
{
    select(nullptr);
}

QWidget *DesignSurface::controlAt(const QPoint &overlayPoint) const
{
    const QList<QWidget *> controls = m_form->controls();
    // The last created lies on top.
    for (auto it = controls.crbegin(); it != controls.crend(); ++it) {
        QWidget *control = *it;
        if (QRect(control->mapTo(m_form, QPoint(0, 0)), control->size()).contains(overlayPoint))
            return control;
    }
    return nullptr;
}

void DesignSurface::mousePressOnOverlay(QMouseEvent *event)
{
    m_overlay->setFocus();
    QWidget *control = controlAt(event->position().toPoint());
    const bool add = event->modifiers() & Qt::ControlModifier;
    if (!(control && m_selection.contains(control) && !add))
        select(control, add);
    m_dragStart = event->position().toPoint();
    m_dragging = control && event->button() == Qt::LeftButton;
}

void DesignSurface::mouseMoveOnOverlay(QMouseEvent *event)
{
    if (!m_dragging || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint delta = event->position().toPoint() - m_dragStart;
    if (delta.isNull())
        return;
    nudgeSelection(delta.x(), delta.y());
    m_dragStart = event->position().toPoint();
}

void DesignSurface::keyPressOnOverlay(QKeyEvent *event)
{
    const bool resize = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        nudgeSelection(-1, 0, resize);
        break;
    case Qt::Key_Right:
        nudgeSelection(1, 0, resize);
        break;
    case Qt::Key_Up:
        nudgeSelection(0, -1, resize);
        break;
    case Qt::Key_Down:
        nudgeSelection(0, 1, resize);
        break;
    case Qt::Key_Delete:
        deleteSelection();
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
}

void DesignSurface::nudgeSelection(int dx, int dy, bool resize)
{
    const QList<QWidget *> controls = selection();
    if (controls.isEmpty())
        return;
    const float tx = forms::pixelsToTwipsX(float(dx)), ty = forms::pixelsToTwipsY(float(dy));
    for (QWidget *control : controls) {
        forms::TwipsRect place = forms::twipsGeometry(control);
        if (resize) {
            place.width = std::max(0.0f, place.width + tx);
            place.height = std::max(0.0f, place.height + ty);
        } else {
            place.left += tx;
            place.top += ty;
        }
        forms::setTwipsGeometry(control, place);
    }
    setModified(true);
    m_overlay->update();
}

QString DesignSurface::uniqueName(const QString &base) const
{
    for (int n = 1;; ++n) {
        const QString name = base + QString::number(n);
        if (!m_form->control(name))
            return name;
    }
}

QWidget *DesignSurface::insertControl(const QString &className)
{
    if (!m_form || !forms::isUserControlClass(className))
        return nullptr;
    QWidget *control = forms::createControl(className, m_form->clientArea());
    if (!control)
        return nullptr;
    int tabIndex = 0;
    for (QWidget *other : m_form->controls())
        tabIndex = std::max(tabIndex, other->property("_forms_tabindex").toInt() + 1);
    m_form->addControl(control, uniqueName(className.section(u'.', -1)), -1, tabIndex);
    // A newly placed control takes its own defaults, at its own design size.
    if (auto *userControl = qobject_cast<forms::UserControl *>(control))
        userControl->InitProperties();
    forms::moveControl(control, 120, 120);
    control->show();
    watchControl(control);
    layOutOverlay();
    select(control);
    setModified(true);
    return control;
}

void DesignSurface::deleteSelection()
{
    const QList<QWidget *> controls = selection();
    if (controls.isEmpty())
        return;
    m_selection.clear();
    for (QWidget *control : controls) {
        m_form->removeControl(control);
        delete control;
    }
    setModified(true);
    m_overlay->update();
    emit selectionChanged();
}

void DesignSurface::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}
