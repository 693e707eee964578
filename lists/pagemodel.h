#pragma once
// The rows of a list's page as a table model: only the rows the controller
// holds, one column per column of the list format, each cell the row value
// at the column's data position shown through the column's picture.
#include "platform/ui/listformat.h"

#include <QAbstractTableModel>

namespace cx
{

class ListController;

class PageModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int RawValueRole = Qt::UserRole + 1;

    PageModel(const ListController &controller, QObject *parent = nullptr);

    // The columns, in their designed (logical) order.
    void setFormat(const ListFormat &format);
    const ListFormat &format() const { return m_format; }
    // The page was read again: every row may have changed.
    void pageChanged();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    static Qt::Alignment alignment(Justification j);

private:
    const ListController &m_controller;
    ListFormat m_format;
};

} // namespace cx
