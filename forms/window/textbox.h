#pragma once

#include <QFont>
#include <QLineEdit>

#include <optional>

namespace forms {

// A text field whose typed characters reach its window first: KeyPress carries the character
// code by reference; 0 swallows the character, another code is typed instead of it.
class TextBox : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)
    Q_PROPERTY(bool Locked READ isReadOnly WRITE setReadOnly)

public:
    explicit TextBox(QWidget *parent = nullptr);

    // Out of the Tab sequence, the field still takes the focus from a click, so its text can be
    // selected and copied.
    bool TabStop() const { return m_tabStop; }
    void setTabStop(bool tabStop);

    void SetFocus() { setFocus(Qt::OtherFocusReason); }

    // A line edit lays out its empty text in the application's font before it takes its
    // container's. Where the two differ, that would load a whole font the window does not draw
    // in, the costliest single step of a window's start; so while a loan lives, the application's
    // font is the container's. Each field takes one for its own construction. A window that
    // builds many controls opens one over them all, lent only when the first field in that
    // container is built: every change of the application's font is told to every widget.
    class FontLoan
    {
    public:
        enum class When { Now, ForFields };
        explicit FontLoan(const QWidget *container, When when = When::Now);
        ~FontLoan();
        Q_DISABLE_COPY_MOVE(FontLoan)

    private:
        void lend();

        const QWidget *m_container;
        FontLoan *m_outer;
        std::optional<QFont> m_lent;
    };

signals:
    void KeyPress(qint16 &KeyAscii);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    TextBox(QWidget *parent, const FontLoan &);

    bool m_tabStop = true;
};

} // namespace forms
