#include "app/Vorla.h"

#include "app/EntryBox.h"
#include "app/ScratchPaths.h"
#include "app/ValueEditDelegate.h"
#include "app/SheetCommands.h"
#include "app/ValueListView.h"
#include "app/VorlaControls.h"
#include "app/VorlaNames.h"
#include "app/VorlaTexts.h"
#include "chart/ChartWindow.h"
#include "doc/ValueListDocument.h"
#include "doc/ValueListModel.h"
#include "files/Paste.h"
#include "files/ScratchFile.h"
#include "files/ValueFile.h"
#include "info/InfoWindow.h"
#include "print/Report.h"
#include "stats/NumberText.h"
#include "ui/DefaultFont.h"
#include "ui/FitText.h"
#include "ui/FocusOnActivation.h"
#include "ui/Utf8.h"
#include "ui/WindowGeometry.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QToolTip>

#include <cmath>

namespace names = vorla_names;

namespace {

const QString kSigmaThree = QStringLiteral("3σ");

using ui::fromUtf8;
using ui::toUtf8;
using vorla_texts::kPasteTitle;

} // namespace

Vorla::Vorla(const QString &scratchDir, QWidget *parent)
    : QMainWindow(parent), m_scratchDir(scratchDir), m_document(new ValueListDocument(this))
{
    setObjectName(QLatin1String(names::kWindow));
    setWindowTitle(m_document->title());
    setWindowIcon(QIcon(QStringLiteral(":/vorla.svg")));
    setFont(vorlaDefaultFont());
    m_controls = std::make_unique<VorlaControls>(*this, m_document->model());
    // Back from a message over the list's editor, the edit goes on.
    new ui::FocusOnActivation(this, m_controls->entryBox, [this] { return m_listEdit.has_value(); });
    m_controls->readingNotice->installEventFilter(this);
    createRemoveKeyAndHistory();
    connectControls();
    m_files = std::make_unique<ValueFileCommands>(this, m_document, m_controls->entryBox);
    m_sheets = std::make_unique<SheetCommands>(this);
    m_print = std::make_unique<PrintCommand>(
        this, QDir(m_scratchDir).filePath(QLatin1String(files::kScratchDataName)));
    createMenus();
    createListEditing();
    connectDocument();
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
    m_print->setPrinterFactory(std::move(openPrinter));
}

bool Vorla::openValueFile(const QString &path)
{
    return m_files->openFile(path);
}

void Vorla::createRemoveKeyAndHistory()
{
    // Delete removes the selected value as a double-click does. Tabbing into
    // the list makes an item current without selecting it, so only a
    // selected item goes. Enter removes nothing: it is too easily pressed.
    auto *removeKey = new QShortcut(QKeySequence(Qt::Key_Delete), m_controls->valueList);
    removeKey->setContext(Qt::WidgetShortcut);
    connect(removeKey, &QShortcut::activated, this, [this] {
        if (m_controls->valueList->selectionModel()->isSelected(m_controls->valueList->currentIndex()))
            removeSelectedValue();
    });
    m_undoAction = createListAction(names::kUndo, QStringLiteral("元に戻す"), &Vorla::undo);
    m_undoAction->setShortcut(QKeySequence::Undo);
    m_redoAction = createListAction(names::kRedo, QStringLiteral("やり直し"), &Vorla::redo);
    m_redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y),
                                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    m_undoAction->setEnabled(false);
    m_redoAction->setEnabled(false);
    m_controls->valueList->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void Vorla::connectControls()
{
    connect(m_controls->entryBox, &QLineEdit::returnPressed, this, &Vorla::enterTypedValue);
    connect(m_controls->entryBox, &EntryBox::linesPasted, this, &Vorla::enterPastedValues);
    connect(m_controls->entryBox, &EntryBox::nothingToUndo, this, &Vorla::undo);
    connect(m_controls->entryBox, &EntryBox::nothingToRedo, this, &Vorla::redo);
    connect(m_controls->valueList, &QListView::doubleClicked, this, &Vorla::removeSelectedValue);
    connect(m_controls->calculateButton, &QPushButton::clicked, this, &Vorla::calculate);
    // The notice speaks of the list as it was calculated: a move in the list
    // ends it, as any change to the list does (connectDocument).
    connect(m_controls->valueList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &Vorla::hideReadingNotice);
}

void Vorla::connectDocument()
{
    ValueListModel *model = m_document->model();
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model, signal, this, &Vorla::hideReadingNotice);
    connect(model, &QAbstractItemModel::modelReset, this, &Vorla::hideReadingNotice);
    connect(model, &QAbstractItemModel::dataChanged, this, &Vorla::hideReadingNotice);
    connect(m_document, &ValueListDocument::titleChanged, this, &QWidget::setWindowTitle);
    connect(m_document, &ValueListDocument::openAllowedChanged, m_openAction, &QAction::setEnabled);
    connect(m_document, &ValueListDocument::entered, this, [this](std::size_t entries) {
        // The box's text is the count: whatever it shows, typed text too, is
        // read back for each entry.
        QLineEdit *count = m_controls->countBox;
        count->setText(fromUtf8(ValueListDocument::advancedCount(toUtf8(count->text()), entries)));
    });
    connect(m_document, &ValueListDocument::rowAffected, this, &Vorla::showAffectedRow);
    connect(m_document, &ValueListDocument::noRoom, this, [] { QApplication::beep(); });
    connect(m_document, &ValueListDocument::historyChanged, this, [this] {
        m_undoAction->setEnabled(m_document->canUndo());
        m_redoAction->setEnabled(m_document->canRedo());
    });
    connect(m_document, &ValueListDocument::journalFailed, this, [this] {
        QMessageBox::warning(this, QStringLiteral("Vorla"), vorla_texts::journalFailedText());
    });
    connect(m_document, &ValueListDocument::sourceNameChanged, this, [this](const QString &path) {
        if (m_chart)
            m_chart->setSourceName(path);
    });
    connect(m_document, &ValueListDocument::figuresChanged, this, &Vorla::showFiguresInChart);
    connect(m_document, &ValueListDocument::unsavedChanged, this, [this](bool unsaved) {
        if (m_chart)
            m_chart->setUnsavedChanges(unsaved);
    });
    // The charts show the list as it was calculated, and say so once it changed.
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model, signal, this, &Vorla::markChartStale);
    connect(model, &QAbstractItemModel::dataChanged, this, &Vorla::markChartStale);
}

void Vorla::showFiguresInChart()
{
    if (!m_chart)
        return;
    const auto &figures = m_document->figures();
    m_chart->setFigures(figures, figures ? figures->loose.withoutNumber : std::vector<std::size_t>());
}

void Vorla::markChartStale()
{
    if (m_chart && m_document->figures())
        m_chart->setListChanged(true);
}

void Vorla::noticeLooseReadings(const stats::LooseReadings &loose)
{
    const QString text = vorla_texts::looseReadingText(loose);
    if (text.isEmpty()) {
        hideReadingNotice();
        return;
    }
    // Selected without becoming current: Delete and a double-click still
    // act on the current item alone, and the user's next move in the list
    // selects as it always does.
    QItemSelection selection;
    for (const std::size_t row : loose.all()) {
        const QModelIndex index = m_document->model()->index(static_cast<int>(row));
        selection.select(index, index);
    }
    m_controls->valueList->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_controls->valueList->scrollTo(m_document->model()->index(static_cast<int>(loose.all().front())));
    m_controls->readingNotice->setText(text);
    m_controls->readingNotice->setAccessibleName(text);
    m_controls->readingNotice->show();
    m_controls->readingNotice->raise();
    m_controls->valueList->setAccessibleDescription(text);
    QAccessibleEvent alert(m_controls->readingNotice, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void Vorla::hideReadingNotice()
{
    if (m_controls->readingNotice->isHidden())
        return;
    m_controls->readingNotice->hide();
    m_controls->readingNotice->clear();
    m_controls->valueList->setAccessibleDescription(QString());
}

void Vorla::createMenus()
{
    // Only the open command is switched on and off later; the other menus
    // and commands live as long as the menu bar that owns them.
    QMenu *fileMenu = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    fileMenu->setObjectName(QLatin1String(names::kFileMenu));
    m_openAction = fileMenu->addAction(QStringLiteral("ファイルを開く(&O)"));
    QAction *saveAction = fileMenu->addAction(QStringLiteral("名前を付けて保存(&S)"));
    QAction *printSeparator = fileMenu->addSeparator();
    QAction *printAction = fileMenu->addAction(QStringLiteral("印刷(&P)"));
    QAction *exitSeparator = fileMenu->addSeparator();
    QAction *exitAction = fileMenu->addAction(QStringLiteral("終了(&E)"));

    QMenu *viewMenu = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    viewMenu->setObjectName(QLatin1String(names::kViewMenu));
    QAction *clearAction = viewMenu->addAction(QStringLiteral("クリア(&C)"));
    QAction *chartAction = viewMenu->addAction(QStringLiteral("グラフ(&G)"));
    QMenu *sheetMenu = viewMenu->addMenu(QStringLiteral("管理図シート(&K)"));
    QAction *newSheetAction = sheetMenu->addAction(QStringLiteral("新しいシート(&N)"));
    QAction *openSheetAction = sheetMenu->addAction(QStringLiteral("シートを開く(&O)..."));
    newSheetAction->setObjectName(QLatin1String(names::kNewSheetCommand));
    openSheetAction->setObjectName(QLatin1String(names::kOpenSheetCommand));
    connect(newSheetAction, &QAction::triggered, this, [this] { m_sheets->openNew(); });
    connect(openSheetAction, &QAction::triggered, this, [this] { m_sheets->openFromDialog(); });

    QMenu *informationMenu = menuBar()->addMenu(QStringLiteral("情報"));
    informationMenu->setObjectName(QLatin1String(names::kInformationMenu));
    QAction *informationAction = informationMenu->addAction(QStringLiteral("情報"));

    m_openAction->setObjectName(QLatin1String(names::kOpenCommand));
    saveAction->setObjectName(QLatin1String(names::kSaveCommand));
    printSeparator->setObjectName(QLatin1String(names::kPrintSeparator));
    printAction->setObjectName(QLatin1String(names::kPrintCommand));
    exitSeparator->setObjectName(QLatin1String(names::kExitSeparator));
    exitAction->setObjectName(QLatin1String(names::kExitCommand));
    clearAction->setObjectName(QLatin1String(names::kClearCommand));
    chartAction->setObjectName(QLatin1String(names::kChartCommand));
    informationAction->setObjectName(QLatin1String(names::kInformationCommand));

    connect(m_openAction, &QAction::triggered, this, [this] { m_files->openFromDialog(); });
    connect(saveAction, &QAction::triggered, this, [this] { m_files->save(); });
    connect(printAction, &QAction::triggered, this, &Vorla::printReport);
    connect(exitAction, &QAction::triggered, this, &Vorla::exitProgram);
    connect(clearAction, &QAction::triggered, this, &Vorla::clearAll);
    connect(chartAction, &QAction::triggered, this, &Vorla::openChartWindow);
    connect(informationAction, &QAction::triggered, this, &Vorla::showInformation);
}

void Vorla::loadWindow()
{
    centreOnScreen(*this);
    // A missing or locked scratch file is no reason to stop starting up.
    QFile::remove(QDir(m_scratchDir).filePath(QLatin1String(files::kScratchDataName)));

    m_controls->clearBoxes();
    m_controls->sigmaChoice->setEditText(kSigmaThree);
    m_controls->sigmaChoice->addItems({kSigmaThree, QStringLiteral("2σ"), QStringLiteral("1σ")});
    // Adding the first item to an empty combo box makes it current and shows
    // its text; the shown choice is set again so it is "3σ" whatever the
    // first item is.
    m_controls->sigmaChoice->setEditText(kSigmaThree);
}

void Vorla::enterTypedValue()
{
    const QString entry = m_controls->entryBox->text();
    if (entry.isEmpty())
        return;
    if (EntryBox::holdsBreaks(entry)) {
        // A paste never leaves a break in the box, but an input method may
        // commit one: such text enters as a paste does, whole or not at all.
        enterPastedValues(entry);
        return;
    }
    if (!m_document->enter({toUtf8(entry)})) {
        // Full: keep the typed text so nothing is lost, and say so with a beep.
        QApplication::beep();
        return;
    }
    m_controls->valueList->scrollToBottom(); // the user sees each value as it goes in
    m_controls->entryBox->setText(QString()); // Ctrl+Z now brings back a removed value, not this one
}

void Vorla::enterPastedValues(const QString &text)
{
    std::optional<std::vector<std::string>> pasted = vorla_texts::pastedValues(this, text);
    if (!pasted)
        return; // the question about a table's columns was cancelled
    files::PastePlan plan = files::planValues(std::move(*pasted), m_document->room());
    if (plan.verdict != files::PasteVerdict::Enter) {
        // Refused: the list and the box stay as they were. Pasted text is still
        // on the clipboard (or in the selection), text an input method
        // committed is still in the box; dropped text is only in its source.
        QMessageBox::warning(this, kPasteTitle,
                             vorla_texts::pasteRefusedText(plan, m_document->room()));
        return;
    }
    m_document->enter(std::move(plan.values));
    m_controls->valueList->scrollToBottom();
    m_controls->entryBox->setText(QString()); // the box's own text went in with the paste
}

void Vorla::removeSelectedValue()
{
    m_document->remove(m_controls->valueList->currentIndex().row());
    m_controls->entryBox->setFocus();
}

void Vorla::undo()
{
    acceptListEdit();
    if (m_document->undo())
        m_controls->entryBox->setFocus();
}

void Vorla::redo()
{
    acceptListEdit();
    if (m_document->redo())
        m_controls->entryBox->setFocus();
}

void Vorla::showAffectedRow(int row)
{
    if (row < m_document->count())
        m_controls->valueList->setCurrentIndex(m_document->model()->index(row));
    m_controls->entryBox->setFocus();
}

void Vorla::calculate()
{
    stats::FiguresOutcome outcome =
        stats::calculateFigures(m_document->items(), toUtf8(m_controls->sigmaChoice->currentText()));
    if (const auto *error = std::get_if<stats::StatisticsError>(&outcome)) {
        if (*error == stats::StatisticsError::OutOfRange)
            QMessageBox::warning(this, vorla_texts::kCalculateTitle, vorla_texts::tooLargeText());
        return; // an empty list leaves every box as it is
    }
    auto figures = std::make_shared<const stats::StatisticsFigures>(
        std::get<stats::StatisticsFigures>(std::move(outcome)));
    m_controls->showResults(stats::statisticsTexts(*figures));
    noticeLooseReadings(figures->loose);
    m_document->setFigures(std::move(figures));
}

void Vorla::dragEnterEvent(QDragEnterEvent *event)
{
    // Taken even while the open command is off, so that the drop can say why
    // it opens nothing.
    if (!vorla_texts::droppedFiles(*event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

bool Vorla::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_controls->readingNotice && type == QEvent::MouseButtonPress) {
        hideReadingNotice();
        return true;
    }
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
        auto *drag = static_cast<QDropEvent *>(event);
        if (!vorla_texts::droppedFiles(*drag->mimeData()).isEmpty()) {
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
    const QStringList files = vorla_texts::droppedFiles(*event->mimeData());
    if (files.isEmpty())
        return;
    if (m_document->openAllowed())
        event->acceptProposedAction();
    // The files open once the drop is over: a message box inside the drop
    // would keep the file manager waiting for its answer.
    QMetaObject::invokeMethod(this, [this, files] { m_files->openDropped(files); },
                              Qt::QueuedConnection);
}

void Vorla::printReport()
{
    m_print->print(m_document->items(), m_controls->boxTexts());
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
    if (!m_files->mayDiscardUnsaved()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void Vorla::clearAll()
{
    // Every step runs whatever became of the one before.
    QFile::remove(QDir(m_scratchDir).filePath(QLatin1String(files::kScratchTextName)));
    // The list is one step Ctrl+Z takes back; the boxes stay cleared.
    m_document->clear();
    m_controls->clearBoxes();
    // The list of the drop-down goes back to "3σ" too, so it does not
    // highlight an old choice.
    m_controls->sigmaChoice->setCurrentIndex(0);
    m_controls->sigmaChoice->setEditText(kSigmaThree);
    m_controls->entryBox->setFocus();
}

void Vorla::sendListToSheet()
{
    acceptListEdit();
    if (m_document->count() > 0)
        m_sheets->sendToSheet(m_document->items());
}

void Vorla::showInformation()
{
    // A new window loads itself (centred, usage text set); an open one is
    // only brought to the front where it stands.
    if (!m_info)
        m_info = new InfoWindow;
    m_info->show();
    m_info->raise();
    m_info->activateWindow();
}

void Vorla::openChartWindow()
{
    // Like the information window: one at most, an open one comes forward.
    if (!m_chart) {
        m_chart = new ChartWindow;
        showFiguresInChart();
        m_chart->setSourceName(m_document->sourceName());
        m_chart->setUnsavedChanges(m_document->isUnsaved());
    }
    m_chart->show();
    m_chart->raise();
    m_chart->activateWindow();
}

void Vorla::createListEditing()
{
    m_valueEditor = new ValueEditDelegate(m_controls->valueList);
    m_controls->valueList->setItemDelegate(m_valueEditor);
    auto *separator = new QAction(m_controls->valueList);
    separator->setSeparator(true);
    m_controls->valueList->addAction(separator);
    m_correctAction = createListAction(names::kCorrect, QStringLiteral("修正"),
                                       &Vorla::correctSelectedValue);
    m_correctAction->setShortcut(QKeySequence(Qt::Key_F2));
    m_insertAction = createListAction(names::kInsert, QStringLiteral("ここに挿入"),
                                      &Vorla::insertBeforeSelectedValue);
    createListAction(names::kSendToSheet, QStringLiteral("シートへ送る"), &Vorla::sendListToSheet);
    // Connected after the view's own handling of the editor's closing, so the
    // editor is gone by the time the list changes.
    connect(m_valueEditor, &ValueEditDelegate::textAccepted, this, [this](const QString &text) {
        if (m_listEdit)
            m_listEdit->accepted = text;
    });
    connect(m_valueEditor, &ValueEditDelegate::closeEditor, this, &Vorla::finishListEdit);
    connect(m_valueEditor, &ValueEditDelegate::linesPasted, this, &Vorla::takePasteIntoEditor);
    QItemSelectionModel *selection = m_controls->valueList->selectionModel();
    connect(selection, &QItemSelectionModel::selectionChanged, this, &Vorla::updateListEditActions);
    connect(selection, &QItemSelectionModel::currentChanged, this, &Vorla::updateListEditActions);
    // A menu command acts on the list as it stands, with the edited value in it.
    for (QMenu *menu : menuBar()->findChildren<QMenu *>())
        connect(menu, &QMenu::aboutToShow, this, &Vorla::acceptListEdit);
    updateListEditActions();
}

QAction *Vorla::createListAction(const char *name, const QString &text, void (Vorla::*handler)())
{
    auto *action = new QAction(text, m_controls->valueList);
    action->setObjectName(QLatin1String(name));
    action->setShortcutContext(Qt::WidgetShortcut);
    m_controls->valueList->addAction(action);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

int Vorla::selectedRow() const
{
    const QModelIndex current = m_controls->valueList->currentIndex();
    const bool selected = current.isValid() && m_controls->valueList->selectionModel()->isSelected(current);
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
    m_listEdit = ListEdit{row, false, std::nullopt};
    openListEditor(row, QStringLiteral("値の修正"));
}

void Vorla::insertBeforeSelectedValue()
{
    const int row = selectedRow();
    if (row < 0 || m_listEdit)
        return;
    // The empty row is the editor's place; it is no change to the list until
    // a value is accepted into it.
    if (!m_document->beginInsertion(row)) {
        QApplication::beep(); // full, as for a value typed into Text1
        return;
    }
    m_listEdit = ListEdit{row, true, std::nullopt};
    openListEditor(row, QStringLiteral("挿入する値"));
}

void Vorla::openListEditor(int row, const QString &accessibleName)
{
    const QModelIndex index = m_document->model()->index(row);
    m_controls->valueList->setCurrentIndex(index);
    m_controls->valueList->scrollTo(index);
    m_valueEditor->setEditorName(accessibleName);
    m_controls->valueList->edit(index);
}

void Vorla::acceptListEdit()
{
    // The editor takes the focus away as accepted, exactly as a click
    // elsewhere would.
    if (m_listEdit)
        m_controls->valueList->setFocus();
}

void Vorla::finishListEdit()
{
    if (!m_listEdit)
        return;
    const ListEdit edit = *std::exchange(m_listEdit, std::nullopt);
    std::optional<std::string> value;
    if (edit.accepted)
        value = judgedValue(*edit.accepted);
    if (edit.inserting) {
        // Cancelled or left empty: the list is as it was, selection included.
        m_document->finishInsertion(edit.row, std::move(value));
        m_controls->valueList->setCurrentIndex(m_document->model()->index(edit.row));
    } else if (value && m_document->correct(edit.row, std::move(*value))) {
        m_controls->entryBox->setFocus();
    }
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
        values = vorla_texts::pastedValues(this, text);
    if (!values)
        return std::nullopt; // the question about a table's columns was cancelled
    files::PastePlan plan = files::planValues(std::move(*values), 1);
    if (plan.verdict != files::PasteVerdict::Enter) {
        QMessageBox::warning(this, kPasteTitle, vorla_texts::editorPasteRefusedText(plan));
        return std::nullopt;
    }
    if (plan.values.empty())
        return std::nullopt;
    return std::move(plan.values.front());
}

