#include "colordelegate.h"

#include <QComboBox>

ColorDelegate::ColorDelegate(int colorRole, const QStringList &names, QObject *parent)
    : QStyledItemDelegate(parent), m_colorRole(colorRole), m_names(names)
{}

QWidget *ColorDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const
{
    if (!index.data(m_colorRole).toBool())
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto *box = new QComboBox(parent);
    box->setEditable(true);
    box->addItems(m_names);
    return box;
}

void ColorDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *box = qobject_cast<QComboBox *>(editor))
        box->setCurrentText(index.data().toString());
    else
        QStyledItemDelegate::setEditorData(editor, index);
}

void ColorDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                 const QModelIndex &index) const
{
    if (auto *box = qobject_cast<QComboBox *>(editor))
        model->setData(index, box->currentText());
    else
        QStyledItemDelegate::setModelData(editor, model, index);
}
