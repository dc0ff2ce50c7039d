#pragma once

#include <QListView>

/// The value list's view: a QListView that lays out its rows by arithmetic.
///
/// Every value is one line in one font, so row r simply stands at r times
/// the row height. QListView itself keeps a position for every row and
/// works them all out again after each insertion, which made one entry into
/// a full list cost fourteen times an entry into an empty one; here an
/// entry, a removal and a repaint cost the same at any length, and an entry
/// or a removal repaints only the rows it moved, not the whole list. Everything
/// that asks where a row is (painting, hit tests, scrolling, keyboard moves,
/// rubber-band selection) is answered here, so QListView's own layout is
/// never built. Being a QListView still, it keeps Qt's list accessibility:
/// a screen reader reads each row's text from the model.
class ValueListView : public QListView
{
    Q_OBJECT

public:
    explicit ValueListView(QWidget *parent = nullptr);

    QRect visualRect(const QModelIndex &index) const override;
    QModelIndex indexAt(const QPoint &point) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    void doItemsLayout() override;
    void setModel(QAbstractItemModel *model) override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex &index) const override;
    void changeEvent(QEvent *event) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;

private:
    int rowCount() const;
    /// The height of every row, from the delegate and the font.
    int rowHeight() const;
    /// Repaints the rows from `row` to the bottom of the viewport.
    void updateFromRow(int row);

    mutable int m_rowHeight = 0; // 0 until measured
};
