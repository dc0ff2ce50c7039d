#pragma once

#include <QAbstractListModel>

#include <string>
#include <vector>

/// The value list's items as the list view shows them. The texts are held as
/// UTF-8, the form the calculation and the file code take, so a calculation
/// hands them over without converting a single item; the view asks only for
/// the rows it paints, so a long list costs no more per entry than a short one.
class ValueListModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    /// The index of a row, without the generic checks' virtual calls: the
    /// view asks for one per painted row.
    QModelIndex index(int row, int column = 0,
                      const QModelIndex &parent = QModelIndex()) const override;
    /// The item's text for display, editing roles and screen readers.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    /// Items are editable, so the view opens its editor on them; the editor's
    /// text goes to the window, never straight into the model.
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    const std::vector<std::string> &items() const { return m_items; }
    int count() const { return static_cast<int>(m_items.size()); }
    QString text(int row) const;

    /// Appends items after the last one, as one insertion.
    void append(std::vector<std::string> items);
    void append(std::string item);
    /// Puts an item back at `row` (0 to count()); the items from there move down.
    void insert(int row, std::string item);
    /// Puts items back at `row`, in their order, as one insertion.
    void insert(int row, std::vector<std::string> items);
    /// Puts `item` in the place of the item at `row` and returns the one it
    /// replaced.
    std::string replace(int row, std::string item);
    /// Takes the item at `row` out of the list and returns it.
    std::string take(int row);
    /// Takes `count` items from `row` on out of the list, as one removal.
    std::vector<std::string> take(int row, int count);
    void clear();
    /// Empties the list and hands over what it held.
    std::vector<std::string> takeAll();

private:
    std::vector<std::string> m_items;
};
