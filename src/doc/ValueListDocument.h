#pragma once

// The user's values, apart from any window: the list's items, their undo
// history, whether they changed since the last open or save, the file they
// came from, whether the open command is allowed, and the journal that keeps
// every change on disk until the list is saved or the program ends normally.
//
// Every change of the list goes through one of the methods below. Each one
// writes its journal record first and changes the items after, so a change
// the window shows is already on disk. Removals, corrections, insertions and
// clears are steps of the history (undo, redo); typed, pasted and opened
// values are not: Ctrl+Z never takes back what was entered, it brings back
// what was taken out. The history's clean state is the saved state.

#include "journal/JournalFormat.h"
#include "stats/Statistics.h"

#include <QObject>
#include <QString>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class JournalFile;
class QUndoStack;
class ValueListModel;

class ValueListDocument : public QObject
{
    Q_OBJECT

public:
    /// The window's caption before anything is opened, saved or cleared.
    static QString startTitle();
    /// The count box's text after `entries` more entries: the text read as a
    /// number (stats::parseValueText, so whatever the box shows counts),
    /// raised by one per entry and written back (stats::numberToText).
    static std::string advancedCount(std::string_view countText, std::size_t entries);

    explicit ValueListDocument(QObject *parent = nullptr);
    /// Ending normally: the journal goes, nothing is left to restore.
    ~ValueListDocument() override;

    ValueListModel *model() const { return m_model; }
    const std::vector<std::string> &items() const;
    int count() const;
    /// How many more items the list takes.
    std::size_t room() const;

    bool isUnsaved() const;
    bool openAllowed() const { return m_openAllowed; }
    const QString &sourceName() const { return m_sourceName; }
    const QString &title() const { return m_title; }
    bool canUndo() const;
    bool canRedo() const;

    /// Records every later change in this journal (nullptr: none).
    void setJournal(std::unique_ptr<JournalFile> journal);
    JournalFile *journal() const { return m_journal.get(); }
    /// The list, caption and saved state a journal kept, with a history that
    /// starts from there; the journal goes on in `journal`.
    void restore(journal::ListState state, std::unique_ptr<JournalFile> journal);
    /// The state as a journal records it.
    journal::ListState state() const;

    /// Values typed or pasted: appended after the last item, the open
    /// command switched off. False (nothing changes) when they do not fit.
    bool enter(std::vector<std::string> values);
    /// Takes the item at `row` out; one step of the history.
    void remove(int row);
    /// Puts `value` in place of the item at `row`; one step. False when the
    /// item already reads so.
    bool correct(int row, std::string value);
    /// An empty row before `row` for the list's editor to stand in; no change
    /// of the list (nothing is journaled) until finishInsertion.
    bool beginInsertion(int row);
    /// Ends the insertion begun at `row`: the value goes in there as an
    /// entry does, one step; nullopt takes the empty row out again.
    void finishInsertion(int row, std::optional<std::string> value);
    /// Empties the list; one step, which brings the list back whole.
    void clear();
    /// False when there is nothing to undo or redo, or no room for what
    /// the step puts back: the step then stays (noRoom() is emitted).
    bool undo();
    bool redo();

    /// The figures of the last calculation, for the chart window; none
    /// after a clear.
    const std::shared_ptr<const stats::StatisticsFigures> &figures() const { return m_figures; }
    void setFigures(std::shared_ptr<const stats::StatisticsFigures> figures);

    /// A value file's items appended; the history ends there and the list
    /// counts as saved.
    void open(std::vector<std::string> items, const QString &path);
    /// The list was written to `path`.
    void markSaved(const QString &path);

signals:
    void unsavedChanged(bool unsaved);
    void openAllowedChanged(bool allowed);
    void titleChanged(const QString &title);
    void sourceNameChanged(const QString &path);
    void historyChanged(); // canUndo() or canRedo() may differ
    /// Values were entered (typed, pasted or inserted): the count goes up.
    void entered(std::size_t count);
    /// An undo or redo acted at this row: the window shows it.
    void rowAffected(int row);
    /// An undo or redo found no room for what it puts back.
    void noRoom();
    /// The journal could not be written (a full or failing disk); told once.
    void journalFailed();
    void figuresChanged(const std::shared_ptr<const stats::StatisticsFigures> &figures);

private:
    class Step;
    class RemovalStep;
    class CorrectionStep;
    class InsertionStep;
    class ClearingStep;
    friend class RemovalStep;
    friend class CorrectionStep;
    friend class InsertionStep;
    friend class ClearingStep;

    /// What the window shows of the list besides its items.
    struct Names
    {
        QString title;
        QString sourceName;
        bool openAllowed = true;
        bool unsaved = false;
        bool operator==(const Names &) const = default;
    };
    Names names() const;
    /// Writes the records, and the names as they will stand after the
    /// change when they differ from those last journaled, to the journal and
    /// makes them durable: before the change reaches the model.
    void record(const std::string &records, const Names &after);
    /// Shows the names after a change, telling what differs.
    void applyNames(const Names &after);
    bool stepFits(const Step *step, bool undoing);

    /// Counts changes that are no step of the history (entries), so a
    /// clear's undo knows whether anything came in since.
    std::size_t m_entriesMade = 0;
    /// While a step runs: whether the list will differ from the saved one
    /// after it.
    bool m_unsavedAfterStep = true;
    Names m_journaled;

    ValueListModel *m_model = nullptr;
    QUndoStack *m_history = nullptr;
    std::unique_ptr<JournalFile> m_journal;
    bool m_journalFailed = false;
    bool m_openAllowed = true;
    QString m_sourceName;
    QString m_title;
    std::shared_ptr<const stats::StatisticsFigures> m_figures;
};
