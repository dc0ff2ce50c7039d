#include "app/ColumnDialog.h"

#include "ui/FitText.h"
#include "ui/Utf8.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using ui::fromUtf8;

// A cell shows less than a message: the table shows many side by side.
constexpr qsizetype kShownInCell = 20;

QString columnName(std::size_t column)
{
    return QStringLiteral("%1 列目").arg(column + 1);
}

} // namespace

QString separatorName(char separator)
{
    switch (separator) {
    case '\t':
        return QStringLiteral("タブ");
    case ';':
        return QStringLiteral("セミコロン");
    default:
        return QStringLiteral("コンマ");
    }
}

ColumnDialog::ColumnDialog(const files::ColumnLayout &layout, const QString &message,
                           QWidget *parent)
    : QDialog(parent), m_layout(layout)
{
    setObjectName(QStringLiteral("ColumnDialog"));
    setWindowTitle(QStringLiteral("列の選択"));

    auto *text = new QLabel(message, this);
    text->setObjectName(QStringLiteral("message"));
    text->setWordWrap(true);
    createTable();
    QLayout *choiceRow = createColumnChoice();
    m_headerNote = new QLabel(this);
    m_headerNote->setObjectName(QStringLiteral("headerNote"));
    QDialogButtonBox *buttons = createButtons();

    auto *layoutBox = new QVBoxLayout(this);
    layoutBox->addWidget(text);
    layoutBox->addWidget(m_table);
    layoutBox->addLayout(choiceRow);
    layoutBox->addWidget(m_headerNote);
    layoutBox->addWidget(buttons);

    connectColumnChoosing();
    m_choice->setCurrentIndex(int(layout.preselected));
    showColumn(int(layout.preselected));
    m_choice->setFocus();
    resize(480, sizeHint().height());
}

void ColumnDialog::createTable()
{
    // A ragged row may run past the table's columns; it is shown whole.
    std::size_t shownColumns = m_layout.columns;
    for (const auto &row : m_layout.preview)
        shownColumns = std::max(shownColumns, row.size());
    m_table = new QTableWidget(int(m_layout.preview.size()), int(shownColumns), this);
    m_table->setObjectName(QStringLiteral("columnTable"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectColumns);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    for (std::size_t c = 0; c < shownColumns; ++c)
        m_table->setHorizontalHeaderItem(int(c), new QTableWidgetItem(columnName(c)));
    for (std::size_t r = 0; r < m_layout.preview.size(); ++r)
        for (std::size_t c = 0; c < m_layout.preview[r].size(); ++c)
            m_table->setItem(int(r), int(c),
                             new QTableWidgetItem(
                                 shortened(fromUtf8(m_layout.preview[r][c]), kShownInCell)));
    m_table->resizeColumnsToContents();
}

QLayout *ColumnDialog::createColumnChoice()
{
    m_choice = new QComboBox(this);
    m_choice->setObjectName(QStringLiteral("columnChoice"));
    for (std::size_t c = 0; c < m_layout.columns; ++c) {
        QString name = columnName(c);
        // The column's own heading, where it has one, helps to find it.
        if (const std::size_t header = m_layout.headerRows[c]; header > 0) {
            const auto &row = m_layout.preview[header - 1];
            if (c < row.size() && !row[c].empty())
                name += QStringLiteral("（%1）").arg(shortened(fromUtf8(row[c]), kShownInCell));
        }
        m_choice->addItem(name);
    }
    auto *choiceLabel = new QLabel(QStringLiteral("読み込む列(&C):"), this);
    choiceLabel->setBuddy(m_choice);
    auto *choiceRow = new QHBoxLayout;
    choiceRow->addWidget(choiceLabel);
    choiceRow->addWidget(m_choice, 1);
    return choiceRow;
}

QDialogButtonBox *ColumnDialog::createButtons()
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    return buttons;
}

void ColumnDialog::connectColumnChoosing()
{
    connect(m_choice, &QComboBox::currentIndexChanged, this, &ColumnDialog::showColumn);
    // A column beyond the table's (in a ragged row) cannot be chosen.
    const auto choose = [this](int column) {
        if (column >= 0 && column < m_choice->count())
            m_choice->setCurrentIndex(column);
        else
            showColumn(m_choice->currentIndex());
    };
    connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, this, choose);
    connect(m_table, &QTableWidget::cellClicked, this,
            [choose](int, int column) { choose(column); });
}

std::size_t ColumnDialog::column() const
{
    return static_cast<std::size_t>(std::max(0, m_choice->currentIndex()));
}

void ColumnDialog::showColumn(int column)
{
    if (column < 0)
        return;
    m_table->selectColumn(column);
    const std::size_t header = m_layout.headerRows[std::size_t(column)];
    const QPalette colours = palette();
    for (int r = 0; r < m_table->rowCount(); ++r)
        for (int c = 0; c < m_table->columnCount(); ++c)
            if (QTableWidgetItem *item = m_table->item(r, c))
                item->setForeground(std::size_t(r) < header
                                        ? colours.brush(QPalette::Disabled, QPalette::Text)
                                        : colours.brush(QPalette::Active, QPalette::Text));
    m_headerNote->setText(header == 0 ? QString()
                                      : QStringLiteral("灰色の先頭 %1 行は見出しとして読み込みません。")
                                            .arg(header));
}

std::optional<std::size_t> askColumn(QWidget *parent, const QString &message,
                                     const files::ColumnLayout &layout)
{
    ColumnDialog dialog(layout, message, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.column();
}
