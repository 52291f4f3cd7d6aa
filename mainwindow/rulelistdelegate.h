#ifndef RULELISTDELEGATE_H
#define RULELISTDELEGATE_H

#include <QStyledItemDelegate>

// Shows an entry of the rule box's list as its name and notation, "HighLife
// (B36/S23)", from the name in its text and the notation in its user data,
// while the box itself shows the name alone: in every language the list has
// room for both, the box only for the name.
class RuleListDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};

#endif // RULELISTDELEGATE_H
