#pragma once

// The sheet's rows as a table for the sheet window: one row per subgroup
// and one empty row at the end to type the next subgroup into. Columns:
// ラベル, 値1 ... 値n, the row's x̄ (or x) and R, s or Rs, 注記, 除外 (the
// reason; typing one excludes the row, emptying it takes the row back).
// Edits go to the document; the figures and marks come from the document's
// analysis, worked out again after each change.

#include "sheetwin/SheetDocument.h"

// Qt's `signals` keyword would rename the analysis' member of that name.
#pragma push_macro("signals")
#undef signals
#include "sheet/SheetAnalysis.h"
#pragma pop_macro("signals")

#include <QAbstractTableModel>

namespace sheetwin {

class SheetTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit SheetTableModel(SheetDocument &document, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int labelColumn() const { return 0; }
    int firstValueColumn() const { return 1; }
    int lastValueColumn() const { return subgroupSize(); }
    int noteColumn() const { return subgroupSize() + 3; }
    int exclusionColumn() const { return subgroupSize() + 4; }
    bool isValueColumn(int column) const { return column >= 1 && column <= subgroupSize(); }

    const sheet::SheetAnalysis &analysis() const { return m_analysis; }
    /// The last edit's refusal, for the window to show; "" after a success.
    const std::string &lastProblem() const { return m_lastProblem; }

Q_SIGNALS:
    /// After every change, with the analysis already worked out again.
    void analysisChanged();

private:
    void followDocument(bool all, std::size_t first, std::size_t last);
    int subgroupSize() const { return m_document.sheet().header.subgroupSize; }
    QVariant display(std::size_t row, int column) const;
    QVariant background(std::size_t row, int column) const;
    QVariant toolTip(std::size_t row, int column) const;
    std::string edit(std::size_t row, int column, const std::string &text);

    SheetDocument &m_document;
    sheet::SheetAnalysis m_analysis;
    int m_columns = 0;
    int m_rows = 1; // the document's rows and the empty one to type into
    std::string m_lastProblem;
};

} // namespace sheetwin
