#include "app/CommonDialog.h"
#include "app/Vorla.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>

namespace {

/// What a file dialog looked like when it came up.
struct DialogSeen
{
    QString folder;
    QString nameField;
    QStringList filters;
};

/// Answers the modal dialogs a command brings up: each file dialog gets the
/// next path in turn (an empty path cancels it); each message box is noted
/// and confirmed.
class DialogDriver : public QObject
{
public:
    explicit DialogDriver(std::deque<QString> paths) : m_paths(std::move(paths))
    {
        QTimer::singleShot(0, this, &DialogDriver::look);
    }

    std::vector<DialogSeen> dialogs;
    QStringList messages;

private:
    void look()
    {
        // Scheduled first: answering a dialog may open the next one modally.
        QTimer::singleShot(5, this, &DialogDriver::look);
        QWidget *modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == m_answered)
            return;
        m_answered = modal;
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            auto *nameField = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            dialogs.push_back({dialog->directory().absolutePath(),
                               nameField != nullptr ? nameField->text() : QString(),
                               dialog->nameFilters()});
            const QString path = m_paths.empty() ? QString() : m_paths.front();
            if (!m_paths.empty())
                m_paths.pop_front();
            if (path.isEmpty()) {
                dialog->reject();
            } else {
                dialog->selectFile(path);
                static_cast<QDialog *>(dialog)->accept(); // public there, virtual
            }
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            messages << box->text();
            if (QAbstractButton *yes = box->button(QMessageBox::Yes))
                yes->click();
            else
                box->accept();
        }
    }

    std::deque<QString> m_paths;
    QPointer<QWidget> m_answered;
};

class VorlaFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_window = std::make_unique<Vorla>(m_dir.path());
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }

    template <typename T = QWidget> T *control(const char *name) const
    {
        T *found = m_window->findChild<T *>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QListWidget *list() const { return control<QListWidget>("List1"); }
    QLineEdit *box(const char *name) const { return control<QLineEdit>(name); }
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

    QStringList items() const
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }

    /// Runs a menu command, answering its dialogs with these paths in turn.
    std::unique_ptr<DialogDriver> run(const char *command, std::deque<QString> paths)
    {
        auto driver = std::make_unique<DialogDriver>(std::move(paths));
        control<QAction>(command)->trigger();
        return driver;
    }

    QByteArray fileBytes(const QString &file) const
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void writeBytes(const QString &file, const QByteArray &bytes) const
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Vorla> m_window;
};

std::string caption(const QWidget *window)
{
    return window->windowTitle().toStdString();
}

TEST_F(VorlaFilesTest, SaveWritesValueFileAndNamesIt)
{
    for (const char *value : {"1.5", "-2", "abc"}) {
        box("Text1")->setText(QString::fromLatin1(value));
        QTest::keyClick(box("Text1"), Qt::Key_Return);
    }
    const QString file = path("values.txt");
    const auto driver = run("f12", {file});

    EXPECT_EQ(fileBytes(file).toHex(' ').toStdString(),
              "31 2e 35 0d 0a 2d 32 0d 0a 61 62 63 0d 0a 0d 0a");
    EXPECT_EQ(caption(m_window.get()), "Pellary-" + QDir::toNativeSeparators(file).toStdString());
    ASSERT_EQ(driver->dialogs.size(), 1u);
    EXPECT_EQ(driver->dialogs[0].folder.toStdString(), QDir(m_dir.path()).absolutePath().toStdString());
    EXPECT_EQ(driver->dialogs[0].nameField.toStdString(), "");
    EXPECT_EQ(driver->dialogs[0].filters, QStringList({"Text(*.txt)"}));
    EXPECT_EQ(items(), QStringList({"1.5", "-2", "abc"}));
    EXPECT_EQ(box("Text10")->text().toStdString(), "3");
    EXPECT_TRUE(driver->messages.isEmpty());
}

TEST_F(VorlaFilesTest, OpenAppendsAfterListedItemsAndChangesNothingElse)
{
    const QString file = path("values.txt");
    writeBytes(file, "1.5\r\n-2\r\n\r\nabc\r\n\r\n");
    list()->addItem(QStringLiteral("7"));
    box("Text10")->setText(QStringLiteral("5"));
    box("Text1")->setText(QStringLiteral("pending"));
    box("Text2")->setText(QStringLiteral("old"));
    control<QComboBox>("Combo1")->setEditText(QStringLiteral("2σ"));
    const Qt::CursorShape pointer = box("Text1")->cursor().shape();
    QList<Qt::CursorShape> pointerWhileAppending;
    QObject::connect(list()->model(), &QAbstractItemModel::rowsInserted, [&] {
        pointerWhileAppending << box("Text1")->cursor().shape();
    });

    const auto driver = run("f11", {file});
    const auto again = run("f11", {file});

    EXPECT_EQ(items(), QStringList({"7", "1.5", "-2", "abc", "1.5", "-2", "abc"}));
    EXPECT_EQ(caption(m_window.get()), "Vorla-" + QDir::toNativeSeparators(file).toStdString());
    EXPECT_EQ(box("Text10")->text().toStdString(), "5");
    EXPECT_EQ(box("Text1")->text().toStdString(), "pending");
    EXPECT_EQ(box("Text2")->text().toStdString(), "old");
    EXPECT_EQ(control<QComboBox>("Combo1")->currentText().toStdString(), "2σ");
    EXPECT_TRUE(control<QAction>("f11")->isEnabled());
    EXPECT_EQ(pointerWhileAppending, QList<Qt::CursorShape>({Qt::WaitCursor, Qt::WaitCursor}));
    EXPECT_EQ(box("Text1")->cursor().shape(), pointer);
    ASSERT_EQ(again->dialogs.size(), 1u);
    EXPECT_EQ(again->dialogs[0].nameField.toStdString(), ""); // cleared after a success
    EXPECT_TRUE(driver->messages.isEmpty());
}

TEST_F(VorlaFilesTest, SaveThenOpenGivesSameItems)
{
    const QStringList values = {QStringLiteral("表"), QStringLiteral("ソ\\"),
                                QStringLiteral("１２．５"), QStringLiteral("  "),
                                QStringLiteral("ﾃﾞｰﾀ")};
    list()->addItems(values);
    const QString file = path("round.txt");
    run("f12", {file});
    EXPECT_EQ(fileBytes(file).toHex(' ').toStdString(),
              "95 5c 0d 0a 83 5c 5c 0d 0a 82 50 82 51 81 44 82 54 0d 0a 20 20 0d 0a "
              "c3 de b0 c0 0d 0a 0d 0a");
    list()->clear();
    run("f11", {file});
    EXPECT_EQ(items(), values);
}

TEST_F(VorlaFilesTest, CancelChangesNothing)
{
    list()->addItem(QStringLiteral("1"));
    const Qt::CursorShape pointer = box("Text1")->cursor().shape();
    const auto open = run("f11", {QString()});
    const auto save = run("f12", {QString()});
    EXPECT_EQ(open->dialogs.size(), 1u);
    EXPECT_EQ(save->dialogs.size(), 1u);
    EXPECT_EQ(items(), QStringList({"1"}));
    EXPECT_EQ(caption(m_window.get()), "Pellary");
    EXPECT_EQ(box("Text1")->cursor().shape(), pointer);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList());
    EXPECT_TRUE(open->messages.isEmpty());
    EXPECT_TRUE(save->messages.isEmpty());
}

struct RefusedOpenCase
{
    const char *name;
    QByteArray bytes;
    qint64 sparseSize; // when not 0, a sparse file of this size instead of the bytes
    const char *reason; // part of the message
};

class VorlaRefusedOpenTest : public VorlaFilesTest,
                             public ::testing::WithParamInterface<RefusedOpenCase>
{
};

TEST_P(VorlaRefusedOpenTest, SaysWhyAndAppendsNothing)
{
    const RefusedOpenCase &c = GetParam();
    const QString file = path("refused.txt");
    writeBytes(file, c.bytes);
    if (c.sparseSize != 0) {
        ASSERT_TRUE(QFile::resize(file, c.sparseSize));
    }
    list()->addItem(QStringLiteral("7"));
    const Qt::CursorShape pointer = box("Text1")->cursor().shape();

    const auto driver = run("f11", {file});

    EXPECT_EQ(items(), QStringList({"7"}));
    EXPECT_EQ(caption(m_window.get()), "Pellary");
    EXPECT_EQ(box("Text1")->cursor().shape(), pointer);
    ASSERT_EQ(driver->messages.size(), 1);
    const std::string message = driver->messages[0].toStdString();
    EXPECT_NE(message.find(QDir::toNativeSeparators(file).toStdString()), std::string::npos)
        << message;
    EXPECT_NE(message.find(c.reason), std::string::npos) << message;
    EXPECT_NE(message.find("何も追加していません"), std::string::npos) << message;

    // The failed path stays for the next dialog.
    const auto next = run("f11", {QString()});
    ASSERT_EQ(next->dialogs.size(), 1u);
    EXPECT_EQ(next->dialogs[0].nameField.toStdString(), "refused.txt");
}

const RefusedOpenCase kRefusedOpenCases[] = {
    {"InvalidBytes", "1\r\n\x85\x40\r\n", 0, "読めない文字"},
    {"Binary", QByteArray("1\r\n\0\0", 5), 0, "テキストファイルではありません"},
    {"OverSizeCap", "1\r\n", qint64(100) << 20, "大きすぎます"},
    {"LineTooLong", QByteArray("1\r\n") + QByteArray(40000, '9'), 0, "2 行目が長すぎます"},
};
INSTANTIATE_TEST_SUITE_P(Files, VorlaRefusedOpenTest, ::testing::ValuesIn(kRefusedOpenCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(VorlaFilesTest, OpenStopsAtListLimitAndSaysHowManyLinesWereLeftOut)
{
    for (int i = 0; i < Vorla::kMaxItems - 2; ++i)
        list()->addItem(QStringLiteral("0"));
    const QString file = path("five.txt");
    writeBytes(file, "1\r\n2\r\n\r\n3\r\n4\r\n5\r\n");

    const auto driver = run("f11", {file});

    EXPECT_EQ(list()->count(), Vorla::kMaxItems);
    EXPECT_EQ(list()->item(Vorla::kMaxItems - 2)->text().toStdString(), "1");
    EXPECT_EQ(list()->item(Vorla::kMaxItems - 1)->text().toStdString(), "2");
    EXPECT_EQ(caption(m_window.get()), "Vorla-" + QDir::toNativeSeparators(file).toStdString());
    ASSERT_EQ(driver->messages.size(), 1);
    const std::string message = driver->messages[0].toStdString();
    EXPECT_NE(message.find("32,767"), std::string::npos) << message;
    EXPECT_NE(message.find("3 行は読み込んでいません"), std::string::npos) << message;
}

TEST_F(VorlaFilesTest, UnencodableItemIsNamedAndNothingIsWritten)
{
    const QString file = path("values.txt");
    writeBytes(file, "old\r\n\r\n");
    list()->addItems({QStringLiteral("1"), QStringLiteral("2😀")});

    const auto driver = run("f12", {file}); // also confirms replacing the old file

    EXPECT_EQ(fileBytes(file).toStdString(), "old\r\n\r\n");
    EXPECT_EQ(caption(m_window.get()), "Pellary");
    ASSERT_FALSE(driver->messages.isEmpty());
    const std::string message = driver->messages.last().toStdString();
    EXPECT_NE(message.find(QDir::toNativeSeparators(file).toStdString()), std::string::npos)
        << message;
    EXPECT_NE(message.find("2 番目の値「2😀」"), std::string::npos) << message;
    EXPECT_NE(message.find("文字「😀」"), std::string::npos) << message;

    const auto next = run("f12", {QString()});
    ASSERT_EQ(next->dialogs.size(), 1u);
    EXPECT_EQ(next->dialogs[0].nameField.toStdString(), "values.txt");
}

TEST_F(VorlaFilesTest, SaveIntoMissingFolderSaysSo)
{
    list()->addItem(QStringLiteral("1"));
    writeBytes(path("plain"), "x");
    const QString file = path("plain/values.txt"); // its folder is a regular file

    const auto driver = run("f12", {file});

    EXPECT_EQ(caption(m_window.get()), "Pellary");
    EXPECT_EQ(fileBytes(path("plain")).toStdString(), "x");
    ASSERT_EQ(driver->messages.size(), 1);
    const std::string message = driver->messages[0].toStdString();
    EXPECT_NE(message.find("フォルダーが見つかりません"), std::string::npos) << message;
}

struct FilterCase
{
    const char *name;
    const char *filter;
    QStringList nameFilters;
};

class NameFiltersTest : public ::testing::TestWithParam<FilterCase>
{
};

TEST_P(NameFiltersTest, ReadsDescriptionPatternPairs)
{
    EXPECT_EQ(CommonDialog::nameFilters(QString::fromUtf8(GetParam().filter)),
              GetParam().nameFilters);
}

const FilterCase kFilterCases[] = {
    {"PatternAlreadyShown", "Text(*.txt)|*.txt|", {"Text(*.txt)"}},
    {"PatternAdded", "Text|*.txt|", {"Text (*.txt)"}},
    {"WithoutClosingBar", "Text|*.txt", {"Text (*.txt)"}},
    {"SeveralPatterns", "Data|*.txt;*.dat|", {"Data (*.txt *.dat)"}},
    {"TwoTypes", "Text(*.txt)|*.txt|All|*.*|", {"Text(*.txt)", "All (*.*)"}},
    {"Empty", "", {}},
};
INSTANTIATE_TEST_SUITE_P(Dialogs, NameFiltersTest, ::testing::ValuesIn(kFilterCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
