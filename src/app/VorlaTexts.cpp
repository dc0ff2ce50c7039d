#include "app/VorlaTexts.h"

#include "app/ColumnDialog.h"
#include "files/Columns.h"
#include "files/ValueFile.h"
#include "stats/NumberText.h"
#include "stats/Sentences.h"
#include "ui/FitText.h"
#include "ui/Utf8.h"

#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

namespace vorla_texts {

using ui::fromUtf8;
using ui::toUtf8;

QString grouped(std::int64_t number)
{
    return fromUtf8(stats::groupedInteger(number));
}

// Asks which encoding a file that reads both ways is in, showing the first
/// line where the readings differ. Shift JIS, what this program writes, is the
/// default; nullopt when the user cancels.
std::optional<files::TextEncoding> askReading(QWidget *parent, const QString &path,
                                              const files::AmbiguousReading &line)
{
    QMessageBox box(QMessageBox::Question, kOpenTitle,
                    QStringLiteral("ファイル「%1」は Shift JIS としても UTF-8 としても読めます。\n"
                                   "%2 行目の読み方:\n"
                                   "Shift JIS: %3\nUTF-8: %4\n"
                                   "どちらとして読みますか？")
                        .arg(path, grouped(static_cast<std::int64_t>(line.lineNumber)),
                             shortened(fromUtf8(line.asShiftJis)),
                             shortened(fromUtf8(line.asUtf8))),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Shift JIS として読む"));
    box.button(QMessageBox::No)->setText(QStringLiteral("UTF-8 として読む"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return files::TextEncoding::ShiftJis;
    case QMessageBox::No:
        return files::TextEncoding::Utf8;
    default:
        return std::nullopt;
    }
}

/// The values a paste enters: each line and cell for text of one column, the
/// chosen column's for a table; nullopt when the question is cancelled.
std::optional<std::vector<std::string>> pastedValues(QWidget *parent, const QString &text)
{
    return files::pastedValues(toUtf8(text), [parent](const files::ColumnLayout &layout) {
        return askColumn(parent,
                         QStringLiteral("貼り付けたテキストは %1 列の表です（%2区切り）。\n"
                                        "一覧に入れる列を選んでください。")
                             .arg(layout.columns)
                             .arg(separatorName(layout.separator)),
                         layout);
    });
}

/// Asks which column of a table file to read.
std::optional<std::size_t> askFileColumn(QWidget *parent, const QString &path,
                                         const files::ColumnLayout &layout)
{
    return askColumn(parent,
                     QStringLiteral("ファイル「%1」は %2 列の表です（%3区切り）。\n"
                                    "一覧に読み込む列を選んでください。")
                         .arg(path)
                         .arg(layout.columns)
                         .arg(separatorName(layout.separator)),
                     layout);
}

/// The local files among dragged data, in order; other links are passed over.
QStringList droppedFiles(const QMimeData &data)
{
    QStringList files;
    for (const QUrl &url : data.urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

static QString encodeProblemText(const files::EncodeFailure &failure)
{
    if (!failure.item)
        return QStringLiteral("この環境では Shift JIS の文字に変換できません。");
    const QString shown = shortened(failure.item->text);
    return QStringLiteral("一覧の %1 番目の値「%2」に、Shift JIS で書けない文字「%3」があります。")
        .arg(grouped(failure.item->index + 1), shown, failure.item->character);
}

static QString writeProblemText(const files::WriteFailure &failure)
{
    if (failure.problem == files::WriteProblem::FolderMissing)
        return QStringLiteral("保存先のフォルダーが見つかりません。");
    return QStringLiteral("書き込みに失敗しました（%1）。").arg(failure.detail);
}

QString openFailureText(const QString &path, const files::ReadFailure &failure)
{
    return QStringLiteral("ファイル「%1」を開けませんでした。\n%2\n一覧には何も追加していません。")
        .arg(path, files::readProblemText(failure));
}

QString leftOutText(const QString &path, std::size_t leftOut, std::size_t added)
{
    return QStringLiteral("一覧に入るのは %1 個までのため、ファイル「%2」の %3 行は"
                          "読み込んでいません（%4 行を追加しました）。")
        .arg(grouped(static_cast<std::int64_t>(files::kMaxListItems)), path,
             grouped(static_cast<std::int64_t>(leftOut)),
             grouped(static_cast<std::int64_t>(added)));
}

QString unencodableText(const files::EncodeFailure &failure)
{
    return QStringLiteral("一覧を保存できませんでした。\n%1\nファイルには何も書いていません。")
        .arg(encodeProblemText(failure));
}

QString saveFailureText(const QString &path, const files::WriteFailure &failure)
{
    return fromUtf8(stats::sentences::couldNotSave(toUtf8(path)))
           + QStringLiteral("\n%1\nファイルは変更していません。").arg(writeProblemText(failure));
}

QString pasteRefusedText(const files::PastePlan &plan, std::size_t room)
{
    const QString nothingAdded = QStringLiteral("何も追加していません。");
    if (plan.verdict == files::PasteVerdict::TooLong)
        return QStringLiteral("貼り付けた値の %1 番目「%2」は %3 文字あります。一覧に入る値は %4 "
                              "文字までです。")
                   .arg(grouped(static_cast<std::int64_t>(plan.tooLongIndex + 1)),
                        shortened(fromUtf8(plan.values[plan.tooLongIndex])),
                        grouped(static_cast<std::int64_t>(plan.tooLongLength)),
                        grouped(static_cast<std::int64_t>(files::kMaxLineLength)))
               + nothingAdded;
    if (plan.verdict == files::PasteVerdict::HoldsBreak)
        return QStringLiteral("貼り付けた値の %1 番目「%2」にタブか改行があります。"
                              "一覧の値には入れられません。")
                   .arg(grouped(static_cast<std::int64_t>(plan.tooLongIndex + 1)),
                        shortened(fromUtf8(plan.values[plan.tooLongIndex])))
               + nothingAdded;
    const QString count = grouped(static_cast<std::int64_t>(plan.values.size()));
    if (room == 0)
        return QStringLiteral("貼り付けた値は %1 個ですが、一覧はすでに %2 個でいっぱいです。")
                   .arg(count, grouped(static_cast<std::int64_t>(files::kMaxListItems)))
               + nothingAdded;
    return QStringLiteral("貼り付けた値は %1 個ですが、一覧に入るのはあと %2 個です。")
               .arg(count, grouped(static_cast<std::int64_t>(room)))
           + nothingAdded;
}

QString editorPasteRefusedText(const files::PastePlan &plan)
{
    if (plan.verdict != files::PasteVerdict::TooMany)
        return pasteRefusedText(plan, 1);
    return QStringLiteral("貼り付けた値は %1 個ですが、ここに入る値は 1 個だけです。何も変えていません。")
        .arg(grouped(static_cast<std::int64_t>(plan.values.size())));
}

/// What the notice under the list says after a calculation that read items
/// as 0 or only in part; empty when every item was read whole.
QString looseReadingText(const stats::LooseReadings &loose)
{
    namespace say = stats::sentences;
    const std::size_t none = loose.withoutNumber.size();
    const std::size_t part = loose.partlyRead.size();
    QString text;
    if (none > 0 && part > 0)
        text = QStringLiteral("数値として読めない値 %1 個は 0 として、数値の後に文字が続く値 %2 個は"
                              "文字の前の数値で計算しました。")
                   .arg(grouped(static_cast<std::int64_t>(none)),
                        grouped(static_cast<std::int64_t>(part)));
    else if (none > 0)
        text = fromUtf8(say::withoutNumber(none)) + QStringLiteral("。");
    else if (part > 0)
        text = fromUtf8(say::partlyRead(part)) + QStringLiteral("。");
    if (!loose.blanksInside.empty())
        text += fromUtf8(say::blanksInside(loose.blanksInside.size())) + QStringLiteral("。");
    if (text.isEmpty())
        return text;
    return text + QStringLiteral("一覧で選択しています。");
}

QString tooLargeText()
{
    return fromUtf8(stats::sentences::tooLargeToCalculate())
           + QStringLiteral("一覧の値を確かめてください。");
}
QString dropRefusedText()
{
    return QStringLiteral("値を入力した後は、ファイルを開けません。\n"
                          "表示(V) → クリア(C) で一覧を空にしてから、もう一度ドロップしてください。");
}

QString printFailedText()
{
    return QStringLiteral("プリンターに送れませんでした。\nプリンターの状態を確かめて、もう一度印刷してください。");
}

QString scratchUnreadableText(const QString &path)
{
    return QStringLiteral("印刷するデータのファイルを読み込めません。\n%1\n何も印刷していません。").arg(path);
}

QString pdfFailedText(const QString &path)
{
    return QStringLiteral("PDF ファイル「%1」に保存できませんでした。").arg(path);
}

QString journalFailedText()
{
    return QStringLiteral("入力した値をディスクに記録できません（ディスクがいっぱいか、書き込めません）。\n"
                          "値は一覧に残っています。早めに保存してください。");
}

} // namespace vorla_texts
