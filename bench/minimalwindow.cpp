#include "minimalwindow.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QVBoxLayout>

MinimalWindow::MinimalWindow(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Minimal"));
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Calculate"), QKeySequence(Qt::Key_F5));
    file->addSeparator();
    file->addAction(QStringLiteral("&Exit"), QKeySequence(Qt::CTRL | Qt::Key_E), this,
                    &QWidget::close);
    auto *fields = new QWidget(this);
    auto *layout = new QVBoxLayout(fields);
    for (int i = 0; i < 5; ++i)
        layout->addWidget(new QLineEdit(fields));
    setCentralWidget(fields);
    // The calculator's smallest outer size at 96 dpi, 3855 x 4740 twips: without a window
    // manager's frame, the size its window shows at.
    resize(257, 316);
}
