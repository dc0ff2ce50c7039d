#include "files/TextCodec.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using files::TextEncoding;

/// How a row's question, if one comes, is answered.
enum class Answer { NoCallback, ShiftJis, Utf8, Cancel };

struct DecodeCase
{
    const char *name;
    QByteArray bytes;
    std::optional<std::string> text; // nullopt: refused (or cancelled)
    TextEncoding encoding;
    std::size_t askedLine = 0; // 0: no question may come
    Answer answer = Answer::NoCallback;
};

class DecodeTextTest : public ::testing::TestWithParam<DecodeCase>
{
};

TEST_P(DecodeTextTest, ReadsAsksOrRefuses)
{
    ASSERT_TRUE(files::shiftJisAvailable());
    const DecodeCase &c = GetParam();
    std::optional<files::AmbiguousReading> asked;
    files::ChooseReading choose;
    if (c.answer != Answer::NoCallback) {
        choose = [&](const files::AmbiguousReading &line) -> std::optional<TextEncoding> {
            asked = line;
            if (c.answer == Answer::Cancel)
                return std::nullopt;
            return c.answer == Answer::Utf8 ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
        };
    }
    const auto decoded = files::decodeText(c.bytes.toStdString(), choose);
    if (c.answer != Answer::NoCallback) {
        EXPECT_EQ(asked.has_value(), c.askedLine != 0);
        if (asked) {
            EXPECT_EQ(asked->lineNumber, c.askedLine);
        }
    }
    ASSERT_EQ(std::holds_alternative<files::DecodedText>(decoded), c.text.has_value());
    if (c.text) {
        EXPECT_EQ(std::get<files::DecodedText>(decoded).text, *c.text);
        EXPECT_EQ(std::get<files::DecodedText>(decoded).encoding, c.encoding);
    }
}

const auto Sjis = TextEncoding::ShiftJis;
const auto Utf8 = TextEncoding::Utf8;
const DecodeCase kDecodeCases[] = {
    {"Ascii", "1.5\r\n", "1.5\r\n", Sjis},
    {"Empty", "", "", Sjis},
    // 表 and ソ have 0x5C as their second byte; a lone 0x5C is the backslash.
    {"ShiftJisTrailByte5C", "\x95\x5C\x83\x5C\x5C", "表ソ\\", Sjis},
    {"Utf8Japanese", "\xE8\xA1\xA8\r\n", "表\r\n", Utf8},
    {"Utf8Bom", "\xEF\xBB\xBF" "12\r\n", "12\r\n", Utf8},
    {"BomWithBrokenUtf8", "\xEF\xBB\xBF\x95\x5C", std::nullopt, Utf8},
    {"TruncatedLeadByte", "1\r\n\x81", std::nullopt, Sjis},
    {"UnassignedCode", "\x85\x40", std::nullopt, Sjis},
    // Bytes 00-7F are themselves, as on Windows, also beside Shift JIS.
    {"AsciiControls", "1\x1A\x1C\x7F", "1\x1A\x1C\x7F", Sjis},
    {"ControlsBesideKanji", "\x95\x5C\x1A\x1C\x7F", "表\x1A\x1C\x7F", Sjis},
    {"InvalidSingleByte", QByteArray("\xFF\xFE" "1\x00" "2\x00", 6), std::nullopt, Sjis},

    // Shift JIS, some of it valid UTF-8 as well: never asked, never misread.
    {"SjisMinusKana", "\xCF\xB2\xC5\xBD\r\n", "ﾏｲﾅｽ\r\n", Sjis, 0, Answer::Utf8}, // UTF-8: ϲŽ
    {"SjisNoneKana", "\xC5\xBC", "ﾅｼ", Sjis, 0, Answer::Utf8},                   // UTF-8: ż
    {"SjisDataKana", "\xC3\xDE\xB0\xC0", "ﾃﾞｰﾀ", Sjis, 0, Answer::Utf8},
    {"SjisKanji", "\x91\xAA\x92\xE8\x92\x6C", "測定値", Sjis, 0, Answer::Utf8},
    {"SjisFullWidthNumber", "\x82\x50\x82\x51\x81\x44\x82\x54", "１２．５", Sjis, 0, Answer::Utf8},
    {"SjisPlusMinus", "\x81\x7D" "0.1", "±0.1", Sjis, 0, Answer::Utf8},
    {"SjisDegree", "12.5\x81\x8B", "12.5°", Sjis, 0, Answer::Utf8},

    // UTF-8, some of it valid Shift JIS as well.
    {"Utf8Celsius", "12.5\xC2\xB0" "C\r\n", "12.5°C\r\n", Utf8, 1, Answer::Utf8}, // or 12.5ﾂｰC
    {"Utf8PlusMinus", "\xC2\xB1" "0.1\r\n", "±0.1\r\n", Utf8, 0, Answer::ShiftJis}, // not ﾂｱ0.1
    {"Utf8Kanji", "\xE6\xB8\xAC\xE5\xAE\x9A\xE5\x80\xA4", "測定値", Utf8, 0, Answer::ShiftJis},
    {"Utf8Temperature", "\xE6\xB8\xA9\xE5\xBA\xA6\r\n", "温度\r\n", Utf8, 0, Answer::ShiftJis},
    {"Utf8FullWidthUnit", "\xEF\xBD\x8D\xEF\xBD\x8D", "ｍｍ", Utf8, 0, Answer::ShiftJis},
    {"Utf8WeightKg", "\xE9\x87\x8D\xE9\x87\x8F" "kg", "重量kg", Utf8, 0, Answer::ShiftJis},

    // Two plausible readings: asked, about the first line that differs.
    {"BothPlausibleAskedDefault", "1\r\n\xCE\xBC\r\n", "1\r\nﾎｼ\r\n", Sjis, 2, Answer::ShiftJis},
    {"BothPlausibleAnsweredUtf8", "1\r\n\xCE\xBC\r\n", "1\r\nμ\r\n", Utf8, 2, Answer::Utf8},
    {"BothPlausibleCancelled", "1\r\n\xCE\xBC\r\n", std::nullopt, Sjis, 2, Answer::Cancel},
    {"BothPlausibleWithoutCallback", "\xCE\xBC", "ﾎｼ", Sjis},
    // The saved shape never turns into UTF-8 unasked: "ﾂｱ0.1" as the save
    // command writes it, against "±0.1" above.
    {"SavedShapeAsksFirst", "\xC2\xB1" "0.1\r\n\r\n", "ﾂｱ0.1\r\n\r\n", Sjis, 1, Answer::ShiftJis},
    {"SavedShapeWithoutCallback", "\xC2\xB1" "0.1\r\n\r\n", "ﾂｱ0.1\r\n\r\n", Sjis},

    // LF or CR alone ends a line too, for the judgement and for the question.
    {"SjisLfOnly", "\x91\xAA\x92\xE8\x92\x6C\n12.5\n", "測定値\n12.5\n", Sjis, 0, Answer::Utf8},
    {"Utf8LfOnly", "\xE6\xB8\xA9\xE5\xBA\xA6\n12.5\n", "温度\n12.5\n", Utf8, 0, Answer::ShiftJis},
    {"TruncatedLeadByteAfterLf", "1\n\x81", std::nullopt, Sjis},
    {"TruncatedLeadByteAfterCr", "1\r\x81", std::nullopt, Sjis},
    {"BothPlausibleLfOnlyAskedAtItsLine", "1\n\n\xCE\xBC\n", "1\n\nﾎｼ\n", Sjis, 3,
     Answer::ShiftJis},
    {"BothPlausibleCrOnlyAskedAtItsLine", "1\r\xCE\xBC", "1\rﾎｼ", Sjis, 2, Answer::ShiftJis},
    // A lone LF is no line the save command writes, so UTF-8 wins unasked.
    {"LoneLfIsNoSavedShape", "\xC2\xB1" "0.1\n2\r\n\r\n", "±0.1\n2\r\n\r\n", Utf8, 0,
     Answer::ShiftJis},
};
INSTANTIATE_TEST_SUITE_P(Encodings, DecodeTextTest, ::testing::ValuesIn(kDecodeCases), RowName{});

TEST(DecodeText, QuestionShowsBothReadingsOfTheLine)
{
    std::optional<files::AmbiguousReading> asked;
    files::decodeText("1\r\n\r\n12.5\xC2\xB0" "C\r\n", [&](const files::AmbiguousReading &line) {
        asked = line;
        return std::optional(TextEncoding::ShiftJis);
    });
    ASSERT_TRUE(asked.has_value());
    EXPECT_EQ(asked->lineNumber, 3u);
    EXPECT_EQ(asked->asUtf8, "12.5°C");
    EXPECT_EQ(asked->asShiftJis, "12.5ﾂｰC");
}

TEST(DecodeText, ShiftJisAcrossManyPiecesKeepsEveryCharacter)
{
    // Larger than one conversion piece, with a two-byte character (0x5C
    // second byte) on each side of every line end.
    std::string bytes, text;
    for (int i = 0; i < 60000; ++i) {
        bytes += "\x95\x5C" "12\x83\x5C\r\n";
        text += "表12ソ\r\n";
    }
    bytes += "\x83\x5C";
    text += "ソ";
    const auto decoded = files::decodeText(bytes);
    ASSERT_TRUE(std::holds_alternative<files::DecodedText>(decoded));
    EXPECT_EQ(std::get<files::DecodedText>(decoded).text, text);
    EXPECT_FALSE(std::holds_alternative<files::DecodedText>(files::decodeText(bytes + "\x95")));
}

TEST(EncodeShiftJis, WritesWindowsForm)
{
    const auto bytes = files::encodeShiftJis(QStringLiteral("表ソ\\～"));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->toHex(' ').toStdString(), "95 5c 83 5c 5c 81 60");
    const auto controls = files::encodeShiftJis(QStringLiteral("\x1A\x1C\x7F"));
    ASSERT_TRUE(controls.has_value());
    EXPECT_EQ(controls->toHex(' ').toStdString(), "1a 1c 7f");
}

TEST(EncodeShiftJis, RefusesCharactersWithoutShiftJisForm)
{
    EXPECT_FALSE(files::encodeShiftJis(QStringLiteral("1😀")).has_value());
    EXPECT_FALSE(files::encodeShiftJis(QStringLiteral("€")).has_value());
    // Not dropped as a byte-order mark: the item would come back without it.
    EXPECT_FALSE(files::encodeShiftJis(QStringLiteral("\uFEFF12")).has_value());
}

// Characters at the edges of Shift JIS, written on Linux (ICU's windows-31j)
// and on Windows (code page 932). nullptr: refused, nothing written.
struct EncodeCase
{
    const char *name;
    const char16_t *text;
    const char *linuxBytes;
    const char *windowsBytes;
};

class EncodeEdgeTest : public ::testing::TestWithParam<EncodeCase>
{
};

TEST_P(EncodeEdgeTest, WritesOrRefusesLikeItsSystem)
{
    const EncodeCase &c = GetParam();
#ifdef _WIN32
    const char *expected = c.windowsBytes;
#else
    const char *expected = c.linuxBytes;
#endif
    const auto bytes = files::encodeShiftJis(QString::fromUtf16(c.text));
    ASSERT_EQ(bytes.has_value(), expected != nullptr);
    if (bytes) {
        EXPECT_EQ(bytes->toHex(' ').toStdString(), expected);
        // What was written reads back as the same text.
        const auto back = files::shiftJisToUtf8(bytes->toStdString());
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(QString::fromStdString(*back), QString::fromUtf16(c.text));
    }
}

const EncodeCase kEncodeCases[] = {
    {"FullWidthHyphenMinus", u"\uFF0D", "81 7c", "81 7c"},
    // No look-alike stands in for a character without a form: Windows would
    // write U+2212 as 81 7C and ¥ as the backslash 5C by "best fit".
    {"MinusSignRefused", u"\u2212", nullptr, nullptr},
    {"YenSignRefused", u"\u00A5", nullptr, nullptr},
    {"BrokenBarRefused", u"\u00A6", nullptr, nullptr},
    {"NotSignRefused", u"\u00AC", nullptr, nullptr},
    {"WaveDashRefused", u"\u301C", nullptr, nullptr}, // 〜; the Windows form is ～ below
    {"FullWidthTilde", u"\uFF5E", "81 60", "81 60"},
    {"FullWidthNotSign", u"\uFFE2", "81 ca", "81 ca"},
    {"NecNumero", u"\u2116", "87 82", "87 82"},
    {"IbmBrokenBar", u"\uFFE4", "fa 55", "fa 55"},
    // Written in its IBM extension form, though ED 40 reads as it too.
    {"NecSelectedIbmKanji", u"\u7E8A", "fa 5c", "fa 5c"},
    {"UserDefinedFirst", u"\uE000", "f0 40", "f0 40"},
    {"UserDefinedLast", u"\uE757", "f9 fc", "f9 fc"},
    {"Backslash", u"\\", "5c", "5c"},
    {"Overline", u"\u203E", nullptr, nullptr},
    // Code page 932 alone gives these a byte of their own (80, A0, FD-FF),
    // bytes no other system reads as Shift JIS: refused there too.
    {"C1ControlRefused", u"\u0080", nullptr, nullptr},
    {"PrivateUseF8F0Refused", u"\uF8F0", nullptr, nullptr},
    {"PrivateUseF8F3Refused", u"\uF8F3", nullptr, nullptr},
    // ICU keeps a second private-use spelling of № that Windows lacks. Read
    // back it is U+2116 on Linux, so the round trip above would fail there;
    // the row is checked by EncodePrivateUseNumero instead.
};
INSTANTIATE_TEST_SUITE_P(Edges, EncodeEdgeTest, ::testing::ValuesIn(kEncodeCases), RowName{});

TEST(EncodeShiftJis, PrivateUseNumeroDiffersBetweenSystems)
{
    const auto bytes = files::encodeShiftJis(QString(QChar(0xF86F)));
#ifdef _WIN32
    EXPECT_FALSE(bytes.has_value());
#else
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->toHex(' ').toStdString(), "87 82");
#endif
}

struct DecodeEdgeCase
{
    const char *name;
    QByteArray bytes;
    const char *text; // UTF-8; nullptr: refused
};

class DecodeEdgeTest : public ::testing::TestWithParam<DecodeEdgeCase>
{
};

TEST_P(DecodeEdgeTest, ReadsTheSameOnEverySystem)
{
    const DecodeEdgeCase &c = GetParam();
    const auto text = files::shiftJisToUtf8(c.bytes.toStdString());
    ASSERT_EQ(text.has_value(), c.text != nullptr);
    if (text) {
        EXPECT_EQ(*text, c.text);
    }
}

const DecodeEdgeCase kDecodeEdgeCases[] = {
    {"BackslashNotYen", "1\\2", "1\\2"},
    {"TildeNotOverline", "~", "~"},
    {"FullWidthHyphenMinus", "\x81\x7C", "\uFF0D"},
    {"NecNumero", "\x87\x82", "\u2116"},
    {"IbmNumero", "\xFA\x59", "\u2116"},
    {"UserDefined", "\xF0\x40", "\uE000"},
    {"NecSelectedIbmKanji", "\xED\x40", "\u7E8A"},
    {"Byte80Refused", "1\x80", nullptr},
    {"ByteA0Refused", "\xA0", nullptr},
    {"ByteFDRefused", "\xFD", nullptr},
    {"ByteFFRefused", "12\xFF", nullptr},
    {"UnassignedPairRefused", "\x81\xAD", nullptr},
    {"TrailByteMissingBeforeLineEnd", "\x95\r\n", nullptr},
};
INSTANTIATE_TEST_SUITE_P(Edges, DecodeEdgeTest, ::testing::ValuesIn(kDecodeEdgeCases), RowName{});

} // namespace
