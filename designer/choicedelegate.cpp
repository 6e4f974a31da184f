#include "choicedelegate.h"

#include <QComboBox>

ChoiceDelegate::ChoiceDelegate(int choicesRole, QObject *parent)
    : QStyledItemDelegate(parent), m_choicesRole(choicesRole)
{}

QWidget *ChoiceDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                      const QModelIndex &index) const
{
    const QStringList choices = index.data(m_choicesRole).toStringList();
    if (choices.isEmpty())
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto *box = new QComboBox(parent);
    box->setEditable(true);
    box->addItems(choices);
    return box;
}

void ChoiceDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *box = qobject_cast<QComboBox *>(editor))
        box->setCurrentText(index.data().toString());
    else
        QStyledItemDelegate::setEditorData(editor, index);
}

void ChoiceDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                  const QModelIndex &index) const
{
    if (auto *box = qobject_cast<QComboBox *>(editor))
        model->setData(index, box->currentText());
    else
        QStyledItemDelegate::setModelData(editor, model, index);
}
