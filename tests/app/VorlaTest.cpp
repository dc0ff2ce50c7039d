#include "app/Vorla.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QKeySequence>
#include <QListWidget>
#include <QMenuBar>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char *const kBoxes[] = {"Text1", "Text2", "Text3", "Text4",  "Text5",  "Text6",
                              "Text7", "Text8", "Text9", "Text10", "Text11", "Text12"};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}


class VorlaTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_window = std::make_unique<Vorla>(m_dir.path());
        m_window->show();
        m_window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }

    template <typename T = QWidget> T *control(const char *name) const
    {
        T *found = m_window->findChild<T *>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QAction *action(const char *name) const { return control<QAction>(name); }
    QString text(const char *box) const { return control<QLineEdit>(box)->text(); }
    QListWidget *list() const { return control<QListWidget>("List1"); }

    QStringList items() const
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }

    void enter(const QString &value)
    {
        auto *entry = control<QLineEdit>("Text1");
        entry->setFocus();
        QTest::keyClicks(entry, value);
        QTest::keyClick(entry, Qt::Key_Return);
    }

    void calculate(const QString &sigma)
    {
        control<QComboBox>("Combo1")->setEditText(sigma);
        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    }

    /// The named control that holds the keyboard focus (a combo's own line edit counts as the combo).
    QString focusedControl() const
    {
        for (QWidget *w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget())
            if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
                return w->objectName();
        return QString();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Vorla> m_window;
};

TEST_F(VorlaTest, StartsInWorkingState)
{
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Pellary"));
    for (const char *box : kBoxes)
        EXPECT_EQ(text(box), QString()) << box;
    auto *combo = control<QComboBox>("Combo1");
    EXPECT_EQ(combo->currentText(), QStringLiteral("3σ"));
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("3σ"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("2σ"));
    EXPECT_EQ(combo->itemText(2), QStringLiteral("1σ"));
    EXPECT_TRUE(action("f11")->isEnabled());
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(focusedControl(), QStringLiteral("Text1"));
    EXPECT_EQ(control("client")->size(), QSize(438, 334));
}

TEST_F(VorlaTest, StartUpDeletesScratchDataFileOnly)
{
    const QString data = QDir(m_dir.path()).filePath("Vovizuzuv.dat");
    const QString text = QDir(m_dir.path()).filePath("Vovizuzuv.txt");
    writeFile(data, "1\r\n");
    writeFile(text, "2\r\n");
    Vorla second(m_dir.path());
    EXPECT_FALSE(QFile::exists(data));
    EXPECT_TRUE(QFile::exists(text));
    EXPECT_EQ(second.windowTitle(), QStringLiteral("Pellary"));
}

TEST_F(VorlaTest, OpensCentredOnScreen)
{
    const QRect screen = m_window->screen()->geometry();
    const QRect frame = m_window->frameGeometry();
    // The frame's decoration is not known before the window is first shown,
    // so centring may be off by half of it.
    constexpr int kDecorationSlack = 8;
    EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), kDecorationSlack);
    EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), kDecorationSlack);
}

struct EntryCase
{
    const char *name;
    const char *countBefore; // what the count box shows before Enter
    const char *typed;
    const char *countAfter;
};

class VorlaEntryTest : public VorlaTest, public ::testing::WithParamInterface<EntryCase>
{
};

TEST_P(VorlaEntryTest, EnterAppendsAndCountsOn)
{
    const EntryCase &c = GetParam();
    control<QLineEdit>("Text10")->setText(QString::fromUtf8(c.countBefore));
    list()->addItem(QStringLiteral("first"));
    enter(QString::fromUtf8(c.typed));
    EXPECT_EQ(items(), QStringList({QStringLiteral("first"), QString::fromUtf8(c.typed)}));
    EXPECT_EQ(text("Text10"), QString::fromUtf8(c.countAfter));
    EXPECT_EQ(text("Text1"), QString());
    EXPECT_FALSE(action("f11")->isEnabled());
    EXPECT_EQ(focusedControl(), QStringLiteral("Text1"));
}

const EntryCase kEntryCases[] = {
    {"FirstEntry", "", "12.5", "1"},
    {"AfterCalculation", "5", "7", "6"},
    {"AfterUserTypedCount", "7", "abc", "8"},
    {"CountWithoutNumber", "abc", "3", "1"},
    {"LoneBlankIsAValue", "", " ", "1"},
    {"TextIsKeptUnchanged", "2", " 1,5 ", "3"},
    {"CountBeyondDoubleRange", "1e400", "4", "1"},
    {"FullWidthCount", "１２", "4", "13"},
};
INSTANTIATE_TEST_SUITE_P(Entries, VorlaEntryTest, ::testing::ValuesIn(kEntryCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(VorlaTest, EmptyEnterChangesNothing)
{
    control<QLineEdit>("Text10")->setText(QStringLiteral("4"));
    enter(QString());
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(text("Text10"), QStringLiteral("4"));
    EXPECT_TRUE(action("f11")->isEnabled());
}

TEST_F(VorlaTest, FullListKeepsTypedText)
{
    for (int i = 0; i < Vorla::kMaxItems; ++i)
        list()->addItem(QString::number(i));
    control<QLineEdit>("Text10")->setText(QStringLiteral("9"));
    enter(QStringLiteral("42"));
    EXPECT_EQ(list()->count(), Vorla::kMaxItems);
    EXPECT_EQ(text("Text1"), QStringLiteral("42"));
    EXPECT_EQ(text("Text10"), QStringLiteral("9"));
    EXPECT_TRUE(action("f11")->isEnabled());
}

TEST_F(VorlaTest, DoubleClickRemovesOnlyThatItem)
{
    for (const char *value : {"1", "2", "2", "3"})
        enter(QString::fromLatin1(value));
    QListWidget *values = list();
    const QRect second = values->visualItemRect(values->item(2));
    QTest::mouseClick(values->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(values->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(items(), QStringList({"1", "2", "3"}));
    EXPECT_EQ(text("Text10"), QStringLiteral("4"));
    EXPECT_FALSE(action("f11")->isEnabled());
    EXPECT_EQ(focusedControl(), QStringLiteral("Text1"));

    // A double-click below the last item hits none and removes nothing.
    const QPoint below(5, values->viewport()->height() - 3);
    QTest::mouseDClick(values->viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(items(), QStringList({"1", "2", "3"}));
}

struct RemovalKeyCase
{
    const char *name;
    Qt::Key key;
};

class VorlaRemovalKeyTest : public VorlaTest, public ::testing::WithParamInterface<RemovalKeyCase>
{
};

TEST_P(VorlaRemovalKeyTest, KeyRemovesSelectedItem)
{
    for (const char *value : {"1", "2", "3"})
        enter(QString::fromLatin1(value));
    // Reach the list and pick the second value with the keyboard alone.
    QTest::keyClick(control("Text1"), Qt::Key_Tab);
    ASSERT_EQ(focusedControl(), QStringLiteral("List1"));
    QTest::keyClick(list(), Qt::Key_Down);
    ASSERT_EQ(list()->currentRow(), 1);

    QTest::keyClick(list(), GetParam().key);
    EXPECT_EQ(items(), QStringList({"1", "3"}));
    EXPECT_EQ(text("Text10"), QStringLiteral("3"));
    EXPECT_EQ(focusedControl(), QStringLiteral("Text1"));
}

const RemovalKeyCase kRemovalKeys[] = {
    {"Delete", Qt::Key_Delete},
    {"Return", Qt::Key_Return},
    {"KeypadEnter", Qt::Key_Enter},
};
INSTANTIATE_TEST_SUITE_P(Keys, VorlaRemovalKeyTest, ::testing::ValuesIn(kRemovalKeys),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(VorlaTest, RemovalKeyNeedsASelectedItemInTheList)
{
    for (const char *value : {"1", "2"})
        enter(QString::fromLatin1(value));
    // Tabbing in makes the first value current without selecting it.
    QTest::keyClick(control("Text1"), Qt::Key_Tab);
    ASSERT_EQ(focusedControl(), QStringLiteral("List1"));
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(items(), QStringList({"1", "2"}));

    // Delete typed in the entry box edits the entry, never the list.
    QTest::keyClick(list(), Qt::Key_End);
    auto *entry = control<QLineEdit>("Text1");
    entry->setFocus();
    entry->setText(QStringLiteral("45"));
    entry->setCursorPosition(0);
    QTest::keyClick(entry, Qt::Key_Delete);
    EXPECT_EQ(items(), QStringList({"1", "2"}));
    EXPECT_EQ(entry->text(), QStringLiteral("5"));
}

TEST_F(VorlaTest, CalculationFillsEveryBox)
{
    for (const char *value : {"1", "2", "3", "4"})
        enter(QString::fromLatin1(value));
    calculate(QStringLiteral("1σ"));
    const std::vector<std::pair<const char *, const char *>> expected = {
        {"Text10", "4"}, {"Text2", "2.5"}, {"Text3", "1.118"}, {"Text4", "3.618"},
        {"Text5", "1.382"}, {"Text6", "1"}, {"Text7", "25"},   {"Text8", "1"},
        {"Text9", "25"},   {"Text11", "4"}, {"Text12", "1"}};
    for (const auto &[box, value] : expected)
        EXPECT_EQ(text(box), QString::fromUtf8(value)) << box;
    EXPECT_EQ(control<QComboBox>("Combo1")->currentText(), QStringLiteral("1σ"));
    EXPECT_EQ(list()->count(), 4);

    // The next entry counts on from the calculated count.
    enter(QStringLiteral("5"));
    EXPECT_EQ(text("Text10"), QStringLiteral("5"));
}

TEST_F(VorlaTest, EmptyListLeavesBoxesAsTheyAre)
{
    control<QLineEdit>("Text2")->setText(QStringLiteral("old"));
    calculate(QStringLiteral("3σ"));
    EXPECT_EQ(text("Text2"), QStringLiteral("old"));
    EXPECT_EQ(text("Text10"), QString());
}

TEST_F(VorlaTest, OverflowIsReportedAndWritesNoBox)
{
    enter(QStringLiteral("1e308"));
    enter(QStringLiteral("1e308"));
    control<QLineEdit>("Text2")->setText(QStringLiteral("old"));
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    calculate(QStringLiteral("3σ"));
    EXPECT_TRUE(shown.contains(QStringLiteral("大きすぎる"))) << shown.toStdString();
    EXPECT_EQ(text("Text2"), QStringLiteral("old"));
    EXPECT_EQ(text("Text10"), QStringLiteral("2"));
    EXPECT_EQ(text("Text3"), QString());
}

TEST_F(VorlaTest, ClearReturnsToWorkingState)
{
    const QString data = QDir(m_dir.path()).filePath("Vovizuzuv.dat");
    const QString scratchText = QDir(m_dir.path()).filePath("Vovizuzuv.txt");
    for (const char *value : {"10", "20", "30"})
        enter(QString::fromLatin1(value));
    calculate(QStringLiteral("ab"));
    control<QLineEdit>("Text1")->setText(QStringLiteral("pending"));
    writeFile(data, "1\r\n");
    writeFile(scratchText, "1\r\n");

    action("v11")->trigger();

    EXPECT_EQ(list()->count(), 0);
    for (const char *box : kBoxes)
        EXPECT_EQ(text(box), QString()) << box;
    auto *combo = control<QComboBox>("Combo1");
    EXPECT_EQ(combo->currentText(), QStringLiteral("3σ"));
    EXPECT_EQ(combo->count(), 3);
    EXPECT_TRUE(action("f11")->isEnabled());
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Vorla"));
    EXPECT_EQ(focusedControl(), QStringLiteral("Text1"));
    EXPECT_FALSE(QFile::exists(scratchText));
    EXPECT_TRUE(QFile::exists(data));

    // Clearing again with nothing to clear and no scratch file still works.
    action("v11")->trigger();
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Vorla"));
    EXPECT_EQ(combo->count(), 3);
}

TEST_F(VorlaTest, TabVisitsControlsInOrder)
{
    control("Text1")->setFocus();
    QStringList visited;
    for (int i = 0; i < 15; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focusedControl();
    }
    EXPECT_EQ(visited, QStringList({"List1", "Text2", "Text3", "Text4", "Text5", "Text6",
                                    "Text7", "Text8", "Text9", "Text10", "Text11", "Text12",
                                    "Command1", "Combo1", "Text1"}));
}

TEST_F(VorlaTest, MenusHoldTheirCommandsInOrder)
{
    auto captions = [](const QMenu *menu) {
        QStringList out;
        for (const QAction *a : menu->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    };
    EXPECT_EQ(captions(control<QMenu>("f1")),
              QStringList({"ファイルを開く(&O)", "名前を付けて保存(&S)", "-", "印刷(&P)", "-",
                           "終了(&E)"}));
    EXPECT_EQ(captions(control<QMenu>("v1")), QStringList({"クリア(&C)"}));
    EXPECT_EQ(captions(control<QMenu>("mnuJ")), QStringList({"情報"}));
    EXPECT_EQ(control<QMenu>("f1")->title(), QStringLiteral("ファイル(&F)"));
    EXPECT_EQ(control<QMenu>("v1")->title(), QStringLiteral("表示(&V)"));
    EXPECT_EQ(control<QMenu>("mnuJ")->title(), QStringLiteral("情報"));
}

TEST_F(VorlaTest, MenuItemsCarryTheirAccessKeys)
{
    const std::vector<std::pair<const char *, const char *>> expected = {
        {"f11", "Alt+O"}, {"f12", "Alt+S"}, {"f21", "Alt+P"}, {"f31", "Alt+E"}, {"v11", "Alt+C"}};
    for (const auto &[item, key] : expected)
        EXPECT_EQ(QKeySequence::mnemonic(action(item)->text()).toString(),
                  QString::fromLatin1(key))
            << item;
    EXPECT_EQ(QKeySequence::mnemonic(action("mnu_J2")->text()).toString(), QString());
}

TEST_F(VorlaTest, AltWithAccessKeyOpensMenu)
{
    QTest::keyClick(m_window.get(), Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(QApplication::activePopupWidget(), control<QMenu>("f1"));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);

    // Alt+V, then C chooses the clear command.
    enter(QStringLiteral("7"));
    QTest::keyClick(m_window.get(), Qt::Key_V, Qt::AltModifier);
    QWidget *popup = QApplication::activePopupWidget();
    ASSERT_EQ(popup, control<QMenu>("v1"));
    QTest::keyClick(popup, Qt::Key_C);
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Vorla"));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(VorlaTest, MenuWithoutAccessKeyOpensFromTheMenuBar)
{
    // Alt alone moves the keyboard into the menu bar; the arrows lead on to
    // the menu that has no access key.
    QTest::keyPress(m_window.get(), Qt::Key_Alt);
    QTest::keyRelease(m_window.get(), Qt::Key_Alt);
    QWidget *bar = QApplication::focusWidget();
    ASSERT_EQ(bar, m_window->menuBar());
    QTest::keyClick(bar, Qt::Key_Right);
    QTest::keyClick(bar, Qt::Key_Right);
    QTest::keyClick(bar, Qt::Key_Down);
    QWidget *popup = QApplication::activePopupWidget();
    EXPECT_EQ(popup, control<QMenu>("mnuJ"));
    if (popup != nullptr)
        QTest::keyClick(popup, Qt::Key_Escape);
}

TEST_F(VorlaTest, ExitEndsTheEventLoop)
{
    QTimer::singleShot(0, [this] { action("f31")->trigger(); });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
}

} // namespace
