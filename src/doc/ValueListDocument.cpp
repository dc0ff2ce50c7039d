#include "doc/ValueListDocument.h"

#include "doc/JournalFile.h"
#include "doc/ValueListModel.h"
#include "files/ValueFile.h"
#include "stats/NumberText.h"
#include "ui/Utf8.h"

#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>
#include <cmath>

using ui::fromUtf8;
using ui::toUtf8;

namespace {

const QString kClearedTitle = QStringLiteral("Vorla");

} // namespace

// ---- the steps of the history ------------------------------------------------

/// One step: what it changes, and how much room its undo and redo need.
class ValueListDocument::Step : public QUndoCommand
{
public:
    explicit Step(ValueListDocument *document) : m_document(document) {}
    virtual std::size_t roomToUndo() const { return 0; }
    virtual std::size_t roomToRedo() const { return 0; }

protected:
    ValueListDocument *m_document;
    ValueListModel &model() const { return *m_document->m_model; }
    Names after() const
    {
        Names names = m_document->names();
        names.unsaved = m_document->m_unsavedAfterStep;
        return names;
    }
};

class ValueListDocument::RemovalStep : public Step
{
public:
    RemovalStep(ValueListDocument *document, int row) : Step(document), m_row(row) {}
    std::size_t roomToUndo() const override { return 1; }

    void redo() override
    {
        m_document->record(journal::removeRecord(static_cast<std::size_t>(m_row), 1), after());
        m_item = model().take(m_row);
        m_document->applyNames(after());
    }
    void undo() override
    {
        // Entries since the removal only ever went to the end, so the place
        // is still there unless later removals shortened the list.
        m_row = std::min(m_row, model().count());
        m_document->record(journal::insertRecord(static_cast<std::size_t>(m_row), {m_item}), after());
        model().insert(m_row, std::move(m_item));
        m_document->applyNames(after());
        emit m_document->rowAffected(m_row);
    }

private:
    int m_row;
    std::string m_item;
};

class ValueListDocument::CorrectionStep : public Step
{
public:
    CorrectionStep(ValueListDocument *document, int row, std::string value)
        : Step(document), m_row(row), m_other(std::move(value))
    {
    }
    void redo() override { swap(); }
    void undo() override { swap(); }

private:
    // The list holds one of the two texts, the step the other.
    void swap()
    {
        m_document->record(journal::replaceRecord(static_cast<std::size_t>(m_row), m_other), after());
        m_other = model().replace(m_row, std::move(m_other));
        m_document->applyNames(after());
        emit m_document->rowAffected(m_row);
    }

    int m_row;
    std::string m_other;
};

class ValueListDocument::InsertionStep : public Step
{
public:
    InsertionStep(ValueListDocument *document, int row, std::string value)
        : Step(document), m_row(row), m_item(std::move(value))
    {
    }
    std::size_t roomToRedo() const override { return 1; }

    void redo() override
    {
        Names names = after();
        names.openAllowed = false; // entered as Text1 enters a value, only not at the end
        m_document->record(journal::insertRecord(static_cast<std::size_t>(m_row), {m_item}), names);
        model().insert(m_row, m_item);
        m_document->applyNames(names);
        emit m_document->rowAffected(m_row);
    }
    void undo() override
    {
        m_document->record(journal::removeRecord(static_cast<std::size_t>(m_row), 1), after());
        model().take(m_row);
        m_document->applyNames(after());
        emit m_document->rowAffected(m_row);
    }

private:
    int m_row;
    std::string m_item;
};

class ValueListDocument::ClearingStep : public Step
{
public:
    explicit ClearingStep(ValueListDocument *document) : Step(document) {}
    std::size_t roomToUndo() const override { return m_items.size(); }

    void redo() override
    {
        m_before = m_document->names();
        m_entriesBefore = m_document->m_entriesMade;
        Names names = after();
        names.openAllowed = true;
        names.title = kClearedTitle;
        names.sourceName.clear();
        // The first time every item goes; a redo takes the items the undo
        // put back, and values entered since stay.
        const int count = m_firstRun ? model().count() : static_cast<int>(m_restored);
        m_firstRun = false;
        m_document->record(count == model().count()
                               ? journal::clearRecord()
                               : journal::removeRecord(0, static_cast<std::size_t>(count)),
                           names);
        m_items = model().take(0, count);
        m_document->applyNames(names);
    }
    void undo() override
    {
        // Values entered since the clear stay after the cleared ones. Only a
        // list that comes back exactly as it was takes back its caption.
        const bool enteredSince =
            model().count() > 0 || m_document->m_entriesMade != m_entriesBefore;
        Names names = after();
        names.openAllowed = m_before.openAllowed && m_document->m_openAllowed;
        if (!enteredSince) {
            names.title = m_before.title;
            names.sourceName = m_before.sourceName;
        }
        m_document->record(journal::insertRecord(0, m_items), names);
        m_restored = m_items.size(); // what a redo takes out again
        model().insert(0, std::move(m_items));
        m_items.clear();
        m_document->applyNames(names);
    }

private:
    bool m_firstRun = true;
    std::vector<std::string> m_items;
    std::size_t m_restored = 0;
    Names m_before;
    std::size_t m_entriesBefore = 0;
};

// ---- the document --------------------------------------------------------------

QString ValueListDocument::startTitle()
{
    // The program answers to two names in its captions: it starts as
    // "Pellary", the title its information window shows, is "Vorla" after a
    // clear or an open, and "Pellary" again after a save. Users' own notes
    // and screenshots know these captions, so they stay exactly so.
    return QStringLiteral("Pellary");
}

std::string ValueListDocument::advancedCount(std::string_view countText, std::size_t entries)
{
    std::string count(countText);
    for (std::size_t i = 0; i < entries; ++i) {
        double value = stats::parseValueText(count);
        if (!std::isfinite(value))
            value = 0; // a count beyond the double range starts again
        count = stats::numberToText(value + 1);
    }
    return count;
}

ValueListDocument::ValueListDocument(QObject *parent)
    : QObject(parent), m_model(new ValueListModel(this)), m_history(new QUndoStack(this)),
      m_title(startTitle())
{
    m_journaled = names();
    connect(m_history, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit unsavedChanged(!clean); });
    connect(m_history, &QUndoStack::canUndoChanged, this, &ValueListDocument::historyChanged);
    connect(m_history, &QUndoStack::canRedoChanged, this, &ValueListDocument::historyChanged);
}

ValueListDocument::~ValueListDocument()
{
    if (m_journal)
        m_journal->remove();
}

const std::vector<std::string> &ValueListDocument::items() const
{
    return m_model->items();
}

int ValueListDocument::count() const
{
    return m_model->count();
}

std::size_t ValueListDocument::room() const
{
    const auto count = static_cast<std::size_t>(m_model->count());
    return files::kMaxListItems - std::min(count, files::kMaxListItems);
}

bool ValueListDocument::isUnsaved() const
{
    return !m_history->isClean();
}

bool ValueListDocument::canUndo() const
{
    return m_history->canUndo();
}

bool ValueListDocument::canRedo() const
{
    return m_history->canRedo();
}

ValueListDocument::Names ValueListDocument::names() const
{
    return {m_title, m_sourceName, m_openAllowed, isUnsaved()};
}

journal::ListState ValueListDocument::state() const
{
    return {items(), toUtf8(m_sourceName), toUtf8(m_title), isUnsaved(), m_openAllowed};
}

void ValueListDocument::setJournal(std::unique_ptr<JournalFile> journal)
{
    m_journal = std::move(journal);
    m_journaled = Names{};
    m_journaled.title = QStringLiteral("\n"); // unlike any caption: the first record states all
}

void ValueListDocument::record(const std::string &records, const Names &after)
{
    if (!m_journal)
        return;
    std::string bytes = records;
    if (!(after == m_journaled)) {
        bytes += journal::stateRecord({{}, toUtf8(after.sourceName), toUtf8(after.title),
                                       after.unsaved, after.openAllowed});
    }
    if (bytes.empty())
        return;
    if (m_journal->append(bytes)) {
        m_journaled = after;
        return;
    }
    if (!std::exchange(m_journalFailed, true))
        emit journalFailed();
}

void ValueListDocument::applyNames(const Names &after)
{
    if (after.openAllowed != m_openAllowed) {
        m_openAllowed = after.openAllowed;
        emit openAllowedChanged(m_openAllowed);
    }
    if (after.sourceName != m_sourceName) {
        m_sourceName = after.sourceName;
        emit sourceNameChanged(m_sourceName);
    }
    if (after.title != m_title) {
        m_title = after.title;
        emit titleChanged(m_title);
    }
}

bool ValueListDocument::enter(std::vector<std::string> values)
{
    if (values.empty())
        return true;
    if (values.size() > room())
        return false;
    Names after = names();
    after.openAllowed = false;
    after.unsaved = true;
    record(journal::appendRecord(values), after);
    const std::size_t entries = values.size();
    ++m_entriesMade;
    m_model->append(std::move(values));
    m_history->resetClean(); // no step of the history, but a change all the same
    applyNames(after);
    emit entered(entries);
    return true;
}

void ValueListDocument::remove(int row)
{
    if (row < 0 || row >= count())
        return;
    m_unsavedAfterStep = true;
    m_history->push(new RemovalStep(this, row));
}

bool ValueListDocument::correct(int row, std::string value)
{
    if (row < 0 || row >= count() || items()[static_cast<std::size_t>(row)] == value)
        return false; // unchanged: nothing to save and nothing to undo
    m_unsavedAfterStep = true;
    m_history->push(new CorrectionStep(this, row, std::move(value)));
    return true;
}

bool ValueListDocument::beginInsertion(int row)
{
    if (row < 0 || row > count() || room() == 0)
        return false;
    m_model->insert(row, std::string());
    return true;
}

void ValueListDocument::finishInsertion(int row, std::optional<std::string> value)
{
    m_model->take(row); // the editor's place goes; the value, if any, comes in as a step
    if (!value)
        return;
    m_unsavedAfterStep = true;
    m_history->push(new InsertionStep(this, row, std::move(*value)));
    emit entered(1);
}

void ValueListDocument::setFigures(std::shared_ptr<const stats::StatisticsFigures> figures)
{
    m_figures = std::move(figures);
    emit figuresChanged(m_figures);
}

void ValueListDocument::clear()
{
    setFigures(nullptr);
    if (count() == 0) {
        // Nothing to take back: only the caption, source and open command go
        // back to how a clear leaves them.
        Names after = names();
        after.openAllowed = true;
        after.title = kClearedTitle;
        after.sourceName.clear();
        record({}, after);
        applyNames(after);
        return;
    }
    m_unsavedAfterStep = true;
    m_history->push(new ClearingStep(this));
}

bool ValueListDocument::stepFits(const Step *step, bool undoing)
{
    const std::size_t needed = undoing ? step->roomToUndo() : step->roomToRedo();
    if (room() >= needed)
        return true;
    emit noRoom();
    return false;
}

bool ValueListDocument::undo()
{
    const int at = m_history->index();
    if (at == 0)
        return false;
    if (!stepFits(static_cast<const Step *>(m_history->command(at - 1)), true))
        return false;
    m_unsavedAfterStep = m_history->cleanIndex() != at - 1;
    m_history->undo();
    return true;
}

bool ValueListDocument::redo()
{
    const int at = m_history->index();
    if (at >= m_history->count())
        return false;
    if (!stepFits(static_cast<const Step *>(m_history->command(at)), false))
        return false;
    m_unsavedAfterStep = m_history->cleanIndex() != at + 1;
    m_history->redo();
    return true;
}

void ValueListDocument::open(std::vector<std::string> items, const QString &path)
{
    Names after = names();
    after.title = kClearedTitle + QLatin1Char('-') + path;
    after.sourceName = path;
    after.unsaved = false;
    record(journal::appendRecord(items), after);
    m_model->append(std::move(items));
    m_history->clear(); // an undo would put a value back among the file's
    m_history->setClean();
    applyNames(after);
}

void ValueListDocument::markSaved(const QString &path)
{
    Names after = names();
    after.title = startTitle() + QLatin1Char('-') + path;
    after.sourceName = path;
    after.unsaved = false;
    if (m_journal) {
        // The file holds the list now: the journal starts again from it, so
        // it stays short and a crash from here on restores nothing but what
        // changes after.
        journal::ListState saved = state();
        saved.title = toUtf8(after.title);
        saved.sourceName = toUtf8(after.sourceName);
        saved.unsaved = false;
        if (m_journal->rewrite(journal::snapshotRecords(saved)))
            m_journaled = after;
        else if (!std::exchange(m_journalFailed, true))
            emit journalFailed();
    }
    m_history->setClean();
    applyNames(after);
}

void ValueListDocument::restore(journal::ListState state, std::unique_ptr<JournalFile> journal)
{
    m_journal = std::move(journal);
    m_model->clear();
    m_model->append(std::move(state.items));
    m_history->clear();
    if (state.unsaved)
        m_history->resetClean();
    else
        m_history->setClean();
    Names after{fromUtf8(state.title), fromUtf8(state.sourceName), state.openAllowed,
                state.unsaved};
    m_journaled = after;
    applyNames(after);
}
