#include "sheetwin/SheetDocument.h"

#include "RowName.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using sheetwin::SheetDocument;
using Values = std::vector<std::string>;

Values valuesOf(const SheetDocument &doc, std::size_t row)
{
    return row < doc.sheet().rows.size() ? doc.sheet().rows[row].values : Values{};
}

SheetDocument &threeByThree(SheetDocument &doc)
{
    sheet::Header header;
    header.subgroupSize = 3;
    EXPECT_EQ(doc.setHeader(header), "");
    for (std::size_t r = 0; r < 3; ++r)
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(doc.setValue(r, i, std::to_string(10 + r + i)), "");
    return doc;
}

TEST(SheetDocument, EveryTypedValueIsOneUndoStep)
{
    SheetDocument doc;
    threeByThree(doc);
    ASSERT_EQ(doc.sheet().rows.size(), 3u);
    EXPECT_EQ(valuesOf(doc, 2), (Values{"12", "13", "14"}));
    EXPECT_EQ(doc.undoStack()->count(), 10); // the header and nine values
    doc.undoStack()->undo();
    EXPECT_EQ(valuesOf(doc, 2), (Values{"12", "13"}));
    doc.undoStack()->undo();
    doc.undoStack()->undo();
    EXPECT_EQ(doc.sheet().rows.size(), 2u); // the row the first value opened is gone again
    doc.undoStack()->redo();
    EXPECT_EQ(valuesOf(doc, 2), (Values{"12"}));
    EXPECT_EQ(doc.undoStack()->undoText(), QStringLiteral("値の入力"));
}

TEST(SheetDocument, CleanStateIsTheSavedState)
{
    QTemporaryDir dir;
    SheetDocument doc;
    EXPECT_FALSE(doc.isModified());
    threeByThree(doc);
    EXPECT_TRUE(doc.isModified());
    const QString path = dir.filePath(QStringLiteral("週.vorla"));
    ASSERT_EQ(doc.save(path), std::nullopt);
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.filePath(), path);
    EXPECT_EQ(doc.setNote(1, "刃具交換"), "");
    EXPECT_TRUE(doc.isModified());
    doc.undoStack()->undo();
    EXPECT_FALSE(doc.isModified());

    SheetDocument reopened;
    ASSERT_EQ(reopened.open(path), std::nullopt);
    EXPECT_EQ(reopened.sheet(), doc.sheet());
    EXPECT_FALSE(reopened.isModified());
    EXPECT_EQ(reopened.undoStack()->count(), 0);
}

TEST(SheetDocument, RowsInsertedRemovedExcludedAndBack)
{
    SheetDocument doc;
    threeByThree(doc);
    const sheet::Sheet before = doc.sheet();
    ASSERT_EQ(doc.insertRow(1), "");
    EXPECT_EQ(doc.sheet().rows.size(), 4u);
    EXPECT_TRUE(valuesOf(doc, 1).empty());
    ASSERT_EQ(doc.removeRow(0), "");
    ASSERT_EQ(doc.setExcluded(1, true, "校正切れ"), "");
    EXPECT_TRUE(doc.sheet().rows[1].excluded);
    EXPECT_EQ(doc.sheet().rows[1].exclusionReason, "校正切れ");
    ASSERT_EQ(doc.setLabel(1, "12/07 09:00"), "");
    for (int i = 0; i < 4; ++i)
        doc.undoStack()->undo();
    EXPECT_EQ(doc.sheet(), before);
}

TEST(SheetDocument, SentValuesBecomeRowsOfNInOneStep)
{
    SheetDocument doc;
    sheet::Header header;
    header.subgroupSize = 2;
    doc.setHeader(header);
    const int steps = doc.undoStack()->count();
    ASSERT_EQ(doc.appendValues({"1", "2", "3", "4", "5"}), "");
    EXPECT_EQ(doc.undoStack()->count(), steps + 1);
    ASSERT_EQ(doc.sheet().rows.size(), 3u);
    EXPECT_EQ(valuesOf(doc, 2), (Values{"5"}));
    doc.undoStack()->undo();
    EXPECT_TRUE(doc.sheet().rows.empty());
}

struct RefusedEdit
{
    const char *name;
    sheetwin::SheetEdit edit;
    const char *problem;
};

sheet::Header headerOfSize(int n)
{
    sheet::Header header;
    header.subgroupSize = n;
    return header;
}

sheet::Phase phaseAt(std::size_t row)
{
    sheet::Phase phase;
    phase.firstRow = row;
    return phase;
}

const RefusedEdit kRefusedEdits[] = {
    {"ValueBeyondN", sheetwin::ValueEdit{0, 3, "1"}, "値は 3 個までです"},
    {"ValueRowBeyondEnd", sheetwin::ValueEdit{4, 0, "1"}, "第 5 群はありません"},
    {"ValueWithTab", sheetwin::ValueEdit{0, 0, "1\t2"}, "値にタブや改行は入れられません"},
    {"NoteOfMissingRow", sheetwin::NoteEdit{3, "x"}, "第 4 群はありません"},
    {"RemoveMissingRow", sheetwin::RowRemoval{3}, "第 4 群はありません"},
    {"SmallerNThanValues", sheetwin::HeaderEdit{headerOfSize(2)},
     "値が 3 個ある群があるため、n を 2 にできません"},
    {"NBeyondTwentyFive", sheetwin::HeaderEdit{headerOfSize(26)}, "群の大きさ n は 1 から 25 までです"},
    {"PhasesOutOfOrder", sheetwin::PhasesEdit{{phaseAt(0), phaseAt(0)}},
     "期 2 の開始 (第 1 群) が期 1 の開始の後にありません"},
    {"AppendedRowTooLong", sheetwin::RowsAppended{{sheet::Row{"", {"1", "2", "3", "4"}, "", false, ""}}},
     "値は 3 個までです"},
};

class RefusedEditTest : public ::testing::TestWithParam<RefusedEdit> {};

TEST_P(RefusedEditTest, ChangesNothingAndSaysWhy)
{
    SheetDocument doc;
    threeByThree(doc);
    const sheet::Sheet before = doc.sheet();
    const int steps = doc.undoStack()->count();
    QSignalSpy changed(&doc, &SheetDocument::sheetChanged);
    EXPECT_EQ(doc.change(GetParam().edit), GetParam().problem);
    EXPECT_EQ(doc.sheet(), before);
    EXPECT_EQ(doc.undoStack()->count(), steps);
    EXPECT_EQ(changed.count(), 0);
}

INSTANTIATE_TEST_SUITE_P(SheetDocument, RefusedEditTest, ::testing::ValuesIn(kRefusedEdits), RowName{});

struct HostileFile
{
    const char *name;
    const char *file;  // in the test's folder; nullptr: none is written
    QByteArray bytes;
    const char *message;
};

const HostileFile kHostileFiles[] = {
    {"LaterVersion", "later.vorla", R"({"format": "vorla-sheet", "version": 2, "rows": []})",
     "このシートは版 2 で書かれています。この Vorla が読めるのは版 1 までです。"},
    {"ValueFile", "values.vorla", "25.01\r\n25.02\r\n",
     "管理図シートのファイルではありません (2 行 5 文字目)。"},
    {"CutShort", "cut.vorla", "{\"format\": \"vorla-sheet\", \"version\": 1, \"rows\": [{\"values\": [\"1\"",
     "シートが壊れています (1 行 65 文字目): JSON として読めません。"},
    {"ShiftJisBytes", "sjis.vorla", "{\"format\": \"vorla-sheet\", \"x\": \"\x95\x5c\"}",
     "シートが壊れています (1 行 33 文字目): JSON として読めません。"},
    {"Missing", nullptr, "", "ファイルが見つかりません。"},
};

class HostileFileTest : public ::testing::TestWithParam<HostileFile> {};

TEST_P(HostileFileTest, RefusedFileLeavesTheSheetAsItWas)
{
    const HostileFile &c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(c.file ? c.file : "missing.vorla"));
    if (c.file) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes);
    }
    SheetDocument doc;
    threeByThree(doc);
    const sheet::Sheet before = doc.sheet();
    const int steps = doc.undoStack()->count();
    EXPECT_EQ(doc.open(path), QString::fromUtf8(c.message));
    EXPECT_EQ(doc.sheet(), before);
    EXPECT_EQ(doc.undoStack()->count(), steps); // the history stays too
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(doc.filePath().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(SheetDocument, HostileFileTest, ::testing::ValuesIn(kHostileFiles), RowName{});

TEST(SheetDocument, FailedSaveKeepsTheUnsavedState)
{
    QTemporaryDir dir;
    SheetDocument doc;
    threeByThree(doc);
    EXPECT_EQ(doc.save(dir.filePath(QStringLiteral("no/such/folder/a.vorla"))),
              QStringLiteral("保存先のフォルダーが見つかりません。"));
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(doc.filePath().isEmpty());
}

} // namespace
