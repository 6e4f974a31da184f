#pragma once

#include <QTreeWidget>

class DesignSurface;

// Every control of the designed window as its name (and index) and class, in tab order. The
// list's selection and the surface's follow each other, so a control that lies out of sight or is
// covered can still be selected here.
class ObjectList : public QTreeWidget
{
    Q_OBJECT

public:
    explicit ObjectList(DesignSurface *surface, QWidget *parent = nullptr);

    // The controls in the order listed.
    QList<QWidget *> listedControls() const;

private:
    void forget();
    void rebuild();
    void showSelection();
    void takeSelection();

    DesignSurface *m_surface;
    bool m_updating = false;
    QList<QMetaObject::Connection> m_connections;
};
