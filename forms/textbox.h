#pragma once

#include <QLineEdit>

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

signals:
    void KeyPress(qint16 &KeyAscii);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    class FontLoan;
    TextBox(QWidget *parent, const FontLoan &);

    bool m_tabStop = true;
};

} // namespace forms
