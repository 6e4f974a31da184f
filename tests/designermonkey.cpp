#include "designermonkey.h"

#include "designerwindow.h"
#include "designsurface.h"
#include "form.h"
#include "propertygrid.h"
#include "propertypage.h"
#include "propertypagehost.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

namespace {

// Keys a person presses on the designed window, and what they do there.
const char *const SurfaceKeys[] = {
    "Left",       "Right",        "Up",         "Down",   "Shift+Left", "Shift+Right", "Shift+Up",
    "Shift+Down", "Escape",       "Delete",     "Tab",    "Shift+Tab",  "Ctrl+D",      "Ctrl+Z",
    "Ctrl+Y",     "Ctrl+Shift+Z", "Ctrl+C",     "Ctrl+X", "Ctrl+V",     "Ctrl+]",      "Ctrl+[",
    "Ctrl+G",     "Ctrl+Alt+B",   "Ctrl+Alt+S", "Return", "x",
};

const Qt::Key GridKeys[] = {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Delete,
                            Qt::Key_F2,     Qt::Key_Space, Qt::Key_Up,     Qt::Key_Down};

const char *const Texts[] = {
    "",
    "0",
    "1",
    "-1",
    "120",
    "-120",
    "45",
    "1.5",
    "1,5",
    "1,234",
    "1.234,5",
    "99999",
    "-99999",
    "32767",
    "32768",
    "1e9",
    "1e40",
    "abc",
    "True",
    "False",
    "-32769",
    "&H8000000F&",
    "&HFF&",
    "Mauve",
    "Button Face",
    "3 - I-Beam",
    "99 - Custom",
    " 7 ",
    "0x10",
    "NaN",
    "inf",
    "txtStock",
    "cmdAction",
    "a b",
    "_x",
    "Calc&ulate",
    "\u0663\u0664",
};

} // namespace

// Every dialog but the property pages, which the monkey drives itself, is dismissed the moment it
// shows: a message box, the font and the file dialog.
bool DesignerMonkey::DialogAnswerer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && qobject_cast<QDialog *>(watched) &&
        !qobject_cast<forms::PropertyPageHost *>(watched)) {
        ++answered;
        QMetaObject::invokeMethod(watched, "reject", Qt::QueuedConnection);
    }
    return false;
}

DesignerMonkey::DesignerMonkey(DesignerWindow *window, quint32 seed)
    : m_window(window), m_random(seed)
{
    qApp->installEventFilter(&m_answerer);
}

DesignerMonkey::DesignerMonkey(DesignerWindow *window, const QByteArray &choices)
    : m_window(window), m_choices(choices)
{
    qApp->installEventFilter(&m_answerer);
}

DesignerMonkey::~DesignerMonkey()
{
    qApp->removeEventFilter(&m_answerer);
}

// A choice among `count`: at random, or from the next two bytes given, 0 once they are all taken.
int DesignerMonkey::pick(int count)
{
    if (count <= 0)
        return 0;
    if (!m_choices)
        return int(m_random.bounded(count));
    quint32 value = 0;
    for (int i = 0; i < 2 && m_taken < m_choices->size(); ++i)
        value = value << 8 | quint8(m_choices->at(m_taken++));
    return int(value % quint32(count));
}

double DesignerMonkey::pickFraction()
{
    return m_choices ? pick(65536) / 65536.0 : m_random.generateDouble();
}

quint64 DesignerMonkey::pick64()
{
    if (!m_choices)
        return m_random.generate64();
    quint64 value = 0;
    for (int i = 0; i < 4; ++i)
        value = value << 16 | quint64(pick(65536));
    return value;
}

QString DesignerMonkey::step()
{
    // A dialog dismissed on the offscreen platform gives the activation back to no window.
    if (QApplication::activeWindow() != m_window) {
        m_window->activateWindow();
        QCoreApplication::processEvents();
    }
    const int what = pick(100);
    if (what < 15)
        return select();
    if (what < 40)
        return surfaceKey();
    if (what < 60)
        return gridKey();
    if (what < 80)
        return gridText();
    if (what < 86)
        return page();
    if (what < 92)
        return paste();
    return dragSomething();
}

QString DesignerMonkey::text()
{
    switch (pick(6)) {
    case 0:
        return QString(pick(3) ? 70 : 66000, QChar(u'a' + pick(26)));
    case 1:
        return QString::number(pickFraction() * 1e6 - 5e5, 'g', 1 + pick(12));
    case 2:
        return QString::number(qint64(pick64()));
    default:
        return QString::fromUtf8(Texts[pick(int(std::size(Texts)))]);
    }
}

QString DesignerMonkey::select()
{
    DesignSurface *surface = m_window->surface();
    const QList<QWidget *> controls =
        surface->form() ? surface->form()->controls() : QList<QWidget *>();
    if (controls.isEmpty() || !pick(5)) {
        surface->clearSelection();
        return QStringLiteral("select nothing");
    }
    QWidget *control = controls.at(pick(int(controls.size())));
    const bool add = !pick(4);
    surface->select(control, add);
    return QStringLiteral("select %1%2")
        .arg(add ? "also " : "", DesignSurface::displayName(control));
}

QString DesignerMonkey::surfaceKey()
{
    const QString key = QString::fromLatin1(SurfaceKeys[pick(int(std::size(SurfaceKeys)))]);
    QWidget *target = m_window->surface()->keyboardTarget();
    target->setFocus();
    const QKeyCombination combination = QKeySequence(key)[0];
    QTest::keyClick(target, combination.key(), combination.keyboardModifiers());
    return QStringLiteral("surface key %1").arg(key);
}

QString DesignerMonkey::gridKey()
{
    PropertyGrid *grid = m_window->propertyGrid();
    grid->refresh();
    if (grid->rowCount() == 0)
        return QStringLiteral("grid empty");
    const int row = pick(grid->rowCount());
    const QString name = grid->propertyNames().at(row);
    grid->setFocus();
    grid->setCurrentCell(row, pick(3) ? 1 : 0);
    const Qt::Key key = GridKeys[pick(int(std::size(GridKeys)))];
    QTest::keyClick(grid, key);
    QString done = QStringLiteral("grid %1 key %2").arg(name, QKeySequence(key).toString());
    // An editor opened by the key gets text and Return, or Escape.
    if (QWidget *editor = QApplication::focusWidget(); editor && grid->isAncestorOf(editor)) {
        const QString typed = text().left(200);
        // Typed as a keyboard in any language types: each character as the text of a key.
        for (const QChar c : typed)
            QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::keyClick(editor, pick(4) ? Qt::Key_Return : Qt::Key_Escape);
        done += QStringLiteral(" then \"%1\"").arg(typed);
    }
    return done;
}

QString DesignerMonkey::gridText()
{
    PropertyGrid *grid = m_window->propertyGrid();
    grid->refresh();
    if (grid->rowCount() == 0)
        return QStringLiteral("grid empty");
    const QString name = grid->propertyNames().at(pick(grid->rowCount()));
    const QString typed = text();
    grid->setValue(name, typed);
    return QStringLiteral("grid %1 = \"%2\"").arg(name, typed.left(80));
}

QString DesignerMonkey::page()
{
    std::unique_ptr<forms::PropertyPageHost> host(m_window->createPropertyPages());
    if (!host)
        return QStringLiteral("no pages");
    host->setAttribute(Qt::WA_DeleteOnClose, false);
    host->show();
    QString done = QStringLiteral("pages");
    for (int edits = 1 + pick(3); edits > 0; --edits) {
        forms::PropertyPage *page = host->pages().at(pick(int(host->pages().size())));
        const QList<QLineEdit *> fields = page->findChildren<QLineEdit *>();
        const QList<QCheckBox *> boxes = page->findChildren<QCheckBox *>();
        const QList<QComboBox *> lists = page->findChildren<QComboBox *>();
        const int kind = pick(3);
        if (kind == 0 && !fields.isEmpty()) {
            QLineEdit *field = fields.at(pick(int(fields.size())));
            field->setText(text());
            done += QStringLiteral(" %1=\"%2\"").arg(field->objectName(), field->text().left(40));
        } else if (kind == 1 && !boxes.isEmpty()) {
            QCheckBox *box = boxes.at(pick(int(boxes.size())));
            box->setCheckState(box->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
            done += QStringLiteral(" toggle %1").arg(box->objectName());
        } else if (!lists.isEmpty()) {
            QComboBox *list = lists.at(pick(int(lists.size())));
            if (list->count() > 0)
                list->setCurrentIndex(pick(list->count()));
            done += QStringLiteral(" choose %1").arg(list->objectName());
        }
    }
    auto *buttons = host->findChild<QDialogButtonBox *>();
    const QDialogButtonBox::StandardButton ending[] = {
        QDialogButtonBox::Apply, QDialogButtonBox::Ok, QDialogButtonBox::Cancel};
    const auto chosen = ending[pick(3)];
    if (QPushButton *button = buttons->button(chosen); button && button->isEnabled())
        button->click();
    if (chosen == QDialogButtonBox::Apply && host->isVisible())
        host->reject();
    return done + QStringLiteral(" %1").arg(chosen == QDialogButtonBox::Apply ? "Apply"
                                            : chosen == QDialogButtonBox::Ok  ? "OK"
                                                                              : "Cancel");
}

QString DesignerMonkey::paste()
{
    QByteArray held;
    QString what;
    switch (pick(4)) {
    case 0:
        held = QByteArray(pick(400), char(pick(256)));
        what = QStringLiteral("bytes");
        break;
    case 1:
        held = "<window name=\"controls\"><control class=\"Label\" name=\"" +
               text().left(60).toUtf8() + "\" index=\"" + QByteArray::number(pick(70000) - 2) +
               "\" left=\"" + text().left(20).toUtf8() +
               "\" top=\"0\" width=\"90\" height=\"90\" "
               "tabindex=\"0\"/></window>";
        what = QStringLiteral("a label");
        break;
    case 2:
        held = "<window name=\"controls\"><control class=\"Mirvale.LumoButton\" name=\"cmdX\" "
               "left=\"0\" top=\"0\" width=\"900\" height=\"400\" tabindex=\"0\"><property "
               "name=\"delta\" type=\"string\">" +
               text().left(30).toUtf8() + "</property></control></window>";
        what = QStringLiteral("a button");
        break;
    default:
        what = QStringLiteral("as copied");
        break;
    }
    if (!held.isEmpty() || what != QStringLiteral("as copied")) {
        auto *data = new QMimeData;
        data->setData(QStringLiteral("application/x-mirvale-controls"), held);
        QApplication::clipboard()->setMimeData(data);
    }
    QWidget *target = m_window->surface()->keyboardTarget();
    target->setFocus();
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    return QStringLiteral("paste %1").arg(what);
}

QString DesignerMonkey::dragSomething()
{
    QWidget *target = m_window->surface()->keyboardTarget();
    if (target->width() <= 0 || target->height() <= 0)
        return QStringLiteral("nothing to drag on");
    const auto anywhere = [&] { return QPoint(pick(target->width()), pick(target->height())); };
    const QPoint from = anywhere(), to = anywhere();
    const auto send = [target](QEvent::Type type, const QPoint &at, Qt::MouseButton button,
                               Qt::MouseButtons held, Qt::KeyboardModifiers modifiers) {
        QMouseEvent event(type, at, target->mapToGlobal(at), button, held, modifiers);
        QApplication::sendEvent(target, &event);
    };
    const Qt::KeyboardModifiers modifiers = pick(4) ? Qt::NoModifier : Qt::ControlModifier;
    const Qt::MouseButton button = pick(6) ? Qt::LeftButton : Qt::RightButton;
    send(QEvent::MouseButtonPress, from, button, button, modifiers);
    send(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, button, modifiers);
    send(QEvent::MouseMove, to, Qt::NoButton, button, modifiers);
    send(QEvent::MouseButtonRelease, to, button, Qt::NoButton, modifiers);
    return QStringLiteral("drag (%1,%2) to (%3,%4)")
        .arg(from.x())
        .arg(from.y())
        .arg(to.x())
        .arg(to.y());
}
