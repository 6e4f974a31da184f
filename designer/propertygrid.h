#pragma once

#include <QPointer>
#include <QTableWidget>

class DesignSurface;

// The properties of the first selected control, or of the designed window when nothing is
// selected, as name and value rows: the control's name, index, place, size and tab index, then
// every stored property its class declares (text, numbers, enumerations by number and name,
// Booleans, colours with the desktop's colours by name, fonts, pictures); for the window its
// caption and client size. A value is written by name, as the property pages write, as one edit of
// the surface: a bad one is refused, saying what the property takes, and nothing else changes.
class PropertyGrid : public QTableWidget
{
    Q_OBJECT

public:
    explicit PropertyGrid(DesignSurface *surface, QWidget *parent = nullptr);

    // The rows as they stand: property names and the values as shown.
    QStringList propertyNames() const;
    QString valueText(const QString &name) const;

    // Writes a value to the shown control (or window) by name; on refusal says why and returns
    // false.
    bool setValue(const QString &name, const QVariant &value);

    // Rebuilds the rows from the current selection.
    void refresh();

private:
    enum class Kind { Text, Boolean, Color, Font, Picture };

    void addRow(const QString &name, const QVariant &value, Kind kind,
                const QStringList &choices = {});
    void addControlRows(QWidget *control);
    void addWindowRows();
    void commitItem(QTableWidgetItem *item);
    void chooseValue(QTableWidgetItem *item);
    void scheduleRefresh();
    void write(const QString &name, const QVariant &value);
    void writeValue(QWidget *control, const QString &name, const QVariant &value);
    void writeWindowSetting(const QString &name, const QVariant &value);
    void writeControlEntry(QWidget *control, const QString &name, const QVariant &value);
    void writeStockSetting(QWidget *control, const QString &name, const QVariant &value);
    Kind kindOfRow(int row) const;

    DesignSurface *m_surface;
    QPointer<QWidget> m_subject;
    bool m_filling = false;
    bool m_refreshPending = false;
};
