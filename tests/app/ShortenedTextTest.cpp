#include "ui/FitText.h"

#include "RowName.h"

#include <QString>

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct ShortenCase
{
    const char *name;
    QString text;
    qsizetype shownLength;
    QString expected;
};

void PrintTo(const ShortenCase &c, std::ostream *out) { *out << c.name; }

class ShortenedTextTest : public ::testing::TestWithParam<ShortenCase>
{
};

TEST_P(ShortenedTextTest, KeepsTheStartAndMarksTheCut)
{
    const ShortenCase &c = GetParam();
    EXPECT_EQ(shortened(c.text, c.shownLength), c.expected);
}

const QString kForty = QString(40, u'あ');

const ShortenCase kShortenCases[] = {
    {"EmptyStaysEmpty", QString(), kShownInMessage, QString()},
    {"ShortStaysWhole", QStringLiteral("12.5"), kShownInMessage, QStringLiteral("12.5")},
    {"ExactlyTheLengthStaysWhole", kForty, kShownInMessage, kForty},
    {"OneBeyondIsCut", kForty + u'x', kShownInMessage, kForty + u'…'},
    {"CellCutsAtItsOwnLength", QStringLiteral("abcdefghijklmnopqrstu"), 20,
     QStringLiteral("abcdefghijklmnopqrst…")},
};
INSTANTIATE_TEST_SUITE_P(Texts, ShortenedTextTest, ::testing::ValuesIn(kShortenCases), RowName{});

} // namespace
