#include "doc/ValueListModel.h"

#include <iterator>
#include <utility>

int ValueListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QModelIndex ValueListModel::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || column != 0 || row < 0 || row >= count())
        return {};
    return createIndex(row, 0);
}

QVariant ValueListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole:
        return text(index.row());
    default:
        return {};
    }
}

Qt::ItemFlags ValueListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemNeverHasChildren;
}

QString ValueListModel::text(int row) const
{
    return QString::fromStdString(m_items[static_cast<std::size_t>(row)]);
}

void ValueListModel::append(std::vector<std::string> items)
{
    insert(count(), std::move(items));
}

void ValueListModel::insert(int row, std::vector<std::string> items)
{
    if (items.empty())
        return;
    beginInsertRows(QModelIndex(), row, row + static_cast<int>(items.size()) - 1);
    if (m_items.empty())
        m_items = std::move(items);
    else
        m_items.insert(m_items.begin() + row, std::make_move_iterator(items.begin()),
                       std::make_move_iterator(items.end()));
    endInsertRows();
}

void ValueListModel::append(std::string item)
{
    insert(count(), std::move(item));
}

void ValueListModel::insert(int row, std::string item)
{
    beginInsertRows(QModelIndex(), row, row);
    m_items.insert(m_items.begin() + row, std::move(item));
    endInsertRows();
}

std::string ValueListModel::replace(int row, std::string item)
{
    std::swap(m_items[static_cast<std::size_t>(row)], item);
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed);
    return item;
}

std::string ValueListModel::take(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
    std::string item = std::move(m_items[static_cast<std::size_t>(row)]);
    m_items.erase(m_items.begin() + row);
    endRemoveRows();
    return item;
}

std::vector<std::string> ValueListModel::take(int row, int count)
{
    if (row == 0 && count == this->count())
        return takeAll();
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    const auto first = m_items.begin() + row;
    std::vector<std::string> items(std::make_move_iterator(first),
                                   std::make_move_iterator(first + count));
    m_items.erase(first, first + count);
    endRemoveRows();
    return items;
}

std::vector<std::string> ValueListModel::takeAll()
{
    beginResetModel();
    std::vector<std::string> items = std::move(m_items);
    m_items = {};
    endResetModel();
    return items;
}

void ValueListModel::clear()
{
    beginResetModel();
    m_items.clear();
    m_items.shrink_to_fit();
    endResetModel();
}
