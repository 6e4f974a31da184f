#pragma once

#include <QMainWindow>

#include <functional>

class DesignSurface;
class ObjectList;
class PropertyGrid;
class QAction;
class RecoveryCopy;
class QDockWidget;
class QMenu;

namespace forms {
class PropertyPageHost;
}

// The design host: opens a window definition (or starts a new one), shows the window in design
// mode beside a list of its controls and a property grid, edits its controls on the surface,
// through the grid and through their property pages, with undo and redo of every edit, and saves
// the definition. The title shows the file and whether it has unsaved changes.
class DesignerWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit DesignerWindow(QWidget *parent = nullptr);
    ~DesignerWindow() override;

    // Opens a definition; on failure says why, naming the file and the place, and keeps the
    // window that was open. True when opened.
    bool open(const QString &path);
    // An empty window definition, not yet saved anywhere.
    void newDefinition();
    // Saves to the current file (asking for one when there is none) or to another one,
    // atomically: a failed save leaves the file as it was. Controls that lie outside the client
    // area are named first, and the save may be called off. True when saved.
    bool save();
    bool saveAs(const QString &path);

    QString path() const { return m_path; }
    DesignSurface *surface() const { return m_surface; }
    ObjectList *objectList() const { return m_objects; }
    PropertyGrid *propertyGrid() const { return m_grid; }
    // The files opened or saved last, newest first.
    QStringList recentFiles() const;

    // The property pages the selected controls have in common, ready to show, titled by what they
    // edit, each apply one edit; nullptr when there is no selection or no page in common.
    forms::PropertyPageHost *createPropertyPages();

    RecoveryCopy *recoveryCopy() const { return m_recovery; }
    // Offers the newest work a crash left unsaved, of any file, back; true when it was taken.
    bool offerRecovery();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    void createFileMenu();
    void createEditMenu();
    void createViewMenu();
    void createInsertMenu();
    QAction *addEdit(QMenu *menu, const QString &text, const std::function<void()> &command);
    QAction *createHistoryAction(bool undo);
    void createDocks();
    void updateTitle();
    void updateActions();
    void updateRecentMenu();
    void rememberFile(const QString &path);
    void openFile();
    void saveFileAs();
    void showPropertyPages();
    void focusNextPane();
    void cutSelection();
    bool copySelection();
    void pasteControls();
    bool maybeSave();
    void fail(const QString &title, const QString &message);
    void keepRecoveryCopy();
    bool offerRecoveryOf(const QString &copy, const QString &file, const QDateTime &written);
    bool recover(const QString &copy, const QString &file);

    DesignSurface *m_surface;
    ObjectList *m_objects = nullptr;
    PropertyGrid *m_grid = nullptr;
    QDockWidget *m_objectDock = nullptr;
    QDockWidget *m_gridDock = nullptr;
    QString m_path;
    QMenu *m_recent = nullptr;
    QAction *m_save = nullptr;
    QAction *m_saveAs = nullptr;
    QList<QAction *> m_selectionActions;
    QAction *m_paste = nullptr;
    RecoveryCopy *m_recovery;
    // While a window is being opened, its changing state is no change of the work.
    bool m_opening = false;
};
