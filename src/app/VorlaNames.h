#pragma once

// The main window's controls by their designer names: each is the control's
// objectName, by which tests, screen readers and the window itself find it.

namespace vorla_names {

inline constexpr char kWindow[] = "Vorla";
inline constexpr char kEntryBox[] = "Text1";
inline constexpr char kValueList[] = "List1";
inline constexpr char kUndo[] = "mnuUndo";
inline constexpr char kRedo[] = "mnuRedo";
inline constexpr char kCorrect[] = "mnuCorrect";
inline constexpr char kInsert[] = "mnuInsert";
inline constexpr char kValueEditor[] = "valueEditor";
inline constexpr char kSigmaChoice[] = "Combo1";
inline constexpr char kCalculateButton[] = "Command1";
inline constexpr char kMeanBox[] = "Text2";
inline constexpr char kStandardDeviationBox[] = "Text3";
inline constexpr char kUpperLimitBox[] = "Text4";
inline constexpr char kLowerLimitBox[] = "Text5";
inline constexpr char kAboveCountBox[] = "Text6";
inline constexpr char kAbovePercentBox[] = "Text7";
inline constexpr char kBelowCountBox[] = "Text8";
inline constexpr char kBelowPercentBox[] = "Text9";
inline constexpr char kCountBox[] = "Text10";
inline constexpr char kMaximumBox[] = "Text11";
inline constexpr char kMinimumBox[] = "Text12";
inline constexpr char kReadingNotice[] = "LabelNotice";
inline constexpr char kFileMenu[] = "f1";
inline constexpr char kOpenCommand[] = "f11";
inline constexpr char kSaveCommand[] = "f12";
inline constexpr char kPrintSeparator[] = "f2";
inline constexpr char kPrintCommand[] = "f21";
inline constexpr char kExitSeparator[] = "f3";
inline constexpr char kExitCommand[] = "f31";
inline constexpr char kViewMenu[] = "v1";
inline constexpr char kClearCommand[] = "v11";
inline constexpr char kChartCommand[] = "v12";
inline constexpr char kNewSheetCommand[] = "v13";
inline constexpr char kOpenSheetCommand[] = "v14";
inline constexpr char kSendToSheet[] = "mnuToSheet";
inline constexpr char kInformationMenu[] = "mnuJ";
inline constexpr char kInformationCommand[] = "mnu_J2";

} // namespace vorla_names
