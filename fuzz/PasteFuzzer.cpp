// A paste into a list of any fill, as the window takes it: files::pastedValues
// (a table's preselected column, or every line and cell), files::planValues,
// entering the values, then saving and opening the list again.
//
// Checks, for every input:
//  - every value enters or none does, and the verdict is the one a plain
//    reading gives: a value above the line limit (counted in characters)
//    refuses the paste first, then one holding CR, LF or tab (a quoted field
//    of a table can), then too many for the room;
//  - for text that is no table, the values are exactly the non-empty lines
//    and tab-separated cells in order, and planPaste decides as planValues;
//  - nothing entered holds CR, LF or tab or is longer than the line limit,
//    and the list never holds more than 32,767 items;
//  - a refusal for length names the first value above the limit and its
//    length;
//  - the entered values, written as the save command writes them (where
//    Shift JIS can hold them) and read back as the open command reads them,
//    come back unchanged: the program never writes a file it cannot read.

#include "FuzzCheck.h"

#include "files/Columns.h"
#include "files/Paste.h"
#include "files/TextCodec.h"
#include "files/ValueFile.h"
#include "files/ValueFileIO.h"

#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace {

// The values by the plain rule: a value ends at every CR, LF and tab.
std::vector<std::string> plainValues(const std::string &text)
{
    std::vector<std::string> values(1);
    for (const char c : text) {
        if (c == '\r' || c == '\n' || c == '\t')
            values.emplace_back();
        else
            values.back() += c;
    }
    std::erase_if(values, [](const std::string &v) { return v.empty(); });
    return values;
}

std::size_t plainLength(const std::string &utf8)
{
    std::size_t characters = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++characters;
    return characters;
}

void checkSavedValuesComeBack(const std::vector<std::string> &entered, std::size_t limit)
{
    QStringList texts;
    QStringDecoder toUtf16(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    for (const std::string &value : entered)
        texts << toUtf16.decode(QByteArrayView(value.data(), qsizetype(value.size())));
    const auto bytes = files::encodeValueFile(texts);
    if (!std::holds_alternative<QByteArray>(bytes))
        return; // the save command refuses such a list and says why
    const std::string file = std::get<QByteArray>(bytes).toStdString();
    const auto decoded = files::decodeText(file);
    fuzz::check(std::holds_alternative<files::DecodedText>(decoded), "a saved paste refused",
                file);
    const files::ItemsToAppend read = files::itemsToAppend(
        std::get<files::DecodedText>(decoded).text, files::kMaxListItems, limit);
    fuzz::check(read.tooLongLine == 0, "a saved paste has a line too long to open", file);
    fuzz::check(read.items == entered && read.leftOut == 0, "a saved paste came back changed",
                file);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    // Mostly a list near full or near empty, where the room matters.
    const auto fillKind = provider.ConsumeIntegralInRange<unsigned>(0, 2);
    const auto offset = provider.ConsumeIntegralInRange<std::size_t>(0, files::kMaxListItems);
    const std::size_t fill =
        fillKind == 0 ? offset : fillKind == 1 ? files::kMaxListItems - offset % 64 : offset % 64;
    // A small limit as well as the real one: fuzz inputs are short.
    const bool realLimit = provider.ConsumeBool();
    const std::size_t limit =
        realLimit ? files::kMaxLineLength : provider.ConsumeIntegralInRange<std::size_t>(1, 16);
    const std::string text = provider.ConsumeRemainingBytesAsString();
    if (!fuzz::isValidUtf8(text))
        return 0; // the window hands over only what a QString holds

    const std::size_t room = files::kMaxListItems - fill;
    const std::optional<std::vector<std::string>> pasted = files::pastedValues(text, {});
    fuzz::check(pasted.has_value(), "a paste without a question refused", text);
    const files::PastePlan plan = files::planValues(*pasted, room, limit);
    fuzz::check(plan.values == *pasted, "the plan changed the values", text);
    if (!files::detectColumns(text)) {
        fuzz::check(plan.values == plainValues(text),
                    "values are not the non-empty lines and cells", text);
        const files::PastePlan direct = files::planPaste(text, room, limit);
        fuzz::check(direct.verdict == plan.verdict && direct.values == plan.values,
                    "planPaste and planValues disagree", text);
    }

    const std::vector<std::string> &expected = *pasted;
    std::size_t firstLong = expected.size();
    for (std::size_t i = 0; i < expected.size() && firstLong == expected.size(); ++i)
        if (plainLength(expected[i]) > limit)
            firstLong = i;
    std::size_t firstBreak = 0;
    while (firstBreak < expected.size()
           && expected[firstBreak].find_first_of("\r\n\t") == std::string::npos)
        ++firstBreak;
    if (firstLong < expected.size()) {
        fuzz::check(plan.verdict == files::PasteVerdict::TooLong, "a long value not refused", text);
        fuzz::check(plan.tooLongIndex == firstLong
                        && plan.tooLongLength == plainLength(expected[firstLong]),
                    "the long value misnamed", text);
    } else if (firstBreak < expected.size()) {
        fuzz::check(plan.verdict == files::PasteVerdict::HoldsBreak && plan.tooLongIndex == firstBreak,
                    "a value with a break not refused", text);
    } else if (expected.size() > room) {
        fuzz::check(plan.verdict == files::PasteVerdict::TooMany, "too many not refused", text);
    } else {
        fuzz::check(plan.verdict == files::PasteVerdict::Enter, "a fitting paste refused", text);
    }

    // Entering, as the window does: all the plan's values or none.
    std::vector<std::string> entered;
    if (plan.verdict == files::PasteVerdict::Enter)
        entered = plan.values;
    fuzz::check(entered.empty() || entered == expected, "part of a paste entered", text);
    fuzz::check(fill + entered.size() <= files::kMaxListItems, "the list overflows", text);
    for (const std::string &value : entered) {
        fuzz::check(value.find_first_of("\r\n\t") == std::string::npos,
                    "an entered value holds a break", value);
        fuzz::check(!files::longerThan(value, limit), "an entered value is too long", value);
    }
    if (!entered.empty())
        checkSavedValuesComeBack(entered, limit);
    return 0;
}
