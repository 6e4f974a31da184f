// The designer's menus, tool bar and keys, and which of their commands are available.
#include "designerwindow.h"

#include "designsurface.h"
#include "objectlist.h"
#include "propertygrid.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QFileInfo>
#include <QMenuBar>
#include <QToolBar>
#include <QUndoStack>

void DesignerWindow::createActions()
{
    createFileMenu();
    createEditMenu();
    createViewMenu();
    createInsertMenu();
}

void DesignerWindow::createFileMenu()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    QToolBar *tools = addToolBar(tr("Design"));
    tools->setObjectName(QStringLiteral("designTools"));
    QAction *create = file->addAction(tr("&New"), this, [this] {
        if (maybeSave())
            newDefinition();
    });
    create->setShortcut(QKeySequence::New);
    QAction *open = file->addAction(tr("&Open..."), this, &DesignerWindow::openFile);
    open->setShortcut(QKeySequence::Open);
    m_recent = file->addMenu(tr("Open &Recent"));
    m_save = file->addAction(tr("&Save"), this, &DesignerWindow::save);
    m_save->setShortcut(QKeySequence::Save);
    m_saveAs = file->addAction(tr("Save &As..."), this, &DesignerWindow::saveFileAs);
    // The desktop's own Save As key where it has one; X11 desktops have none.
    m_saveAs->setShortcuts(QKeySequence::keyBindings(QKeySequence::SaveAs).isEmpty()
                               ? QList<QKeySequence>{QKeySequence(tr("Ctrl+Shift+S"))}
                               : QKeySequence::keyBindings(QKeySequence::SaveAs));
    file->addSeparator();
    file->addAction(tr("E&xit"), this, &QWidget::close)->setShortcut(QKeySequence(tr("Ctrl+Q")));
    for (QAction *action : {create, open, m_save})
        tools->addAction(action);
    updateRecentMenu();
}

void DesignerWindow::createEditMenu()
{
    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    QAction *undo = createHistoryAction(true);
    undo->setShortcut(QKeySequence::Undo);
    QAction *redo = createHistoryAction(false);
    redo->setShortcuts({QKeySequence(tr("Ctrl+Shift+Z")), QKeySequence(tr("Ctrl+Y"))});
    edit->addActions({undo, redo});
    edit->addSeparator();
    QAction *cut = edit->addAction(tr("Cu&t"), this, &DesignerWindow::cutSelection);
    cut->setShortcut(QKeySequence::Cut);
    QAction *copy = edit->addAction(tr("&Copy"), this, &DesignerWindow::copySelection);
    copy->setShortcut(QKeySequence::Copy);
    m_paste = edit->addAction(tr("&Paste"), this, &DesignerWindow::pasteControls);
    m_paste->setShortcut(QKeySequence::Paste);
    QAction *duplicate =
        addEdit(edit, tr("D&uplicate"), [this] { m_surface->duplicateSelection(); });
    duplicate->setShortcut(QKeySequence(tr("Ctrl+D")));
    QAction *remove = addEdit(edit, tr("&Delete"), [this] { m_surface->deleteSelection(); });
    remove->setShortcut(QKeySequence::Delete);
    edit->addSeparator();
    QAction *front =
        addEdit(edit, tr("Bring to &Front"), [this] { m_surface->bringSelectionToFront(); });
    front->setShortcut(QKeySequence(tr("Ctrl+]")));
    QAction *back =
        addEdit(edit, tr("Send to &Back"), [this] { m_surface->sendSelectionToBack(); });
    back->setShortcut(QKeySequence(tr("Ctrl+[")));
    edit->addSeparator();
    QAction *properties =
        edit->addAction(tr("P&roperties..."), this, &DesignerWindow::showPropertyPages);
    properties->setShortcut(Qt::Key_F4);
    m_selectionActions = {cut, copy, duplicate, remove, front, back, properties};
    QToolBar *tools = findChild<QToolBar *>(QStringLiteral("designTools"));
    tools->addSeparator();
    tools->addActions({undo, redo, properties, remove});
}

// A command that edits the surface, as one edit named after the command.
QAction *DesignerWindow::addEdit(QMenu *menu, const QString &text,
                                 const std::function<void()> &command)
{
    return menu->addAction(text, this, [this, text, command] {
        m_surface->edit(QString(text).remove(u'&'), command);
    });
}

// Undo or redo, named after the step it takes back or makes again.
QAction *DesignerWindow::createHistoryAction(bool undo)
{
    QUndoStack *stack = m_surface->undoStack();
    auto *action = new QAction(this);
    const auto update = [=] {
        const QString step = undo ? stack->undoText() : stack->redoText();
        const QString name = undo ? tr("&Undo") : tr("&Redo");
        action->setText(step.isEmpty() ? name : tr("%1 %2").arg(name, step));
        action->setEnabled(undo ? stack->canUndo() : stack->canRedo());
    };
    connect(stack, &QUndoStack::indexChanged, action, update);
    connect(stack, &QUndoStack::cleanChanged, action, update);
    connect(action, &QAction::triggered, m_surface,
            undo ? &DesignSurface::undo : &DesignSurface::redo);
    update();
    return action;
}

void DesignerWindow::createViewMenu()
{
    QMenu *view = menuBar()->addMenu(tr("&View"));
    QAction *grid = view->addAction(tr("&Grid"));
    grid->setCheckable(true);
    grid->setChecked(m_surface->isGridEnabled());
    grid->setShortcut(QKeySequence(tr("Ctrl+G")));
    connect(grid, &QAction::toggled, m_surface, &DesignSurface::setGridEnabled);
    QAction *objects = m_objectDock->toggleViewAction();
    objects->setText(tr("&Objects"));
    objects->setShortcut(QKeySequence(tr("Ctrl+Alt+O")));
    QAction *properties = m_gridDock->toggleViewAction();
    properties->setText(tr("&Properties"));
    properties->setShortcut(QKeySequence(tr("Ctrl+Alt+P")));
    view->addActions({objects, properties});
    view->addSeparator();
    // Tab stays within the designed window, so the panes are reached with their own key.
    QAction *pane = view->addAction(tr("&Next Pane"), this, &DesignerWindow::focusNextPane);
    pane->setShortcut(Qt::Key_F6);
}

void DesignerWindow::focusNextPane()
{
    QList<QWidget *> panes{m_surface->keyboardTarget()};
    for (QWidget *pane : {static_cast<QWidget *>(m_objects), static_cast<QWidget *>(m_grid)}) {
        if (pane->isVisible())
            panes.append(pane);
    }
    qsizetype at = -1;
    for (qsizetype i = 0; i < panes.size(); ++i) {
        if (panes.at(i)->hasFocus())
            at = i;
    }
    panes.at((at + 1) % panes.size())->setFocus(Qt::ShortcutFocusReason);
}

void DesignerWindow::createInsertMenu()
{
    QMenu *insert = menuBar()->addMenu(tr("&Insert"));
    const auto inserting = [this](const QString &className) {
        return [this, className] {
            m_surface->edit(tr("Insert %1").arg(className.section(u'.', -1)),
                            [this, className] { m_surface->insertControl(className); });
        };
    };
    QAction *button =
        insert->addAction(tr("&LumoButton"), this, inserting(QStringLiteral("Mirvale.LumoButton")));
    button->setShortcut(QKeySequence(tr("Ctrl+Alt+B")));
    QAction *border =
        insert->addAction(tr("&Border"), this, inserting(QStringLiteral("Mirvale.Border")));
    border->setShortcut(QKeySequence(tr("Ctrl+Alt+S")));
    QToolBar *tools = findChild<QToolBar *>(QStringLiteral("designTools"));
    tools->addSeparator();
    tools->addActions({button, border});
}

void DesignerWindow::updateRecentMenu()
{
    m_recent->clear();
    const QStringList files = recentFiles();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = files.at(i);
        m_recent
            ->addAction(tr("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()), this,
                        [this, path] {
                            if (maybeSave())
                                open(path);
                        })
            ->setToolTip(path);
    }
    m_recent->setEnabled(!files.isEmpty());
}

void DesignerWindow::updateActions()
{
    const bool selected = !m_surface->selection().isEmpty();
    m_save->setEnabled(m_surface->form() != nullptr);
    m_saveAs->setEnabled(m_surface->form() != nullptr);
    for (QAction *action : std::as_const(m_selectionActions))
        action->setEnabled(selected);
}
