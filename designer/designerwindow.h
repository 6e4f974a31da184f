#pragma once

#include <QMainWindow>

class DesignSurface;
class QAction;

namespace forms {
class PropertyPageHost;
}

// The design host: opens a window definition, shows the window in design mode, edits its
// controls through their property pages, inserts and deletes controls, and saves the
// definition. The title shows the file and whether it has unsaved changes.
class DesignerWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit DesignerWindow(QWidget *parent = nullptr);
    ~DesignerWindow() override;

    // Opens a definition; on failure says why, naming the file and the place, and keeps the
    // window that was open. True when opened.
    bool open(const QString &path);
    // Saves to the current file or to another one, atomically: a failed save leaves the file as
    // it was. True when saved.
    bool save();
    bool saveAs(const QString &path);

    QString path() const { return m_path; }
    DesignSurface *surface() const { return m_surface; }

    // The property pages of the selection, ready to show; nullptr when the selection has none.
    forms::PropertyPageHost *createPropertyPages();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    void updateTitle();
    void updateActions();
    void openFile();
    void saveFileAs();
    void showPropertyPages();
    bool maybeSave();
    void fail(const QString &title, const QString &message);

    DesignSurface *m_surface;
    QString m_path;
    QAction *m_save = nullptr;
    QAction *m_delete = nullptr;
    QAction *m_properties = nullptr;
};
