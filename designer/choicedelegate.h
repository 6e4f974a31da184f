#pragma once

#include <QStyledItemDelegate>

// Edits the cells of a view that offer choices (those whose `choicesRole` data is a list of
// names: the desktop's colours, an enumerated property's values) with an editable list of them
// that takes a typed value too; other cells get the usual editor.
class ChoiceDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit ChoiceDelegate(int choicesRole, QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

private:
    int m_choicesRole;
};
