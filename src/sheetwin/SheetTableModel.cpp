#include "sheetwin/SheetTableModel.h"

#include "stats/NumberText.h"

#include <QBrush>
#include <QColor>
#include <QFont>

// Below the includes, `signals` is the analysis' member again, not Qt's keyword.
#undef signals

namespace sheetwin {

namespace {

const QColor kNoNumber(0xFF, 0xC8, 0xC8);  // a typed text that holds no number
const QColor kExcluded(0xE4, 0xE4, 0xE4);  // an excluded row
const QColor kSignal(0xC0, 0x00, 0x00);    // a figure that trips a test

QString text(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

} // namespace

SheetTableModel::SheetTableModel(SheetDocument &document, QObject *parent)
    : QAbstractTableModel(parent), m_document(document),
      m_analysis(sheet::analyzeSheet(document.sheet())), m_columns(subgroupSize() + 5),
      m_rows(static_cast<int>(document.sheet().rows.size()) + 1)
{
    connect(&m_document, &SheetDocument::sheetChanged, this, &SheetTableModel::followDocument);
}

void SheetTableModel::followDocument(bool all, std::size_t, std::size_t)
{
    m_analysis = sheet::analyzeSheet(m_document.sheet());
    const int columns = subgroupSize() + 5;
    const int rows = static_cast<int>(m_document.sheet().rows.size()) + 1;
    if (columns != m_columns) {
        beginResetModel();
        m_columns = columns;
        m_rows = rows;
        endResetModel();
    } else {
        // Rows come and go at the end of the view, so that the cell being
        // typed in keeps its place when a first value opens a new row; the
        // rows' texts are all told anew below.
        if (rows > m_rows) {
            beginInsertRows({}, m_rows, rows - 1);
            m_rows = rows;
            endInsertRows();
        } else if (rows < m_rows) {
            beginRemoveRows({}, rows, m_rows - 1);
            m_rows = rows;
            endRemoveRows();
        }
        // A row's figures move the limits, and so every row's marks.
        emit dataChanged(index(0, 0), index(m_rows - 1, m_columns - 1));
        if (all)
            emit headerDataChanged(Qt::Horizontal, 0, m_columns - 1);
    }
    emit analysisChanged();
}

int SheetTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int SheetTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant SheetTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1; // 群番号
    const int n = subgroupSize();
    const bool individuals = m_analysis.kind == sheet::ChartKind::IndividualsMovingRange;
    if (section == 0)
        return QStringLiteral("ラベル");
    if (section <= n)
        return QStringLiteral("値%1").arg(section);
    if (section == n + 1)
        return individuals ? QStringLiteral("x") : QStringLiteral("x̄");
    if (section == n + 2)
        return m_analysis.kind ? text(sheet::spreadName(*m_analysis.kind)) : QString();
    if (section == n + 3)
        return QStringLiteral("注記");
    return QStringLiteral("除外");
}

QVariant SheetTableModel::display(std::size_t row, int column) const
{
    const auto &rows = m_document.sheet().rows;
    if (row >= rows.size())
        return QString();
    const sheet::Row &r = rows[row];
    const int n = subgroupSize();
    if (column == 0)
        return text(r.label);
    if (column <= n) {
        const auto i = static_cast<std::size_t>(column - 1);
        return i < r.values.size() ? text(r.values[i]) : QString();
    }
    const sheet::SheetPoint &point = m_analysis.points.at(row);
    if (column == n + 1)
        return point.location ? text(stats::formatResult(*point.location)) : QString();
    if (column == n + 2)
        return point.spread ? text(stats::formatResult(*point.spread)) : QString();
    if (column == n + 3)
        return text(r.note);
    return r.excluded ? text(r.exclusionReason.empty() ? "除外" : r.exclusionReason) : QString();
}

QVariant SheetTableModel::background(std::size_t row, int column) const
{
    const auto &rows = m_document.sheet().rows;
    if (row >= rows.size())
        return {};
    if (isValueColumn(column)) {
        const auto i = static_cast<std::size_t>(column - 1);
        const auto &values = rows[row].values;
        const sheet::ValueState state =
            i < values.size() ? sheet::readValue(values[i]).state : sheet::ValueState::Empty;
        if (state == sheet::ValueState::NoNumber || state == sheet::ValueState::OutOfRange)
            return QBrush(kNoNumber);
    }
    if (rows[row].excluded)
        return QBrush(kExcluded);
    return {};
}

QVariant SheetTableModel::toolTip(std::size_t row, int column) const
{
    QString tip;
    for (const sheet::RowProblem &problem : m_analysis.problems)
        if (problem.row == row
            && (problem.kind == sheet::RowProblem::Kind::TooMany
                || static_cast<int>(problem.value) + 1 == column))
            tip = text(sheet::rowProblemText(problem, subgroupSize()));
    if (!tip.isEmpty() || !m_analysis.kind)
        return tip.isEmpty() ? QVariant() : tip;
    for (const sheet::SheetSignal &signal : m_analysis.signals)
        if (signal.row == row && column == subgroupSize() + (signal.spread ? 2 : 1))
            tip += (tip.isEmpty() ? "" : "\n")
                   + text(sheet::sheetSignalText(m_document.sheet(), *m_analysis.kind, signal));
    return tip.isEmpty() ? QVariant() : tip;
}

QVariant SheetTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        if (role == Qt::EditRole && column == exclusionColumn()) {
            const auto &rows = m_document.sheet().rows;
            return row < rows.size() ? text(rows[row].exclusionReason) : QString();
        }
        return display(row, column);
    }
    case Qt::BackgroundRole: return background(row, column);
    case Qt::ToolTipRole: return toolTip(row, column);
    case Qt::ForegroundRole: {
        if (row >= m_analysis.points.size())
            return {};
        const sheet::SheetPoint &point = m_analysis.points[row];
        const bool tripped = (column == subgroupSize() + 1 && !point.locationTests.empty())
                             || (column == subgroupSize() + 2 && !point.spreadTests.empty());
        return tripped ? QVariant(QBrush(kSignal)) : QVariant();
    }
    default: return {};
    }
}

std::string SheetTableModel::edit(std::size_t row, int column, const std::string &value)
{
    const std::size_t rows = m_document.sheet().rows.size();
    if (isValueColumn(column))
        return m_document.setValue(row, static_cast<std::size_t>(column - 1), value);
    // A label, note or exclusion typed into the empty last row opens a row with it.
    sheet::Row fresh;
    if (column == labelColumn())
        fresh.label = value;
    else if (column == noteColumn())
        fresh.note = value;
    else
        fresh.excluded = !value.empty(), fresh.exclusionReason = value;
    if (row == rows)
        return value.empty() ? std::string() : m_document.change(RowInsertion{row, fresh});
    if (column == labelColumn())
        return m_document.setLabel(row, value);
    if (column == noteColumn())
        return m_document.setNote(row, value);
    return m_document.setExcluded(row, !value.empty(), value);
}

bool SheetTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const std::string typed = value.toString().toStdString();
    if (data(index, Qt::EditRole).toString().toStdString() == typed)
        return false; // nothing changed: no undo step
    m_lastProblem = edit(static_cast<std::size_t>(index.row()), index.column(), typed);
    return m_lastProblem.empty();
}

Qt::ItemFlags SheetTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    const int n = subgroupSize();
    const bool figure = index.column() == n + 1 || index.column() == n + 2;
    return figure ? flags : flags | Qt::ItemIsEditable;
}

} // namespace sheetwin
