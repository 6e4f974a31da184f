#pragma once

#include <QLabel>

namespace forms {

// A caption on a window: words wrap within the label's width and the text sits at its top.
// Alignment 0 left, 1 right, 2 centred.
class Label : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ text WRITE setText)
    Q_PROPERTY(int Alignment READ Alignment WRITE setAlignment)

public:
    explicit Label(QWidget *parent = nullptr);

    int Alignment() const { return m_alignment; }
    void setAlignment(int alignment);
    using QLabel::setAlignment;

private:
    int m_alignment = 0;
};

} // namespace forms
