#pragma once

#include <QObject>
#include <QRandomGenerator>
#include <QStringList>

#include <optional>

class DesignerWindow;

// A person at the designer, at random but reproducibly from a seed: selecting, pressing keys on
// the surface and on every row of the property grid, typing every kind of text into the grid and
// the property pages, applying and cancelling, pasting what the clipboard happens to hold,
// undoing, redoing and dragging. Dialogs it opens on the way are answered at once.
class DesignerMonkey
{
public:
    DesignerMonkey(DesignerWindow *window, quint32 seed);
    // Takes its choices from the bytes, in order, rather than at random: a fuzzer's input is a
    // sequence of edits.
    DesignerMonkey(DesignerWindow *window, const QByteArray &choices);
    ~DesignerMonkey();

    // Takes one step and says what it was.
    QString step();
    // Whether the choices given are all taken.
    bool exhausted() const { return m_choices && m_taken >= m_choices->size(); }

private:
    QString select();
    QString surfaceKey();
    QString gridKey();
    QString gridText();
    QString page();
    QString paste();
    QString dragSomething();
    QString text();
    int pick(int count);
    quint64 pick64();
    double pickFraction();

    class DialogAnswerer : public QObject
    {
    public:
        bool eventFilter(QObject *watched, QEvent *event) override;
        int answered = 0;
    };

    DesignerWindow *m_window;
    QRandomGenerator m_random;
    std::optional<QByteArray> m_choices;
    qsizetype m_taken = 0;
    DialogAnswerer m_answerer;
};
