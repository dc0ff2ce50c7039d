#include "files/TextReading.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

struct TextCase
{
    const char *name;
    std::string text;
    bool expected;
};

class PlausibleReadingTest : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(PlausibleReadingTest, JudgesEveryCharacter)
{
    EXPECT_EQ(files::isPlausibleReading(GetParam().text), GetParam().expected);
}

const TextCase kPlausibleCases[] = {
    {"Ascii", "12.5\r\n-3\r\n", true},
    {"KanjiAndKana", "測定値　ひらがな　カタカナ", true},
    {"HalfWidthWord", "ﾏｲﾅｽ", true},
    {"HalfWidthWordBeforeKanji", "ﾃﾞｰﾀ数", true},
    {"HalfWidthUnitAfterNumber", "5ｺ", true},
    {"MeasurementSigns", "±0.1 12.5° 3×4 5µm 10Ω 20℃ 3σ ㎜ ㌔", true},
    {"FullWidthForms", "１２．５ｍｍ￥", true},
    {"LatinLetters", "ϲŽ", false},
    {"LatinOneLetter", "ż", false},
    {"CyrillicLetter", "Ж", false},
    {"GreekLetterOtherThanSigns", "λ", false},
    {"EraSign", "驥埼㍼kg", false},
    {"PrivateUse", "\xEE\x80\x80", false},
    {"LoneKanaBetweenKanji", "貂ｩ蠎ｦ", false},
    {"LoneKanaAfterKanji", "値ｱ", false},
    {"KanaBeforeDigit", "ﾂｱ0.1", false},
    {"KanaAfterDigitIsUnit", "12.5ﾂｰC", true},
};
INSTANTIATE_TEST_SUITE_P(Readings, PlausibleReadingTest, ::testing::ValuesIn(kPlausibleCases),
                         RowName{});

class ValidUtf8Test : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(ValidUtf8Test, FollowsRfc3629)
{
    EXPECT_EQ(files::isValidUtf8(GetParam().text), GetParam().expected);
}

const TextCase kUtf8Cases[] = {
    {"Empty", "", true},
    {"LongAsciiRun", std::string(100, '7') + "表" + std::string(9, '8'), true},
    {"FourBytes", "\xF0\x9F\x98\x80", true},
    {"Overlong", "\xC0\xAF", false},
    {"OverlongThreeBytes", "\xE0\x80\xAF", false},
    {"Surrogate", "\xED\xA0\x80", false},
    {"BeyondUnicode", "\xF4\x90\x80\x80", false},
    {"CutShort", "12345678\xE8\xA1", false},
    {"StrayContinuation", "1\x80", false},
    {"ShiftJisKanji", "\x95\x5C", false},
};
INSTANTIATE_TEST_SUITE_P(Bytes, ValidUtf8Test, ::testing::ValuesIn(kUtf8Cases), RowName{});

class SavedShapeTest : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(SavedShapeTest, MatchesWhatSaveWrites)
{
    EXPECT_EQ(files::hasSavedFileShape(GetParam().text), GetParam().expected);
}

const TextCase kShapeCases[] = {
    {"EmptyList", "\r\n", true},
    {"ThreeItems", "1.5\r\n-2\r\nabc\r\n\r\n", true},
    {"LoneLfEndsALine", "1\n2\r\n\r\n", false},
    {"LfOnlyFile", "1\n2\n\n", false},
    {"LfInsteadOfClosingLine", "1\r\n\n", false},
    {"NoClosingEmptyLine", "1\r\n", false},
    {"EmptyLineInside", "1\r\n\r\n2\r\n\r\n", false},
    {"TwoClosingEmptyLines", "1\r\n\r\n\r\n", false},
    {"LoneCr", "1\r2\r\n\r\n", false},
    {"Empty", "", false},
};
INSTANTIATE_TEST_SUITE_P(Files, SavedShapeTest, ::testing::ValuesIn(kShapeCases), RowName{});

class AsciiTest : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(AsciiTest, FindsAnyHighByte)
{
    EXPECT_EQ(files::isAscii(GetParam().text), GetParam().expected);
}

// The scan goes eight bytes at a time, then byte by byte: a high byte in
// either part, and at either end of a word, must be seen.
const TextCase kAsciiCases[] = {
    {"Empty", "", true},
    {"OneWordExactly", "12345678", true},
    {"WordsAndTail", std::string(21, '5'), true},
    {"HighByteInTail", "12345678\x80", false},
    {"HighByteFirstInWord", "\x95" "2345678", false},
    {"HighByteLastInSecondWord", "12345678" "1234567\xFF", false},
    {"DeleteIsAscii", "\x7F", true},
};
INSTANTIATE_TEST_SUITE_P(Bytes, AsciiTest, ::testing::ValuesIn(kAsciiCases), RowName{});

// A stand-in converter: every byte of 0x80 and above reads as "Ж" (no
// plausible reading), others as themselves; refuses bytes holding 0xFF.
// It counts the pieces it is given.
struct StubShiftJis
{
    std::vector<std::string> *pieces;
    std::optional<std::string> operator()(std::string_view bytes) const
    {
        pieces->emplace_back(bytes);
        if (bytes.find('\xFF') != std::string_view::npos)
            return std::nullopt;
        std::string text;
        for (const char c : bytes)
            text += static_cast<unsigned char>(c) >= 0x80 ? std::string("Ж") : std::string(1, c);
        return text;
    }
};

struct ReadAsTextCase
{
    const char *name;
    std::string bytes;
    bool converter;              // a converter is given
    std::optional<std::string> text; // nullopt: refused
    files::TextEncoding encoding = files::TextEncoding::Utf8;
    std::size_t pieces = 0;      // pieces the converter was given
};

class ReadAsTextTest : public ::testing::TestWithParam<ReadAsTextCase>
{
};

TEST_P(ReadAsTextTest, DecidesAndConvertsOnlyWhenNeeded)
{
    const ReadAsTextCase &c = GetParam();
    std::vector<std::string> pieces;
    files::ShiftJisToUtf8 converter;
    if (c.converter)
        converter = StubShiftJis{&pieces};
    const auto read = files::readAsText(c.bytes, converter);
    ASSERT_EQ(std::holds_alternative<files::DecodedText>(read), c.text.has_value());
    if (c.text) {
        EXPECT_EQ(std::get<files::DecodedText>(read).text, *c.text);
        EXPECT_EQ(std::get<files::DecodedText>(read).encoding, c.encoding);
    }
    EXPECT_EQ(pieces.size(), c.pieces);
    std::string joined;
    for (const std::string &piece : pieces) {
        joined += piece;
        if (&piece != &pieces.back()) {
            EXPECT_TRUE(piece.ends_with('\n') || piece.ends_with('\r')) << "a piece ends mid-line";
        }
    }
    if (c.pieces > 1 && c.text && c.encoding == files::TextEncoding::ShiftJis) {
        EXPECT_EQ(joined, c.bytes); // every byte converted once, in order
    }
}

// Lines of values beyond one converter piece (256 KiB), so two pieces.
std::string padding()
{
    std::string text;
    for (int i = 0; i < 50000; ++i)
        text += "12.5\r\n";
    return text;
}

const ReadAsTextCase kReadAsTextCases[] = {
    {"AsciiNeedsNoConverter", "1\r\n2", true, "1\r\n2", files::TextEncoding::ShiftJis, 0},
    {"Utf8WithoutConverter", "温度", false, "温度", files::TextEncoding::Utf8, 0},
    {"NoShiftJisWithoutConverter", "\x95\x5C", false, std::nullopt},
    {"NeitherEncoding", "\x95\xFF", true, std::nullopt, files::TextEncoding::Utf8, 1},
    {"MarkedUtf8NeedsNoConverter", "\xEF\xBB\xBF温度", true, "温度", files::TextEncoding::Utf8, 0},
    {"MarkedButNoUtf8", "\xEF\xBB\xBF\x95\x5C", true, std::nullopt},
    {"OnlyShiftJis", "\x95\x5C\r\n", true, "Ж\\\r\n", files::TextEncoding::ShiftJis, 1},
    // Plausible UTF-8: the Shift JIS reading stops at its first piece, which
    // is implausible, and the bytes are the text.
    {"Utf8StopsShiftJisEarly", "温度\r\n" + padding(), true, "温度\r\n" + padding(),
     files::TextEncoding::Utf8, 1},
    // The saved shape asks; unasked, Shift JIS is read, so in full.
    {"SavedShapeReadsShiftJisWhole", "温度\r\n" + padding() + "\r\n", true,
     "ЖЖЖЖЖЖ\r\n" + padding() + "\r\n", files::TextEncoding::ShiftJis, 2},
};
INSTANTIATE_TEST_SUITE_P(Decisions, ReadAsTextTest, ::testing::ValuesIn(kReadAsTextCases),
                         RowName{});

} // namespace
