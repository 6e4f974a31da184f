#pragma once

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

// Ends the event loop at the first paint of the watched window or of any widget in it. The
// paint under way still completes and reaches the screen, since the loop only returns after the
// event being handled.
class FirstPaintExit : public QObject
{
public:
    explicit FirstPaintExit(QWidget *window) : QObject(window), m_window(window)
    {
        QApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            auto *widget = qobject_cast<QWidget *>(watched);
            if (widget && widget->window() == m_window) {
                m_painted = true;
                QCoreApplication::exit(0);
            }
        }
        return false;
    }

private:
    QWidget *m_window;
    bool m_painted = false;
};

// Leaves without tearing the window down: what is measured ends at the first paint.
[[noreturn]] inline void leaveAfterFirstPaint(int code)
{
    std::fflush(stdout);
    std::_Exit(code);
}
