#pragma once

#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QObject>

// LumoButton in Qt Designer's widget box. A new button carries the values a newly placed button
// takes, written into the form so that uic builds the same button.
class LumoButtonPlugin : public QObject, public QDesignerCustomWidgetInterface
{
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    explicit LumoButtonPlugin(QObject *parent = nullptr);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override;
    QString domXml() const override;
    QWidget *createWidget(QWidget *parent) override;
    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface *core) override;

private:
    bool m_initialized = false;
};
