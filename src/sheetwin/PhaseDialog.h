#pragma once

// 「期の設定」: one phase of the sheet as the user sets it: the group it
// starts at and where its limits come from (解析用, a baseline range of
// groups, standard values x̄₀ and σ₀, or CL, UCL and LCL typed per chart),
// with the reason for the phase. It only gathers the texts; the window
// puts the phase into the sheet (sheet::withPhase) as one undo step, and the
// analysis reads the texts as every limit text is read.
//
//   designer name    member
//   phaseStart       m_startBox           開始の群
//   phaseSource      m_sourceBox          管理線
//   baselineFirst    m_baselineFirstBox   基準の群 (から)
//   baselineLast     m_baselineLastBox    基準の群 (まで)
//   standardMean     m_meanBox            x̄₀
//   standardSigma    m_sigmaBox           σ₀
//   locationCL/UCL/LCL, spreadCL/UCL/LCL  m_locationBoxes, m_spreadBoxes
//   phaseNote        m_noteBox            理由

#include "sheet/Sheet.h"

#include <QDialog>

#include <array>
#include <cstddef>

class QComboBox;
class QLineEdit;
class QSpinBox;
class QStackedWidget;

namespace sheetwin {

class PhaseDialog : public QDialog
{
    Q_OBJECT
public:
    /// `phase` fills the controls; rows is the sheet's row count, which
    /// bounds the groups offered; the chart names label the typed lines.
    PhaseDialog(const sheet::Phase &phase, std::size_t rows, sheet::ChartKind kind,
                QWidget *parent = nullptr);

    /// The phase as the controls set it.
    sheet::Phase phase() const;

private:
    void createControls(std::size_t rows, sheet::ChartKind kind);
    void showPhase(const sheet::Phase &phase);

    QSpinBox *m_startBox = nullptr;
    QComboBox *m_sourceBox = nullptr;
    QStackedWidget *m_sourcePages = nullptr;
    QSpinBox *m_baselineFirstBox = nullptr;
    QSpinBox *m_baselineLastBox = nullptr;
    QLineEdit *m_meanBox = nullptr;
    QLineEdit *m_sigmaBox = nullptr;
    std::array<QLineEdit *, 3> m_locationBoxes{}; // CL, UCL, LCL
    std::array<QLineEdit *, 3> m_spreadBoxes{};
    QLineEdit *m_noteBox = nullptr;
};

} // namespace sheetwin
