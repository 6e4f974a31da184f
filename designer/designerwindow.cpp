#include "designerwindow.h"

#include "designsurface.h"
#include "form.h"
#include "formdefinition.h"
#include "objectlist.h"
#include "propertygrid.h"
#include "propertypagehost.h"
#include "recoverycopy.h"
#include "refusalbox.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSaveFile>
#include <QScopedValueRollback>
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
    : QMainWindow(parent), m_surface(new DesignSurface(this)),
      m_recovery(new RecoveryCopy(
          [this] { return forms::writeDefinition(m_surface->definition()); }, this))
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
    connect(m_surface, &DesignSurface::modifiedChanged, this, &DesignerWindow::keepRecoveryCopy);
    connect(m_surface->undoStack(), &QUndoStack::indexChanged, this,
            &DesignerWindow::keepRecoveryCopy);
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
        const QScopedValueRollback opening(m_opening, true);
        m_surface->load(forms::readDefinition(file.read(forms::MaxDefinitionSize + 1), path), path);
    } catch (const forms::DefinitionError &error) {
        fail(tr("Open"), tr("The window definition cannot be read.\n\n%1").arg(error.message()));
        return false;
    }
    m_path = path;
    m_recovery->setFile(path);
    rememberFile(path);
    updateTitle();
    updateActions();
    if (const auto copy = RecoveryCopy::newerCopyOf(path))
        offerRecoveryOf(copy->copy, copy->file, copy->written);
    return true;
}

// Work that nobody has saved is kept in a copy; work that is saved, or back where it was saved,
// needs none.
void DesignerWindow::keepRecoveryCopy()
{
    if (m_opening)
        return;
    if (m_surface->isModified())
        m_recovery->changed();
    else
        m_recovery->remove();
}

bool DesignerWindow::offerRecovery()
{
    for (const RecoveryCopy::Found &found : RecoveryCopy::copies()) {
        const QFileInfo file(found.file);
        if (found.file == QFileInfo(m_path).absoluteFilePath() ||
            (file.exists() && file.lastModified() >= found.written))
            continue;
        if (offerRecoveryOf(found.copy, found.file, found.written))
            return true;
    }
    return false;
}

bool DesignerWindow::offerRecoveryOf(const QString &copy, const QString &file,
                                     const QDateTime &written)
{
    const QString name = file.isEmpty() ? tr("a new window") : QFileInfo(file).fileName();
    QMessageBox box(QMessageBox::Question, tr("Recover Unsaved Changes"),
                    tr("Recover unsaved changes to %1 from %2?")
                        .arg(name, QLocale().toString(written, QLocale::ShortFormat)),
                    QMessageBox::NoButton, this);
    box.setInformativeText(file.isEmpty() ? QString() : file);
    QPushButton *recoverButton = box.addButton(tr("&Recover"), QMessageBox::AcceptRole);
    QPushButton *discardButton = box.addButton(tr("&Discard"), QMessageBox::DestructiveRole);
    box.addButton(tr("&Later"), QMessageBox::RejectRole);
    box.setDefaultButton(recoverButton);
    box.exec();
    if (box.clickedButton() == discardButton) {
        RecoveryCopy::discard(copy);
        return false;
    }
    return box.clickedButton() == recoverButton && recover(copy, file);
}

// The copy opens as the file with its changes unsaved; undo starts from it.
bool DesignerWindow::recover(const QString &copy, const QString &file)
{
    if (m_surface->isModified() && file != QFileInfo(m_path).absoluteFilePath() && !maybeSave())
        return false;
    QFile bytes(copy);
    try {
        if (!bytes.open(QIODevice::ReadOnly))
            throw forms::DefinitionError(bytes.errorString());
        const QScopedValueRollback opening(m_opening, true);
        m_surface->load(forms::readDefinition(bytes.read(forms::MaxDefinitionSize + 1), copy),
                        file.isEmpty() ? tr("(new window)") : file);
    } catch (const forms::DefinitionError &error) {
        fail(tr("Recover"), tr("The unsaved changes cannot be read.\n\n%1").arg(error.message()));
        return false;
    }
    m_path = file;
    m_recovery->setFile(file);
    m_surface->markUnsaved();
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
    {
        const QScopedValueRollback opening(m_opening, true);
        m_surface->load(definition, tr("(new window)"));
    }
    m_path.clear();
    m_recovery->setFile({});
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
    m_recovery->remove();
    m_path = path;
    m_recovery->setFile(path);
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
    // Each apply, whole or cut short by a refused value, is one step.
    connect(host, &forms::PropertyPageHost::aboutToApply, m_surface, &DesignSurface::beginEdit);
    connect(host, &forms::PropertyPageHost::applied, this,
            [this] { m_surface->endEdit(tr("Properties")); });
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
    host->exec();
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
    if (answer != QMessageBox::Discard)
        return false;
    m_recovery->remove();
    return true;
}

void DesignerWindow::closeEvent(QCloseEvent *event)
{
    // Ending cleanly, the work is saved or discarded, and its copy with it; a copy put off with
    // Later stays to be offered again.
    if (maybeSave())
        event->accept();
    else
        event->ignore();
}

QStringList DesignerWindow::recentFiles() const
{
    // A settings file written elsewhere may list any number: only the ones shown are taken.
    return designerSettings().value(RecentFilesKey).toStringList().mid(0, MaxRecentFiles);
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
