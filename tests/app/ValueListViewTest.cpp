// The value list as the user sees it: what the view painted into the
// window's backing store must be what a fresh rendering of its rows shows,
// after every way the list scrolls or changes. QWidget::grab() paints anew
// and so cannot show stale rows; the offscreen screen's grabWindow returns
// the backing store, which holds only what was really painted.

#include "ListEditFixture.h"
#include "app/VorlaNames.h"
#include "RowName.h"
#include "VorlaWindowTest.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

using namespace vorla_names;

namespace {

class ValueListViewTest : public VorlaWindowTest
{
public: // the cases' steps drive the window through these
    using VorlaWindowTest::action;
    using VorlaWindowTest::box;
    using VorlaWindowTest::enter;
    using VorlaWindowTest::values;

    /// The values 1 to `count`, as a file of them would fill the list.
    void fillOneTo(int count) const
    {
        QStringList texts;
        for (int i = 1; i <= count; ++i)
            texts << QString::number(i);
        addItems(texts);
    }

    /// Lets the view paint whatever its changes asked for.
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    /// The viewport as the window's backing store holds it.
    QImage paintedViewport() const
    {
        QWidget *viewport = list()->viewport();
        const QPoint at = viewport->mapTo(m_window.get(), QPoint(0, 0));
        return m_window->screen()
            ->grabWindow(m_window->winId(), at.x(), at.y(), viewport->width(), viewport->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    /// The viewport painted anew, every row from the model.
    QImage renderedViewport() const
    {
        return list()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    void clickRow(int row) const
    {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualRect(values()->index(row)).center());
    }

    /// The row under the middle of the viewport.
    int middleRow() const
    {
        return list()->indexAt(list()->viewport()->rect().center()).row();
    }
};

/// Scrolls down and opens the list's editor on the row in the middle; types
/// `typed` and accepts it, or with nothing to type cancels with Escape.
void editTheMiddleRow(ValueListViewTest &t, QListView *view, ListOpening opening,
                      const QString &typed)
{
    view->verticalScrollBar()->setValue(1000);
    ValueListViewTest::settle();
    EntryBox *editor = openListEditor(view, opening, t.middleRow());
    ASSERT_NE(editor, nullptr);
    ValueListViewTest::settle();
    if (typed.isEmpty()) {
        QTest::keyClick(editor, Qt::Key_Escape);
        return;
    }
    QTest::keyClicks(editor, typed);
    acceptListEdit(editor);
}

struct ScrollCase
{
    const char *name;
    std::function<void(ValueListViewTest &, QListView *)> act;
    /// Whether the first row must have left the view: the act scrolled.
    bool scrolls;
};

void PrintTo(const ScrollCase &c, std::ostream *out)
{
    *out << c.name;
}

class ValueListViewPaintTest : public ValueListViewTest,
                               public ::testing::WithParamInterface<ScrollCase>
{
};

TEST_P(ValueListViewPaintTest, PaintsExactlyTheRowsItHolds)
{
    fillOneTo(500);
    settle();
    ASSERT_EQ(paintedViewport(), renderedViewport()) << "before any scrolling";
    GetParam().act(*this, list());
    settle();
    if (GetParam().scrolls) {
        EXPECT_GT(list()->verticalScrollBar()->value(), 0);
    }
    const QImage painted = paintedViewport();
    const QImage rendered = renderedViewport();
    ASSERT_EQ(painted.size(), rendered.size());
    EXPECT_TRUE(painted == rendered) << "the view shows rows it no longer holds there";
}

const ScrollCase kScrollCases[] = {
    {"End",
     [](ValueListViewTest &t, QListView *view) {
         t.clickRow(0);
         ValueListViewTest::settle(); // the click's focus repaints the whole view
         QTest::keyClick(view, Qt::Key_End);
     },
     true},
    {"HomeAfterEnd",
     [](ValueListViewTest &t, QListView *view) {
         t.clickRow(0);
         ValueListViewTest::settle(); // the click's focus repaints the whole view
         QTest::keyClick(view, Qt::Key_End);
         ValueListViewTest::settle();
         QTest::keyClick(view, Qt::Key_Home);
     },
     false},
    {"PageDown",
     [](ValueListViewTest &t, QListView *view) {
         t.clickRow(0);
         ValueListViewTest::settle(); // the click's focus repaints the whole view
         QTest::keyClick(view, Qt::Key_PageDown);
         QTest::keyClick(view, Qt::Key_PageDown);
     },
     true},
    {"ArrowsPastTheBottom",
     [](ValueListViewTest &t, QListView *view) {
         t.clickRow(0);
         ValueListViewTest::settle(); // the click's focus repaints the whole view
         for (int i = 0; i < 15; ++i) {
             QTest::keyClick(view, Qt::Key_Down);
             ValueListViewTest::settle();
         }
     },
     true},
    {"Wheel",
     [](ValueListViewTest &, QListView *view) {
         const QPointF at = view->viewport()->rect().center();
         QWheelEvent wheel(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -360),
                           Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
         QApplication::sendEvent(view->viewport(), &wheel);
     },
     true},
    {"ScrollBarDragged",
     [](ValueListViewTest &, QListView *view) {
         view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2 + 3);
     },
     true},
    {"ResizedWhileScrolled",
     [](ValueListViewTest &, QListView *view) {
         view->verticalScrollBar()->setValue(200);
         ValueListViewTest::settle();
         view->resize(view->width(), view->height() - 37);
         ValueListViewTest::settle();
         view->resize(view->width(), view->height() + 30); // the button is 16 pixels below
     },
     true},
    {"ScrolledToTheEndThenResized",
     [](ValueListViewTest &, QListView *view) {
         view->resize(view->width(), view->height() - 45);
         ValueListViewTest::settle();
         view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
         ValueListViewTest::settle();
         view->resize(view->width(), view->height() + 45);
     },
     true},
    {"InsertedAtTheEndWhileScrolled",
     [](ValueListViewTest &t, QListView *view) {
         view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
         ValueListViewTest::settle();
         t.values()->append(std::string("501"));
     },
     true},
    {"RemovedInTheMiddleWhileScrolled",
     [](ValueListViewTest &t, QListView *view) {
         view->verticalScrollBar()->setValue(1000);
         ValueListViewTest::settle();
         t.values()->take(t.middleRow());
     },
     true},
    {"RemovedNearTheEndWhileAtTheEnd",
     [](ValueListViewTest &t, QListView *view) {
         view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
         ValueListViewTest::settle();
         t.values()->take(t.values()->count() - 3);
     },
     true},
    {"UndoPutsBackWhileScrolled",
     [](ValueListViewTest &t, QListView *view) {
         t.clickRow(0);
         ValueListViewTest::settle(); // the click's focus repaints the whole view
         QTest::keyClick(view, Qt::Key_End);
         ValueListViewTest::settle();
         view->setFocus();
         view->setCurrentIndex(t.values()->index(t.middleRow()));
         QTest::keyClick(view, Qt::Key_Delete);
         ValueListViewTest::settle();
         view->verticalScrollBar()->setValue(0);
         ValueListViewTest::settle();
         t.action(kUndo)->trigger();
     },
     true},
    {"CorrectedInTheMiddleWhileScrolled",
     [](ValueListViewTest &t, QListView *view) {
         editTheMiddleRow(t, view, ListOpening::F2Key, QStringLiteral("corrected"));
     },
     true},
    {"InsertedInTheMiddleWhileScrolled",
     [](ValueListViewTest &t, QListView *view) {
         editTheMiddleRow(t, view, ListOpening::InsertItem, QStringLiteral("inserted"));
     },
     true},
    {"InsertionCancelledWhileScrolled",
     [](ValueListViewTest &t, QListView *view) {
         editTheMiddleRow(t, view, ListOpening::InsertItem, QString());
     },
     true},
};
INSTANTIATE_TEST_SUITE_P(Scrolling, ValueListViewPaintTest, ::testing::ValuesIn(kScrollCases),
                         RowName{});

TEST_F(ValueListViewTest, DoubleClickRemovesTheValueShownAfterEnd)
{
    fillOneTo(500);
    clickRow(0);
    settle();
    QTest::keyClick(list(), Qt::Key_End);
    settle();
    // The third row on screen, from the top.
    const QModelIndex third = list()->indexAt(QPoint(5, list()->visualRect(values()->index(499)).height() * 2 + 3));
    ASSERT_TRUE(third.isValid());
    const QString shown = values()->text(third.row());
    ASSERT_EQ(paintedViewport(), renderedViewport());
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualRect(third).center());
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {},
                       list()->visualRect(third).center());
    EXPECT_FALSE(items().contains(shown)) << shown.toStdString();
    EXPECT_EQ(values()->count(), 499);
}

struct EntryScrollCase
{
    const char *name;
    std::function<void(ValueListViewTest &)> enterLast; // enters "last" after the full list
};

void PrintTo(const EntryScrollCase &c, std::ostream *out)
{
    *out << c.name;
}

class ValueListViewEntryTest : public ValueListViewTest,
                               public ::testing::WithParamInterface<EntryScrollCase>
{
};

TEST_P(ValueListViewEntryTest, ShowsTheValueJustEntered)
{
    fillOneTo(300);
    list()->scrollToTop();
    settle();
    GetParam().enterLast(*this);
    settle();
    ASSERT_EQ(values()->text(values()->count() - 1), QStringLiteral("last"));
    const QRect shown = list()->visualRect(values()->index(values()->count() - 1));
    EXPECT_TRUE(list()->viewport()->rect().contains(shown))
        << shown.y() << " in " << list()->viewport()->height();
    EXPECT_EQ(paintedViewport(), renderedViewport());
}

const EntryScrollCase kEntryScrollCases[] = {
    {"Typed", [](ValueListViewTest &t) { t.enter(QStringLiteral("last")); }},
    {"Pasted",
     [](ValueListViewTest &t) {
         QGuiApplication::clipboard()->setText(QStringLiteral("x\r\nlast\r\n"));
         t.box(kEntryBox)->setFocus();
         QTest::keyClick(t.box(kEntryBox), Qt::Key_V, Qt::ControlModifier);
     }},
};
INSTANTIATE_TEST_SUITE_P(Entries, ValueListViewEntryTest, ::testing::ValuesIn(kEntryScrollCases),
                         RowName{});

} // namespace
