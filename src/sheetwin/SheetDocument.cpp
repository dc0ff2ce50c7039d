#include "sheetwin/SheetDocument.h"

#include "files/ValueFileIO.h"
#include "sheet/SheetFile.h"
#include "stats/NumberText.h"

#include <QUndoCommand>

#include <algorithm>
#include <memory>
#include <type_traits>

namespace sheetwin {

namespace {

std::string number(std::size_t value)
{
    return stats::integerToText(static_cast<std::int64_t>(value));
}

// What each kind of edit is called in the undo and redo menu entries.
template <typename Edit>
QString editName()
{
    if constexpr (std::is_same_v<Edit, ValueEdit>) return QStringLiteral("値の入力");
    else if constexpr (std::is_same_v<Edit, LabelEdit>) return QStringLiteral("ラベルの変更");
    else if constexpr (std::is_same_v<Edit, NoteEdit>) return QStringLiteral("注記の変更");
    else if constexpr (std::is_same_v<Edit, ExclusionEdit>) return QStringLiteral("除外の変更");
    else if constexpr (std::is_same_v<Edit, RowInsertion>) return QStringLiteral("行の挿入");
    else if constexpr (std::is_same_v<Edit, RowRemoval>) return QStringLiteral("行の削除");
    else if constexpr (std::is_same_v<Edit, RowReplacement>) return QStringLiteral("行の修正");
    else if constexpr (std::is_same_v<Edit, HeaderEdit>) return QStringLiteral("見出しの変更");
    else if constexpr (std::is_same_v<Edit, PhasesEdit>) return QStringLiteral("期の変更");
    else if constexpr (std::is_same_v<Edit, TestsEdit>) return QStringLiteral("判定の切り替え");
    else if constexpr (std::is_same_v<Edit, RowsAppended>) return QStringLiteral("行の追加");
    else return QStringLiteral("行の取り消し");
}

// One command class per kind of edit: it holds the edit and the inverse
// taken before it, and applies one or the other.
template <typename Edit>
class EditCommand : public QUndoCommand
{
public:
    EditCommand(SheetDocument &document, Edit edit, SheetEdit inverse)
        : QUndoCommand(editName<Edit>()), m_document(document), m_edit(std::move(edit)),
          m_inverse(std::move(inverse))
    {
    }
    void redo() override { m_document.apply(m_edit); }
    void undo() override { m_document.apply(m_inverse); }

private:
    SheetDocument &m_document;
    SheetEdit m_edit;
    SheetEdit m_inverse;
};

template <class... Ts>
struct Overloaded : Ts...
{
    using Ts::operator()...;
};
// Clang 14 does not deduce an aggregate's arguments by itself.
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

std::size_t valuesFit(const std::vector<sheet::Row> &rows)
{
    std::size_t most = 0;
    for (const sheet::Row &row : rows)
        most = std::max(most, row.values.size());
    return most;
}

bool holdsLineBreak(const std::string &text)
{
    return text.find_first_of("\t\r\n") != std::string::npos;
}

} // namespace

SheetDocument::SheetDocument(QObject *parent) : QObject(parent) {}

SheetDocument::~SheetDocument() = default;

std::string SheetDocument::problemWith(const SheetEdit &edit) const
{
    const std::size_t rows = m_sheet.rows.size();
    const auto n = static_cast<std::size_t>(m_sheet.header.subgroupSize);
    const auto noRow = [&](std::size_t row) { return "第 " + number(row + 1) + " 群はありません"; };
    return std::visit(
        Overloaded{
            [&](const ValueEdit &e) -> std::string {
                if (e.row > rows)
                    return noRow(e.row);
                if (e.index >= n)
                    return "値は " + number(n) + " 個までです";
                if (holdsLineBreak(e.text))
                    return "値にタブや改行は入れられません";
                return {};
            },
            [&](const LabelEdit &e) -> std::string {
                if (e.row >= rows)
                    return noRow(e.row);
                return holdsLineBreak(e.text) ? "ラベルにタブや改行は入れられません" : "";
            },
            [&](const NoteEdit &e) { return e.row >= rows ? noRow(e.row) : std::string(); },
            [&](const ExclusionEdit &e) { return e.row >= rows ? noRow(e.row) : std::string(); },
            [&](const RowInsertion &e) -> std::string {
                if (e.row > rows)
                    return noRow(e.row);
                return e.content.values.size() > n ? "値は " + number(n) + " 個までです" : "";
            },
            [&](const RowRemoval &e) { return e.row >= rows ? noRow(e.row) : std::string(); },
            [&](const RowReplacement &e) -> std::string {
                if (e.row >= rows)
                    return noRow(e.row);
                return e.content.values.size() > n ? "値は " + number(n) + " 個までです" : "";
            },
            [&](const HeaderEdit &e) -> std::string {
                const int size = e.header.subgroupSize;
                if (size < sheet::kSmallestSubgroup || size > sheet::kLargestSubgroup)
                    return "群の大きさ n は 1 から 25 までです";
                if (valuesFit(m_sheet.rows) > static_cast<std::size_t>(size))
                    return "値が " + number(valuesFit(m_sheet.rows)) + " 個ある群があるため、n を "
                           + number(static_cast<std::size_t>(size)) + " にできません";
                return {};
            },
            [&](const PhasesEdit &e) { return sheet::phasesProblem(e.phases); },
            [&](const TestsEdit &) { return std::string(); },
            [&](const RowsAppended &e) -> std::string {
                return valuesFit(e.rows) > n ? "値は " + number(n) + " 個までです" : "";
            },
            [&](const RowsTrimmed &e) {
                return e.count > rows ? noRow(e.count) : std::string();
            },
        },
        edit);
}

SheetEdit SheetDocument::inverseOf(const SheetEdit &edit) const
{
    const auto rowBack = [&](std::size_t row) -> SheetEdit {
        return RowReplacement{row, m_sheet.rows[row]};
    };
    return std::visit(
        Overloaded{
            [&](const ValueEdit &e) -> SheetEdit {
                if (e.row == m_sheet.rows.size())
                    return RowRemoval{e.row};
                return rowBack(e.row);
            },
            [&](const LabelEdit &e) { return rowBack(e.row); },
            [&](const NoteEdit &e) { return rowBack(e.row); },
            [&](const ExclusionEdit &e) { return rowBack(e.row); },
            [&](const RowInsertion &e) -> SheetEdit { return RowRemoval{e.row}; },
            [&](const RowRemoval &e) -> SheetEdit { return RowInsertion{e.row, m_sheet.rows[e.row]}; },
            [&](const RowReplacement &e) { return rowBack(e.row); },
            [&](const HeaderEdit &) -> SheetEdit { return HeaderEdit{m_sheet.header}; },
            [&](const PhasesEdit &) -> SheetEdit { return PhasesEdit{m_sheet.phases}; },
            [&](const TestsEdit &) -> SheetEdit { return TestsEdit{m_sheet.tests}; },
            [&](const RowsAppended &) -> SheetEdit { return RowsTrimmed{m_sheet.rows.size()}; },
            [&](const RowsTrimmed &e) -> SheetEdit {
                return RowsAppended{{m_sheet.rows.begin() + static_cast<std::ptrdiff_t>(e.count),
                                     m_sheet.rows.end()}};
            },
        },
        edit);
}

std::string SheetDocument::change(const SheetEdit &edit)
{
    if (std::string problem = problemWith(edit); !problem.empty())
        return problem;
    SheetEdit inverse = inverseOf(edit);
    std::visit(
        [&](const auto &e) {
            using Edit = std::decay_t<decltype(e)>;
            m_undo.push(new EditCommand<Edit>(*this, e, std::move(inverse)));
        },
        edit);
    return {};
}

void SheetDocument::apply(const SheetEdit &edit)
{
    std::vector<sheet::Row> &rows = m_sheet.rows;
    bool all = false;
    std::size_t first = 0, last = 0;
    std::visit(
        Overloaded{
            [&](const ValueEdit &e) {
                if (e.row == rows.size())
                    rows.emplace_back();
                std::vector<std::string> &values = rows[e.row].values;
                if (values.size() <= e.index)
                    values.resize(e.index + 1);
                values[e.index] = e.text;
                // A value set to nothing at the end shortens the row again.
                while (!values.empty() && values.back().empty())
                    values.pop_back();
                first = last = e.row;
                all = e.row + 1 == rows.size();
            },
            [&](const LabelEdit &e) { rows[e.row].label = e.text; first = last = e.row; },
            [&](const NoteEdit &e) { rows[e.row].note = e.text; first = last = e.row; },
            [&](const ExclusionEdit &e) {
                rows[e.row].excluded = e.excluded;
                rows[e.row].exclusionReason = e.excluded ? e.reason : std::string();
                first = last = e.row;
            },
            [&](const RowInsertion &e) {
                rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(e.row), e.content);
                all = true;
            },
            [&](const RowRemoval &e) {
                rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(e.row));
                all = true;
            },
            [&](const RowReplacement &e) { rows[e.row] = e.content; first = last = e.row; },
            [&](const HeaderEdit &e) { m_sheet.header = e.header; all = true; },
            [&](const PhasesEdit &e) { m_sheet.phases = e.phases; all = true; },
            [&](const TestsEdit &e) { m_sheet.tests = e.tests; all = true; },
            [&](const RowsAppended &e) {
                rows.insert(rows.end(), e.rows.begin(), e.rows.end());
                all = true;
            },
            [&](const RowsTrimmed &e) {
                rows.resize(e.count);
                all = true;
            },
        },
        edit);
    emit sheetChanged(all, first, last);
}

std::string SheetDocument::setValue(std::size_t row, std::size_t index, const std::string &text)
{
    return change(ValueEdit{row, index, text});
}

std::string SheetDocument::setLabel(std::size_t row, const std::string &text)
{
    return change(LabelEdit{row, text});
}

std::string SheetDocument::setNote(std::size_t row, const std::string &text)
{
    return change(NoteEdit{row, text});
}

std::string SheetDocument::setExcluded(std::size_t row, bool excluded, const std::string &reason)
{
    return change(ExclusionEdit{row, excluded, reason});
}

std::string SheetDocument::insertRow(std::size_t row)
{
    return change(RowInsertion{row, {}});
}

std::string SheetDocument::removeRow(std::size_t row)
{
    return change(RowRemoval{row});
}

std::string SheetDocument::setHeader(const sheet::Header &header)
{
    return change(HeaderEdit{header});
}

std::string SheetDocument::setPhases(const std::vector<sheet::Phase> &phases)
{
    return change(PhasesEdit{phases});
}

std::string SheetDocument::setTests(stats::SpecialCauseTests tests)
{
    return change(TestsEdit{tests});
}

std::string SheetDocument::appendRows(const std::vector<sheet::Row> &rows)
{
    return change(RowsAppended{rows});
}

std::string SheetDocument::appendValues(const std::vector<std::string> &values)
{
    const auto n = static_cast<std::size_t>(m_sheet.header.subgroupSize);
    std::vector<sheet::Row> rows;
    for (std::size_t start = 0; start < values.size(); start += n) {
        sheet::Row row;
        const std::size_t end = std::min(values.size(), start + n);
        row.values.assign(values.begin() + static_cast<std::ptrdiff_t>(start),
                          values.begin() + static_cast<std::ptrdiff_t>(end));
        rows.push_back(std::move(row));
    }
    return appendRows(rows);
}

std::optional<QString> SheetDocument::open(const QString &path)
{
    auto bytes = files::readBoundedBytes(path, sheet::kMaxSheetFileBytes);
    if (const auto *failure = std::get_if<files::ReadFailure>(&bytes))
        return files::readProblemText(*failure);
    sheet::SheetReadOutcome read = sheet::readSheet(std::get<std::string>(bytes));
    if (const auto *failure = std::get_if<sheet::SheetReadFailure>(&read))
        return QString::fromStdString(sheet::sheetFailureText(*failure));
    m_sheet = std::get<sheet::Sheet>(std::move(read));
    m_undo.clear();
    m_path = path;
    emit sheetChanged(true, 0, 0);
    return std::nullopt;
}

std::optional<QString> SheetDocument::save(const QString &path)
{
    const std::string bytes = sheet::writeSheet(m_sheet);
    if (const auto failure = files::writeFileAtomically(path, QByteArray::fromStdString(bytes))) {
        if (failure->problem == files::WriteProblem::FolderMissing)
            return QStringLiteral("保存先のフォルダーが見つかりません。");
        return QStringLiteral("書き込みに失敗しました（%1）。").arg(failure->detail);
    }
    m_undo.setClean();
    m_path = path;
    return std::nullopt;
}

} // namespace sheetwin
