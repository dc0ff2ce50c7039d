#pragma once

// The sheet as a document: the sheet::Sheet the window shows, its history
// and its unsaved state, without a widget. Every change comes in through
// change(), as one SheetEdit: it is checked, becomes one QUndoCommand (one
// command class per kind of edit) and is pushed on the document's
// QUndoStack, so each change is one undo step and the stack's clean state is
// the saved state. A journal can follow the same one entry point.
//
//   window (a typed value, Enter) -> setValue(row, i, text) -> change(ValueEdit)
//     -> push(EditCommand<ValueEdit>) -> redo(): apply to the sheet
//     -> rowsChanged(row, row) -> the window reads sheet() and analysis()

// Qt's `signals` keyword would rename the analysis' member of that name.
#pragma push_macro("signals")
#undef signals
#include "sheet/Sheet.h"
#pragma pop_macro("signals")

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace sheetwin {

/// One typed value; a row one beyond the last appends a new row.
struct ValueEdit
{
    std::size_t row = 0, index = 0;
    std::string text;
};
/// A row's label, note, or exclusion with its reason.
struct LabelEdit
{
    std::size_t row = 0;
    std::string text;
};
struct NoteEdit
{
    std::size_t row = 0;
    std::string text;
};
struct ExclusionEdit
{
    std::size_t row = 0;
    bool excluded = false;
    std::string reason;
};
/// A new row before `row` (at the end for rows().size()), empty unless given.
struct RowInsertion
{
    std::size_t row = 0;
    sheet::Row content;
};
/// A whole row replaced (a correction of every field at once).
struct RowReplacement
{
    std::size_t row = 0;
    sheet::Row content;
};
struct RowRemoval
{
    std::size_t row = 0;
};
struct HeaderEdit
{
    sheet::Header header;
};
struct PhasesEdit
{
    std::vector<sheet::Phase> phases;
};
struct TestsEdit
{
    stats::SpecialCauseTests tests;
};
/// Rows added at the end at once (a CSV import, values sent from the list).
struct RowsAppended
{
    std::vector<sheet::Row> rows;
};
/// Rows from `count` on taken away: what undoes RowsAppended.
struct RowsTrimmed
{
    std::size_t count = 0;
};

using SheetEdit =
    std::variant<ValueEdit, LabelEdit, NoteEdit, ExclusionEdit, RowInsertion, RowRemoval,
                 RowReplacement, HeaderEdit, PhasesEdit, TestsEdit, RowsAppended, RowsTrimmed>;

class SheetDocument : public QObject
{
    Q_OBJECT
public:
    explicit SheetDocument(QObject *parent = nullptr);
    ~SheetDocument() override;

    const sheet::Sheet &sheet() const { return m_sheet; }
    QUndoStack *undoStack() { return &m_undo; }
    /// The file the sheet was opened from or saved to; empty for a new sheet.
    QString filePath() const { return m_path; }
    bool isModified() const { return !m_undo.isClean(); }

    /// The one entry point of every change. Returns "" when the edit was
    /// made, else why not, and nothing changed: a row or value beyond the
    /// sheet, more values than n, an n the rows' values do not fit, phases
    /// out of order, appended rows with more values than n.
    std::string change(const SheetEdit &edit);

    // Shorthands for change().
    std::string setValue(std::size_t row, std::size_t index, const std::string &text);
    std::string setLabel(std::size_t row, const std::string &text);
    std::string setNote(std::size_t row, const std::string &text);
    std::string setExcluded(std::size_t row, bool excluded, const std::string &reason);
    std::string insertRow(std::size_t row);
    std::string removeRow(std::size_t row);
    std::string setHeader(const sheet::Header &header);
    std::string setPhases(const std::vector<sheet::Phase> &phases);
    std::string setTests(stats::SpecialCauseTests tests);
    std::string appendRows(const std::vector<sheet::Row> &rows);

    /// Rows of n from values (the main window's list): "シートへ送る". A last
    /// incomplete row keeps the values there are. One undo step.
    std::string appendValues(const std::vector<std::string> &values);

    /// Reads a sheet file; on success the document holds it, unmodified,
    /// with no history. On failure the message (what and where) and the
    /// document is as it was.
    std::optional<QString> open(const QString &path);
    /// Writes the sheet atomically; on success the document is unmodified
    /// and takes the path. On failure the message, and nothing changed.
    std::optional<QString> save(const QString &path);

    /// Applies a checked edit to the sheet and tells the window; for the
    /// undo commands, which apply an edit or the inverse taken before it.
    void apply(const SheetEdit &edit);

Q_SIGNALS:
    /// Rows first..last changed (values, label, note, exclusion), or every
    /// row and the header when `all`.
    void sheetChanged(bool all, std::size_t first, std::size_t last);

private:
    std::string problemWith(const SheetEdit &edit) const;
    /// The edit that undoes `edit`, taken from the sheet before it is applied.
    SheetEdit inverseOf(const SheetEdit &edit) const;

    sheet::Sheet m_sheet;
    QUndoStack m_undo;
    QString m_path;
};

} // namespace sheetwin
