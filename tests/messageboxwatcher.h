#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// Answers every modal message box that appears while it lives, remembering what each showed. A
// box is answered with OK where it has one, otherwise it is rejected.
class MessageBoxWatcher : public QObject
{
public:
    struct Box
    {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QStringList buttons;
    };

    MessageBoxWatcher()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] { answer(); });
        m_timer.start(10);
    }

    QList<Box> boxes;

private:
    void answer()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        QStringList buttons;
        const auto all = box->buttons();
        for (QAbstractButton *button : all)
            buttons.append(button->text().remove(u'&'));
        boxes.append({box->windowTitle(), box->text(), box->icon(), buttons});
        if (QAbstractButton *ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->reject();
    }

    QTimer m_timer;
};
