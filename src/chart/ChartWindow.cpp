#include "chart/ChartWindow.h"

#include "chart/ChartViews.h"
#include "print/PdfPage.h"
#include "stats/NumberText.h"
#include "ui/DefaultFont.h"
#include "ui/FileDialog.h"
#include "ui/Utf8.h"
#include "ui/WindowGeometry.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

namespace {

const QString kTitle = QStringLiteral("グラフ");
const QString kSaveTitle = QStringLiteral("画像を保存");
const QString kPdfFilter = QStringLiteral("PDF 文書 (*.pdf)");

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
    // The figures stand in a column beside the charts, so the window stays
    // low enough for a laptop screen at 200 % scaling.
    auto *body = new QHBoxLayout;
    body->addLayout(createCharts(), 1);
    body->addWidget(createFiguresPanel());
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(toleranceRow);
    layout->addLayout(body, 1);
    layout->addWidget(createCapabilityNote());

    setTabOrder(m_upperToleranceBox, m_lowerToleranceBox);
    setTabOrder(m_lowerToleranceBox, m_applyButton);
    setTabOrder(m_applyButton, m_saveImageButton);

    connect(m_upperToleranceBox, &QLineEdit::returnPressed, this, &ChartWindow::applyTolerance);
    connect(m_lowerToleranceBox, &QLineEdit::returnPressed, this, &ChartWindow::applyTolerance);
    connect(m_applyButton, &QPushButton::clicked, this, &ChartWindow::applyTolerance);
    connect(m_saveImageButton, &QPushButton::clicked, this, &ChartWindow::saveImageFromDialog);
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

/// The run chart above the histogram, sharing the height.
QLayout *ChartWindow::createCharts()
{
    m_runChart = new RunChartView;
    m_histogram = new HistogramView;
    auto *charts = new QVBoxLayout;
    charts->addWidget(m_runChart, 1);
    charts->addWidget(m_histogram, 1);
    return charts;
}

/// The figures, one captioned read-only box each, and a note below them.
QWidget *ChartWindow::createFiguresPanel()
{
    auto *panel = new QFrame;
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
    QSize wanted(900, 640);
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
    m_chartType = type;
    refresh();
}

void ChartWindow::setSubgroupSize(int n)
{
    m_subgroupSize = std::clamp(n, 2, 10);
    refresh();
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

QImage ChartWindow::picture()
{
    return grab().toImage();
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
    if (!dialog.showSave(this))
        return;
    QString path = dialog.fileName();
    // A name typed without a suffix takes the chosen type's.
    if (QFileInfo(path).suffix().isEmpty())
        path += dialog.chosenFilter() == kPdfFilter ? QStringLiteral(".pdf")
                                                    : QStringLiteral(".png");
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
    } else if (!writePdfPage(file)) {
        return QStringLiteral("PDF を書き出せませんでした。");
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

/// One page of the window's own size, one point to a pixel, so text and
/// lines stay sharp at any zoom.
bool ChartWindow::writePdfPage(QIODevice &file)
{
    QPdfWriter pdf(&file);
    print::setUpPdfPage(pdf, {.size = QPageSize(QSizeF(size()), QPageSize::Point, QString(),
                                                QPageSize::ExactMatch),
                              .resolution = 72,
                              .title = kTitle,
                              .creator = QStringLiteral("Vorla"),
                              .margins = QMarginsF(0, 0, 0, 0)});
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    render(&painter);
    painter.end(); // a failed write shows in the file's commit
    return true;
}

// ---- what the window shows ------------------------------------------------------

void ChartWindow::refresh()
{
    if (!m_figures) {
        m_runChart->setData(nullptr);
        m_histogram->setData(nullptr);
        m_data.reset();
    } else {
        m_data = stats::chartData(*m_figures, m_tolerance);
        m_runChart->setData(&*m_data);
        m_histogram->setData(&*m_data);
    }
    showFigures();
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
              m_outsideFigure})
            value->clear();
        m_figureNote->setText(QStringLiteral("演算開始を押すと、そのときの一覧をグラフにします。"));
        return;
    }
    const stats::StatisticsTexts texts = stats::statisticsTexts(*m_figures);
    setFigure(m_countFigure, fromUtf8(texts.count));
    setFigure(m_meanFigure, fromUtf8(texts.mean));
    setFigure(m_sigmaFigure, fromUtf8(texts.standardDeviation));
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
        for (QLineEdit *value : {m_sampleSigmaFigure, m_cpFigure, m_cpkFigure, m_outsideFigure})
            value->clear();
        m_figureNote->setText(QStringLiteral("規格上限・規格下限を入れて Enter を押すと、"
                                             "Cp と Cpk を示します。"));
        return;
    }
    setFigure(m_sampleSigmaFigure, fromUtf8(capability->sampleSigmaText));
    setFigure(m_cpFigure, fromUtf8(capability->cpText));
    setFigure(m_cpkFigure, fromUtf8(capability->cpkText));
    // Limits with no room between them count nothing: the box shows "—" alone.
    setFigure(m_outsideFigure,
              capability->outsideCount
                  ? QStringLiteral("%1 個 (%2 %)").arg(fromUtf8(capability->outsideCountText),
                                                    fromUtf8(capability->outsidePercentText))
                  : fromUtf8(capability->outsideCountText));
    m_figureNote->setText(fromUtf8(capability->reason));
}
