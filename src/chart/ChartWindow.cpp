#include "chart/ChartWindow.h"

#include "chart/ChartViews.h"
#include "stats/NumberText.h"
#include "ui/DefaultFont.h"
#include "ui/FitText.h"
#include "ui/Utf8.h"
#include "ui/WindowGeometry.h"

#include <QDir>
#include <QFileDialog>
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

#include <string>

namespace {

constexpr short kEnterKey = 13;
const QString kTitle = QStringLiteral("グラフ");
const QString kPngFilter = QStringLiteral("PNG 画像 (*.png)");
const QString kPdfFilter = QStringLiteral("PDF 文書 (*.pdf)");

using ui::toUtf8;
using ui::fromUtf8;

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
    Form_Load();
}

ChartWindow::~ChartWindow() = default;

void ChartWindow::setFigure(QLineEdit *box, const QString &text)
{
    box->setText(text);
    box->setCursorPosition(0); // a figure wider than its box shows its first digits
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

void ChartWindow::createControls()
{
    Label1 = new QLabel(QStringLiteral("規格上限(&U):"));
    Text1 = new QLineEdit;
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("規格上限"));
    Label1->setBuddy(Text1);
    Label2 = new QLabel(QStringLiteral("規格下限(&L):"));
    Text2 = new QLineEdit;
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setAccessibleName(QStringLiteral("規格下限"));
    Label2->setBuddy(Text2);
    // Wide enough for a measured value at any scaling; they grow with the font.
    const int boxWidth = QFontMetrics(font()).horizontalAdvance(QStringLiteral("-0000000.0000"));
    Text1->setMinimumWidth(boxWidth);
    Text2->setMinimumWidth(boxWidth);
    Command1 = new QPushButton(QStringLiteral("適用(&A)"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAccessibleName(QStringLiteral("規格を適用"));
    Command2 = new QPushButton(QStringLiteral("画像を保存(&S)..."));
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAccessibleName(QStringLiteral("画像を保存"));

    auto *entryRow = new QHBoxLayout;
    entryRow->addWidget(Label1);
    entryRow->addWidget(Text1);
    entryRow->addSpacing(12);
    entryRow->addWidget(Label2);
    entryRow->addWidget(Text2);
    entryRow->addWidget(Command1);
    entryRow->addStretch(1);
    entryRow->addWidget(Command2);

    Picture1 = new RunChartView;
    Picture2 = new HistogramView;

    auto *figures = new QFrame;
    figures->setObjectName(QStringLiteral("figures"));
    figures->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(figures);
    m_count = addFigure(grid, "figureCount", QStringLiteral("データ数 n"));
    m_mean = addFigure(grid, "figureMean", QStringLiteral("平均 x̄"));
    m_sigma = addFigure(grid, "figureSigma", QStringLiteral("標準偏差 σ (分母 n)"));
    m_sampleSigma = addFigure(grid, "figureSampleSigma", QStringLiteral("標準偏差 s (分母 n−1)"));
    m_upperLimit = addFigure(grid, "figureUpperLimit", QStringLiteral("上限"));
    m_lowerLimit = addFigure(grid, "figureLowerLimit", QStringLiteral("下限"));
    m_beyond = addFigure(grid, "figureBeyond", QStringLiteral("上限・下限をこえた数"));
    m_classes = addFigure(grid, "figureClasses", QStringLiteral("級の数・幅 (測定単位)"));
    m_cp = addFigure(grid, "figureCp", QStringLiteral("Cp"));
    m_cpk = addFigure(grid, "figureCpk", QStringLiteral("Cpk"));
    m_outside = addFigure(grid, "figureOutside", QStringLiteral("規格外の数"));
    QFont strong = m_cp->font();
    strong.setBold(true);
    m_cp->setFont(strong);
    m_cpk->setFont(strong);
    m_note = new QLabel;
    m_note->setObjectName(QStringLiteral("figureNote"));
    m_note->setWordWrap(true);
    grid->addWidget(m_note, grid->rowCount(), 0, 1, 2);
    grid->setRowStretch(grid->rowCount(), 1);

    Label3 = new QLabel(QStringLiteral(
        "Cp = (規格上限 − 規格下限) ÷ 6s　　Cpk = min(規格上限 − x̄, x̄ − 規格下限) ÷ 3s\n"
        "s は標本標準偏差 (分母 n − 1)、x̄ は平均です。規格が片側だけのときは Cp を求めず、"
        "Cpk はその側の値です。値は小数第 3 位を四捨五入して 2 桁で示します。\n"
        "規格の欄は空欄にできます。数値として読めない文字は受け付けません (0 とは読みません)。"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);

    // The figures stand in a column beside the charts, so the window stays
    // low enough for a laptop screen at 200 % scaling.
    auto *charts = new QVBoxLayout;
    charts->addWidget(Picture1, 1);
    charts->addWidget(Picture2, 1);
    auto *body = new QHBoxLayout;
    body->addLayout(charts, 1);
    body->addWidget(figures);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(entryRow);
    layout->addLayout(body, 1);
    layout->addWidget(Label3);

    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Command1);
    setTabOrder(Command1, Command2);

    connect(Text1, &QLineEdit::returnPressed, this, [this] { Text1_KeyPress(kEnterKey); });
    connect(Text2, &QLineEdit::returnPressed, this, [this] { Text2_KeyPress(kEnterKey); });
    connect(Command1, &QPushButton::clicked, this, &ChartWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &ChartWindow::Command2_Click);
}

void ChartWindow::Form_Load()
{
    setWindowTitle(kTitle);
    QSize wanted(900, 640);
    if (const QScreen *display = screen())
        wanted = wanted.boundedTo(display->availableGeometry().size() * 9 / 10);
    resize(wanted.expandedTo(minimumSizeHint()));
    centreOnScreen(*this);
    refresh();
    Text1->setFocus();
}

void ChartWindow::setFigures(std::shared_ptr<const stats::StatisticsFigures> figures)
{
    m_figures = std::move(figures);
    refresh();
}

void ChartWindow::Text1_KeyPress(short keyAscii)
{
    if (keyAscii == kEnterKey)
        Command1_Click();
}

void ChartWindow::Text2_KeyPress(short keyAscii)
{
    if (keyAscii == kEnterKey)
        Command1_Click();
}

void ChartWindow::Command1_Click()
{
    const stats::ToleranceReading upper = stats::readToleranceLimit(toUtf8(Text1->text()));
    const stats::ToleranceReading lower = stats::readToleranceLimit(toUtf8(Text2->text()));
    for (const auto &[reading, box, name] :
         {std::tuple(upper, Text1, QStringLiteral("規格上限")),
          std::tuple(lower, Text2, QStringLiteral("規格下限"))}) {
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
    auto given = [](const stats::ToleranceReading &r) {
        return r.entry == stats::ToleranceEntry::Number ? std::optional(r.value) : std::nullopt;
    };
    m_limits = {given(upper), given(lower)};
    refresh();
}

void ChartWindow::Command2_Click()
{
    QString filter = kPngFilter;
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("画像を保存"), QDir::home().filePath(QStringLiteral("グラフ.png")),
        kPngFilter + QStringLiteral(";;") + kPdfFilter, &filter, QFileDialog::DontUseNativeDialog);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += filter == kPdfFilter ? QStringLiteral(".pdf") : QStringLiteral(".png");
    const QString failure = saveImage(path);
    if (!failure.isEmpty())
        QMessageBox::warning(this, QStringLiteral("画像を保存"),
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
        if (!grab().toImage().save(&file, "PNG"))
            return QStringLiteral("画像を書き出せませんでした。");
    } else {
        // One page of the window's own size, one point to a pixel, so text and
        // lines stay sharp at any zoom.
        QPdfWriter pdf(&file);
        pdf.setTitle(kTitle);
        pdf.setCreator(QStringLiteral("Vorla"));
        pdf.setResolution(72);
        pdf.setPageSize(QPageSize(QSizeF(size()), QPageSize::Point, QString(),
                                  QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&pdf))
            return QStringLiteral("PDF を書き出せませんでした。");
        render(&painter);
        painter.end();
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

void ChartWindow::refresh()
{
    if (!m_figures) {
        Picture1->setData(nullptr);
        Picture2->setData(nullptr);
        m_data.reset();
    } else {
        m_data = stats::chartData(*m_figures, m_limits);
        Picture1->setData(&*m_data);
        Picture2->setData(&*m_data);
    }
    showFigures();
}

void ChartWindow::showFigures()
{
    if (!m_figures) {
        for (QLineEdit *value : {m_count, m_mean, m_sigma, m_sampleSigma, m_upperLimit,
                                 m_lowerLimit, m_beyond, m_classes, m_cp, m_cpk, m_outside})
            value->clear();
        m_note->setText(QStringLiteral("演算開始を押すと、そのときの一覧をグラフにします。"));
        return;
    }
    const stats::StatisticsTexts texts = stats::statisticsTexts(*m_figures);
    setFigure(m_count, fromUtf8(texts.count));
    setFigure(m_mean, fromUtf8(texts.mean));
    setFigure(m_sigma, fromUtf8(texts.standardDeviation));
    setFigure(m_upperLimit, fromUtf8(texts.upperLimit));
    setFigure(m_lowerLimit, fromUtf8(texts.lowerLimit));
    setFigure(m_beyond, QStringLiteral("上 %1 個 (%2 %)・下 %3 個 (%4 %)")
                          .arg(fromUtf8(texts.aboveCount), fromUtf8(texts.abovePercent),
                               fromUtf8(texts.belowCount), fromUtf8(texts.belowPercent)));
    const stats::Histogram &histogram = m_data->histogram;
    setFigure(m_classes, QStringLiteral("%1 級・幅 %2 (%3)")
                           .arg(fromUtf8(stats::integerToText(
                                    static_cast<std::int64_t>(histogram.classes.size()))),
                                fromUtf8(stats::numberToText(histogram.width)),
                                fromUtf8(stats::numberToText(histogram.unit))));
    const std::optional<stats::Capability> &capability = m_data->capability;
    if (!capability) {
        for (QLineEdit *value : {m_sampleSigma, m_cp, m_cpk, m_outside})
            value->clear();
        m_note->setText(QStringLiteral("規格上限・規格下限を入れて Enter を押すと、"
                                       "Cp と Cpk を示します。"));
        return;
    }
    setFigure(m_sampleSigma, fromUtf8(capability->sampleSigmaText));
    setFigure(m_cp, fromUtf8(capability->cpText));
    setFigure(m_cpk, fromUtf8(capability->cpkText));
    setFigure(m_outside, QStringLiteral("%1 個 (%2 %)").arg(fromUtf8(capability->outsideCountText),
                                                         fromUtf8(capability->outsidePercentText)));
    m_note->setText(fromUtf8(capability->reason));
}
