#include "app/ValueListView.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>

namespace {

/// A scroll bar that repaints only when its picture changes. One more row in
/// a long list changes the range but moves the slider by less than a pixel;
/// repainting the bar for that cost more than everything else an entry does.
class SteadyScrollBar : public QScrollBar
{
public:
    using QScrollBar::QScrollBar;

protected:
    void sliderChange(SliderChange change) override
    {
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect slider =
            style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
        const bool atStart = value() == minimum();
        const bool atEnd = value() == maximum();
        const bool unchanged = change != SliderOrientationChange && slider == m_slider
                               && atStart == m_atStart && atEnd == m_atEnd;
        m_slider = slider;
        m_atStart = atStart;
        m_atEnd = atEnd;
        if (!unchanged)
            QScrollBar::sliderChange(change);
    }

private:
    QRect m_slider;
    bool m_atStart = true;
    bool m_atEnd = true;
};

} // namespace

ValueListView::ValueListView(QWidget *parent) : QListView(parent)
{
    setUniformItemSizes(true);
    setVerticalScrollBar(new SteadyScrollBar(Qt::Vertical, this));
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int ValueListView::rowCount() const
{
    return model() ? model()->rowCount(rootIndex()) : 0;
}

int ValueListView::rowHeight() const
{
    if (m_rowHeight == 0) {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.text = QStringLiteral("0");
        option.features |= QStyleOptionViewItem::HasDisplay;
        const int fromDelegate =
            model() && rowCount() > 0
                ? itemDelegate()->sizeHint(option, model()->index(0, 0, rootIndex())).height()
                : 0;
        m_rowHeight = std::max({fromDelegate, fontMetrics().height(), 1});
    }
    return m_rowHeight;
}

void ValueListView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_rowHeight = 0;
    QListView::changeEvent(event);
}

QRect ValueListView::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.parent() != rootIndex())
        return {};
    return {0, index.row() * rowHeight() - verticalOffset(), viewport()->width(), rowHeight()};
}

QModelIndex ValueListView::indexAt(const QPoint &point) const
{
    if (point.x() < 0 || point.x() >= viewport()->width() || point.y() < 0)
        return {};
    const int row = (point.y() + verticalOffset()) / rowHeight();
    return row < rowCount() ? model()->index(row, 0, rootIndex()) : QModelIndex();
}

void ValueListView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid())
        return;
    const int top = index.row() * rowHeight();
    const int page = viewport()->height();
    const int offset = verticalOffset();
    int value = offset;
    switch (hint) {
    case PositionAtTop:
        value = top;
        break;
    case PositionAtBottom:
        value = top + rowHeight() - page;
        break;
    case PositionAtCenter:
        value = top - (page - rowHeight()) / 2;
        break;
    case EnsureVisible:
        if (top < offset)
            value = top;
        else if (top + rowHeight() > offset + page)
            value = top + rowHeight() - page;
        break;
    }
    verticalScrollBar()->setValue(value);
}

void ValueListView::doItemsLayout()
{
    // Nothing to lay out: rows stand where their number puts them.
    QAbstractItemView::doItemsLayout();
}

void ValueListView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    // QListView would lay every row out again and repaint them all; only
    // the new rows and those below them move.
    QAbstractItemView::rowsInserted(parent, start, end);
    if (parent != rootIndex())
        return;
    updateGeometries();
    updateFromRow(start);
}

void ValueListView::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
    if (parent == rootIndex())
        updateFromRow(start); // the scroll range follows once the rows are gone
}

void ValueListView::setModel(QAbstractItemModel *model)
{
    QListView::setModel(model);
    if (model)
        connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { updateGeometries(); });
}

void ValueListView::updateFromRow(int row)
{
    const int top = row * rowHeight() - verticalOffset();
    if (top < viewport()->height())
        viewport()->update(0, std::max(top, 0), viewport()->width(), viewport()->height());
}

void ValueListView::updateGeometries()
{
    const int page = viewport()->height();
    verticalScrollBar()->setSingleStep(rowHeight());
    verticalScrollBar()->setPageStep(page);
    verticalScrollBar()->setRange(0, std::max(0, rowCount() * rowHeight() - page));
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
}

void ValueListView::scrollContentsBy(int /*dx*/, int dy)
{
    // QListView's own scrolling moves the picture by the distance between
    // the positions of its row layout, and does nothing at all while that
    // layout is empty, as it always is here: the rows painted before the
    // scroll stayed on screen. Here a row's place is its number times the
    // row height, so the picture moves by exactly the scroll bar's change,
    // and only the rows uncovered are painted anew.
    viewport()->scroll(0, dy);
}

void ValueListView::paintEvent(QPaintEvent *event)
{
    const int count = rowCount();
    if (count == 0)
        return;
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QRect area = event->rect();
    const int first = std::max(0, (area.top() + verticalOffset()) / rowHeight());
    const int last = std::min(count - 1, (area.bottom() + verticalOffset()) / rowHeight());
    const QModelIndex current = currentIndex();
    const bool focused = hasFocus();
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model()->index(row, 0, rootIndex());
        option.rect = visualRect(index);
        option.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus
                          | QStyle::State_MouseOver);
        if (selectionModel() && selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (focused && index == current)
            option.state |= QStyle::State_HasFocus;
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

QModelIndex ValueListView::moveCursor(CursorAction cursorAction,
                                      Qt::KeyboardModifiers /*modifiers*/)
{
    const int count = rowCount();
    if (count == 0)
        return {};
    const int rowsPerPage = std::max(1, viewport()->height() / rowHeight());
    const QModelIndex current = currentIndex();
    int row = current.isValid() ? current.row() : -1;
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious:
        row = row < 0 ? 0 : row - 1;
        break;
    case MoveDown:
    case MoveNext:
        row = row + 1;
        break;
    case MovePageUp:
        row = row - rowsPerPage;
        break;
    case MovePageDown:
        row = row < 0 ? rowsPerPage - 1 : row + rowsPerPage;
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = count - 1;
        break;
    case MoveLeft:
    case MoveRight:
        row = std::max(row, 0);
        break;
    }
    return model()->index(std::clamp(row, 0, count - 1), 0, rootIndex());
}

void ValueListView::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command)
{
    const QRect normal = rect.normalized();
    const int count = rowCount();
    const int first = std::max(0, (normal.top() + verticalOffset()) / rowHeight());
    const int last = std::min(count - 1, (normal.bottom() + verticalOffset()) / rowHeight());
    QItemSelection selection;
    if (count > 0 && first <= last)
        selection.select(model()->index(first, 0, rootIndex()),
                         model()->index(last, 0, rootIndex()));
    selectionModel()->select(selection, command);
}

QRegion ValueListView::visualRegionForSelection(const QItemSelection &selection) const
{
    QRegion region;
    for (const QItemSelectionRange &range : selection) {
        if (range.parent() != rootIndex())
            continue;
        const QRect top = visualRect(model()->index(range.top(), 0, rootIndex()));
        const QRect bottom = visualRect(model()->index(range.bottom(), 0, rootIndex()));
        region += top.united(bottom).intersected(viewport()->rect());
    }
    return region;
}

int ValueListView::horizontalOffset() const
{
    return 0;
}

int ValueListView::verticalOffset() const
{
    return verticalScrollBar()->value();
}

bool ValueListView::isIndexHidden(const QModelIndex & /*index*/) const
{
    return false;
}
