#pragma once

#include <QMainWindow>

// The least a calculator window of this kind needs in stock Qt Widgets: a File menu and five
// text fields. Start-up of the real calculator is measured against it.
class MinimalWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MinimalWindow(QWidget *parent = nullptr);
};
