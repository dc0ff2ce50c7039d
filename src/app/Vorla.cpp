#include "app/Vorla.h"

#include "app/DefaultFont.h"
#include "app/WindowGeometry.h"
#include "app/ScratchPaths.h"
#include "files/ScratchFile.h"
#include "files/ValueFile.h"
#include "files/ValueFileIO.h"
#include "info/form1.h"
#include "print/QtReportPrinter.h"
#include "print/Report.h"
#include "stats/NumberText.h"
#include "stats/Statistics.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace {

constexpr int kLabelHeight = 255;
constexpr int kBoxHeight = 405;
constexpr short kEnterKey = 13;

const QString kSigmaThree = QStringLiteral("3σ");

std::string toUtf8(const QString &text) { return text.toStdString(); }
QString fromUtf8(const std::string &text) { return QString::fromStdString(text); }

} // namespace

Vorla::Vorla(const QString &scratchDir, QWidget *parent)
    : QMainWindow(parent), m_scratchDir(scratchDir),
      m_openPrinter(&QtReportPrinter::openDefaultPrinter)
{
    setObjectName(QStringLiteral("Vorla"));
    setWindowTitle(QStringLiteral("Pellary"));
    setWindowIcon(QIcon(QStringLiteral(":/vorla.svg")));
    setFont(vorlaDefaultFont());
    createControls();
    createMenus();
    // The controls never move, so the frame does not resize either.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    Form_Load();
}

Vorla::~Vorla()
{
    // The information window has no owner; it goes when the program's main
    // window goes.
    delete m_info;
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
    // A caption wider than its fixed place is set a little smaller rather
    // than cut off.
    QFont font = label->font();
    while (QFontMetrics(font).horizontalAdvance(caption) > label->width()
           && font.pointSizeF() > 7.0) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        label->setFont(font);
    }
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
    Label1 = createLabel("Label1", QStringLiteral("データ"), 240, 240, 735);
    Text1 = createTextBox("Text1", 1080, 240, 975, QStringLiteral("データ"));
    List1 = new QListWidget(client);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(px(240), px(840), px(1815), px(2040));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setUniformItemSizes(true);
    List1->setAccessibleName(QStringLiteral("データ一覧"));
    Command1 = new QPushButton(QStringLiteral("演算開始"), client);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(px(240), px(3120), px(1815), px(375));

    // Right block: one row per result, every box starting at 4440.
    Label13 = createLabel("Label13", QStringLiteral("データ数:"), 3480, 120, 735);
    Text10 = createTextBox("Text10", 4440, 120, 735, QStringLiteral("データ数"));
    Label2 = createLabel("Label2", QStringLiteral("平均:"), 3720, 720, 615);
    Text2 = createTextBox("Text2", 4440, 720, 1815, QStringLiteral("平均"));
    Label3 = createLabel("Label3", QStringLiteral("標準偏差(σ):"), 3240, 1320, 1215);
    Text3 = createTextBox("Text3", 4440, 1320, 1815, QStringLiteral("標準偏差(σ)"));
    Label4 = createLabel("Label4", QStringLiteral("平均±"), 2520, 1920, 615);
    Combo1 = new QComboBox(client);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setGeometry(px(3120), px(1920), px(615), px(300));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setAccessibleName(QStringLiteral("平均±"));
    Label5 = createLabel("Label5", QStringLiteral("上限:"), 3720, 1920, 615);
    Text4 = createTextBox("Text4", 4440, 1920, 1815, QStringLiteral("上限"));
    Label6 = createLabel("Label6", QStringLiteral("下限:"), 3720, 2400, 615);
    Text5 = createTextBox("Text5", 4440, 2400, 1815, QStringLiteral("下限"));
    Label7 = createLabel("Label7", QStringLiteral("上限からあふれたﾃﾞｰﾀ数:"), 2280, 2880, 2055);
    Text6 = createTextBox("Text6", 4440, 2880, 735, QStringLiteral("上限からあふれたﾃﾞｰﾀ数"));
    Label9 = createLabel("Label9", QStringLiteral("個"), 5280, 3000, 255);
    Text7 = createTextBox("Text7", 5640, 2880, 615, QStringLiteral("上限からあふれたﾃﾞｰﾀ数 %"));
    Label10 = createLabel("Label10", QStringLiteral("%"), 6360, 3000, 255);
    Label8 = createLabel("Label8", QStringLiteral("下限からあふれたﾃﾞｰﾀ数:"), 2280, 3360, 2055);
    Text8 = createTextBox("Text8", 4440, 3360, 735, QStringLiteral("下限からあふれたﾃﾞｰﾀ数"));
    Label11 = createLabel("Label11", QStringLiteral("個"), 5280, 3480, 255);
    Text9 = createTextBox("Text9", 5640, 3360, 615, QStringLiteral("下限からあふれたﾃﾞｰﾀ数 %"));
    Label12 = createLabel("Label12", QStringLiteral("%"), 6360, 3480, 255);
    Label14 = createLabel("Label14", QStringLiteral("最大値:"), 3600, 3960, 615);
    Text11 = createTextBox("Text11", 4440, 3960, 855, QStringLiteral("最大値"));
    Label15 = createLabel("Label15", QStringLiteral("最小値:"), 3600, 4440, 615);
    Label15->setPalette(QPalette());
    Text12 = createTextBox("Text12", 4440, 4440, 855, QStringLiteral("最小値"));

    // Tab moves through the boxes in number order, then the button and the
    // sigma choice, and back to the entry box.
    const QList<QWidget *> tabOrder = {Text1, List1, Text2,  Text3,  Text4,  Text5,
                                       Text6, Text7, Text8,  Text9,  Text10, Text11,
                                       Text12, Command1, Combo1};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(Text1, &QLineEdit::returnPressed, this, [this] { Text1_KeyPress(kEnterKey); });
    connect(List1, &QListWidget::itemDoubleClicked, this, [this] { List1_DblClick(); });
    // The same removal without the mouse: Delete, Return or Enter on the
    // selected value. Tabbing into the list makes an item current without
    // selecting it, so only a selected item goes.
    for (const auto key : {Qt::Key_Delete, Qt::Key_Return, Qt::Key_Enter}) {
        auto *removeKey = new QShortcut(QKeySequence(key), List1);
        removeKey->setContext(Qt::WidgetShortcut);
        connect(removeKey, &QShortcut::activated, this, [this] {
            if (const QListWidgetItem *item = List1->currentItem(); item && item->isSelected())
                List1_DblClick();
        });
    }
    connect(Command1, &QPushButton::clicked, this, &Vorla::Command1_Click);
}

void Vorla::createMenus()
{
    f1 = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    f1->setObjectName(QStringLiteral("f1"));
    f11 = f1->addAction(QStringLiteral("ファイルを開く(&O)"));
    f12 = f1->addAction(QStringLiteral("名前を付けて保存(&S)"));
    f2 = f1->addSeparator();
    f21 = f1->addAction(QStringLiteral("印刷(&P)"));
    f3 = f1->addSeparator();
    f31 = f1->addAction(QStringLiteral("終了(&E)"));

    v1 = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    v1->setObjectName(QStringLiteral("v1"));
    v11 = v1->addAction(QStringLiteral("クリア(&C)"));

    mnuJ = menuBar()->addMenu(QStringLiteral("情報"));
    mnuJ->setObjectName(QStringLiteral("mnuJ"));
    mnu_J2 = mnuJ->addAction(QStringLiteral("情報"));

    f11->setObjectName(QStringLiteral("f11"));
    f12->setObjectName(QStringLiteral("f12"));
    f2->setObjectName(QStringLiteral("f2"));
    f21->setObjectName(QStringLiteral("f21"));
    f3->setObjectName(QStringLiteral("f3"));
    f31->setObjectName(QStringLiteral("f31"));
    v11->setObjectName(QStringLiteral("v11"));
    mnu_J2->setObjectName(QStringLiteral("mnu_J2"));

    // Each item hands its index number to its handler, as the menu defines them.
    connect(f11, &QAction::triggered, this, [this] { f11_Click(0); });
    connect(f12, &QAction::triggered, this, [this] { f12_Click(1); });
    connect(f21, &QAction::triggered, this, [this] { f21_Click(2); });
    connect(f31, &QAction::triggered, this, [this] { f31_Click(4); });
    connect(v11, &QAction::triggered, this, [this] { v11_Click(0); });
    connect(mnu_J2, &QAction::triggered, this, &Vorla::mnu_J2_Click);
}

QString Vorla::scratchPath(const char *name) const
{
    return QDir(m_scratchDir).filePath(QLatin1String(name));
}

report::BoxTexts Vorla::boxTexts() const
{
    return {toUtf8(Text2->text()), toUtf8(Text3->text()),  toUtf8(Text4->text()),
            toUtf8(Text5->text()), toUtf8(Text6->text()),  toUtf8(Text7->text()),
            toUtf8(Text8->text()), toUtf8(Text9->text()),  toUtf8(Text10->text()),
            toUtf8(Text11->text()), toUtf8(Text12->text())};
}

bool Vorla::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return handled;
}

void Vorla::Form_Load()
{
    centreOnScreen(*this);
    // A missing or locked scratch file is no reason to stop starting up.
    QFile::remove(scratchPath(files::kScratchDataName));

    for (QLineEdit *box : {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9,
                           Text10, Text11, Text12})
        box->clear();
    Combo1->setEditText(kSigmaThree);
    Combo1->addItems({kSigmaThree, QStringLiteral("2σ"), QStringLiteral("1σ")});
    Combo1->setEditText(kSigmaThree);
}

void Vorla::Form_Activate()
{
    Text1->setFocus();
}

void Vorla::Text1_KeyPress(short keyAscii)
{
    if (keyAscii != kEnterKey)
        return;
    const QString entry = Text1->text();
    if (entry.isEmpty())
        return;
    if (List1->count() >= kMaxItems) {
        // Full: keep the typed text so nothing is lost, and say so with a beep.
        QApplication::beep();
        return;
    }
    f11->setEnabled(false);
    List1->addItem(entry);
    double count = stats::parseValueText(toUtf8(Text10->text()));
    if (!std::isfinite(count))
        count = 0; // a count beyond the double range starts again
    Text10->setText(fromUtf8(stats::numberToText(count + 1)));
    Text1->clear();
}

void Vorla::List1_DblClick()
{
    const int index = List1->currentRow();
    if (index >= 0)
        delete List1->takeItem(index);
    Text1->setFocus();
}

void Vorla::Command1_Click()
{
    std::vector<std::string> items;
    items.reserve(static_cast<std::size_t>(List1->count()));
    for (int i = 0; i < List1->count(); ++i)
        items.push_back(toUtf8(List1->item(i)->text()));

    const stats::StatisticsOutcome outcome =
        stats::calculateStatistics(items, toUtf8(Combo1->currentText()));
    if (std::holds_alternative<stats::StatisticsError>(outcome)) {
        if (std::get<stats::StatisticsError>(outcome) == stats::StatisticsError::OutOfRange)
            QMessageBox::warning(this, QStringLiteral("演算開始"),
                                 QStringLiteral("値が大きすぎるため計算できません。"
                                                "一覧の値を確かめてください。"));
        return; // an empty list leaves every box as it is
    }
    const auto &texts = std::get<stats::StatisticsTexts>(outcome);
    Text11->setText(fromUtf8(texts.maximum));
    Text12->setText(fromUtf8(texts.minimum));
    Text2->setText(fromUtf8(texts.mean));
    Text10->setText(fromUtf8(texts.count));
    Text3->setText(fromUtf8(texts.standardDeviation));
    Text4->setText(fromUtf8(texts.upperLimit));
    Text5->setText(fromUtf8(texts.lowerLimit));
    Text6->setText(fromUtf8(texts.aboveCount));
    Text8->setText(fromUtf8(texts.belowCount));
    Text7->setText(fromUtf8(texts.abovePercent));
    Text9->setText(fromUtf8(texts.belowPercent));
}

namespace {

// Opening also offers every file, so one saved under a name without ".txt"
// can be found again; saving offers the one type it writes.
const QString kOpenFilter = QStringLiteral("Text(*.txt)|*.txt|すべてのファイル (*)|*|");
const QString kSaveFilter = QStringLiteral("Text(*.txt)|*.txt|");
const QString kOpenTitle = QStringLiteral("ファイルを開く");
const QString kSaveTitle = QStringLiteral("名前を付けて保存");

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

QString grouped(qint64 number)
{
    return QLocale(QLocale::English).toString(number);
}

QString readProblemText(const files::ReadFailure &failure)
{
    switch (failure.problem) {
    case files::ReadProblem::Missing:
        return QStringLiteral("ファイルが見つかりません。");
    case files::ReadProblem::NotAFile:
        return QStringLiteral("通常のファイルではありません。");
    case files::ReadProblem::TooLarge:
        return QStringLiteral("ファイルが大きすぎます（%1 バイト。読み込めるのは %2 バイトまでです）。")
            .arg(failure.detail, grouped(files::kMaxValueFileBytes));
    case files::ReadProblem::CannotRead:
        return QStringLiteral("読み込みに失敗しました（%1）。").arg(failure.detail);
    case files::ReadProblem::Binary:
        return QStringLiteral("テキストファイルではありません（NUL 文字を含んでいます）。");
    case files::ReadProblem::NotText:
        return QStringLiteral("Shift JIS としても UTF-8 としても読めない文字を含んでいます。");
    case files::ReadProblem::NoShiftJis:
        return QStringLiteral("この環境では Shift JIS の文字を変換できません。");
    case files::ReadProblem::TooLongLine:
        return QStringLiteral("%1 行目が長すぎます（1 行は %2 文字までです）。")
            .arg(grouped(static_cast<qint64>(failure.line)),
                 grouped(static_cast<qint64>(files::kMaxLineLength)));
    case files::ReadProblem::Cancelled:
        break; // the user's own choice needs no message
    }
    return QString();
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
                        .arg(path, grouped(static_cast<qint64>(line.lineNumber)),
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

} // namespace

void Vorla::f11_Click(int /*index*/)
{
    CommonDialog1.setFilter(kOpenFilter);
    CommonDialog1.setInitDir(m_scratchDir);
    if (!CommonDialog1.showOpen(this))
        return;
    const QString path = QDir::toNativeSeparators(CommonDialog1.fileName());
    const auto ask = [this, &path](const files::AmbiguousReading &line) {
        return askReading(this, path, line);
    };
    std::variant<files::ValueFileItems, files::ReadFailure> read;
    {
        const BusyPointer busy(Text1);
        const int room = std::max(kMaxItems - List1->count(), 0);
        read = files::readValueFile(CommonDialog1.fileName(), static_cast<std::size_t>(room), ask);
        if (const auto *file = std::get_if<files::ValueFileItems>(&read)) {
            QStringList items;
            items.reserve(static_cast<qsizetype>(file->items.size()));
            for (const std::string &item : file->items)
                items << fromUtf8(item);
            List1->addItems(items);
        }
    }
    if (const auto *failure = std::get_if<files::ReadFailure>(&read)) {
        if (failure->problem != files::ReadProblem::Cancelled)
            QMessageBox::warning(this, kOpenTitle,
                                 QStringLiteral("ファイル「%1」を開けませんでした。\n%2\n"
                                                "一覧には何も追加していません。")
                                     .arg(path, readProblemText(*failure)));
        return;
    }
    const auto &file = std::get<files::ValueFileItems>(read);
    setWindowTitle(QStringLiteral("Vorla-") + path);
    CommonDialog1.setFileName(QString());
    if (file.leftOut > 0)
        QMessageBox::information(
            this, kOpenTitle,
            QStringLiteral("一覧に入るのは %1 個までのため、ファイル「%2」の %3 行は"
                           "読み込んでいません（%4 行を追加しました）。")
                .arg(grouped(kMaxItems), path, grouped(static_cast<qint64>(file.leftOut)),
                     grouped(static_cast<qint64>(file.items.size()))));
}

void Vorla::f12_Click(int /*index*/)
{
    QStringList items;
    items.reserve(List1->count());
    for (int i = 0; i < List1->count(); ++i)
        items << List1->item(i)->text();
    // An item Shift JIS cannot hold is told before a name is asked for.
    const auto bytes = files::encodeValueFile(items);
    if (const auto *unencodable = std::get_if<files::EncodeFailure>(&bytes)) {
        QMessageBox::warning(this, kSaveTitle,
                             QStringLiteral("一覧を保存できませんでした。\n%1\n"
                                            "ファイルには何も書いていません。")
                                 .arg(encodeProblemText(*unencodable)));
        return;
    }
    CommonDialog1.setFilter(kSaveFilter);
    CommonDialog1.setInitDir(m_scratchDir);
    if (!CommonDialog1.showSave(this))
        return;
    const QString path = QDir::toNativeSeparators(CommonDialog1.fileName());
    if (const auto written =
            files::writeFileAtomically(CommonDialog1.fileName(), std::get<QByteArray>(bytes))) {
        QMessageBox::warning(this, kSaveTitle,
                             QStringLiteral("ファイル「%1」に保存できませんでした。\n%2\n"
                                            "ファイルは変更していません。")
                                 .arg(path, writeProblemText(*written)));
        return;
    }
    setWindowTitle(QStringLiteral("Pellary-") + path);
    CommonDialog1.setFileName(QString());
}

void Vorla::f21_Click(int /*index*/)
{
    const QString title = QStringLiteral("印刷");
    QMessageBox prompt(QMessageBox::NoIcon, title, QStringLiteral("A4の用紙をセットしてください"),
                       QMessageBox::Ok | QMessageBox::Cancel, this);
    prompt.setDefaultButton(QMessageBox::Ok);
    if (prompt.exec() != QMessageBox::Ok)
        return; // Cancel or Esc: nothing is read and nothing printed

    const QString path = scratchPath(files::kScratchDataName);
    const std::optional<std::vector<std::string>> scratch = files::readScratchLines(path);
    if (!scratch) {
        const QString problem = QFile::exists(path)
                                    ? QStringLiteral("印刷するデータのファイルを読み込めません。")
                                    : QStringLiteral("印刷するデータのファイルがありません。");
        QMessageBox::warning(this, title,
                             problem + QStringLiteral("\n%1\n何も印刷していません。")
                                           .arg(QDir::toNativeSeparators(path)));
        return;
    }
    const std::vector<std::string> lines = report::composeReport(*scratch, boxTexts());
    const std::unique_ptr<report::ReportPrinter> printer = m_openPrinter();
    if (!printer)
        QMessageBox::warning(this, title,
                             QStringLiteral("プリンターが見つかりません。\n通常使うプリンターを"
                                            "設定してから、もう一度印刷してください。"));
    else if (!report::printReport(lines, *printer))
        QMessageBox::warning(this, title,
                             QStringLiteral("プリンターに送れませんでした。\nプリンターの状態を"
                                            "確かめて、もう一度印刷してください。"));
}

void Vorla::f31_Click(int /*index*/)
{
    QCoreApplication::quit();
}

void Vorla::v11_Click(int /*index*/)
{
    // Every step runs whatever became of the one before.
    QFile::remove(scratchPath(files::kScratchTextName));
    List1->clear();
    for (QLineEdit *box : {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9,
                           Text10, Text11, Text12})
        box->clear();
    Combo1->setEditText(kSigmaThree);
    Text1->setFocus();
    f11->setEnabled(true);
    setWindowTitle(QStringLiteral("Vorla"));
}

void Vorla::mnu_J2_Click()
{
    // A new window loads itself (centred, usage text set); an open one is
    // only brought to the front where it stands.
    if (!m_info)
        m_info = new form1;
    m_info->show();
    m_info->raise();
    m_info->activateWindow();
}
