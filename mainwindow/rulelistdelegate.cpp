#include "mainwindow/rulelistdelegate.h"

#include <QCoreApplication>
#include <QModelIndex>
#include <QStyleOptionViewItem>
#include <QVariant>

void RuleListDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const QString notation = index.data(Qt::UserRole).toString();
    if (!notation.isEmpty())
        option->text = QCoreApplication::translate("MainWindow", "%1 (%2)").arg(option->text, notation);
}
