#include "sheetwin/PhaseDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace sheetwin {

namespace {

// The choices of 管理線, in LimitSource order.
const char *const kSourceCaptions[] = {"解析用 (この期の群から計算)", "管理用: 基準の群から固定",
                                       "管理用: 標準値 x̄₀・σ₀", "管理用: CL・UCL・LCL を入力"};
const char *const kLineNames[] = {"CL", "UCL", "LCL"};

QString fromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toUtf8(const QLineEdit *box)
{
    return box->text().toStdString();
}

QSpinBox *groupBox(std::size_t rows, const char *name, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(1, static_cast<int>(std::max<std::size_t>(rows, 1)) + 1);
    box->setSuffix(QStringLiteral(" 群"));
    return box;
}

} // namespace

PhaseDialog::PhaseDialog(const sheet::Phase &phase, std::size_t rows, sheet::ChartKind kind,
                         QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PhaseDialog"));
    setWindowTitle(QStringLiteral("期の設定"));
    createControls(rows, kind);
    showPhase(phase);
}

void PhaseDialog::createControls(std::size_t rows, sheet::ChartKind kind)
{
    m_startBox = groupBox(rows, "phaseStart", this);
    m_sourceBox = new QComboBox(this);
    m_sourceBox->setObjectName(QStringLiteral("phaseSource"));
    for (const char *caption : kSourceCaptions)
        m_sourceBox->addItem(QString::fromUtf8(caption));
    m_noteBox = new QLineEdit(this);
    m_noteBox->setObjectName(QStringLiteral("phaseNote"));

    m_sourcePages = new QStackedWidget(this);
    m_sourcePages->addWidget(new QWidget(m_sourcePages)); // 解析用: nothing to type
    auto *baseline = new QWidget(m_sourcePages);
    auto *baselineForm = new QFormLayout(baseline);
    m_baselineFirstBox = groupBox(rows, "baselineFirst", baseline);
    m_baselineLastBox = groupBox(rows, "baselineLast", baseline);
    baselineForm->addRow(QStringLiteral("基準の群 (から)"), m_baselineFirstBox);
    baselineForm->addRow(QStringLiteral("基準の群 (まで)"), m_baselineLastBox);
    m_sourcePages->addWidget(baseline);
    auto *standard = new QWidget(m_sourcePages);
    auto *standardForm = new QFormLayout(standard);
    m_meanBox = new QLineEdit(standard);
    m_meanBox->setObjectName(QStringLiteral("standardMean"));
    m_sigmaBox = new QLineEdit(standard);
    m_sigmaBox->setObjectName(QStringLiteral("standardSigma"));
    standardForm->addRow(QStringLiteral("x̄₀"), m_meanBox);
    standardForm->addRow(QStringLiteral("σ₀"), m_sigmaBox);
    m_sourcePages->addWidget(standard);
    auto *given = new QWidget(m_sourcePages);
    auto *grid = new QGridLayout(given);
    grid->addWidget(new QLabel(QString::fromStdString(sheet::locationName(kind) + " 管理図"), given), 1, 0);
    grid->addWidget(new QLabel(QString::fromStdString(sheet::spreadName(kind) + " 管理図"), given), 2, 0);
    for (int line = 0; line < 3; ++line) {
        grid->addWidget(new QLabel(QString::fromLatin1(kLineNames[line]), given), 0, line + 1);
        for (const bool spread : {false, true}) {
            auto *box = new QLineEdit(given);
            box->setObjectName(QString::fromLatin1(spread ? "spread" : "location")
                               + QString::fromLatin1(kLineNames[line]));
            (spread ? m_spreadBoxes : m_locationBoxes)[static_cast<std::size_t>(line)] = box;
            grid->addWidget(box, spread ? 2 : 1, line + 1);
        }
    }
    m_sourcePages->addWidget(given);
    connect(m_sourceBox, &QComboBox::currentIndexChanged, m_sourcePages, &QStackedWidget::setCurrentIndex);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("開始の群"), m_startBox);
    form->addRow(QStringLiteral("管理線"), m_sourceBox);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_sourcePages);
    auto *noteForm = new QFormLayout;
    noteForm->addRow(QStringLiteral("理由"), m_noteBox);
    layout->addLayout(noteForm);
    layout->addWidget(buttons);
}

void PhaseDialog::showPhase(const sheet::Phase &phase)
{
    m_startBox->setValue(static_cast<int>(phase.firstRow) + 1);
    m_sourceBox->setCurrentIndex(static_cast<int>(phase.source));
    m_sourcePages->setCurrentIndex(static_cast<int>(phase.source));
    m_baselineFirstBox->setValue(static_cast<int>(phase.baselineFirst) + 1);
    m_baselineLastBox->setValue(static_cast<int>(phase.baselineLast) + 1);
    m_meanBox->setText(fromUtf8(phase.standardMean));
    m_sigmaBox->setText(fromUtf8(phase.standardSigma));
    const std::array<const std::string *, 3> location = {&phase.location.center, &phase.location.upper,
                                                         &phase.location.lower};
    const std::array<const std::string *, 3> spread = {&phase.spread.center, &phase.spread.upper,
                                                       &phase.spread.lower};
    for (std::size_t line = 0; line < 3; ++line) {
        m_locationBoxes[line]->setText(fromUtf8(*location[line]));
        m_spreadBoxes[line]->setText(fromUtf8(*spread[line]));
    }
    m_noteBox->setText(fromUtf8(phase.note));
}

sheet::Phase PhaseDialog::phase() const
{
    sheet::Phase phase;
    phase.firstRow = static_cast<std::size_t>(m_startBox->value() - 1);
    phase.source = static_cast<sheet::LimitSource>(m_sourceBox->currentIndex());
    phase.note = toUtf8(m_noteBox);
    // Only what the chosen source reads is kept, so the file holds no
    // leftovers of another choice.
    switch (phase.source) {
    case sheet::LimitSource::OwnRows:
        break;
    case sheet::LimitSource::Baseline:
        phase.baselineFirst = static_cast<std::size_t>(m_baselineFirstBox->value() - 1);
        phase.baselineLast = static_cast<std::size_t>(m_baselineLastBox->value() - 1);
        break;
    case sheet::LimitSource::Standard:
        phase.standardMean = toUtf8(m_meanBox);
        phase.standardSigma = toUtf8(m_sigmaBox);
        break;
    case sheet::LimitSource::Given:
        phase.location = {toUtf8(m_locationBoxes[0]), toUtf8(m_locationBoxes[1]), toUtf8(m_locationBoxes[2])};
        phase.spread = {toUtf8(m_spreadBoxes[0]), toUtf8(m_spreadBoxes[1]), toUtf8(m_spreadBoxes[2])};
        break;
    }
    return phase;
}

} // namespace sheetwin
