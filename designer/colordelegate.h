#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

// Edits the colour cells of a view (those whose `colorRole` data is true) with an editable list of
// colour names that takes a typed value too; other cells get the usual editor.
class ColorDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    ColorDelegate(int colorRole, const QStringList &names, QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

private:
    int m_colorRole;
    QStringList m_names;
};
