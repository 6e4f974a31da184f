#include "label.h"

namespace forms {

Label::Label(QWidget *parent) : QLabel(parent)
{
    setWordWrap(true);
    // An "&" in a caption is shown as it is: labels carry no access keys.
    setTextFormat(Qt::PlainText);
    setAlignment(0);
}

void Label::setAlignment(qint16 alignment)
{
    m_alignment = alignment;
    const Qt::Alignment horizontal = alignment == 1   ? Qt::AlignRight
                                     : alignment == 2 ? Qt::AlignHCenter
                                                      : Qt::AlignLeft;
    QLabel::setAlignment(horizontal | Qt::AlignTop);
}

} // namespace forms
