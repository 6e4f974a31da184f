#include "widgeticons.h"

#include <QPainter>
#include <QPixmap>

namespace {

constexpr int Size = 22;

QPixmap blank()
{
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// One-pixel light lines top and left, dark lines bottom and right.
void drawEdge(QPainter &painter, const QRect &box, const QColor &topLeft, const QColor &bottomRight)
{
    painter.fillRect(QRect(box.left(), box.top(), box.width(), 1), topLeft);
    painter.fillRect(QRect(box.left(), box.top(), 1, box.height()), topLeft);
    painter.fillRect(QRect(box.right(), box.top(), 1, box.height()), bottomRight);
    painter.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), bottomRight);
}

} // namespace

QIcon lumoButtonIcon()
{
    QPixmap pixmap = blank();
    QPainter painter(&pixmap);
    const QRect face(1, 5, 20, 12);
    painter.fillRect(face, QColor(0xd4, 0xd0, 0xc8));
    drawEdge(painter, face, Qt::white, QColor(0x80, 0x80, 0x80));
    painter.fillRect(QRect(4, 8, 5, 5), QColor(0x2a, 0x6f, 0xb8)); // the picture
    painter.fillRect(QRect(11, 10, 7, 1), Qt::black);              // the caption
    painter.fillRect(QRect(11, 12, 5, 1), Qt::black);
    return QIcon(pixmap);
}

QIcon borderIcon()
{
    QPixmap pixmap = blank();
    QPainter painter(&pixmap);
    painter.fillRect(QRect(1, 10, 20, 1), QColor(0x80, 0x80, 0x80));
    painter.fillRect(QRect(1, 11, 20, 1), Qt::white);
    return QIcon(pixmap);
}
