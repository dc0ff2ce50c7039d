#include "app/Vorla.h"
#include "info/form1.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace {

const QString kUsageLines[] = {
    QStringLiteral("数値を入力してEnterを押してください。"),
    QStringLiteral("入力が終わったら演算開始ボタンをクリックしてください。"),
    QStringLiteral("データはテキスト形式で保存可能です。"),
    QStringLiteral("入力を誤ったときは、そのデータをダブルクリックしてください。"),
    QStringLiteral("標準偏差などは分母ｎで計算しています。"),
    QStringLiteral("計算結果は少数第４位まで表示します。"),
};

/// Every information window that exists, shown or not.
QList<form1 *> infoWindows()
{
    QList<form1 *> found;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *info = qobject_cast<form1 *>(widget))
            found << info;
    return found;
}

/// Runs the deletions that closed windows have asked for.
void flushDeletions()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

/// How far a window's frame centre lies from the screen's centre. The frame's
/// decoration is not known before a window is first shown, so centring may be
/// off by half of it.
constexpr int kDecorationSlack = 8;

bool isCentred(const QWidget *window)
{
    const QPoint offset = window->frameGeometry().center() - window->screen()->geometry().center();
    return std::abs(offset.x()) <= kDecorationSlack && std::abs(offset.y()) <= kDecorationSlack;
}

class InfoWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_main = std::make_unique<Vorla>(m_dir.path());
        m_main->show();
        m_main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_main.get()));
    }

    void TearDown() override
    {
        m_main.reset();
        flushDeletions();
    }

    /// Chooses "情報" in the menu "情報" and returns the window it shows.
    form1 *open()
    {
        m_main->findChild<QAction *>(QStringLiteral("mnu_J2"))->trigger();
        const QList<form1 *> windows = infoWindows();
        if (windows.size() != 1)
            return nullptr;
        form1 *info = windows.front();
        EXPECT_TRUE(QTest::qWaitForWindowActive(info));
        return info;
    }

    template <typename T = QWidget> static T *control(const QWidget *window, const char *name)
    {
        T *found = window->findChild<T *>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static QString usageText(const form1 *info)
    {
        return control<QLabel>(info, "Label3")->text();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Vorla> m_main;
};

TEST_F(InfoWindowTest, OpensCentredWithFocusOnClose)
{
    form1 *info = open();
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->isVisible());
    EXPECT_EQ(info->windowTitle(), QStringLiteral("Telvane"));
    EXPECT_EQ(info->size(), QSize(225, 196));
    EXPECT_EQ(info->palette().color(QPalette::Window), QColor(255, 255, 192));
    EXPECT_TRUE(isCentred(info)) << info->frameGeometry().x() << "," << info->frameGeometry().y();

    // The focus sits on this window's button, not on the main window's Command1.
    QWidget *focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused->objectName(), QStringLiteral("Command1"));
    EXPECT_EQ(focused->window(), info);
    EXPECT_EQ(control<QPushButton>(info, "Command1")->text(), QStringLiteral("close"));

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
    form1 *info = open();
    ASSERT_NE(info, nullptr);
    auto *title = control<QLabel>(info, "Label2");
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

TEST_F(InfoWindowTest, UsageTextIsSixLinesJoinedByCrLf)
{
    form1 *info = open();
    ASSERT_NE(info, nullptr);
    const QString text = usageText(info);
    // Five breaks, each a CR LF pair, none before the first line or after the last.
    EXPECT_EQ(text.count(QLatin1Char('\r')), 5);
    EXPECT_EQ(text.count(QLatin1Char('\n')), 5);
    EXPECT_EQ(text.count(QStringLiteral("\r\n")), 5);

    QStringList expected;
    for (const QString &line : kUsageLines)
        expected << line;
    EXPECT_EQ(text, expected.join(QStringLiteral("\r\n")));
}

TEST_F(InfoWindowTest, UsageTextBreaksAtEachLineAndFitsItsLabel)
{
    form1 *info = open();
    ASSERT_NE(info, nullptr);
    auto *usage = control<QLabel>(info, "Label3");
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
    QPointer<form1> info = open();
    ASSERT_FALSE(info.isNull());
    info->move(10, 20);
    const QPoint moved = info->pos();
    control<QLabel>(info, "Label3")->setText(QStringLiteral("kept"));

    m_main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_main.get()));
    form1 *again = open();

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
    QPointer<form1> info = open();
    ASSERT_FALSE(info.isNull());
    info->move(10, 20);
    control<QLabel>(info, "Label3")->setText(QStringLiteral("stale"));

    switch (GetParam().by) {
    case CloseBy::Key:
        QTest::keyClick(QApplication::focusWidget(), GetParam().key);
        break;
    case CloseBy::Click:
        QTest::mouseClick(control<QPushButton>(info, "Command1"), Qt::LeftButton);
        break;
    case CloseBy::Frame:
        info->close();
        break;
    }
    flushDeletions();
    EXPECT_TRUE(info.isNull());
    EXPECT_TRUE(infoWindows().isEmpty());
    EXPECT_TRUE(m_main->isVisible());

    form1 *fresh = open();
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(isCentred(fresh));
    EXPECT_TRUE(usageText(fresh).endsWith(kUsageLines[5])) << usageText(fresh).toStdString();
    EXPECT_EQ(usageText(fresh).count(QStringLiteral("\r\n")), 5);
}

const CloseCase kCloseCases[] = {
    {"SpaceOnFocusedButton", CloseBy::Key, Qt::Key_Space},
    {"ReturnOnFocusedButton", CloseBy::Key, Qt::Key_Return},
    {"KeypadEnterOnFocusedButton", CloseBy::Key, Qt::Key_Enter},
    {"MouseClickOnButton", CloseBy::Click},
    {"WindowFrame", CloseBy::Frame},
};
INSTANTIATE_TEST_SUITE_P(Ways, InfoWindowCloseTest, ::testing::ValuesIn(kCloseCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(InfoWindowTest, MainWindowTakesInputAndCalculatesBesideIt)
{
    form1 *info = open();
    ASSERT_NE(info, nullptr);

    m_main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_main.get()));
    auto *entry = control<QLineEdit>(m_main.get(), "Text1");
    EXPECT_EQ(QApplication::focusWidget(), entry);
    for (const char *value : {"2", "4", "9"}) {
        QTest::keyClicks(entry, QString::fromLatin1(value));
        QTest::keyClick(entry, Qt::Key_Return);
    }
    QTest::mouseClick(control<QPushButton>(m_main.get(), "Command1"), Qt::LeftButton);

    EXPECT_EQ(control<QLineEdit>(m_main.get(), "Text10")->text(), QStringLiteral("3"));
    EXPECT_EQ(control<QLineEdit>(m_main.get(), "Text2")->text(), QStringLiteral("5"));
    EXPECT_EQ(control<QLineEdit>(m_main.get(), "Text11")->text(), QStringLiteral("9"));
    EXPECT_TRUE(info->isVisible());
    EXPECT_EQ(infoWindows().size(), 1);
}

/// Runs the event loop after `act` has run inside it; returns the loop's exit
/// code, or 99 when nothing ended it within five seconds.
int runLoopAfter(const std::function<void()> &act)
{
    QTimer::singleShot(0, act);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    return QApplication::exec();
}

TEST_F(InfoWindowTest, ExitCommandEndsTheProgramWithItOpen)
{
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(runLoopAfter([this] {
                  m_main->findChild<QAction *>(QStringLiteral("f31"))->trigger();
              }),
              0);
}

TEST_F(InfoWindowTest, ClosingMainWindowFrameEndsTheProgramWithItOpen)
{
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(runLoopAfter([this] { m_main->close(); }), 0);
}

TEST_F(InfoWindowTest, GoesWithTheMainWindow)
{
    QPointer<form1> info = open();
    ASSERT_FALSE(info.isNull());
    m_main.reset();
    EXPECT_TRUE(info.isNull());
}

} // namespace
