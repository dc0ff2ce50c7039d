#include "sheetwin/SheetWindow.h"

#include "sheetwin/CsvImportDialog.h"
#include "sheetwin/PhaseDialog.h"
#include "sheetwin/ProbabilityPlotView.h"
#include "sheetwin/SheetChartView.h"
#include "sheetwin/SheetRecord.h"
#include "sheetwin/SheetTableModel.h"
#include "sheetwin/SheetTableView.h"

#include "doc/JournalFile.h"
#include "doc/JournalRecovery.h"
#include "files/TextCodec.h"
#include "sheet/Capability.h"
#include "files/ValueFileIO.h"
#include "sheet/SheetCsv.h"
#include "sheet/SheetFile.h"
#include "ui/FileDialog.h"

#include "chart/ChartPicture.h"
#include "chart/RecordPaper.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QSpinBox>
#include <QSplitter>
#include <QVBoxLayout>

namespace sheetwin {

namespace {

// The header's text boxes in order, with their captions.
const char *const kHeaderCaptions[] = {"品名", "品番", "特性", "単位", "測定器", "工程・機械",
                                       "担当者", "規格 上限", "規格 下限", "規格中心"};

std::string *headerField(sheet::Header &header, std::size_t i)
{
    std::string *fields[] = {&header.productName, &header.partNumber, &header.characteristic,
                             &header.unit, &header.gauge, &header.process, &header.operatorName,
                             &header.upperLimit, &header.lowerLimit, &header.specCenter};
    return fields[i];
}

const QString kSheetFilter = QStringLiteral("管理図シート (*.vorla)|*.vorla|");

} // namespace

SheetWindow::SheetWindow(const QString &dataDir, QWidget *parent)
    : QMainWindow(parent), m_dataDir(dataDir)
{
    setAttribute(Qt::WA_DeleteOnClose);
    if (!dataDir.isEmpty())
        m_document.setJournal(JournalFile::atPath(recovery::newSheetJournalPath(dataDir)));
    connect(&m_document, &SheetDocument::journalFailed, this, [this] {
        QMessageBox::warning(this, QStringLiteral("管理図シート"),
                             QStringLiteral("変更を記録できません（ディスクがいっぱいか、書き込めません）。"
                                            "保存するまで、異常終了するとこの後の変更は失われます。"));
    });
    setObjectName(QStringLiteral("SheetWindow"));
    m_model = new SheetTableModel(m_document, this);
    createWidgets();
    createMenus();
    connect(m_model, &SheetTableModel::analysisChanged, this, &SheetWindow::showAnalysis);
    connect(m_document.undoStack(), &QUndoStack::cleanChanged, this, &SheetWindow::showTitle);
    connect(&m_document, &SheetDocument::sheetChanged, this, &SheetWindow::showHeader);
    showHeader();
    showAnalysis();
    showTitle();
    resize(1100, 720);
}

SheetWindow::~SheetWindow() = default;

SheetWindow *SheetWindow::openNew(const QString &dataDir, QWidget *parent)
{
    auto *window = new SheetWindow(dataDir, parent);
    window->show();
    return window;
}

SheetWindow *SheetWindow::openFile(const QString &path, const QString &dataDir, QWidget *parent)
{
    auto *window = new SheetWindow(dataDir, parent);
    if (const auto problem = window->m_document.open(path)) {
        QMessageBox::warning(parent, QStringLiteral("管理図シート"),
                             QStringLiteral("シート「%1」を開けませんでした。\n%2").arg(path, *problem));
        delete window;
        return nullptr;
    }
    window->m_document.undoStack()->clear();
    window->show();
    return window;
}

SheetWindow *SheetWindow::fromValues(const QStringList &texts, int subgroupSize,
                                     const QString &dataDir, QWidget *parent)
{
    auto *window = new SheetWindow(dataDir, parent);
    sheet::Header header = window->m_document.sheet().header;
    header.subgroupSize = subgroupSize;
    window->m_document.setHeader(header);
    std::vector<std::string> values;
    for (const QString &text : texts)
        values.push_back(text.toStdString());
    window->m_document.appendValues(values);
    window->show();
    return window;
}

SheetWindow *SheetWindow::restored(sheet::Sheet sheet, const QString &path, bool unsaved,
                                   std::unique_ptr<JournalFile> journal, const QString &dataDir,
                                   QWidget *parent)
{
    auto *window = new SheetWindow(QString(), parent);
    window->m_dataDir = dataDir;
    window->m_document.restore(std::move(sheet), path, unsaved, std::move(journal));
    window->showTitle();
    window->show();
    return window;
}

void SheetWindow::createWidgets()
{
    auto *header = new QWidget(this);
    auto *grid = new QGridLayout(header);
    for (std::size_t i = 0; i < m_headerBoxes.size(); ++i) {
        auto *box = new QLineEdit(header);
        box->setObjectName(QStringLiteral("header%1").arg(i + 1));
        box->setAccessibleName(QString::fromUtf8(kHeaderCaptions[i]));
        connect(box, &QLineEdit::editingFinished, this, &SheetWindow::applyHeader);
        m_headerBoxes[i] = box;
        const int row = static_cast<int>(i / 5), column = static_cast<int>(i % 5) * 2;
        grid->addWidget(new QLabel(QString::fromUtf8(kHeaderCaptions[i]), header), row, column);
        grid->addWidget(box, row, column + 1);
    }
    m_subgroupBox = new QSpinBox(header);
    m_subgroupBox->setObjectName(QStringLiteral("subgroupSize"));
    m_subgroupBox->setRange(sheet::kSmallestSubgroup, sheet::kLargestSubgroup);
    m_subgroupBox->setAccessibleName(QStringLiteral("群の大きさ n"));
    connect(m_subgroupBox, &QSpinBox::editingFinished, this, &SheetWindow::applyHeader);
    m_stdDevBox = new QCheckBox(QStringLiteral("X̄-s 管理図"), header);
    m_stdDevBox->setObjectName(QStringLiteral("standardDeviations"));
    connect(m_stdDevBox, &QCheckBox::clicked, this, &SheetWindow::applyHeader);
    grid->addWidget(new QLabel(QStringLiteral("群の大きさ n"), header), 2, 0);
    grid->addWidget(m_subgroupBox, 2, 1);
    grid->addWidget(m_stdDevBox, 2, 3);

    m_table = new SheetTableView(this);
    m_table->setModel(m_model);
    m_chart = new SheetChartView(this);
    m_findings = new QListWidget(this);
    m_findings->setObjectName(QStringLiteral("findings"));
    m_findings->setAccessibleName(QStringLiteral("異常の判定"));
    connect(m_findings, &QListWidget::itemDoubleClicked, this, &SheetWindow::goToListedRow);

    m_capability = new QLabel(this);
    m_capability->setObjectName(QStringLiteral("capability"));
    m_capability->setAccessibleName(QStringLiteral("工程能力"));
    m_capability->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_capability->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_probabilityPlot = new ProbabilityPlotView(this);
    auto *below = new QWidget(this);
    auto *belowLayout = new QHBoxLayout(below);
    belowLayout->setContentsMargins(0, 0, 0, 0);
    belowLayout->addWidget(m_capability, 3);
    belowLayout->addWidget(m_probabilityPlot, 2);
    auto *right = new QSplitter(Qt::Vertical, this);
    right->addWidget(m_chart);
    right->addWidget(below);
    right->setStretchFactor(0, 3);
    right->setStretchFactor(1, 1);
    auto *sides = new QSplitter(Qt::Horizontal, this);
    sides->addWidget(m_table);
    sides->addWidget(right);
    sides->setStretchFactor(0, 3);
    sides->setStretchFactor(1, 2);
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(header);
    layout->addWidget(sides, 4);
    layout->addWidget(new QLabel(QStringLiteral("異常の判定"), central));
    layout->addWidget(m_findings, 1);
    setCentralWidget(central);
}

void SheetWindow::createMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->addAction(QStringLiteral("新しいシート(&N)"), this, &SheetWindow::newSheet);
    file->addAction(QStringLiteral("開く(&O)..."), QKeySequence::Open, this, &SheetWindow::openFromDialog);
    file->addAction(QStringLiteral("保存(&S)"), QKeySequence::Save, this, &SheetWindow::saveSheet);
    file->addAction(QStringLiteral("名前を付けて保存(&A)..."), this, &SheetWindow::saveSheetAs);
    file->addSeparator();
    file->addAction(QStringLiteral("CSV を取り込む(&I)..."), this, &SheetWindow::importCsvFromDialog);
    file->addAction(QStringLiteral("CSV に書き出す (Shift JIS)..."), this, [this] { exportCsv(true); });
    file->addAction(QStringLiteral("CSV に書き出す (UTF-8)..."), this, [this] { exportCsv(false); });
    file->addSeparator();
    file->addAction(QStringLiteral("印刷(&P)..."), QKeySequence::Print, this, &SheetWindow::printRecord);
    file->addAction(QStringLiteral("PDF に保存(&F)..."), this, &SheetWindow::saveRecordFromDialog);
    createPaperMenu(file->addMenu(QStringLiteral("記録の用紙(&R)")));
    file->addSeparator();
    file->addAction(QStringLiteral("閉じる(&C)"), QKeySequence::Close, this, &QWidget::close);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    QAction *undo = m_document.undoStack()->createUndoAction(this, QStringLiteral("元に戻す"));
    undo->setShortcut(QKeySequence::Undo);
    QAction *redo = m_document.undoStack()->createRedoAction(this, QStringLiteral("やり直し"));
    redo->setShortcut(QKeySequence::Redo);
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    edit->addAction(QStringLiteral("行を挿入(&I)"), this, &SheetWindow::insertRowAtCurrent);
    edit->addAction(QStringLiteral("行を削除(&D)"), this, &SheetWindow::removeCurrentRow);
    edit->addAction(QStringLiteral("除外する・戻す(&X)..."), this, &SheetWindow::toggleExclusionOfCurrent);

    QMenu *limits = menuBar()->addMenu(QStringLiteral("管理線(&L)"));
    limits->addAction(QStringLiteral("選択した群で管理線を固定(&B)"), this,
                      &SheetWindow::fixLimitsFromSelection);
    limits->addAction(QStringLiteral("標準値で管理線を固定(&S)..."), this,
                      &SheetWindow::fixLimitsFromStandard);
    limits->addAction(QStringLiteral("期の設定(&P)..."), this, &SheetWindow::setPhaseFromCurrent);
    limits->addAction(QStringLiteral("この期を削除(&R)"), this, &SheetWindow::removePhaseOfCurrent);

    QMenu *tests = menuBar()->addMenu(QStringLiteral("判定(&T)"));
    for (int test = 1; test <= stats::SpecialCauseTests::kCount; ++test) {
        QAction *action = tests->addAction(
            QStringLiteral("判定 %1 %2").arg(test).arg(QString::fromStdString(stats::specialCauseName(test))));
        action->setCheckable(true);
        connect(action, &QAction::toggled, this, [this, test](bool on) { switchTest(test, on); });
        m_testActions[static_cast<std::size_t>(test - 1)] = action;
    }
}

void SheetWindow::showHeader()
{
    sheet::Header header = m_document.sheet().header;
    for (std::size_t i = 0; i < m_headerBoxes.size(); ++i)
        if (!m_headerBoxes[i]->hasFocus())
            m_headerBoxes[i]->setText(QString::fromStdString(*headerField(header, i)));
    m_subgroupBox->setValue(header.subgroupSize);
    m_stdDevBox->setChecked(header.standardDeviations);
    m_stdDevBox->setEnabled(header.subgroupSize >= 2 && header.subgroupSize <= sheet::kLargestRangeSubgroup);
    for (int test = 1; test <= stats::SpecialCauseTests::kCount; ++test) {
        QAction *action = m_testActions[static_cast<std::size_t>(test - 1)];
        const QSignalBlocker quiet(action);
        action->setChecked(m_document.sheet().tests.contains(test));
    }
}

void SheetWindow::showAnalysis()
{
    const sheet::SheetAnalysis &analysis = m_model->analysis();
    m_chart->setAnalysis(analysis);
    showCapability();
    m_findings->clear();
    if (!analysis.kind)
        m_findings->addItem(QString::fromStdString(analysis.reason));
    for (const sheet::PhaseOutcome &phase : analysis.phases)
        if (!phase.reason.empty() && !phase.empty)
            m_findings->addItem(QString::fromStdString(phase.title + ": " + phase.reason));
    const int n = m_document.sheet().header.subgroupSize;
    for (const sheet::RowProblem &problem : analysis.problems) {
        auto *item = new QListWidgetItem(QString::fromStdString(sheet::rowProblemText(problem, n)));
        item->setData(Qt::UserRole, static_cast<int>(problem.row));
        m_findings->addItem(item);
    }
    if (analysis.kind)
        for (const sheet::SheetSignal &signal : analysis.causes) {
            auto *item = new QListWidgetItem(QString::fromStdString(
                sheet::sheetSignalText(m_document.sheet(), *analysis.kind, signal)));
            item->setData(Qt::UserRole, static_cast<int>(signal.row));
            m_findings->addItem(item);
        }
}

void SheetWindow::showCapability()
{
    const sheet::SheetAnalysis &analysis = m_model->analysis();
    const std::optional<std::size_t> phase = sheet::currentPhase(analysis);
    if (!phase) {
        m_capability->setText(QStringLiteral("工程能力: 数えられる群がまだありません"));
        m_probabilityPlot->setValues({}, 0, 0);
        return;
    }
    const sheet::Sheet &sheet = m_document.sheet();
    const sheet::PhaseOutcome &outcome = analysis.phases[*phase];
    const sheet::CapabilityReport report = sheet::phaseCapability(sheet, analysis, *phase);
    QString text = QStringLiteral("工程能力 (%1、第 %2 群から)")
                       .arg(QString::fromStdString(outcome.title))
                       .arg(outcome.firstRow + 1);
    for (const std::string &line : sheet::capabilityLines(report))
        text += QLatin1Char('\n') + QString::fromStdString(line);
    m_capability->setText(text);
    m_probabilityPlot->setValues(sheet::countedValues(sheet, analysis, outcome.firstRow, outcome.lastRow),
                                 report.mean, report.overallSigma);
}

void SheetWindow::showTitle()
{
    const QString path = m_document.filePath();
    setWindowTitle(QStringLiteral("管理図シート - %1[*]")
                       .arg(path.isEmpty() ? QStringLiteral("無題") : QFileInfo(path).fileName()));
    setWindowModified(m_document.isModified());
}

void SheetWindow::showProblem(const std::string &problem)
{
    if (!problem.empty())
        QMessageBox::warning(this, QStringLiteral("管理図シート"), QString::fromStdString(problem));
}

std::size_t SheetWindow::currentRow() const
{
    const QModelIndex current = m_table->currentIndex();
    return current.isValid() ? static_cast<std::size_t>(current.row()) : 0;
}

void SheetWindow::applyHeader()
{
    sheet::Header header = m_document.sheet().header;
    for (std::size_t i = 0; i < m_headerBoxes.size(); ++i)
        *headerField(header, i) = m_headerBoxes[i]->text().toStdString();
    header.subgroupSize = m_subgroupBox->value();
    header.standardDeviations = m_stdDevBox->isChecked();
    if (header == m_document.sheet().header)
        return;
    const std::string problem = m_document.setHeader(header);
    showProblem(problem);
    if (!problem.empty())
        showHeader();
}

bool SheetWindow::maybeSave()
{
    if (!m_document.isModified())
        return true;
    const auto answer = QMessageBox::question(
        this, QStringLiteral("管理図シート"), QStringLiteral("シートは変更されています。保存しますか？"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return saveSheet();
    return answer == QMessageBox::Discard;
}

void SheetWindow::closeEvent(QCloseEvent *event)
{
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    // Closed normally: nothing is left to restore, even when the program
    // ends before the window is deleted.
    m_document.setJournal(nullptr);
    event->accept();
}

void SheetWindow::newSheet()
{
    openNew(m_dataDir, parentWidget());
}

void SheetWindow::openFromDialog()
{
    FileDialog dialog;
    dialog.setFilter(kSheetFilter);
    if (dialog.showOpen(this))
        openFile(dialog.fileName(), m_dataDir, parentWidget());
}

bool SheetWindow::saveSheet()
{
    if (m_document.filePath().isEmpty())
        return saveSheetAs();
    if (const auto problem = m_document.save(m_document.filePath())) {
        QMessageBox::warning(this, QStringLiteral("管理図シート"),
                             QStringLiteral("シート「%1」に保存できませんでした。\n%2\nファイルは変更していません。")
                                 .arg(m_document.filePath(), *problem));
        return false;
    }
    showTitle();
    return true;
}

bool SheetWindow::saveSheetAs()
{
    FileDialog dialog;
    dialog.setFilter(kSheetFilter);
    dialog.setDefaultSuffix(QStringLiteral("vorla"));
    if (!dialog.showSave(this))
        return false;
    if (const auto problem = m_document.save(dialog.fileName())) {
        QMessageBox::warning(this, QStringLiteral("管理図シート"),
                             QStringLiteral("シート「%1」に保存できませんでした。\n%2\nファイルは変更していません。")
                                 .arg(dialog.fileName(), *problem));
        return false;
    }
    showTitle();
    return true;
}

void SheetWindow::importCsvFromDialog()
{
    FileDialog dialog;
    dialog.setFilter(QStringLiteral("CSV (*.csv)|*.csv|すべてのファイル (*)|*|"));
    if (!dialog.showOpen(this))
        return;
    auto bytes = files::readBoundedBytes(dialog.fileName(), sheet::kMaxSheetFileBytes);
    if (const auto *failure = std::get_if<files::ReadFailure>(&bytes))
        return showProblem(files::readProblemText(*failure).toStdString());
    auto text = files::decodeText(std::move(std::get<std::string>(bytes)));
    if (!std::holds_alternative<files::DecodedText>(text))
        return showProblem("Shift JIS としても UTF-8 としても読めないファイルです");
    CsvImportDialog import(sheet::readCsvTable(std::get<files::DecodedText>(text).text), this);
    if (import.exec() != QDialog::Accepted)
        return;
    const auto n = static_cast<int>(import.columns().valueColumns.size());
    QUndoStack *undo = m_document.undoStack();
    undo->beginMacro(QStringLiteral("CSV の取り込み"));
    std::string problem;
    if (m_document.sheet().rows.empty() && m_document.sheet().header.subgroupSize != n) {
        sheet::Header header = m_document.sheet().header;
        header.subgroupSize = n;
        problem = m_document.setHeader(header);
    }
    if (problem.empty())
        problem = m_document.appendRows(import.import().rows);
    undo->endMacro();
    showProblem(problem);
}

void SheetWindow::exportCsv(bool shiftJis)
{
    FileDialog dialog;
    dialog.setFilter(QStringLiteral("CSV (*.csv)|*.csv|"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (!dialog.showSave(this))
        return;
    const QString text = QString::fromStdString(sheet::sheetCsv(m_document.sheet(), m_model->analysis()));
    QByteArray bytes;
    if (shiftJis) {
        const std::optional<QByteArray> encoded = files::encodeShiftJis(text);
        if (!encoded)
            return showProblem("Shift JIS で書けない文字があります。UTF-8 で書き出してください");
        bytes = *encoded;
    } else {
        bytes = QByteArray("\xEF\xBB\xBF") + text.toUtf8(); // the mark makes Excel read UTF-8
    }
    if (const auto failure = files::writeFileAtomically(dialog.fileName(), bytes))
        showProblem("書き出せませんでした (" + failure->detail.toStdString() + ")");
}

void SheetWindow::insertRowAtCurrent()
{
    showProblem(m_document.insertRow(std::min(currentRow(), m_document.sheet().rows.size())));
}

void SheetWindow::removeCurrentRow()
{
    if (currentRow() < m_document.sheet().rows.size())
        showProblem(m_document.removeRow(currentRow()));
}

void SheetWindow::toggleExclusionOfCurrent()
{
    const std::size_t row = currentRow();
    if (row >= m_document.sheet().rows.size())
        return;
    if (m_document.sheet().rows[row].excluded)
        return showProblem(m_document.setExcluded(row, false, {}));
    bool ok = false;
    const QString reason = QInputDialog::getText(this, QStringLiteral("除外"),
                                                 QStringLiteral("第 %1 群を除外する理由").arg(row + 1),
                                                 QLineEdit::Normal, {}, &ok);
    if (ok)
        showProblem(m_document.setExcluded(row, true, reason.toStdString()));
}

void SheetWindow::fixLimitsFromSelection()
{
    const QModelIndexList selected = m_table->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return showProblem("基準にする群を選択してください");
    std::size_t first = SIZE_MAX, last = 0;
    for (const QModelIndex &index : selected) {
        first = std::min(first, static_cast<std::size_t>(index.row()));
        last = std::max(last, static_cast<std::size_t>(index.row()));
    }
    sheet::Phase phase;
    phase.firstRow = last + 1;
    phase.source = sheet::LimitSource::Baseline;
    phase.baselineFirst = first;
    phase.baselineLast = std::min(last, m_document.sheet().rows.size() - 1);
    std::vector<sheet::Phase> phases = sheet::effectivePhases(m_document.sheet());
    std::erase_if(phases, [&](const sheet::Phase &p) { return p.firstRow >= phase.firstRow; });
    phases.push_back(phase);
    showProblem(m_document.setPhases(phases));
}

void SheetWindow::fixLimitsFromStandard()
{
    bool ok = false;
    const QString mean = QInputDialog::getText(this, QStringLiteral("標準値"), QStringLiteral("x̄₀"),
                                               QLineEdit::Normal, {}, &ok);
    if (!ok)
        return;
    const QString sigma = QInputDialog::getText(this, QStringLiteral("標準値"), QStringLiteral("σ₀"),
                                                QLineEdit::Normal, {}, &ok);
    if (!ok)
        return;
    sheet::Phase phase;
    phase.firstRow = currentRow();
    phase.source = sheet::LimitSource::Standard;
    phase.standardMean = mean.toStdString();
    phase.standardSigma = sigma.toStdString();
    std::vector<sheet::Phase> phases = sheet::effectivePhases(m_document.sheet());
    std::erase_if(phases, [&](const sheet::Phase &p) { return p.firstRow >= phase.firstRow; });
    phases.push_back(phase);
    showProblem(m_document.setPhases(phases));
}

void SheetWindow::setPhaseFromCurrent()
{
    // The phase from the current group on: the one it is in, as a start.
    const std::vector<sheet::Phase> phases = sheet::effectivePhases(m_document.sheet());
    sheet::Phase phase = phases[sheet::phaseOfRow(phases, currentRow())];
    phase.firstRow = currentRow();
    const sheet::ChartKind kind = m_model->analysis().kind.value_or(sheet::ChartKind::MeansRanges);
    PhaseDialog dialog(phase, m_document.sheet().rows.size(), kind, this);
    if (dialog.exec() == QDialog::Accepted)
        showProblem(m_document.setPhases(sheet::withPhase(m_document.sheet(), dialog.phase())));
}

void SheetWindow::removePhaseOfCurrent()
{
    std::vector<sheet::Phase> phases = sheet::effectivePhases(m_document.sheet());
    const std::size_t index = sheet::phaseOfRow(phases, currentRow());
    if (index == 0)
        return showProblem("最初の期は削除できません");
    phases.erase(phases.begin() + static_cast<std::ptrdiff_t>(index));
    showProblem(m_document.setPhases(phases));
}

void SheetWindow::switchTest(int test, bool on)
{
    stats::SpecialCauseTests tests;
    for (int t = 1; t <= stats::SpecialCauseTests::kCount; ++t)
        if (t == test ? on : m_document.sheet().tests.contains(t))
            tests.add(t);
    showProblem(m_document.setTests(tests));
}

void SheetWindow::goToListedRow()
{
    const QVariant row = m_findings->currentItem() ? m_findings->currentItem()->data(Qt::UserRole)
                                                   : QVariant();
    if (row.isValid())
        m_table->setCurrentIndex(m_model->index(row.toInt(), m_model->firstValueColumn()));
}

} // namespace sheetwin

namespace sheetwin {

// ---- the record: 印刷 and PDF に保存 ------------------------------------------

chart::RecordSource SheetWindow::recordSource() const
{
    return {QDir::toNativeSeparators(m_document.filePath()).toStdString(), m_document.isModified(),
            chart::writtenNow().toStdString()};
}

/// A4 横 or A4 縦 for 印刷 and PDF に保存, shared with the chart window's
/// 用紙 and kept for the next run.
void SheetWindow::createPaperMenu(QMenu *menu)
{
    auto *group = new QActionGroup(menu);
    const auto add = [&](const QString &text, const char *name, QPageLayout::Orientation paper) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setCheckable(true);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [paper] { chart::saveRecordOrientation(paper); });
        // The chart window may have changed it since.
        connect(menu, &QMenu::aboutToShow, action,
                [action, paper] { action->setChecked(chart::savedRecordOrientation() == paper); });
        action->setChecked(chart::savedRecordOrientation() == paper);
    };
    add(QStringLiteral("A4 横(&L)"), "recordLandscape", QPageLayout::Landscape);
    add(QStringLiteral("A4 縦(&T)"), "recordPortrait", QPageLayout::Portrait);
}

void SheetWindow::printRecord()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    QPrinter printer(info, QPrinter::HighResolution);
    if (info.isNull() || !printer.isValid()) {
        QMessageBox::warning(this, QStringLiteral("管理図シート"),
                             QStringLiteral("使えるプリンターがありません。\n"
                                            "「PDF に保存」で記録を PDF にできます。"));
        return;
    }
    const QString failure =
        printSheetRecord(printer, m_document.sheet(), m_model->analysis(), recordSource(),
                         chart::savedRecordOrientation());
    if (!failure.isEmpty())
        QMessageBox::warning(this, QStringLiteral("管理図シート"), failure);
}

void SheetWindow::saveRecordFromDialog()
{
    FileDialog dialog;
    dialog.setFilter(QStringLiteral("PDF (*.pdf)|*.pdf|"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    // Beside the sheet, named after it.
    const QFileInfo sheetFile(m_document.filePath());
    dialog.setFileName(m_document.filePath().isEmpty()
                           ? QDir::home().filePath(QStringLiteral("管理図シート.pdf"))
                           : sheetFile.dir().filePath(sheetFile.completeBaseName() + QStringLiteral(".pdf")));
    if (!dialog.showSave(this))
        return;
    const QString failure =
        saveSheetRecordPdf(dialog.fileName(), m_document.sheet(), m_model->analysis(),
                           recordSource(), chart::savedRecordOrientation());
    if (!failure.isEmpty())
        QMessageBox::warning(this, QStringLiteral("管理図シート"),
                             QStringLiteral("ファイル「%1」に保存できませんでした。\n%2")
                                 .arg(QDir::toNativeSeparators(dialog.fileName()), failure));
}

} // namespace sheetwin
