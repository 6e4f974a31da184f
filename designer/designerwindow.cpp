#include "designerwindow.h"

#include "designsurface.h"
#include "form.h"
#include "formdefinition.h"
#include "objectlist.h"
#include "propertygrid.h"
#include "propertypagehost.h"
#include "refusalbox.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QSaveFile>
#include <QScrollArea>
#include <QSettings>
#include <QUndoStack>

namespace {

const QString ControlsMimeType = QStringLiteral("application/x-mirvale-controls");
const QString RecentFilesKey = QStringLiteral("recentFiles");
constexpr int MaxRecentFiles = 5;

QSettings designerSettings()
{
    return QSettings(QStringLiteral("Mirvale"), QStringLiteral("Mirvale Designer"));
}

} // namespace

DesignerWindow::DesignerWindow(QWidget *parent)
    : QMainWindow(parent), m_surface(new DesignSurface(this))
{
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(m_surface);
    scroll->setWidgetResizable(true);
    scroll->setBackgroundRole(QPalette::Dark);
    setCentralWidget(scroll);
    createDocks();
    createActions();
    connect(m_surface, &DesignSurface::modifiedChanged, this, &DesignerWindow::updateTitle);
    connect(m_surface, &DesignSurface::editRefused, this,
            [this](const QString &step, const QString &message) {
                forms::showRefusal(this, step, message);
            });
    connect(m_surface, &DesignSurface::selectionChanged, this, &DesignerWindow::updateActions);
    connect(m_surface, &DesignSurface::controlsChanged, this, &DesignerWindow::updateActions);
    updateTitle();
    updateActions();
    resize(900, 600);
}

DesignerWindow::~DesignerWindow()
{
    disconnect(m_surface, nullptr, this, nullptr);
}

void DesignerWindow::createDocks()
{
    m_objects = new ObjectList(m_surface, this);
    m_objectDock = new QDockWidget(tr("Objects"), this);
    m_objectDock->setObjectName(QStringLiteral("objectDock"));
    m_objectDock->setWidget(m_objects);
    addDockWidget(Qt::RightDockWidgetArea, m_objectDock);
    m_grid = new PropertyGrid(m_surface, this);
    m_gridDock = new QDockWidget(tr("Properties"), this);
    m_gridDock->setObjectName(QStringLiteral("propertyDock"));
    m_gridDock->setWidget(m_grid);
    addDockWidget(Qt::RightDockWidgetArea, m_gridDock);
}

bool DesignerWindow::open(const QString &path)
{
    // A FIFO or a device would block or never end: only a regular file is opened.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        fail(tr("Open"), tr("%1 is not a regular file and is not read.").arg(path));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(tr("Open"), tr("%1 cannot be opened: %2").arg(path, file.errorString()));
        return false;
    }
    // Too large a file is refused before it is read; a device that never ends stops there too.
    if (file.size() > forms::MaxDefinitionSize) {
        fail(tr("Open"), tr("%1 is larger than %2 bytes and is not read.")
                             .arg(path)
                             .arg(forms::MaxDefinitionSize));
        return false;
    }
    try {
        m_surface->load(forms::readDefinition(file.read(forms::MaxDefinitionSize + 1), path), path);
    } catch (const forms::DefinitionError &error) {
        fail(tr("Open"), tr("The window definition cannot be read.\n\n%1").arg(error.message()));
        return false;
    }
    m_path = path;
    rememberFile(path);
    updateTitle();
    updateActions();
    return true;
}

void DesignerWindow::newDefinition()
{
    forms::FormDefinition definition;
    definition.name = QStringLiteral("Form1");
    definition.settings.append(QStringLiteral("Caption"), QStringLiteral("Form1"));
    definition.settings.append(QStringLiteral("ClientWidth"), QVariant::fromValue<qint32>(4680));
    definition.settings.append(QStringLiteral("ClientHeight"), QVariant::fromValue<qint32>(3195));
    m_surface->load(definition, tr("(new window)"));
    m_path.clear();
    updateTitle();
    updateActions();
}

bool DesignerWindow::save()
{
    if (m_path.isEmpty()) {
        saveFileAs();
        return !m_path.isEmpty() && !m_surface->isModified();
    }
    return saveAs(m_path);
}

bool DesignerWindow::saveAs(const QString &path)
{
    if (!m_surface->form())
        return false;
    const QStringList outside = m_surface->controlsOutside();
    if (!outside.isEmpty() &&
        QMessageBox::warning(this, tr("Save"),
                             tr("These controls lie outside the window's client area and cannot "
                                "be seen when it runs: %1.\n\nSave all the same?")
                                 .arg(outside.join(QStringLiteral(", "))),
                             QMessageBox::Save | QMessageBox::Cancel,
                             QMessageBox::Cancel) != QMessageBox::Save)
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        fail(tr("Save"), tr("%1 cannot be written: %2").arg(path, file.errorString()));
        return false;
    }
    QByteArray bytes;
    try {
        bytes = forms::writeDefinition(m_surface->definition());
    } catch (const forms::DefinitionError &error) {
        file.cancelWriting();
        fail(tr("Save"), tr("%1 was not written: %2").arg(path, error.message()));
        return false;
    }
    // A short write (a full disk) is found here: commit() alone may not tell of it.
    if (file.write(bytes) != bytes.size() || !file.flush() || file.size() != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        fail(tr("Save"), tr("%1 cannot be written: %2\nThe file is as it was.").arg(path, why));
        return false;
    }
    if (!file.commit()) {
        fail(tr("Save"),
             tr("%1 cannot be written: %2\nThe file is as it was.").arg(path, file.errorString()));
        return false;
    }
    m_path = path;
    m_surface->undoStack()->setClean();
    m_surface->setModified(false);
    rememberFile(path);
    updateTitle();
    return true;
}

forms::PropertyPageHost *DesignerWindow::createPropertyPages()
{
    QList<QObject *> selection;
    for (QWidget *control : m_surface->selection())
        selection.append(control);
    if (forms::PropertyPageHost::commonPages(selection).isEmpty())
        return nullptr;
    auto *host = new forms::PropertyPageHost(selection, this);
    host->setAttribute(Qt::WA_DeleteOnClose);
    const QString edited = selection.size() == 1
                               ? DesignSurface::displayName(m_surface->selection().first())
                               : tr("%1 controls").arg(selection.size());
    host->setWindowTitle(tr("%1 - Property Pages").arg(edited));
    return host;
}

void DesignerWindow::showPropertyPages()
{
    const QList<QWidget *> selected = m_surface->selection();
    if (selected.isEmpty())
        return;
    forms::PropertyPageHost *host = createPropertyPages();
    if (!host) {
        QMessageBox::information(
            this, tr("Properties"),
            selected.size() == 1
                ? tr("%1 has no property pages.").arg(DesignSurface::displayName(selected.first()))
                : tr("The %1 selected controls have no property page in common.")
                      .arg(selected.size()));
        return;
    }
    // Each apply, whole or cut short by a refused value, is one step.
    m_surface->beginEdit();
    connect(host, &forms::PropertyPageHost::applied, this, [this] {
        m_surface->endEdit(tr("Properties"));
        m_surface->beginEdit();
    });
    host->exec();
    m_surface->endEdit(tr("Properties"));
}

void DesignerWindow::cutSelection()
{
    if (copySelection())
        m_surface->edit(tr("Cut"), [this] { m_surface->deleteSelection(); });
}

bool DesignerWindow::copySelection()
{
    if (m_surface->selection().isEmpty())
        return false;
    QByteArray controls;
    try {
        controls = m_surface->copySelection();
    } catch (const forms::DefinitionError &error) {
        fail(tr("Copy"), error.message());
        return false;
    }
    auto *data = new QMimeData;
    data->setData(ControlsMimeType, controls);
    QApplication::clipboard()->setMimeData(data);
    return true;
}

void DesignerWindow::pasteControls()
{
    const QMimeData *data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(ControlsMimeType))
        return;
    const QByteArray controls = data->data(ControlsMimeType);
    m_surface->edit(tr("Paste"), [&] { m_surface->paste(controls); });
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
    QFileDialog dialog(this, tr("Save Window Definition"), m_path,
                       tr("Window definitions (*.xml)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without its suffix gets it, so that the Open dialog's filter shows the file.
    dialog.setDefaultSuffix(QStringLiteral("xml"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        saveAs(dialog.selectedFiles().constFirst());
}

bool DesignerWindow::maybeSave()
{
    if (!m_surface->isModified())
        return true;
    const QString name = m_path.isEmpty() ? tr("The new window") : QFileInfo(m_path).fileName();
    const auto answer = QMessageBox::question(
        this, tr("Mirvale Designer"), tr("%1 has unsaved changes. Save them?").arg(name),
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

QStringList DesignerWindow::recentFiles() const
{
    return designerSettings().value(RecentFilesKey).toStringList();
}

void DesignerWindow::rememberFile(const QString &path)
{
    QStringList files = recentFiles();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    files.removeAll(absolute);
    files.prepend(absolute);
    while (files.size() > MaxRecentFiles)
        files.removeLast();
    designerSettings().setValue(RecentFilesKey, files);
    updateRecentMenu();
}

void DesignerWindow::updateTitle()
{
    QString name = tr("(no window)");
    if (m_surface->form())
        name = m_path.isEmpty() ? tr("Untitled") : QFileInfo(m_path).fileName();
    setWindowTitle(tr("%1[*] - Mirvale Designer").arg(name));
    setWindowModified(m_surface->isModified());
}

void DesignerWindow::fail(const QString &title, const QString &message)
{
    QMessageBox::critical(this, title, message);
}
