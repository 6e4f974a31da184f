#pragma once

#include <QLabel>

namespace forms {

// A caption on a window: words wrap within the label's width and the text sits at its top.
// Alignment 0 left, 1 right, 2 centred.
class Label : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ text WRITE setText)
    Q_PROPERTY(qint16 Alignment READ Alignment WRITE setAlignment)

public:
    explicit Label(QWidget *parent = nullptr);

    qint16 Alignment() const { return m_alignment; }
    void setAlignment(qint16 alignment);
    using QLabel::setAlignment;

private:
    qint16 m_alignment = 0;
};

} // namespace forms
