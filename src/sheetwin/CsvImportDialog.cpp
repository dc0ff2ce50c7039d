#include "sheetwin/CsvImportDialog.h"

#include "stats/NumberText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace sheetwin {

namespace {

enum Role { kLabel, kValues, kNote, kUnused };
constexpr int kPreviewRecords = 8;
constexpr int kListedProblems = 200;

} // namespace

CsvImportDialog::CsvImportDialog(sheet::CsvTable table, QWidget *parent)
    : QDialog(parent), m_table(std::move(table))
{
    setWindowTitle(QStringLiteral("CSV の取り込み"));
    createWidgets();
    fillPreview();
    showImport();
}

void CsvImportDialog::createWidgets()
{
    std::size_t columns = 0;
    for (const auto &row : m_table.rows)
        columns = std::max(columns, row.size());
    const sheet::CsvColumns proposal = sheet::proposeColumns(m_table);
    m_headerRowsBox = new QSpinBox(this);
    m_headerRowsBox->setObjectName(QStringLiteral("headerRows"));
    m_headerRowsBox->setRange(0, static_cast<int>(std::min<std::size_t>(m_table.rows.size(), 20)));
    m_headerRowsBox->setValue(static_cast<int>(proposal.headerRows));
    m_preview = new QTableWidget(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setColumnCount(static_cast<int>(columns));
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (std::size_t c = 0; c < columns; ++c) {
        auto *box = new QComboBox(this);
        box->setObjectName(QStringLiteral("role%1").arg(c + 1));
        box->addItems({QStringLiteral("ラベル"), QStringLiteral("値"), QStringLiteral("注記"),
                       QStringLiteral("使わない")});
        Role role = kUnused;
        if (std::count(proposal.labelColumns.begin(), proposal.labelColumns.end(), c))
            role = kLabel;
        if (std::count(proposal.valueColumns.begin(), proposal.valueColumns.end(), c))
            role = kValues;
        if (proposal.noteColumn == c)
            role = kNote;
        box->setCurrentIndex(role);
        connect(box, &QComboBox::currentIndexChanged, this, &CsvImportDialog::showImport);
        m_roles.push_back(box);
    }
    connect(m_headerRowsBox, &QSpinBox::valueChanged, this, &CsvImportDialog::showImport);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setWordWrap(true);
    m_problemList = new QListWidget(this);
    m_problemList->setObjectName(QStringLiteral("problems"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_okButton = buttons->button(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("取り込む"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("見出しの行数"), m_headerRowsBox);
    auto *roleRow = new QHBoxLayout;
    for (QComboBox *box : m_roles)
        roleRow->addWidget(box);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(roleRow);
    layout->addWidget(m_preview, 2);
    layout->addWidget(m_summary);
    layout->addWidget(m_problemList, 1);
    layout->addWidget(buttons);
    resize(720, 520);
}

void CsvImportDialog::fillPreview()
{
    const int records = std::min<int>(kPreviewRecords, static_cast<int>(m_table.rows.size()));
    m_preview->setRowCount(records);
    QStringList lines;
    for (int r = 0; r < records; ++r) {
        lines << QString::number(m_table.lines[static_cast<std::size_t>(r)]);
        const auto &cells = m_table.rows[static_cast<std::size_t>(r)];
        for (std::size_t c = 0; c < cells.size(); ++c)
            m_preview->setItem(r, static_cast<int>(c),
                               new QTableWidgetItem(QString::fromStdString(cells[c])));
    }
    m_preview->setVerticalHeaderLabels(lines);
}

sheet::CsvColumns CsvImportDialog::columns() const
{
    sheet::CsvColumns chosen;
    chosen.headerRows = static_cast<std::size_t>(m_headerRowsBox->value());
    for (std::size_t c = 0; c < m_roles.size(); ++c) {
        switch (m_roles[c]->currentIndex()) {
        case kLabel: chosen.labelColumns.push_back(c); break;
        case kValues: chosen.valueColumns.push_back(c); break;
        case kNote: chosen.noteColumn = c; break;
        default: break;
        }
    }
    return chosen;
}

void CsvImportDialog::showImport()
{
    // Only the last column chosen as 注記 is the note column.
    m_import = sheet::importCsv(m_table, columns());
    m_problemList->clear();
    m_okButton->setEnabled(m_import.error.empty() && !m_import.rows.empty());
    if (!m_import.error.empty()) {
        m_summary->setText(QString::fromStdString(m_import.error));
        return;
    }
    QString summary = QStringLiteral("%1 群 (群の大きさ %2) を取り込みます。")
                          .arg(m_import.rows.size())
                          .arg(columns().valueColumns.size());
    if (!m_import.problems.empty())
        summary += QStringLiteral("空欄または数値のないセルが %1 個あります (その値は空きのまま、"
                                  "印を付けて取り込みます):")
                       .arg(m_import.problems.size());
    for (const std::string &note : m_import.notes)
        summary += QStringLiteral("\n") + QString::fromStdString(note);
    m_summary->setText(summary);
    for (std::size_t i = 0; i < m_import.problems.size() && i < kListedProblems; ++i)
        m_problemList->addItem(QString::fromStdString(sheet::cellProblemText(m_import.problems[i])));
    if (m_import.problems.size() > kListedProblems)
        m_problemList->addItem(QStringLiteral("ほか %1 個")
                                   .arg(m_import.problems.size() - kListedProblems));
}

} // namespace sheetwin
