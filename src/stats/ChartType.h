#pragma once

namespace stats {

/// The charts the chart window and `vorla --chart` draw: the run chart, or
/// one of the control charts. The chart window's 「グラフの種類」 lists them in
/// this order, and --type names them run, xrs and xbar-r.
enum class ChartType {
    Run,                    ///< 推移: the values in list order, and their histogram
    IndividualsMovingRange, ///< X-Rs 管理図
    MeansRanges,            ///< X̄-R 管理図
};

} // namespace stats
