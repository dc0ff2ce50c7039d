#include "files/TextCodec.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct DecodeCase
{
    const char *name;
    QByteArray bytes;
    std::optional<QString> text; // nullopt: refused
    files::TextEncoding encoding;
};

class DecodeTextTest : public ::testing::TestWithParam<DecodeCase>
{
};

TEST_P(DecodeTextTest, ReadsOrRefuses)
{
    ASSERT_TRUE(files::shiftJisAvailable());
    const DecodeCase &c = GetParam();
    const auto decoded = files::decodeText(c.bytes);
    ASSERT_EQ(decoded.has_value(), c.text.has_value());
    if (decoded) {
        EXPECT_EQ(decoded->text.toStdString(), c.text->toStdString());
        EXPECT_EQ(decoded->encoding, c.encoding);
    }
}

using files::TextEncoding;
const DecodeCase kDecodeCases[] = {
    {"Ascii", "1.5\r\n", QStringLiteral("1.5\r\n"), TextEncoding::ShiftJis},
    {"Empty", "", QString(), TextEncoding::ShiftJis},
    // 表 and ソ have 0x5C as their second byte; a lone 0x5C is the backslash.
    {"ShiftJisTrailByte5C", "\x95\x5C\x83\x5C\x5C", QStringLiteral("表ソ\\"),
     TextEncoding::ShiftJis},
    {"ShiftJisHalfWidthKana", "\xC3\xDE\xB0\xC0", QStringLiteral("ﾃﾞｰﾀ"), TextEncoding::ShiftJis},
    {"Utf8Japanese", "\xE8\xA1\xA8\r\n", QStringLiteral("表\r\n"), TextEncoding::Utf8},
    {"Utf8Bom", "\xEF\xBB\xBF" "12\r\n", QStringLiteral("12\r\n"), TextEncoding::Utf8},
    {"BomWithBrokenUtf8", "\xEF\xBB\xBF\x95\x5C", std::nullopt, TextEncoding::Utf8},
    {"TruncatedLeadByte", "1\r\n\x81", std::nullopt, TextEncoding::ShiftJis},
    {"UnassignedCode", "\x85\x40", std::nullopt, TextEncoding::ShiftJis},
    {"InvalidSingleByte", "\xFF\xFE" "1\x00" "2\x00", std::nullopt, TextEncoding::ShiftJis},
};
INSTANTIATE_TEST_SUITE_P(Encodings, DecodeTextTest, ::testing::ValuesIn(kDecodeCases), RowName{});

TEST(EncodeShiftJis, WritesWindowsForm)
{
    const auto bytes = files::encodeShiftJis(QStringLiteral("表ソ\\～"));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->toHex(' ').toStdString(), "95 5c 83 5c 5c 81 60");
}

TEST(EncodeShiftJis, RefusesCharactersWithoutShiftJisForm)
{
    EXPECT_FALSE(files::encodeShiftJis(QStringLiteral("1😀")).has_value());
    EXPECT_FALSE(files::encodeShiftJis(QStringLiteral("€")).has_value());
}

} // namespace
