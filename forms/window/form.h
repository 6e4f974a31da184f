#pragma once

#include "formdefinition.h"
#include "stdpicture.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <optional>

class QAction;

namespace forms {

// The size of the whole screen, in twips.
float ScreenWidth();
float ScreenHeight();

// A window built from its stored definition: menus and controls are created in the stored order,
// each user control loading its stored set. The window is placed and sized in twips by its outer
// size (frame included); its client area below the menu bar has the scale (0, 0, ScaleWidth,
// ScaleHeight).
class Form : public QMainWindow
{
    Q_OBJECT

public:
    explicit Form(QWidget *parent = nullptr);
    ~Form() override;

    // Creates the menus and controls of a definition. Throws DefinitionError, naming `source`,
    // the control and the entry, when a control cannot be created or loaded.
    void LoadDefinition(const FormDefinition &definition, const QString &source);
    // The window as it now stands: every control's place, settings and stored set.
    FormDefinition SaveDefinition() const;

    // Loads the window (Form_Load runs once, before it first shows) and shows it.
    void Show();
    bool isLoaded() const { return m_loaded; }
    // The loaded windows, and unloading one: it closes and must be loaded again to show.
    static QList<Form *> Forms();
    static void Unload(Form *form);

    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    void setWidth(float width);
    void setHeight(float height);
    void Move(float left, std::optional<float> top = std::nullopt,
              std::optional<float> width = std::nullopt,
              std::optional<float> height = std::nullopt);

    // The smallest outer size, frame included, in twips. The window opens at least this large
    // and keeps it once a window manager has framed it.
    void setMinimumOuterSize(float width, float height);

    float ScaleLeft() const { return 0; }
    float ScaleTop() const { return 0; }
    float ScaleWidth() const;
    float ScaleHeight() const;

    // 0 normal, 1 minimised, 2 maximised.
    int WindowState() const;

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString &caption) { setWindowTitle(caption); }

    // A control by name (and index, for an element of a control array), or nullptr.
    QWidget *control(const QString &name, int index = -1) const;
    template <typename T> T *control(const QString &name, int index = -1) const
    {
        return qobject_cast<T *>(control(name, index));
    }
    QList<QWidget *> controls() const;
    QAction *menuItem(const QString &name) const;

    // The client area the controls live in.
    QWidget *clientArea() const { return m_client; }

    // Places a control created after loading (as a designer does) among the window's controls.
    void addControl(QWidget *control, const QString &name, int index, int tabIndex);
    void removeControl(QWidget *control);
    // Makes the `count` controls from `first` on (in window order) what the definitions store,
    // in that order and in their place in the stacking and tab order: a control stored alike but
    // for its place and tab index keeps its widget and moves; the others are built anew and the
    // rest go. Throws DefinitionError as LoadDefinition does, and then nothing changes.
    void replaceControls(qsizetype first, qsizetype count,
                         const QList<ControlDefinition> &definitions, const QString &source);

protected:
    virtual void Form_Load() {}
    virtual void Form_Resize() {}
    // The window manager has framed the window, so its outer size is now known (X11 frames a
    // window only after it is shown).
    virtual void frameSizeChanged() {}

    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Load();
    void createMenus(const QList<MenuDefinition> &menus);
    QWidget *createControl(const ControlDefinition &definition, const QString &source,
                           QObject *hideWatch = nullptr);
    void requireBuiltReadable(const FormDefinition &definition, const QString &source) const;
    ControlDefinition savedControl(const QWidget *widget) const;
    QList<QWidget *> builtControls(const QList<ControlDefinition> &definitions,
                                   const QList<QWidget *> &reusable, const QString &source);
    void stackInOrder(qsizetype first, qsizetype count);
    void applyTabOrder();
    QSize frameExtra() const;
    void sizeForFirstShow();
    void applyMinimumOuterSize();
    void frameChanged();
    void applyIcon();

    FormDefinition m_definition;
    QWidget *m_client;
    QList<QPointer<QWidget>> m_controls;
    bool m_loaded = false;
    // A window starts without a frame; a window manager adds one after it shows.
    QSize m_knownFrameExtra{0, 0};
    // The client area the definition stores, in pixels (empty when it stores none), the smallest
    // outer size in twips, and the size the window was given for its first show: while it still
    // has that size, a frame that arrives sizes it again.
    QSize m_storedClient;
    float m_minimumOuterWidth = 0;
    float m_minimumOuterHeight = 0;
    QSize m_firstShowSize;
    // The stored icon, until the window has painted for the first time.
    StdPicture m_pendingIcon;
};

} // namespace forms
