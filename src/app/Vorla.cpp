#include "app/Vorla.h"

#include "app/ColumnDialog.h"
#include "app/EntryBox.h"
#include "app/ScratchPaths.h"
#include "app/ValueEditDelegate.h"
#include "app/ValueListModel.h"
#include "app/ValueListView.h"
#include "chart/ChartWindow.h"
#include "files/Columns.h"
#include "files/Paste.h"
#include "files/ScratchFile.h"
#include "files/ValueFile.h"
#include "files/ValueFileIO.h"
#include "files/ValueLines.h"
#include "info/form1.h"
#include "print/QtReportPrinter.h"
#include "print/Report.h"
#include "stats/NumberText.h"
#include "stats/Statistics.h"
#include "ui/DefaultFont.h"
#include "ui/FitText.h"
#include "ui/Utf8.h"
#include "ui/WindowGeometry.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QCloseEvent>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace {

constexpr int kLabelHeight = 255;
constexpr int kBoxHeight = 405;

const QString kSigmaThree = QStringLiteral("3σ");

using ui::toUtf8;
using ui::fromUtf8;


// Opening also offers every file, so one saved under a name without ".txt"
// can be found again; saving offers the one type it writes.
const QString kOpenFilter = QStringLiteral("Text(*.txt)|*.txt|すべてのファイル (*)|*|");
const QString kSaveFilter = QStringLiteral("Text(*.txt)|*.txt|");
const QString kOpenTitle = QStringLiteral("ファイルを開く");
const QString kSaveTitle = QStringLiteral("名前を付けて保存");
const QString kPrintTitle = QStringLiteral("印刷");
const QString kPasteTitle = QStringLiteral("貼り付け");
const QString kExitTitle = QStringLiteral("終了");
// What a name typed without an extension is saved as, so that the open
// dialog's first filter shows the file.
const QString kSaveSuffix = QStringLiteral("txt");

/// Shows the busy pointer over a control until the scope ends, however it ends.
class BusyPointer
{
public:
    explicit BusyPointer(QWidget *control) : m_control(control), m_saved(control->cursor())
    {
        m_control->setCursor(Qt::WaitCursor);
    }
    ~BusyPointer() { m_control->setCursor(m_saved); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

private:
    QWidget *m_control;
    QCursor m_saved;
};

QString grouped(std::int64_t number)
{
    return QString::fromStdString(stats::groupedInteger(number));
}


// A line may be long; its start is enough to recognise it.
QString shortened(const QString &text)
{
    constexpr qsizetype kShownLength = 40;
    if (text.size() <= kShownLength)
        return text;
    return text.left(kShownLength) + QStringLiteral("…");
}

/// Asks which encoding a file that reads both ways is in, showing the first
/// line where the readings differ. Shift JIS, what this program writes, is the
/// default; nullopt when the user cancels.
std::optional<files::TextEncoding> askReading(QWidget *parent, const QString &path,
                                              const files::AmbiguousReading &line)
{
    QMessageBox box(QMessageBox::Question, kOpenTitle,
                    QStringLiteral("ファイル「%1」は Shift JIS としても UTF-8 としても読めます。\n"
                                   "%2 行目の読み方:\n"
                                   "Shift JIS: %3\nUTF-8: %4\n"
                                   "どちらとして読みますか？")
                        .arg(path, grouped(static_cast<std::int64_t>(line.lineNumber)),
                             shortened(QString::fromStdString(line.asShiftJis)),
                             shortened(QString::fromStdString(line.asUtf8))),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Shift JIS として読む"));
    box.button(QMessageBox::No)->setText(QStringLiteral("UTF-8 として読む"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return files::TextEncoding::ShiftJis;
    case QMessageBox::No:
        return files::TextEncoding::Utf8;
    default:
        return std::nullopt;
    }
}

/// The values a paste enters: each line and cell for text of one column, the
/// chosen column's for a table; nullopt when the question is cancelled.
std::optional<std::vector<std::string>> pastedValues(QWidget *parent, const QString &text)
{
    return files::pastedValues(toUtf8(text), [parent](const files::ColumnLayout &layout) {
        return askColumn(parent,
                         QStringLiteral("貼り付けたテキストは %1 列の表です（%2区切り）。\n"
                                        "一覧に入れる列を選んでください。")
                             .arg(layout.columns)
                             .arg(separatorName(layout.separator)),
                         layout);
    });
}

/// Asks which column of a table file to read.
std::optional<std::size_t> askFileColumn(QWidget *parent, const QString &path,
                                         const files::ColumnLayout &layout)
{
    return askColumn(parent,
                     QStringLiteral("ファイル「%1」は %2 列の表です（%3区切り）。\n"
                                    "一覧に読み込む列を選んでください。")
                         .arg(path)
                         .arg(layout.columns)
                         .arg(separatorName(layout.separator)),
                     layout);
}

/// The local files among dragged data, in order; other links are passed over.
QStringList droppedFiles(const QMimeData &data)
{
    QStringList files;
    for (const QUrl &url : data.urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

QString encodeProblemText(const files::EncodeFailure &failure)
{
    if (!failure.item)
        return QStringLiteral("この環境では Shift JIS の文字に変換できません。");
    const QString shown = shortened(failure.item->text);
    return QStringLiteral("一覧の %1 番目の値「%2」に、Shift JIS で書けない文字「%3」があります。")
        .arg(grouped(failure.item->index + 1), shown, failure.item->character);
}

QString writeProblemText(const files::WriteFailure &failure)
{
    if (failure.problem == files::WriteProblem::FolderMissing)
        return QStringLiteral("保存先のフォルダーが見つかりません。");
    return QStringLiteral("書き込みに失敗しました（%1）。").arg(failure.detail);
}

QString openFailureText(const QString &path, const files::ReadFailure &failure)
{
    return QStringLiteral("ファイル「%1」を開けませんでした。\n%2\n一覧には何も追加していません。")
        .arg(path, files::readProblemText(failure));
}

QString leftOutText(const QString &path, std::size_t leftOut, std::size_t added)
{
    return QStringLiteral("一覧に入るのは %1 個までのため、ファイル「%2」の %3 行は"
                          "読み込んでいません（%4 行を追加しました）。")
        .arg(grouped(static_cast<std::int64_t>(files::kMaxListItems)), path,
             grouped(static_cast<std::int64_t>(leftOut)),
             grouped(static_cast<std::int64_t>(added)));
}

QString unencodableText(const files::EncodeFailure &failure)
{
    return QStringLiteral("一覧を保存できませんでした。\n%1\nファイルには何も書いていません。")
        .arg(encodeProblemText(failure));
}

QString saveFailureText(const QString &path, const files::WriteFailure &failure)
{
    return QStringLiteral("ファイル「%1」に保存できませんでした。\n%2\nファイルは変更していません。")
        .arg(path, writeProblemText(failure));
}

QString pasteRefusedText(const files::PastePlan &plan, std::size_t room)
{
    const QString nothingAdded = QStringLiteral("何も追加していません。");
    if (plan.verdict == files::PasteVerdict::TooLong)
        return QStringLiteral("貼り付けた値の %1 番目「%2」は %3 文字あります。一覧に入る値は %4 "
                              "文字までです。")
                   .arg(grouped(static_cast<std::int64_t>(plan.tooLongIndex + 1)),
                        shortened(fromUtf8(plan.values[plan.tooLongIndex])),
                        grouped(static_cast<std::int64_t>(plan.tooLongLength)),
                        grouped(static_cast<std::int64_t>(files::kMaxLineLength)))
               + nothingAdded;
    if (plan.verdict == files::PasteVerdict::HoldsBreak)
        return QStringLiteral("貼り付けた値の %1 番目「%2」にタブか改行があります。"
                              "一覧の値には入れられません。")
                   .arg(grouped(static_cast<std::int64_t>(plan.tooLongIndex + 1)),
                        shortened(fromUtf8(plan.values[plan.tooLongIndex])))
               + nothingAdded;
    const QString count = grouped(static_cast<std::int64_t>(plan.values.size()));
    if (room == 0)
        return QStringLiteral("貼り付けた値は %1 個ですが、一覧はすでに %2 個でいっぱいです。")
                   .arg(count, grouped(static_cast<std::int64_t>(files::kMaxListItems)))
               + nothingAdded;
    return QStringLiteral("貼り付けた値は %1 個ですが、一覧に入るのはあと %2 個です。")
               .arg(count, grouped(static_cast<std::int64_t>(room)))
           + nothingAdded;
}

QString editorPasteRefusedText(const files::PastePlan &plan)
{
    if (plan.verdict != files::PasteVerdict::TooMany)
        return pasteRefusedText(plan, 1);
    return QStringLiteral("貼り付けた値は %1 個ですが、ここに入る値は 1 個だけです。何も変えていません。")
        .arg(grouped(static_cast<std::int64_t>(plan.values.size())));
}

/// What the notice under the list says after a calculation that read items
/// as 0 or only in part; empty when every item was read whole.
QString looseReadingText(const stats::LooseReadings &loose)
{
    const QString none = grouped(static_cast<std::int64_t>(loose.withoutNumber.size()));
    const QString part = grouped(static_cast<std::int64_t>(loose.partlyRead.size()));
    QString text;
    if (!loose.withoutNumber.empty() && !loose.partlyRead.empty())
        text = QStringLiteral("数値として読めない値 %1 個は 0 として、数値の後に文字が続く値 %2 個は"
                              "文字の前の数値で計算しました。")
                   .arg(none, part);
    else if (!loose.withoutNumber.empty())
        text = QStringLiteral("数値として読めない値が %1 個あります（0 として計算しました）。").arg(none);
    else if (!loose.partlyRead.empty())
        text = QStringLiteral("数値の後に文字が続く値が %1 個あります（文字の前の数値で計算しました）。")
                   .arg(part);
    else
        return text;
    return text + QStringLiteral("一覧で選択しています。");
}

} // namespace

Vorla::Vorla(const QString &scratchDir, QWidget *parent)
    : QMainWindow(parent), m_scratchDir(scratchDir),
      m_openPrinter(&QtReportPrinter::openDefaultPrinter)
{
    setObjectName(QStringLiteral("Vorla"));
    // The program answers to two names in its captions: it starts as
    // "Pellary", the title its information window shows, is "Vorla" after a
    // clear or an open, and "Pellary" again after a save. Users' own notes
    // and screenshots know these captions, so they stay exactly so.
    setWindowTitle(QStringLiteral("Pellary"));
    setWindowIcon(QIcon(QStringLiteral(":/vorla.svg")));
    setFont(vorlaDefaultFont());
    createControls();
    createMenus();
    createListEditing();
    // A file dropped anywhere on the window opens. The text boxes keep
    // taking dragged text, but dragged files are passed on to the window
    // (eventFilter) rather than pasted as their paths.
    setAcceptDrops(true);
    for (QLineEdit *box : findChildren<QLineEdit *>())
        box->installEventFilter(this);
    // The controls never move, so the frame does not resize either.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    loadWindow();
}

Vorla::~Vorla()
{
    // The information window has no owner; it goes when the program's main
    // window goes.
    delete m_info;
    delete m_chart;
}

void Vorla::setPrinterFactory(PrinterFactory openPrinter)
{
    m_openPrinter = std::move(openPrinter);
}

QLabel *Vorla::createLabel(const char *name, const QString &caption, int left, int top,
                           int width)
{
    auto *label = new QLabel(caption, centralWidget());
    label->setObjectName(QLatin1String(name));
    label->setGeometry(px(left), px(top), px(width), px(kLabelHeight));
    shrinkToWidth(label);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLineEdit *Vorla::createTextBox(const char *name, int left, int top, int width,
                                const QString &accessibleName)
{
    auto *box = new QLineEdit(centralWidget());
    box->setObjectName(QLatin1String(name));
    box->setGeometry(px(left), px(top), px(width), px(kBoxHeight));
    box->setAccessibleName(accessibleName);
    return box;
}

void Vorla::createControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(px(6570), px(5010));
    client->setAutoFillBackground(true);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, QColor(224, 224, 224));
    client->setPalette(palette);
    setCentralWidget(client);

    // Left column: entry box, value list, start button.
    createLabel("Label1", QStringLiteral("データ"), 240, 240, 735);
    m_entryBox = new EntryBox(client);
    m_entryBox->setObjectName(QStringLiteral("Text1"));
    m_entryBox->setGeometry(px(1080), px(240), px(975), px(kBoxHeight));
    m_entryBox->setAccessibleName(QStringLiteral("データ"));
    // The box counts UTF-16 units, and no character takes fewer than one, so
    // a typed value never outgrows a value file's line, which counts characters.
    m_entryBox->setMaxLength(static_cast<int>(files::kMaxLineLength));
    m_values = new ValueListModel(this);
    // Every change to the list, whatever made it, makes the list differ from
    // the file last saved or opened.
    for (const auto changed : {&ValueListModel::rowsInserted, &ValueListModel::rowsRemoved})
        connect(m_values, changed, this, [this] { m_unsaved = true; });
    connect(m_values, &ValueListModel::modelReset, this, [this] { m_unsaved = true; });
    m_valueList = new ValueListView(client);
    m_valueList->setObjectName(QStringLiteral("List1"));
    m_valueList->setGeometry(px(240), px(840), px(1815), px(2040));
    m_valueList->setModel(m_values);
    m_valueList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_valueList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_valueList->setAccessibleName(QStringLiteral("データ一覧"));
    m_calculateButton = new QPushButton(QStringLiteral("演算開始"), client);
    m_calculateButton->setObjectName(QStringLiteral("Command1"));
    m_calculateButton->setGeometry(px(240), px(3120), px(1815), px(375));

    // Right block: one row per result, every box starting at 4440.
    createLabel("Label13", QStringLiteral("データ数:"), 3480, 120, 735);
    m_countBox = createTextBox("Text10", 4440, 120, 735, QStringLiteral("データ数"));
    createLabel("Label2", QStringLiteral("平均:"), 3720, 720, 615);
    m_meanBox = createTextBox("Text2", 4440, 720, 1815, QStringLiteral("平均"));
    createLabel("Label3", QStringLiteral("標準偏差(σ):"), 3240, 1320, 1215);
    m_standardDeviationBox =
        createTextBox("Text3", 4440, 1320, 1815, QStringLiteral("標準偏差(σ)"));
    createLabel("Label4", QStringLiteral("平均±"), 2520, 1920, 615);
    m_sigmaChoice = new QComboBox(client);
    m_sigmaChoice->setObjectName(QStringLiteral("Combo1"));
    m_sigmaChoice->setGeometry(px(3120), px(1920), px(615), px(300));
    m_sigmaChoice->setEditable(true);
    m_sigmaChoice->setInsertPolicy(QComboBox::NoInsert);
    m_sigmaChoice->setAccessibleName(QStringLiteral("平均±"));
    createLabel("Label5", QStringLiteral("上限:"), 3720, 1920, 615);
    m_upperLimitBox = createTextBox("Text4", 4440, 1920, 1815, QStringLiteral("上限"));
    createLabel("Label6", QStringLiteral("下限:"), 3720, 2400, 615);
    m_lowerLimitBox = createTextBox("Text5", 4440, 2400, 1815, QStringLiteral("下限"));
    createLabel("Label7", QStringLiteral("上限からあふれたﾃﾞｰﾀ数:"), 2280, 2880, 2055);
    m_aboveCountBox = createTextBox("Text6", 4440, 2880, 735, QStringLiteral("上限からあふれたﾃﾞｰﾀ数"));
    createLabel("Label9", QStringLiteral("個"), 5280, 3000, 255);
    m_abovePercentBox = createTextBox("Text7", 5640, 2880, 615, QStringLiteral("上限からあふれたﾃﾞｰﾀ数 %"));
    createLabel("Label10", QStringLiteral("%"), 6360, 3000, 255);
    createLabel("Label8", QStringLiteral("下限からあふれたﾃﾞｰﾀ数:"), 2280, 3360, 2055);
    m_belowCountBox = createTextBox("Text8", 4440, 3360, 735, QStringLiteral("下限からあふれたﾃﾞｰﾀ数"));
    createLabel("Label11", QStringLiteral("個"), 5280, 3480, 255);
    m_belowPercentBox = createTextBox("Text9", 5640, 3360, 615, QStringLiteral("下限からあふれたﾃﾞｰﾀ数 %"));
    createLabel("Label12", QStringLiteral("%"), 6360, 3480, 255);
    createLabel("Label14", QStringLiteral("最大値:"), 3600, 3960, 615);
    m_maximumBox = createTextBox("Text11", 4440, 3960, 855, QStringLiteral("最大値"));
    QLabel *minimumLabel = createLabel("Label15", QStringLiteral("最小値:"), 3600, 4440, 615);
    minimumLabel->setPalette(QPalette());
    m_minimumBox = createTextBox("Text12", 4440, 4440, 855, QStringLiteral("最小値"));

    // The calculation's word on items it read as 0 or only in part. It is
    // neither a message box (it would cost a click on every calculation of
    // such a list) nor a status bar (the window and its controls keep their
    // size and places): a note in the free corner under the start button,
    // shown only while there is something to say and gone at the next change
    // to the list or move in it, or when clicked. The items themselves are
    // selected in the list. A screen reader hears the note as an alert when it
    // appears and as the list's description while it is shown.
    m_readingNotice = new QLabel(client);
    m_readingNotice->setObjectName(QStringLiteral("LabelNotice"));
    m_readingNotice->setGeometry(px(240), px(3660), px(3240), px(1290));
    m_readingNotice->setWordWrap(true);
    m_readingNotice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_readingNotice->setFrameShape(QFrame::Box);
    m_readingNotice->setMargin(2);
    m_readingNotice->setAutoFillBackground(true);
    m_readingNotice->setPalette(QToolTip::palette());
    m_readingNotice->installEventFilter(this);
    m_readingNotice->hide();

    // Tab moves through the boxes in their designer names' order (Text1 to
    // Text12), then the button and the sigma choice, and back to the entry box.
    const QList<QWidget *> tabOrder = {
        m_entryBox,      m_valueList,       m_meanBox,       m_standardDeviationBox,
        m_upperLimitBox, m_lowerLimitBox,   m_aboveCountBox, m_abovePercentBox,
        m_belowCountBox, m_belowPercentBox, m_countBox,      m_maximumBox,
        m_minimumBox,    m_calculateButton, m_sigmaChoice};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(m_entryBox, &QLineEdit::returnPressed, this, &Vorla::enterTypedValue);
    connect(m_entryBox, &EntryBox::linesPasted, this, &Vorla::enterPastedValues);
    connect(m_entryBox, &EntryBox::nothingToUndo, this, &Vorla::undoLastChange);
    connect(m_valueList, &QListView::doubleClicked, this, &Vorla::removeSelectedValue);
    // Delete removes the selected value as a double-click does. Tabbing into
    // the list makes an item current without selecting it, so only a
    // selected item goes. Enter removes nothing: it is too easily pressed.
    auto *removeKey = new QShortcut(QKeySequence(Qt::Key_Delete), m_valueList);
    removeKey->setContext(Qt::WidgetShortcut);
    connect(removeKey, &QShortcut::activated, this, [this] {
        if (m_valueList->selectionModel()->isSelected(m_valueList->currentIndex()))
            removeSelectedValue();
    });
    m_undoAction = new QAction(QStringLiteral("元に戻す"), m_valueList);
    m_undoAction->setObjectName(QStringLiteral("mnuUndo"));
    m_undoAction->setShortcut(QKeySequence::Undo);
    m_undoAction->setShortcutContext(Qt::WidgetShortcut);
    m_undoAction->setEnabled(false);
    m_valueList->addAction(m_undoAction);
    m_valueList->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(m_undoAction, &QAction::triggered, this, &Vorla::undoLastChange);
    connect(m_calculateButton, &QPushButton::clicked, this, &Vorla::calculate);
    // The notice speaks of the list as it was calculated: any change to the
    // list, or a move in it, ends it.
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_values, signal, this, &Vorla::hideReadingNotice);
    connect(m_values, &QAbstractItemModel::modelReset, this, &Vorla::hideReadingNotice);
    connect(m_valueList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &Vorla::hideReadingNotice);
}

void Vorla::noticeLooseReadings(const stats::LooseReadings &loose)
{
    const QString text = looseReadingText(loose);
    if (text.isEmpty()) {
        hideReadingNotice();
        return;
    }
    // Selected without becoming current: Delete and a double-click still
    // act on the current item alone, and the user's next move in the list
    // selects as it always does.
    QItemSelection selection;
    for (const std::size_t row : loose.all()) {
        const QModelIndex index = m_values->index(static_cast<int>(row));
        selection.select(index, index);
    }
    m_valueList->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_valueList->scrollTo(m_values->index(static_cast<int>(loose.all().front())));
    m_readingNotice->setText(text);
    m_readingNotice->setAccessibleName(text);
    m_readingNotice->show();
    m_readingNotice->raise();
    m_valueList->setAccessibleDescription(text);
    QAccessibleEvent alert(m_readingNotice, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void Vorla::hideReadingNotice()
{
    if (m_readingNotice->isHidden())
        return;
    m_readingNotice->hide();
    m_readingNotice->clear();
    m_valueList->setAccessibleDescription(QString());
}

void Vorla::createMenus()
{
    // Only the open command is switched on and off later; the other menus
    // and commands live as long as the menu bar that owns them.
    QMenu *fileMenu = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    fileMenu->setObjectName(QStringLiteral("f1"));
    m_openAction = fileMenu->addAction(QStringLiteral("ファイルを開く(&O)"));
    QAction *saveAction = fileMenu->addAction(QStringLiteral("名前を付けて保存(&S)"));
    QAction *printSeparator = fileMenu->addSeparator();
    QAction *printAction = fileMenu->addAction(QStringLiteral("印刷(&P)"));
    QAction *exitSeparator = fileMenu->addSeparator();
    QAction *exitAction = fileMenu->addAction(QStringLiteral("終了(&E)"));

    QMenu *viewMenu = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    viewMenu->setObjectName(QStringLiteral("v1"));
    QAction *clearAction = viewMenu->addAction(QStringLiteral("クリア(&C)"));
    QAction *chartAction = viewMenu->addAction(QStringLiteral("グラフ(&G)"));

    QMenu *informationMenu = menuBar()->addMenu(QStringLiteral("情報"));
    informationMenu->setObjectName(QStringLiteral("mnuJ"));
    QAction *informationAction = informationMenu->addAction(QStringLiteral("情報"));

    m_openAction->setObjectName(QStringLiteral("f11"));
    saveAction->setObjectName(QStringLiteral("f12"));
    printSeparator->setObjectName(QStringLiteral("f2"));
    printAction->setObjectName(QStringLiteral("f21"));
    exitSeparator->setObjectName(QStringLiteral("f3"));
    exitAction->setObjectName(QStringLiteral("f31"));
    clearAction->setObjectName(QStringLiteral("v11"));
    chartAction->setObjectName(QStringLiteral("v12"));
    informationAction->setObjectName(QStringLiteral("mnu_J2"));

    connect(m_openAction, &QAction::triggered, this, &Vorla::openValueFileFromDialog);
    connect(saveAction, &QAction::triggered, this, &Vorla::saveValueFile);
    connect(printAction, &QAction::triggered, this, &Vorla::printReport);
    connect(exitAction, &QAction::triggered, this, &Vorla::exitProgram);
    connect(clearAction, &QAction::triggered, this, &Vorla::clearAll);
    connect(chartAction, &QAction::triggered, this, &Vorla::showCharts);
    connect(informationAction, &QAction::triggered, this, &Vorla::showInformation);
}

QString Vorla::scratchPath(const char *name) const
{
    return QDir(m_scratchDir).filePath(QLatin1String(name));
}

report::BoxTexts Vorla::boxTexts() const
{
    // Designated in the struct's order: two boxes swapped do not compile.
    return {.Text2 = toUtf8(m_meanBox->text()),
            .Text3 = toUtf8(m_standardDeviationBox->text()),
            .Text4 = toUtf8(m_upperLimitBox->text()),
            .Text5 = toUtf8(m_lowerLimitBox->text()),
            .Text6 = toUtf8(m_aboveCountBox->text()),
            .Text7 = toUtf8(m_abovePercentBox->text()),
            .Text8 = toUtf8(m_belowCountBox->text()),
            .Text9 = toUtf8(m_belowPercentBox->text()),
            .Text10 = toUtf8(m_countBox->text()),
            .Text11 = toUtf8(m_maximumBox->text()),
            .Text12 = toUtf8(m_minimumBox->text())};
}

std::size_t Vorla::room() const
{
    const auto count = static_cast<std::size_t>(m_values->count());
    return files::kMaxListItems - std::min(count, files::kMaxListItems);
}

QStringList Vorla::listTexts() const
{
    QStringList texts;
    texts.reserve(m_values->count());
    for (const std::string &item : m_values->items())
        texts << fromUtf8(item);
    return texts;
}

void Vorla::forgetUndo()
{
    m_undoSteps.clear();
    m_undoAction->setEnabled(false);
}

void Vorla::showLastItem()
{
    // An entry joins the end of the list, which may be below the view: the
    // user sees each value as it goes in.
    m_valueList->scrollTo(m_values->index(m_values->count() - 1));
}

void Vorla::appendEntries(std::vector<std::string> values)
{
    if (values.empty())
        return;
    m_openAction->setEnabled(false);
    const std::size_t entries = values.size();
    m_values->append(std::move(values));
    advanceCount(entries);
    showLastItem();
}

void Vorla::clearBoxes()
{
    for (QLineEdit *box :
         {static_cast<QLineEdit *>(m_entryBox), m_meanBox, m_standardDeviationBox, m_upperLimitBox,
          m_lowerLimitBox, m_aboveCountBox, m_abovePercentBox, m_belowCountBox, m_belowPercentBox,
          m_countBox, m_maximumBox, m_minimumBox})
        box->setText(QString()); // unlike clear(), leaves no typing to undo
}

void Vorla::showResults(const stats::StatisticsTexts &texts)
{
    // The order the calculation has always filled the boxes in: the extremes
    // first, the counts beyond the limits last.
    m_maximumBox->setText(fromUtf8(texts.maximum));
    m_minimumBox->setText(fromUtf8(texts.minimum));
    m_meanBox->setText(fromUtf8(texts.mean));
    m_countBox->setText(fromUtf8(texts.count));
    m_standardDeviationBox->setText(fromUtf8(texts.standardDeviation));
    m_upperLimitBox->setText(fromUtf8(texts.upperLimit));
    m_lowerLimitBox->setText(fromUtf8(texts.lowerLimit));
    m_aboveCountBox->setText(fromUtf8(texts.aboveCount));
    m_belowCountBox->setText(fromUtf8(texts.belowCount));
    m_abovePercentBox->setText(fromUtf8(texts.abovePercent));
    m_belowPercentBox->setText(fromUtf8(texts.belowPercent));
}

void Vorla::advanceCount(std::size_t entries)
{
    // The box's text is the count: whatever it shows, typed text too, is
    // read back for each entry.
    std::string count = toUtf8(m_countBox->text());
    for (std::size_t i = 0; i < entries; ++i) {
        double value = stats::parseValueText(count);
        if (!std::isfinite(value))
            value = 0; // a count beyond the double range starts again
        count = stats::numberToText(value + 1);
    }
    m_countBox->setText(fromUtf8(count));
}

bool Vorla::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate)
        focusEntryBox();
    return handled;
}

void Vorla::loadWindow()
{
    centreOnScreen(*this);
    // A missing or locked scratch file is no reason to stop starting up.
    QFile::remove(scratchPath(files::kScratchDataName));

    clearBoxes();
    m_sigmaChoice->setEditText(kSigmaThree);
    m_sigmaChoice->addItems({kSigmaThree, QStringLiteral("2σ"), QStringLiteral("1σ")});
    // Adding the first item to an empty combo box makes it current and shows
    // its text; the shown choice is set again so it is "3σ" whatever the
    // first item is.
    m_sigmaChoice->setEditText(kSigmaThree);
}

void Vorla::focusEntryBox()
{
    if (m_listEdit)
        return; // back from a message over the list's editor: the edit goes on
    m_entryBox->setFocus();
}

void Vorla::enterTypedValue()
{
    const QString entry = m_entryBox->text();
    if (entry.isEmpty())
        return;
    if (EntryBox::holdsBreaks(entry)) {
        // A paste never leaves a break in the box, but an input method may
        // commit one: such text enters as a paste does, whole or not at all.
        enterPastedValues(entry);
        return;
    }
    if (room() == 0) {
        // Full: keep the typed text so nothing is lost, and say so with a beep.
        QApplication::beep();
        return;
    }
    appendEntries({toUtf8(entry)});
    m_entryBox->setText(QString()); // Ctrl+Z now brings back a removed value, not this one
}

void Vorla::enterPastedValues(const QString &text)
{
    std::optional<std::vector<std::string>> pasted = pastedValues(this, text);
    if (!pasted)
        return; // the question about a table's columns was cancelled
    files::PastePlan plan = files::planValues(std::move(*pasted), room());
    if (plan.verdict != files::PasteVerdict::Enter) {
        // Refused: the list and the box stay as they were. Pasted text is still
        // on the clipboard (or in the selection), text an input method
        // committed is still in the box; dropped text is only in its source.
        QMessageBox::warning(this, kPasteTitle, pasteRefusedText(plan, room()));
        return;
    }
    appendEntries(std::move(plan.values));
    m_entryBox->setText(QString()); // the box's own text went in with the paste
}

void Vorla::removeSelectedValue()
{
    const int index = m_valueList->currentIndex().row();
    if (index >= 0) {
        m_undoSteps.emplace_back(Removal{index, m_values->take(index)});
        m_undoAction->setEnabled(true);
    }
    m_entryBox->setFocus();
}

void Vorla::undoLastChange()
{
    if (m_undoSteps.empty() || undoListEdit())
        return;
    const auto *cleared = std::get_if<Clearing>(&m_undoSteps.back());
    if (room() < (cleared != nullptr ? cleared->items.size() : 1)) {
        QApplication::beep(); // no room: the step stays ready to come back
        return;
    }
    if (cleared != nullptr) {
        undoClear();
    } else {
        auto [index, item] = std::get<Removal>(std::move(m_undoSteps.back()));
        m_undoSteps.pop_back();
        // Entries since the removal only ever went to the end, so the place
        // is still there unless later removals shortened the list.
        index = std::min(index, m_values->count());
        m_values->insert(index, std::move(item));
        m_valueList->setCurrentIndex(m_values->index(index));
    }
    m_undoAction->setEnabled(!m_undoSteps.empty());
    m_entryBox->setFocus();
}

void Vorla::undoClear()
{
    Clearing cleared = std::get<Clearing>(std::move(m_undoSteps.back()));
    m_undoSteps.pop_back();
    // Values entered since the clear stay after the cleared ones, as entries
    // after a removal stay after the value put back. Only a list that comes
    // back exactly as it was takes back its caption and saved state.
    const bool enteredSince = m_values->count() > 0 || m_unsaved;
    m_values->insert(0, std::move(cleared.items));
    m_unsaved = cleared.unsaved || enteredSince;
    m_openAction->setEnabled(cleared.openEnabled && m_openAction->isEnabled());
    if (!enteredSince)
        setWindowTitle(cleared.caption);
}

void Vorla::calculate()
{
    stats::FiguresOutcome outcome =
        stats::calculateFigures(m_values->items(), toUtf8(m_sigmaChoice->currentText()));
    if (const auto *error = std::get_if<stats::StatisticsError>(&outcome)) {
        if (*error == stats::StatisticsError::OutOfRange)
            QMessageBox::warning(this, QStringLiteral("演算開始"),
                                 QStringLiteral("値が大きすぎるため計算できません。"
                                                "一覧の値を確かめてください。"));
        return; // an empty list leaves every box as it is
    }
    m_figures = std::make_shared<const stats::StatisticsFigures>(
        std::get<stats::StatisticsFigures>(std::move(outcome)));
    showResults(stats::statisticsTexts(*m_figures));
    if (m_chart)
        m_chart->setFigures(m_figures);
    noticeLooseReadings(stats::looseReadings(m_values->items()));
}


void Vorla::openValueFileFromDialog()
{
    m_fileDialog.setFilter(kOpenFilter);
    m_fileDialog.setDefaultSuffix(QString());
    m_fileDialog.setInitDir(QDir::homePath());
    if (!m_fileDialog.showOpen(this))
        return;
    if (openValueFile(m_fileDialog.fileName()))
        m_fileDialog.setFileName(QString());
}

bool Vorla::openValueFile(const QString &fileName)
{
    const QString path = QDir::toNativeSeparators(fileName);
    std::variant<files::ValueFileItems, files::ReadFailure> read;
    std::size_t added = 0;
    {
        const BusyPointer busy(m_entryBox);
        read = files::readValueFile(
            fileName, room(), [this, &path](const auto &line) { return askReading(this, path, line); },
            files::kMaxValueFileBytes,
            [this, &path](const auto &layout) { return askFileColumn(this, path, layout); });
        if (auto *file = std::get_if<files::ValueFileItems>(&read)) {
            added = file->items.size();
            m_values->append(std::move(file->items));
        }
    }
    if (const auto *failure = std::get_if<files::ReadFailure>(&read)) {
        if (failure->problem != files::ReadProblem::Cancelled)
            QMessageBox::warning(this, kOpenTitle, openFailureText(path, *failure));
        return false;
    }
    if (const std::size_t leftOut = std::get<files::ValueFileItems>(read).leftOut; leftOut > 0)
        QMessageBox::information(this, kOpenTitle, leftOutText(path, leftOut, added));
    setWindowTitle(QStringLiteral("Vorla-") + path);
    nameSource(path);
    forgetUndo(); // an undo would put a value back among the file's
    m_unsaved = false;
    return true;
}

void Vorla::dragEnterEvent(QDragEnterEvent *event)
{
    // Taken even while the open command is off, so that the drop can say why
    // it opens nothing.
    if (!droppedFiles(*event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

bool Vorla::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_readingNotice && type == QEvent::MouseButtonPress) {
        hideReadingNotice();
        return true;
    }
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
        auto *drag = static_cast<QDropEvent *>(event);
        if (!droppedFiles(*drag->mimeData()).isEmpty()) {
            if (type == QEvent::Drop)
                dropEvent(drag);
            else
                drag->acceptProposedAction();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Vorla::dropEvent(QDropEvent *event)
{
    const QStringList files = droppedFiles(*event->mimeData());
    if (files.isEmpty())
        return;
    if (m_openAction->isEnabled())
        event->acceptProposedAction();
    // The files open once the drop is over: a message box inside the drop
    // would keep the file manager waiting for its answer.
    QMetaObject::invokeMethod(this, [this, files] {
        if (!m_openAction->isEnabled()) {
            QMessageBox::warning(this, kOpenTitle,
                                 QStringLiteral("値を入力した後は、ファイルを開けません。\n"
                                                "表示(V) → クリア(C) で一覧を空にしてから、"
                                                "もう一度ドロップしてください。"));
            return;
        }
        for (const QString &file : files)
            openValueFile(file);
    }, Qt::QueuedConnection);
}

void Vorla::saveValueFile()
{
    saveList();
}

bool Vorla::saveList()
{
    // An item Shift JIS cannot hold is told before a name is asked for.
    const auto bytes = files::encodeValueFile(listTexts());
    if (const auto *unencodable = std::get_if<files::EncodeFailure>(&bytes)) {
        QMessageBox::warning(this, kSaveTitle, unencodableText(*unencodable));
        return false;
    }
    m_fileDialog.setFilter(kSaveFilter);
    m_fileDialog.setDefaultSuffix(kSaveSuffix);
    m_fileDialog.setInitDir(QDir::homePath());
    if (!m_fileDialog.showSave(this))
        return false;
    const QString path = QDir::toNativeSeparators(m_fileDialog.fileName());
    const auto written = files::writeFileAtomically(path, std::get<QByteArray>(bytes));
    if (written) {
        QMessageBox::warning(this, kSaveTitle, saveFailureText(path, *written));
        return false;
    }
    setWindowTitle(QStringLiteral("Pellary-") + path);
    nameSource(path);
    m_fileDialog.setFileName(QString());
    m_unsaved = false;
    return true;
}

void Vorla::printReport()
{
    QMessageBox prompt(QMessageBox::NoIcon, kPrintTitle,
                       QStringLiteral("A4の用紙をセットしてください"),
                       QMessageBox::Ok | QMessageBox::Cancel, this);
    prompt.setDefaultButton(QMessageBox::Ok);
    if (prompt.exec() != QMessageBox::Ok)
        return; // Cancel or Esc: nothing is read and nothing printed

    const std::optional<std::vector<std::string>> entries = reportEntries();
    if (!entries)
        return;
    const std::vector<std::string> lines = report::composeReport(*entries, boxTexts());
    const std::unique_ptr<report::ReportPrinter> printer = m_openPrinter();
    if (!printer)
        saveReportAsPdf(lines);
    else if (!report::printReport(lines, *printer))
        QMessageBox::warning(this, kPrintTitle,
                             QStringLiteral("プリンターに送れませんでした。\nプリンターの状態を"
                                            "確かめて、もう一度印刷してください。"));
}

std::optional<std::vector<std::string>> Vorla::reportEntries()
{
    const QString path = scratchPath(files::kScratchDataName);
    if (!QFile::exists(path))
        return m_values->items();
    std::optional<std::vector<std::string>> scratch = files::readScratchLines(path);
    if (!scratch)
        QMessageBox::warning(this, kPrintTitle,
                             QStringLiteral("印刷するデータのファイルを読み込めません。\n%1\n"
                                            "何も印刷していません。")
                                 .arg(QDir::toNativeSeparators(path)));
    return scratch;
}

void Vorla::saveReportAsPdf(const std::vector<std::string> &lines)
{
    m_pdfDialog.setTitle(QStringLiteral("プリンターが見つかりません － PDF ファイルに保存"));
    m_pdfDialog.setFilter(QStringLiteral("PDF(*.pdf)|*.pdf|"));
    m_pdfDialog.setInitDir(QDir::homePath());
    if (!m_pdfDialog.showSave(this))
        return; // cancelled: nothing printed, nothing saved
    QString path = m_pdfDialog.fileName();
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    const std::unique_ptr<report::ReportPrinter> pdf = QtReportPrinter::openPdfFile(path);
    if (!report::printReport(lines, *pdf)) {
        QMessageBox::warning(this, kPrintTitle,
                             QStringLiteral("PDF ファイル「%1」に保存できませんでした。")
                                 .arg(QDir::toNativeSeparators(path)));
        return;
    }
    m_pdfDialog.setFileName(QString());
}

void Vorla::exitProgram()
{
    // Closing asks about unsaved values first (closeEvent).
    if (close())
        QCoreApplication::quit();
}

void Vorla::closeEvent(QCloseEvent *event)
{
    acceptListEdit(); // a value being edited is saved with the others
    if (m_unsaved && !mayDiscardUnsaved()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

bool Vorla::mayDiscardUnsaved()
{
    QMessageBox box(QMessageBox::Warning, kExitTitle,
                    QStringLiteral("保存されていない値があります。"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.button(QMessageBox::Save)->setText(QStringLiteral("保存"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("保存しない"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return saveList(); // a cancelled or failed save keeps the window open
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void Vorla::clearAll()
{
    // Every step runs whatever became of the one before.
    QFile::remove(scratchPath(files::kScratchTextName));
    // The list is one step Ctrl+Z takes back; the boxes stay cleared.
    Clearing cleared{{}, m_unsaved, m_openAction->isEnabled(), windowTitle()};
    cleared.items = m_values->takeAll();
    if (!cleared.items.empty()) {
        m_undoSteps.emplace_back(std::move(cleared));
        m_undoAction->setEnabled(true);
    }
    m_unsaved = false; // an empty list loses nothing
    clearBoxes();
    // The list of the drop-down goes back to "3σ" too, so it does not
    // highlight an old choice.
    m_sigmaChoice->setCurrentIndex(0);
    m_sigmaChoice->setEditText(kSigmaThree);
    m_figures.reset();
    if (m_chart)
        m_chart->setFigures(nullptr);
    nameSource(QString());
    m_entryBox->setFocus();
    m_openAction->setEnabled(true);
    setWindowTitle(QStringLiteral("Vorla"));
}

void Vorla::showInformation()
{
    // A new window loads itself (centred, usage text set); an open one is
    // only brought to the front where it stands.
    if (!m_info)
        m_info = new form1;
    m_info->show();
    m_info->raise();
    m_info->activateWindow();
}

// The chart window's records name the file the values came from or went to.
void Vorla::nameSource(const QString &path)
{
    m_sourceName = path;
    if (m_chart)
        m_chart->setSourceName(path);
}

void Vorla::showCharts()
{
    // Like the information window: one at most, an open one comes forward.
    if (!m_chart) {
        m_chart = new ChartWindow;
        m_chart->setFigures(m_figures);
        m_chart->setSourceName(m_sourceName);
    }
    m_chart->show();
    m_chart->raise();
    m_chart->activateWindow();
}

void Vorla::createListEditing()
{
    m_valueEditor = new ValueEditDelegate(m_valueList);
    m_valueList->setItemDelegate(m_valueEditor);
    auto *separator = new QAction(m_valueList);
    separator->setSeparator(true);
    m_valueList->addAction(separator);
    m_correctAction = createListAction("mnuCorrect", QStringLiteral("修正"),
                                       &Vorla::correctSelectedValue);
    m_correctAction->setShortcut(QKeySequence(Qt::Key_F2));
    m_insertAction = createListAction("mnuInsert", QStringLiteral("ここに挿入"),
                                      &Vorla::insertBeforeSelectedValue);
    // Connected after the view's own handling of the editor's closing, so the
    // editor is gone by the time the list changes.
    connect(m_valueEditor, &ValueEditDelegate::textAccepted, this, [this](const QString &text) {
        if (m_listEdit)
            m_listEdit->accepted = text;
    });
    connect(m_valueEditor, &ValueEditDelegate::closeEditor, this, &Vorla::finishListEdit);
    connect(m_valueEditor, &ValueEditDelegate::linesPasted, this, &Vorla::takePasteIntoEditor);
    // A correction changes the list as an entry does.
    connect(m_values, &ValueListModel::dataChanged, this, [this] {
        m_unsaved = true;
        hideReadingNotice();
    });
    QItemSelectionModel *selection = m_valueList->selectionModel();
    connect(selection, &QItemSelectionModel::selectionChanged, this, &Vorla::updateListEditActions);
    connect(selection, &QItemSelectionModel::currentChanged, this, &Vorla::updateListEditActions);
    // A menu command acts on the list as it stands, with the edited value in it.
    for (QMenu *menu : menuBar()->findChildren<QMenu *>())
        connect(menu, &QMenu::aboutToShow, this, &Vorla::acceptListEdit);
    updateListEditActions();
}

QAction *Vorla::createListAction(const char *name, const QString &text, void (Vorla::*handler)())
{
    auto *action = new QAction(text, m_valueList);
    action->setObjectName(QLatin1String(name));
    action->setShortcutContext(Qt::WidgetShortcut);
    m_valueList->addAction(action);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

int Vorla::selectedRow() const
{
    const QModelIndex current = m_valueList->currentIndex();
    const bool selected = current.isValid() && m_valueList->selectionModel()->isSelected(current);
    return selected ? current.row() : -1;
}

void Vorla::updateListEditActions()
{
    const bool selected = selectedRow() >= 0;
    m_correctAction->setEnabled(selected);
    m_insertAction->setEnabled(selected);
}

void Vorla::correctSelectedValue()
{
    const int row = selectedRow();
    if (row < 0 || m_listEdit)
        return;
    m_listEdit = ListEdit{row, false, m_unsaved, std::nullopt};
    openListEditor(row, QStringLiteral("値の修正"));
}

void Vorla::insertBeforeSelectedValue()
{
    const int row = selectedRow();
    if (row < 0 || m_listEdit)
        return;
    if (room() == 0) {
        QApplication::beep(); // full, as for a value typed into Text1
        return;
    }
    // The empty row is the editor's place; it is no change to the list until
    // a value is accepted into it.
    m_listEdit = ListEdit{row, true, m_unsaved, std::nullopt};
    m_values->insert(row, std::string());
    m_unsaved = m_listEdit->unsavedBefore;
    openListEditor(row, QStringLiteral("挿入する値"));
}

void Vorla::openListEditor(int row, const QString &accessibleName)
{
    const QModelIndex index = m_values->index(row);
    m_valueList->setCurrentIndex(index);
    m_valueList->scrollTo(index);
    m_valueEditor->setEditorName(accessibleName);
    m_valueList->edit(index);
}

void Vorla::acceptListEdit()
{
    // The editor takes the focus away as accepted, exactly as a click
    // elsewhere would.
    if (m_listEdit)
        m_valueList->setFocus();
}

void Vorla::takePasteIntoEditor(EntryBox *editor, const QString &text)
{
    const QPointer<EntryBox> box(editor); // a question may outlast the editor
    const std::optional<std::string> value = judgedValue(text);
    if (value && box)
        box->setText(fromUtf8(*value));
}

std::optional<std::string> Vorla::judgedValue(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    std::optional<std::vector<std::string>> values = std::vector{toUtf8(text)};
    if (EntryBox::holdsBreaks(text))
        values = pastedValues(this, text);
    if (!values)
        return std::nullopt; // the question about a table's columns was cancelled
    files::PastePlan plan = files::planValues(std::move(*values), 1);
    if (plan.verdict != files::PasteVerdict::Enter) {
        QMessageBox::warning(this, kPasteTitle, editorPasteRefusedText(plan));
        return std::nullopt;
    }
    if (plan.values.empty())
        return std::nullopt;
    return std::move(plan.values.front());
}

void Vorla::finishListEdit()
{
    if (!m_listEdit)
        return;
    const ListEdit edit = *std::exchange(m_listEdit, std::nullopt);
    std::optional<std::string> value;
    if (edit.accepted)
        value = judgedValue(*edit.accepted);
    if (edit.inserting)
        finishInsertion(edit.row, edit.unsavedBefore, std::move(value));
    else if (value)
        applyCorrection(edit.row, std::move(*value));
}

void Vorla::applyCorrection(int row, std::string value)
{
    if (value == m_values->items()[static_cast<std::size_t>(row)])
        return; // unchanged: nothing to save and nothing to undo
    m_undoSteps.emplace_back(Correction{row, m_values->replace(row, std::move(value))});
    m_undoAction->setEnabled(true);
    m_entryBox->setFocus();
}

void Vorla::finishInsertion(int row, bool unsavedBefore, std::optional<std::string> value)
{
    if (!value) {
        // Cancelled or left empty: the list is as it was, selection included.
        m_values->take(row);
        m_unsaved = unsavedBefore;
        m_valueList->setCurrentIndex(m_values->index(row));
        return;
    }
    // Entered as Text1 enters a value, only not at the end.
    m_values->replace(row, std::move(*value));
    m_undoSteps.emplace_back(Insertion{row});
    m_undoAction->setEnabled(true);
    m_openAction->setEnabled(false);
    advanceCount(1);
    m_valueList->setCurrentIndex(m_values->index(row));
    m_entryBox->setFocus();
}

bool Vorla::undoListEdit()
{
    std::variant<Removal, Clearing, Correction, Insertion> &step = m_undoSteps.back();
    int row = 0;
    if (auto *corrected = std::get_if<Correction>(&step)) {
        row = corrected->index;
        m_values->replace(row, std::move(corrected->item));
    } else if (const auto *inserted = std::get_if<Insertion>(&step)) {
        row = inserted->index;
        m_values->take(row);
    } else {
        return false;
    }
    m_undoSteps.pop_back();
    m_valueList->setCurrentIndex(m_values->index(row));
    m_undoAction->setEnabled(!m_undoSteps.empty());
    m_entryBox->setFocus();
    return true;
}
