#pragma once
// Draws a list cell as its column says: the indent from the edge it is
// justified to, underlined text, and a border line on the right.
#include <QStyledItemDelegate>

#include <functional>

namespace cx
{

class PageModel;

class ColumnDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // unitsToPixels turns the format's window units into pixels.
    ColumnDelegate(const PageModel &model, std::function<int(int)> unitsToPixels,
                   QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    const PageModel &m_model;
    std::function<int(int)> m_unitsToPixels;
};

} // namespace cx
