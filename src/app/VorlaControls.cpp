#include "app/VorlaControls.h"
#include "app/VorlaNames.h"

#include "app/EntryBox.h"
#include "app/ValueListView.h"
#include "files/ValueFile.h"
#include "print/Report.h"
#include "ui/FitText.h"
#include "ui/Utf8.h"
#include "ui/WindowGeometry.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QToolTip>

namespace names = vorla_names;

namespace {

constexpr int kLabelHeight = 255;
constexpr int kBoxHeight = 405;

using ui::fromUtf8;
using ui::toUtf8;

} // namespace

VorlaControls::VorlaControls(QMainWindow &window, QAbstractItemModel *values)
    : m_client(new QWidget(&window))
{
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setFixedSize(px(6570), px(5010));
    m_client->setAutoFillBackground(true);
    QPalette palette = m_client->palette();
    palette.setColor(QPalette::Window, QColor(224, 224, 224));
    m_client->setPalette(palette);
    window.setCentralWidget(m_client);
    // Left column: entry box, value list, start button.
    createEntryBox();
    createValueList(values);
    createCalculateButton();
    // Right block: one row per result, every box starting at 4440. The rows
    // are made top to bottom, the sigma choice among them.
    createSpreadBoxes();
    createSigmaChoice();
    createLimitBoxes();
    createExtremeBoxes();
    createReadingNotice();
    setTabOrderOfControls();
}

QLabel *VorlaControls::createLabel(const char *name, const QString &caption, int left, int top,
                           int width)
{
    auto *label = new QLabel(caption, m_client);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(px(left), px(top), px(width), px(kLabelHeight));
    shrinkToWidth(label);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLineEdit *VorlaControls::createTextBox(const char *name, int left, int top, int width,
                                const QString &accessibleName)
{
    auto *box = new QLineEdit(m_client);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(px(left), px(top), px(width), px(kBoxHeight));
    box->setAccessibleName(accessibleName);
    return box;
}

void VorlaControls::createEntryBox()
{
    createLabel("Label1", QStringLiteral("データ"), 240, 240, 735);
    entryBox = new EntryBox(m_client);
    entryBox->setObjectName(QLatin1String(names::kEntryBox));
    entryBox->setGeometry(px(1080), px(240), px(975), px(kBoxHeight));
    entryBox->setAccessibleName(QStringLiteral("データ"));
    // The box counts UTF-16 units, and no character takes fewer than one, so
    // a typed value never outgrows a value file's line, which counts characters.
    entryBox->setMaxLength(static_cast<int>(files::kMaxLineLength));
}

void VorlaControls::createValueList(QAbstractItemModel *values)
{
    valueList = new ValueListView(m_client);
    valueList->setObjectName(QLatin1String(names::kValueList));
    valueList->setGeometry(px(240), px(840), px(1815), px(2040));
    valueList->setModel(values);
    valueList->setSelectionMode(QAbstractItemView::SingleSelection);
    valueList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    valueList->setAccessibleName(QStringLiteral("データ一覧"));
}

void VorlaControls::createCalculateButton()
{
    calculateButton = new QPushButton(QStringLiteral("演算開始"), m_client);
    calculateButton->setObjectName(QLatin1String(names::kCalculateButton));
    calculateButton->setGeometry(px(240), px(3120), px(1815), px(375));
}

void VorlaControls::createSpreadBoxes()
{
    createLabel("Label13", QStringLiteral("データ数:"), 3480, 120, 735);
    countBox = createTextBox(names::kCountBox, 4440, 120, 735, QStringLiteral("データ数"));
    createLabel("Label2", QStringLiteral("平均:"), 3720, 720, 615);
    meanBox = createTextBox(names::kMeanBox, 4440, 720, 1815, QStringLiteral("平均"));
    createLabel("Label3", QStringLiteral("標準偏差(σ):"), 3240, 1320, 1215);
    standardDeviationBox =
        createTextBox(names::kStandardDeviationBox, 4440, 1320, 1815, QStringLiteral("標準偏差(σ)"));
}

void VorlaControls::createSigmaChoice()
{
    createLabel("Label4", QStringLiteral("平均±"), 2520, 1920, 615);
    sigmaChoice = new QComboBox(m_client);
    sigmaChoice->setObjectName(QLatin1String(names::kSigmaChoice));
    sigmaChoice->setGeometry(px(3120), px(1920), px(615), px(300));
    sigmaChoice->setEditable(true);
    sigmaChoice->setInsertPolicy(QComboBox::NoInsert);
    sigmaChoice->setAccessibleName(QStringLiteral("平均±"));
}

void VorlaControls::createLimitBoxes()
{
    createLabel("Label5", QStringLiteral("上限:"), 3720, 1920, 615);
    upperLimitBox = createTextBox(names::kUpperLimitBox, 4440, 1920, 1815, QStringLiteral("上限"));
    createLabel("Label6", QStringLiteral("下限:"), 3720, 2400, 615);
    lowerLimitBox = createTextBox(names::kLowerLimitBox, 4440, 2400, 1815, QStringLiteral("下限"));
    createLabel("Label7", QStringLiteral("上限からあふれたﾃﾞｰﾀ数:"), 2280, 2880, 2055);
    aboveCountBox = createTextBox(names::kAboveCountBox, 4440, 2880, 735, QStringLiteral("上限からあふれたﾃﾞｰﾀ数"));
    createLabel("Label9", QStringLiteral("個"), 5280, 3000, 255);
    abovePercentBox = createTextBox(names::kAbovePercentBox, 5640, 2880, 615, QStringLiteral("上限からあふれたﾃﾞｰﾀ数 %"));
    createLabel("Label10", QStringLiteral("%"), 6360, 3000, 255);
    createLabel("Label8", QStringLiteral("下限からあふれたﾃﾞｰﾀ数:"), 2280, 3360, 2055);
    belowCountBox = createTextBox(names::kBelowCountBox, 4440, 3360, 735, QStringLiteral("下限からあふれたﾃﾞｰﾀ数"));
    createLabel("Label11", QStringLiteral("個"), 5280, 3480, 255);
    belowPercentBox = createTextBox(names::kBelowPercentBox, 5640, 3360, 615, QStringLiteral("下限からあふれたﾃﾞｰﾀ数 %"));
    createLabel("Label12", QStringLiteral("%"), 6360, 3480, 255);
}

void VorlaControls::createExtremeBoxes()
{
    createLabel("Label14", QStringLiteral("最大値:"), 3600, 3960, 615);
    maximumBox = createTextBox(names::kMaximumBox, 4440, 3960, 855, QStringLiteral("最大値"));
    QLabel *minimumLabel = createLabel("Label15", QStringLiteral("最小値:"), 3600, 4440, 615);
    minimumLabel->setPalette(QPalette());
    minimumBox = createTextBox(names::kMinimumBox, 4440, 4440, 855, QStringLiteral("最小値"));
}

void VorlaControls::createReadingNotice()
{
    // The calculation's word on items it read as 0 or only in part. It is
    // neither a message box (it would cost a click on every calculation of
    // such a list) nor a status bar (the window and its controls keep their
    // size and places): a note in the free corner under the start button,
    // shown only while there is something to say and gone at the next change
    // to the list or move in it, or when clicked. The items themselves are
    // selected in the list. A screen reader hears the note as an alert when it
    // appears and as the list's description while it is shown.
    readingNotice = new QLabel(m_client);
    readingNotice->setObjectName(QLatin1String(names::kReadingNotice));
    readingNotice->setGeometry(px(240), px(3660), px(3240), px(1290));
    readingNotice->setWordWrap(true);
    readingNotice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    readingNotice->setFrameShape(QFrame::Box);
    readingNotice->setMargin(2);
    readingNotice->setAutoFillBackground(true);
    readingNotice->setPalette(QToolTip::palette());
    readingNotice->hide();
}

void VorlaControls::setTabOrderOfControls()
{
    // Tab moves through the boxes in their designer names' order (Text1 to
    // Text12), then the button and the sigma choice, and back to the entry box.
    const QList<QWidget *> tabOrder = {
        entryBox,      valueList,       meanBox,       standardDeviationBox,
        upperLimitBox, lowerLimitBox,   aboveCountBox, abovePercentBox,
        belowCountBox, belowPercentBox, countBox,      maximumBox,
        minimumBox,    calculateButton, sigmaChoice};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

report::BoxTexts VorlaControls::boxTexts() const
{
    // Designated in the struct's order: two boxes swapped do not compile.
    return {.mean = toUtf8(meanBox->text()),
            .standardDeviation = toUtf8(standardDeviationBox->text()),
            .upperLimit = toUtf8(upperLimitBox->text()),
            .lowerLimit = toUtf8(lowerLimitBox->text()),
            .aboveCount = toUtf8(aboveCountBox->text()),
            .abovePercent = toUtf8(abovePercentBox->text()),
            .belowCount = toUtf8(belowCountBox->text()),
            .belowPercent = toUtf8(belowPercentBox->text()),
            .count = toUtf8(countBox->text()),
            .maximum = toUtf8(maximumBox->text()),
            .minimum = toUtf8(minimumBox->text())};
}

void VorlaControls::clearBoxes()
{
    for (QLineEdit *box :
         {static_cast<QLineEdit *>(entryBox), meanBox, standardDeviationBox, upperLimitBox,
          lowerLimitBox, aboveCountBox, abovePercentBox, belowCountBox, belowPercentBox,
          countBox, maximumBox, minimumBox})
        box->setText(QString()); // unlike clear(), leaves no typing to undo
}

void VorlaControls::showResults(const stats::StatisticsTexts &texts)
{
    // The order the calculation has always filled the boxes in: the extremes
    // first, the counts beyond the limits last.
    maximumBox->setText(fromUtf8(texts.maximum));
    minimumBox->setText(fromUtf8(texts.minimum));
    meanBox->setText(fromUtf8(texts.mean));
    countBox->setText(fromUtf8(texts.count));
    standardDeviationBox->setText(fromUtf8(texts.standardDeviation));
    upperLimitBox->setText(fromUtf8(texts.upperLimit));
    lowerLimitBox->setText(fromUtf8(texts.lowerLimit));
    aboveCountBox->setText(fromUtf8(texts.aboveCount));
    belowCountBox->setText(fromUtf8(texts.belowCount));
    abovePercentBox->setText(fromUtf8(texts.abovePercent));
    belowPercentBox->setText(fromUtf8(texts.belowPercent));
}

