#pragma once

// The object names of the chart window's controls: the names its designer
// gave them, by which tests and screen readers find them. The window sets
// them from here and the tests look them up from here, so neither needs a
// table to know what "Text1" is.

namespace chart::names {

inline constexpr char kWindow[] = "ChartWindow";
inline constexpr char kUpperToleranceBox[] = "Text1"; // 規格上限
inline constexpr char kLowerToleranceBox[] = "Text2"; // 規格下限
inline constexpr char kApplyButton[] = "Command1";    // 適用
inline constexpr char kSaveImageButton[] = "Command2"; // 画像を保存
inline constexpr char kChartTypeBox[] = "chartType";   // グラフの種類
inline constexpr char kSubgroupSizeBox[] = "subgroupSize"; // 群の大きさ
inline constexpr char kPaperBox[] = "recordPaper";          // 用紙: A4 横, A4 縦
inline constexpr char kPrintButton[] = "printRecord";       // 印刷
inline constexpr char kSaveRecordButton[] = "saveRecordPdf"; // PDF に保存
/// The tests' check boxes are kTestBoxPrefix followed by the test's number, 1 to 8.
inline constexpr char kTestBoxPrefix[] = "specialCause";
inline constexpr char kChartStack[] = "chartStack"; // the run chart, or the two control charts
inline constexpr char kRunChart[] = "runChart";
inline constexpr char kHistogram[] = "histogram";
inline constexpr char kLocationChart[] = "locationChart"; // X or X̄
inline constexpr char kSpreadChart[] = "spreadChart";     // Rs or R
inline constexpr char kControlNote[] = "controlNote"; // why no chart; values left out
inline constexpr char kListNote[] = "listNote"; // the list changed since; the items left out
inline constexpr char kSignalList[] = "signalList";   // 異常の判定
inline constexpr char kFiguresPanel[] = "figures";
inline constexpr char kCountFigure[] = "figureCount";
inline constexpr char kMeanFigure[] = "figureMean";
inline constexpr char kSigmaFigure[] = "figureSigma";
inline constexpr char kSampleSigmaFigure[] = "figureSampleSigma";
inline constexpr char kUpperLimitFigure[] = "figureUpperLimit";
inline constexpr char kLowerLimitFigure[] = "figureLowerLimit";
inline constexpr char kBeyondFigure[] = "figureBeyond";
inline constexpr char kClassesFigure[] = "figureClasses";
inline constexpr char kCpFigure[] = "figureCp";
inline constexpr char kCpkFigure[] = "figureCpk";
inline constexpr char kOutsideFigure[] = "figureOutside";
inline constexpr char kExpectedFigure[] = "figureExpected"; // 推定不良率
inline constexpr char kFigureNote[] = "figureNote";
inline constexpr char kCapabilityNote[] = "Label3"; // how Cp and Cpk are defined

} // namespace chart::names
