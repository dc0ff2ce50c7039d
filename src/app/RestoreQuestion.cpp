#include "app/RestoreQuestion.h"

#include "app/VorlaTexts.h"
#include "doc/JournalFile.h"
#include "doc/JournalRecovery.h"
#include "doc/ValueListDocument.h"
#include "files/ValueFile.h"
#include "ui/Utf8.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>

namespace {

using vorla_texts::grouped;
using vorla_texts::kRestoreTitle;

QString problemText(const recovery::LeftJournal &left, const QString &kept)
{
    const QString path = QDir::toNativeSeparators(left.path);
    const QString keptLine =
        kept.isEmpty() ? QStringLiteral("ファイルはそのまま残してあります。")
                       : QStringLiteral("ファイルは「%1」として残してあります。")
                             .arg(QDir::toNativeSeparators(kept));
    switch (left.replay.problem) {
    case journal::Problem::NotAJournal:
        return QStringLiteral("「%1」は Vorla の記録ではありません。\n%2").arg(path, keptLine);
    case journal::Problem::NewerVersion:
        return QStringLiteral("「%1」は新しい版の Vorla の記録のため読めません。\n%2").arg(path, keptLine);
    default:
        return QStringLiteral("記録「%1」は %2 バイト目から壊れています。その前までの変更は読めました。\n%3")
            .arg(path, grouped(static_cast<std::int64_t>(left.replay.problemOffset)), keptLine);
    }
}

bool askRestore(const recovery::LeftJournal &left, QWidget *parent)
{
    const journal::ListState &state = left.replay.state;
    const QString source = state.sourceName.empty()
                               ? QStringLiteral("なし（まだ保存していない一覧）")
                               : QStringLiteral("「%1」").arg(ui::fromUtf8(state.sourceName));
    QMessageBox box(QMessageBox::Question, kRestoreTitle,
                    QStringLiteral("前回の Vorla は正しく終了しませんでした。\n"
                                   "保存されていない値が %1 個あります。\n"
                                   "最後の変更: %2\nファイル: %3\n\n"
                                   "復元しますか？（破棄しても記録は 30 日間残ります）")
                        .arg(grouped(static_cast<std::int64_t>(state.items.size())),
                             left.lastChange.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")), source),
                    QMessageBox::NoButton, parent);
    QPushButton *restore = box.addButton(QStringLiteral("復元"), QMessageBox::AcceptRole);
    QPushButton *discard = box.addButton(QStringLiteral("破棄"), QMessageBox::RejectRole);
    box.setDefaultButton(restore);
    box.setEscapeButton(discard);
    box.exec();
    return box.clickedButton() == restore;
}

/// Reports a journal that cannot be read whole and keeps it: set aside
/// when nothing of it can be restored, a copy of it otherwise.
void reportProblem(const recovery::LeftJournal &left, const QDateTime &now, QWidget *parent)
{
    const bool readable = left.replay.problem == journal::Problem::Damaged;
    const QString kept = readable ? recovery::copyAside(left.path, recovery::kKept, now)
                                  : recovery::setAside(left.path, recovery::kKept, now);
    QMessageBox::warning(parent, kRestoreTitle, problemText(left, kept));
}

} // namespace

void restoreOrStartJournal(ValueListDocument &document, const QString &dataDir, QWidget *parent)
{
    const QDateTime now = QDateTime::currentDateTime();
    recovery::pruneDiscarded(dataDir, now);
    bool restored = false;
    for (const recovery::LeftJournal &left : recovery::leftJournals(dataDir, files::kMaxListItems)) {
        if (left.replay.problem != journal::Problem::None)
            reportProblem(left, now, parent);
        if (left.replay.problem == journal::Problem::NotAJournal
            || left.replay.problem == journal::Problem::NewerVersion)
            continue;
        if (!left.worthRestoring()) {
            QFile::remove(left.path); // nothing in it that a file does not hold
            continue;
        }
        if (restored)
            continue; // one list at a time: the next start asks about this one
        if (!askRestore(left, parent)) {
            recovery::setAside(left.path, recovery::kDiscarded, now);
            continue;
        }
        std::unique_ptr<JournalFile> file = JournalFile::takeOver(left.path, left.replay.goodBytes);
        if (!file)
            continue; // another Vorla took it meanwhile
        document.restore(left.replay.state, std::move(file));
        restored = true;
    }
    if (!restored)
        document.setJournal(JournalFile::atPath(recovery::newJournalPath(dataDir)));
}
