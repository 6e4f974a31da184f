#include "textbox.h"

#include "keyascii.h"
#include "runtimeerror.h"

#include <QAction>
#include <QGuiApplication>
#include <QKeyEvent>

#include <optional>

namespace forms {

namespace {

// Whether the window offers a command under this key, such as a menu entry's shortcut.
bool isWindowShortcut(const QWidget *field, const QKeySequence &key)
{
    const QWidget *window = field->window();
    const auto actions = window->findChildren<QAction *>();
    for (const QAction *action : actions) {
        if (!action->isEnabled())
            continue;
        const auto shortcuts = action->shortcuts();
        for (const QKeySequence &shortcut : shortcuts) {
            if (shortcut.matches(key) == QKeySequence::ExactMatch)
                return true;
        }
    }
    return false;
}

} // namespace

namespace {

// The loan a window holds open over the controls it builds, if any.
TextBox::FontLoan *openLoan = nullptr;

} // namespace

TextBox::FontLoan::FontLoan(const QWidget *container, When when)
    : m_container(container), m_outer(openLoan)
{
    if (when == When::ForFields) {
        openLoan = this;
        return;
    }
    if (container && openLoan && openLoan->m_container == container)
        openLoan->lend();
    else
        lend();
}

TextBox::FontLoan::~FontLoan()
{
    if (openLoan == this)
        openLoan = m_outer;
    if (m_lent)
        QGuiApplication::setFont(*m_lent);
}

void TextBox::FontLoan::lend()
{
    if (m_lent || !m_container)
        return;
    const QFont font = m_container->font();
    QFont application = QGuiApplication::font();
    if (font == application)
        return;
    m_lent = std::move(application);
    QGuiApplication::setFont(font);
}

// The loan lasts until the line edit is built, and not a moment longer.
TextBox::TextBox(QWidget *parent) : TextBox(parent, FontLoan(parent)) {}

TextBox::TextBox(QWidget *parent, const FontLoan &) : QLineEdit(parent) {}

void TextBox::setTabStop(bool tabStop)
{
    m_tabStop = tabStop;
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

bool TextBox::event(QEvent *event)
{
    // A line edit claims some keys for editing (Ctrl+E moves to the end of the line on X11);
    // the window's own commands come first.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (isWindowShortcut(this, QKeySequence(key->keyCombination()))) {
            event->ignore();
            return false;
        }
    }
    return QLineEdit::event(event);
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    const std::optional<qint16> typed = keyAsciiOf(event);
    if (!typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    qint16 keyAscii = *typed;
    dispatchEvent([&] { emit KeyPress(keyAscii); });
    if (keyAscii == 0) {
        event->accept();
    } else if (keyAscii == *typed) {
        QLineEdit::keyPressEvent(event);
    } else {
        QKeyEvent changed = withKeyAscii(event, keyAscii);
        QLineEdit::keyPressEvent(&changed);
        event->setAccepted(changed.isAccepted());
    }
}

} // namespace forms
