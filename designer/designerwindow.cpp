#include "designerwindow.h"

#include "designsurface.h"
#include "formdefinition.h"
#include "propertypage.h"
#include "propertypagehost.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QSaveFile>
#include <QScrollArea>
#include <QToolBar>

DesignerWindow::DesignerWindow(QWidget *parent)
    : QMainWindow(parent), m_surface(new DesignSurface(this))
{
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(m_surface);
    scroll->setWidgetResizable(true);
    scroll->setBackgroundRole(QPalette::Dark);
    setCentralWidget(scroll);
    createActions();
    connect(m_surface, &DesignSurface::modifiedChanged, this, &DesignerWindow::updateTitle);
    connect(m_surface, &DesignSurface::selectionChanged, this, &DesignerWindow::updateActions);
    updateTitle();
    updateActions();
    resize(640, 520);
}

DesignerWindow::~DesignerWindow()
{
    disconnect(m_surface, nullptr, this, nullptr);
}

void DesignerWindow::createActions()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    QToolBar *tools = addToolBar(tr("Design"));
    tools->setObjectName(QStringLiteral("designTools"));
    QAction *open = file->addAction(tr("&Open..."), this, &DesignerWindow::openFile);
    open->setShortcut(QKeySequence::Open);
    m_save = file->addAction(tr("&Save"), this, &DesignerWindow::save);
    m_save->setShortcut(QKeySequence::Save);
    QAction *saveAs = file->addAction(tr("Save &As..."), this, &DesignerWindow::saveFileAs);
    saveAs->setShortcut(QKeySequence::SaveAs);
    file->addSeparator();
    file->addAction(tr("E&xit"), this, &QWidget::close)->setShortcut(QKeySequence::Quit);

    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    m_properties = edit->addAction(tr("&Properties..."), this, &DesignerWindow::showPropertyPages);
    m_properties->setShortcut(Qt::Key_F4);
    m_delete = edit->addAction(tr("&Delete"), m_surface, &DesignSurface::deleteSelection);

    QMenu *insert = menuBar()->addMenu(tr("&Insert"));
    QAction *button = insert->addAction(tr("&LumoButton"), this, [this] {
        m_surface->insertControl(QStringLiteral("Mirvale.LumoButton"));
    });
    QAction *border = insert->addAction(tr("&Border"), this, [this] {
        m_surface->insertControl(QStringLiteral("Mirvale.Border"));
    });
    for (QAction *action : {open, m_save, m_properties, m_delete, button, border})
        tools->addAction(action);
}

bool DesignerWindow::open(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(tr("Open"), tr("%1 cannot be opened: %2").arg(path, file.errorString()));
        return false;
    }
    try {
        m_surface->load(forms::readDefinition(file.readAll(), path), path);
    } catch (const forms::DefinitionError &error) {
        fail(tr("Open"), tr("The window definition cannot be read.\n\n%1").arg(error.message()));
        return false;
    }
    m_path = path;
    updateTitle();
    updateActions();
    return true;
}

bool DesignerWindow::save()
{
    return m_path.isEmpty() ? false : saveAs(m_path);
}

bool DesignerWindow::saveAs(const QString &path)
{
    if (!m_surface->form())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        fail(tr("Save"), tr("%1 cannot be written: %2").arg(path, file.errorString()));
        return false;
    }
    try {
        file.write(forms::writeDefinition(m_surface->definition()));
    } catch (const forms::DefinitionError &error) {
        file.cancelWriting();
        fail(tr("Save"), tr("%1 was not written: %2").arg(path, error.message()));
        return false;
    }
    if (!file.commit()) {
        fail(tr("Save"),
             tr("%1 cannot be written: %2\nThe file is as it was.").arg(path, file.errorString()));
        return false;
    }
    m_path = path;
    m_surface->setModified(false);
    updateTitle();
    return true;
}

forms::PropertyPageHost *DesignerWindow::createPropertyPages()
{
    QList<QObject *> selection;
    for (QWidget *control : m_surface->selection())
        selection.append(control);
    if (selection.isEmpty() || forms::propertyPagesOf(selection.first()).isEmpty())
        return nullptr;
    auto *host = new forms::PropertyPageHost(selection, this);
    host->setAttribute(Qt::WA_DeleteOnClose);
    return host;
}

void DesignerWindow::showPropertyPages()
{
    if (forms::PropertyPageHost *host = createPropertyPages())
        host->exec();
}

void DesignerWindow::openFile()
{
    if (!maybeSave())
        return;
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Open Window Definition"), QFileInfo(m_path).absolutePath(),
        tr("Window definitions (*.xml);;All files (*)"));
    if (!path.isEmpty())
        open(path);
}

void DesignerWindow::saveFileAs()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Save Window Definition"), m_path,
                                                      tr("Window definitions (*.xml)"));
    if (!path.isEmpty())
        saveAs(path);
}

bool DesignerWindow::maybeSave()
{
    if (!m_surface->isModified())
        return true;
    const auto answer = QMessageBox::question(
        this, tr("Mirvale Designer"),
        tr("%1 has unsaved changes. Save them?").arg(QFileInfo(m_path).fileName()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Save)
        return save();
    return answer == QMessageBox::Discard;
}

void DesignerWindow::closeEvent(QCloseEvent *event)
{
    if (maybeSave())
        event->accept();
    else
        event->ignore();
}

void DesignerWindow::updateTitle()
{
    const QString name = m_path.isEmpty() ? tr("(no window)") : QFileInfo(m_path).fileName();
    setWindowTitle(tr("%1[*] - Mirvale Designer").arg(name));
    setWindowModified(m_surface->isModified());
}

void DesignerWindow::updateActions()
{
    const QList<QWidget *> selection = m_surface->selection();
    m_save->setEnabled(m_surface->form() != nullptr);
    m_delete->setEnabled(!selection.isEmpty());
    m_properties->setEnabled(!selection.isEmpty() &&
                             !forms::propertyPagesOf(selection.first()).isEmpty());
}

void DesignerWindow::fail(const QString &title, const QString &message)
{
    QMessageBox::critical(this, title, message);
}
