#include "info/InfoWindow.h"

#include "RowName.h"
#include "VorlaWindowTest.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

const QString kUsageText = QStringLiteral(
    "数値を入力してEnterを押してください。\r\n"
    "入力が終わったら演算開始ボタンをクリックしてください。\r\n"
    "データはテキスト形式で保存可能です。\r\n"
    "入力を誤ったときは、そのデータをダブルクリックしてください。\r\n"
    "標準偏差などは分母ｎで計算しています。\r\n"
    "計算結果は少数第４位まで表示します。");

/// Every information window that exists, shown or not.
QList<InfoWindow *> infoWindows()
{
    QList<InfoWindow *> found;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *info = qobject_cast<InfoWindow *>(widget))
            found << info;
    return found;
}

class InfoWindowTest : public VorlaWindowTest
{
protected:
    /// Chooses "情報" in the menu "情報" and returns the window it shows.
    InfoWindow *open()
    {
        action("mnu_J2")->trigger();
        const QList<InfoWindow *> windows = infoWindows();
        if (windows.size() != 1)
            return nullptr;
        InfoWindow *info = windows.front();
        EXPECT_TRUE(QTest::qWaitForWindowActive(info));
        return info;
    }

    void activateMain()
    {
        m_window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }

    static QString usageText(const InfoWindow *info) { return child<QLabel>(info, "Label3")->text(); }
};

TEST_F(InfoWindowTest, OpensCentredWithFocusOnClose)
{
    InfoWindow *info = open();
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->isVisible());
    EXPECT_EQ(info->windowTitle(), QStringLiteral("Telvane"));
    EXPECT_EQ(info->palette().color(QPalette::Window), QColor(255, 255, 192));
    EXPECT_TRUE(isCentredOnScreen(info))
        << info->frameGeometry().x() << "," << info->frameGeometry().y();
    EXPECT_EQ(usageText(info), kUsageText);

    // The focus sits on this window's button, not on the main window's Command1.
    QWidget *focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused->objectName(), QStringLiteral("Command1"));
    EXPECT_EQ(focused->window(), info);
    EXPECT_EQ(child<QPushButton>(info, "Command1")->text(), QStringLiteral("close"));

    // The window itself, not only Qt's first-focusable rule, puts the focus
    // back on the button whenever it becomes active.
    focused->clearFocus();
    ASSERT_EQ(QApplication::focusWidget(), nullptr);
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(info, &activate);
    EXPECT_EQ(QApplication::focusWidget(), focused);
}

TEST_F(InfoWindowTest, TitleIsBlueTwelvePointInAJapaneseFace)
{
    InfoWindow *info = open();
    ASSERT_NE(info, nullptr);
    auto *title = child<QLabel>(info, "Label2");
    EXPECT_EQ(title->text(), QStringLiteral("Ｐｅｌｌａｒｙ"));
    EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(0, 0, 255));

    // What is drawn, not what was asked for: the face actually matched must
    // hold Japanese glyphs, since the title is written in full-width letters.
    const QFontInfo drawn(title->font());
    EXPECT_TRUE(QFontDatabase::writingSystems(drawn.family()).contains(QFontDatabase::Japanese))
        << drawn.family().toStdString();
    EXPECT_EQ(drawn.pointSize(), 12);
    EXPECT_EQ(drawn.weight(), QFont::Normal);
    EXPECT_FALSE(drawn.italic());
    EXPECT_FALSE(drawn.underline());

    // Every letter is drawn whole: its ink lies inside the label, which
    // clips at its edges, and stays near the box the title was laid out in
    // (120 twips from the top, 255 high).
    const QFontMetrics metrics(title->font());
    const QRect ink = metrics.tightBoundingRect(title->text())
                          .translated(title->pos() + QPoint(0, metrics.ascent()));
    EXPECT_TRUE(title->geometry().contains(ink))
        << ink.top() << ".." << ink.bottom() << " in " << title->geometry().top() << ".."
        << title->geometry().bottom();
    EXPECT_NEAR(ink.center().y(), 8 + 17 / 2, 2);
    if (QFontDatabase::hasFamily(QStringLiteral("Noto Serif CJK JP"))
        && !QFontDatabase::hasFamily(QStringLiteral("ＭＳ 明朝"))) {
        EXPECT_EQ(drawn.family(), QStringLiteral("Noto Serif CJK JP"));
    }
}

TEST_F(InfoWindowTest, UsageTextBreaksAtEachLineAndFitsItsLabel)
{
    InfoWindow *info = open();
    ASSERT_NE(info, nullptr);
    auto *usage = child<QLabel>(info, "Label3");
    EXPECT_TRUE(usage->wordWrap());

    // Wide enough for every line: the height shows how many lines are drawn,
    // so a CR LF drawn as one break gives six, not one or eleven.
    const int lineSpacing = QFontMetrics(usage->font()).lineSpacing();
    const int unwrappedHeight = usage->heightForWidth(4000);
    EXPECT_NEAR(double(unwrappedHeight) / lineSpacing, 6.0, 0.5)
        << unwrappedHeight << " / " << lineSpacing;

    // At its own width the longer lines wrap, and the whole text still fits.
    EXPECT_GT(usage->heightForWidth(usage->width()), unwrappedHeight);
    EXPECT_LE(usage->heightForWidth(usage->width()), usage->height());
}

TEST_F(InfoWindowTest, SecondMenuClickRaisesTheSameWindowWhereItIs)
{
    QPointer<InfoWindow> info = open();
    ASSERT_FALSE(info.isNull());
    info->move(10, 20);
    const QPoint moved = info->pos();
    child<QLabel>(info, "Label3")->setText(QStringLiteral("kept"));

    activateMain();
    InfoWindow *again = open();

    EXPECT_EQ(infoWindows().size(), 1);
    EXPECT_EQ(again, info.data());
    EXPECT_EQ(info->pos(), moved);
    EXPECT_EQ(usageText(info), QStringLiteral("kept"));
    EXPECT_TRUE(info->isActiveWindow());
}

enum class CloseBy { Key, Click, Frame };

struct CloseCase
{
    const char *name;
    CloseBy by;
    Qt::Key key = Qt::Key_unknown; // the key pressed on the focused widget, for CloseBy::Key
};

void PrintTo(const CloseCase &c, std::ostream *out) { *out << c.name; }

class InfoWindowCloseTest : public InfoWindowTest, public ::testing::WithParamInterface<CloseCase>
{
};

TEST_P(InfoWindowCloseTest, ClosingDiscardsAndReopeningBuildsAfresh)
{
    QPointer<InfoWindow> info = open();
    ASSERT_FALSE(info.isNull());
    info->move(10, 20);
    child<QLabel>(info, "Label3")->setText(QStringLiteral("stale"));

    switch (GetParam().by) {
    case CloseBy::Key:
        QTest::keyClick(QApplication::focusWidget(), GetParam().key);
        break;
    case CloseBy::Click:
        QTest::mouseClick(child<QPushButton>(info, "Command1"), Qt::LeftButton);
        break;
    case CloseBy::Frame:
        info->close();
        break;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(info.isNull());
    EXPECT_TRUE(infoWindows().isEmpty());
    EXPECT_TRUE(m_window->isVisible());

    InfoWindow *fresh = open();
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(isCentredOnScreen(fresh));
    EXPECT_EQ(usageText(fresh), kUsageText);
}

const CloseCase kCloseCases[] = {
    {"SpaceOnFocusedButton", CloseBy::Key, Qt::Key_Space},
    {"ReturnOnFocusedButton", CloseBy::Key, Qt::Key_Return},
    {"KeypadEnterOnFocusedButton", CloseBy::Key, Qt::Key_Enter},
    {"MouseClickOnButton", CloseBy::Click},
    {"WindowFrame", CloseBy::Frame},
};
INSTANTIATE_TEST_SUITE_P(Ways, InfoWindowCloseTest, ::testing::ValuesIn(kCloseCases), RowName{});

TEST_F(InfoWindowTest, MainWindowTakesInputAndCalculatesBesideIt)
{
    InfoWindow *info = open();
    ASSERT_NE(info, nullptr);

    activateMain();
    EXPECT_EQ(focusedControl(), QStringLiteral("Text1"));
    enterEach({"2", "4", "9"});
    calculate(QStringLiteral("3σ"));

    EXPECT_EQ(text("Text10"), QStringLiteral("3"));
    EXPECT_EQ(text("Text2"), QStringLiteral("5"));
    EXPECT_EQ(text("Text11"), QStringLiteral("9"));
    EXPECT_TRUE(info->isVisible());
    EXPECT_EQ(infoWindows().size(), 1);
}

struct EndCase
{
    const char *name;
    void (*end)(Vorla &main);
};

void PrintTo(const EndCase &c, std::ostream *out) { *out << c.name; }

class InfoWindowProgramEndTest : public InfoWindowTest,
                                 public ::testing::WithParamInterface<EndCase>
{
};

TEST_P(InfoWindowProgramEndTest, EndsTheProgramWithItOpen)
{
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(runEventLoopAfter([this] { GetParam().end(*m_window); }), 0);
}

const EndCase kEndCases[] = {
    {"ExitCommand", [](Vorla &main) { child<QAction>(&main, "f31")->trigger(); }},
    {"MainWindowFrame", [](Vorla &main) { main.close(); }},
};
INSTANTIATE_TEST_SUITE_P(Ways, InfoWindowProgramEndTest, ::testing::ValuesIn(kEndCases),
                         RowName{});

TEST_F(InfoWindowTest, GoesWithTheMainWindow)
{
    QPointer<InfoWindow> info = open();
    ASSERT_FALSE(info.isNull());
    m_window.reset();
    EXPECT_TRUE(info.isNull());
}

} // namespace
