#include "chart/ChartWindow.h"

#include "chart/ChartTexts.h"
#include "chart/ChartViews.h"
#include "print/PdfPage.h"
#include "stats/NumberText.h"
#include "ui/DefaultFont.h"
#include "ui/FileDialog.h"
#include "ui/Utf8.h"
#include "ui/WindowGeometry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
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
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QSettings>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

namespace {

const QString kTitle = QStringLiteral("グラフ");
const QString kSaveTitle = QStringLiteral("画像を保存");
const QString kPdfFilter = QStringLiteral("PDF 文書 (*.pdf)");
const QString kRecordTitle = QStringLiteral("グラフの記録");
const QString kNoChartTitle = QStringLiteral("管理図");

/// Where the window keeps the tests the user switched off, between runs.
QSettings chartSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vorla"),
                     QStringLiteral("vorla"));
}

QString testKey(int test)
{
    return QStringLiteral("chart/specialCause%1").arg(test);
}

using ui::toUtf8;
using ui::fromUtf8;

// An entry may be long (a stray paste); its start is enough to recognise it,
// and the whole would stretch the message box far beyond the screen.
QString shortened(const QString &text)
{
    constexpr qsizetype kShownLength = 40;
    if (text.size() <= kShownLength)
        return text;
    return text.left(kShownLength) + QStringLiteral("…");
}

QLineEdit *toleranceBox(const char *name, const QString &accessibleName, int width)
{
    auto *box = new QLineEdit;
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(accessibleName);
    box->setMinimumWidth(width);
    return box;
}

QPushButton *button(const QString &caption, const char *name, const QString &accessibleName)
{
    auto *pushButton = new QPushButton(caption);
    pushButton->setObjectName(QLatin1String(name));
    pushButton->setAccessibleName(accessibleName);
    return pushButton;
}

/// A caption before its box, which its mnemonic focuses.
QLabel *caption(const QString &text, QWidget *box)
{
    auto *label = new QLabel(text);
    label->setBuddy(box);
    return label;
}

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
    setObjectName(QStringLiteral("ChartWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Only the main window's closing ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(vorlaDefaultFont());
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
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(toleranceRow);
    layout->addLayout(chartTypeRow);
    layout->addLayout(body, 1);
    layout->addWidget(createCapabilityNote());
    setTabOrders();
    connectControls();
}

void ChartWindow::setTabOrders()
{
    QList<QWidget *> order{m_upperToleranceBox, m_lowerToleranceBox, m_applyButton,
                           m_saveImageButton,   m_chartTypeBox,      m_subgroupSizeBox,
                           m_printButton,       m_saveRecordButton};
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
    m_upperToleranceBox = toleranceBox("Text1", QStringLiteral("規格上限"), boxWidth);
    m_lowerToleranceBox = toleranceBox("Text2", QStringLiteral("規格下限"), boxWidth);
    m_applyButton = button(QStringLiteral("適用(&A)"), "Command1", QStringLiteral("規格を適用"));
    m_saveImageButton = button(QStringLiteral("画像を保存(&S)..."), "Command2", kSaveTitle);

    auto *row = new QHBoxLayout;
    row->addWidget(caption(QStringLiteral("規格上限(&U):"), m_upperToleranceBox));
    row->addWidget(m_upperToleranceBox);
    row->addSpacing(12);
    row->addWidget(caption(QStringLiteral("規格下限(&L):"), m_lowerToleranceBox));
    row->addWidget(m_lowerToleranceBox);
    row->addWidget(m_applyButton);
    row->addStretch(1);
    row->addWidget(m_saveImageButton);
    return row;
}

/// 「グラフの種類」 and 「群の大きさ」, and the record's two buttons at the far end.
QBoxLayout *ChartWindow::createChartTypeRow()
{
    m_chartTypeBox = new QComboBox;
    m_chartTypeBox->setObjectName(QStringLiteral("chartType"));
    m_chartTypeBox->setAccessibleName(QStringLiteral("グラフの種類"));
    // In the order of ChartType, which the index stands for.
    m_chartTypeBox->addItems({QStringLiteral("推移"), QStringLiteral("X-Rs 管理図"),
                              QStringLiteral("X̄-R 管理図")});
    m_subgroupSizeBox = new QSpinBox;
    m_subgroupSizeBox->setObjectName(QStringLiteral("subgroupSize"));
    m_subgroupSizeBox->setAccessibleName(QStringLiteral("群の大きさ"));
    m_subgroupSizeBox->setRange(2, 10);
    m_subgroupSizeBox->setValue(5);
    m_subgroupSizeBox->setEnabled(false);
    m_printButton = button(QStringLiteral("印刷(&P)"), "printRecord", QStringLiteral("記録を印刷"));
    m_saveRecordButton = button(QStringLiteral("PDF に保存(&D)..."), "saveRecordPdf",
                                QStringLiteral("記録を PDF に保存"));
    auto *row = new QHBoxLayout;
    row->addWidget(caption(QStringLiteral("グラフの種類(&K):"), m_chartTypeBox));
    row->addWidget(m_chartTypeBox);
    row->addSpacing(12);
    row->addWidget(caption(QStringLiteral("群の大きさ(&N):"), m_subgroupSizeBox));
    row->addWidget(m_subgroupSizeBox);
    row->addStretch(1);
    row->addWidget(m_printButton);
    row->addWidget(m_saveRecordButton);
    return row;
}

/// The run chart (or the control chart in its place) above the histogram,
/// sharing the height.
QWidget *ChartWindow::createCharts()
{
    m_chartsArea = new QWidget;
    m_runChart = new RunChartView;
    m_histogram = new HistogramView;
    m_chartStack = new QStackedWidget;
    m_chartStack->setObjectName(QStringLiteral("chartStack"));
    m_chartStack->addWidget(m_runChart);
    m_chartStack->addWidget(createControlCharts());
    auto *charts = new QVBoxLayout(m_chartsArea);
    charts->setContentsMargins(0, 0, 0, 0);
    charts->addWidget(m_chartStack, 1);
    charts->addWidget(m_histogram, 1);
    return m_chartsArea;
}

/// The location chart above the spread chart, under a note that says why
/// there is no chart or which values were left out.
QWidget *ChartWindow::createControlCharts()
{
    m_controlNote = new QLabel;
    m_controlNote->setObjectName(QStringLiteral("controlNote"));
    m_controlNote->setWordWrap(true);
    m_locationChart = new ControlChartView(QStringLiteral("locationChart"),
                                           QStringLiteral("管理図 (位置)"));
    m_spreadChart = new ControlChartView(QStringLiteral("spreadChart"),
                                         QStringLiteral("管理図 (ばらつき)"));
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
    m_signalPanel = new QWidget;
    m_signalList = new QListWidget;
    m_signalList->setObjectName(QStringLiteral("signalList"));
    m_signalList->setAccessibleName(QStringLiteral("異常の判定"));
    m_signalList->setMinimumHeight(QFontMetrics(font()).height() * 4);
    auto *layout = new QVBoxLayout(m_signalPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(caption(QStringLiteral("異常の判定(&J):"), m_signalList));
    layout->addWidget(m_signalList, 1);
    return m_signalPanel;
}

/// A check box for each test, in two columns, as the user last left them.
QWidget *ChartWindow::createTestSwitches()
{
    auto *group = new QGroupBox(QStringLiteral("判定に使う規則"));
    auto *grid = new QGridLayout(group);
    const QSettings settings = chartSettings();
    for (int test = 1; test <= stats::SpecialCauseTests::kCount; ++test) {
        const QString name =
            QStringLiteral("%1 %2").arg(test).arg(fromUtf8(stats::specialCauseName(test)));
        auto *box = new QCheckBox(name);
        box->setObjectName(QStringLiteral("specialCause%1").arg(test));
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
    m_figuresPanel = panel;
    panel->setObjectName(QStringLiteral("figures"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(panel);
    m_countFigure = addFigure(grid, "figureCount", QStringLiteral("データ数 n"));
    m_meanFigure = addFigure(grid, "figureMean", QStringLiteral("平均 x̄"));
    m_sigmaFigure = addFigure(grid, "figureSigma", QStringLiteral("標準偏差 σ (分母 n)"));
    m_sampleSigmaFigure =
        addFigure(grid, "figureSampleSigma", QStringLiteral("標準偏差 s (分母 n−1)"));
    m_upperLimitFigure = addFigure(grid, "figureUpperLimit", QStringLiteral("上限"));
    m_lowerLimitFigure = addFigure(grid, "figureLowerLimit", QStringLiteral("下限"));
    m_beyondFigure = addFigure(grid, "figureBeyond", QStringLiteral("上限・下限をこえた数"));
    m_classesFigure = addFigure(grid, "figureClasses", QStringLiteral("級の数・幅 (測定単位)"));
    m_cpFigure = addFigure(grid, "figureCp", QStringLiteral("Cp"));
    m_cpkFigure = addFigure(grid, "figureCpk", QStringLiteral("Cpk"));
    m_outsideFigure = addFigure(grid, "figureOutside", QStringLiteral("規格外の数"));
    m_expectedFigure = addFigure(grid, "figureExpected", QStringLiteral("推定不良率"));
    QFont strong = m_cpFigure->font();
    strong.setBold(true);
    m_cpFigure->setFont(strong);
    m_cpkFigure->setFont(strong);
    m_figureNote = new QLabel;
    m_figureNote->setObjectName(QStringLiteral("figureNote"));
    m_figureNote->setWordWrap(true);
    grid->addWidget(m_figureNote, grid->rowCount(), 0, 1, 2);
    grid->setRowStretch(grid->rowCount(), 1);
    return panel;
}

QLineEdit *ChartWindow::addFigure(QGridLayout *grid, const char *name, const QString &caption)
{
    const int row = grid->rowCount();
    auto *label = new QLabel(caption);
    // A read-only box, like the main window's result boxes: a screen reader
    // reads its caption as the name and the figure as the value.
    auto *value = new QLineEdit;
    value->setObjectName(QLatin1String(name));
    value->setAccessibleName(caption);
    value->setReadOnly(true);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setMinimumWidth(
        QFontMetrics(font()).horizontalAdvance(QStringLiteral("上 000 個 (00 %)・下 000 個 (00 %)")));
    label->setBuddy(value);
    grid->addWidget(label, row, 0);
    grid->addWidget(value, row, 1);
    return value;
}

/// How Cp and Cpk are worked out, under everything.
QLabel *ChartWindow::createCapabilityNote()
{
    auto *note = new QLabel(QStringLiteral(
        "Cp = (規格上限 − 規格下限) ÷ 6s　　Cpk = min(規格上限 − x̄, x̄ − 規格下限) ÷ 3s\n"
        "s は標本標準偏差 (分母 n − 1)、x̄ は平均です。規格が片側だけのときは Cp を求めず、"
        "Cpk はその側の値です。値は小数第 3 位を四捨五入して 2 桁で示します。\n"
        "規格の欄は空欄にできます。数値として読めない文字は受け付けません (0 とは読みません)。"));
    note->setObjectName(QStringLiteral("Label3"));
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
    centreOnScreen(*this);
    refresh();
    m_upperToleranceBox->setFocus();
}

// ---- the handlers -------------------------------------------------------------

void ChartWindow::setFigures(std::shared_ptr<const stats::StatisticsFigures> figures)
{
    m_figures = std::move(figures);
    refresh();
}

void ChartWindow::setChartType(ChartType type)
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
    refresh();
}

void ChartWindow::setSourceName(const QString &name)
{
    m_sourceName = name;
}

/// The charts on the left and the figures over the signals on the right,
/// under a line naming the file and the date: what was charted, and when.
QImage ChartWindow::picture()
{
    if (!isVisible())
        layout()->activate(); // a window never shown has not placed its parts yet
    const int top = QFontMetrics(font()).height() + 8;
    const int gap = 8;
    const QSize right(std::max(m_figuresPanel->width(), m_signalPanel->width()),
                      m_figuresPanel->height() + gap + m_signalPanel->height());
    const QSize size(m_chartsArea->width() + gap + right.width(),
                     top + std::max(m_chartsArea->height(), right.height()));
    const qreal ratio = devicePixelRatioF();
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(palette().window().color());
    QPainter painter(&image);
    painter.setFont(font());
    painter.setPen(palette().windowText().color());
    painter.drawText(QRect(6, 0, size.width() - 12, top), Qt::AlignLeft | Qt::AlignVCenter,
                     pictureHeading());
    m_chartsArea->render(&painter, QPoint(0, top));
    const int left = m_chartsArea->width() + gap;
    m_figuresPanel->render(&painter, QPoint(left, top));
    m_signalPanel->render(&painter, QPoint(left, top + m_figuresPanel->height() + gap));
    return image;
}

QString ChartWindow::pictureHeading() const
{
    return QStringLiteral("ファイル: %1　　日時: %2")
        .arg(m_sourceName.isEmpty() ? QStringLiteral("未保存") : m_sourceName,
             QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd HH:mm")));
}

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
                                     .arg(name, shortened(box->text())));
            box->setFocus();
            box->selectAll();
            return;
        }
    }
    m_tolerance = {givenLimit(upper), givenLimit(lower)};
    refresh();
}

void ChartWindow::saveImageFromDialog()
{
    FileDialog dialog;
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

QString ChartWindow::saveImage(const QString &path)
{
    const QString type = QFileInfo(path).suffix().toLower();
    if (type != QLatin1String("png") && type != QLatin1String("pdf"))
        return QStringLiteral("ファイルの種類は .png か .pdf にしてください。");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (type == QLatin1String("png")) {
        if (!picture().save(&file, "PNG"))
            return QStringLiteral("画像を書き出せませんでした。");
    } else if (!writePdfPage(file, picture())) {
        return QStringLiteral("PDF を書き出せませんでした。");
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

/// One page of the picture's own size, one point to a pixel, so text and
/// lines stay sharp at any zoom.
bool ChartWindow::writePdfPage(QIODevice &file, const QImage &image)
{
    const QSizeF size = image.deviceIndependentSize();
    QPdfWriter pdf(&file);
    print::setUpPdfPage(pdf, {.size = QPageSize(size, QPageSize::Point, QString(),
                                                QPageSize::ExactMatch),
                              .resolution = 72,
                              .title = kTitle,
                              .creator = QStringLiteral("Vorla"),
                              .margins = QMarginsF(0, 0, 0, 0)});
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    painter.drawImage(QRectF(QPointF(0, 0), size), image);
    painter.end(); // a failed write shows in the file's commit
    return true;
}

// ---- the record ---------------------------------------------------------------

void ChartWindow::printRecord()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    QPrinter printer(info, QPrinter::HighResolution);
    if (info.isNull() || !printer.isValid()) {
        QMessageBox::warning(this, kRecordTitle,
                             QStringLiteral("使えるプリンターがありません。\n"
                                            "「PDF に保存」で記録を PDF にできます。"));
        return;
    }
    printer.setDocName(kRecordTitle);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&printer)) {
        QMessageBox::warning(this, kRecordTitle, QStringLiteral("プリンターに送れませんでした。"));
        return;
    }
    // The painter's origin is the printable area's top left.
    paintRecord(painter, QRectF(QPointF(0, 0),
                                printer.pageLayout().paintRectPixels(printer.resolution()).size()));
}

void ChartWindow::saveRecordFromDialog()
{
    FileDialog dialog;
    dialog.setTitle(kRecordTitle);
    dialog.setFilter(kPdfFilter + QStringLiteral("|*.pdf|"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setInitDir(QDir::homePath());
    dialog.setFileName(QDir::home().filePath(QStringLiteral("グラフの記録.pdf")));
    if (!dialog.showSave(this))
        return;
    const QString failure = saveRecord(dialog.fileName());
    if (!failure.isEmpty())
        QMessageBox::warning(this, kRecordTitle,
                             QStringLiteral("ファイル「%1」に保存できませんでした。\n%2")
                                 .arg(QDir::toNativeSeparators(dialog.fileName()), failure));
}

QString ChartWindow::saveRecord(const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    {
        QPdfWriter pdf(&file);
        print::setUpPdfPage(pdf, {.size = QPageSize(QPageSize::A4),
                                  .resolution = 300,
                                  .title = kRecordTitle,
                                  .creator = QStringLiteral("Vorla"),
                                  .margins = QMarginsF(36, 36, 36, 36)});
        pdf.setPageOrientation(QPageLayout::Landscape);
        QPainter painter;
        if (!painter.begin(&pdf))
            return QStringLiteral("PDF を書き出せませんでした。");
        paintRecord(painter, QRectF(QPointF(0, 0), pdf.pageLayout().paintRectPixels(300).size()));
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

/// The record's lines at the top of the page, the picture scaled into the
/// rest of it.
void ChartWindow::paintRecord(QPainter &painter, const QRectF &page)
{
    chart::RecordFacts facts;
    facts.sourceName = toUtf8(m_sourceName);
    facts.dateTime = toUtf8(QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd HH:mm")));
    facts.count = m_figures ? static_cast<std::int64_t>(m_figures->values.size()) : 0;
    facts.k = m_figures ? m_figures->k : 0.0;
    facts.tolerance = m_tolerance;
    facts.chartName = toUtf8(recordChartName());
    QFont text = font();
    text.setPointSizeF(10);
    painter.setFont(text);
    const qreal lineHeight = QFontMetricsF(text, painter.device()).height();
    qreal y = page.top();
    for (const std::string &line : chart::recordLines(facts)) {
        painter.drawText(QRectF(page.left(), y, page.width(), lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, fromUtf8(line));
        y += lineHeight;
    }
    const QImage image = picture();
    const QRectF room(page.left(), y + lineHeight / 2, page.width(), page.bottom() - y - lineHeight / 2);
    QSizeF fitted = image.deviceIndependentSize().scaled(room.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRectF(room.topLeft(), fitted), image);
}

QString ChartWindow::recordChartName() const
{
    if (currentChartType() != ChartType::MeansRanges)
        return m_chartTypeBox->currentText();
    return QStringLiteral("%1 (群の大きさ %2)")
        .arg(m_chartTypeBox->currentText())
        .arg(m_subgroupSizeBox->value());
}

// ---- what the window shows ------------------------------------------------------

void ChartWindow::showChosenType()
{
    m_subgroupSizeBox->setEnabled(currentChartType() == ChartType::MeansRanges);
    refresh();
}

/// Keeps the tests switched on for the next run, and marks again.
void ChartWindow::switchTests()
{
    QSettings settings = chartSettings();
    for (int test = 1; test <= stats::SpecialCauseTests::kCount; ++test)
        settings.setValue(testKey(test), m_testBoxes[static_cast<std::size_t>(test - 1)]->isChecked());
    refresh();
}

ChartType ChartWindow::currentChartType() const
{
    return static_cast<ChartType>(m_chartTypeBox->currentIndex());
}

stats::SpecialCauseTests ChartWindow::enabledTests() const
{
    stats::SpecialCauseTests tests;
    for (int test = 1; test <= stats::SpecialCauseTests::kCount; ++test)
        if (m_testBoxes[static_cast<std::size_t>(test - 1)]->isChecked())
            tests.add(test);
    return tests;
}

void ChartWindow::refresh()
{
    if (!m_figures) {
        m_data.reset();
        m_control.reset();
    } else {
        m_data = stats::chartData(*m_figures, m_tolerance);
        m_control = formControlChart();
    }
    showCharts();
    showSignals();
    showFigures();
}

std::optional<stats::ControlChartOutcome> ChartWindow::formControlChart() const
{
    switch (currentChartType()) {
    case ChartType::Run:
        break;
    case ChartType::IndividualsMovingRange:
        return stats::individualsChart(m_figures->values, enabledTests());
    case ChartType::MeansRanges:
        return stats::subgroupChart(m_figures->values, m_subgroupSizeBox->value(), enabledTests());
    }
    return std::nullopt;
}

void ChartWindow::showCharts()
{
    const stats::ChartData *data = m_data ? &*m_data : nullptr;
    m_runChart->setData(data);
    m_histogram->setData(data);
    const stats::SampleSigma s = m_figures ? stats::sampleSigma(*m_figures) : stats::SampleSigma{};
    m_histogram->setNormalCurve(m_figures ? m_figures->mean : 0.0, s.value);
    m_chartStack->setCurrentIndex(currentChartType() == ChartType::Run ? 0 : 1);
    showControlChart();
}

/// The two charts, or why there are none; the note says which values were
/// left out of the subgroups.
void ChartWindow::showControlChart()
{
    const auto *chart = m_control ? std::get_if<stats::ControlChart>(&*m_control) : nullptr;
    if (!chart) {
        const auto *refused = m_control ? std::get_if<stats::NoControlChart>(&*m_control) : nullptr;
        const QString why = refused ? fromUtf8(refused->reason) : emptyChartText();
        m_locationChart->setMessage(m_chartTypeBox->currentText(), why);
        m_spreadChart->setMessage(QString(), QString());
        showControlNote(refused ? why : QString());
        return;
    }
    std::vector<stats::ChartLine> tolerance;
    for (const stats::ChartLine &line : m_data->lines)
        if (line.kind == stats::LineKind::UpperTolerance ||
            line.kind == stats::LineKind::LowerTolerance)
            tolerance.push_back(line);
    m_locationChart->setSeries(&chart->location, std::move(tolerance));
    m_spreadChart->setSeries(&chart->spread);
    showControlNote(fromUtf8(chart->leftOutNote));
}

/// The note takes no room while it has nothing to say.
void ChartWindow::showControlNote(const QString &text)
{
    m_controlNote->setText(text);
    m_controlNote->setHidden(text.isEmpty());
}

void ChartWindow::showSignals()
{
    m_signalList->clear();
    const auto *chart = m_control ? std::get_if<stats::ControlChart>(&*m_control) : nullptr;
    if (!chart)
        return;
    for (const std::string &line : chart::specialCauseLines(*chart))
        m_signalList->addItem(fromUtf8(line));
}

void ChartWindow::setFigure(QLineEdit *box, const QString &text)
{
    box->setText(text);
    box->setCursorPosition(0); // a figure wider than its box shows its first digits
}

void ChartWindow::showFigures()
{
    if (!m_figures) {
        for (QLineEdit *value :
             {m_countFigure, m_meanFigure, m_sigmaFigure, m_sampleSigmaFigure, m_upperLimitFigure,
              m_lowerLimitFigure, m_beyondFigure, m_classesFigure, m_cpFigure, m_cpkFigure,
              m_outsideFigure, m_expectedFigure})
            value->clear();
        m_figureNote->setText(QStringLiteral("演算開始を押すと、そのときの一覧をグラフにします。"));
        return;
    }
    const stats::StatisticsTexts texts = stats::statisticsTexts(*m_figures);
    setFigure(m_countFigure, fromUtf8(texts.count));
    // Four decimals, like σ beside it: the main window's box rounds to two.
    setFigure(m_meanFigure, fromUtf8(stats::formatResult(m_figures->mean)));
    setFigure(m_sigmaFigure, fromUtf8(texts.standardDeviation));
    setFigure(m_sampleSigmaFigure, fromUtf8(stats::sampleSigma(*m_figures).text));
    setFigure(m_upperLimitFigure, fromUtf8(texts.upperLimit));
    setFigure(m_lowerLimitFigure, fromUtf8(texts.lowerLimit));
    setFigure(m_beyondFigure, QStringLiteral("上 %1 個 (%2 %)・下 %3 個 (%4 %)")
                                  .arg(fromUtf8(texts.aboveCount), fromUtf8(texts.abovePercent),
                                       fromUtf8(texts.belowCount), fromUtf8(texts.belowPercent)));
    const stats::Histogram &histogram = m_data->histogram;
    setFigure(m_classesFigure, QStringLiteral("%1 級・幅 %2 (%3)")
                                   .arg(fromUtf8(stats::integerToText(
                                            static_cast<std::int64_t>(histogram.classes.size()))),
                                        fromUtf8(stats::numberToText(histogram.width)),
                                        fromUtf8(stats::numberToText(histogram.unit))));
    showCapability();
}

void ChartWindow::showCapability()
{
    const std::optional<stats::Capability> &capability = m_data->capability;
    if (!capability) {
        for (QLineEdit *value : {m_cpFigure, m_cpkFigure, m_outsideFigure, m_expectedFigure})
            value->clear();
        m_figureNote->setText(QStringLiteral("規格上限・規格下限を入れて Enter を押すと、"
                                             "Cp と Cpk を示します。"));
        return;
    }
    setFigure(m_cpFigure, fromUtf8(capability->cpText));
    setFigure(m_cpkFigure, fromUtf8(capability->cpkText));
    // Limits with no room between them count nothing: the box shows "—" alone.
    setFigure(m_outsideFigure,
              capability->outsideCount
                  ? QStringLiteral("%1 個 (%2 %)").arg(fromUtf8(capability->outsideCountText),
                                                    fromUtf8(capability->outsidePercentText))
                  : fromUtf8(capability->outsideCountText));
    const stats::ExpectedOutside expected =
        stats::expectedOutside(m_figures->mean, capability->sampleSigma,
                               static_cast<std::int64_t>(m_figures->values.size()), m_tolerance);
    setFigure(m_expectedFigure, fromUtf8(chart::expectedOutsideText(expected)));
    m_expectedFigure->setToolTip(m_expectedFigure->text());
    m_figureNote->setText(fromUtf8(capability->reason));
}
