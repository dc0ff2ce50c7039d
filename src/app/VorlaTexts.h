#pragma once

// What the main window and its file commands say: the questions they ask and
// the messages they show, in one place.

#include "files/Paste.h"
#include "files/TextReading.h"
#include "files/ValueFileIO.h"
#include "stats/Statistics.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QMimeData;
class QWidget;

namespace vorla_texts {

inline const QString kOpenTitle = QStringLiteral("ファイルを開く");
inline const QString kSaveTitle = QStringLiteral("名前を付けて保存");
inline const QString kPrintTitle = QStringLiteral("印刷");
inline const QString kPasteTitle = QStringLiteral("貼り付け");
inline const QString kExitTitle = QStringLiteral("終了");
inline const QString kCalculateTitle = QStringLiteral("演算開始");
inline const QString kRestoreTitle = QStringLiteral("値の復元");

QString grouped(std::int64_t number);

/// Asks which encoding a file that reads both ways is in, showing the first
/// line where the readings differ. Shift JIS, what this program writes, is the
/// default; nullopt when the user cancels.
std::optional<files::TextEncoding> askReading(QWidget *parent, const QString &path,
                                              const files::AmbiguousReading &line);
/// The values a paste enters: each line and cell for text of one column, the
/// chosen column's for a table; nullopt when the question is cancelled.
std::optional<std::vector<std::string>> pastedValues(QWidget *parent, const QString &text);
/// Asks which column of a table file to read.
std::optional<std::size_t> askFileColumn(QWidget *parent, const QString &path,
                                         const files::ColumnLayout &layout);
/// The local files among dragged data, in order; other links are passed over.
QStringList droppedFiles(const QMimeData &data);

QString openFailureText(const QString &path, const files::ReadFailure &failure);
QString leftOutText(const QString &path, std::size_t leftOut, std::size_t added);
QString unencodableText(const files::EncodeFailure &failure);
QString saveFailureText(const QString &path, const files::WriteFailure &failure);
QString pasteRefusedText(const files::PastePlan &plan, std::size_t room);
QString editorPasteRefusedText(const files::PastePlan &plan);
/// What the notice under the list says after a calculation that read items
/// as 0 or only in part; empty when every item was read whole.
QString looseReadingText(const stats::LooseReadings &loose);
QString tooLargeText();
QString dropRefusedText();
QString printFailedText();
QString scratchUnreadableText(const QString &path);
QString pdfFailedText(const QString &path);
QString journalFailedText();

} // namespace vorla_texts
