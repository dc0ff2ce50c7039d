#include "chart/ChartNames.h"
#include "chart/ChartWindow.h"
#include "files/ValueFile.h"

#include "ModalAnswerer.h"
#include "RowName.h"
#include "VorlaWindowTest.h"
#include "Wine.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>
#include <QRegularExpression>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

namespace names = chart::names;
using stats::ChartType;

const QString kDash = QStringLiteral("—");

std::string testBoxName(int test)
{
    return names::kTestBoxPrefix + std::to_string(test);
}

QList<ChartWindow *> chartWindows()
{
    QList<ChartWindow *> found;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *chart = qobject_cast<ChartWindow *>(widget))
            found << chart;
    return found;
}

class ChartWindowTest : public VorlaWindowTest
{
protected:
    void SetUp() override
    {
        // The tests switched off are kept in the settings: these go to the
        // test's own folder, never to the user's.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           path(QStringLiteral("settings")));
        VorlaWindowTest::SetUp();
    }

    /// Chooses 「グラフ(&G)」 and returns the one chart window there is.
    ChartWindow *open()
    {
        action("v12")->trigger();
        const QList<ChartWindow *> windows = chartWindows();
        EXPECT_EQ(windows.size(), 1);
        if (windows.size() != 1)
            return nullptr;
        EXPECT_TRUE(QTest::qWaitForWindowExposed(windows.front()));
        return windows.front();
    }

    /// Types the tolerance into the chart window's boxes and presses Enter.
    static void enterTolerance(ChartWindow *chart, const QString &upper, const QString &lower)
    {
        for (const auto &[name, text] : {std::pair(names::kUpperToleranceBox, upper),
                                    std::pair(names::kLowerToleranceBox, lower)}) {
            auto *entry = child<QLineEdit>(chart, name);
            entry->clear();
            QTest::keyClicks(entry, text);
        }
        QTest::keyClick(child<QLineEdit>(chart, names::kLowerToleranceBox), Qt::Key_Return);
    }

    static QString figure(const ChartWindow *chart, const char *name)
    {
        return child<QLineEdit>(chart, name)->text();
    }

    static std::vector<double> drawnValues(const ChartWindow *chart)
    {
        std::vector<double> values;
        for (const auto &point : chart->shown()->data.points)
            values.push_back(point.value);
        return values;
    }
};

TEST_F(ChartWindowTest, MenuItemFollowsClear)
{
    const QList<QAction *> items = control<QMenu>("v1")->actions();
    // The captions of the whole menu are VorlaTest.MenusHoldTheirCommandsInOrder's.
    ASSERT_EQ(items.size(), 3); // クリア, グラフ, 管理図シート
    EXPECT_EQ(items[1]->objectName(), QStringLiteral("v12"));

    // Alt+V, then G opens the window.
    QTest::keyClick(m_window.get(), Qt::Key_V, Qt::AltModifier);
    QWidget *popup = QApplication::activePopupWidget();
    ASSERT_EQ(popup, control<QMenu>("v1"));
    QTest::keyClick(popup, Qt::Key_G);
    EXPECT_EQ(chartWindows().size(), 1);
}

TEST_F(ChartWindowTest, OneWindowAtATimeAndFreshAfterClosing)
{
    ChartWindow *first = open();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->windowTitle(), QStringLiteral("グラフ"));
    EXPECT_EQ(open(), first); // brought forward, not built again
    EXPECT_EQ(chartWindows().size(), 1);

    QPointer<ChartWindow> closed = first;
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    ChartWindow *second = open();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->isVisible());
    // The main window stays usable beside it.
    EXPECT_FALSE(second->isModal());
}

TEST_F(ChartWindowTest, ChartsChangeOnlyWhenTheBoxesDo)
{
    ChartWindow *chart = open();
    ASSERT_NE(chart, nullptr);
    EXPECT_FALSE((chart->shown() != nullptr)); // nothing calculated yet

    enterEach({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
               QStringLiteral("4"), QStringLiteral("5")});
    calculate(QStringLiteral("1σ"));
    ASSERT_TRUE((chart->shown() != nullptr));
    EXPECT_EQ(drawnValues(chart), (std::vector<double>{1, 2, 3, 4, 5}));
    // The lines carry the very texts of the boxes beside the list.
    const auto &lines = chart->shown()->data.lines;
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(QString::fromStdString(lines[0].label), QStringLiteral("平均 ") + text("Text2"));
    EXPECT_EQ(QString::fromStdString(lines[1].label), QStringLiteral("上限 ") + text("Text4"));
    EXPECT_EQ(QString::fromStdString(lines[2].label), QStringLiteral("下限 ") + text("Text5"));
    EXPECT_EQ(figure(chart, names::kCountFigure), text("Text10"));

    // Editing the list without a new calculation changes neither.
    enter(QStringLiteral("100"));
    EXPECT_EQ(drawnValues(chart).size(), 5u);
    calculate(QStringLiteral("1σ"));
    EXPECT_EQ(drawnValues(chart).size(), 6u);

    action("v11")->trigger();
    EXPECT_FALSE((chart->shown() != nullptr));
    EXPECT_TRUE(figure(chart, names::kCountFigure).isEmpty());
}

TEST_F(ChartWindowTest, OpenedAfterCalculatingShowsThatCalculation)
{
    enterEach({QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("30")});
    calculate(QStringLiteral("2σ"));
    enter(QStringLiteral("40")); // typed after the calculation: not drawn
    ChartWindow *chart = open();
    ASSERT_NE(chart, nullptr);
    ASSERT_TRUE((chart->shown() != nullptr));
    EXPECT_EQ(drawnValues(chart), (std::vector<double>{10, 20, 30}));
}

struct ToleranceCase
{
    const char *name;
    QString upper, lower;
    QString cp, cpk, outside;
    bool refused;
};

void PrintTo(const ToleranceCase &c, std::ostream *out) { *out << c.name; }

class ChartToleranceTest : public ChartWindowTest, public testing::WithParamInterface<ToleranceCase>
{};

// 122, 130, 138: mean 130, s = 8.
TEST_P(ChartToleranceTest, ShowsCapabilityOrRefuses)
{
    const ToleranceCase &c = GetParam();
    enterEach({QStringLiteral("122"), QStringLiteral("130"), QStringLiteral("138")});
    calculate(QStringLiteral("3σ"));
    ChartWindow *chart = open();
    ASSERT_NE(chart, nullptr);
    enterTolerance(chart, QStringLiteral("150"), QStringLiteral("100"));

    ModalAnswerer answerer;
    enterTolerance(chart, c.upper, c.lower);
    EXPECT_EQ(answerer.boxes.size(), c.refused ? 1u : 0u);
    EXPECT_EQ(figure(chart, names::kCpFigure), c.cp);
    EXPECT_EQ(figure(chart, names::kCpkFigure), c.cpk);
    EXPECT_EQ(figure(chart, names::kOutsideFigure), c.outside);
}

const ToleranceCase kToleranceCases[] = {
    {"WorkedExample", "150", "100", "1.04", "0.83", "0 個 (0 %)", false},
    {"UpperOnly", "150", "", kDash, "0.83", "0 個 (0 %)", false},
    {"LowerBelowUpper", "100", "150", kDash, kDash, kDash, false},
    // A box without a number is refused; the last tolerance stays.
    {"NotANumber", "abc", "100", "1.04", "0.83", "0 個 (0 %)", true},
};

INSTANTIATE_TEST_SUITE_P(Table, ChartToleranceTest, testing::ValuesIn(kToleranceCases), RowName());

TEST_F(ChartWindowTest, KeyboardReachesEveryControl)
{
    ChartWindow *chart = open();
    ASSERT_NE(chart, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(chart));
    QStringList visited;
    for (int i = 0; i < 10; ++i) {
        QWidget *focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        visited << focused->objectName();
        EXPECT_FALSE(focused->accessibleName().isEmpty()) << focused->objectName().toStdString();
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    EXPECT_EQ(visited,
              (QStringList{
                  QLatin1String(names::kUpperToleranceBox),
                  QLatin1String(names::kLowerToleranceBox), QLatin1String(names::kApplyButton),
                  QLatin1String(names::kSaveImageButton), QLatin1String(names::kChartTypeBox),
                  QLatin1String(names::kPaperBox), QLatin1String(names::kPrintButton),
                  QLatin1String(names::kSaveRecordButton),
                  QString::fromStdString(testBoxName(1)), QString::fromStdString(testBoxName(2))}));
}

struct SaveCase
{
    const char *name;
    QString fileName;
    QByteArray magic;
};

void PrintTo(const SaveCase &c, std::ostream *out) { *out << c.name; }

class ChartSaveTest : public ChartWindowTest, public testing::WithParamInterface<SaveCase>
{};

TEST_P(ChartSaveTest, WritesThePictureAtItsSize)
{
    enterEach({QStringLiteral("122"), QStringLiteral("130"), QStringLiteral("138")});
    calculate(QStringLiteral("3σ"));
    ChartWindow *chart = open();
    ASSERT_NE(chart, nullptr);
    const QString file = path(GetParam().fileName);
    {
        ModalAnswerer answerer({}, {file});
        QTest::mouseClick(child<QPushButton>(chart, names::kSaveImageButton), Qt::LeftButton);
        EXPECT_TRUE(answerer.boxes.empty()) << answerer.boxTexts().join('\n').toStdString();
    }
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    ASSERT_TRUE(bytes.startsWith(GetParam().magic));
    if (GetParam().magic == "%PDF") {
        // One page, one point to a pixel.
        const QRegularExpression mediaBox(
            QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
        const auto match = mediaBox.match(QString::fromLatin1(bytes));
        ASSERT_TRUE(match.hasMatch());
        const QSizeF picture = chart->picture().deviceIndependentSize();
        EXPECT_NEAR(match.captured(1).toDouble(), picture.width(), 0.5);
        EXPECT_NEAR(match.captured(2).toDouble(), picture.height(), 0.5);
    } else {
        const QImage image = QImage::fromData(bytes);
        EXPECT_EQ(image.size(), chart->picture().size());
    }
}

const SaveCase kSaveCases[] = {
    {"Png", QStringLiteral("グラフ.png"), QByteArray("\x89PNG", 4)},
    {"Pdf", QStringLiteral("report.PDF"), QByteArray("%PDF")},
};

INSTANTIATE_TEST_SUITE_P(Table, ChartSaveTest, testing::ValuesIn(kSaveCases), RowName());

TEST_F(ChartWindowTest, RefusesAnUnknownImageType)
{
    ChartWindow *chart = open();
    ASSERT_NE(chart, nullptr);
    const QString file = path(QStringLiteral("chart.bmp"));
    ModalAnswerer answerer({}, {file});
    QTest::mouseClick(child<QPushButton>(chart, names::kSaveImageButton), Qt::LeftButton);
    ASSERT_EQ(answerer.boxes.size(), 1u);
    EXPECT_TRUE(answerer.boxes[0].text.contains(QStringLiteral(".png か .pdf")));
    EXPECT_FALSE(QFile::exists(file));
}

// ---- what a screen reader gets ------------------------------------------------

QString accessibleText(QWidget *widget, QAccessible::Text which)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    EXPECT_NE(face, nullptr);
    return face ? face->text(which) : QString();
}

struct FigureCase
{
    const char *name;
    const char *objectName;
    QString caption, value;
};

void PrintTo(const FigureCase &c, std::ostream *out) { *out << c.name; }

class ChartFigureTest : public ChartWindowTest, public testing::WithParamInterface<FigureCase>
{};

// Each figure is read as its caption and its value, as a result box is.
TEST_P(ChartFigureTest, ReadAsCaptionAndValue)
{
    const FigureCase &c = GetParam();
    enterEach({QStringLiteral("122"), QStringLiteral("130"), QStringLiteral("138")});
    calculate(QStringLiteral("3σ"));
    ChartWindow *chart = open();
    ASSERT_NE(chart, nullptr);
    enterTolerance(chart, QStringLiteral("150"), QStringLiteral("100"));
    auto *box = child<QLineEdit>(chart, c.objectName);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(accessibleText(box, QAccessible::Name), c.caption);
    EXPECT_EQ(accessibleText(box, QAccessible::Value), c.value);
}

const FigureCase kFigureCases[] = {
    {"Count", names::kCountFigure, QStringLiteral("データ数 n"), QStringLiteral("3")},
    {"Mean", names::kMeanFigure, QStringLiteral("平均 x̄"), QStringLiteral("130.")},
    {"SampleSigma", names::kSampleSigmaFigure, QStringLiteral("標準偏差 s (分母 n−1)"),
     QStringLiteral("8.")},
    {"Classes", names::kClassesFigure, QStringLiteral("級の数・幅 (測定単位)"),
     QStringLiteral("6 級・幅 3 (1)")},
    {"Cp", names::kCpFigure, QStringLiteral("Cp"), QStringLiteral("1.04")},
    {"Cpk", names::kCpkFigure, QStringLiteral("Cpk"), QStringLiteral("0.83")},
    {"Outside", names::kOutsideFigure, QStringLiteral("規格外の数"), QStringLiteral("0 個 (0 %)")},
};

INSTANTIATE_TEST_SUITE_P(Table, ChartFigureTest, testing::ValuesIn(kFigureCases), RowName());

// The pictures are described by what they show, and the descriptions follow
// each calculation, tolerance and clearing.
TEST_F(ChartWindowTest, PicturesDescribeWhatTheyShow)
{
    ChartWindow *chart = open();
    ASSERT_NE(chart, nullptr);
    auto *run = child<QWidget>(chart, names::kRunChart);
    auto *histogram = child<QWidget>(chart, names::kHistogram);
    ASSERT_TRUE(run && histogram);
    EXPECT_EQ(accessibleText(run, QAccessible::Name), QStringLiteral("推移グラフ"));
    EXPECT_EQ(accessibleText(histogram, QAccessible::Name), QStringLiteral("ヒストグラム"));
    const QString empty = accessibleText(run, QAccessible::Description);
    EXPECT_TRUE(empty.contains(QStringLiteral("演算開始"))) << empty.toStdString();

    // 1σ around 130: 122 and 138 lie beyond the limits.
    enterEach({QStringLiteral("122"), QStringLiteral("130"), QStringLiteral("138")});
    calculate(QStringLiteral("1σ"));
    QString said = accessibleText(run, QAccessible::Description);
    EXPECT_TRUE(said.startsWith(QStringLiteral("値 3 個を"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("こえた点 2 個 (1・3 番目)"))) << said.toStdString();
    EXPECT_FALSE(said.contains(QStringLiteral("規格上限")));
    said = accessibleText(histogram, QAccessible::Description);
    EXPECT_TRUE(said.startsWith(QStringLiteral("6 級、幅 3 (測定単位 1)"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("度数は小さい級から 1、0、1、0、0、1")));
    EXPECT_FALSE(said.contains(QStringLiteral("規格外")));

    enterTolerance(chart, QStringLiteral("135"), QStringLiteral(""));
    EXPECT_TRUE(accessibleText(run, QAccessible::Description).contains(QStringLiteral("規格上限 135")));
    EXPECT_TRUE(accessibleText(histogram, QAccessible::Description)
                    .contains(QStringLiteral("規格外の値 1 個 (33 %)")));

    action("v11")->trigger();
    EXPECT_EQ(accessibleText(run, QAccessible::Description), empty);
    EXPECT_EQ(accessibleText(histogram, QAccessible::Description), empty);
}

// ---- extreme values draw ----------------------------------------------------------

struct ExtremeCase
{
    const char *name;
    QStringList values;
    QString upper, lower;
    bool barsShown;
};

void PrintTo(const ExtremeCase &c, std::ostream *out) { *out << c.name; }

class ChartExtremeTest : public ChartWindowTest, public testing::WithParamInterface<ExtremeCase>
{};

bool holdsColour(const QImage &image, const QColor &colour)
{
    const QRgb wanted = colour.rgb();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == wanted)
                return true;
    return false;
}

// Opened after 演算開始, as a user does, the window shows classes and paints
// both pictures, the histogram's bars included.
TEST_P(ChartExtremeTest, OpensAndPaints)
{
    const ExtremeCase &c = GetParam();
    if (c.values.size() > 20)
        addItems(c.values);
    else
        enterEach(c.values);
    calculate(QStringLiteral("3σ"));
    ASSERT_EQ(text("Text10"), QString::number(c.values.size()));
    ChartWindow *chart = open();
    ASSERT_NE(chart, nullptr);
    if (!c.upper.isEmpty() || !c.lower.isEmpty())
        enterTolerance(chart, c.upper, c.lower);
    ASSERT_TRUE((chart->shown() != nullptr));
    const auto &classes = chart->shown()->data.histogram.classes;
    EXPECT_GE(classes.size(), 5u);
    EXPECT_LE(classes.size(), 30u);
    EXPECT_FALSE(chart->grab().isNull());
    const QImage bars = child<QWidget>(chart, names::kHistogram)->grab().toImage();
    // Next to a tolerance far out the bars shrink below a pixel, under the lines.
    EXPECT_EQ(holdsColour(bars, QColor(158, 202, 225)), c.barsShown);
    for (const char *name :
         {names::kClassesFigure, names::kCpFigure, names::kCpkFigure, names::kSigmaFigure}) {
        const QString shown = figure(chart, name).toLower();
        EXPECT_FALSE(shown.contains(QStringLiteral("inf")) || shown.contains(QStringLiteral("nan")))
            << name;
    }
}

QStringList fullList()
{
    QStringList values;
    for (int i = 0; i < static_cast<int>(files::kMaxListItems); ++i)
        values << QString::number((i * 7919 % 32767) * 0.001 - 16.0);
    return values;
}

const ExtremeCase kExtremeCases[] = {
    {"Subnormal", {QStringLiteral("1e-320"), QStringLiteral("2e-320"), QStringLiteral("3e-320")},
     {}, {}, true},
    {"OneValueNearDoubleLimit", {QStringLiteral("1.7e306")}, {}, {}, true},
    {"HugeBesideTiny",
     {QStringLiteral("1e150"), QStringLiteral("1e-320"), QStringLiteral("-1e150")},
     QStringLiteral("1e308"), QStringLiteral("-1e308"), false},
    {"ToleranceAtBothEnds", {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")},
     QStringLiteral("1.79e308"), QStringLiteral("-1.79e308"), false},
    {"NegativeZero", {QStringLiteral("-0"), QStringLiteral("0")}, {}, {}, true},
    {"FullList", fullList(), QStringLiteral("10"), QStringLiteral("-10"), true},
};

INSTANTIATE_TEST_SUITE_P(Table, ChartExtremeTest, testing::ValuesIn(kExtremeCases), RowName());


// ---- control charts ----------------------------------------------------------------

QStringList listed(const ChartWindow *chart)
{
    QStringList lines;
    auto *list = child<QListWidget>(chart, names::kSignalList);
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

// Values 1 to 9 lie below the centre line (test 2 at the 9th), the last far
// above the upper limit on both charts (test 1 at the 19th).
const QStringList kTrippingValues{
    QStringLiteral("10"), QStringLiteral("12"), QStringLiteral("11"), QStringLiteral("13"),
    QStringLiteral("12"), QStringLiteral("11"), QStringLiteral("10"), QStringLiteral("12"),
    QStringLiteral("11"), QStringLiteral("14"), QStringLiteral("13"), QStringLiteral("14"),
    QStringLiteral("13"), QStringLiteral("14"), QStringLiteral("13"), QStringLiteral("14"),
    QStringLiteral("13"), QStringLiteral("14"), QStringLiteral("30")};

struct ChartTypeCase
{
    const char *name;
    QStringList values;
    ChartType type;
    int subgroupSize;
    QString note;        // what the note above the control charts says
    QStringList listedSignals; // the list 「異常の判定」
};

void PrintTo(const ChartTypeCase &c, std::ostream *out) { *out << c.name; }

class ChartTypeTest : public ChartWindowTest, public testing::WithParamInterface<ChartTypeCase>
{};

TEST_P(ChartTypeTest, ShowsTheChartOrWhyNot)
{
    const ChartTypeCase &c = GetParam();
    enterEach(c.values);
    calculate(QStringLiteral("3σ"));
    ChartWindow *chart = open();
    ASSERT_NE(chart, nullptr);
    chart->setSubgroupSize(c.subgroupSize);
    chart->setChartType(c.type);
    auto *type = child<QComboBox>(chart, names::kChartTypeBox);
    EXPECT_EQ(type->currentIndex(), static_cast<int>(c.type));
    EXPECT_EQ(child<QSpinBox>(chart, names::kSubgroupSizeBox)->isEnabled(),
              c.type == ChartType::MeansRanges);
    EXPECT_EQ(child<QStackedWidget>(chart, names::kChartStack)->currentIndex(),
              c.type == ChartType::Run ? 0 : 1);
    EXPECT_EQ(chart->shown()->control.has_value(), c.type != ChartType::Run);
    EXPECT_EQ(child<QLabel>(chart, names::kControlNote)->text(), c.note);
    EXPECT_EQ(listed(chart), c.listedSignals);
    if (!c.note.isEmpty() && c.listedSignals.isEmpty()) { // refused: the chart says why
        EXPECT_EQ(
            accessibleText(child<QWidget>(chart, names::kLocationChart), QAccessible::Description),
            c.note);
    }
    // Back to the run chart: nothing listed, nothing formed.
    type->setCurrentIndex(0);
    EXPECT_TRUE(listed(chart).isEmpty());
    EXPECT_FALSE(chart->shown()->control.has_value());
}

const ChartTypeCase kChartTypeCases[] = {
    {"Run", kTrippingValues, ChartType::Run, 5, {}, {}},
    {"OneValue", {QStringLiteral("5")}, ChartType::IndividualsMovingRange, 5,
     QStringLiteral("X-Rs 管理図には値が 2 個以上必要です"), {}},
    {"NoSpread", {QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("5")},
     ChartType::IndividualsMovingRange, 5, QStringLiteral("ばらつきがないため管理限界を引けません"),
     {}},
    {"OneSubgroup",
     {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
      QStringLiteral("5"), QStringLiteral("6")},
     ChartType::MeansRanges, 5, QStringLiteral("X̄-R 管理図には 2 群 (値 10 個) 以上必要です"), {}},
    {"LeftOut",
     {QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("4"),
      QStringLiteral("6"), QStringLiteral("5"), QStringLiteral("7")},
     ChartType::MeansRanges, 3, QStringLiteral("群にそろわない最後の値 1 個は除きました"),
     {QStringLiteral("異常の判定に当たる点はありません。")}},
    {"TripsTests1And2", kTrippingValues, ChartType::IndividualsMovingRange, 5, {},
     {QStringLiteral("X 管理図 9 番目 11: 判定 2 中心線の片側に 9 点連続"),
      QStringLiteral("X 管理図 19 番目 30: 判定 1 管理限界の外"),
      QStringLiteral("Rs 管理図 19 番目 16: 判定 1 管理限界の外")}},
};

INSTANTIATE_TEST_SUITE_P(Table, ChartTypeTest, testing::ValuesIn(kChartTypeCases), RowName());

class ControlChartTest : public ChartWindowTest
{
protected:
    /// The X-Rs chart of kTrippingValues.
    ChartWindow *openTripping()
    {
        enterEach(kTrippingValues);
        calculate(QStringLiteral("3σ"));
        ChartWindow *chart = open();
        if (chart)
            chart->setChartType(ChartType::IndividualsMovingRange);
        return chart;
    }
};

bool anyPointTrips(const ChartWindow *chart, int test)
{
    const auto &location = chart->shown()->controlChart()->location;
    return std::any_of(location.trippedTests.begin(), location.trippedTests.end(),
                       [test](const stats::SpecialCauseTests &t) { return t.contains(test); });
}

// A test switched off marks no point and lists nothing, and stays off in the
// next window.
TEST_F(ControlChartTest, TestSwitchedOffStaysOff)
{
    ChartWindow *chart = openTripping();
    ASSERT_NE(chart, nullptr);
    ASSERT_TRUE(anyPointTrips(chart, 2));
    QTest::mouseClick(child<QCheckBox>(chart, testBoxName(2).c_str()), Qt::LeftButton);
    EXPECT_FALSE(anyPointTrips(chart, 2));
    EXPECT_TRUE(anyPointTrips(chart, 1));
    EXPECT_EQ(listed(chart).filter(QStringLiteral("判定 2")), QStringList());
    EXPECT_EQ(listed(chart).filter(QStringLiteral("判定 1")).size(), 2);
    chart->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    chart = open();
    ASSERT_NE(chart, nullptr);
    EXPECT_FALSE(child<QCheckBox>(chart, testBoxName(2).c_str())->isChecked());
    EXPECT_TRUE(child<QCheckBox>(chart, testBoxName(1).c_str())->isChecked());
    chart->setChartType(ChartType::IndividualsMovingRange);
    EXPECT_FALSE(anyPointTrips(chart, 2));
}

// The charts describe their lines and signals to a screen reader.
TEST_F(ControlChartTest, DescribeWhatTheyShow)
{
    ChartWindow *chart = openTripping();
    ASSERT_NE(chart, nullptr);
    const QString location =
        accessibleText(child<QWidget>(chart, names::kLocationChart), QAccessible::Description);
    EXPECT_TRUE(location.startsWith(QStringLiteral("X 管理図、点 19 個。上方管理限界 ")))
        << location.toStdString();
    EXPECT_TRUE(location.contains(QStringLiteral("異常の点 2 個: 9 番目 (判定 2)、19 番目 (判定 1)。")))
        << location.toStdString();
    const QString spread =
        accessibleText(child<QWidget>(chart, names::kSpreadChart), QAccessible::Description);
    EXPECT_TRUE(spread.startsWith(QStringLiteral("Rs 管理図、点 18 個。"))) << spread.toStdString();
    action("v11")->trigger(); // クリア
    EXPECT_TRUE(
        accessibleText(child<QWidget>(chart, names::kLocationChart), QAccessible::Description)
            .contains(QStringLiteral("演算開始")));
}

struct CapabilityFigureCase
{
    const char *name;
    QString upper, lower;
    const char *objectName;
    QString shown;
};

void PrintTo(const CapabilityFigureCase &c, std::ostream *out) { *out << c.name; }

class CapabilityFigureTest : public ChartWindowTest,
                             public testing::WithParamInterface<CapabilityFigureCase>
{};

// x̄ 130 and s 8 from 122, 130, 138.
TEST_P(CapabilityFigureTest, Shown)
{
    const CapabilityFigureCase &c = GetParam();
    enterEach({QStringLiteral("122"), QStringLiteral("130"), QStringLiteral("138")});
    calculate(QStringLiteral("3σ"));
    ChartWindow *chart = open();
    ASSERT_NE(chart, nullptr);
    if (!c.upper.isEmpty() || !c.lower.isEmpty())
        enterTolerance(chart, c.upper, c.lower);
    EXPECT_EQ(figure(chart, c.objectName), c.shown);
}

const CapabilityFigureCase kCapabilityFigureCases[] = {
    {"MeanWithoutTolerance", {}, {}, names::kMeanFigure, QStringLiteral("130.")},
    {"SWithoutTolerance", {}, {}, names::kSampleSigmaFigure, QStringLiteral("8.")},
    {"NoExpectedWithoutTolerance", {}, {}, names::kExpectedFigure, QString()},
    {"ExpectedBothSides", QStringLiteral("150"), QStringLiteral("100"), names::kExpectedFigure,
     QStringLiteral("計 6,298 ppm (0.63 %)・上 6,210 ppm (0.62 %)・下 88 ppm (0.01 %)")},
    {"ExpectedUpperOnly",
     QStringLiteral("150"),
     {},
     names::kExpectedFigure,
     QStringLiteral("上 6,210 ppm (0.62 %)")},
    {"ExpectedInverted", QStringLiteral("100"), QStringLiteral("150"), names::kExpectedFigure,
     kDash},
};

INSTANTIATE_TEST_SUITE_P(Table, CapabilityFigureTest, testing::ValuesIn(kCapabilityFigureCases),
                         RowName());

// A name typed without a suffix gets the chosen type's before the dialog
// looks for a file to overwrite: the user is asked about グラフ.png.
TEST_F(ChartWindowTest, AsksBeforeOverwritingANameWithoutSuffix)
{
    enterEach({QStringLiteral("122"), QStringLiteral("130"), QStringLiteral("138")});
    calculate(QStringLiteral("3σ"));
    ChartWindow *chart = open();
    ASSERT_NE(chart, nullptr);
    QFile old(path(QStringLiteral("グラフ.png")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    {
        ModalAnswerer answerer({QMessageBox::Yes}, {path(QStringLiteral("グラフ"))});
        QTest::mouseClick(child<QPushButton>(chart, names::kSaveImageButton), Qt::LeftButton);
        ASSERT_EQ(answerer.boxes.size(), 1u);
        EXPECT_TRUE(answerer.boxes[0].text.contains(QStringLiteral("グラフ.png")))
            << answerer.boxes[0].text.toStdString();
    }
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_TRUE(old.readAll().startsWith("\x89PNG"));
}

// PDF に保存 writes a one-page PDF record of the chart shown.
TEST_F(ChartWindowTest, SavesTheRecordAsPdf)
{
    enterEach(kTrippingValues);
    calculate(QStringLiteral("3σ"));
    ChartWindow *chart = open();
    ASSERT_NE(chart, nullptr);
    chart->setChartType(ChartType::MeansRanges);
    const QString file = path(QStringLiteral("記録"));
    {
        ModalAnswerer answerer({}, {file});
        QTest::mouseClick(child<QPushButton>(chart, names::kSaveRecordButton), Qt::LeftButton);
        EXPECT_TRUE(answerer.boxes.empty()) << answerer.boxTexts().join('\n').toStdString();
    }
    QFile saved(file + QStringLiteral(".pdf"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 1);
}

// 用紙 turns the record's pages, and the next chart window (and the next
// run) starts with the paper last chosen.
TEST_F(ChartWindowTest, PaperChosenTurnsTheRecordAndIsKept)
{
    enterEach({QStringLiteral("25.01"), QStringLiteral("25.03"), QStringLiteral("24.98")});
    calculate(QStringLiteral("3σ"));
    ChartWindow *chart = open();
    ASSERT_NE(chart, nullptr);
    auto *paper = child<QComboBox>(chart, names::kPaperBox);
    EXPECT_EQ(paper->currentText(), QStringLiteral("A4 横"));
    paper->setFocus();
    QTest::keyClick(paper, Qt::Key_Down);
    ASSERT_EQ(paper->currentText(), QStringLiteral("A4 縦"));
    const QString file = path(QStringLiteral("縦.pdf"));
    ASSERT_EQ(chart->saveRecord(file), QString());
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("/MediaBox [0 0 595.000000 842.000000]"));

    chart->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ChartWindow *again = open();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(child<QComboBox>(again, names::kPaperBox)->currentText(), QStringLiteral("A4 縦"));
}

} // namespace

namespace {

std::shared_ptr<const stats::StatisticsFigures> figuresOf(const std::vector<std::string> &items)
{
    return std::make_shared<const stats::StatisticsFigures>(
        std::get<stats::StatisticsFigures>(stats::calculateFigures(items, "3σ")));
}

QString pdfText(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput())
        .normalized(QString::NormalizationForm_KC);
}

// The record says when the list changed since it was opened or saved.
TEST_F(ChartWindowTest, RecordOfAnEditedListSaysSo)
{
    SKIP_UNDER_WINE(kNoPdfReader);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed (poppler-utils)";
    ChartWindow chart;
    chart.setFigures(figuresOf({"122", "130", "138"}));
    chart.setSourceName(path(QStringLiteral("径.txt")));
    const QString unchanged = path(QStringLiteral("unchanged.pdf"));
    ASSERT_EQ(chart.saveRecord(unchanged), QString());
    chart.setUnsavedChanges(true);
    const QString edited = path(QStringLiteral("edited.pdf"));
    ASSERT_EQ(chart.saveRecord(edited), QString());

    const QString mark = QStringLiteral("未保存の変更あり").normalized(QString::NormalizationForm_KC);
    EXPECT_FALSE(pdfText(unchanged).contains(mark));
    const QString text = pdfText(edited);
    EXPECT_TRUE(text.contains(mark)) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("径.txt").normalized(QString::NormalizationForm_KC)));
}

// Items that hold no number are not drawn, and the window says which.
TEST_F(ChartWindowTest, ItemsWithoutNumberAreLeftOutAndNamed)
{
    ChartWindow chart;
    chart.setFigures(figuresOf({"25.02", "abc", "24.98", "-"}), {1, 3});
    ASSERT_NE(chart.shown(), nullptr);
    EXPECT_EQ(chart.shown()->data.points.size(), 2u);
    auto *note = child<QLabel>(&chart, names::kListNote);
    EXPECT_FALSE(note->isHidden());
    EXPECT_EQ(note->text(), QStringLiteral("数値でない 2 項目（2 番目, 4 番目）はグラフから除きました"));
    chart.setFigures(figuresOf({"25.02", "24.98"}));
    EXPECT_TRUE(note->isHidden());
}

// After the list changes, the window says its charts are older, until the
// next calculation.
TEST_F(ChartWindowTest, SaysWhenTheListChangedSince)
{
    ChartWindow chart;
    auto *note = child<QLabel>(&chart, names::kListNote);
    chart.setListChanged(true); // nothing calculated yet: nothing is older
    EXPECT_TRUE(note->isHidden());
    chart.setFigures(figuresOf({"1", "2", "3"}));
    chart.setListChanged(true);
    EXPECT_FALSE(note->isHidden());
    EXPECT_EQ(note->text(), QStringLiteral("一覧が変わりました。演算開始で更新します"));
    chart.setFigures(figuresOf({"1", "2", "3", "4"}));
    EXPECT_TRUE(note->isHidden());
}

} // namespace
