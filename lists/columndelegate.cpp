#include "lists/columndelegate.h"

#include "lists/pagemodel.h"

#include <QPainter>

namespace cx
{

ColumnDelegate::ColumnDelegate(const PageModel &model, std::function<int(int)> unitsToPixels,
                               QObject *parent)
    : QStyledItemDelegate(parent), m_model(model), m_unitsToPixels(std::move(unitsToPixels))
{
}

void ColumnDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                           const QModelIndex &index) const
{
    if (index.column() >= m_model.format().size()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const ListColumn &c = m_model.format().at(index.column());
    QStyleOptionViewItem o = option;
    const int indent = c.indent > 0 ? m_unitsToPixels(c.indent) : 0;
    if (c.justification == Justification::Right || c.justification == Justification::Decimal)
        o.rect.adjust(0, 0, -indent, 0);
    else if (c.justification == Justification::Left)
        o.rect.adjust(indent, 0, 0, 0);
    if (c.isUnderlined())
        o.font.setUnderline(true);
    // The selection fills the whole cell, the text keeps its indent.
    if (indent > 0 && (option.state & QStyle::State_Selected))
        painter->fillRect(option.rect, option.palette.highlight());
    QStyledItemDelegate::paint(painter, o, index);
    if (c.hasRightBorder()) {
        painter->save();
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->restore();
    }
}

} // namespace cx
