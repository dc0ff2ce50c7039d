#include "chart/ChartWindow.h"

#include "chart/ChartNames.h"
#include "chart/ChartPicture.h"
#include "chart/ChartRecord.h"
#include "chart/RecordPaper.h"
#include "chart/ChartTexts.h"
#include "chart/ChartViews.h"
#include "stats/NumberText.h"
#include "ui/DefaultFont.h"
#include "ui/FileDialog.h"
#include "ui/FitText.h"
#include "ui/Utf8.h"
#include "ui/Widgets.h"
#include "ui/WindowGeometry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <string>

namespace names = chart::names;

namespace {

const QString kTitle = QStringLiteral("グラフ");
const QString kSaveTitle = QStringLiteral("画像を保存");
const QString kPdfFilter = QStringLiteral("PDF 文書 (*.pdf)");

/// The 用紙 box's items, in this order.
constexpr QPageLayout::Orientation kPapers[] = {QPageLayout::Landscape, QPageLayout::Portrait};

QString testKey(int test)
{
    return QStringLiteral("chart/specialCause%1").arg(test);
}

using ui::fromUtf8;
using ui::toUtf8;

/// The tolerance a box's reading gives: none for an empty box.
std::optional<double> givenLimit(const stats::ToleranceReading &reading)
{
    return reading.entry == stats::ToleranceEntry::Number ? std::optional(reading.value)
                                                          : std::nullopt;
}

} // namespace

ChartWindow::ChartWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QLatin1String(names::kWindow));
    setAttribute(Qt::WA_DeleteOnClose);
    // Only the main window's closing ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(ui::vorlaDefaultFont());
    createControls();
    loadWindow();
}

ChartWindow::~ChartWindow() = default;

// ---- the controls -----------------------------------------------------------

void ChartWindow::createControls()
{
    QBoxLayout *toleranceRow = createToleranceRow();
    QBoxLayout *chartTypeRow = createChartTypeRow();
    // The figures stand in a column beside the charts, so the window stays
    // low enough for a laptop screen at 200 % scaling.
    auto *body = new QHBoxLayout;
    body->addWidget(createCharts(), 1);
    body->addLayout(createSidePanel());
    m_listNote = ui::hiddenNote(names::kListNote);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(toleranceRow);
    layout->addLayout(chartTypeRow);
    layout->addWidget(m_listNote);
    layout->addLayout(body, 1);
    layout->addWidget(createCapabilityNote());
    setTabOrders();
    connectControls();
}

void ChartWindow::setTabOrders()
{
    QList<QWidget *> order{m_upperToleranceBox, m_lowerToleranceBox, m_applyButton,
                           m_saveImageButton,   m_chartTypeBox,      m_subgroupSizeBox,
                           m_paperBox,          m_printButton,       m_saveRecordButton};
    order.append(QList<QWidget *>(m_testBoxes.begin(), m_testBoxes.end()));
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void ChartWindow::connectControls()
{
    connect(m_upperToleranceBox, &QLineEdit::returnPressed, this, &ChartWindow::applyTolerance);
    connect(m_lowerToleranceBox, &QLineEdit::returnPressed, this, &ChartWindow::applyTolerance);
    connect(m_applyButton, &QPushButton::clicked, this, &ChartWindow::applyTolerance);
    connect(m_saveImageButton, &QPushButton::clicked, this, &ChartWindow::saveImageFromDialog);
    connect(m_chartTypeBox, &QComboBox::currentIndexChanged, this, &ChartWindow::showChosenType);
    connect(m_subgroupSizeBox, &QSpinBox::valueChanged, this, &ChartWindow::showChosenType);
    connect(m_paperBox, &QComboBox::activated, this, &ChartWindow::choosePaper);
    connect(m_printButton, &QPushButton::clicked, this, &ChartWindow::printRecord);
    connect(m_saveRecordButton, &QPushButton::clicked, this, &ChartWindow::saveRecordFromDialog);
    for (QCheckBox *box : m_testBoxes)
        connect(box, &QCheckBox::toggled, this, &ChartWindow::switchTests);
}

/// The tolerance boxes with their 適用 button, and 画像を保存 at the far end.
QBoxLayout *ChartWindow::createToleranceRow()
{
    // Wide enough for a measured value at any scaling; they grow with the font.
    const int boxWidth = QFontMetrics(font()).horizontalAdvance(QStringLiteral("-0000000.0000"));
    m_upperToleranceBox =
        ui::namedLineEdit(names::kUpperToleranceBox, QStringLiteral("規格上限"), boxWidth);
    m_lowerToleranceBox =
        ui::namedLineEdit(names::kLowerToleranceBox, QStringLiteral("規格下限"), boxWidth);
    m_applyButton = ui::namedButton(QStringLiteral("適用(&A)"), names::kApplyButton,
                                    QStringLiteral("規格を適用"));
    m_saveImageButton =
        ui::namedButton(QStringLiteral("画像を保存(&S)..."), names::kSaveImageButton, kSaveTitle);

    auto *row = new QHBoxLayout;
    row->addWidget(ui::buddyCaption(QStringLiteral("規格上限(&U):"), m_upperToleranceBox));
    row->addWidget(m_upperToleranceBox);
    row->addSpacing(12);
    row->addWidget(ui::buddyCaption(QStringLiteral("規格下限(&L):"), m_lowerToleranceBox));
    row->addWidget(m_lowerToleranceBox);
    row->addWidget(m_applyButton);
    row->addStretch(1);
    row->addWidget(m_saveImageButton);
    return row;
}

/// 「グラフの種類」 and 「群の大きさ」, and the record's paper and two buttons at
/// the far end.
QBoxLayout *ChartWindow::createChartTypeRow()
{
    m_chartTypeBox = new QComboBox;
    m_chartTypeBox->setObjectName(QLatin1String(names::kChartTypeBox));
    m_chartTypeBox->setAccessibleName(QStringLiteral("グラフの種類"));
    // In the order of stats::ChartType, which the index stands for.
    for (const stats::ChartType type : {stats::ChartType::Run,
                                        stats::ChartType::IndividualsMovingRange,
                                        stats::ChartType::MeansRanges})
        m_chartTypeBox->addItem(fromUtf8(chart::chartTypeName(type)));
    m_subgroupSizeBox = new QSpinBox;
    m_subgroupSizeBox->setObjectName(QLatin1String(names::kSubgroupSizeBox));
    m_subgroupSizeBox->setAccessibleName(QStringLiteral("群の大きさ"));
    m_subgroupSizeBox->setRange(2, 10);
    m_subgroupSizeBox->setValue(5);
    m_subgroupSizeBox->setEnabled(false);
    m_paperBox = new QComboBox;
    m_paperBox->setObjectName(QLatin1String(names::kPaperBox));
    m_paperBox->setAccessibleName(QStringLiteral("記録の用紙"));
    m_paperBox->addItems({QStringLiteral("A4 横"), QStringLiteral("A4 縦")});
    m_paperBox->setCurrentIndex(chart::savedRecordOrientation() == QPageLayout::Portrait ? 1 : 0);
    m_printButton = ui::namedButton(QStringLiteral("印刷(&P)"), names::kPrintButton,
                                    QStringLiteral("記録を印刷"));
    m_saveRecordButton =
        ui::namedButton(QStringLiteral("PDF に保存(&D)..."), names::kSaveRecordButton,
                        QStringLiteral("記録を PDF に保存"));
    auto *row = new QHBoxLayout;
    row->addWidget(ui::buddyCaption(QStringLiteral("グラフの種類(&K):"), m_chartTypeBox));
    row->addWidget(m_chartTypeBox);
    row->addSpacing(12);
    row->addWidget(ui::buddyCaption(QStringLiteral("群の大きさ(&N):"), m_subgroupSizeBox));
    row->addWidget(m_subgroupSizeBox);
    row->addStretch(1);
    row->addWidget(ui::buddyCaption(QStringLiteral("用紙(&O):"), m_paperBox));
    row->addWidget(m_paperBox);
    row->addWidget(m_printButton);
    row->addWidget(m_saveRecordButton);
    return row;
}

/// The run chart (or the control chart in its place) above the histogram,
/// sharing the height.
QWidget *ChartWindow::createCharts()
{
    auto *area = new QWidget;
    m_runChart = new RunChartView;
    m_histogram = new HistogramView;
    m_chartStack = new QStackedWidget;
    m_chartStack->setObjectName(QLatin1String(names::kChartStack));
    m_chartStack->addWidget(m_runChart);
    m_chartStack->addWidget(createControlCharts());
    auto *charts = new QVBoxLayout(area);
    charts->setContentsMargins(0, 0, 0, 0);
    charts->addWidget(m_chartStack, 1);
    charts->addWidget(m_histogram, 1);
    return area;
}

/// The location chart above the spread chart, under a note that says why
/// there is no chart or which values were left out.
QWidget *ChartWindow::createControlCharts()
{
    m_controlNote = ui::hiddenNote(names::kControlNote);
    m_locationChart = new ControlChartView(names::kLocationChart, QStringLiteral("管理図 (位置)"));
    m_spreadChart = new ControlChartView(names::kSpreadChart, QStringLiteral("管理図 (ばらつき)"));
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_controlNote);
    layout->addWidget(m_locationChart, 3);
    layout->addWidget(m_spreadChart, 2);
    return page;
}

/// The figures over the signals and the tests' switches.
QLayout *ChartWindow::createSidePanel()
{
    auto *side = new QVBoxLayout;
    side->addWidget(createFiguresPanel());
    side->addWidget(createSignalPanel(), 1);
    side->addWidget(createTestSwitches());
    return side;
}

/// 「異常の判定」: a caption over the list of signals.
QWidget *ChartWindow::createSignalPanel()
{
    auto *panel = new QWidget;
    m_signalList = new QListWidget;
    m_signalList->setObjectName(QLatin1String(names::kSignalList));
    m_signalList->setAccessibleName(QStringLiteral("異常の判定"));
    m_signalList->setMinimumHeight(QFontMetrics(font()).height() * 4);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ui::buddyCaption(QStringLiteral("異常の判定(&J):"), m_signalList));
    layout->addWidget(m_signalList, 1);
    return panel;
}

/// A check box for each test, in two columns, as the user last left them.
QWidget *ChartWindow::createTestSwitches()
{
    auto *group = new QGroupBox(QStringLiteral("判定に使う規則"));
    auto *grid = new QGridLayout(group);
    const QSettings settings = chart::vorlaSettings();
    for (int test = 1; test <= stats::SpecialCauseTests::kCount; ++test) {
        const QString name =
            QStringLiteral("%1 %2").arg(test).arg(fromUtf8(stats::specialCauseName(test)));
        auto *box = new QCheckBox(name);
        box->setObjectName(QLatin1String(names::kTestBoxPrefix) + QString::number(test));
        box->setAccessibleName(name);
        box->setChecked(settings.value(testKey(test), true).toBool());
        grid->addWidget(box, (test - 1) % 4, (test - 1) / 4);
        m_testBoxes[static_cast<std::size_t>(test - 1)] = box;
    }
    return group;
}

/// The figures, one captioned read-only box each, and a note below them.
QWidget *ChartWindow::createFiguresPanel()
{
    auto *panel = new QFrame;
    panel->setObjectName(QLatin1String(names::kFiguresPanel));
    panel->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(panel);
    const int boxWidth =
        QFontMetrics(font()).horizontalAdvance(QStringLiteral("上 000 個 (00 %)・下 000 個 (00 %)"));
    for (const chart::FigureText &figure : chart::figureTexts(nullptr)) {
        const QString caption = fromUtf8(figure.caption);
        auto *label = new QLabel(caption);
        // A read-only box, like the main window's result boxes: a screen
        // reader reads its caption as the name and the figure as the value.
        auto *value = new QLineEdit;
        value->setObjectName(QLatin1String(figure.name));
        value->setAccessibleName(caption);
        value->setReadOnly(true);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(boxWidth);
        if (figure.name == names::kCpFigure || figure.name == names::kCpkFigure) {
            QFont strong = value->font();
            strong.setBold(true);
            value->setFont(strong);
        }
        label->setBuddy(value);
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(value, row, 1);
        m_figureBoxes.push_back(value);
    }
    m_figureNote = new QLabel;
    m_figureNote->setObjectName(QLatin1String(names::kFigureNote));
    m_figureNote->setWordWrap(true);
    grid->addWidget(m_figureNote, grid->rowCount(), 0, 1, 2);
    grid->setRowStretch(grid->rowCount(), 1);
    return panel;
}

/// How Cp and Cpk are worked out, under everything.
QLabel *ChartWindow::createCapabilityNote()
{
    auto *note = new QLabel(QStringLiteral(
        "Cp = (規格上限 − 規格下限) ÷ 6s　　Cpk = min(規格上限 − x̄, x̄ − 規格下限) ÷ 3s\n"
        "s は標本標準偏差 (分母 n − 1)、x̄ は平均です。規格が片側だけのときは Cp を求めず、"
        "Cpk はその側の値です。値は小数第 3 位を四捨五入して 2 桁で示します。\n"
        "規格の欄は空欄にできます。数値として読めない文字は受け付けません (0 とは読みません)。"));
    note->setObjectName(QLatin1String(names::kCapabilityNote));
    note->setWordWrap(true);
    return note;
}

void ChartWindow::loadWindow()
{
    setWindowTitle(kTitle);
    QSize wanted(1000, 760);
    if (const QScreen *display = screen())
        wanted = wanted.boundedTo(display->availableGeometry().size() * 9 / 10);
    resize(wanted.expandedTo(minimumSizeHint()));
    ui::centreOnScreen(*this);
    redraw();
    m_upperToleranceBox->setFocus();
}

// ---- what the window is given -------------------------------------------------

void ChartWindow::setFigures(std::shared_ptr<const stats::StatisticsFigures> figures,
                             std::vector<std::size_t> withoutNumber)
{
    m_figures = std::move(figures);
    m_withoutNumber = std::move(withoutNumber);
    m_listChanged = false;
    redraw();
}

void ChartWindow::setChartType(stats::ChartType type)
{
    m_chartTypeBox->setCurrentIndex(static_cast<int>(type));
}

void ChartWindow::setSubgroupSize(int n)
{
    m_subgroupSizeBox->setValue(n); // the box keeps it within 2..10
}

void ChartWindow::setTolerance(const stats::Tolerance &limits)
{
    const auto limitText = [](const std::optional<double> &limit) {
        return limit ? fromUtf8(stats::numberToText(*limit)) : QString();
    };
    m_upperToleranceBox->setText(limitText(limits.upper));
    m_lowerToleranceBox->setText(limitText(limits.lower));
    m_tolerance = limits;
    redraw();
}

void ChartWindow::setSourceName(const QString &name)
{
    m_sourceName = name;
}

void ChartWindow::setUnsavedChanges(bool unsaved)
{
    m_unsavedChanges = unsaved;
}

void ChartWindow::setListChanged(bool changed)
{
    m_listChanged = changed;
    showListNote();
}

/// That the list changed since, and which items the charts left out.
void ChartWindow::showListNote()
{
    QStringList lines;
    if (m_listChanged && m_figures)
        lines << QStringLiteral("一覧が変わりました。演算開始で更新します");
    if (m_shown && !m_shown->withoutNumber.empty())
        lines << fromUtf8(stats::notNumberNote(m_shown->withoutNumber, 20));
    showNote(m_listNote, lines.join(QLatin1Char('\n')));
}

// ---- the handlers -------------------------------------------------------------

void ChartWindow::applyTolerance()
{
    const stats::ToleranceReading upper =
        stats::readToleranceLimit(toUtf8(m_upperToleranceBox->text()));
    const stats::ToleranceReading lower =
        stats::readToleranceLimit(toUtf8(m_lowerToleranceBox->text()));
    for (const auto &[reading, box, name] :
         {std::tuple(upper, m_upperToleranceBox, QStringLiteral("規格上限")),
          std::tuple(lower, m_lowerToleranceBox, QStringLiteral("規格下限"))}) {
        if (reading.entry == stats::ToleranceEntry::NotNumber) {
            QMessageBox::warning(this, kTitle,
                                 QStringLiteral("%1の「%2」は数値として読めません。\n数値を入れるか"
                                                "空欄にしてください。規格は前のままです。")
                                     .arg(name, ui::shortened(box->text())));
            box->setFocus();
            box->selectAll();
            return;
        }
    }
    m_tolerance = {givenLimit(upper), givenLimit(lower)};
    redraw();
}

void ChartWindow::saveImageFromDialog()
{
    ui::FileDialog dialog;
    dialog.setTitle(kSaveTitle);
    dialog.setFilter(QStringLiteral("PNG 画像 (*.png)|*.png|") + kPdfFilter +
                     QStringLiteral("|*.pdf|"));
    dialog.setInitDir(QDir::homePath());
    dialog.setFileName(QDir::home().filePath(QStringLiteral("グラフ.png")));
    // A name typed without a suffix takes the chosen type's before the
    // dialog looks for a file to overwrite, so the user is asked about it.
    dialog.setSuffixFollowsFilter(true);
    if (!dialog.showSave(this))
        return;
    const QString path = dialog.fileName();
    const QString failure = saveImage(path);
    if (!failure.isEmpty())
        QMessageBox::warning(this, kSaveTitle,
                             QStringLiteral("ファイル「%1」に保存できませんでした。\n%2")
                                 .arg(QDir::toNativeSeparators(path), failure));
}

/// Keeps the tests switched on for the next run, and marks again.
void ChartWindow::switchTests()
{
    QSettings settings = chart::vorlaSettings();
    for (int test = 1; test <= stats::SpecialCauseTests::kCount; ++test)
        settings.setValue(testKey(test),
                          m_testBoxes[static_cast<std::size_t>(test - 1)]->isChecked());
    redraw();
}

void ChartWindow::showChosenType()
{
    m_subgroupSizeBox->setEnabled(m_chartTypeBox->currentIndex() ==
                                  static_cast<int>(stats::ChartType::MeansRanges));
    redraw();
}

/// Keeps the paper for the records of both windows and the next run.
void ChartWindow::choosePaper()
{
    chart::saveRecordOrientation(recordOrientation());
}

void ChartWindow::printRecord()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    QPrinter printer(info, QPrinter::HighResolution);
    if (info.isNull() || !printer.isValid()) {
        QMessageBox::warning(this, chart::recordTitle(),
                             QStringLiteral("使えるプリンターがありません。\n"
                                            "「PDF に保存」で記録を PDF にできます。"));
        return;
    }
    const QString failure =
        chart::printRecord(printer, m_shown.get(), recordSource(), recordOrientation());
    if (!failure.isEmpty())
        QMessageBox::warning(this, chart::recordTitle(), failure);
}

void ChartWindow::saveRecordFromDialog()
{
    ui::FileDialog dialog;
    dialog.setTitle(chart::recordTitle());
    dialog.setFilter(kPdfFilter + QStringLiteral("|*.pdf|"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setInitDir(QDir::homePath());
    dialog.setFileName(recordFileName());
    if (!dialog.showSave(this))
        return;
    const QString failure = saveRecord(dialog.fileName());
    if (!failure.isEmpty())
        QMessageBox::warning(this, chart::recordTitle(),
                             QStringLiteral("ファイル「%1」に保存できませんでした。\n%2")
                                 .arg(QDir::toNativeSeparators(dialog.fileName()), failure));
}

/// The record's default name: the data file's, with .pdf for its suffix,
/// beside it; 「グラフの記録.pdf」 at home for a list never saved.
QString ChartWindow::recordFileName() const
{
    if (m_sourceName.isEmpty())
        return QDir::home().filePath(chart::recordTitle() + QStringLiteral(".pdf"));
    const QFileInfo source(m_sourceName);
    return source.dir().filePath(source.completeBaseName() + QStringLiteral(".pdf"));
}

// ---- the picture and the record -------------------------------------------------

QImage ChartWindow::picture() const
{
    return chart::chartPicture(m_shown.get(), {m_sourceName, chart::writtenNow()},
                               devicePixelRatioF());
}

QString ChartWindow::saveImage(const QString &path) const
{
    return chart::savePicture(path, picture());
}

QString ChartWindow::saveRecord(const QString &path) const
{
    return chart::saveRecordPdf(path, m_shown.get(), recordSource(), recordOrientation());
}

QPageLayout::Orientation ChartWindow::recordOrientation() const
{
    return kPapers[m_paperBox->currentIndex() == 1 ? 1 : 0];
}

chart::RecordSource ChartWindow::recordSource() const
{
    return {toUtf8(m_sourceName), m_unsavedChanges, toUtf8(chart::writtenNow())};
}

// ---- what the window shows ------------------------------------------------------

stats::ChartRequest ChartWindow::request() const
{
    stats::ChartRequest request;
    request.type = static_cast<stats::ChartType>(m_chartTypeBox->currentIndex());
    request.subgroupSize = m_subgroupSizeBox->value();
    request.tolerance = m_tolerance;
    request.tests = {};
    for (int test = 1; test <= stats::SpecialCauseTests::kCount; ++test)
        if (m_testBoxes[static_cast<std::size_t>(test - 1)]->isChecked())
            request.tests.add(test);
    return request;
}

/// Asks the core for everything shown, and shows it.
void ChartWindow::redraw()
{
    m_shown = m_figures ? std::make_shared<const stats::ChartContent>(
                              stats::chartContent(*m_figures, request(), m_withoutNumber))
                        : nullptr;
    m_runChart->setContent(m_shown);
    m_histogram->setContent(m_shown);
    m_chartStack->setCurrentIndex(
        m_chartTypeBox->currentIndex() == static_cast<int>(stats::ChartType::Run) ? 0 : 1);
    showControlChart();
    showSignals();
    showFigures();
    showListNote();
}

/// The two charts, or why there are none; the note says which values were
/// left out of the subgroups.
void ChartWindow::showControlChart()
{
    const stats::ControlChart *chart = m_shown ? m_shown->controlChart() : nullptr;
    if (!chart) {
        const stats::NoControlChart *refused = m_shown ? m_shown->refusal() : nullptr;
        const QString why = refused ? fromUtf8(refused->reason) : emptyChartText();
        m_locationChart->setMessage(m_chartTypeBox->currentText(), why);
        m_spreadChart->setMessage(QString(), QString());
        showNote(m_controlNote, refused ? why : QString());
        return;
    }
    // Each view shares the content it draws a part of.
    m_locationChart->setSeries(
        std::shared_ptr<const stats::ControlSeries>(m_shown, &chart->location),
        m_shown->toleranceLines);
    m_spreadChart->setSeries(std::shared_ptr<const stats::ControlSeries>(m_shown, &chart->spread));
    showNote(m_controlNote, fromUtf8(chart->leftOutNote));
}

void ChartWindow::showNote(QLabel *note, const QString &text)
{
    note->setText(text);
    note->setHidden(text.isEmpty());
}

void ChartWindow::showSignals()
{
    m_signalList->clear();
    if (const stats::ControlChart *chart = m_shown ? m_shown->controlChart() : nullptr)
        for (const std::string &line : chart::specialCauseLines(*chart))
            m_signalList->addItem(fromUtf8(line));
}

void ChartWindow::showFigures()
{
    const std::vector<chart::FigureText> figures = chart::figureTexts(m_shown.get());
    for (std::size_t i = 0; i < figures.size(); ++i) {
        QLineEdit *box = m_figureBoxes[i];
        box->setText(fromUtf8(figures[i].value));
        box->setCursorPosition(0); // a figure wider than its box shows its first digits
        if (figures[i].name == names::kExpectedFigure)
            box->setToolTip(box->text());
    }
    m_figureNote->setText(fromUtf8(chart::figureNote(m_shown.get())));
}
