#include "lists/pagemodel.h"

#include "lists/listcontroller.h"
#include "store/picture.h"

namespace cx
{

PageModel::PageModel(const ListController &controller, QObject *parent)
    : QAbstractTableModel(parent), m_controller(controller)
{
}

void PageModel::setFormat(const ListFormat &format)
{
    beginResetModel();
    m_format = format;
    endResetModel();
}

void PageModel::pageChanged()
{
    beginResetModel();
    endResetModel();
}

int PageModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_controller.rows().size());
}

int PageModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_format.size());
}

Qt::Alignment PageModel::alignment(Justification j)
{
    switch (j) {
    case Justification::Left:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case Justification::Centre:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case Justification::Right:
    case Justification::Decimal: // numbers of one picture have their decimals in line when
                                 // right-aligned
        return Qt::AlignRight | Qt::AlignVCenter;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QVariant PageModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_controller.rows().size() ||
        index.column() >= m_format.size())
        return {};
    const ListColumn &c = m_format.at(index.column());
    const QVariantList &values = m_controller.rows().at(index.row()).values;
    const QVariant value = values.value(c.dataPosition - 1);
    switch (role) {
    case Qt::DisplayRole: {
        // A string picture pads to its width; in a cell the padding would only
        // push right-justified text away from its edge.
        QString text = c.hasPicture ? cx::format(value, c.picture) : value.toString();
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        return text;
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignment(c.justification));
    case RawValueRole:
        return value;
    default:
        return {};
    }
}

QVariant PageModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_format.size())
        return {};
    const ListColumn &c = m_format.at(section);
    if (role == Qt::DisplayRole)
        return c.header;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignment(c.headerAlignment()));
    return {};
}

Qt::ItemFlags PageModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace cx
